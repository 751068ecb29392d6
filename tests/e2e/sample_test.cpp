// The bundled sample job prints and every symbol on it that a reader knows
// reads back.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/decode.hpp"
#include "tests/support/escp_page.hpp"
#include "tests/support/prntrnx_page.hpp"
#include "tests/support/process.hpp"

TEST(Sample, InvoicePrintsAndScans) {
    std::ifstream f(std::string(KEVRA_SOURCE_DIR) + "/examples/invoice.txt", std::ios::binary);
    std::stringstream job;
    job << f.rdbuf();
    ProcessResult r =
        run_process(program_path("kevra_epsonlq"), job.str(), {{"KEVRA_VERBOSE", "N"}});
    ASSERT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    EscpPage page = rebuild_escp(r.out, true);
    if (const char* png = std::getenv("KEVRA_SAMPLE_PNG")) page.page.writepng(png);
    std::set<std::string> got;
    // The page has non-square dots (120 x 180 per inch): read it at 360 x 360.
    const Bitmap square = escp_square(page, true);
    for (const Bitmap::Box& b : ink_regions(square, 30))
        for (const Decoded& d : decode_zxing(square.crop(b.x, b.y, b.w, b.h), "", false, 24))
            got.insert(d.format + ":" + d.text);
    const std::set<std::string> expected = {
        "Code39:INV4711%",
        "Codabar:A40012B",
        "Code39:HB-M8-40",
        "EAN-13:4006381333931",
        "Code128:WS-430-200",
        "Code39:SHIP00428",
        "DataMatrix:4711|NW|156.00|2026-12-07",
        "PDF417:ACME 4711 NORTHWIND 156.00 EUR 2026-12-07",
    };
    EXPECT_EQ(got, expected);
}

// At 60 dots per inch the invoice's 1-dot narrow bars read back at density 0
// only: density 1 also sets the half-dot plane, which widens every bar by half
// a dot.
TEST(Sample, InvoicePrintsOnTheLinePrinter) {
    std::ifstream f(std::string(KEVRA_SOURCE_DIR) + "/examples/invoice.txt", std::ios::binary);
    std::stringstream job;
    job << f.rdbuf();
    ProcessResult r = run_process(program_path("kevra_prntrnx"), job.str(),
                                  {{"KEVRA_VERBOSE", "N"}, {"KEVRA_INIT_CMD", "D0"}});
    ASSERT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    const PlotterPage page = rebuild_plotter(r.out);
    EXPECT_TRUE(page.problems.empty());
    // Half dots of 1/120 inch by dot rows of 1/72 inch: read it at 360 x 360.
    const Bitmap square = plotter_square(page);
    std::set<std::string> got;
    for (const Bitmap::Box& b : ink_regions(square, 30))
        for (const Decoded& d : decode_zxing(square.crop(b.x, b.y, b.w, b.h), "", false, 24))
            got.insert(d.format + ":" + d.text);
    const std::set<std::string> expected = {
        "Code39:INV4711%",
        "Codabar:A40012B",
        "Code39:HB-M8-40",
        "EAN-13:4006381333931",
        "Code128:WS-430-200",
        "Code39:SHIP00428",
        "DataMatrix:4711|NW|156.00|2026-12-07",
        "PDF417:ACME 4711 NORTHWIND 156.00 EUR 2026-12-07",
    };
    EXPECT_EQ(got, expected);
    // The header lines no symbol reaches are text.
    EXPECT_NE(r.out.find("ACME HARDWARE SUPPLY\r\n"), std::string::npos);
}
