// The IBM Proprinter driver as scripts: bytes in, printer bytes out, and the
// page the printer would make of them where the placement matters.
#include <gtest/gtest.h>

#include <string>

#include "drivers/ibm/ibm.hpp"
#include "tests/support/harness.hpp"
#include "preview/ibm_page.hpp"
#include "tests/support/printer_bytes.hpp"

using namespace ctl;

namespace {
// The printer reset, then 12-dot (1/6-inch) lines stored and 66 lines a page.
const std::string kReset = DC4 + esc('F') + esc('H') + esc('R') + esc('T') + esc('U', {0}) +
                           esc('W', {0}) + esc('2') + esc('-', {0}) + esc('_', {0}) +
                           esc('I', {0}) + esc('@', {0}) + esc('O') + esc('4', {0});
const std::string kSetup = esc('A', {12}) + esc('C', {66}) + "\r";
const std::string kInit = kReset + kSetup;

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

// Line spacing n/216 inch.
std::string spacing(int n) {
    return esc('3', {n});
}

// A Code 39 "*A*" at narrow 1 / wide 3 band columns as dual-density graphics:
// both planes of each band column, `on` for bar columns.
std::string code39a(uint8_t on) {
    std::string out;
    for (const char* p : {"0100101000", "1000010010", "0100101000"}) {
        for (int i = 0; p[i] != 0; ++i) {
            const char b = i % 2 == 0 ? static_cast<char>(on) : '\0';
            out.append(p[i] == '1' ? 6 : 2, b);
        }
    }
    const int n = static_cast<int>(out.size());
    return esc('L', {n & 255, n >> 8}) + out;
}
const std::string kBandA = code39a(0xFF); // a band of 8 rows all bar
const std::string kRowA = code39a(0x80);  // a field one row deep
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
    EXPECT_EQ(quiet.run(""), kSetup);
}

