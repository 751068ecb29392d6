// The bundled sample job prints and every symbol on it that a reader knows
// reads back.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/decode.hpp"
#include "tests/support/escp_page.hpp"
#include "tests/support/prntrnx_page.hpp"
#include "tests/support/process.hpp"

namespace {
// The invoice as the program prints it.
ProcessResult printinvoice(const char* program,
                           std::vector<std::pair<std::string, std::string>> env) {
    std::ifstream f(std::string(KEVRA_SOURCE_DIR) + "/examples/invoice.txt", std::ios::binary);
    std::stringstream job;
    job << f.rdbuf();
    env.push_back({"KEVRA_VERBOSE", "N"});
    ProcessResult r = run_process(program_path(program), job.str(), env);
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    return r;
}

// Every symbol a reader finds on a page of square dots, as format:text.
std::set<std::string> readall(const Bitmap& square) {
    std::set<std::string> got;
    for (const Bitmap::Box& b : ink_regions(square, 30))
        for (const Decoded& d : decode_zxing(square.crop(b.x, b.y, b.w, b.h), "", false, 24))
            got.insert(d.format + ":" + d.text);
    return got;
}

const std::set<std::string> kInvoiceSymbols = {
    "Code39:INV4711%",
    "Codabar:A40012B",
    "Code39:HB-M8-40",
    "EAN-13:4006381333931",
    "Code128:WS-430-200",
    "Code39:SHIP00428",
    "DataMatrix:4711|NW|156.00|2026-12-07",
    "PDF417:ACME 4711 NORTHWIND 156.00 EUR 2026-12-07",
};
} // namespace

TEST(Sample, InvoicePrintsAndScans) {
    const ProcessResult r = printinvoice("kevra_epsonlq", {});
    EscpPage page = rebuild_escp(r.out, true);
    if (const char* png = std::getenv("KEVRA_SAMPLE_PNG")) page.page.writepng(png);
    // The page has non-square dots (120 x 180 per inch): read it at 360 x 360.
    EXPECT_EQ(readall(escp_square(page, true)), kInvoiceSymbols);
}

// At 60 dots per inch the invoice's 1-dot narrow bars read back at density 0
// only: density 1 also sets the half-dot plane, which widens every bar by half
// a dot.
TEST(Sample, InvoicePrintsOnTheLinePrinter) {
    const ProcessResult r = printinvoice("kevra_prntrnx", {{"KEVRA_INIT_CMD", "D0"}});
    const PlotterPage page = rebuild_plotter(r.out);
    EXPECT_TRUE(page.problems.empty());
    // Half dots of 1/120 inch by dot rows of 1/72 inch: read it at 360 x 360.
    EXPECT_EQ(readall(plotter_square(page)), kInvoiceSymbols);
    // The header lines no symbol reaches are text.
    EXPECT_NE(r.out.find("ACME HARDWARE SUPPLY\r\n"), std::string::npos);
}
