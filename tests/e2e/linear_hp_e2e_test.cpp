// The linear symbologies beyond Code 39 and Codabar through the real
// kevra_hplaser program: every symbol is read back from the page rebuilt from
// the PCL stream and stands where its data sequence stood, its top 27 dots
// above the text baseline; POSTNET is checked by its bar heights.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/linear/elements.hpp"
#include "preview/decode.hpp"
#include "preview/pcl_page.hpp"
#include "tests/support/process.hpp"

namespace {
const std::vector<std::string> kLines = {
    "Code 128 |BCODE128 H40 SB|~Kevra\xE3" "2024~ next",
    "EAN-13 |BEAN S13|~400638133393~ and EAN-8 |S8|~9638507~",
    "UPC-A |BUPC SA|~03600029145~ and UPC-E |SE|~0321732~",
    "ITF |BI2OF5 C1 R3:1|~123456~",
    "POSTNET |BPOSTNET|~12345-6789~ zip",
};
constexpr int kGap = 5; // line feeds after each line (250 dots): room for a 160-dot symbol

int columnof(int line, const std::string& what) {
    return static_cast<int>(kLines[static_cast<size_t>(line)].find(what));
}
} // namespace

TEST(LinearHpProgram, EverySymbologyReadsBackWhereItsSequenceStood) {
    std::string job;
    for (const std::string& l : kLines) job += l + std::string(kGap, '\n');
    job += "\f";
    ProcessResult r = run_process(program_path("kevra_hplaser"), job, {{"KEVRA_VERBOSE", "N"}});
    ASSERT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    const PclJob pcl = rebuild_pcl(r.out);
    EXPECT_TRUE(pcl.problems.empty());
    ASSERT_FALSE(pcl.sheets.empty());
    const Bitmap& page = pcl.sheets[0].ink;

    std::map<std::pair<int, int>, Bitmap::Box> regions;
    for (const Bitmap::Box& b : ink_regions(page, 40)) regions[{b.x, b.y}] = b;
    auto at = [&](int line, int column) -> const Bitmap::Box* {
        auto it = regions.find({pcl_column(column), pcl_baseline(line * kGap) - 27});
        return it == regions.end() ? nullptr : &it->second;
    };

    struct Expect {
        std::string text;
        int line;
        int column;
    };
    const std::vector<Expect> decoded = {
        {"Kevra2024", 0, columnof(0, "~Kevra")}, {"4006381333931", 1, columnof(1, "~4006")},
        {"96385074", 1, columnof(1, "~9638")},   {"036000291452", 2, columnof(2, "~0360")},
        {"03217320", 2, columnof(2, "~0321")},   {"01234565", 3, columnof(3, "~123456")},
    };
    for (const Expect& x : decoded) {
        SCOPED_TRACE(x.text);
        const Bitmap::Box* b = at(x.line, x.column);
        ASSERT_NE(b, nullptr) << "nothing printed where the sequence stood";
        EXPECT_EQ(b->h, 40 * 4); // density 0 by default: 75 dpi, 4 printer dots a dot
        ZxOptions opt;
        opt.itfcheck = true;
        auto got = decode_zxing(page.crop(b->x, b->y, b->w, b->h),
                                "Code128|EAN-13|EAN-8|UPC-A|UPC-E|ITF", false, 24, opt);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].text, x.text);
    }

    // POSTNET on the page printer: tall bars 19 and short bars 8 dots at
    // density 2 (150 dpi: 2 printer dots a dot), short bars on the baseline.
    const Bitmap::Box* pnet = at(4, columnof(4, "~12345"));
    ASSERT_NE(pnet, nullptr);
    const std::string want = linear_test::postnet_bars("1234567895");
    std::string got;
    for (const linear_test::Bar& bar :
         linear_test::bars(page.crop(pnet->x, pnet->y, pnet->w, pnet->h))) {
        EXPECT_EQ(bar.top + bar.height, 38);
        EXPECT_EQ(bar.width, 6); // class-0 width 3 at 2 printer dots a dot
        got += bar.height == 38 ? "F" : bar.height == 16 ? "h" : "?";
    }
    EXPECT_EQ(got, want);
}
