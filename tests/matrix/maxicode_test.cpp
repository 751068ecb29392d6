#include "core/matrix/maxicode.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "core/matrix/maxicode_internal.hpp"

namespace {
std::vector<int> sexcode(const std::string& data, int32_t room = 93) {
    std::vector<uint8_t> out(static_cast<size_t>(room) + 1, 0xEE);
    const int32_t n =
        maxicode_sexcode(out.data(), room, reinterpret_cast<const uint8_t*>(data.data()),
                         static_cast<int32_t>(data.size()));
    EXPECT_EQ(out[static_cast<size_t>(room)], 0xEE) << "wrote past its room";
    if (n < 0) return {n < 0 ? -1 : 0};
    return std::vector<int>(out.begin(), out.begin() + n);
}

// Field product of GF(64) reduced by x^6 + x + 1, by shift and add.
int gfmul(int a, int b) {
    int r = 0;
    for (; b != 0; b >>= 1) {
        if (b & 1) r ^= a;
        a <<= 1;
        if (a & 64) a ^= 0x43;
    }
    return r;
}

// True when the codewords at start, start + step, ... (data and checks, in
// order) vanish at alpha^1 .. alpha^checks.
bool iscodeword(const std::vector<int>& cw, int start, int step, int count, int checks) {
    int root = 1;
    for (int i = 1; i <= checks; ++i) {
        root = gfmul(root, 2);
        int v = 0;
        for (int k = 0; k < count; ++k) v = gfmul(v, root) ^ cw[start + k * step];
        if (v != 0) return false;
    }
    return true;
}

// '|' as GS and '^' as RS, for readable structured messages.
std::string ctl(std::string text) {
    for (char& c : text) {
        if (c == '|') c = '\x1D';
        if (c == '^') c = '\x1E';
    }
    return text;
}

// The 144 codewords read back from a built grid through the module map.
std::vector<int> readback(const maxicode_sym& sym) {
    std::vector<int> cw(144, 0);
    for (int i = 0; i < 990; ++i) {
        const int k = maxicode_hexbits[i];
        if (k > 0 && maxicode_igetpt(&sym, i % 30, i / 30))
            cw[(k - 1) / 6] |= 1 << (5 - (k - 1) % 6);
    }
    return cw;
}
} // namespace

