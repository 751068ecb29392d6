// Print jobs through the real Epson programs: the page is rebuilt from the
// printer bytes and every symbol on it is read back and found where its data
// sequence stood in the text.
#include <gtest/gtest.h>

#include <algorithm>
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
    const std::string text = init + "xy" + std::string(9, ' ') + "bcd efg";
    EXPECT_EQ(r.out.substr(0, text.size()), text);
    // The symbol prints after the text, at the end of the input.
    EXPECT_EQ(r.out.substr(text.size(), 3), "\r  ");
}

TEST(EpsonPrograms, EveryByteReadIsPassedOnAtTheEndOfTheInput) {
    const std::string init = "\x1b@\x1b" "A\x0a\x1b" "C\x42\r";
    struct Case {
        const char* name;
        std::string in;
        std::string out;
        bool symbol; // the symbol's band output follows
    };
    const Case cases[] = {
        {"a sequence closed by the last byte keeps its padding", "ab~1~", "ab   ", true},
        {"a lone delimiter at the end prints", "ab~", "ab~", false},
        {"an escape cut off after ESC", "ab\x1b", "ab\x1b", false},
        {"an escape cut off in its parameters", "ab\x1b*\x21\x05", "ab\x1b*\x21\x05", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProcessResult r = run_process(program_path("kevra_epsonlq"), c.in, {{"KEVRA_VERBOSE", "Q"}});
        EXPECT_EQ(r.out.substr(0, init.size() + c.out.size()), init + c.out);
        EXPECT_EQ(r.out.size() > init.size() + c.out.size(), c.symbol);
    }
}

TEST(EpsonPrograms, SymbolsPendingAtTheEndOfTheInputPrintWholeAndFeedNoFurther) {
    struct Case {
        const char* name;
        std::string job;
        std::string text; // what the reader returns
        int line;         // text line of the data sequence
        int column;       // its first character
        int depth;        // the symbol's height in printer dots (command H)
    };
    const Case cases[] = {
        {"the last line has no line feed", "Total 4711\n\nNet |BCODE39 H50|~12345~", "12345", 2, 17,
         50},
        {"a symbol far taller than the lines after it", "|BCODE39 H9999|~A~\n", "A", 0, 15, 9999},
    };
    for (const Program& p : kPrograms) {
        const int pinsperdot = p.pins24 ? 3 : 1;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(p.name) + ": " + c.name);
            ProcessResult r = run_process(program_path(p.name), c.job, {{"KEVRA_VERBOSE", "N"}});
            ASSERT_EQ(r.exitcode, 1);
            EscpPage page = rebuild_escp(r.out, p.pins24);
            EXPECT_TRUE(page.problems.empty());
            EXPECT_EQ(page.formfeeds, 0);
            const auto boxes = ink_regions(page.page, 10);
            ASSERT_EQ(boxes.size(), 1u);
            const Bitmap::Box b = boxes[0];
            const int top = c.line * p.linepins;
            // The whole symbol, every row of it, where its sequence stood...
            EXPECT_EQ(b.x, c.column * 12);
            EXPECT_EQ(b.y, top);
            EXPECT_EQ(b.h, c.depth * pinsperdot);
            // ...reading back at its top and at its bottom...
            const int slice = std::min(b.h, 120);
            for (int y : {b.y, b.y + b.h - slice}) {
                auto got = decode_zxing(page.page.crop(b.x, y, b.w, slice), "Code39", false, 24);
                ASSERT_EQ(got.size(), 1u) << "at row " << y;
                EXPECT_EQ(got[0].text, c.text);
            }
            // ...and the paper stops at its last row.
            EXPECT_EQ(page.endy, top + c.depth * pinsperdot);
        }
    }
}

TEST(EpsonPrograms, BitImageBytesReachThePrinterExactly) {
    // An application's bit image whose bytes are 10 (LF) and 124 ("|"): the
    // printer gets exactly those two columns, nothing of them opens a
    // command, and the symbol two lines below reads back where it stood.
    const std::string image("\x1bK\x02\x00\n|", 6);
    const std::string symbolline = "Net |H40|~12345~ end";
    const std::string job = image + " logo\n\n" + symbolline + "\n\f";
    const uint8_t columns[] = {0x0A, 0x7C};
    for (const Program& p : kPrograms) {
        SCOPED_TRACE(p.name);
        ProcessResult r = run_process(program_path(p.name), job, {{"KEVRA_VERBOSE", "N"}});
        ASSERT_EQ(r.exitcode, 1);
        EXPECT_EQ(r.err, "");
        EXPECT_NE(r.out.find(image + " logo\r\n\r\n"), std::string::npos);
        EscpPage page = rebuild_escp(r.out, p.pins24);
        EXPECT_TRUE(page.problems.empty());
        // ESC K is 60 dots an inch: the columns stand 2/120 inch apart; on 24
        // pins each of the 8 dots covers three pin rows.
        const int rows = p.pins24 ? 3 : 1;
        for (int c = 0; c < 2; ++c)
            for (int bit = 0; bit < 8; ++bit) {
                SCOPED_TRACE("column " + std::to_string(c) + " bit " + std::to_string(bit));
                EXPECT_EQ(page.page.get(2 * c, bit * rows), (columns[c] & (0x80 >> bit)) != 0);
            }
        std::map<std::string, Bitmap::Box> found;
        for (const auto& [box, dec] : readall(page.page, "Code39")) found[dec.text] = box;
        ASSERT_EQ(found.count("12345"), 1u);
        EXPECT_EQ(found["12345"].x, columnof(symbolline, "~12345") * 12);
        EXPECT_EQ(found["12345"].y, 2 * p.linepins);
    }
}
