// The shared region setter on band geometries that no driver of the two
// builds uses: a 6-row band with the top row in bit 0 (sixel-like), a second
// plane kept for density, and rows of 6-dot bytes with the leftmost dot in
// bit 0 (plot-line-like). Expected bytes are worked out by hand from the
// layout: bit i of a column byte is band row i; bit i of a row byte is the
// dot 6 * byte + i.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "drivers/common/band.hpp"

namespace {
struct Region {
    int32_t x, y, w, h, density;
};

std::string hex(const uint8_t* p, int32_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (int32_t i = 0; i < n; ++i) {
        if (i > 0) out.push_back(' ');
        out.push_back(digits[p[i] >> 4]);
        out.push_back(digits[p[i] & 15]);
    }
    return out;
}

// Marks the regions on a cleared band and returns the first `n` bytes of the
// bitmap.
std::string mark(const kv_bandgeom& g, const std::vector<Region>& regions, int32_t n) {
    auto s = std::make_unique<kv_glor>();
    for (const Region& r : regions)
        EXPECT_EQ(kv_bandsetregion(s.get(), g, r.x, r.y, r.w, r.h, r.density), KV_SUCCESS);
    // Nothing past the geometry's planes is ever written.
    const int32_t used = g.planes * kv_bandplanebytes(g);
    for (size_t i = static_cast<size_t>(used); i < KV_BANDBYTES; ++i)
        EXPECT_EQ(s->bandmap[i], 0) << "byte " << i << " beyond the band";
    return hex(s->bandmap, n);
}

struct Case {
    const char* what;
    std::vector<Region> regions;
    const char* bytes;
};
} // namespace