TEST(Ibm, TrackingScripts) {
    struct Case {
        const char* name;
        std::string in; // passed on unchanged
        int32_t hpos;
    };
    const std::string tabs = esc('D', {9, 17, 0});
    const Case cases[] = {
        {"text advances by the pitch", "abc", 36},
        {"ESC K 100 moves 200 dots", esc('K', {100, 0}) + std::string(100, 'U'), 200},
        {"ESC Z 101 moves 50 dots", esc('Z', {101, 0}) + std::string(101, 'U'), 50},
        {"ESC L and ESC Y move a dot a column", esc('L', {3, 0, 1, 2, 3}) + esc('Y', {1, 0, 9}), 4},
        {"image data are not text", esc('L', {2, 0, '\r', 'a'}), 2},
        {"ESC \\ moves a cell a character", esc('\\', {2, 0}) + "xy", 24},
        {"ESC = downloads without moving", esc('=', {3, 0}) + "abc", 0},
        {"ESC ^ moves one cell", esc('^', {1}), 12},
        {"ESC W 1 holds across CR", esc('W', {1}) + "ab\rcd", 48},
        {"SO ends at CR", SO + "ab\rcd", 24},
        {"DC4 ends SO", SO + DC4 + "a", 12},
        {"DC4 leaves ESC W in force", esc('W', {1}) + DC4 + "a", 24},
        {"ESC D 9 17 NUL: HT to column 8", tabs + "\t", 96},
        {"ESC D 9 17 NUL: HT to column 16", tabs + "\t\t", 192},
        {"HT past the last stop stays", tabs + "\t\t\t", 192},
        {"ESC R restores every eighth column", tabs + esc('R') + "\t", 96},
        {"HT counts columns at the pitch in force", SO + "\t", 192},
        {"BS steps back one character", "ab\b", 12},
        {"BS after a move steps nothing", "a\t\b", 96},
        {"SI condensed", SI + "a", 7},
        {"SI at double width", SO + SI + "a", 14},
        {"DC2 back to 10 per inch", SI + DC2 + "a", 12},
        {"ESC : 12 per inch", esc(':') + "a", 10},
        {"CAN cancels the line", "ab" + CAN, 0},
        {"0x8D acts as CR", "ab\x8d", 0},
        {"high printable bytes advance", "\xa0\xff", 24},
        {"an unlisted escape passes as two bytes", esc('j'), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_ibm_slots);
        EXPECT_EQ(script(c.in, &h), c.in);
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
    const std::string vtabs = esc('B', {3, 5, 0}); // lines 3 and 5: 24 and 48 dots
    const Case cases[] = {
        {"LF and FF are single bytes", "\n\f", "\n\f", 0, 12},
        {"ESC 5 1 then CR: the printer gets CR, the driver feeds", esc('5', {1}) + "\r", "\r\n", 12,
         12},
        {"ESC 5 0 turns it off", esc('5', {1}) + esc('5', {0}) + "\r", "\r", 0, 12},
        {"VT without stops is the line feed", "\v", "\n", 12, 12},
        {"VT to the stop below", vtabs + "\v", vtabs + "\v", 24, 12},
        {"VT to the second stop", vtabs + "\n\n\v", vtabs + "\n\n\v", 48, 12},
        {"VT past every stop is a line feed", vtabs + "\n\n\n\n\v", vtabs + "\n\n\n\n\n", 60, 12},
        {"ESC J 30 feeds 10 dots", esc('J', {30}), esc('J', {30}), 10, 12},
        {"ESC 3 30: 10-dot lines", spacing(30) + "\n", spacing(30) + "\n", 10, 10},
        {"ESC 3 20: 6-dot lines", spacing(20) + "\n", spacing(20) + "\n", 6, 6},
        {"ESC A only stores", esc('A', {8}) + "\n", esc('A', {8}) + "\n", 12, 12},
        {"ESC 2 puts ESC A in force", esc('A', {8}) + esc('2') + "\n",
         esc('A', {8}) + esc('2') + "\n", 8, 8},
        {"ESC 2 before ESC A: 1/6 inch", esc('0') + esc('2'), esc('0') + esc('2'), 0, 12},
        {"ESC A 86 is refused", esc('A', {86}) + esc('2'), esc('A', {86}) + esc('2'), 0, 12},
        {"ESC 0: 9 dots", esc('0') + "\n", esc('0') + "\n", 9, 9},
        {"ESC 1: 7 dots", esc('1') + "\n", esc('1') + "\n", 7, 7},
        {"ESC 4: top of form here", "\n" + esc('4'), "\n" + esc('4'), 0, 12},
        {"a full page of LFs ends it: no FF", std::string(66, '\n') + "\f", std::string(66, '\n'),
         0, 12},
        {"ESC C 2: two-line pages", esc('C', {2}) + "\n\n\f", esc('C', {2}) + "\n\n", 0, 12},
        {"ESC C 0 1: one-inch pages", esc('C', {0, 1}) + "\n\f", esc('C', {0, 1}) + "\n\f", 0, 12},
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
    const std::string expected = spaces(8) + "\r" +                        // padding, the job's CR
                                 "\r" + spaces(5) + kBandA + spacing(24) + // rows 0-7 at column 5
                                 "\n" +                                    //   8 dots
                                 "\r" + spaces(5) + kBandA + spacing(12) + // rows 8-15
                                 "\n" +                                    //   4 dots
                                 spacing(36) + "\r" + // 1/6 inch again, head to column 0
                                 "\r" +               // the job's second CR
                                 "\r" + spaces(5) + kBandA + spacing(24) + // rows 12-19
                                 "\n" +                                    //   8 dots
                                 spacing(12) + "\n" + // the field is done: 4 dots
                                 spacing(36) + "\r";
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
    const std::string back = spacing(36) + "\r" + spaces(7); // 1/6 inch, head to column 7
    const Case cases[] = {
        {"LF: 8 and 4 dots", "\n", field + spacing(24) + "\n" + spacing(12) + "\n" + back, 12},
        {"ESC 5 1 then CR: CR, then the band", esc('5', {1}) + "\r",
         "\r" + field + spacing(24) + "\n" + spacing(12) + "\n" + spacing(36) + "\r", 12},
        {"ESC J 30: 8 and 2 dots, no ESC J", esc('J', {30}),
         field + spacing(24) + "\n" + spacing(6) + "\n" + back, 10},
        {"ESC J 31: the last 1/216 inch as ESC J 1", esc('J', {31}),
         field + spacing(24) + "\n" + spacing(6) + "\n" + back + esc('J', {1}), 10},
        {"VT to the stop: band line feeds, no VT", esc('B', {3, 0}) + "\v",
         esc('B', {3, 0}) + field + spacing(24) + "\n\n\n" + back, 24},
        {"VT without stops: the line feed", "\v",
         field + spacing(24) + "\n" + spacing(12) + "\n" + back, 12},
        {"FF prints down to the field's end, then FF", "\f",
         field + spacing(3) + "\n" + back + "\f", 0},
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
        {"SO, then a bare LF: the band's CR ends double width", SO + "ab|H8|~A~cd\nX", 144, 0, 24,
         264, 36},
        {"ESC W 1 stays across the band's CR", esc('W', {1}) + "ab|H8|~A~cd\nX", 144, 0, 24, 264,
         36},
        {"DC4 leaves ESC W 1 in force", esc('W', {1}) + DC4 + "ab|H8|~A~cd\nX", 144, 0, 24, 264,
         36},
        // The application's spacing carries the line; rows 6 and 7 print
        // again 2/216 inch lower.
        {"ESC 3 20: lines of 20/216 before and after a band", spacing(20) + "|H8|~A~\n\nX", 48, 0,
         26, 84, 40},
        {"VT with a field below: to the stop", esc('B', {3, 0}) + "|H8|~A~\vX", 48, 0, 24, 84, 72},
        {"VT without stops: one line", "|H8|~A~\vX", 48, 0, 24, 84, 36},
        {"ESC J 31 with a field: 31/216", "|H8|~A~" + esc('J', {31}) + "X", 48, 0, 24, 84, 31},
        {"ESC J 30 alone: 30/216", esc('J', {30}) + "|H8|~A~\nX", 48, 30, 24, 84, 66},
        {"ESC 5 1: CR feeds once", esc('5', {1}) + "|H8|~A~\rX", 48, 0, 24, 0, 36},
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
    std::string vlist = esc('B'), hlist = esc('D');
    for (int b = 1; b <= 70; ++b) vlist.push_back(static_cast<char>(b == 10 ? 71 : b));
    for (int b = 1; b <= 40; ++b) hlist.push_back(static_cast<char>(b == 10 ? 41 : b));
    const Case cases[] = {
        {"ESC as the last byte", "ab\x1b"},
        {"a count of 65535 with a short tail", esc('K', {255, 255}) + "abc|~"},
        {"a download count cut short", esc('=', {16})},
        {"an ESC B list with no end", vlist},
        {"an ESC D list with no end", hlist},
        {"ESC 3 cut short", esc('3')},
        {"ESC 5 cut short", esc('5')},
        {"ESC J cut short", esc('J')},
        {"ESC C 0 cut short", esc('C', {0})},
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
        const std::string c(1, static_cast<char>(b));
        const std::string text = "a" + c + "b";
        const std::string letter = "\x1b" + c + "x";
        const std::string jobs[] = {
            text,
            letter,
            esc('3') + c,
            esc('L', {2, 0}) + c + c,
            esc('D', {1}) + c,
            esc('W') + c + "a",
        };
        for (const std::string& in : jobs) {
            Harness h(kv_ibm_slots);
            std::string want = in;
            if (in == text && (b == 0x8A || b == 0x8B)) want = "a\nb";
            if (in == text && b == 0x8C) want = "a\fb";
            if (in == text && b == 0x9B) want = "a" + esc('b'); // ESC, and b its letter
            if (in == letter && b == 0xB5) want = "";
            EXPECT_EQ(script(in, &h), want);
            EXPECT_GE(h->hpos, 0);
        }
    }
}

TEST(Ibm, EndOfInputPrintsThePendingFields) {
    // 12-dot lines; the end of the input feeds only as far as the field reaches.
    const std::string band4 = code39a(0xF0); // the last four rows
    struct Case {
        const char* name;
        std::string in;
        std::string out;
        int32_t vpos;
    };
    const Case cases[] = {
        {"a 20-row field on a last line without a line feed: 8, 8 and 4 dots", "|H20|~A~",
         spaces(8) + "\r" + spaces(5) + kBandA + spacing(24) + "\n" + "\r" + spaces(5) + kBandA +
             "\n" + "\r" + spaces(5) + band4 + spacing(12) + "\n" + spacing(36) + "\r" + spaces(8),
         20},
        {"the rest of a field taller than the last line", "|H20|~A~\r\n",
         spaces(8) + "\r" + "\r" + spaces(5) + kBandA + spacing(24) + "\n" + "\r" + spaces(5) +
             kBandA + spacing(12) + "\n" + spacing(36) + "\r" + "\r" + spaces(5) + kBandA +
             spacing(24) + "\n" + spacing(36) + "\r",
         20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_ibm_slots);
        EXPECT_EQ(script(c.in, &h), c.out);
        EXPECT_EQ(h->vpos, c.vpos);
        EXPECT_EQ(h->fieldhead, nullptr);
    }
}

TEST(Ibm, BinaryParametersPassExactlyThroughTheByteLayer) {
    // The byte layer sends every LF of text as CR LF; a parameter byte 10
    // must reach the printer alone and count as a value, not a line feed.
    struct Case {
        const char* name;
        std::string in;
        std::string out;
        int32_t vpos;
    };
    const Case cases[] = {
        {"ESC 3 10: 10/216-inch lines", esc('3', {10}) + "\n", esc('3', {10}) + "\r\n", 3},
        {"ESC A 10 stored, ESC 2 takes it", esc('A', {10}) + esc('2') + "\n",
         esc('A', {10}) + esc('2') + "\r\n", 10},
        {"ESC W 10: double width on", esc('W', {10}) + "a\n", esc('W', {10}) + "a\r\n", 12},
        {"bit image of ten columns", esc('K', {10, 0}) + std::string(10, '\n') + "\n",
         esc('K', {10, 0}) + std::string(10, '\n') + "\r\n", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_ibm_slots);
        const std::string out = h.runlayer(c.in);
        ASSERT_EQ(out.substr(0, kInit.size()), kInit);
        EXPECT_EQ(out.substr(kInit.size()), c.out);
        EXPECT_EQ(h->vpos, c.vpos);
    }
}