TEST(Maxicode, CodeSets) {
    // Expected codewords from the standard's code set tables.
    struct Case {
        std::string data;
        std::vector<int> codewords;
        const char* why;
    };
    const std::vector<Case> cases = {
        {"ABC", {1, 2, 3}, "Set A"},
        {"\r", {0}, "CR is Set A 0"},
        {"12345678", {49, 50, 51, 52, 53, 54, 55, 56}, "eight digits stay characters"},
        {"123456789", {31, 7, 22, 60, 52, 21}, "NS: 123456789 = 7 22 60 52 21 in 6-bit groups"},
        {"A1234567890", {1, 31, 7, 22, 60, 52, 21, 48}, "NS inside Set A text"},
        {"aB", {59, 1, 2}, "Shift B when Set A follows"},
        {"a\x80", {59, 1, 60, 48}, "Shift B when a byte of no Set A or B follows"},
        {"abc", {63, 1, 2, 3}, "Latch B"},
        {"a", {63, 1}, "Latch B at the end"},
        {"abEf", {63, 1, 2, 59, 5, 6}, "Shift A from Set B"},
        {"abEFgh", {63, 1, 2, 56, 5, 6, 7, 8}, "2-Shift A"},
        {"abEFGh", {63, 1, 2, 57, 5, 6, 7, 8}, "3-Shift A"},
        {"abcdEFGHIJ",
         {63, 1, 2, 3, 4, 63, 5, 6, 7, 8, 9, 10},
         "four capitals latch back to Set A; later capitals are plain Set A values"},
        {"ab EF", {63, 1, 2, 47, 56, 5, 6}, "space stays in Set B"},
        {"ABCxDEFGabcdEFGHijKLMnOPqRs",
         {1, 2, 3,  59, 24, 4,  5,  6,  7,  63, 1,  2,  3,  4,  63, 5,  6,
          7, 8, 63, 9,  10, 57, 11, 12, 13, 14, 56, 15, 16, 17, 59, 18, 19},
         "every way between Sets A and B"},
        {"A\xC0"
         "B",
         {1, 60, 0, 2},
         "Shift C"},
        {"\xC0\xC1\xC2\xC3", {60, 60, 0, 1, 2, 3, 63}, "Lock-in C, Latch B before padding"},
        {"\xC0\xC1\xC2\xC3"
         "a",
         {60, 60, 0, 1, 2, 3, 63, 1},
         "Latch B from Set C"},
        {"\xE0\xE1\xE2\xE3\xE4"
         "A",
         {61, 61, 0, 1, 2, 3, 4, 58, 1},
         "Lock-in D, Latch A"},
        {"\x01\x02\x03\x04", {62, 62, 1, 2, 3, 4, 63}, "Lock-in E"},
        {"\xC0\xC1\xC2\xC3\xE0", {60, 60, 0, 1, 2, 3, 61, 0, 63}, "Shift D from Set C"},
        {"\x1F", {62, 35}, "0x1F is only in Set E"},
        {std::string("A\0B", 3), {1, 62, 0, 2}, "byte 0 through Set E"},
        {"a\xE0"
         "b",
         {59, 1, 61, 0, 63, 2},
         "Shift D inside Set A text"},
        {"", {}, "nothing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(sexcode(c.data), c.codewords);
    }
}

TEST(Maxicode, CodeSetsRespectTheRoom) {
    EXPECT_EQ(sexcode("ABC", 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(sexcode("ABCD", 3), std::vector<int>{-1});
    EXPECT_EQ(sexcode("123456789", 6).size(), 6u);
    EXPECT_EQ(sexcode("123456789", 5), std::vector<int>{-1}) << "NS needs six codewords";
    EXPECT_EQ(sexcode("\x01", 1), std::vector<int>{-1}) << "a shift needs two";
    EXPECT_EQ(sexcode("\xC0\xC1\xC2\xC3", 6), (std::vector<int>{60, 60, 0, 1, 2, 3}))
        << "no room for the latch before padding: none is needed";
    EXPECT_EQ(sexcode("A", 0), std::vector<int>{-1});
    EXPECT_LT(maxicode_sexcode(nullptr, 5, nullptr, 1), 0);
}

TEST(Maxicode, PrimaryFields) {
    struct Case {
        std::string text;
        int32_t asked; // 0 automatic
        bool ok;
        int32_t mode = 0;
        const char* postal = "";
        int32_t country = 0, service = 0, header = 0, rest = 0;
    };
    // '|' stands for GS and '^' for RS.
    const std::vector<Case> cases = {
        // The transport header opens the secondary message and GS separates.
        {ctl("[)>^01|96123456789|840|001|more"), 0, true, 2, "123456789", 840, 1, 9, 27},
        {ctl("[)>^01|96W1T1JY|826|7"), 0, true, 3, "W1T1JY", 826, 7, 9, 21},
        {"12345,840,001,x", 0, true, 3, "12345", 840, 1, 0, 14},
        {"1234567,840,001,x", 0, true, 2, "1234567", 840, 1, 0, 16},
        {"12345-6789,840,1,x", 0, true, 2, "123456789", 840, 1, 0, 17},
        {"12345,840,001,x", 2, true, 2, "12345", 840, 1, 0, 14},
        {"AB12,276,5", 0, true, 3, "AB12", 276, 5, 0, 10},
        {ctl("12345|840|001|x"), 0, true, 3, "12345", 840, 1, 0, 14},
        {"12345", 0, true, 3, "12345", 0, 0, 0, 5},
        {",,,x", 0, true, 3, "", 0, 0, 0, 3},
        // Broken rules.
        {"1234567,840,001", 3, false},
        {"AB1234C,840,001", 0, false},
        {"A123456,840,001", 0, false},
        {"AB123,840,001", 2, false},
        {"12*45,840,001", 0, false},
        {"1234567890,840,001", 0, false},
        {"12345,8400,001", 0, false},
        {"12345,840,0A1", 0, false},
        {ctl("12345,840|001"), 0, false},
        {ctl("[)>^01|9"), 0, false}, // 8 characters: no header, '[' in the postal code
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " mode " + std::to_string(c.asked));
        kv_maxiprimary p;
        ASSERT_EQ(
            kv_maxicode_primary(c.text.data(), static_cast<int32_t>(c.text.size()), c.asked, &p),
            c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(p.mode, c.mode);
        EXPECT_STREQ(p.postal, c.postal);
        EXPECT_EQ(p.country, c.country);
        EXPECT_EQ(p.service, c.service);
        EXPECT_EQ(p.header, c.header);
        EXPECT_EQ(p.rest, c.rest);
    }
}

TEST(Maxicode, DataCodewords) {
    std::array<uint8_t, MAXICODE_CWBUFFER> cw{};
    // Mode 4: the mode, then the message from codeword 1, padded with 33.
    ASSERT_EQ(maxicode_encode(cw.data(), 1, 1, 4, 0, nullptr, 0, "AB", -1), 3);
    EXPECT_EQ((std::array<int, 4>{cw[0], cw[1], cw[2], cw[3]}), (std::array<int, 4>{4, 1, 2, 33}));
    EXPECT_EQ(cw[93], 33);
    EXPECT_EQ(cw[94], 0) << "the data area ends at 94 codewords";
    // Mode 5 has 78.
    cw.fill(0);
    ASSERT_EQ(maxicode_encode(cw.data(), 1, 1, 5, 0, nullptr, 0, "A", -1), 2);
    EXPECT_EQ(cw[77], 33);
    EXPECT_EQ(cw[78], 0);
    // Structured append: 33, then (position - 1) * 8 + (total - 1).
    cw.fill(0);
    ASSERT_EQ(maxicode_encode(cw.data(), 2, 3, 4, 0, nullptr, 0, "A", -1), 4);
    EXPECT_EQ((std::array<int, 4>{cw[0], cw[1], cw[2], cw[3]}), (std::array<int, 4>{4, 33, 10, 1}));
    // Failures.
    EXPECT_LT(maxicode_encode(cw.data(), 1, 1, 2, 0, "1234567890", 0, "", -1), 0);
    EXPECT_LT(maxicode_encode(cw.data(), 1, 1, 2, 0, "12A", 0, "", -1), 0);
    EXPECT_LT(maxicode_encode(cw.data(), 1, 1, 3, 0, "ABCDEFG", 0, "", -1), 0);
    EXPECT_LT(maxicode_encode(cw.data(), 1, 1, 3, 0, "AB\x01", 0, "", -1), 0);
    EXPECT_LT(maxicode_encode(cw.data(), 1, 1, 2, 0, "1", 1000, "", -1), 0);
    EXPECT_LT(maxicode_encode(cw.data(), 1, 1, 7, 0, nullptr, 0, "", -1), 0);
    EXPECT_LT(maxicode_encode(cw.data(), 3, 2, 4, 0, nullptr, 0, "", -1), 0);
    EXPECT_LT(maxicode_encode(cw.data(), 1, 9, 4, 0, nullptr, 0, "", -1), 0);
    EXPECT_LT(maxicode_encode(cw.data(), 1, 1, 4, 0, nullptr, 0, std::string(94, 'A').c_str(), -1),
              0);
}

TEST(Maxicode, SymbolLayoutAndCheckCodewords) {
    struct Case {
        int32_t mode;
        int secdata, seccheck;
    };
    const std::array<Case, 4> cases{{{2, 42, 20}, {3, 42, 20}, {4, 42, 20}, {5, 34, 28}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        maxicode_sym sym;
        ASSERT_EQ(maxicode_open(&sym), 1);
        ASSERT_EQ(maxicode_hexmapgen(&sym, 1, 1, c.mode, "12345", 840, 1, "Check words", -1), 1);
        EXPECT_EQ(sym.error, 0);
        const std::vector<int> cw = readback(sym);
        EXPECT_EQ(cw[0] & 15, c.mode);
        EXPECT_TRUE(iscodeword(cw, 0, 1, 20, 10)) << "primary";
        for (int half = 0; half < 2; ++half)
            EXPECT_TRUE(iscodeword(cw, 20 + half, 2, c.secdata + c.seccheck, c.seccheck))
                << "secondary half " << half;
        // The secondary data follow the primary check codewords directly.
        std::array<uint8_t, MAXICODE_CWBUFFER> data{};
        maxicode_encode(data.data(), 1, 1, c.mode, 1, "12345", 840, "Check words", -1);
        for (int k = 10; k < 10 + 2 * c.secdata; ++k) ASSERT_EQ(cw[k + 10], data[k]) << k;
        // The fixed modules: always dark, always light.
        for (int i = 0; i < 990; ++i) {
            if (maxicode_hexbits[i] == -1) {
                EXPECT_EQ(maxicode_igetpt(&sym, i % 30, i / 30), 1);
            } else if (maxicode_hexbits[i] == 0) {
                EXPECT_EQ(maxicode_igetpt(&sym, i % 30, i / 30), 0);
            }
        }
    }
}

TEST(Maxicode, CodewordsLandWhereTheModuleMapSays) {
    // maxicode_iplotwords lays codewords on in pieces of one or two bits
    // derived from the map; read back module by module through the map
    // itself, every bit pattern must come back and the fixed modules keep
    // their colour.
    struct Case {
        const char* what;
        uint8_t fill; // 64: random codewords
    };
    const std::array<Case, 4> cases{
        {{"all light", 0}, {"all dark", 63}, {"101010", 42}, {"random", 64}}};
    uint32_t x = 12345;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::array<uint8_t, 144> cw{};
        for (uint8_t& v : cw) {
            x = x * 1103515245u + 12345u;
            v = c.fill < 64 ? c.fill : static_cast<uint8_t>((x >> 16) & 63u);
        }
        maxicode_sym sym;
        maxicode_open(&sym);
        sym.grid[0] = 0xFF; // stale modules are cleared
        ASSERT_EQ(maxicode_iplotwords(&sym, cw.data()), 1);
        EXPECT_EQ(readback(sym), std::vector<int>(cw.begin(), cw.end()));
        for (int i = 0; i < 990; ++i) {
            if (maxicode_hexbits[i] > 0) continue;
            EXPECT_EQ(maxicode_igetpt(&sym, i % 30, i / 30), maxicode_hexbits[i] == -1 ? 1 : 0)
                << i;
        }
        for (int y = 0; y < 33; ++y) EXPECT_EQ(sym.grid[4 * y + 3] & 0xC0, 0) << "columns 30, 31";
    }
}

TEST(Maxicode, HexmapgenFailures) {
    maxicode_sym sym;
    maxicode_open(&sym);
    EXPECT_EQ(maxicode_hexmapgen(&sym, 1, 1, 4, "", 0, 0, nullptr, 3), 0);
    EXPECT_EQ(sym.error, MAXICODE_EINVALID);
    maxicode_open(&sym);
    EXPECT_EQ(maxicode_hexmapgen(&sym, 1, 1, 1, "", 0, 0, "A", -1), 0);
    EXPECT_EQ(sym.error, MAXICODE_EINVALID);
    maxicode_open(&sym);
    EXPECT_EQ(maxicode_hexmapgen(&sym, 1, 1, 5, "", 0, 0, std::string(78, 'A').c_str(), -1), 0);
    EXPECT_EQ(sym.error, MAXICODE_EDATA);
    maxicode_open(&sym);
    EXPECT_EQ(maxicode_hexmapgen(&sym, 1, 1, 5, "", 0, 0, std::string(77, 'A').c_str(), -1), 1);
    EXPECT_EQ(maxicode_hexmapgen(nullptr, 1, 1, 4, "", 0, 0, "A", -1), 0);
}

TEST(Maxicode, PaintsEveryDotOnceInsideTheSymbol) {
    maxicode_sym sym;
    maxicode_open(&sym);
    ASSERT_EQ(maxicode_hexmapgen(&sym, 1, 1, 4, "", 0, 0, "PAINT", -1), 1);
    struct Canvas {
        std::vector<int> hits = std::vector<int>(304 * 300, 0);
        int outside = 0, notunit = 0;
    } canvas;
    auto plot = [](void* ctx, int32_t x, int32_t y, int32_t w, int32_t h) -> uint32_t {
        auto* c = static_cast<Canvas*>(ctx);
        if (w != 1 || h != 1) ++c->notunit;
        if (x < 0 || y < 0 || x >= 304 || y >= 300)
            ++c->outside;
        else
            ++c->hits[static_cast<size_t>(y) * 304 + x];
        return 1;
    };
    EXPECT_EQ(maxicode_imagepaint(&sym), 0) << "no callback";
    ASSERT_EQ(maxicode_setcallback(&sym, plot, &canvas), 1);
    ASSERT_EQ(maxicode_imagepaint(&sym), 1);
    EXPECT_EQ(canvas.outside, 0);
    EXPECT_EQ(canvas.notunit, 0);
    EXPECT_EQ(maxicode_imagewide(&sym), 304);
    EXPECT_EQ(maxicode_imagedeep(&sym), 300);
    // No dot is painted twice: neighbouring module images and the bullseye
    // do not overlap.
    EXPECT_EQ(*std::max_element(canvas.hits.begin(), canvas.hits.end()), 1);
    // Outside the bullseye area the centre of each module is dark exactly
    // when its grid bit is; the filler modules at the top right are dark.
    for (int r = 0; r < 33; ++r)
        for (int c = 0; c < 30 - (r & 1); ++c) {
            if (maxicode_hexbits[r * 30 + c] == 0) continue;
            const int x = 10 * c + (r & 1 ? 5 : 0) + 5, y = 9 * r + 5;
            ASSERT_EQ(canvas.hits[static_cast<size_t>(y) * 304 + x] > 0,
                      maxicode_igetpt(&sym, c, r) == 1)
                << r << "," << c;
        }
    EXPECT_GT(canvas.hits[5 * 304 + 285], 0);
    EXPECT_GT(canvas.hits[5 * 304 + 295], 0);
    // A failing callback stops the painting.
    auto refuse = [](void*, int32_t, int32_t, int32_t, int32_t) -> uint32_t { return 0; };
    maxicode_setcallback(&sym, refuse, nullptr);
    EXPECT_EQ(maxicode_imagepaint(&sym), 0);
    EXPECT_EQ(sym.error, MAXICODE_EBITMAP);
}

TEST(Maxicode, PaintingARangeOfRowsGivesThatSliceOfTheWholeSymbol) {
    // A band printer paints the symbol once per band: every band must get
    // exactly the dots of the whole painting that fall in its rows.
    maxicode_sym sym;
    maxicode_open(&sym);
    ASSERT_EQ(maxicode_hexmapgen(&sym, 1, 1, 4, "", 0, 0, "BANDS 0123456789", -1), 1);
    using Dots = std::vector<std::array<int32_t, 2>>;
    auto plot = [](void* ctx, int32_t x, int32_t y, int32_t, int32_t) -> uint32_t {
        static_cast<Dots*>(ctx)->push_back({y, x});
        return 1;
    };
    Dots whole;
    maxicode_setcallback(&sym, plot, &whole);
    ASSERT_EQ(maxicode_imagepaint(&sym), 1);
    struct Case {
        int32_t top, bottom;
        const char* why;
    };
    const std::array<Case, 7> cases{{
        {0, 8, "first band"},
        {100, 108, "through the bullseye"},
        {9, 11, "between two module rows' starts, inside both"},
        {296, 400, "past the bottom"},
        {-50, 3, "above the top"},
        {300, 310, "below the symbol"},
        {INT32_MIN, INT32_MAX, "everything"},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Dots want;
        for (const auto& d : whole)
            if (d[0] >= c.top && d[0] < c.bottom) want.push_back(d);
        Dots got;
        maxicode_setcallback(&sym, plot, &got);
        ASSERT_EQ(maxicode_imagepaintrows(&sym, c.top, c.bottom), 1);
        EXPECT_EQ(got, want);
    }
}

TEST(Maxicode, GridAccess) {
    maxicode_sym sym;
    maxicode_open(&sym);
    EXPECT_EQ(sym.stride, 4);
    EXPECT_EQ(sym.gridsize, 132);
    EXPECT_EQ(maxicode_iplotpt(&sym, 29, 32), 1);
    EXPECT_EQ(sym.grid[4 * 32 + 3], 1 << 5) << "bit x % 8 of byte 4y + x / 8";
    EXPECT_EQ(maxicode_igetpt(&sym, 29, 32), 1);
    EXPECT_EQ(maxicode_iplotpt(&sym, 30, 0), 0);
    EXPECT_EQ(maxicode_iplotpt(&sym, 0, 33), 0);
    EXPECT_EQ(maxicode_iplotpt(&sym, -1, 0), 0);
    EXPECT_EQ(maxicode_igetpt(&sym, 0, -1), 0);
    EXPECT_EQ(maxicode_close(&sym), 1);
    EXPECT_EQ(maxicode_close(nullptr), 0);

    // The diagnostic dump: odd rows one space further in, "* " per dark module.
    maxicode_iplotpt(&sym, 0, 0);
    maxicode_iplotpt(&sym, 1, 1);
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(maxicode_imagegube(&sym, f), 1);
    std::rewind(f);
    char line[128];
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_EQ(std::string(line), "  * " + std::string(58, ' ') + "\n");
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_EQ(std::string(line), "     * " + std::string(56, ' ') + "\n");
    std::fclose(f);

    uint8_t bytes[6] = {1, 2, 3, 4, 5, 6};
    maxicode_safemove(bytes + 2, bytes, 4);
    EXPECT_EQ(std::string(bytes, bytes + 6), std::string("\1\2\1\2\3\4"));
}
