// The bundled sample job prints and every symbol on it that a reader knows
// reads back.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "preview/decode.hpp"
#include "preview/escp_page.hpp"
#include "preview/ibm_page.hpp"
#include "preview/prntrnx_page.hpp"
#include "tests/support/invoice.hpp"
#include "tests/support/process.hpp"

namespace {
// The invoice as the program prints it.
ProcessResult printinvoice(const char* program,
                           std::vector<std::pair<std::string, std::string>> env) {
    std::ifstream f(invoice_path(), std::ios::binary);
    std::stringstream job;
    job << f.rdbuf();
    env.push_back({"KEVRA_VERBOSE", "N"});
    ProcessResult r = run_process(program_path(program), job.str(), env);
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    return r;
}

} // namespace

TEST(Sample, InvoicePrintsAndScans) {
    const ProcessResult r = printinvoice("kevra_epsonlq", {});
    EscpPage page = rebuild_escp(r.out, true);
    // The page has non-square dots (120 x 180 per inch): read it at 360 x 360.
    EXPECT_EQ(read_page(escp_square(page, true), 30), invoice_symbols());
}

// At 60 dots per inch the invoice's narrow bars are one dot: at the default
// density the half-dot plane darkens each bar but its last dot, so the bars
// keep their width.
TEST(Sample, InvoicePrintsOnTheLinePrinter) {
    const ProcessResult r = printinvoice("kevra_prntrnx", {});
    const PlotterPage page = rebuild_plotter(r.out);
    EXPECT_TRUE(page.problems.empty());
    // Half dots of 1/120 inch by dot rows of 1/72 inch: read it at 360 x 360.
    EXPECT_EQ(read_page(plotter_square(page), 30), invoice_symbols());
    // The header lines no symbol reaches are text.
    EXPECT_NE(r.out.find("ACME HARDWARE SUPPLY\r\n"), std::string::npos);
}

TEST(Sample, InvoicePrintsOnTheProprinter) {
    const ProcessResult r = printinvoice("kevra_ibm", {});
    const IbmPage page = rebuild_ibm(r.out);
    EXPECT_TRUE(page.problems.empty());
    EXPECT_EQ(read_page(ibm_square(page.page), 30), invoice_symbols());
}
