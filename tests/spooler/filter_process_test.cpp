// The built filter run the way the CUPS scheduler runs it (arguments, PPD and
// job options), and the interface script for System V spoolers.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/spooler/spooler_support.hpp"

namespace {

const std::string kFilter = KEVRA_FILTER;

std::string ppd(const std::string& word) {
    return std::string(KEVRA_PPD_DIR) + "/kevra-" + word + ".ppd";
}

// The filter on `jobfile` (or on a pipe when empty) for the printer `word`.
ProcessResult run_filter(const std::string& word, const std::string& options,
                         const std::string& jobfile, const std::string& copies = "1",
                         const std::string& redirect = "") {
    const std::string args = "42 alice 'a title' " + copies + " " + sh_quote(options);
    const std::string cmd = jobfile.empty()
                                ? "cat " + sh_quote(invoice_path()) + " | " + kFilter + " " + args
                                : kFilter + " " + args + " " + sh_quote(jobfile) + " </dev/null";
    return shell(cmd + redirect, {{"PPD", ppd(word)}, {"KEVRA_BINDIR", KEVRA_BINARY_DIR}});
}

ProcessResult translate(const std::string& program, const std::string& job, EnvList env = {}) {
    return run_process(program_path(program), job, env);
}

} // namespace

// The device gets exactly what the translator makes of the job with the
// variables the options stand for; reports become CUPS lines.
TEST(Filter, PrinterStreamIsTheTranslatorsOwn) {
    struct Row {
        const char* word;
        const char* options;
        EnvList env; // the translator's variables the options must set
    };
    const Row rows[] = {
        {"epsonlq", "", {}},
        {"hplaser", "", {}},
        {"epsonlq", "kevra-init='BCODE39 H30 C1'", {{"KEVRA_INIT_CMD", "BCODE39 H30 C1"}}},
        {"hplaser",
         "kevra-reset=no kevra-reset-ff=no",
         {{"KEVRA_RESET_A", "n"}, {"KEVRA_RESET_Z", "n"}}},
        {"hplaser",
         "nokevra-reset kevra-squish-cr",
         {{"KEVRA_RESET_A", "n"}, {"KEVRA_SQUISH_CR", "y"}}},
    };
    const std::string job = read_file(invoice_path());
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.word) + " " + row.options);
        const ProcessResult direct = translate(std::string("kevra_") + row.word, job, row.env);
        ASSERT_EQ(direct.exitcode, 1);
        const ProcessResult r = run_filter(row.word, row.options, invoice_path());
        EXPECT_EQ(r.exitcode, 0) << r.err;
        EXPECT_TRUE(r.out == direct.out)
            << r.out.size() << " bytes, translator " << direct.out.size();
        EXPECT_NE(r.err.find("DEBUG: KEVRA/DIGITAL-UNIX DUZA"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("INFO: %KEVRA-I-SUMMARY, Translation completed. At line number"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.err.find("WARNING"), std::string::npos) << r.err;
    }
}

// kevra-init reaches the translator: without it the data below would print as
// Code 39, the default type; the bad command is reported with its line and
// the job still completes.
TEST(Filter, JobOptionAndBadCommand) {
    TempDir dir;
    const std::string job = dir.path() + "/job.txt";
    write_file(job, "Label\n|BNOSUCH|\n~Hello-42~\n\n\n\n");
    const ProcessResult r = run_filter("epsonlq", "kevra-init='BCODE128 H40'", job);
    EXPECT_EQ(r.exitcode, 0) << r.err;
    EXPECT_NE(
        r.err.find("WARNING: %KEVRA-I-IVBAR, invalid bar code type command. At line number 2."),
        std::string::npos)
        << r.err;
    EXPECT_EQ(symbols_on_escp24(r.out), std::set<std::string>{"Code128:Hello-42"});
}

// Copies are translated one after the other, also from a pipe.
TEST(Filter, CopiesFromFileAndPipe) {
    const ProcessResult one = translate("kevra_epsonfx", read_file(invoice_path()));
    for (const char* source : {"file", "pipe"}) {
        SCOPED_TRACE(source);
        const ProcessResult r =
            run_filter("epsonfx", "", source == std::string("file") ? invoice_path() : "", "3");
        EXPECT_EQ(r.exitcode, 0) << r.err;
        EXPECT_TRUE(r.out == one.out + one.out + one.out) << r.out.size();
    }
}

