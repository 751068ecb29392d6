// The whole run as a spooler sees it: a program bound to the recording
// driver, run as a process (stdin, stdout, stderr, environment, exit status).
#include <gtest/gtest.h>

#include <string>

#include "tests/support/process.hpp"

namespace {
const std::string kProg = program_path("kevra_testprog");
const std::string kBanner =
    "\n\nKEVRA/DIGITAL-UNIX DUZA [Rev 7.1.0 Y2K Compliant], Recording test printer version.\n";
const std::string kIndent(16, ' ');

std::string report(const std::string& mnemonic, const std::string& message, int line) {
    return "%KEVRA-I-" + mnemonic + ", " + message + "\n" + kIndent + "At line number " +
           std::to_string(line) + ".\n";
}
} // namespace

TEST(Run, EmptyInputGivesBannerSummaryAndExitOne) {
    ProcessResult r = run_process(kProg, "");
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, kBanner + "%KEVRA-I-SUMMARY, Translation completed.\n");
}

TEST(Run, TextPassesWithLineFeedsAsCrLf) {
    ProcessResult r = run_process(kProg, "one\ntwo\r\nthree");
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.out, "one\r\ntwo\r\r\nthree");
    EXPECT_EQ(r.err, kBanner + report("SUMMARY", "Translation completed.", 3));
}

TEST(Run, VerbosityControlsWhatIsWritten) {
    const std::string job = "a\n|J9|\n";
    struct Case {
        const char* value;
        std::string err;
    };
    const Case cases[] = {
        {"q", ""}, // upper-cased: Q silences everything, error reports included
        {"Quiet", ""},
        {"n", report("IVCMD", "unknown command.", 2)},
        {"No", report("IVCMD", "unknown command.", 2)},
        {"yes", kBanner + report("IVCMD", "unknown command.", 2) +
                    report("SUMMARY", "Translation completed.", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ProcessResult r = run_process(kProg, job, {{"KEVRA_VERBOSE", c.value}});
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.exitcode, 1);
        EXPECT_EQ(r.out, "a\r\n    \r\n");
    }
}

TEST(Run, InitCommandAppliesOnceBeforeTheFirstByte) {
    // P0 turns padding off: the command sequence leaves no spaces behind.
    ProcessResult r = run_process(kProg, "x|H50|y|H60|z", {{"KEVRA_INIT_CMD", "P0 X#"}});
    EXPECT_EQ(r.out, "x|H50|y|H60|z"); // the command delimiter is now #
    r = run_process(kProg, "x#H50#y", {{"KEVRA_INIT_CMD", "p0 x#"}, {"KEVRA_VERBOSE", "N"}});
    EXPECT_EQ(r.out, "xy");
    EXPECT_EQ(r.err, "");
}

TEST(Run, BadInitCommandIsReportedAfterTheFirstByteOrAtTheEnd) {
    ProcessResult r = run_process(kProg, "ab", {{"KEVRA_INIT_CMD", "H0"}, {"KEVRA_VERBOSE", "n"}});
    EXPECT_EQ(r.err, report("IVHIT", "invalid bar code height command.", 1));
    EXPECT_EQ(r.out, "ab");
    EXPECT_EQ(r.exitcode, 1);

    // With no input the failure ends the pass and the run.
    r = run_process(kProg, "", {{"KEVRA_INIT_CMD", "J"}});
    EXPECT_EQ(r.err, kBanner + "%KEVRA-I-IVCMD, unknown command.\n" + kIndent +
                         "At line number 1.\n%KEVRA-I-SUMMARY, Translation aborted.\n");
    EXPECT_EQ(r.exitcode, 0x4104 & 0xFF);
}

TEST(Run, WriteFailureIsNeverReportedAsCompleted) {
    // The job is small enough to sit in the output buffer until the end.
    ProcessResult r = run_process(kProg, "tiny job\n", {}, "/dev/full");
    EXPECT_EQ(r.exitcode, 80);
    EXPECT_EQ(r.err, kBanner + "%KEVRA-E-WRITIN, error writing translator output.\n" + kIndent +
                         "At line number 2.\n%KEVRA-I-SUMMARY, Translation aborted.\n" + kIndent +
                         "At line number 2.\n");

    // A large job fails while it runs; it is reported once.
    r = run_process(kProg, std::string(300000, 'x'), {{"KEVRA_VERBOSE", "N"}}, "/dev/full");
    EXPECT_EQ(r.exitcode, 80);
    EXPECT_EQ(r.err, "%KEVRA-E-WRITIN, error writing translator output.\n" + kIndent +
                         "At line number 1.\n");
}

TEST(Run, OverlongEnvironmentValuesAreCutSafely) {
    std::string init(5000, ' ');
    init += "P0";
    ProcessResult r = run_process(kProg, "|H5|x",
                                  {{"KEVRA_INIT_CMD", init}, {"KEVRA_VERBOSE", std::string(9000, 'n')},
                                   {"KEVRA_DEBUG", std::string(9000, 'y')}});
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.out, "    x"); // P0 lay beyond the cut, so padding stays on
    EXPECT_EQ(r.err, "");
}

TEST(Run, BadSequenceCostsOnlyItselfWhereverItStands) {
    // Each bad sequence in the middle of a job, closed by its last byte, and
    // alone: always its own report, the rest printed, "completed" and 1.
    struct Case {
        std::string seq;
        std::string report;
    };
    const Case cases[] = {
        {"~A#B~", report("IVBARC", "invalid bar code character or length.", 1)},
        {"|H0|", report("IVHIT", "invalid bar code height command.", 1)},
        {"|J5|", report("IVCMD", "unknown command.", 1)},
        {"|X1|", report("IVDLM", "invalid delimiter command.", 1)},
        {"|X\"\"\"\"|", report("IVDLM", "invalid delimiter command.", 1)}, // never closes
    };
    for (const Case& c : cases) {
        const std::string pad(c.seq.size(), ' ');
        const struct {
            std::string in, out;
            int lines;
        } jobs[] = {{"a" + c.seq + "b\n", "a" + pad + "b\r\n", 2},
                    {"a" + c.seq, "a" + pad, 1},
                    {c.seq, pad, 1}};
        for (const auto& j : jobs) {
            SCOPED_TRACE(j.in);
            ProcessResult r = run_process(kProg, j.in);
            EXPECT_EQ(r.exitcode, 1);
            EXPECT_EQ(r.out, j.out);
            EXPECT_EQ(r.err,
                      kBanner + c.report + report("SUMMARY", "Translation completed.", j.lines));
        }
    }
}
