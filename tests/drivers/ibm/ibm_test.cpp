// The IBM Proprinter driver as scripts: bytes in, printer bytes out, and the
// page the printer would make of them where the placement matters.
#include <gtest/gtest.h>

#include <string>

#include "drivers/ibm/ibm.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/ibm_page.hpp"

namespace {
std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s.push_back(static_cast<char>(v));
    return s;
}

// The printer reset, then 12-dot (1/6-inch) lines stored and 66 lines a page.
const std::string kReset =
    bytes({20, 27,  'F', 27, 'H', 27, 'R', 27,  'T', 27, 'U', 0, 27, 'W', 0,  27,  '2',
           27, '-', 0,   27, '_', 0,  27,  'I', 0,   27, '@', 0, 27, 'O', 27, '4', 0});
const std::string kInit = kReset + "\x1b"
                                   "A\x0c\x1b"
                                   "C\x42\r";

// Output of a job after the printer initialisation.
std::string script(const std::string& in, Harness* keep = nullptr) {
    Harness local(kv_ibm_slots);
    Harness& h = keep != nullptr ? *keep : local;
    std::string out = h.run(in);
    if (out.compare(0, kInit.size(), kInit) != 0) return "<no init> " + out;
    return out.substr(kInit.size());
}

std::string spaces(int n) {
    return std::string(static_cast<size_t>(n), ' ');
}

// Dual-density graphics of n dot columns.
std::string gline(int n) {
    return "\x1bL" + bytes({n & 255, n >> 8});
}

// A Code 39 "*A*" at narrow 1 / wide 3 band columns as both planes of each
// band column, `on` for bar columns.
std::string code39a(uint8_t on) {
    std::string out;
    for (const char* p : {"0100101000", "1000010010", "0100101000"}) {
        for (int i = 0; p[i] != 0; ++i) {
            const char b = i % 2 == 0 ? static_cast<char>(on) : '\0';
            out.append(p[i] == '1' ? 6 : 2, b);
        }
    }
    return out;
}
const std::string kBandA = gline(static_cast<int>(code39a(0xFF).size())) + code39a(0xFF);
const std::string kRowA = gline(static_cast<int>(code39a(0x80).size())) + code39a(0x80);
} // namespace

TEST(Ibm, InitialisationSequence) {
    Harness h(kv_ibm_slots);
    EXPECT_EQ(h.run(""), kInit);
    EXPECT_EQ(h->prncode, 256);
    EXPECT_EQ(h->pitch, 12);
    EXPECT_EQ(h->linespace, 12);
    EXPECT_EQ(h->pagelen, 792);
    EXPECT_EQ(h->density, 1);
    Harness quiet(kv_ibm_slots);
    quiet->resetstart = 0;
    EXPECT_EQ(quiet.run(""), "\x1b"
                             "A\x0c\x1b"
                             "C\x42\r");
}