// Anything short of a completed translation exits nonzero with an ERROR line.
TEST(Filter, FailuresAreReported) {
    TempDir dir;
    const std::string unknown = dir.path() + "/unknown.ppd";
    write_file(unknown, "*PPD-Adobe: \"4.3\"\n*KevraPrinter: \"nosuch\"\n");
    struct Row {
        std::string script;
        EnvList env;
        const char* expected; // in the filter's standard error
        const char* why;
    };
    const std::string args = " 1 u t 1 '' " + sh_quote(invoice_path());
    const EnvList bindir = {{"KEVRA_BINDIR", KEVRA_BINARY_DIR}};
    const Row rows[] = {
        {kFilter + " 1 u t 1", bindir, "Usage: texttokevra", "too few arguments"},
        {kFilter + args, bindir, "ERROR: the queue has no readable PPD", "no PPD"},
        {kFilter + args, {{"PPD", unknown}}, "ERROR: the PPD names no known printer", "bad word"},
        {kFilter + args,
         {{"PPD", ppd("epsonlq")}, {"KEVRA_BINDIR", dir.path()}},
         "ERROR: the Epson LQ translator",
         "program not installed"},
        {kFilter + " 1 u t 1 '' " + dir.path() + "/missing.txt",
         {{"PPD", ppd("epsonlq")}, bindir[0]},
         "ERROR: cannot read the job",
         "no job file"},
        {kFilter + " 1 u t x ''",
         {{"PPD", ppd("epsonlq")}},
         "ERROR: bad number of copies",
         "bad copies"},
        {kFilter + args + " >/dev/full",
         {{"PPD", ppd("epsonlq")}, bindir[0]},
         "ERROR: %KEVRA-E-WRITIN, error writing translator output.",
         "the printer stream cannot be written: the translator exits with 80"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const ProcessResult r = shell(row.script + " </dev/null", row.env);
        EXPECT_EQ(r.exitcode, 1) << r.err;
        EXPECT_NE(r.err.find(row.expected), std::string::npos) << r.err;
    }
    const ProcessResult full =
        shell(kFilter + args + " >/dev/full </dev/null", {{"PPD", ppd("epsonlq")}, bindir[0]});
    EXPECT_NE(full.err.find("failed with exit status 80"), std::string::npos) << full.err;
}

// The scheduler cancels a job by sending SIGTERM to its filters: the
// translator goes with the filter, and the job is not reported as printed.
TEST(Filter, CancelEndsTheTranslator) {
    TempDir dir;
    const std::string fifo = sh_quote(dir.path() + "/job");
    // The job is a FIFO held open by the script, so the translator waits for
    // more input until it is ended.
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult r =
        shell("mkfifo " + fifo + " && exec 3<>" + fifo + "; " + kFilter + " 1 u t 1 '' <" + fifo +
                  " & sleep 0.3; kill -TERM $!; wait $!",
              {{"PPD", ppd("epsonlq")}, {"KEVRA_BINDIR", KEVRA_BINARY_DIR}});
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(r.exitcode, 1) << r.err;
    EXPECT_NE(r.err.find("was ended by signal 15"), std::string::npos) << r.err;
    // Nothing is left holding the printer stream open.
    EXPECT_LT(elapsed, std::chrono::seconds(3));
}

// The interface script: options become variables, each copy is translated,
// 0 for success and 1 for a failed translation.
TEST(InterfaceScript, TranslatesEveryCopy) {
    const std::string script = std::string(KEVRA_SOURCE_DIR) + "/spooler/kevra-interface";
    const std::string job = read_file(invoice_path());
    const ProcessResult direct =
        translate("kevra_hplaser", job,
                  {{"KEVRA_VERBOSE", "N"}, {"KEVRA_RESET_A", "n"}, {"KEVRA_INIT_CMD", "ZR1 D3"}});
    ASSERT_EQ(direct.exitcode, 1);
    const ProcessResult r = shell(script + " hp-7 alice title 2 'noreset init=ZR1,D3' " +
                                      sh_quote(invoice_path()) + " </dev/null",
                                  {{"KEVRA_PROGRAM", program_path("kevra_hplaser")}});
    EXPECT_EQ(r.exitcode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.out == direct.out + direct.out) << r.out.size() << " " << direct.out.size();

    const ProcessResult full = shell(script + " hp-8 alice title 1 '' " + sh_quote(invoice_path()) +
                                         " </dev/null >/dev/full",
                                     {{"KEVRA_PROGRAM", program_path("kevra_hplaser")}});
    EXPECT_EQ(full.exitcode, 1);
    EXPECT_NE(full.err.find("exit status 80"), std::string::npos) << full.err;
}
