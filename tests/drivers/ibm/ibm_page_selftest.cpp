// The Proprinter page rebuilder on hand-written printer streams, so that the
// pages the driver tests rebuild rest on a model checked against the
// printer's language.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ibm_page.hpp"

namespace {
struct Placed {
    int x, y;
    char c;
};

bool printedat(const IbmPage& page, const Placed& w) {
    for (const PrintedChar& c : page.chars)
        if (c.x == w.x && c.y == w.y && c.c == w.c) return true;
    return false;
}
} // namespace

TEST(IbmPage, CharactersPrintAtTheHead) {
    struct Case {
        const char* name;
        std::string in;
        std::vector<Placed> want; // 1/120 inch across, 1/216 inch down
    };
    const Case cases[] = {
        {"10 per inch, 1/6-inch lines", "AB\r\nC", {{0, 0, 'A'}, {12, 0, 'B'}, {0, 36, 'C'}}},
        {"SO doubles the width until the line ends",
         "\x0e"
         "AB\rCD",
         {{0, 0, 'A'}, {24, 0, 'B'}, {0, 0, 'C'}, {12, 0, 'D'}}},
        {"ESC W 1 doubles the width across lines",
         "\x1bW\x01"
         "AB\rCD",
         {{24, 0, 'B'}, {24, 0, 'D'}}},
        {"DC4 ends only the one-line double width",
         "\x1bW\x01\x0e\x14"
         "AB",
         {{24, 0, 'B'}}},
        {"ESC W 0 ends it",
         std::string("\x1bW\x01\x1bW\x00"
                     "AB",
                     8),
         {{12, 0, 'B'}}},
        {"SI condensed, DC2 10 per inch, ESC : 12 per inch",
         "\x0f"
         "AB\x12"
         "CD\x1b:EF",
         {{7, 0, 'B'}, {14, 0, 'C'}, {26, 0, 'D'}, {38, 0, 'E'}, {48, 0, 'F'}}},
        {"HT to every eighth column", "A\tB\tC", {{96, 0, 'B'}, {192, 0, 'C'}}},
        {"ESC D sets tab columns counted from 1",
         std::string("\x1b"
                     "D\x03\x05\x00",
                     5) +
             "\t\tB",
         {{48, 0, 'B'}}},
        {"ESC R restores the default tabs",
         std::string("\x1b"
                     "D\x03\x00\x1bR\tB",
                     8),
         {{96, 0, 'B'}}},
        {"BS steps back one cell", "AB\bC", {{12, 0, 'C'}}},
        {"ESC \\ prints a count of characters",
         std::string("\x1b\\\x02\x00xyZ", 7),
         {{0, 0, 'x'}, {12, 0, 'y'}, {24, 0, 'Z'}}},
        {"ESC ^ prints one character", "\x1b^\x01Z", {{0, 0, '\x01'}, {12, 0, 'Z'}}},
        {"0x8D returns the head",
         "AB\x8d"
         "C",
         {{0, 0, 'C'}}},
        {"CAN cancels the line",
         "AB\x18"
         "C",
         {{0, 0, 'C'}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IbmPage page = rebuild_ibm(c.in);
        EXPECT_TRUE(page.problems.empty());
        for (const Placed& w : c.want) EXPECT_TRUE(printedat(page, w)) << w.c << " at " << w.x;
    }
}

TEST(IbmPage, PaperFeedsIn216thsOfAnInch) {
    struct Case {
        const char* name;
        std::string in; // the paper position is that of the final X
        int y;
    };
    const Case cases[] = {
        {"LF at power-on: 1/6 inch", "\nX", 36},
        {"ESC 3 n: n/216",
         "\x1b"
         "3\x14\nX",
         20},
        {"ESC A only stores",
         "\x1b"
         "A\x08\nX",
         36},
        {"ESC 2 puts ESC A in force",
         "\x1b"
         "A\x08\x1b"
         "2\nX",
         24},
        {"ESC 2 before any ESC A: 1/6 inch",
         "\x1b"
         "3\x0c\x1b"
         "2\nX",
         36},
        {"ESC 0: 1/8 inch",
         "\x1b"
         "0\nX",
         27},
        {"ESC 1: 7/72 inch",
         "\x1b"
         "1\nX",
         21},
        {"ESC J n: n/216 once",
         "\x1bJ\x1e"
         "X",
         30},
        {"ESC 5 1: CR feeds a line too",
         "\x1b"
         "5\x01\rX",
         36},
        {"VT without stops: a line feed", "\vX", 36},
        {"VT to the next stop",
         std::string("\x1b"
                     "B\x03\x05\x00\vX",
                     7),
         72},
        {"VT past a stop",
         std::string("\x1b"
                     "B\x03\x05\x00\n\n\n\vX",
                     10),
         144},
        {"FF: 11 inches at power-on", "\n\fX", 2376},
        {"ESC C n: n lines",
         "\x1b"
         "C\x02\n\fX",
         72},
        {"ESC C 0 n: n inches",
         std::string("\x1b"
                     "C\x00\x01\fX",
                     6),
         216},
        {"ESC 4 sets the top of form",
         "\n\x1b"
         "4\fX",
         36 + 2376},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IbmPage page = rebuild_ibm(c.in);
        EXPECT_TRUE(page.problems.empty());
        ASSERT_FALSE(page.chars.empty());
        EXPECT_EQ(page.chars.back().c, 'X');
        EXPECT_EQ(page.chars.back().y, c.y);
    }
}

TEST(IbmPage, BitImagesAtTheirDensities) {
    struct Case {
        const char* name;
        std::string in;
        Bitmap::Box ink; // 1/120 inch across, 1/216 inch down
        int xafter;      // where a character after the image prints
    };
    const Case cases[] = {
        {"ESC K: 60 per inch", std::string("\x1bK\x02\x00\x80\x80", 6), {0, 0, 3, 3}, 4},
        {"bit 0 is the eighth pin", std::string("\x1bL\x02\x00\x01\x01", 6), {0, 21, 2, 3}, 2},
        {"ESC Z: 240 per inch", std::string("\x1bZ\x04\x00\xff\xff\xff\xff", 8), {0, 0, 2, 24}, 2},
        {"ESC Y at the head", std::string("AB\x1bY\x01\x00\x80", 7), {24, 0, 1, 3}, 25},
        {"on the second line", std::string("\n\x1bL\x01\x00\x80", 6), {0, 36, 1, 3}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IbmPage page = rebuild_ibm(c.in + "X");
        EXPECT_TRUE(page.problems.empty());
        const Bitmap::Box b = page.page.ink();
        EXPECT_EQ(b.x, c.ink.x);
        EXPECT_EQ(b.y, c.ink.y);
        EXPECT_EQ(b.w, c.ink.w);
        EXPECT_EQ(b.h, c.ink.h);
        ASSERT_FALSE(page.chars.empty());
        EXPECT_EQ(page.chars.back().x, c.xafter);
    }
}

TEST(IbmPage, CutShortStreamsAreReported) {
    const std::string cases[] = {
        std::string("\x1bL\x05\x00\x80", 5),
        "\x1bK\x05",
        std::string("\x1b=\x09\x00\x01", 5),
        "\x1b",
        "\x1b"
        "D\x03\x05",
    };
    for (const std::string& in : cases) {
        SCOPED_TRACE(in);
        EXPECT_FALSE(rebuild_ibm(in).problems.empty());
    }
}

TEST(IbmPage, SquareVersionKeepsOnePinRowPerDot) {
    // Two pins, one dot column at 120 per inch: 3 x 10 dots at 360 per inch.
    const IbmPage page = rebuild_ibm(std::string("\x1bL\x01\x00\xc0", 5));
    const Bitmap::Box b = ibm_square(page.page).ink();
    EXPECT_EQ(b.w, 3);
    EXPECT_EQ(b.h, 10);
}

TEST(IbmPage, InkedDotsCloseTheGapsOfEveryOtherColumn) {
    // Dots in columns 0 and 2 (one 60-per-inch image): one solid run of 4.
    const Bitmap::Box b =
        ibm_inked(rebuild_ibm(std::string("\x1bK\x02\x00\x80\x80", 6)).page).ink();
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.w, 4);
    const Bitmap inked = ibm_inked(rebuild_ibm(std::string("\x1bK\x02\x00\x80\x80", 6)).page);
    for (int x = 0; x < 4; ++x) EXPECT_TRUE(inked.get(x, 1)) << x;
}
