// Print jobs through the real IBM Proprinter program: every symbology, in
// every orientation, at both densities, with text before and after it on the
// same line. The page is rebuilt from the printer bytes; each symbol must be
// read back and start where its data sequence stood.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/linear/elements.hpp"
#include "preview/decode.hpp"
#include "preview/ibm_page.hpp"
#include "tests/support/process.hpp"

namespace {
constexpr int kCell = 12;                  // 1/120 inch per character at 10 per inch
constexpr int kLine = 12 * kIbmRowsPerPin; // 1/6 inch in the page's rows

enum class Check { Zxing, S2of5, Postnet };

struct Symbol {
    const char* name;    // the text before the sequence
    std::string command; // without orientation and density
    std::string data;    // as written in the job
    Check check;
    std::string formats;  // zxing's names
    std::string expected; // decoded bytes
    int gap;              // line feeds after the line: more than the symbol is deep
    int trailing = 0;     // narrow units of light after the last bar (an inter-character gap)
    bool twod = false;
    bool pure = false;
    bool openedges = false; // an edge of the symbol may hold no dark module
};

const std::vector<Symbol>& symbols() {
    static const std::vector<Symbol> all = {
        {"Code 39", "BCODE39 H40", "ABC-123", Check::Zxing, "Code39", "ABC-123", 20, 1},
        {"Codabar", "BCODABAR H40", "A1234B", Check::Zxing, "Codabar", "A1234B", 20, 1},
        {"Code 128", "BCODE128 H40 SB",
         "Kevra\xe3"
         "2024",
         Check::Zxing, "Code128", "Kevra2024", 25},
        {"EAN-13", "BEAN S13 H40", "400638133393", Check::Zxing, "EAN-13", "4006381333931", 20},
        {"EAN-8", "BEAN S8 H40", "9638507", Check::Zxing, "EAN-8", "96385074", 20},
        {"UPC-A", "BUPC SA H40", "03600029145", Check::Zxing, "UPC-A", "036000291452", 20},
        {"UPC-E", "BUPC SE H40", "0321732", Check::Zxing, "UPC-E", "03217320", 20},
        {"ITF", "BI2OF5 C1 R3:1 H40", "123456", Check::Zxing, "ITF", "01234565", 20},
        {"S2OF5", "BS2OF5 R3:1 H40", "12345", Check::S2of5, "", "", 20},
        {"POSTNET", "BPOSTNET", "12345-6789", Check::Postnet, "", "", 25},
        {"PDF417", "BPDF417 R2:1", "PDF417 across many bands, 0123456789", Check::Zxing, "PDF417",
         "PDF417 across many bands, 0123456789", 40, 0, true},
        {"MaxiCode", "BMAXICODE S4", "MaxiCode on an impact printer", Check::Zxing, "MaxiCode",
         "MaxiCode on an impact printer", 30, 0, true, true, true},
        {"Aztec", "BAZTEC R2", "Aztec on the Proprinter \\x00\\xff", Check::Zxing, "Aztec",
         std::string("Aztec on the Proprinter \0\xff", 26), 30, 0, true, false, true},
        {"DataMatrix", "BDATAMATRIX R2", "DataMatrix spanning bands 0123456789", Check::Zxing,
         "DataMatrix", "DataMatrix spanning bands 0123456789", 30, 0, true},
    };
    return all;
}

bool printedat(const IbmPage& page, int x, int y, char c) {
    for (const PrintedChar& p : page.chars)
        if (p.x == x && p.y == y && p.c == c) return true;
    return false;
}

struct Placed {
    const Symbol* symbol;
    int line;          // text line of the sequence
    int column;        // where the data sequence began
    std::string after; // the word after the sequence
    int aftercolumn;
};
} // namespace

