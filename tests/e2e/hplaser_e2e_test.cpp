// Print jobs through the real kevra_hplaser program: the pages are rebuilt
// from the PCL stream, every symbol is read back and found where its data
// sequence stood in the text, and the text after it stays in its column.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "preview/decode.hpp"
#include "preview/pcl_page.hpp"
#include "tests/support/process.hpp"

namespace {
const char* const kProgram = "kevra_hplaser";
// Printer dots from the text baseline up to the top of a symbol.
constexpr int kRaise = 27;

struct Placed {
    std::string text; // what the reader returns
    int line;
    int column;        // where the data sequence began
    int scale;         // printer dots per band dot
    int length;        // Code 39 symbol length in band dots (0: not checked)
    std::string after; // the word printed after the sequence
    int aftercolumn;
};

// The job's text is assembled line by line; positions are taken from it.
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
    // Appends `data` between data delimiters to `l` and records where.
    void symbol(std::string& l, const std::string& data, const std::string& expect, int scale,
                int length, const std::string& after) {
        const int col = static_cast<int>(l.size());
        l += "~" + data + "~ " + after;
        placed.push_back(
            {expect, lines, col, scale, length, after, col + static_cast<int>(data.size()) + 3});
    }
};

int column(const std::string& l) {
    return static_cast<int>(l.size());
}

std::map<std::string, Bitmap::Box> readall(const Bitmap& page) {
    std::map<std::string, Bitmap::Box> found;
    for (const Bitmap::Box& b : ink_regions(page, 20)) {
        const auto got = decode_zxing(page.crop(b.x, b.y, b.w, b.h), "Code39|Codabar", false, 24);
        if (got.size() == 1) found[got[0].text] = b;
    }
    return found;
}

// Checks every placed symbol and the text after it on one rebuilt page.
void checkpage(const PclSheet& sheet, const std::vector<Placed>& placed, int orientation) {
    const auto found = readall(sheet.ink);
    for (const Placed& p : placed) {
        SCOPED_TRACE(p.text + " on line " + std::to_string(p.line));
        for (size_t k = 0; k < p.after.size(); ++k) {
            const PclChar* c =
                sheet.charat(pcl_column(p.aftercolumn + static_cast<int>(k)), pcl_baseline(p.line));
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->c, p.after[k]);
        }
        const auto it = found.find(p.text);
        ASSERT_NE(it, found.end()) << "not read back";
        const Bitmap::Box& box = it->second;
        // The field's rectangle starts at the cursor, 27 dots above the
        // baseline. Every symbol ends with a narrow gap that carries no ink;
        // upside down (180) it is at the left, read upwards (270) at the top.
        const int x = pcl_column(p.column) + (orientation == 180 ? p.scale : 0);
        const int y = pcl_baseline(p.line) - kRaise + (orientation == 270 ? p.scale : 0);
        EXPECT_EQ(box.x, x);
        EXPECT_EQ(box.y, y);
        if (p.length > 0) {
            const bool across = orientation == 0 || orientation == 180;
            EXPECT_EQ(across ? box.w : box.h, (p.length - 1) * p.scale);
        }
    }
    EXPECT_EQ(found.size(), placed.size());
}
} // namespace

TEST(HpLaserProgram, EveryDensityOrientationAndDrawingReadsBack) {
    const char* orient[] = {"OH", "OV", "OU", "OB"};
    const int degrees[] = {0, 90, 180, 270};
    int symbols = 0;
    for (int mode = 0; mode < 2; ++mode) {
        for (int o = 0; o < 4; ++o) {
            SCOPED_TRACE(std::string(mode ? "rules " : "raster ") + orient[o]);
            Job job;
            job.line(std::string("|ZR") + (mode ? "1" : "0") + " " + orient[o] + " H30|");
            for (int d = 0; d <= 3; ++d) {
                const int s = 4 - d;
                std::string l = "|BCODE39 D" + std::to_string(d) + "|";
                const std::string c39 = "1234" + std::to_string(d);
                job.symbol(l, c39, c39, s, 7 * 16, "ok");
                l += std::string(static_cast<size_t>(std::max(0, 48 - column(l))), ' ');
                l += "|BCODABAR|";
                const std::string cbar = "A" + std::to_string(d) + "2345B";
                job.symbol(l, cbar, cbar, s, 0, "end");
                job.line(l);
                job.blank(11);
            }
            job.text += "\f";
            ProcessResult r =
                run_process(program_path(kProgram), job.text, {{"KEVRA_VERBOSE", "N"}});
            ASSERT_EQ(r.exitcode, 1);
            EXPECT_EQ(r.err, "");
            const PclJob page = rebuild_pcl(r.out);
            EXPECT_TRUE(page.problems.empty()) << page.problems.front();
            ASSERT_EQ(page.sheets.size(), 1u);
            checkpage(page.sheets[0], job.placed, degrees[o]);
            symbols += static_cast<int>(job.placed.size());
        }
    }
    EXPECT_EQ(symbols, 64);
}

