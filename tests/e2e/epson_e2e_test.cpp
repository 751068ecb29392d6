// Print jobs through the real Epson programs: the page is rebuilt from the
// printer bytes and every symbol on it is read back and found where its data
// sequence stood in the text.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "preview/decode.hpp"
#include "preview/escp_page.hpp"
#include "tests/support/process.hpp"

namespace {
struct Program {
    const char* name;
    bool pins24;
    int linepins; // pin rows per default line (1/6 inch)
};
const Program kPrograms[] = {{"kevra_epsonlq", true, 30}, {"kevra_epsonfx", false, 12}};

std::string blank(int n) { return std::string(static_cast<size_t>(n), '\n'); }

// Decodes every group of ink on the page.
std::vector<std::pair<Bitmap::Box, Decoded>> readall(const Bitmap& page, const std::string& formats) {
    std::vector<std::pair<Bitmap::Box, Decoded>> out;
    for (const Bitmap::Box& b : ink_regions(page, 10)) {
        const Bitmap crop = page.crop(b.x, b.y, b.w, b.h);
        auto got = decode_zxing(crop, formats, false, 24);
        if (got.size() == 1) out.push_back({b, got[0]});
    }
    return out;
}
} // namespace

// Column (in characters) of `what` on a text line as it prints.
int columnof(const std::string& line, const std::string& what) {
    return static_cast<int>(line.find(what));
}

TEST(EpsonPrograms, JobWithSeveralSymbolsRebuildsAndDecodes) {
    const std::vector<std::string> lines = {
        "Invoice 4711 |BCODE39 H50 C1|~12345~ done",
        "Two on a line: ~ABC~ and |BCODABAR|~A1234B~ end",
        "|BCODE39 OV H40|~ROT~ rotated",
        "|BCODE39 OH H200 R2:1|~TALL~ tall",
        "last line",
    };
    const int gaps[] = {7, 7, 13, 25, 0}; // line feeds after each line
    std::string job;
    std::vector<int> lineno;
    int n = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        lineno.push_back(n);
        job += lines[i] + blank(gaps[i]);
        n += gaps[i];
    }
    job += "\f";
    struct Expect {
        // What the reader returns: C1 stays in force, so every Code 39 after
        // the first carries its check character.
        std::string text;
        int line;
        int column; // where the data sequence began
        std::string after; // the word printed after the sequence, and where
        int aftercolumn;
    };
    const std::vector<Expect> expected = {
        {"12345F", 0, columnof(lines[0], "~12345"), "done", columnof(lines[0], " done") + 1},
        {"ABCX", 1, columnof(lines[1], "~ABC"), "and", columnof(lines[1], " and") + 1},
        {"A1234B", 1, columnof(lines[1], "~A1234B"), "end", columnof(lines[1], " end") + 1},
        {"ROT.", 2, columnof(lines[2], "~ROT"), "rotated", columnof(lines[2], " rotated") + 1},
        {"TALL ", 3, columnof(lines[3], "~TALL"), "tall", columnof(lines[3], " tall") + 1},
    };
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(p.name);
        ProcessResult r = run_process(program_path(p.name), job, {{"KEVRA_VERBOSE", "N"}});
        ASSERT_EQ(r.exitcode, 1);
        EXPECT_EQ(r.err, "");
        EscpPage page = rebuild_escp(r.out, p.pins24);
        EXPECT_TRUE(page.problems.empty());
        EXPECT_EQ(page.formfeeds, 1);

        std::map<std::string, Bitmap::Box> found;
        for (const auto& [box, dec] : readall(page.page, "Code39|Codabar")) found[dec.text] = box;
        for (const Expect& x : expected) {
            SCOPED_TRACE(x.text);
            const int y = lineno[static_cast<size_t>(x.line)] * p.linepins;
            // The text after the sequence stays in its column.
            for (size_t k = 0; k < x.after.size(); ++k) {
                const PrintedChar* c = page.charat((x.aftercolumn + static_cast<int>(k)) * 12, y);
                ASSERT_NE(c, nullptr);
                EXPECT_EQ(c->c, x.after[k]);
            }
            // The symbol reads back, starting at the dot where its sequence
            // began and at the top of its text line.
            ASSERT_TRUE(found.count(x.text)) << "not read back";
            EXPECT_EQ(found[x.text].x, x.column * 12);
            EXPECT_EQ(found[x.text].y, y);
        }
        EXPECT_EQ(found.size(), expected.size());
    }
}

