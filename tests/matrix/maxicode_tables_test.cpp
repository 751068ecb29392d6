#include "core/matrix/maxicode_tables.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/support/sha256.hpp"

namespace {
template <class T> std::string joined(const T* values, size_t count, std::string text = {}) {
    for (size_t i = 0; i < count; ++i) {
        if (!text.empty()) text += ',';
        text += std::to_string(static_cast<int>(values[i]));
    }
    return text;
}

bool bullsdot(int x, int y) {
    return (maxicode_bulls12[12 * y + x / 8] & (0x80 >> (x % 8))) != 0;
}
bool moduledot(int x, int y) {
    return (maxicode_black12[2 * y + x / 8] & (0x80 >> (x % 8))) != 0;
}
} // namespace

TEST(MaxicodeTables, TranscriptionsMatchPublishedDigests) {
    // Digests of the "values" form printed in the headers of
    // maxicode_codesets.txt and maxicode_grid.txt.
    std::string sets;
    for (const uint8_t* set : maxicode_sextabs) sets = joined(set, 256, sets);
    EXPECT_EQ(sha256_hex(sets), "597e04a54f0d5fa75609614a404f260ae9cebf7cecf0c2294ef7846eeef851bb");
    EXPECT_EQ(maxicode_sextabs[0], maxicode_sextabA);
    EXPECT_EQ(maxicode_sextabs[4], maxicode_sextabE);

    EXPECT_EQ(sha256_hex(joined(maxicode_hexbits, 990)),
              "7a119e65adfe0f233b8bdd960e1506aef9962479a700f7fa6009ff3a25f58ab0");
}

TEST(MaxicodeTables, ModuleImageIsAHexagonOnItsPoint) {
    // 10 x 11 dots: flat sides, points at the top and bottom centre; rows of
    // neighbouring grid rows (9 dots apart, half a module across) interlock.
    const char* expected[11] = {
        "....##....", "..######..", "##########", "##########", "##########", "##########",
        "##########", "##########", "##########", "..######..", "....##....",
    };
    for (int y = 0; y < 11; ++y) {
        std::string row;
        for (int x = 0; x < 16; ++x) row += moduledot(x, y) ? '#' : '.';
        EXPECT_EQ(row, std::string(expected[y]) + "......") << "row " << y;
    }
}

TEST(MaxicodeTables, BullseyeFollowsTheFinderDimensions) {
    // Along the row through the centre the ring edges lie at the standard's
    // nominal radii 0.51, 1.18, 1.86, 2.53, 3.20, 3.87 mm = 6.0, 13.9, 22.0,
    // 29.9, 37.8, 45.7 dots at 300 dpi, symmetric about x = 48.
    const double radii[6] = {6.02, 13.94, 21.97, 29.88, 37.80, 45.71};
    const int y = 45; // centre at y = 46, between rows 45 and 46
    for (int x = 0; x < 96; ++x) {
        const double r = std::hypot(x + 0.5 - 48, y + 0.5 - 46);
        int zone = 0;
        for (double edge : radii) zone += r > edge ? 1 : 0;
        if (std::fabs(r - radii[0]) < 0.6 || std::fabs(r - radii[5]) < 0.6) continue; // edge dots
        EXPECT_EQ(bullsdot(x, y), zone % 2 == 1) << "x " << x << " r " << r;
    }
    // Symmetric in both axes: the centre sits between dots 47/48 and 45/46.
    for (int yy = 0; yy < 92; ++yy)
        for (int x = 0; x < 96; ++x) {
            ASSERT_EQ(bullsdot(x, yy), bullsdot(95 - x, yy)) << x << "," << yy;
            ASSERT_EQ(bullsdot(x, yy), bullsdot(x, 91 - yy)) << x << "," << yy;
        }
    // The outer ring reaches the top and bottom rows and stays off the two
    // outermost columns on either side.
    bool top = false;
    for (int x = 0; x < 96; ++x) top = top || bullsdot(x, 0);
    EXPECT_TRUE(top);
    for (int yy = 0; yy < 92; ++yy) EXPECT_FALSE(bullsdot(0, yy) || bullsdot(1, yy));
}

TEST(MaxicodeTables, BullseyeLeavesEveryModuleClear) {
    // Painted at (97, 104) the bullseye is centred on the module at row 16,
    // column 14 and touches no dot of any module image of the grid that is
    // not in the bullseye area.
    const maxicode_paintdsc& p = maxicode_paintdsc300;
    // Centres in half dots: exact across, half a dot low (an even bitmap
    // cannot centre on an 11-dot module).
    EXPECT_EQ(2 * MAXICODE_BULLS_X + MAXICODE_BULLS_WIDTH, 2 * p.colpitch * 14 + p.modwidth);
    EXPECT_EQ(2 * MAXICODE_BULLS_Y + MAXICODE_BULLS_HEIGHT, 2 * p.rowpitch * 16 + p.modheight + 1);
    int overlaps = 0;
    for (int r = 0; r < MAXICODE_ROWS; ++r) {
        for (int c = 0; c < MAXICODE_COLUMNS; ++c) {
            if (maxicode_hexbits[r * MAXICODE_COLUMNS + c] == 0) continue;
            const int mx = p.colpitch * c + (r % 2 ? p.oddoffset : 0);
            const int my = p.rowpitch * r;
            for (int y = 0; y < p.modheight; ++y)
                for (int x = 0; x < p.modwidth; ++x) {
                    const int bx = mx + x - MAXICODE_BULLS_X;
                    const int by = my + y - MAXICODE_BULLS_Y;
                    if (moduledot(x, y) && bx >= 0 && by >= 0 && bx < 96 && by < 92 &&
                        bullsdot(bx, by))
                        ++overlaps;
                }
        }
    }
    EXPECT_EQ(overlaps, 0);
    // Every module lies inside the symbol.
    EXPECT_LE(p.colpitch * (MAXICODE_COLUMNS - 1) + p.modwidth, p.width);
    EXPECT_LE(p.rowpitch * (MAXICODE_ROWS - 1) + p.modheight, p.height);
}