TEST(HpLaserProgram, SqueezedJobPlacesSymbolsLikeThePlainOne) {
    // Data sequences right after line feeds: the held line feeds must reach
    // the printer before the symbol is drawn.
    Job job;
    job.line("|BCODE39 H20|Header");
    job.blank(3);
    std::string l;
    job.symbol(l, "AB1", "AB1", 4, 5 * 16, "x");
    job.line(l);
    job.blank(10);
    l = "  ";
    job.symbol(l, "CD2", "CD2", 4, 5 * 16, "y");
    job.line(l);
    job.text += "\r\r\n\n\n";
    for (const char* squish : {"n", "y"}) {
        SCOPED_TRACE(squish);
        ProcessResult r = run_process(program_path(kProgram), job.text,
                                      {{"KEVRA_VERBOSE", "Q"}, {"KEVRA_SQUISH_CR", squish}});
        ASSERT_EQ(r.exitcode, 1);
        const PclJob page = rebuild_pcl(r.out);
        EXPECT_TRUE(page.problems.empty());
        ASSERT_EQ(page.sheets.size(), 1u);
        checkpage(page.sheets[0], job.placed, 0);
        const auto crs = std::count(r.out.begin(), r.out.end(), '\r');
        // One CR per input line and two more at the end; squeezed, only the
        // first CR after each line of text is left.
        EXPECT_EQ(crs, squish[0] == 'y' ? 3 : 21);
    }
}

TEST(HpLaserProgram, FormFeedsResetAndStartNewPages) {
    Job first;
    std::string l = "page one ";
    first.symbol(l, "P1", "P1", 4, 4 * 16, "a");
    first.line(l);
    Job second;
    l = "page two ";
    second.symbol(l, "P2", "P2", 4, 4 * 16, "b");
    second.line(l);
    const std::string text = first.text + "\f" + second.text + "\f";
    for (const char* resetz : {"y", "n"}) {
        SCOPED_TRACE(resetz);
        ProcessResult r = run_process(program_path(kProgram), text,
                                      {{"KEVRA_VERBOSE", "Q"}, {"KEVRA_RESET_Z", resetz}});
        ASSERT_EQ(r.exitcode, 1);
        const PclJob page = rebuild_pcl(r.out);
        EXPECT_TRUE(page.problems.empty());
        ASSERT_EQ(page.sheets.size(), 2u);
        checkpage(page.sheets[0], first.placed, 0);
        checkpage(page.sheets[1], second.placed, 0);
        EXPECT_EQ(page.resets, resetz[0] == 'y' ? 3 : 1);
    }
}

TEST(HpLaserProgram, ResetAndBanner) {
    ProcessResult r = run_process(program_path(kProgram), "");
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.out, "\033E");
    const std::string banner =
        "\n\nKEVRA/DIGITAL-UNIX DUZA [Rev 7.1.0 Y2K Compliant], HP LaserJet+ version.\n";
    EXPECT_EQ(r.err.substr(0, banner.size()), banner);
    ProcessResult quiet = run_process(program_path(kProgram), "hi\n",
                                      {{"KEVRA_VERBOSE", "Q"}, {"KEVRA_RESET_A", "no"}});
    EXPECT_EQ(quiet.out, "hi\r\n");
    EXPECT_EQ(quiet.err, "");
}

