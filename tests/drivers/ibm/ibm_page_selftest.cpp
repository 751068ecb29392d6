// The Proprinter page rebuilder on hand-written printer streams, so that the
// pages the driver tests rebuild rest on a model checked against the
// printer's language.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/ibm_page.hpp"
#include "tests/support/printer_bytes.hpp"

using namespace ctl;

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
         SO + "AB\rCD",
         {{0, 0, 'A'}, {24, 0, 'B'}, {0, 0, 'C'}, {12, 0, 'D'}}},
        {"ESC W 1 doubles the width across lines",
         esc('W', {1}) + "AB\rCD",
         {{24, 0, 'B'}, {24, 0, 'D'}}},
        {"DC4 ends only the one-line double width",
         esc('W', {1}) + SO + DC4 + "AB",
         {{24, 0, 'B'}}},
        {"ESC W 0 ends it", esc('W', {1}) + esc('W', {0}) + "AB", {{12, 0, 'B'}}},
        {"SI condensed, DC2 10 per inch, ESC : 12 per inch",
         SI + "AB" + DC2 + "CD" + esc(':') + "EF",
         {{7, 0, 'B'}, {14, 0, 'C'}, {26, 0, 'D'}, {38, 0, 'E'}, {48, 0, 'F'}}},
        {"HT to every eighth column", "A\tB\tC", {{96, 0, 'B'}, {192, 0, 'C'}}},
        {"ESC D sets tab columns counted from 1", esc('D', {3, 5, 0}) + "\t\tB", {{48, 0, 'B'}}},
        {"ESC R restores the default tabs", esc('D', {3, 0}) + esc('R') + "\tB", {{96, 0, 'B'}}},
        {"BS steps back one cell", "AB\bC", {{12, 0, 'C'}}},
        {"ESC \\ prints a count of characters",
         esc('\\', {2, 0}) + "xyZ",
         {{0, 0, 'x'}, {12, 0, 'y'}, {24, 0, 'Z'}}},
        {"ESC ^ prints one character", esc('^', {1}) + "Z", {{0, 0, '\x01'}, {12, 0, 'Z'}}},
        {"0x8D returns the head", "AB\x8d" + std::string("C"), {{0, 0, 'C'}}},
        {"CAN cancels the line", "AB" + CAN + "C", {{0, 0, 'C'}}},
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
        {"ESC 3 n: n/216", esc('3', {20}) + "\nX", 20},
        {"ESC A only stores", esc('A', {8}) + "\nX", 36},
        {"ESC 2 puts ESC A in force", esc('A', {8}) + esc('2') + "\nX", 24},
        {"ESC 2 before any ESC A: 1/6 inch", esc('3', {12}) + esc('2') + "\nX", 36},
        {"ESC 0: 1/8 inch", esc('0') + "\nX", 27},
        {"ESC 1: 7/72 inch", esc('1') + "\nX", 21},
        {"ESC J n: n/216 once", esc('J', {30}) + "X", 30},
        {"ESC 5 1: CR feeds a line too", esc('5', {1}) + "\rX", 36},
        {"VT without stops: a line feed", "\vX", 36},
        {"VT to the next stop", esc('B', {3, 5, 0}) + "\vX", 72},
        {"VT past a stop", esc('B', {3, 5, 0}) + "\n\n\n\vX", 144},
        {"FF: 11 inches at power-on", "\n\fX", 2376},
        {"ESC C n: n lines", esc('C', {2}) + "\n\fX", 72},
        {"ESC C 0 n: n inches", esc('C', {0, 1}) + "\fX", 216},
        {"ESC 4 sets the top of form", "\n" + esc('4') + "\fX", 36 + 2376},
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
        {"ESC K: 60 per inch", esc('K', {2, 0, 0x80, 0x80}), {0, 0, 3, 3}, 4},
        {"bit 0 is the eighth pin", esc('L', {2, 0, 1, 1}), {0, 21, 2, 3}, 2},
        {"ESC Z: 240 per inch", esc('Z', {4, 0, 0xFF, 0xFF, 0xFF, 0xFF}), {0, 0, 2, 24}, 2},
        {"ESC Y at the head", "AB" + esc('Y', {1, 0, 0x80}), {24, 0, 1, 3}, 25},
        {"on the second line", "\n" + esc('L', {1, 0, 0x80}), {0, 36, 1, 3}, 1},
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
        esc('L', {5, 0, 0x80}), esc('K', {5}), esc('=', {9, 0, 1}), "\x1b", esc('D', {3, 5}),
    };
    for (const std::string& in : cases) {
        SCOPED_TRACE(in);
        EXPECT_FALSE(rebuild_ibm(in).problems.empty());
    }
}

TEST(IbmPage, SquareVersionKeepsOnePinRowPerDot) {
    // Two pins, one dot column at 120 per inch: 3 x 10 dots at 360 per inch.
    const Bitmap::Box b = ibm_square(rebuild_ibm(esc('L', {1, 0, 0xC0})).page).ink();
    EXPECT_EQ(b.w, 3);
    EXPECT_EQ(b.h, 10);
}

TEST(IbmPage, InkedDotsCloseTheGapsOfEveryOtherColumn) {
    // Dots in columns 0 and 2 (one 60-per-inch image): one solid run of 4.
    const Bitmap inked = ibm_inked(rebuild_ibm(esc('K', {2, 0, 0x80, 0x80})).page);
    const Bitmap::Box b = inked.ink();
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.w, 4);
    for (int x = 0; x < 4; ++x) EXPECT_TRUE(inked.get(x, 1)) << x;
}
