// The sixel writer: runs, repeat introducers, line wrapping and the band's
// row masks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/driver/printops.hpp"
#include "drivers/common/sixel.hpp"
#include "tests/support/harness.hpp"

namespace {
kv_status noqoutc(kv_glor*, int32_t) {
    return KV_SUCCESS;
}

struct Writer {
    Harness h{kv_prnslots{9999, nullptr, kv_pprintc, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, noqoutc}};
    kv_glor* s() { return h.state.get(); }
};

// The sixel character of a column's six bits.
char sx(int v) {
    return static_cast<char>(63 + v);
}
} // namespace

TEST(Sixel, RunsAndRepeats) {
    struct Case {
        int32_t v, n;
        std::string out; // DECGRI from four equal sixels on
    };
    const Case cases[] = {
        {0, 1, "?"}, {63, 3, "~~~"},    {1, 4, "!4@"},
        {0, 0, ""},  {64 + 5, 2, "DD"}, {5, 99999, "!99999D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.out);
        Writer w;
        kv_sixel_gsend(w.s(), c.v, c.n);
        EXPECT_EQ(w.h.output, c.out);
    }
}

TEST(Sixel, RowsFromPlanes) {
    struct Case {
        const char* name;
        std::vector<uint8_t> p0, p1; // p1 empty: one plane
        int32_t blank;
        std::string out;
    };
    const Case cases[] = {
        {"leading blanks join the first run", {0, 0, 7}, {}, 2, std::string("!4?") + sx(7)},
        {"trailing empty sixels are not sent", {63, 63, 0, 0}, {}, 0, "~~"},
        {"two planes interleave", {1, 1}, {2, 2}, 0, std::string{sx(1), sx(2), sx(1), sx(2)}},
        {"equal planes make one run", {63, 63}, {63, 63}, 1, "?!4~"},
        {"high bits are ignored", {0xC1, 0x41}, {}, 0, std::string{sx(1), sx(1)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Writer w;
        const uint8_t* planes[2] = {c.p0.data(), c.p1.data()};
        kv_sixel_row(w.s(), planes, c.p1.empty() ? 1 : 2, static_cast<int32_t>(c.p0.size()),
                     c.blank);
        EXPECT_EQ(w.h.output, c.out);
    }
}

TEST(Sixel, LinesWrapAfterSixtyOneCharacters) {
    // Alternating columns: every sixel is a run of one character. The line
    // is ended before the column at which more than 61 have been counted.
    std::vector<uint8_t> row(150);
    for (size_t i = 0; i < row.size(); ++i) row[i] = i % 2 ? 2 : 1;
    Writer w;
    const uint8_t* planes[1] = {row.data()};
    kv_sixel_row(w.s(), planes, 1, static_cast<int32_t>(row.size()), 0);
    std::string expect;
    for (size_t i = 0; i < row.size(); ++i) {
        // A run goes out when the next column differs, so the check before
        // column i + 1 finds 62 counted once column i - 1 is out: the line
        // ends in front of every 62nd character.
        if (i > 0 && i % 62 == 0) expect += "\r\n";
        expect += sx(row[i]);
    }
    EXPECT_EQ(w.h.output, expect);
    // Every line but the last holds 62 characters.
    EXPECT_EQ(w.h.output.find("\r\n"), 62u);
}

TEST(Sixel, RepeatsCountFourOnTheLine) {
    // Runs of five: each is "!5" and a character, counted as 4. After 16 of
    // them (64 counted) the line wraps.
    std::vector<uint8_t> row;
    for (int r = 0; r < 20; ++r) row.insert(row.end(), 5, static_cast<uint8_t>(r % 2 ? 2 : 1));
    Writer w;
    const uint8_t* planes[1] = {row.data()};
    kv_sixel_row(w.s(), planes, 1, static_cast<int32_t>(row.size()), 0);
    const std::string a = "!5@", b = "!5A";
    std::string line;
    for (int r = 0; r < 16; ++r) line += r % 2 ? b : a;
    EXPECT_EQ(w.h.output.substr(0, line.size() + 2), line + "\r\n");
}

TEST(Sixel, BandRowsAndPlanes) {
    // The sixel band on the shared region setter: bit 0 is the top row, rows
    // outside the six are dropped, the second plane only at nonzero density.
    constexpr kv_bandgeom g = kv_sixelband(8, 2);
    struct Case {
        int32_t y, h;
        uint8_t mask; // bits set in a marked column
    };
    const Case cases[] = {{0, 6, 0x3F},  {0, 1, 0x01}, {5, 1, 0x20}, {2, 2, 0x0C},
                          {-1, 3, 0x03}, {4, 5, 0x30}, {6, 1, 0x00}, {0, 100, 0x3F}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.y) + "+" + std::to_string(c.h));
        Writer w;
        kv_bandsetregion(w.s(), g, 3, c.y, 1, c.h, 0);
        EXPECT_EQ(kv_bandplane(w.s(), g, 0)[3], c.mask);
    }
    Writer w;
    kv_bandsetregion(w.s(), g, 6, 1, 5, 2, 1); // runs past the last column
    kv_bandsetregion(w.s(), g, -2, 0, 3, 1, 0);
    const uint8_t e0[8] = {0x01, 0, 0, 0, 0, 0, 0x06, 0x06};
    const uint8_t e1[8] = {0, 0, 0, 0, 0, 0, 0x06, 0x06};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(kv_bandplane(w.s(), g, 0)[i], e0[i]) << i;
        EXPECT_EQ(kv_bandplane(w.s(), g, 1)[i], e1[i]) << i;
    }
}
