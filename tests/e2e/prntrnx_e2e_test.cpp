// Print jobs through the real kevra_prntrnx program: the page is rebuilt from
// the plot-printer bytes; every symbol reads back and starts where its data
// sequence stood, the text on the symbol's line is drawn in the driver's font
// in its cells, and the lines no field touches are sent as text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drivers/prntrnx/prntrnx_tables.hpp"
#include "tests/support/decode.hpp"
#include "tests/support/prntrnx_page.hpp"
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
void expectglyphs(const PlotterPage& p, const std::string& text, int col, int y) {
    for (size_t i = 0; i < text.size(); ++i) {
        const Bitmap want = glyphcell(static_cast<uint8_t>(text[i]));
        const Bitmap got = p.page.crop(12 * (col + static_cast<int>(i)), y, 12, 9);
        EXPECT_EQ(got.rows(), want.crop(0, 0, 12, 9).rows())
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
