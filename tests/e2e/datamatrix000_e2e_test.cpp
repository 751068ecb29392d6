// DataMatrix ECC 140 and ECC 000 symbols through the real Epson LQ and HP
// LaserJet programs: the page rebuilt from the printer bytes is sampled
// into modules and read by the ECC 000-140 test reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/dm000_reader.hpp"
#include "preview/escp_page.hpp"
#include "preview/pcl_page.hpp"
#include "tests/support/process.hpp"

namespace {
struct Job {
    const char* program;
    std::string commands;
    std::string data;     // as written in the job (escapes allowed)
    std::string expected; // the data read back
    int ecctype;
    int size; // modules, from the bits the data need (or W): 36 base-37 characters are
              // 219 protected bits, 947 with the ECC 140 code and header: 33 x 33
};

// The one symbol's ink on the page the program printed for `job`.
Bitmap printed(const Job& job) {
    const std::string text =
        "Symbol: |" + job.commands + "|~" + job.data + "~ end\n" + std::string(60, '\n') + "\f";
    const ProcessResult r = run_process(program_path(job.program), text, {{"KEVRA_VERBOSE", "N"}});
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.err, "");
    if (std::string(job.program) == "kevra_hplaser") {
        const PclJob page = rebuild_pcl(r.out);
        EXPECT_TRUE(page.problems.empty());
        if (page.sheets.size() != 1) return {};
        return page.sheets[0].ink;
    }
    const EscpPage page = rebuild_escp(r.out, true);
    EXPECT_TRUE(page.problems.empty());
    return escp_square(page, true);
}
} // namespace

TEST(DataMatrix000Programs, SymbolsReadBackFromThePrinterBytes) {
    const std::vector<Job> jobs = {
        {"kevra_epsonlq", "BDATAMATRIX C140 R2", "ECC 140 ACROSS MANY BANDS 0123456789",
         "ECC 140 ACROSS MANY BANDS 0123456789", 140, 33},
        {"kevra_epsonlq", "BDATAMATRIX C0 R3 W20", "Uncoded, on 24 pins", "Uncoded, on 24 pins", 0,
         21},
        {"kevra_hplaser", "BDATAMATRIX C140 R4", "Bytes \\x00\\xff on a page printer",
         std::string("Bytes \0\xff on a page printer", 26), 140, 35},
        {"kevra_hplaser", "BDATAMATRIX C0 D1", "ECC 000 AT 100 DOTS PER INCH",
         "ECC 000 AT 100 DOTS PER INCH", 0, 17},
    };
    for (const Job& j : jobs) {
        SCOPED_TRACE(std::string(j.program) + " " + j.commands);
        const Bitmap modules = dm000_modules(printed(j));
        const Dm000Read got = dm000_read(modules);
        ASSERT_TRUE(got.ok) << got.problem << "\n" << modules.rows();
        EXPECT_EQ(got.size, j.size);
        EXPECT_EQ(got.ecctype, j.ecctype);
        EXPECT_EQ(got.corrected, 0);
        EXPECT_EQ(got.data, j.expected);
    }
}
