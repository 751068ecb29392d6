// Print jobs through the real kevra_prntrnx program: the page is rebuilt from
// the plot-printer bytes; every symbol reads back and starts where its data
// sequence stood, the text on the symbol's line is drawn in the driver's font
// in its cells, and the lines no field touches are sent as text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drivers/prntrnx/prntrnx_tables.hpp"
#include "tests/linear/elements.hpp"
#include "preview/decode.hpp"
#include "preview/prntrnx_page.hpp"
#include "tests/support/process.hpp"

namespace {
const char* const kProgram = "kevra_prntrnx";
constexpr int kLineRows = 12; // dot rows of a line at 6 lines per inch

struct Symbol {
    std::string commands;
    std::string data;     // as written in the job (escapes allowed)
    std::string formats;  // zxing's names
    std::string expected; // decoded text
    bool pure = false;    // the reader wants the symbol upright and alone
    int slack = 6;        // half dots of the frame that may carry no ink
};

// The half dots (120 per inch) of a glyph cell as the printer would draw it
// from the font's two planes: an odd dot covers its column's two half dots,
// an even one the two half a dot further right.
Bitmap glyphcell(int c) {
    Bitmap b(14, 9);
    const uint8_t* g = kv_mvp_glyph(c);
    for (int r = 0; r < 9; ++r)
        for (int bit = 0; bit < 6; ++bit) {
            if (g[2 * r] & (1 << bit)) b.fill(2 * bit, r, 2, 1);
            if (g[2 * r + 1] & (1 << bit)) b.fill(2 * bit + 1, r, 2, 1);
        }
    return b;
}

// The text at `col` on the line whose top is `y` is drawn as the font's
// glyphs, dot for dot, with nothing else in its cells.
void expectglyphs(const PlotterPage& p, const std::string& text, int col, int y, int rows = 9) {
    for (size_t i = 0; i < text.size(); ++i) {
        const Bitmap want = glyphcell(static_cast<uint8_t>(text[i]));
        const Bitmap got = p.page.crop(12 * (col + static_cast<int>(i)), y, 12, rows);
        EXPECT_EQ(got.rows(), want.crop(0, 0, 12, rows).rows())
            << "'" << text[i] << "' in column " << col + static_cast<int>(i);
    }
}

struct Printed {
    ProcessResult result;
    PlotterPage page;
};

Printed print(const std::string& job) {
    Printed p{run_process(program_path(kProgram), job, {{"KEVRA_VERBOSE", "N"}}), {}};
    EXPECT_EQ(p.result.exitcode, 1);
    EXPECT_EQ(p.result.err, "");
    p.page = rebuild_plotter(p.result.out);
    for (const std::string& problem : p.page.problems) ADD_FAILURE() << problem;
    return p;
}
} // namespace

