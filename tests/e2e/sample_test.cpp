// The bundled sample job prints and every symbol on it that a reader knows
// reads back.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "preview/decode.hpp"
#include "preview/escp_page.hpp"
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
    std::set<std::string> got;
    // The page has non-square dots (120 x 180 per inch): read it at 360 x 360.
    const Bitmap square = escp_square(page, true);
    for (const Bitmap::Box& b : ink_regions(square, 30))
        for (const Decoded& d : decode_zxing(square.crop(b.x, b.y, b.w, b.h), "", false, 24))
            got.insert(d.format + ":" + d.text);
    EXPECT_EQ(got, invoice_symbols());
}
