// Print jobs through the real DEC programs: the page is rebuilt from the
// printer bytes the way the printer would print it, every symbol is read back
// (or, for the symbologies no reader knows, found) where its data sequence
// stood, and the text before and after it keeps its place on the line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/dec_page.hpp"
#include "preview/decode.hpp"
#include "tests/support/process.hpp"

namespace {
struct Symbology {
    std::string commands;
    std::string data;
    std::string format; // zxing's name; empty when no reader knows it
    std::string text;   // what the reader returns
    bool pure = false;
};
// Every symbology; published check characters included where the reader
// returns them (EAN/UPC check digits from the GS1 examples).
const std::vector<Symbology> kSymbologies = {
    {"BCODE39 H40", "CODE 39", "Code39", "CODE 39"},
    {"BCODE128 H40", "Kevra 128", "Code128", "Kevra 128"},
    {"BI2OF5 H40 R3:1", "123456", "ITF", "123456"},
    {"BS2OF5 H40 R3:1", "12345", "", ""},
    {"BMSI H40", "1234", "", ""},
    {"BCODABAR H40", "A12345B", "Codabar", "A12345B"},
    {"BUPC SA H40", "03600029145", "UPC-A", "036000291452"},
    {"BUPC SE H40", "0321732", "UPC-E", "03217320"},
    {"BEAN S13 H40", "400638133393", "EAN-13", "4006381333931"},
    {"BEAN S8 H40", "9638507", "EAN-8", "96385074"},
    {"BPOSTNET", "12345", "", ""},
    {"BPDF417 R2:1", "PDF417 on a DEC printer", "PDF417", "PDF417 on a DEC printer"},
    {"BMAXICODE S4", "MaxiCode on a DEC printer", "MaxiCode", "MaxiCode on a DEC printer", true},
    {"BAZTEC", "Aztec on a DEC printer", "Aztec", "Aztec on a DEC printer"},
    {"BDATAMATRIX", "DataMatrix on a DEC printer", "DataMatrix", "DataMatrix on a DEC printer"},
};

struct Placed {
    const Symbology* sym;
    int line;
    int column; // where the data sequence began
    std::string after;
    int aftercolumn;
    std::string before = ""; // the text the line begins with
};

// The job's text, assembled line by line; positions are taken from it.
struct Job {
    std::string text;
    int lines = 0;
    std::vector<Placed> placed;