TEST(PrntrnxProgram, EverySymbologyOrientationAndDensityReadsBack) {
    const std::vector<Symbol> symbols = {
        {"BCODE39 R6:2 H40", "CODE-39", "Code39", "CODE-39"},
        {"BCODE128 H40 R8:6:4:2", "Kevra 128", "Code128", "Kevra 128"},
        {"BCODABAR R6:2 H40", "A1234B", "Codabar", "A1234B"},
        {"BI2OF5 C1 R6:2 H40", "123456", "ITF", "01234565"},
        {"BEAN S13 R8:6:4:2 H50", "400638133393", "EAN-13", "4006381333931"},
        {"BEAN S8 R8:6:4:2 H50", "9638507", "EAN-8", "96385074"},
        {"BUPC SA R8:6:4:2 H50", "03600029145", "UPC-A", "036000291452"},
        {"BUPC SE R8:6:4:2 H50", "0321732", "UPC-E", "03217320"},
        {"BPDF417 R2:1", "PDF417 plot", "PDF417", "PDF417 plot"},
        {"BAZTEC R2", "Aztec on plot lines", "Aztec", "Aztec on plot lines"},
        {"BDATAMATRIX R2", "DataMatrix 0123", "DataMatrix", "DataMatrix 0123"},
        {"BMAXICODE S4", "MaxiCode on a line printer", "MaxiCode", "MaxiCode on a line printer",
         true, 16},
    };
    const char* const orient[] = {"OH", "OV", "OU", "OB"};
    for (const Symbol& s : symbols) {
        for (int o = 0; o < 4; ++o) {
            for (int d = 0; d <= 1; ++d) {
                const std::string cmd = s.commands + " " + orient[o] + " D" + std::to_string(d);
                SCOPED_TRACE(cmd);
                const std::string lead = "Lead ";
                const std::string job = lead + "|" + cmd + "|~" + s.data + "~\n" +
                                        std::string(30, '\n') + "plain after\n\f";
                const int col = static_cast<int>(lead.size() + cmd.size() + 2);
                Printed p = print(job);
                // Text before the symbol on its own line is drawn in the font.
                expectglyphs(p.page, "Lead", 0, 0);
                // A line no field reaches goes out as text.
                EXPECT_NE(p.result.out.find("plain after\r\n"), std::string::npos);
                EXPECT_EQ(p.page.line(31 * kLineRows), "plain after");

                // The symbol: the one group of ink right of the text.
                std::vector<Bitmap::Box> boxes;
                for (const Bitmap::Box& b : ink_regions(p.page.page, 20))
                    if (b.x >= 12 * col - 4) boxes.push_back(b);
                if (boxes.size() != 1u) {
                    ADD_FAILURE() << boxes.size() << " groups of ink right of the text";
                    continue;
                }
                const Bitmap::Box& b = boxes[0];
                EXPECT_LE(b.x - 12 * col, s.slack) << "starts in the sequence's column";
                EXPECT_GE(b.x - 12 * col, 0);
                EXPECT_LE(b.y, s.slack) << "starts on the sequence's line";
                Bitmap crop = p.page.page.crop(b.x, b.y, b.w, b.h).scaled(3, 5);
                // Turned back upright for a reader that only reads it so.
                for (int turn = 0; s.pure && turn < (4 - o) % 4; ++turn) crop = crop.rotated90();
                const auto got = decode_zxing(crop, s.formats, s.pure, 40);
                EXPECT_EQ(got.size(), 1u);
                if (!got.empty()) {
                    EXPECT_EQ(got[0].text, s.expected);
                }
            }
        }
    }
}

TEST(PrntrnxProgram, TextLandsInItsCellsAroundASymbol) {
    const std::vector<std::string> lines = {
        "Left|BDATAMATRIX R3 D0|~Hello~",
        "x",
        "AB\r__",
        "",
        "",
        "plain caf\xe9 line",
        "\x06"
        "eight",
        "after eight|BCODE39 H8 D0 R6:2|",
        "abc\t~A~",
    };
    std::string job;
    for (const std::string& l : lines) job += l + "\n";
    Printed p = print(job + "\f");
    // The DataMatrix (Hello: 10 x 10 modules of 3 dots) covers lines 0 and 1
    // and 6 rows of line 2: those lines are drawn in the font.
    expectglyphs(p.page, "Left", 0, 0);
    expectglyphs(p.page, "x", 0, kLineRows);
    expectglyphs(p.page, "AB", 0, 2 * kLineRows, 8);
    EXPECT_EQ(p.page.line(2 * kLineRows), "") << "not sent as text";
    // The underscores typed over "AB" underline it in dot row 8.
    for (int x = 0; x < 24; ++x) EXPECT_TRUE(p.page.page.get(x, 2 * kLineRows + 8)) << x;
    // Lines no field touches are text, a byte above 127 in its own cell.
    EXPECT_EQ(p.page.line(5 * kLineRows), "plain caf\xe9 line");
    EXPECT_EQ(p.page.line(6 * kLineRows), "eight");
    EXPECT_EQ(p.page.line(6 * kLineRows + 9).substr(0, 11), "after eight")
        << "8 lines per inch: 9 rows";
    // After a tab the field starts in column 8 (48 dots, 96 half dots).
    const int y = 7 * kLineRows + 9;
    expectglyphs(p.page, "abc", 0, y);
    const Bitmap::Box bars = p.page.page.crop(90, y, 200, 8).ink();
    EXPECT_EQ(bars.x, 6);
    EXPECT_EQ(bars.h, 8);
    // The symbol itself, from the column of its data sequence.
    const int col = static_cast<int>(lines[0].find('~'));
    const Bitmap::Box dm = p.page.page.crop(12 * col, 0, 200, 36).ink();
    EXPECT_LE(dm.x, 6);
    const auto got = decode_zxing(p.page.page.crop(12 * col + dm.x, dm.y, dm.w, dm.h).scaled(3, 5),
                                  "DataMatrix");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, "Hello");
}