TEST(IbmProgram, EverySymbologyInEveryOrientationAndDensity) {
    const char* const orientations[] = {"OH", "OV", "OU", "OB"};
    for (const char* o : orientations) {
        for (int density = 0; density <= 1; ++density) {
            SCOPED_TRACE(std::string(o) + " D" + std::to_string(density));
            const bool upright = o[1] == 'H' || o[1] == 'U';
            std::string job;
            std::vector<Placed> placed;
            int line = 0;
            for (const Symbol& s : symbols()) {
                // POSTNET has bar heights for this printer only across the page.
                if (s.check == Check::Postnet && !upright) continue;
                const std::string before = std::string(s.name) + " ";
                const std::string seq = "|" + s.command + " " + o + " D" + std::to_string(density) +
                                        "|~" + s.data + "~";
                const std::string text = before + seq + " after";
                placed.push_back({&s, line, static_cast<int>(text.find('~')), "after",
                                  static_cast<int>(text.find(" after")) + 1});
                job += text + std::string(static_cast<size_t>(s.gap), '\n');
                line += s.gap;
            }
            job += "\f";
            ProcessResult r = run_process(program_path("kevra_ibm"), job, {{"KEVRA_VERBOSE", "N"}});
            ASSERT_EQ(r.exitcode, 1);
            EXPECT_EQ(r.err, "");
            const IbmPage page = rebuild_ibm(r.out);
            EXPECT_TRUE(page.problems.empty());
            EXPECT_EQ(page.formfeeds, 1);

            for (const Placed& p : placed) {
                const Symbol& s = *p.symbol;
                SCOPED_TRACE(s.name);
                const int y = p.line * kLine;
                // The text before and after stays in its columns.
                for (size_t k = 0; s.name[k] != 0; ++k)
                    EXPECT_TRUE(printedat(page, static_cast<int>(k) * kCell, y, s.name[k])) << k;
                for (size_t k = 0; k < p.after.size(); ++k)
                    EXPECT_TRUE(printedat(page, (p.aftercolumn + static_cast<int>(k)) * kCell, y,
                                          p.after[k]))
                        << p.after[k];
                // The symbol is the ink between its line and the next
                // symbol's; it starts at the dot where its sequence began, at
                // the top of its text line.
                const Bitmap window = page.page.crop(0, y, page.page.width, s.gap * kLine);
                const Bitmap::Box ink = window.ink();
                ASSERT_GT(ink.w, 0) << "nothing printed where the sequence stood";
                const Bitmap::Box box{ink.x, y + ink.y, ink.w, ink.h};
                if (s.openedges) {
                    // The first dark module may lie a little inside the symbol.
                    EXPECT_GE(box.x, p.column * kCell);
                    EXPECT_LT(box.x, p.column * kCell + 24);
                    EXPECT_GE(box.y, y);
                    EXPECT_LT(box.y, y + 24 * kIbmRowsPerPin);
                } else {
                    // Turned, the symbol's trailing gap comes first.
                    EXPECT_EQ(box.x, p.column * kCell + (o[1] == 'U' ? 2 * s.trailing : 0));
                    EXPECT_EQ(box.y, y + (o[1] == 'B' ? kIbmRowsPerPin * s.trailing : 0));
                }
                // At density 0 only every other dot column is printed: the
                // pins' own width closes the gaps.
                const Bitmap printed = window.crop(ink.x, ink.y, ink.w, ink.h);
                const Bitmap crop = density == 0 ? ibm_inked(printed) : printed;
                const Bitmap upr = linear_test::upright(crop, o);
                switch (s.check) {
                case Check::Zxing: {
                    ZxOptions opt;
                    opt.itfcheck = true;
                    const Bitmap look = s.twod ? linear_test::upright(ibm_square(crop), o) : upr;
                    auto got = decode_zxing(look, s.formats, s.pure, 40, opt);
                    EXPECT_EQ(got.size(), 1u);
                    if (!got.empty()) {
                        EXPECT_EQ(got[0].bytes, s.expected);
                    }
                    break;
                }
                case Check::S2of5:
                    // Read on the page as printed: a field unit is two dot
                    // columns across and three rows of 1/216 inch down.
                    if (density == 1) {
                        EXPECT_EQ(linear_test::runs(upr),
                                  linear_test::s25elements("12345", upright ? 2 : kIbmRowsPerPin));
                    }
                    break;
                case Check::Postnet: {
                    // Frame bar, 12345 6789, check 5, frame bar: tall bars 9
                    // dots, short ones 3, on one baseline.
                    const int full = 9 * kIbmRowsPerPin, half = 3 * kIbmRowsPerPin;
                    std::string got;
                    for (const linear_test::Bar& bar : linear_test::bars(upr)) {
                        EXPECT_EQ(bar.top + bar.height, full);
                        got += bar.height == full ? "F" : bar.height == half ? "h" : "?";
                    }
                    EXPECT_EQ(got, linear_test::postnet_bars("1234567895"));
                    break;
                }
                }
            }
        }
    }
}

TEST(IbmProgram, BannerAndPlainText) {
    ProcessResult r = run_process(program_path("kevra_ibm"), "hello\nworld\n");
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err.substr(0, 77),
              "\n\nKEVRA/DIGITAL-UNIX DUZA [Rev 7.1.0 Y2K Compliant], IBM Proprinter version.\n");
    EXPECT_EQ(r.out.substr(r.out.size() - 14), "hello\r\nworld\r\n");
    // With KEVRA_RESET_A=n only the spacing, page length and CR start the job.
    ProcessResult q = run_process(program_path("kevra_ibm"), "",
                                  {{"KEVRA_VERBOSE", "Q"}, {"KEVRA_RESET_A", "n"}});
    EXPECT_EQ(q.out, "\x1b"
                     "A\x0c\x1b"
                     "C\x42\r");
}