TEST(EpsonPrograms, EmptyJobAndPlainText) {
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(p.name);
        ProcessResult r = run_process(program_path(p.name), "", {{"KEVRA_VERBOSE", "Q"}});
        EXPECT_EQ(r.exitcode, 1);
        EXPECT_EQ(r.out.substr(0, 4), "\x1b@\x1b" "A"); // only the initialisation
        ProcessResult t = run_process(program_path(p.name), "hello\nworld\n", {{"KEVRA_VERBOSE", "Q"}});
        EXPECT_EQ(t.out.substr(t.out.size() - 14), "hello\r\nworld\r\n");
    }
}

TEST(EpsonPrograms, BannersNameThePrinter) {
    ProcessResult lq = run_process(program_path("kevra_epsonlq"), "");
    EXPECT_EQ(lq.err.substr(0, 79), "\n\nKEVRA/DIGITAL-UNIX DUZA [Rev 7.1.0 Y2K Compliant], Epson LQ printer version.\n");
    ProcessResult fx = run_process(program_path("kevra_epsonfx"), "");
    EXPECT_EQ(fx.err.substr(0, 85),
              "\n\nKEVRA/DIGITAL-UNIX DUZA [Rev 7.1.0 Y2K Compliant], Epson MX/FX/RX printer version.\n");
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(EpsonPrograms, MemoryStaysBoundedOverALongJob) {
    std::string job;
    for (int i = 0; i < 100000; ++i) job += "line " + std::to_string(i) + " |H10|~L" + std::to_string(i % 1000) + "~\n";
    ProcessResult empty = run_process(program_path("kevra_epsonlq"), "", {{"KEVRA_VERBOSE", "Q"}});
    ProcessResult big = run_process(program_path("kevra_epsonlq"), job, {{"KEVRA_VERBOSE", "Q"}});
    ASSERT_EQ(big.exitcode, 1);
    EXPECT_GT(big.out.size(), job.size());
    EXPECT_LT(big.maxrsskb - empty.maxrsskb, 4096) << "peak " << big.maxrsskb << " kB vs "
                                                   << empty.maxrsskb << " kB";
}
#endif

TEST(EpsonPrograms, TextAfterASequenceFollowsAllOfItsPadding) {
    // A multi-character delimiter leaves nothing pushed back, so the text
    // after the sequence is already waiting when the padding goes out.
    ProcessResult r = run_process(program_path("kevra_epsonlq"), "xy<<12345<<bcd efg",
                                  {{"KEVRA_VERBOSE", "Q"}, {"KEVRA_INIT_CMD", "Q<<"}});
    const std::string init = "\x1b@\x1b" "A\x0a\x1b" "C\x42\r";
    EXPECT_EQ(r.out, init + "xy" + std::string(9, ' ') + "bcd efg");
}

TEST(EpsonPrograms, EveryByteReadIsPassedOnAtTheEndOfTheInput) {
    const std::string init = "\x1b@\x1b" "A\x0a\x1b" "C\x42\r";
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"a sequence closed by the last byte keeps its padding", "ab~1~", "ab   "},
        {"a lone delimiter at the end prints", "ab~", "ab~"},
        {"an escape cut off after ESC", "ab\x1b", "ab\x1b"},
        {"an escape cut off in its parameters", "ab\x1b*\x21\x05", "ab\x1b*\x21\x05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProcessResult r = run_process(program_path("kevra_epsonlq"), c.in, {{"KEVRA_VERBOSE", "Q"}});
        EXPECT_EQ(r.out, init + c.out);
    }
}
