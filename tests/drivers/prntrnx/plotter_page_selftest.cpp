// The plot-printer page rebuilder on byte scripts written from the printer
// language: where text lands, which dots plot lines set, how far the paper
// moves, and what it reports as unprintable.
#include <gtest/gtest.h>

#include <string>

#include "preview/prntrnx_page.hpp"

TEST(PlotterPage, TextLinesAndPaperMotion) {
    struct Case {
        const char* name;
        std::string in;
        int rows;        // dot rows the paper advanced
        std::string top; // the characters of the line at row `at`
        int at;
    };
    const Case cases[] = {
        {"a line at 6 lpi", "ab\r\nc\r\n", 24, "c", 12},
        {"ACK: the line advances 9 rows",
         "\x06"
         "ab\r\nc\r\n",
         21, "c", 9},
        {"BS: an elongated line advances two lines",
         "\x08"
         "ab\r\nc\r\n",
         36, "c", 24},
        {"ACK and BS: 18 rows",
         "\x06\x08"
         "ab\r\nc\r\n",
         30, "c", 18},
        {"CR overprints the same line", "AB\r__\r\n", 12, "__", 0},
        {"SO: expanded characters take two columns until SI",
         "\x0e"
         "AB\x0f"
         "C\r\n",
         12, "A B C", 0},
        {"SO lasts through CR, not past the line",
         "\x0e"
         "A\rB\r\nC\r\n",
         24, "C", 12},
        {"FF at the top of form ejects a page", "\f", 792, "", 0},
        {"FF after 10 lines goes to the next top of form", std::string(10, '\n') + "\fx\n", 804,
         "x", 792},
        {"an odd plot line is one dot row", "\x05@\nx\r\n", 13, "x", 1},
        {"an even plot line does not move the paper", "\x04@\nx\r\n", 12, "x", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlotterPage p = rebuild_plotter(c.in);
        EXPECT_EQ(p.rows, c.rows);
        EXPECT_EQ(p.line(c.at), c.top);
        EXPECT_TRUE(p.problems.empty()) << p.problems.front();
    }
    const PlotterPage p = rebuild_plotter("\x0e"
                                          "AB\x0f"
                                          "C\r\n");
    ASSERT_NE(p.charat(2, 0), nullptr);
    EXPECT_TRUE(p.charat(2, 0)->expanded);
    EXPECT_FALSE(p.charat(4, 0)->expanded);
    EXPECT_TRUE(rebuild_plotter("\x08"
                                "a\r\n")
                    .chars[0]
                    .elongated);
}

TEST(PlotterPage, PlotDotsAndTheHalfDotPlane) {
    // One byte of data: bit 0 is the leftmost dot; a dot is two half dots
    // wide; the even plane sits half a dot to the right.
    struct Case {
        const char* name;
        std::string in;
        std::string row0; // half dots of row 0, '#' = ink
    };
    const Case cases[] = {
        {"odd dot 0",
         "\x05"
         "A\n",
         "##.........."},
        {"odd dots 0 and 5",
         "\x05"
         "a\n",
         "##........##"},
        {"even dot 0",
         "\x04"
         "A\n\x05\n",
         ".##........."},
        {"odd and even dot 1: one and a half dots",
         "\x04"
         "B\n\x05"
         "B\n",
         "..###......."},
        {"second byte starts at dot 6", "\x05@A\n", "............##"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlotterPage p = rebuild_plotter(c.in);
        std::string row;
        for (size_t x = 0; x < c.row0.size(); ++x)
            row += p.page.get(static_cast<int>(x), 0) ? '#' : '.';
        EXPECT_EQ(row, c.row0);
        EXPECT_EQ(p.rows, 1);
    }
}

TEST(PlotterPage, ReportsWhatThePrinterCannotPrint) {
    struct Case {
        const char* name;
        std::string in;
        std::string problem;
    };
    const Case cases[] = {
        {"plot line cut off",
         "\x05"
         "AB",
         "plot line cut off"},
        {"a data byte without bit 6",
         "\x05"
         "A1\n",
         "byte 49 in plot data"},
        {"text beyond 132 columns", std::string(133, 'x') + "\r\n", "text beyond the line"},
        {"plot line beyond 132 bytes", "\x05" + std::string(133, 'A') + "\n",
         "plot line wider than the printer"},
        {"graphics while text waits",
         "ab\x05"
         "A\n",
         "plot line while text waits to print"},
        {"text never ended", "ab", "text left unprinted at the end"},
        {"an unknown control", "\x07", "control 7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PlotterPage p = rebuild_plotter(c.in);
        ASSERT_FALSE(p.problems.empty());
        EXPECT_EQ(p.problems.front(), c.problem);
    }
    // A printer with 165 columns takes the longer line.
    EXPECT_TRUE(rebuild_plotter(std::string(165, 'x') + "\r\n", 165).problems.empty());
}

TEST(PlotterPage, CellsShowWhereTextPrinted) {
    // "a b" then an expanded "c" on an elongated line: each character as a
    // filled cell at its column, wider when expanded, taller when elongated.
    const PlotterPage p = rebuild_plotter("a b\r\n\x08\x0e"
                                          "c\r\n");
    const Bitmap cells = p.withcells();
    EXPECT_EQ(cells.crop(0, 0, 36, 7).ink().w, 34)
        << "cells at columns 0 and 2, none for the space";
    EXPECT_FALSE(cells.get(12, 3));
    const Bitmap::Box c = cells.crop(0, 12, 40, 20).ink();
    EXPECT_EQ(c.w, 20);
    EXPECT_EQ(c.h, 14);
}
