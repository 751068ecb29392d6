// The renderers hand a job over sheet by sheet: where the paper passes a top
// of form the sheet ends, and the sheets put together are the job's page.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "preview/dec_page.hpp"
#include "preview/escp_page.hpp"
#include "preview/ibm_page.hpp"
#include "preview/pcl_page.hpp"
#include "preview/prntrnx_page.hpp"
#include "tests/support/invoice.hpp"
#include "tests/support/process.hpp"

using namespace std::string_literals;

namespace {
std::vector<EscpPage> escp_sheets(const std::string& bytes, bool pins24) {
    std::vector<EscpPage> sheets;
    rebuild_escp(bytes, pins24, [&](EscpPage&& s) { sheets.push_back(std::move(s)); });
    return sheets;
}

// The line-matrix page in the other dot-matrix pages' terms: the character
// column as x.
PrintedPage as_printed(PlotterPage&& p) {
    PrintedPage out;
    out.page = std::move(p.page);
    for (const PlotterChar& c : p.chars) out.chars.push_back({c.col, c.y, c.c});
    return out;
}

std::string printed(const char* program, const std::string& job) {
    return run_process(program_path(program), job, {{"KEVRA_VERBOSE", "Q"}}).out;
}

std::string invoice_job() {
    std::ifstream f(invoice_path(), std::ios::binary);
    std::stringstream job;
    job << f.rdbuf();
    return job.str();
}
} // namespace