    void line(const std::string& l) {
        text += l + "\n";
        ++lines;
    }
    void blank(int n) {
        for (int i = 0; i < n; ++i) line("");
    }
    // "<before>|<commands>|~<data>~ <after>" on one line.
    void symbol(const std::string& before, const std::string& commands, const Symbology& s,
                const std::string& after) {
        std::string l = before + "|" + commands + "|";
        const int col = static_cast<int>(l.size());
        l += "~" + s.data + "~ " + after;
        placed.push_back(
            {&s, lines, col, after, col + static_cast<int>(s.data.size()) + 3, before});
        line(l);
    }
};

struct Printer {
    const char* program;
    DecModel model;
    // Where a character cell's top left lies on the square page.
    int cellx(int col) const {
        return model == DecModel::LN03 ? col * kLn03ColumnDots : la75_columnx(col, 0);
    }
    int celly(int line) const { return model == DecModel::LN03 ? line * kLn03LineDots : line * 24; }
    // Where a character is recorded on the rebuilt page.
    int charx(int col) const { return cellx(col); }
    int chary(int line) const { return model == DecModel::LN03 ? celly(line) : line * 12; }
};
const Printer kLn03{"kevra_ln03", DecModel::LN03};

DecPage printjob(const Printer& p, const std::string& text) {
    ProcessResult r = run_process(program_path(p.program), text, {{"KEVRA_VERBOSE", "N"}});
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    DecPage page = rebuild_dec(r.out, p.model);
    EXPECT_TRUE(page.problems.empty()) << page.problems.front();
    return page;
}

// Finds every placed symbol on the page: read back where a reader knows it,
// its ink starting within `slack` dots of its data sequence's cell, and the
// word after it in its column.
void checkpage(const Printer& p, const DecPage& page, const std::vector<Placed>& placed, int slack,
               int quarterturns = 0) {
    const Bitmap square = dec_square(page);
    const std::vector<Bitmap::Box> regions = ink_regions(square, 24);
    for (const Placed& pl : placed) {
        SCOPED_TRACE(pl.sym->commands + " on line " + std::to_string(pl.line));
        for (size_t k = 0; k < pl.before.size(); ++k) {
            const DecChar* c = page.charat(p.charx(static_cast<int>(k)), p.chary(pl.line));
            ASSERT_NE(c, nullptr) << "text before the symbol moved";
            EXPECT_EQ(c->c, pl.before[k]);
        }
        for (size_t k = 0; k < pl.after.size(); ++k) {
            const DecChar* c =
                page.charat(p.charx(pl.aftercolumn + static_cast<int>(k)), p.chary(pl.line));
            ASSERT_NE(c, nullptr) << "text after the symbol moved";
            EXPECT_EQ(c->c, pl.after[k]);
        }
        const int x = p.cellx(pl.column), y = p.celly(pl.line);
        const Bitmap::Box* box = nullptr;
        for (const Bitmap::Box& b : regions)
            if (b.x >= x && b.x <= x + slack && b.y >= y && b.y <= y + slack) box = &b;
        ASSERT_NE(box, nullptr) << "no symbol at " << x << "," << y;
        if (pl.sym->format.empty()) continue;
        Bitmap crop = square.crop(box->x, box->y, box->w, box->h);
        // A reader that wants a pure symbol gets it upright again.
        for (int k = 0; pl.sym->pure && k < (4 - quarterturns) % 4; ++k) crop = crop.rotated90();
        const auto got = decode_zxing(crop, pl.sym->format, pl.sym->pure, 40);
        ASSERT_EQ(got.size(), 1u) << "not read back";
        EXPECT_EQ(got[0].text, pl.sym->text);
    }
}
} // namespace

namespace {
const char* const kOrientations[] = {"OH", "OV", "OU", "OB"};

// Every symbology (but POSTNET where the printer has none) on its own line,
// with the given density and orientation, `blank` lines apart.
Job symbologyjob(const std::string& params, int blank, bool postnet) {
    Job job;
    job.line("Every symbology");
    for (const Symbology& s : kSymbologies) {
        if (!postnet && s.commands == "BPOSTNET") continue;
        job.symbol("Item ", s.commands + " " + params, s, "ok");
        job.blank(blank);
    }
    job.text += "\f";
    return job;
}
} // namespace

TEST(DecPrograms, Ln03EverySymbologyInEveryOrientation) {
    for (int o = 0; o < 4; ++o) {
        SCOPED_TRACE(kOrientations[o]);
        const Job job = symbologyjob(std::string("D2 ") + kOrientations[o], 11, true);
        const DecPage page = printjob(kLn03, job.text);
        EXPECT_EQ(page.sixelstrings, static_cast<int>(kSymbologies.size()));
        checkpage(kLn03, page, job.placed, 8, o);
    }
}

namespace {
// Code 39 and Codabar at densities 0 to 3, in that order.
std::vector<Symbology> densitysymbols() {
    std::vector<Symbology> syms;
    for (int d = 0; d <= 3; ++d) {
        const std::string c39 = "D" + std::to_string(d) + " 39";
        syms.push_back({"BCODE39 H30 D" + std::to_string(d), c39, "Code39", c39});
        const std::string cb = "A" + std::to_string(d) + "2345B";
        syms.push_back({"BCODABAR H30 D" + std::to_string(d), cb, "Codabar", cb});
    }
    return syms;
}
const std::vector<Symbology> kDensitySymbols = densitysymbols();

// The first `count` of them, each on its line with text before and after.
Job densityjob(size_t count, const std::string& orient, int blank) {
    Job job;
    for (size_t k = 0; k < count; ++k) {
        const Symbology& s = kDensitySymbols[k];
        job.symbol(k % 2 ? "And " : "Start ", s.commands + " " + orient, s, "end");
        job.blank(blank);
    }
    return job;
}
} // namespace

