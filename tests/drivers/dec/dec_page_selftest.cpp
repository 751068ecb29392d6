// The DEC page rebuilder on streams worked by hand from the printer
// languages, so that the end-to-end tests stand on a checked model.
#include <gtest/gtest.h>

#include <string>

#include "preview/dec_page.hpp"

TEST(DecPageRebuilder, La75TextAndMoves) {
    // 10 cpi: 14.4 dots a cell at 144 per inch; DECSHORP 2 is 12 cpi (12
    // dots); 6 lpi: 12 rows of 1/72 inch; DECVERP 3 is 12 lpi (6 rows).
    const std::string in = "ab\x1b[2wc\r\n\x1b[3zd\x1b[a"
                           "e\x1b[0e"
                           "f\x1b[5`g\x1b[2dh";
    const DecPage p = rebuild_dec(in, DecModel::LA75);
    EXPECT_TRUE(p.problems.empty());
    struct Want {
        char c;
        int x, y;
    };
    const Want want[] = {{'a', 0, 0},   {'b', 14, 0},  {'c', 29, 0},  {'d', 0, 12},
                         {'e', 24, 12}, {'f', 36, 18}, {'g', 48, 18}, {'h', 60, 6 + 792}};
    ASSERT_EQ(p.chars.size(), std::size(want));
    for (size_t k = 0; k < std::size(want); ++k) {
        SCOPED_TRACE(want[k].c);
        EXPECT_EQ(p.chars[k].c, want[k].c);
        EXPECT_EQ(p.chars[k].x, want[k].x);
        EXPECT_EQ(p.chars[k].y, want[k].y);
    }
}

TEST(DecPageRebuilder, La75SixelRowsRepeatsAndExit) {
    // At column 2 (28.8 dots, printed from 29): "~" a full column, "!3@" three
    // top dots, "$" back, "A" the second row at the left, "-" six rows down,
    // "?@"; after the string the head is back at column 2, six rows lower.
    const std::string in = "  \x1bP0q~!3@$A-?@\x1b\\x";
    const DecPage p = rebuild_dec(in, DecModel::LA75);
    EXPECT_TRUE(p.problems.empty());
    EXPECT_EQ(p.sixelstrings, 1);
    const std::string rows = p.page.crop(29, 0, 5, 7).rows();
    EXPECT_EQ(rows, "####.\n"
                    "#....\n"
                    "#....\n"
                    "#....\n"
                    "#....\n"
                    "#....\n"
                    ".#...\n");
    ASSERT_EQ(p.chars.size(), 3u);
    EXPECT_EQ(p.chars[2].x, 29);
    EXPECT_EQ(p.chars[2].y, 6);
}

TEST(DecPageRebuilder, Ln03UnitsModesAndAspect) {
    // PUM on and pixels: HPR 40 and VPR 20 are pixels; grid 4 pixels; aspect
    // 1000:100 makes each pixel 40 high, a sixel row 240. Then PUM off and
    // decipoints: HPR 2 moves two cells (60 pixels).
    const std::string in = "\x1b[11h\x1b[7 I\x1b[40a\x1b[20e\x1bP0;0;4q\"1000;100~@\x1b\\"
                           "\x1b[11l\x1b[2 I\x1b[2aZ";
    const DecPage p = rebuild_dec(in, DecModel::LN03);
    EXPECT_TRUE(p.problems.empty());
    const Bitmap::Box ink = p.page.ink();
    EXPECT_EQ(ink.x, 40);
    EXPECT_EQ(ink.y, 20);
    EXPECT_EQ(ink.w, 8);
    EXPECT_EQ(ink.h, 240);
    EXPECT_TRUE(p.page.get(44, 20 + 39));
    EXPECT_FALSE(p.page.get(44, 20 + 40));
    ASSERT_EQ(p.chars.size(), 1u);
    EXPECT_EQ(p.chars[0].x, 40 + 60);
    EXPECT_EQ(p.chars[0].y, 20);
}

TEST(DecPageRebuilder, Ln03GraphicsNewLinesMoveTheActivePosition) {
    // Grid 2 at 1:1: a sixel row is 12 pixels; two new lines leave the
    // active position 24 lower, back at the string's left edge.
    const std::string in = "\x1b[11h\x1b[7 I\x1b[30a\x1bP0;0;2q\"1;1~-~-~\x1b\\\x1b[11lQ";
    const DecPage p = rebuild_dec(in, DecModel::LN03);
    EXPECT_TRUE(p.problems.empty());
    EXPECT_EQ(p.page.ink().h, 36);
    ASSERT_EQ(p.chars.size(), 1u);
    EXPECT_EQ(p.chars[0].x, 30);
    EXPECT_EQ(p.chars[0].y, 24);
}

TEST(DecPageRebuilder, ReportsWhatAPrinterWouldChokeOn) {
    struct Case {
        const char* in;
        DecModel model;
    };
    const Case cases[] = {{"\x1bP0q~~", DecModel::LA75},
                          {"\x1b[12", DecModel::LN03},
                          {"\x9b"
                           "3z",
                           DecModel::LA75},
                          {"\x1bPq!5\x1b\\", DecModel::LN03}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_FALSE(rebuild_dec(c.in, c.model).problems.empty());
    }
}