TEST(BandSetRegion, SixRowsTopInBitZero) {
    // 6 rows, 5 columns, 2 planes: plane 0 is bytes 0-4, plane 1 bytes 5-9.
    constexpr kv_bandgeom g{6, 5, 2, KV_BAND_COLUMNS, 6, 0};
    static_assert(kv_bandfits(g));
    const Case cases[] = {
        {"whole band, density 0: plane 0 only", {{0, 0, 5, 6, 0}}, "3f 3f 3f 3f 3f 00 00 00 00 00"},
        {"density 1 marks both planes", {{1, 0, 2, 6, 1}}, "00 3f 3f 00 00 00 3f 3f 00 00"},
        {"top row is bit 0", {{0, 0, 1, 1, 0}}, "01 00 00 00 00 00 00 00 00 00"},
        {"bottom row is bit 5", {{4, 5, 1, 1, 0}}, "00 00 00 00 20 00 00 00 00 00"},
        {"rows 2-3", {{2, 2, 1, 2, 0}}, "00 00 0c 00 00 00 00 00 00 00"},
        {"rows below the band are cut", {{0, 4, 1, 9, 0}}, "30 00 00 00 00 00 00 00 00 00"},
        {"rows above the band are cut", {{0, -3, 1, 4, 0}}, "01 00 00 00 00 00 00 00 00 00"},
        {"columns left of the band are cut", {{-2, 0, 3, 1, 0}}, "01 00 00 00 00 00 00 00 00 00"},
        {"columns right of the band are cut in both planes",
         {{3, 0, 10, 1, 2}},
         "00 00 00 01 01 00 00 00 01 01"},
        {"touching the right edge draws nothing",
         {{5, 0, 3, 6, 1}},
         "00 00 00 00 00 00 00 00 00 00"},
        {"touching the bottom edge draws nothing",
         {{0, 6, 5, 2, 1}},
         "00 00 00 00 00 00 00 00 00 00"},
        {"empty sizes draw nothing",
         {{0, 0, 0, 6, 1}, {0, 0, 5, 0, 1}, {0, 0, -1, -1, 0}},
         "00 00 00 00 00 00 00 00 00 00"},
        {"regions only add dots",
         {{0, 0, 2, 1, 0}, {1, 5, 1, 1, 0}},
         "01 21 00 00 00 00 00 00 00 00"},
        {"int32 extremes do not wrap",
         {{2147483647, 0, 2147483647, 6, 1}, {-2147483647 - 1, 0, 1, 6, 1}},
         "00 00 00 00 00 00 00 00 00 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(mark(g, c.regions, 10), c.bytes);
    }
}

TEST(BandSetRegion, RowsOfSixDotBytesLeftmostInBitZero) {
    // 2 rows of 14 dots: 3 bytes a row (the last holds 2 dots); plane 1 after.
    constexpr kv_bandgeom g{2, 14, 2, KV_BAND_ROWS, 6, 0};
    static_assert(kv_bandfits(g) && kv_bandrowbytes(g) == 3 && kv_bandplanebytes(g) == 6);
    const Case cases[] = {
        {"one dot: leftmost is bit 0", {{0, 0, 1, 1, 0}}, "01 00 00 00 00 00 00 00 00 00 00 00"},
        {"inside one byte: both edge masks",
         {{2, 1, 3, 1, 0}},
         "00 00 00 1c 00 00 00 00 00 00 00 00"},
        {"across bytes: head, full middle, tail",
         {{4, 0, 9, 1, 0}},
         "30 ff 01 00 00 00 00 00 00 00 00 00"},
        {"last dots of the row", {{12, 0, 2, 2, 0}}, "00 00 03 00 00 03 00 00 00 00 00 00"},
        {"past the row end is cut", {{13, 0, 50, 1, 0}}, "00 00 02 00 00 00 00 00 00 00 00 00"},
        {"density marks plane 1 too", {{0, 1, 6, 1, 3}}, "00 00 00 3f 00 00 00 00 00 3f 00 00"},
        {"rows outside the band are cut",
         {{6, -1, 6, 5, 0}},
         "00 3f 00 00 3f 00 00 00 00 00 00 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(mark(g, c.regions, 12), c.bytes);
    }
}

TEST(BandSetRegion, OverhangingPlaneSkipsTheLastColumn) {
    // The later planes' dot reaches into the next column: at nonzero density
    // they take columns x .. x+w-2, so the region's right edge is plane 0's.
    // Bytes as in the two tests above (columns: plane 1 is bytes 5-9; rows:
    // row 0 of plane 1 is bytes 6-8).
    constexpr kv_bandgeom cols{6, 5, 2, KV_BAND_COLUMNS, 6, 0, 1};
    constexpr kv_bandgeom rows{2, 14, 2, KV_BAND_ROWS, 6, 0, 1};
    struct Overhang {
        const char* what;
        const kv_bandgeom& g;
        Region region;
        const char* bytes;
    };
    const Overhang cases[] = {
        {"3 columns at density 1: plane 1 in the first 2",
         cols,
         {1, 0, 3, 6, 1},
         "00 3f 3f 3f 00 00 3f 3f 00 00"},
        {"1 column: plane 0 only", cols, {2, 0, 1, 6, 3}, "00 00 3f 00 00 00 00 00 00 00"},
        {"density 0 unchanged", cols, {0, 0, 5, 6, 0}, "3f 3f 3f 3f 3f 00 00 00 00 00"},
        {"cut at the right edge: the last column is outside",
         cols,
         {3, 0, 4, 1, 1},
         "00 00 00 01 01 00 00 00 01 01"},
        {"cut at the left edge", cols, {-2, 0, 4, 1, 1}, "01 01 00 00 00 01 00 00 00 00"},
        {"dot rows: 9 dots across bytes, plane 1 takes 8",
         rows,
         {4, 0, 9, 1, 1},
         "30 ff 01 00 00 00 30 3f 00 00 00 00"},
        {"int32 extremes do not wrap",
         cols,
         {-2147483647 - 1, 0, 2147483647, 6, 1},
         "00 00 00 00 00 00 00 00 00 00"},
    };
    for (const Overhang& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(mark(c.g, {c.region}, c.g.layout == KV_BAND_COLUMNS ? 10 : 12), c.bytes);
    }
}

TEST(BandSetRegion, EightBitMasksBothOrders) {
    // The masks of a run of dot positions, for the two bit orders (worked out
    // by hand: positions a..b-1 counted from bit 7 or from bit 0).
    constexpr kv_bandgeom top7{8, 1, 1, KV_BAND_COLUMNS, 8, 1};
    constexpr kv_bandgeom top0{8, 1, 1, KV_BAND_COLUMNS, 8, 0};
    struct Mask {
        int32_t a, b;
        uint8_t msb, lsb;
    };
    const Mask masks[] = {{0, 1, 0x80, 0x01},
                          {0, 8, 0xFF, 0xFF},
                          {7, 8, 0x01, 0x80},
                          {2, 5, 0x38, 0x1C},
                          {1, 7, 0x7E, 0x7E}};
    for (const Mask& m : masks) {
        SCOPED_TRACE(std::to_string(m.a) + ".." + std::to_string(m.b));
        EXPECT_EQ(kv_bandmask(top7, m.a, m.b), m.msb);
        EXPECT_EQ(kv_bandmask(top0, m.a, m.b), m.lsb);
    }
}

TEST(BandGeometry, FitsTheBandBitmap) {
    // The largest layouts the printers need, and ones that cannot work.
    EXPECT_TRUE(kv_bandfits({6, 1716, 2, KV_BAND_COLUMNS, 6, 0}));  // 2 x 1716 column bytes
    EXPECT_TRUE(kv_bandfits({6, 3300, 1, KV_BAND_COLUMNS, 6, 0}));  // one plane of 3300
    EXPECT_TRUE(kv_bandfits({10, 990, 2, KV_BAND_ROWS, 6, 0}));     // 2 x 10 rows of 165
    EXPECT_FALSE(kv_bandfits({6, 3400, 2, KV_BAND_COLUMNS, 6, 0})); // 6800 bytes
    EXPECT_FALSE(kv_bandfits({9, 10, 1, KV_BAND_COLUMNS, 8, 1}));   // 9 rows in an 8-bit column
    EXPECT_FALSE(kv_bandfits({8, 10, 1, KV_BAND_ROWS, 9, 1}));      // 9 dots in a byte
}
