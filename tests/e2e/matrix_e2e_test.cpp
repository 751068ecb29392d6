// Two-dimensional symbols through the real Epson programs: each symbol spans
// many bands; the page rebuilt from the printer bytes must read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/decode.hpp"
#include "preview/escp_page.hpp"
#include "tests/support/process.hpp"

namespace {
struct Job {
    const char* program;
    bool pins24;
    std::string commands;
    std::string data;      // as written in the job (escapes allowed)
    std::string format;    // zxing's name
    std::string expected;  // decoded bytes
    bool pure = false;
};

std::string digits(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>('0' + (i * 7 + i / 10) % 10);
    return s;
}

// Prints `job` on its program and returns what the page reads as.
std::vector<Decoded> printandread(const Job& job) {
    const std::string text = "Symbol: |" + job.commands + "|~" + job.data + "~ end\n" +
                             std::string(60, '\n') + "\f";
    ProcessResult r = run_process(program_path(job.program), text, {{"KEVRA_VERBOSE", "N"}});
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    EscpPage page = rebuild_escp(r.out, job.pins24);
    EXPECT_TRUE(page.problems.empty());
    Bitmap square = escp_square(page, job.pins24);
    Bitmap::Box ink = square.ink();
    return decode_zxing(square.crop(ink.x, ink.y, ink.w, ink.h), job.format, job.pure, 40);
}
} // namespace

TEST(MatrixPrograms, SymbolsSpanningManyBandsReadBack) {
    const std::vector<Job> jobs = {
        {"kevra_epsonlq", true, "BPDF417 R2:1", "PDF417 across many bands, 0123456789", "PDF417",
         "PDF417 across many bands, 0123456789"},
        {"kevra_epsonfx", false, "BPDF417 R2:1 OV", "Turned on nine pins", "PDF417",
         "Turned on nine pins"},
        {"kevra_epsonlq", true, "BMAXICODE S4", "MaxiCode on an impact printer", "MaxiCode",
         "MaxiCode on an impact printer", true},
        {"kevra_epsonfx", false, "BAZTEC R2", "Aztec on nine pins \\x00\\xff", "Aztec",
         std::string("Aztec on nine pins \0\xff", 21)},
        {"kevra_epsonlq", true, "BDATAMATRIX R2 W40", "DataMatrix spanning bands 0123456789", "DataMatrix",
         "DataMatrix spanning bands 0123456789"},
        {"kevra_epsonfx", false, "BDATAMATRIX R3 OB", "Nine pins, turned", "DataMatrix",
         "Nine pins, turned"},
        {"kevra_epsonlq", true, "BAZTEC R2 OU W6", "Aztec upside down, six layers", "Aztec",
         "Aztec upside down, six layers"},
        // 2610 digits need the largest DataMatrix, 144 x 144.
        {"kevra_epsonlq", true, "BDATAMATRIX R2", digits(2610), "DataMatrix", digits(2610)},
    };
    for (const Job& j : jobs) {
        SCOPED_TRACE(std::string(j.program) + " " + j.commands);
        std::vector<Decoded> got = printandread(j);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].bytes, j.expected);
    }
}