TEST(DecPrograms, Ln03DensitiesZeroToThree) {
    // Density 0 to 3 is a grid of 4 to 1 pixels; the stretched rows reach the
    // bar height at every scale.
    for (const char* o : kOrientations) {
        SCOPED_TRACE(o);
        const Job job = densityjob(kDensitySymbols.size(), o, 11);
        const DecPage page = printjob(kLn03, job.text);
        checkpage(kLn03, page, job.placed, 8);
        if (std::string(o) == "OH") {
            // Upright: a stretched one-row string, 30 dots tall at scale 4.
            const Bitmap::Box first = ink_regions(page.page, 24).front();
            EXPECT_NEAR(first.h, 30 * 4, 1);
        }
    }
}

namespace {
const Printer kLa75{"kevra_la75", DecModel::LA75};
} // namespace

TEST(DecPrograms, La75EverySymbologyInEveryOrientation) {
    for (int o = 0; o < 4; ++o) {
        SCOPED_TRACE(kOrientations[o]);
        // Density 0: one pin dot per band column, as wide as the column, so
        // bars and spaces print at their true widths. POSTNET is not offered
        // on this printer (IVPNET).
        const Job job = symbologyjob(std::string("D0 ") + kOrientations[o], 15, false);
        const DecPage page = printjob(kLa75, job.text);
        checkpage(kLa75, page, job.placed, 8, o);
    }
}

TEST(DecPrograms, La75DensityZeroAndOne) {
    // Density 0 fills one sixel column of each band column, density 1 both
    // but in a bar's last band column: a pin dot is as wide as two sixel
    // columns, so bars print at their width at both densities.
    const Job job = densityjob(4, "", 5);
    const DecPage page = printjob(kLa75, job.text);
    checkpage(kLa75, page, job.placed, 4);
}

TEST(DecPrograms, La75ApplicationSixelsBeforeAField) {
    // The application prints a sixel logo of three rows at column 0, then on
    // the line below it text, a symbol and, after the text that follows the
    // symbol, a sixel string of two rows. The symbol's first band is printed
    // at that string's graphics new line, between its rows; the logo keeps
    // its rows, the text its columns and the second string its place.
    const std::string logo = "\x1bP0q\"1;1#0!40~-!40~-!40~\x1b\\";
    Job job;
    job.text = logo + "\r";
    job.lines = 1; // the logo's new lines moved the paper one line (12 dots)
    std::string l = "Logo above, then |BCODE39 H30|";
    const int col = static_cast<int>(l.size());
    const Symbology& c39 = kSymbologies[0];
    l += "~" + c39.data + "~ after";
    job.placed.push_back(
        {&c39, 1, col, "after", col + static_cast<int>(c39.data.size()) + 3, "Logo above"});
    l += std::string(30, ' '); // clear of the symbol's bars
    job.text += l + "\x1bPq!40~-!40~\x1b\\\r\n";
    job.blank(6);
    const DecPage page = printjob(kLa75, job.text);
    // The logo, the second string in two parts around a band, and the five
    // bands of the 30 rows of the symbol.
    EXPECT_EQ(page.sixelstrings, 1 + 2 + 5);
    checkpage(kLa75, page, job.placed, 8);
    for (int y = 0; y < 18; ++y) EXPECT_TRUE(page.page.get(39, y)) << y;
    // The second string stands where the text stopped: 12 rows from the
    // line's top, unbroken.
    const int x = la75_columnx(static_cast<int>(l.size()), 0);
    for (int y = 12; y < 24; ++y) EXPECT_TRUE(page.page.get(x + 39, y)) << y;
    EXPECT_FALSE(page.page.get(x + 40, 12));
    EXPECT_FALSE(page.page.get(x, 24));
}
