// Jobs printed through a real CUPS scheduler, each with a private
// configuration: text queues with the KEVRA PPDs whose device is a file.
#include <gtest/gtest.h>

#include <memory>

#include "tests/spooler/spooler_support.hpp"

namespace {

std::string ppd(const std::string& word) {
    return std::string(KEVRA_PPD_DIR) + "/kevra-" + word + ".ppd";
}

class Cups : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef KEVRA_SPOOLER_SANITIZED
        GTEST_SKIP() << "the CUPS tests run in the plain build only";
#else
        server_ = std::make_unique<CupsServer>();
        if (!server_->failure().empty())
            GTEST_SKIP() << "no CUPS server could be started: " << server_->failure();
#endif
    }
    const CupsServer& cups() const {
        return *server_;
    }

    // A queue for the printer `word`; fails the test when lpadmin refuses.
    void add_queue(const std::string& name, const std::string& ppdpath) {
        const ProcessResult r = cups().add_queue(name, ppdpath);
        ASSERT_EQ(r.exitcode, 0) << r.out;
    }
    int print(const std::string& queue, const std::string& lpargs) {
        std::string said;
        const int id = cups().print(queue, lpargs, &said);
        EXPECT_GT(id, 0) << said;
        return id;
    }

  private:
    std::unique_ptr<CupsServer> server_;
};

} // namespace

// The invoice printed with lp on an Epson LQ queue and a LaserJet queue, each
// with a job option: the device file holds exactly what the translator makes
// of the job with that option, and every symbol on it reads back.
TEST_F(Cups, InvoicePrintsOnEpsonAndLaserQueues) {
    add_queue("lq", ppd("epsonlq"));
    add_queue("hp", ppd("hplaser"));
    const int lqjob =
        print("lq", "-t invoice -o \"kevra-init='BCODE39 H30 C1'\" " + sh_quote(invoice_path()));
    const int hpjob = print("hp", "-t invoice -o kevra-reset=no " + sh_quote(invoice_path()));
    ASSERT_TRUE(cups().wait_idle("lq", 30) && cups().wait_idle("hp", 30)) << cups().error_log();
    EXPECT_EQ(cups().job_end(lqjob), "completed") << cups().error_log();
    EXPECT_EQ(cups().job_end(hpjob), "completed") << cups().error_log();

    const std::string job = read_file(invoice_path());
    const ProcessResult lq =
        run_process(program_path("kevra_epsonlq"), job, {{"KEVRA_INIT_CMD", "BCODE39 H30 C1"}});
    const ProcessResult hp =
        run_process(program_path("kevra_hplaser"), job, {{"KEVRA_RESET_A", "n"}});
    EXPECT_TRUE(cups().output("lq") == lq.out) << cups().output("lq").size();
    EXPECT_TRUE(cups().output("hp") == hp.out) << cups().output("hp").size();
    EXPECT_FALSE(cups().output("hp").starts_with("\x1b"
                                                 "E"))
        << "kevra-reset=no was not applied";
    EXPECT_EQ(symbols_on_escp24(cups().output("lq")), invoice_symbols());
    EXPECT_EQ(symbols_on_pcl(cups().output("hp")), invoice_symbols());
}

// A bad command costs only its item: the job completes, the scheduler's
// error log names the fault and its input line, and the rest prints.
TEST_F(Cups, BadCommandIsLoggedAndTheJobCompletes) {
    add_queue("lq", ppd("epsonlq"));
    TempDir dir;
    const std::string job = dir.path() + "/job.txt";
    write_file(job, "Label\n|BNOSUCH|\n~Hello-42~\n\n\n\n");
    // The option as the queue's default this time (lpadmin -o name-default=value).
    // lpadmin and lp read -o as a list of options, so a value with spaces is
    // quoted once more for them.
    ASSERT_EQ(
        cups().client("lpadmin -p lq -o \"kevra-init-default='BCODE128 H40'\" </dev/null").exitcode,
        0);
    const int id = print("lq", "-n 2 " + sh_quote(job));
    ASSERT_TRUE(cups().wait_idle("lq", 30)) << cups().error_log();
    EXPECT_EQ(cups().job_end(id), "completed") << cups().error_log();
    // Two copies: the filter translates the job twice, and reports twice.
    const std::string report = "[Job " + std::to_string(id) +
                               "] %KEVRA-I-IVBAR, invalid bar code type command. At line number 2.";
    const std::string log = cups().error_log();
    const size_t first = log.find(report);
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_NE(log.find(report, first + 1), std::string::npos) << log;
    const ProcessResult direct = run_process(program_path("kevra_epsonlq"), read_file(job),
                                             {{"KEVRA_INIT_CMD", "BCODE128 H40"}});
    EXPECT_TRUE(cups().output("lq") == direct.out + direct.out) << "two copies, BCODE128 H40";
    EXPECT_EQ(symbols_on_escp24(cups().output("lq")), std::set<std::string>{"Code128:Hello-42"});
}

// A queue whose PPD names no translator: the filter fails, the scheduler
// stops the job instead of completing it, and the log says why.
TEST_F(Cups, FailedFilterFailsTheJob) {
    TempDir dir;
    const std::string bad = dir.path() + "/bad.ppd";
    std::string text = read_file(ppd("epsonlq"));
    text.replace(text.find("*KevraPrinter: \"epsonlq\""), 24, "*KevraPrinter: \"nosuch\"");
    write_file(bad, text);
    add_queue("bad", bad);
    const int id = print("bad", sh_quote(invoice_path()));
    EXPECT_EQ(cups().job_end(id), "stopped") << cups().error_log();
    EXPECT_NE(cups().error_log().find("the PPD names no known printer"), std::string::npos)
        << cups().error_log();
    EXPECT_EQ(cups().output("bad"), "");
}