TEST(PrntrnxProgram, ExactBytesThroughTheProgram) {
    auto times = [](const std::string& s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += s;
        return out;
    };
    struct Case {
        const char* name;
        std::string in;
        std::string out; // after the initial CR
    };
    const Case cases[] = {
        {"underscores as a second pass", "AB\r__\n", "AB\r__\r\n"},
        {"FF at the top of form", "\f", "\f"},
        {"FF after 10 lines", times("x\n", 10) + "\f", times("x\r\n", 10) + times("\r\n", 56)},
        {"ACK line",
         "\x06"
         "ab\n",
         "\x06"
         "ab\r\n"},
        {"an application plot line stays one dot row",
         "\x05"
         "ABC\n",
         "\x05"
         "ABC\n"},
        {"1000 blank dot rows of a field that never reaches the paper",
         std::string(21, '\t') + "|H1000|~A~" + times("\n", 84), times("\x05\n", 1008)},
        {"the last line without a line feed", "one\nlast", "one\r\nlast\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProcessResult r = run_process(program_path(kProgram), c.in, {{"KEVRA_VERBOSE", "N"}});
        EXPECT_EQ(r.exitcode, 1);
        EXPECT_TRUE(r.out == "\r" + c.out) << r.out.size() << " bytes: " << r.out.substr(0, 80);
    }
}

TEST(PrntrnxProgram, TopOfFormIsWherePagesBegin) {
    // The rebuilt page puts the first line after each FF at the printer's
    // top of form (66 lines of 12 rows), whatever the lines before it were.
    struct Case {
        const char* name;
        std::string before;
        bool drawn = false; // the first line of the page is drawn (a symbol reaches it)
    };
    const Case cases[] = {
        {"10 lines", std::string(10, '\n')},
        {"3 lines at 8 lpi", "\x06"
                             "a\n\x06"
                             "b\n\x06"
                             "c\n"},
        {"an elongated line and one at 8 lpi", "\x08"
                                               "a\n\x06"
                                               "b\n"},
        {"text still in the line buffer", "AB"},
        {"a symbol reaching below the page end",
         std::string(64, '\n') + "|BCODE39 R6:2 H60 D0|~A~\n", true},
        {"plot rows of the application", "\x05"
                                         "A\n\x05"
                                         "A\n\x05"
                                         "A\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Printed p = print(c.before + "\ftop\n\fnext\n");
        if (c.drawn)
            expectglyphs(p.page, "top", 0, 792);
        else
            EXPECT_EQ(p.page.line(792), "top");
        EXPECT_EQ(p.page.line(2 * 792), "next");
    }
}

TEST(PrntrnxProgram, BadInputNeitherHangsNorLosesWhatWasRead) {
    std::string everybyte;
    for (int i = 0; i < 256; ++i) everybyte.push_back(static_cast<char>(i));
    struct Case {
        const char* name;
        std::string in;
        std::string out; // after the initial CR; empty: only run it
    };
    const Case cases[] = {
        {"a line of 200 characters keeps 165", std::string(200, 'x') + "\n",
         std::string(165, 'x') + "\r\n"},
        {"a plot line of 200 bytes keeps 165", "\x05" + std::string(200, 'A') + "\n",
         "\x05" + std::string(165, 'A') + "\n"},
        {"a plot line cut off by the end",
         "\x05"
         "ABC",
         "\x05"
         "ABC\n"},
        {"bytes 128-255 in text", "a\x80\xff b\n", "a\x80\xff b\r\n"},
        {"bytes 128-255 in plot data", "\x05\xc1\xff\n",
         "\x05"
         "A\x7f\n"},
        {"every byte value", everybyte + everybyte + "\n", ""},
        {"a field on a 165-cell line", std::string(160, 'y') + "|H20|~ABCDEFGHIJ~\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProcessResult r = run_process(program_path(kProgram), c.in, {{"KEVRA_VERBOSE", "Q"}});
        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.exitcode, 1);
        if (!c.out.empty()) {
            EXPECT_EQ(r.out, "\r" + c.out);
        }
        rebuild_plotter(r.out, 165);
    }
}

TEST(PrntrnxProgram, FieldsPendingAtTheEndPrintWhole) {
    struct Case {
        const char* name;
        std::string job;
        int height;
    };
    const Case cases[] = {
        {"a tall symbol on a last line without LF", "Tall |BCODE39 R6:2 H100 D0|~TALL~", 100},
        {"a sequence closed by the last byte", "ab |BCODE39 R6:2 H30 D0|~SEQ~", 30},
        {"a tall symbol and one line feed", "|BCODE39 R6:2 H100 D1|~ONE~\n", 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Printed p = print(c.job);
        const int column = static_cast<int>(c.job.find('~'));
        std::vector<Bitmap::Box> boxes;
        for (const Bitmap::Box& b : ink_regions(p.page.page, 20))
            if (b.x >= 12 * column - 4) boxes.push_back(b);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].x, 12 * column);
        // A slice of the bars is enough for the reader.
        const Bitmap crop = p.page.page.crop(boxes[0].x, boxes[0].y, boxes[0].w, 24);
        const auto got = decode_zxing(crop.scaled(3, 5), "Code39");
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(boxes[0].y + boxes[0].h, c.height);
        EXPECT_EQ(p.page.rows % kLineRows, 0) << "whole lines, as line feeds would";
    }
}

TEST(PrntrnxProgram, SymbologiesNoReaderKnowsPrintTheirPublishedPatterns) {
    // Density 0: a dot is exactly two half dots of the rebuilt page.
    const std::string job = "MSI |BMSI R4:2 H20 D0|~1234~\n\n\n"
                            "S2OF5 |BS2OF5 R3:1 H20 D0|~12345~\n\n\n"
                            "POSTNET |BPOSTNET|~12345-6789~\n\n\n";
    Printed p = print(job);
    auto symbolat = [&](int line, const std::string& marker) {
        const int col = static_cast<int>(job.find(marker) - job.rfind('\n', job.find(marker)) - 1);
        const Bitmap row = p.page.page.crop(12 * col, 3 * line * kLineRows, 900, 3 * kLineRows);
        const Bitmap::Box b = row.ink();
        EXPECT_LE(b.x, 2) << marker << " starts in its column";
        EXPECT_EQ(b.y, 0) << marker << " starts on its line";
        return row.crop(b.x, b.y, b.w, b.h);
    };
    EXPECT_EQ(linear_test::runs(symbolat(0, "~1234~")), linear_test::msipattern("1234", 4));
    EXPECT_EQ(linear_test::runs(symbolat(1, "~12345~")), linear_test::s25elements("12345", 2));
    // POSTNET on this printer: tall bars 9 dot rows, short ones 3, on one
    // baseline; frame bar, 12345 6789, check digit 5, frame bar.
    std::string bars;
    for (const linear_test::Bar& bar : linear_test::bars(symbolat(2, "~12345-"))) {
        EXPECT_EQ(bar.top + bar.height, 9);
        bars += bar.height == 9 ? "F" : bar.height == 3 ? "h" : "?";
    }
    EXPECT_EQ(bars, linear_test::postnet_bars("1234567895"));
}