TEST(HpLaserProgram, BadPclPassesEveryByteAndEnds) {
    const std::string huge(100000, '7');
    struct Case {
        const char* name;
        std::string in;
        std::string out; // after the reset
    };
    const Case cases[] = {
        {"ESC as the last byte", "text\x1b", "text\x1b"},
        {"raster row cut off", "a\x1b*b5W12", "a\x1b*b5W12"},
        {"count cut off", "\x1b*b12", "\x1b*b12"},
        {"parameterised character last", "\x1b*", "\x1b*"},
        {"a count of 99999 is no count", "\x1b*b99999W|H9|x", "\x1b*b99999W    x"},
        {"a number of 100000 digits", "\x1b*b" + huge + "W|H9|x", "\x1b*b" + huge + "W    x"},
        {"a count of 16 digits is no count", "\x1b*b0000000000000002W|H9|x",
         "\x1b*b0000000000000002W    x"},
        {"data block cut off", "\x1b*b9999Wabc", "\x1b*b9999Wabc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProcessResult r = run_process(program_path(kProgram), c.in, {{"KEVRA_VERBOSE", "N"}});
        EXPECT_EQ(r.exitcode, 1);
        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, "\033E" + c.out);
    }
    // A data sequence closed by the last byte still prints, then its padding.
    ProcessResult r =
        run_process(program_path(kProgram), "at end ~12345~", {{"KEVRA_VERBOSE", "Q"}});
    ASSERT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.out.substr(r.out.size() - 12), "\x1b&f1S" + std::string(7, ' '));
    const PclJob page = rebuild_pcl(r.out);
    ASSERT_EQ(page.sheets.size(), 1u);
    const auto found = readall(page.sheets[0].ink);
    ASSERT_EQ(found.count("12345"), 1u);
    EXPECT_EQ(found.at("12345").x, pcl_column(7));
}

TEST(HpLaserProgram, TwoDimensionalSymbolsPrintAlikeInRasterAndRules) {
    struct Case {
        std::string commands;
        std::string data;
        std::string format; // zxing's name
        bool pure;
    };
    const Case cases[] = {
        {"BPDF417 D1 R2:1", "PDF417 on a page printer, 0123456789", "PDF417", false},
        {"BPDF417 D2 OV", "Turned PDF417", "PDF417", false},
        {"BAZTEC D2", "Aztec at 150 dots per inch", "Aztec", false},
        {"BMAXICODE S4", "MaxiCode at 300 dots per inch", "MaxiCode", true},
        {"BDATAMATRIX D1 OB", "DataMatrix at 100 dots per inch", "DataMatrix", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commands);
        std::vector<Bitmap> inks;
        for (const char* mode : {"ZR0", "ZR1"}) {
            const std::string text =
                "Symbol: |" + c.commands + " " + mode + "|~" + c.data + "~ end\n\f";
            ProcessResult r = run_process(program_path(kProgram), text, {{"KEVRA_VERBOSE", "N"}});
            ASSERT_EQ(r.exitcode, 1);
            EXPECT_EQ(r.err, "");
            const PclJob page = rebuild_pcl(r.out);
            EXPECT_TRUE(page.problems.empty());
            ASSERT_EQ(page.sheets.size(), 1u);
            const Bitmap::Box b = page.sheets[0].ink.ink();
            const auto got =
                decode_zxing(page.sheets[0].ink.crop(b.x, b.y, b.w, b.h), c.format, c.pure, 40);
            ASSERT_EQ(got.size(), 1u) << mode;
            EXPECT_EQ(got[0].bytes, c.data);
            inks.push_back(page.sheets[0].ink);
        }
        // Rectangles and raster rows put the same dots on the page.
        EXPECT_TRUE(inks[0].dots == inks[1].dots);
    }
}

TEST(HpLaserProgram, ApplicationRasterBytesReachThePrinterExactly) {
    // Two raster rows of the application whose bytes are 10 (LF) and 124
    // ("|"): the printer gets them exactly, nothing of them opens a command,
    // and the symbol on the next line reads back where it stood.
    const std::string raster = "\x1b*r1A\x1b*b2W\n|\x1b*b2W|\n\x1b*rB";
    const std::string job = "Logo " + raster + "\nNet ~12345~ end\n";
    ProcessResult r = run_process(program_path(kProgram), job, {{"KEVRA_VERBOSE", "N"}});
    ASSERT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("Logo " + raster + "\r\n"), std::string::npos);
    const PclJob page = rebuild_pcl(r.out);
    EXPECT_TRUE(page.problems.empty());
    ASSERT_EQ(page.sheets.size(), 1u);
    const auto found = readall(page.sheets[0].ink);
    ASSERT_EQ(found.count("12345"), 1u);
    EXPECT_EQ(found.at("12345").x, pcl_column(4));
}