TEST(Ibm, TrackingScripts) {
    struct Case {
        const char* name;
        std::string in;
        std::string out;
        int32_t hpos;
    };
    const std::string k100 = bytes({27, 'K', 100, 0}) + std::string(100, '\x55');
    const std::string z101 = bytes({27, 'Z', 101, 0}) + std::string(101, '\x55');
    const std::string tabs = bytes({27, 'D', 9, 17, 0});
    const Case cases[] = {
        {"text advances by the pitch", "abc", "abc", 36},
        {"ESC K 100 moves 200 dots", k100, k100, 200},
        {"ESC Z 101 moves 50 dots", z101, z101, 50},
        {"ESC L and ESC Y move a dot a column", bytes({27, 'L', 3, 0, 1, 2, 3, 27, 'Y', 1, 0, 9}),
         bytes({27, 'L', 3, 0, 1, 2, 3, 27, 'Y', 1, 0, 9}), 4},
        {"image data are not text", bytes({27, 'L', 2, 0, '\r', 'a'}),
         bytes({27, 'L', 2, 0, '\r', 'a'}), 2},
        {"ESC \\ moves a cell a character", "\x1b\\" + bytes({2, 0}) + "xy",
         "\x1b\\" + bytes({2, 0}) + "xy", 24},
        {"ESC = downloads without moving", "\x1b=" + bytes({3, 0}) + "abc",
         "\x1b=" + bytes({3, 0}) + "abc", 0},
        {"ESC ^ moves one cell", "\x1b^\x01", "\x1b^\x01", 12},
        {"ESC W 1 holds across CR",
         "\x1bW\x01"
         "ab\rcd",
         "\x1bW\x01"
         "ab\rcd",
         48},
        {"SO ends at CR",
         "\x0e"
         "ab\rcd",
         "\x0e"
         "ab\rcd",
         24},
        {"DC4 ends SO",
         "\x0e\x14"
         "a",
         "\x0e\x14"
         "a",
         12},
        {"DC4 leaves ESC W in force",
         "\x1bW\x01\x14"
         "a",
         "\x1bW\x01\x14"
         "a",
         24},
        {"ESC D 9 17 NUL: HT to column 8", tabs + "\t", tabs + "\t", 96},
        {"ESC D 9 17 NUL: HT to column 16", tabs + "\t\t", tabs + "\t\t", 192},
        {"HT past the last stop stays", tabs + "\t\t\t", tabs + "\t\t\t", 192},
        {"ESC R restores every eighth column", tabs + "\x1bR\t", tabs + "\x1bR\t", 96},
        {"HT counts columns at the pitch in force", "\x0e\t", "\x0e\t", 192},
        {"BS steps back one character", "ab\b", "ab\b", 12},
        {"BS after a move steps nothing", "a\t\b", "a\t\b", 96},
        {"SI condensed",
         "\x0f"
         "a",
         "\x0f"
         "a",
         7},
        {"SI at double width",
         "\x0e\x0f"
         "a",
         "\x0e\x0f"
         "a",
         14},
        {"DC2 back to 10 per inch",
         "\x0f\x12"
         "a",
         "\x0f\x12"
         "a",
         12},
        {"ESC : 12 per inch", "\x1b:a", "\x1b:a", 10},
        {"CAN cancels the line", "ab\x18", "ab\x18", 0},
        {"0x8D acts as CR", "ab\x8d", "ab\x8d", 0},
        {"high printable bytes advance", "\xa0\xff", "\xa0\xff", 24},
        {"an unlisted escape passes as two bytes", "\x1bj", "\x1bj", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_ibm_slots);
        EXPECT_EQ(script(c.in, &h), c.out);
        EXPECT_EQ(h->hpos, c.hpos);
    }
}

TEST(Ibm, PaperMotionWithoutFields) {
    struct Case {
        const char* name;
        std::string in;
        std::string out;
        int32_t vpos;
        int32_t linespace;
    };
    const std::string vtabs = bytes({27, 'B', 3, 5, 0}); // lines 3 and 5: 24 and 48 dots
    const Case cases[] = {
        {"LF and FF are single bytes", "\n\f", "\n\f", 0, 12},
        {"ESC 5 1 then CR: the printer gets CR, the driver feeds",
         "\x1b"
         "5\x01\r",
         "\r\n", 12, 12},
        {"ESC 5 0 turns it off", bytes({27, '5', 1, 27, '5', 0}) + "\r", "\r", 0, 12},
        {"VT without stops is the line feed", "\v", "\n", 12, 12},
        {"VT to the stop below", vtabs + "\v", vtabs + "\v", 24, 12},
        {"VT to the second stop", vtabs + "\n\n\v", vtabs + "\n\n\v", 48, 12},
        {"VT past every stop is a line feed", vtabs + "\n\n\n\n\v", vtabs + "\n\n\n\n\n", 60, 12},
        {"ESC J 30 feeds 10 dots", "\x1bJ\x1e", "\x1bJ\x1e", 10, 12},
        {"ESC 3 30: 10-dot lines",
         "\x1b"
         "3\x1e\n",
         "\x1b"
         "3\x1e\n",
         10, 10},
        {"ESC 3 20: 6-dot lines",
         "\x1b"
         "3\x14\n",
         "\x1b"
         "3\x14\n",
         6, 6},
        {"ESC A only stores",
         "\x1b"
         "A\x08\n",
         "\x1b"
         "A\x08\n",
         12, 12},
        {"ESC 2 puts ESC A in force",
         "\x1b"
         "A\x08\x1b"
         "2\n",
         "\x1b"
         "A\x08\x1b"
         "2\n",
         8, 8},
        {"ESC 2 before ESC A: 1/6 inch",
         "\x1b"
         "0\x1b"
         "2",
         "\x1b"
         "0\x1b"
         "2",
         0, 12},
        {"ESC A 86 is refused",
         "\x1b"
         "A\x56\x1b"
         "2",
         "\x1b"
         "A\x56\x1b"
         "2",
         0, 12},
        {"ESC 0: 9 dots",
         "\x1b"
         "0\n",
         "\x1b"
         "0\n",
         9, 9},
        {"ESC 1: 7 dots",
         "\x1b"
         "1\n",
         "\x1b"
         "1\n",
         7, 7},
        {"ESC 4: top of form here",
         "\n\x1b"
         "4",
         "\n\x1b"
         "4",
         0, 12},
        {"a full page of LFs ends it: no FF", std::string(66, '\n') + "\f", std::string(66, '\n'),
         0, 12},
        {"ESC C 2: two-line pages", bytes({27, 'C', 2}) + "\n\n\f", bytes({27, 'C', 2}) + "\n\n", 0,
         12},
        {"ESC C 0 1: one-inch pages", bytes({27, 'C', 0, 1}) + "\n\f",
         bytes({27, 'C', 0, 1}) + "\n\f", 0, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_ibm_slots);
        EXPECT_EQ(script(c.in, &h), c.out);
        EXPECT_EQ(h->vpos, c.vpos);
        EXPECT_EQ(h->linespace, c.linespace);
    }
}

