// A print job with one symbol of each of Code 128, EAN-13, EAN-8, UPC-A,
// UPC-E, interleaved and standard 2 of 5 and POSTNET through the real Epson
// programs: the page is rebuilt from the printer bytes, every symbol is found
// where its data sequence stood and read back (standard 2 of 5 by its
// published elements, POSTNET by its bar heights, as no reader knows them).
// Code 128 with an odd number of digits in subset C reads back exactly.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/linear/elements.hpp"
#include "preview/decode.hpp"
#include "preview/escp_page.hpp"
#include "tests/support/process.hpp"

namespace {
struct Program {
    const char* name;
    bool pins24;
    int linepins;                 // pin rows per default line (1/6 inch)
    int dotpins;                  // pin rows per dot row of a field
    int postnetfull, postnethalf; // POSTNET bar heights in dots for the printer
};
// Printer codes 400 and 384: tall bars 7 and 9 dots, short bars 3 and 4.
const Program kPrograms[] = {{"kevra_epsonlq", true, 30, 3, 7, 3},
                             {"kevra_epsonfx", false, 12, 1, 9, 4}};

const std::vector<std::string> kLines = {
    "Code 128 |BCODE128 H40 SB|~Kevra\xE3"
    "2024~ next",
    "EAN-13 |BEAN S13|~400638133393~ and EAN-8 |S8|~9638507~",
    "UPC-A |BUPC SA|~03600029145~ and UPC-E |SE|~0321732~",
    "ITF |BI2OF5 C1 R3:1|~123456~ and S2OF5 |BS2OF5 R3:1|~12345~",
    "POSTNET |BPOSTNET|~12345-6789~ zip",
    "Odd digits |BCODE128 SC|~123~ and |SB|~A\xE3"
    "12345~",
    "end of job",
};
constexpr int kGap = 6; // line feeds after each line: more than a 40-dot symbol

int columnof(int line, const std::string& what) {
    return static_cast<int>(kLines[static_cast<size_t>(line)].find(what));
}

} // namespace

TEST(LinearPrograms, JobWithEverySymbologyRebuildsAndReads) {
    std::string job;
    for (const std::string& l : kLines) job += l + std::string(kGap, '\n');
    job += "\f";

    struct Expect {
        std::string text; // as the reader gives it, check characters included
        int line;
        int column; // where the data sequence began
    };
    const std::vector<Expect> decoded = {
        {"Kevra2024", 0, columnof(0, "~Kevra")}, {"4006381333931", 1, columnof(1, "~4006")},
        {"96385074", 1, columnof(1, "~9638")},   {"036000291452", 2, columnof(2, "~0360")},
        {"03217320", 2, columnof(2, "~0321")},   {"01234565", 3, columnof(3, "~123456")},
        {"123", 5, columnof(5, "~123~")},        {"A12345", 5, columnof(5, "~A")},
    };
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(p.name);
        ProcessResult r = run_process(program_path(p.name), job, {{"KEVRA_VERBOSE", "N"}});
        ASSERT_EQ(r.exitcode, 1);
        EXPECT_EQ(r.err, "");
        EscpPage page = rebuild_escp(r.out, p.pins24);
        EXPECT_TRUE(page.problems.empty());

        // Every group of ink by where it starts.
        std::map<std::pair<int, int>, Bitmap::Box> regions;
        for (const Bitmap::Box& b : ink_regions(page.page, 10)) regions[{b.x, b.y}] = b;
        EXPECT_EQ(regions.size(), decoded.size() + 2);
        auto at = [&](int line, int column) -> const Bitmap::Box* {
            auto it = regions.find({column * 12, line * kGap * p.linepins});
            return it == regions.end() ? nullptr : &it->second;
        };
        auto crop = [&](const Bitmap::Box& b) { return page.page.crop(b.x, b.y, b.w, b.h); };

        for (const Expect& x : decoded) {
            SCOPED_TRACE(x.text);
            const Bitmap::Box* b = at(x.line, x.column);
            ASSERT_NE(b, nullptr) << "nothing printed where the sequence stood";
            EXPECT_EQ(b->h, 40 * p.dotpins);
            ZxOptions opt;
            opt.itfcheck = true;
            auto got =
                decode_zxing(crop(*b), "Code128|EAN-13|EAN-8|UPC-A|UPC-E|ITF", false, 24, opt);
            ASSERT_EQ(got.size(), 1u);
            EXPECT_EQ(got[0].text, x.text);
        }

        // Standard 2 of 5: 12345 and no check character (C0 by default).
        const Bitmap::Box* s25 = at(3, columnof(3, "~12345~"));
        ASSERT_NE(s25, nullptr);
        EXPECT_EQ(linear_test::runs(crop(*s25)), linear_test::s25elements("12345", 2));

        // POSTNET: frame bar, 12345 6789, check 5, frame bar; tall and short
        // bars from the printer's row of the table, short ones on the baseline.
        const Bitmap::Box* pnet = at(4, columnof(4, "~12345"));
        ASSERT_NE(pnet, nullptr);
        const std::string want = linear_test::postnet_bars("1234567895");
        std::string got;
        const int full = p.postnetfull * p.dotpins, half = p.postnethalf * p.dotpins;
        for (const linear_test::Bar& bar : linear_test::bars(crop(*pnet))) {
            EXPECT_EQ(bar.top + bar.height, full); // one baseline
            got += bar.height == full ? "F" : bar.height == half ? "h" : "?";
        }
        EXPECT_EQ(got, want);
    }
}
