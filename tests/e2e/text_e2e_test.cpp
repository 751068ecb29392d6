// Human-readable lines through the real programs: the symbol still reads
// back and its line of text is printed under it, centred.
#include <gtest/gtest.h>

#include <string>

#include "preview/decode.hpp"
#include "preview/escp_page.hpp"
#include "preview/pcl_page.hpp"
#include "tests/support/process.hpp"

TEST(TextPrograms, LineUnderASymbolOnBothPrinterKinds) {
    // Narrow bars of 2 dots: the text is magnified twice (12 x 18 dots a character).
    const std::string job = "Label |T1 BCODE39 R6:2 H40|~AB-12~ next\n" + std::string(10, '\n') + "\f";

    // Epson LQ: band dots are 2 x 3 pins of the rebuilt page.
    ProcessResult lq = run_process(program_path("kevra_epsonlq"), job, {{"KEVRA_VERBOSE", "N"}});
    ASSERT_EQ(lq.exitcode, 1);
    EscpPage page = rebuild_escp(lq.out, true);
    const Bitmap::Box all = page.page.ink();
    // Symbol: 7 characters of 3*2 + 4*2 + 2*6 + 6 = 32 dots; text 5 cells of 12.
    EXPECT_EQ(all.x, 27 * 12); // the data sequence's column
    EXPECT_EQ(all.w, (7 * 32 - 2) * 2);               // the symbol is the wider of the two
    const Bitmap symbol = page.page.crop(all.x, all.y, all.w, 40 * 3);
    const auto got = decode_zxing(symbol, "Code39", false, 24);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].text, "AB-12");
    // The text: below the bars after a gap of a quarter of its cell depth,
    // centred under the symbol.
    const Bitmap text = page.page.crop(all.x, all.y + (40 + 4) * 3, all.w, 18 * 3);
    const Bitmap::Box t = text.ink();
    EXPECT_GT(t.w, 0);
    const int centre = all.w / 2, textcentre = t.x + t.w / 2;
    EXPECT_LE(std::abs(centre - textcentre), 12 * 2);

    // HP LaserJet: the same job in raster at 75 dpi (4 printer dots a dot).
    ProcessResult hp = run_process(program_path("kevra_hplaser"), job, {{"KEVRA_VERBOSE", "N"}});
    ASSERT_EQ(hp.exitcode, 1);
    const PclJob pcl = rebuild_pcl(hp.out);
    ASSERT_FALSE(pcl.sheets.empty());
    const Bitmap& sheet = pcl.sheets[0].ink;
    const Bitmap::Box hall = sheet.ink();
    const auto hgot = decode_zxing(sheet.crop(hall.x, hall.y, hall.w, 40 * 4), "Code39", false, 24);
    ASSERT_EQ(hgot.size(), 1u);
    EXPECT_EQ(hgot[0].text, "AB-12");
    EXPECT_EQ(hall.h, (40 + 4 + 18) * 4 - 4 * 4); // bars, gap, text cell less its blank descender rows
}