TEST(Ibm, TwentyRowFieldPrintsInOverlappingBands) {
    Harness h(kv_ibm_slots);
    // A 20-row field at column 5 (after the command's five spaces); 12-dot
    // lines, so each line feed is a band of 8 and one of 4.
    const std::string out = script("|H20|~A~\r\n\r\n", &h);
    const std::string expected = spaces(8) +
                                 "\r" // padding, then the job's CR
                                 "\r" +
                                 spaces(5) + kBandA +
                                 "\x1b"
                                 "3\x18\n" + // rows 0-7 at column 5, 24/216 inch
                                 "\r" +
                                 spaces(5) + kBandA +
                                 "\x1b"
                                 "3\x0c\n" + // rows 8-15, 12/216 inch
                                 "\x1b"
                                 "3\x24"
                                 "\r" // 1/6 inch again, head to column 0
                                 "\r" // the job's second CR
                                 "\r" +
                                 spaces(5) + kBandA +
                                 "\x1b"
                                 "3\x18\n" + // rows 12-19
                                 "\x1b"
                                 "3\x0c\n" // the field is done: 4 dots
                                 "\x1b"
                                 "3\x24"
                                 "\r";
    EXPECT_EQ(out, expected);
    EXPECT_EQ(h->fieldhead, nullptr);
    EXPECT_EQ(h->vpos, 24);
}

TEST(Ibm, PaperMotionWithAFieldPending) {
    struct Case {
        const char* name;
        std::string in; // after a one-row field at column 4 ("|H1|~A~"; the head at 7)
        std::string out;
        int32_t vpos;
    };
    const std::string field = "\r" + spaces(4) + kRowA;
    const std::string back = "\r" + spaces(7);
    const Case cases[] = {
        {"LF: 8 and 4 dots", "\n",
         field +
             "\x1b"
             "3\x18\n\x1b"
             "3\x0c\n\x1b"
             "3\x24" +
             back,
         12},
        {"ESC 5 1 then CR: CR, then the band",
         "\x1b"
         "5\x01\r",
         "\r" + field +
             "\x1b"
             "3\x18\n\x1b"
             "3\x0c\n\x1b"
             "3\x24\r",
         12},
        {"ESC J 30: 8 and 2 dots, no ESC J", "\x1bJ\x1e",
         field +
             "\x1b"
             "3\x18\n\x1b"
             "3\x06\n\x1b"
             "3\x24" +
             back,
         10},
        {"ESC J 31: the last 1/216 inch as ESC J 1", "\x1bJ\x1f",
         field +
             "\x1b"
             "3\x18\n\x1b"
             "3\x06\n\x1b"
             "3\x24" +
             back + "\x1bJ\x01",
         10},
        {"VT to the stop: band line feeds, no VT", bytes({27, 'B', 3, 0}) + "\v",
         bytes({27, 'B', 3, 0}) + field +
             "\x1b"
             "3\x18\n\n\n\x1b"
             "3\x24" +
             back,
         24},
        {"VT without stops: the line feed", "\v",
         field +
             "\x1b"
             "3\x18\n\x1b"
             "3\x0c\n\x1b"
             "3\x24" +
             back,
         12},
        {"FF prints down to the field's end, then FF", "\f",
         field +
             "\x1b"
             "3\x03\n\x1b"
             "3\x24" +
             back + "\f",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_ibm_slots);
        EXPECT_EQ(script("|H1|~A~" + c.in, &h), spaces(7) + c.out);
        EXPECT_EQ(h->vpos, c.vpos);
    }
}

