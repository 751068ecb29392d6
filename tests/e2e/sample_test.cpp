// The bundled sample job prints and every symbol on it that a reader knows
// reads back.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/decode.hpp"
#include "tests/support/escp_page.hpp"
#include "tests/support/process.hpp"

TEST(Sample, InvoicePrintsAndScans) {
    std::ifstream f(std::string(KEVRA_SOURCE_DIR) + "/examples/invoice.txt", std::ios::binary);
    std::stringstream job;
    job << f.rdbuf();
    ProcessResult r = run_process(program_path("kevra_epsonlq"), job.str(), {{"KEVRA_VERBOSE", "N"}});
    ASSERT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    EscpPage page = rebuild_escp(r.out, true);
    if (const char* png = std::getenv("KEVRA_SAMPLE_PNG")) page.page.writepng(png);
    std::set<std::string> got;
    for (const Bitmap::Box& b : ink_regions(page.page, 10))
        for (const Decoded& d : decode_zxing(page.page.crop(b.x, b.y, b.w, b.h), "", false, 24))
            got.insert(d.format + ":" + d.text);
    const std::set<std::string> expected = {
        "Code39:INV4711%", "Codabar:A40012B", "Code39:HB-M8-40", "Code39:SL600", "Code39:SHIP00428",
    };
    EXPECT_EQ(got, expected);
}
