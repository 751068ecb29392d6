// The bundled sample job prints and every symbol on it that a reader knows
// reads back.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/decode.hpp"
#include "tests/support/escp_page.hpp"
#include "tests/support/invoice.hpp"
#include "tests/support/process.hpp"

TEST(Sample, InvoicePrintsAndScans) {
    std::ifstream f(invoice_path(), std::ios::binary);
    std::stringstream job;
    job << f.rdbuf();
    ProcessResult r =
        run_process(program_path("kevra_epsonlq"), job.str(), {{"KEVRA_VERBOSE", "N"}});
    ASSERT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    EscpPage page = rebuild_escp(r.out, true);
    if (const char* png = std::getenv("KEVRA_SAMPLE_PNG")) page.page.writepng(png);
    // The page has non-square dots (120 x 180 per inch): read it at 360 x 360.
    const std::set<std::string> got = read_page(escp_square(page, true), 30);
    EXPECT_EQ(got, invoice_symbols());
}
