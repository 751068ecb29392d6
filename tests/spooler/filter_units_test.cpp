// The filter's decisions without a scheduler: reading CUPS option strings,
// the translator variables they set, and the CUPS messages made of the
// translator's reports.
#include <gtest/gtest.h>

#include <filesystem>

#include "spooler/cups_options.hpp"
#include "spooler/filter_config.hpp"
#include "spooler/reports.hpp"
#include "tests/spooler/spooler_support.hpp"

namespace {

std::string joined(const std::vector<CupsOption>& options) {
    std::string s;
    for (const auto& [n, v] : options) s += "[" + n + "=" + v + "]";
    return s;
}

} // namespace

TEST(CupsOptions, ParsedAsTheCupsLibraryReadsThem) {
    struct Row {
        const char* text;
        const char* expected;
        const char* why;
    };
    const Row rows[] = {
        {"", "", "no options"},
        {"  a=1\tb=2 ", "[a=1][b=2]", "any white space separates"},
        {"kevra-init=BCODE39\\ H50", "[kevra-init=BCODE39 H50]",
         "the scheduler escapes spaces in values with a backslash"},
        {"kevra-init='BCODE39 H50' x=\"a b\"", "[kevra-init=BCODE39 H50][x=a b]",
         "quoted values as lp and lpoptions write them"},
        {"t=it\\'s q=\"say \\\"hi\\\"\"", "[t=it's][q=say \"hi\"]", "escaped quotes"},
        {"job-sheets=none,none collate", "[job-sheets=none,none][collate=true]",
         "a bare name is true"},
        {"nokevra-reset", "[kevra-reset=false]", "a bare noname is false"},
        {"no", "[no=true]", "the word no alone is a name"},
        {"media-col={media-size={x-dimension=21000 y-dimension=29700}} n=1",
         "[media-col={media-size={x-dimension=21000 y-dimension=29700}}][n=1]",
         "a collection stays whole, nested braces included"},
        {"a= b=2", "[a=][b=2]", "an empty value"},
        {"=x y=1", "[y=1]", "a value without a name is dropped"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(joined(parse_cups_options(row.text)), row.expected);
    }
}

TEST(CupsOptions, LaterOptionWins) {
    const auto options = parse_cups_options("kevra-reset=yes kevra-reset=no");
    ASSERT_NE(find_cups_option(options, "kevra-reset"), nullptr);
    EXPECT_EQ(*find_cups_option(options, "kevra-reset"), "no");
    EXPECT_EQ(find_cups_option(options, "kevra-init"), nullptr);
}

TEST(FilterConfig, OptionsSetTranslatorVariables) {
    struct Row {
        const char* options;
        const char* variables; // NAME=value;... in table order
        size_t warnings;
        const char* why;
    };
    const Row rows[] = {
        {"kevra-init='BCODE39 H50'", "KEVRA_INIT_CMD=BCODE39 H50;", 0, "init commands verbatim"},
        {"kevra-reset=no", "KEVRA_RESET_A=n;", 0, "the example of the README"},
        {"kevra-reset=False kevra-reset-ff=OFF kevra-squish-cr=1",
         "KEVRA_RESET_A=n;KEVRA_RESET_Z=n;KEVRA_SQUISH_CR=y;", 0, "CUPS boolean spellings"},
        {"nokevra-reset kevra-squish-cr", "KEVRA_RESET_A=n;KEVRA_SQUISH_CR=y;", 0,
         "booleans as the scheduler passes them (name / noname)"},
        {"kevra-reset=never", "", 1,
         "a first letter n is not enough: only real booleans switch, others are reported"},
        {"kevra-reset=maybe kevra-init=T1", "KEVRA_INIT_CMD=T1;", 1,
         "a bad switch does not cost the other options"},
        {"copies=2 media=a4 KEVRA_RESET_A=n", "", 0,
         "other options, and variable names as options, set nothing"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        const TranslatorEnv env = translator_env(parse_cups_options(row.options));
        std::string vars;
        for (const auto& [n, v] : env.variables) vars += n + "=" + v + ";";
        EXPECT_EQ(vars, row.variables);
        EXPECT_EQ(env.warnings.size(), row.warnings);
        for (const std::string& w : env.warnings) EXPECT_TRUE(w.starts_with("WARNING: ")) << w;
    }
}

TEST(FilterConfig, PpdKeyword) {
    struct Row {
        const char* ppd;
        const char* expected;
        const char* why;
    };
    const Row rows[] = {
        {"*PPD-Adobe: \"4.3\"\n*KevraPrinter: \"hplaser\"\n", "hplaser", "quoted value"},
        {"*KevraPrinter: epsonfx\r\n", "epsonfx", "unquoted, CR LF line end"},
        {"*KevraPrinterX: \"ibm\"\n*KevraPrinter:\"la75\"", "la75",
         "a longer keyword is another keyword; last line without newline"},
        {"*% *KevraPrinter: \"ln03\"\n", "", "a comment is no keyword"},
        {"*ModelName: \"x\"\n", "", "absent"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(ppd_keyword(row.ppd, "KevraPrinter"), row.expected);
    }
}

// Every generated PPD names a printer the filter knows, with the program of
// the same name, and every printer the filter knows has its PPD; each PPD
// sends text through the filter.
TEST(FilterConfig, EveryPpdMatchesTheFilterTable) {
    std::set<std::string> words;
    for (const auto& e : std::filesystem::directory_iterator(KEVRA_PPD_DIR)) {
        const std::string ppd = read_file(e.path().string());
        const std::string word = ppd_keyword(ppd, "KevraPrinter");
        SCOPED_TRACE(e.path().string());
        EXPECT_EQ(e.path().filename().string(), "kevra-" + word + ".ppd");
        const KevraPrinter* p = find_printer(word);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->program, "kevra_" + word);
        EXPECT_EQ(ppd_keyword(ppd, "cupsFilter2"),
                  "text/plain application/vnd.cups-raw 0 texttokevra");
        // CUPS's checker, where cups-client is installed (the filter is not
        // installed here: the package test checks that part).
        const ProcessResult check =
            shell("! command -v cupstestppd >/dev/null || cupstestppd -I filters " +
                  sh_quote(e.path().string()) + " </dev/null");
        EXPECT_EQ(check.exitcode, 0) << check.out;
        words.insert(word);
    }
    EXPECT_EQ(words.size(), kKevraPrinters.size());
    EXPECT_EQ(find_printer("../../bin/sh"), nullptr);
}

TEST(ReportMapper, TranslatorMessagesBecomeCupsLines) {
    struct Row {
        std::vector<const char*> stderr_lines;
        std::vector<const char*> cups_lines;
        const char* why;
    };
    const Row rows[] = {
        {{"", "", "KEVRA/DIGITAL-UNIX DUZA [Rev 7.1.0 Y2K Compliant], Epson LQ printer version."},
         {"DEBUG: KEVRA/DIGITAL-UNIX DUZA [Rev 7.1.0 Y2K Compliant], Epson LQ printer version."},
         "the banner is for debugging; empty lines vanish"},
        {{"%KEVRA-I-IVCMD, unknown command.", "                At line number 12."},
         {"WARNING: %KEVRA-I-IVCMD, unknown command. At line number 12."},
         "a bad command: one warning with its line number"},
        {{"%KEVRA-I-IVBARC, invalid bar code character or length.",
          "                At line number 3.", "%KEVRA-I-IVBAR, invalid bar code type command.",
          "                At line number 4."},
         {"WARNING: %KEVRA-I-IVBARC, invalid bar code character or length. At line number 3.",
          "WARNING: %KEVRA-I-IVBAR, invalid bar code type command. At line number 4."},
         "reports in a row keep their own line numbers"},
        {{"%KEVRA-I-SUMMARY, Translation completed.", "                At line number 40."},
         {"INFO: %KEVRA-I-SUMMARY, Translation completed. At line number 40."},
         "the summary of a completed job"},
        {{"%KEVRA-E-WRITIN, error writing translator output.", "                At line number 2.",
          "%KEVRA-I-SUMMARY, Translation aborted.", "                At line number 2."},
         {"ERROR: %KEVRA-E-WRITIN, error writing translator output. At line number 2.",
          "ERROR: %KEVRA-I-SUMMARY, Translation aborted. At line number 2."},
         "an I/O failure and the aborted summary are errors"},
        {{"%KEVRA-I-SUMMARY, Translation completed."},
         {"INFO: %KEVRA-I-SUMMARY, Translation completed."},
         "a report without a line number (empty job) is passed at the end"},
        {{"%KEVRA-I-IVCMDAt line number 5."},
         {"WARNING: %KEVRA-I-IVCMDAt line number 5."},
         "a report without message carries its line number on the same line"},
        {{"%KEVRA-W-ODD, something.", "%KEVRA-F-BAD, worse."},
         {"WARNING: %KEVRA-W-ODD, something.", "ERROR: %KEVRA-F-BAD, worse."},
         "other severities; a report is passed when the next one starts"},
        {{"                At line number 7."},
         {"DEBUG: At line number 7."},
         "a stray line number with no report before it"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        ReportMapper mapper;
        std::vector<std::string> got;
        for (const char* l : row.stderr_lines)
            for (std::string& out : mapper.take(l)) got.push_back(std::move(out));
        for (std::string& out : mapper.finish()) got.push_back(std::move(out));
        EXPECT_EQ(got, std::vector<std::string>(row.cups_lines.begin(), row.cups_lines.end()));
    }
}