// 24 pins: a line feed is 30 rows of 1/180 inch, a sheet 11 inches of 1980.
TEST(Sheets, EscpSheetsEndAtTheTopOfForm) {
    const std::string lf70(70, '\n');
    struct Row {
        const char* what;
        std::string bytes;
        size_t sheets;
        size_t sheet; // where the last character printed
        int y;        // its row on that sheet
        std::vector<std::string> problems;
    };
    const std::vector<Row> rows = {
        {"form feed ejects the first sheet", "A\fB", 2, 1, 0, {}},
        {"70 lines run 120 rows onto the second sheet", "A" + lf70 + "B", 2, 1, 70 * 30 - 1980, {}},
        {"a form feed past a page end goes to the top of the next page",
         "A" + lf70 + "\fC",
         3,
         2,
         0,
         {}},
        {"ESC C 2 sets two-inch forms",
         "\x1b"
         "C" +
             std::string(1, '\0') +
             "\x02"
             "A" +
             std::string(13, '\n') + "B",
         2,
         1,
         13 * 30 - 360,
         {}},
        {"a form of no length is refused, the 11 inches stay",
         "\x1b"
         "C" +
             std::string(2, '\0') + "A" + lf70 + "B",
         2,
         1,
         70 * 30 - 1980,
         {"form length 0"}},
        {"an unknown escape is reported",
         "A\x1b\x7f"
         "B",
         1,
         0,
         0,
         {"unknown escape ESC 0x7F"}},
        {"a bit image cut short", "A\x1b*\x27\x05\x00\x01\x02"s, 1, 0, 0, {"bit image cut short"}},
        {"ESC as the last byte", "A\x1b", 1, 0, 0, {"ESC at the end of the stream"}},
        {"a head sent beyond the widest carriage prints nothing there",
         "A\x1b$\xff\x7f\x1b*\x27\x01\x00\xff\xff\xff"s,
         1,
         0,
         0,
         {"ink beyond the widest paper"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::vector<EscpPage> sheets = escp_sheets(r.bytes, true);
        ASSERT_EQ(sheets.size(), r.sheets);
        ASSERT_FALSE(sheets[r.sheet].chars.empty());
        EXPECT_EQ(sheets[r.sheet].chars.back().y, r.y);
        std::vector<std::string> problems;
        for (const EscpPage& s : sheets)
            problems.insert(problems.end(), s.problems.begin(), s.problems.end());
        EXPECT_EQ(problems, r.problems);
    }
    EXPECT_TRUE(escp_sheets("", true).empty());
    EXPECT_EQ(escp_sheets("\f", true).size(), 1u); // the printer ejects a blank sheet
}

// Round trip: the sheets of three invoices, stacked, are the page the whole
// job rebuilds into, dot for dot and character for character.
TEST(Sheets, DotMatrixSheetsStackIntoTheWholeJob) {
    struct Row {
        const char* program;
        std::function<PrintedPage(const std::string&)> whole;
        std::function<void(const std::string&, const PagedPaper::Sink&)> paged;
        int pagelen; // 11 inches in the rebuilder's rows
    };
    const Row rows[] = {
        {"kevra_epsonlq", [](const std::string& b) { return rebuild_escp(b, true); },
         [](const std::string& b, const PagedPaper::Sink& s) { rebuild_escp(b, true, s); },
         11 * 180},
        {"kevra_epsonfx", [](const std::string& b) { return rebuild_escp(b, false); },
         [](const std::string& b, const PagedPaper::Sink& s) { rebuild_escp(b, false, s); },
         11 * 72},
        {"kevra_ibm", [](const std::string& b) { return rebuild_ibm(b); },
         [](const std::string& b, const PagedPaper::Sink& s) { rebuild_ibm(b, s); },
         11 * kIbmRowsPerInch},
        {"kevra_prntrnx", [](const std::string& b) { return as_printed(rebuild_plotter(b)); },
         [](const std::string& b, const PagedPaper::Sink& s) {
             rebuild_plotter(b, 132, 11 * 72,
                             [&](PlotterPage&& p) { s(as_printed(std::move(p))); });
         },
         11 * 72},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.program);
        const std::string job = invoice_job();
        const std::string bytes = printed(row.program, job + job + job);
        const PrintedPage whole = row.whole(bytes);
        std::vector<PrintedPage> sheets;
        row.paged(bytes, [&](PrintedPage&& s) { sheets.push_back(std::move(s)); });
        ASSERT_EQ(sheets.size(), 3u);
        const int pagelen = row.pagelen;
        std::string stacked, expected;
        auto note = [](std::string& to, const PrintedChar& c, int top) {
            to += std::to_string(c.x) + "," + std::to_string(c.y + top) + c.c + " ";
        };
        for (size_t k = 0; k < sheets.size(); ++k) {
            const int top = static_cast<int>(k) * pagelen;
            EXPECT_EQ(sheets[k].page.height, pagelen);
            const Bitmap part = whole.page.crop(0, top, sheets[k].page.width, pagelen);
            EXPECT_EQ(part.dots, sheets[k].page.crop(0, 0, part.width, pagelen).dots);
            for (const PrintedChar& c : sheets[k].chars) note(stacked, c, top);
        }
        for (const PrintedChar& c : whole.chars) note(expected, c, 0);
        EXPECT_EQ(stacked, expected);
    }
}

// The Proprinter feeds in 1/216 inch: a line feed is 36 rows at power-on, a
// sheet 11 inches of 2376.
TEST(Sheets, IbmSheetsEndAtTheTopOfForm) {
    const std::string lf70(70, '\n');
    struct Row {
        const char* what;
        std::string bytes;
        size_t sheets;
        size_t sheet; // where the last character printed
        int y;        // its row on that sheet
    };
    const std::vector<Row> rows = {
        {"form feed ejects the first sheet", "A\fB", 2, 1, 0},
        {"70 lines run onto the second sheet", "A" + lf70 + "B", 2, 1, 70 * 36 - 2376},
        {"ESC 4 makes the head's line the top of form: the sheet above ends there",
         "A\n\n\x1b"
         "4B" +
             lf70 + "C",
         3, 2, 72 + 70 * 36 - (72 + 2376)},
        {"ESC C 0 2 sets two-inch forms",
         "\x1b"
         "C"s +
             '\0' +
             "\x02"
             "A" +
             std::string(13, '\n') + "B",
         2, 1, 13 * 36 - 2 * 216},
        {"a form of no length never ends: one sheet",
         "\x1b"
         "C"s +
             '\0' + '\0' + "A" + lf70 + "B",
         1, 0, 70 * 36},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<IbmPage> sheets;
        rebuild_ibm(r.bytes, [&](IbmPage&& s) { sheets.push_back(std::move(s)); });
        ASSERT_EQ(sheets.size(), r.sheets);
        ASSERT_FALSE(sheets[r.sheet].chars.empty());
        EXPECT_EQ(sheets[r.sheet].chars.back().y, r.y);
    }
}

// The DEC printers' pages: 11 inches unless the job sets a page length.
TEST(Sheets, DecSheetsEndAtTheTopOfForm) {
    const std::string lf70(70, '\n');
    struct Row {
        const char* what;
        DecModel model;
        std::string bytes;
        size_t sheets;
        size_t sheet; // where the last character printed
        int y;        // its row on that sheet
    };
    const std::vector<Row> rows = {
        {"LN03+: form feed ejects the first sheet", DecModel::LN03, "A\fB", 2, 1, 0},
        {"LN03+: 70 lines of 50 dots run onto the second sheet", DecModel::LN03, "A" + lf70 + "B",
         2, 1, 70 * 50 - 3300},
        {"LA75: 70 lines of 12 rows run onto the second sheet", DecModel::LA75, "A" + lf70 + "B", 2,
         1, 70 * 12 - 792},
        {"LA75: a page of 2 lines (CSI 2 t)", DecModel::LA75, "\x1b[2tA\n\nB", 2, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<DecPage> sheets;
        rebuild_dec(r.bytes, r.model, [&](DecPage&& s) { sheets.push_back(std::move(s)); });
        ASSERT_EQ(sheets.size(), r.sheets);
        ASSERT_FALSE(sheets[r.sheet].chars.empty());
        EXPECT_EQ(sheets[r.sheet].chars.back().y, r.y);
        const DecPage whole = rebuild_dec(r.bytes, r.model);
        EXPECT_EQ(whole.chars.size(), 2u) << "the same characters as the whole job's";
    }
}

TEST(Sheets, PclSheetsAreTheJobsSheets) {
    const std::string job = invoice_job();
    const std::string bytes = printed("kevra_hplaser", job + job);
    const PclJob whole = rebuild_pcl(bytes);
    std::vector<PclSheet> sheets;
    rebuild_pcl(bytes,
                [&](PclSheet&& s, std::vector<std::string>&&) { sheets.push_back(std::move(s)); });
    ASSERT_EQ(sheets.size(), whole.sheets.size());
    for (size_t k = 0; k < sheets.size(); ++k) {
        EXPECT_EQ(sheets[k].ink.dots, whole.sheets[k].ink.dots);
        EXPECT_EQ(sheets[k].chars.size(), whole.sheets[k].chars.size());
    }
}