// Where the printer puts the symbol and the text that follows, rebuilt from
// the bytes sent: the cases where the application's width or spacing modes
// meet the band output.
TEST(Ibm, SymbolsAndTextLandWhereTheApplicationPutThem) {
    struct Case {
        const char* name;
        std::string in; // an 8-row Code 39 at `column`, then X
        int column;     // 1/120 inch
        int top, depth; // of the ink, 1/216 inch
        int xx, xy;     // where X prints: 1/120 inch across, 1/216 inch down
    };
    const Case cases[] = {
        // Without the printer's own cancel at the band's CR, the head would
        // go back at half the distance.
        {"SO, then a bare LF: the band's CR ends double width",
         "\x0e"
         "ab|H8|~A~cd\nX",
         144, 0, 24, 264, 36},
        {"ESC W 1 stays across the band's CR",
         "\x1bW\x01"
         "ab|H8|~A~cd\nX",
         144, 0, 24, 264, 36},
        {"DC4 leaves ESC W 1 in force",
         "\x1bW\x01\x14"
         "ab|H8|~A~cd\nX",
         144, 0, 24, 264, 36},
        // The application's spacing carries the line; rows 6 and 7 print
        // again 2/216 inch lower.
        {"ESC 3 20: lines of 20/216 before and after a band",
         "\x1b"
         "3\x14|H8|~A~\n\nX",
         48, 0, 26, 84, 40},
        {"VT with a field below: to the stop", bytes({27, 'B', 3, 0}) + "|H8|~A~\vX", 48, 0, 24, 84,
         72},
        {"VT without stops: one line", "|H8|~A~\vX", 48, 0, 24, 84, 36},
        {"ESC J 31 with a field: 31/216",
         "|H8|~A~\x1bJ\x1f"
         "X",
         48, 0, 24, 84, 31},
        {"ESC J 30 alone: 30/216", "\x1bJ\x1e|H8|~A~\nX", 48, 30, 24, 84, 66},
        {"ESC 5 1: CR feeds once",
         "\x1b"
         "5\x01|H8|~A~\rX",
         48, 0, 24, 0, 36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_ibm_slots);
        const IbmPage page = rebuild_ibm(h.run(c.in));
        EXPECT_TRUE(page.problems.empty());
        const Bitmap::Box ink = page.page.ink();
        EXPECT_EQ(ink.x, c.column);
        EXPECT_EQ(ink.y, c.top);
        EXPECT_EQ(ink.h, c.depth);
        ASSERT_FALSE(page.chars.empty());
        const PrintedChar& x = page.chars.back();
        EXPECT_EQ(x.c, 'X');
        EXPECT_EQ(x.x, c.xx);
        EXPECT_EQ(x.y, c.xy);
    }
}

TEST(Ibm, BadInputPassesOnWithoutHanging) {
    struct Case {
        const char* name;
        std::string in;
    };
    std::string vlist = "\x1b"
                        "B",
                hlist = "\x1b"
                        "D";
    for (int b = 1; b <= 70; ++b) vlist.push_back(static_cast<char>(b == 10 ? 71 : b));
    for (int b = 1; b <= 40; ++b) hlist.push_back(static_cast<char>(b == 10 ? 41 : b));
    const Case cases[] = {
        {"ESC as the last byte", "ab\x1b"},
        {"a count of 65535 with a short tail", "\x1bK\xff\xff"
                                               "abc|~"},
        {"a download count cut short", "\x1b=\x10"},
        {"an ESC B list with no end", vlist},
        {"an ESC D list with no end", hlist},
        {"ESC 3 cut short", "\x1b"
                            "3"},
        {"ESC C 0 cut short", std::string("\x1b"
                                          "C\0",
                                          3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_ibm_slots);
        EXPECT_EQ(script(c.in, &h), c.in);
    }
}

TEST(Ibm, HighBytesInEveryPositionPassOn) {
    // Each byte from 0x80 to 0xFF as text, as an escape letter, as a
    // parameter, as image data and in a tab list. A high byte is looked up by
    // its low seven bits: 0x8A, 0x8B and 0x8C are line and form feeds (sent as
    // LF and FF), 0x9B is ESC, and ESC 0xB5 is ESC 5, which the driver keeps.
    for (int b = 0x80; b <= 0xFF; ++b) {
        SCOPED_TRACE(b);
        const char c = static_cast<char>(b);
        const std::string jobs[] = {
            std::string("a") + c + "b",
            std::string("\x1b") + c + "x",
            std::string("\x1b"
                        "3") +
                c,
            std::string("\x1bL\x02\x00", 4) + c + c,
            std::string("\x1b"
                        "D\x01") +
                c,
            std::string("\x1bW") + c + "a",
        };
        for (const std::string& in : jobs) {
            Harness h(kv_ibm_slots);
            std::string want = in;
            if (in[0] == 'a' && (b == 0x8A || b == 0x8B)) want = "a\nb";
            if (in[0] == 'a' && b == 0x8C) want = "a\fb";
            if (in[0] == 'a' && b == 0x9B)
                want = "a\x1b"
                       "b"; // ESC, and b its letter
            if (in[0] == '\x1b' && in[1] == c && b == 0xB5) want = "";
            EXPECT_EQ(script(in, &h), want);
            EXPECT_GE(h->hpos, 0);
        }
    }
}
