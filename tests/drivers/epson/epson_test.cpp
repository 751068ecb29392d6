// The Epson driver as scripts: bytes in, printer bytes out.
#include <gtest/gtest.h>

#include <string>

#include "core/fields/fieldqueue.hpp"
#include "drivers/epson/epson.hpp"
#include "tests/support/harness.hpp"

namespace {
constexpr auto epson = kv_epson_slots;

const std::string kInitLq = "\x1b@\x1b" "A\x0a\x1b" "C\x42\r";     // 10-dot lines, 66 lines
const std::string kInitFx = "\x1b@\x1b" "A\x0c\x1b" "C\x42\r";     // 12-dot lines, 66 lines

// Output of a job after the printer initialisation.
std::string script(int32_t code, const std::string& in, Harness* keep = nullptr) {
    Harness local(epson(code));
    Harness& h = keep != nullptr ? *keep : local;
    std::string out = h.run(in);
    const std::string& init = code == 400 ? kInitLq : kInitFx;
    if (out.compare(0, init.size(), init) != 0) return "<no init> " + out;
    return out.substr(init.size());
}

// A job, the bytes after the initialisation, and where the paper and the
// line spacing stand afterwards.
struct MotionCase {
    const char* name;
    std::string in;
    std::string out;
    int32_t vpos;
    int32_t linespace;
};

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s.push_back(static_cast<char>(v));
    return s;
}

// The columns of a Code 39 symbol at narrow 1 / wide 3 band columns, as band
// bytes (0xFF for bar columns when the band is all bar).
std::string code39columns(const std::string& text, uint8_t on) {
    static const std::string star = "0100101000", a = "1000010010";
    std::string cols;
    auto add = [&](const std::string& pattern) {
        for (size_t i = 0; i < pattern.size(); ++i) {
            const int width = pattern[i] == '1' ? 3 : 1;
            cols.append(static_cast<size_t>(width), i % 2 == 0 ? static_cast<char>(on) : '\0');
        }
    };
    add(star);
    for (char c : text) {
        if (c == 'A') add(a);
    }
    add(star);
    return cols;
}

// Both planes of each band column, interleaved, 9-pin (one byte per column).
std::string twoplanes(const std::string& cols) {
    std::string out;
    for (char c : cols) {
        out.push_back(c);
        out.push_back(c);
    }
    return out;
}
} // namespace

TEST(Epson, InitialisationSequence) {
    Harness lq(epson(400));
    EXPECT_EQ(lq.run(""), kInitLq);
    EXPECT_EQ(lq->pitch, 12);
    EXPECT_EQ(lq->linespace, 10);
    EXPECT_EQ(lq->pagelen, 660);
    EXPECT_EQ(lq->density, 1);
    Harness fx(epson(384));
    EXPECT_EQ(fx.run(""), kInitFx);
    EXPECT_EQ(fx->linespace, 12);
    EXPECT_EQ(fx->pagelen, 792);
}

TEST(Epson, TrackingScripts) {
    struct Case {
        const char* name;
        int32_t code;
        std::string in;
        std::string out;
        int32_t hpos;
    };
    const Case cases[] = {
        {"text advances by the pitch", 400, "abc", "abc", 36},
        {"0x8D acts as CR", 400, "ab\x8d", "ab\x8d", 0},
        {"high printable bytes advance", 400, "\xa0\xff", "\xa0\xff", 24},
        {"BS steps back one character", 400, "ab\b", "ab\b", 12},
        {"HT to the next default stop", 400, "a\t", "a\t", 96},
        {"ESC D NUL stores a stop and reads on", 400, bytes({27, 'D', 0, 3, 2}) + "\t",
         bytes({27, 'D', 0, 3, 2}) + "\t", 24},
        {"ESC W 48 turns double width on", 400, "\x1bW0a", "\x1bW0a", 24},
        {"ESC W 0 turns it off", 400, bytes({27, 'W', 0}) + "a", bytes({27, 'W', 0}) + "a", 12},
        {"ESC x 49 is ignored", 400, "\x1bx1\x1b\\" + bytes({30, 0}), "\x1bx1\x1b\\" + bytes({30, 0}), 30},
        {"ESC x 1 scales ESC \\ by 2/3", 400, bytes({27, 'x', 1, 27, '\\', 30, 0}),
         bytes({27, 'x', 1, 27, '\\', 30, 0}), 20},
        {"ESC $ absolute in 1/60 inch", 400, bytes({27, '$', 10, 0}), bytes({27, '$', 10, 0}), 20},
        {"ESC $ beyond 15 inches is ignored", 400, bytes({27, '$', 0x90, 3}),
         bytes({27, '$', 0x90, 3}), 0},
        {"ESC * 32 moves at 120 dpi", 400, bytes({27, '*', 32, 2, 0, 1, 2, 3, 4, 5, 6}),
         bytes({27, '*', 32, 2, 0, 1, 2, 3, 4, 5, 6}), 2},
        {"ESC * 40 moves at 120 dpi", 400, bytes({27, '*', 40, 1, 0, 1, 2, 3}),
         bytes({27, '*', 40, 1, 0, 1, 2, 3}), 1},
        {"ESC * 60 moves at 60 dpi", 400, bytes({27, '*', 60, 3, 0, 9, 9, 9, 9, 9, 9, 9, 9, 9}),
         bytes({27, '*', 60, 3, 0, 9, 9, 9, 9, 9, 9, 9, 9, 9}), 6},
        {"ESC K data are not text", 384, bytes({27, 'K', 2, 0, 'a', 'b'}),
         bytes({27, 'K', 2, 0, 'a', 'b'}), 4},
        {"ESC B list bytes are ordinary bytes", 400, bytes({27, 'B', 'x', 10, 0}),
         bytes({27, 'B', 'x', 10, 0}), 12}, // LF goes out as itself: no fields pending
        {"SO doubles the pitch until CR", 400, "\x0e" "a\ra", "\x0e" "a\ra", 12},
        {"SI condensed", 400, "\x0f" "a", "\x0f" "a", 7},
        {"ESC ! elite and double width", 400, "\x1b!\x21" "a", "\x1b!\x21" "a", 20},
        {"ESC SP adds space", 400, bytes({27, ' ', 3}) + "a", bytes({27, ' ', 3}) + "a", 15},
        {"CAN cancels the line", 400, "ab\x18", "ab\x18", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(epson(c.code));
        EXPECT_EQ(script(c.code, c.in, &h), c.out);
        EXPECT_EQ(h->hpos, c.hpos);
    }
}

TEST(Epson, PaperMotionWithoutFields) {
    using Case = MotionCase;
    std::string page(66, '\n');
    std::string pageplus(70, '\n');
    const Case cases[] = {
        {"LF and FF are single bytes", "\n\f", "\n\f", 0, 10},
        {"VT without stops sends VT and a line feed", "\v", "\v\n", 10, 10},
        {"VT with stops counted sends only VT", bytes({27, 'b', 0, 2, 4, 0}) + "\v",
         bytes({27, 'b', 0, 2, 4, 0}) + "\v", 0, 10},
        {"ESC J 8 advances and sends nothing", "\x1bJ\x08", "", 0, 10},
        {"ESC 3 and ESC A set the spacing", bytes({27, '3', 30, 27, 'A', 7}) + "\n",
         bytes({27, '3', 30, 27, 'A', 7}) + "\n", 7, 7},
        {"ESC 0 is vdpi / 8", "\x1b" "0\n", "\x1b" "0\n", 7, 7},
        {"form feed after exactly one page sends nothing", page + "\f", page, 0, 10},
        // The head is four lines into the next page: the form feed must go out.
        {"form feed after more than a page goes out", pageplus + "\f", pageplus + "\f", 0, 10},
        {"ESC C sets the page length", bytes({27, 'C', 2}) + "\n\n\f",
         bytes({27, 'C', 2}) + "\n\n", 0, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(epson(400));
        EXPECT_EQ(script(400, c.in, &h), c.out);
        EXPECT_EQ(h->vpos, c.vpos);
        EXPECT_EQ(h->linespace, c.linespace);
    }
}

TEST(Epson, TwentyRowFieldOnNinePinsPrintsInOverlappingBands) {
    Harness h(epson(384));
    // A 20-row field at column 5 (after the command's five spaces).
    const std::string out = script(384, "|H20|~A~\r\n\r\n", &h);
    const std::string cols = twoplanes(code39columns("A", 0xFF));
    const std::string graphics = "\x1bL" + bytes({static_cast<int>(cols.size()) & 255,
                                                  static_cast<int>(cols.size()) >> 8}) + cols;
    const std::string expected =
        "        " "\r"                   // padding, then the job's CR
        "\r     " + graphics + "\x1b" "A\x08\n" // rows 0-7 at column 5, advance 8
        "\r     " + graphics + "\x1b" "A\x04\n" // rows 8-15, advance 4
        "\x1b" "A\x0c" "\r"              // spacing back, head back to column 0
        "\r"                             // the job's second CR
        "\r     " + graphics + "\x1b" "A\x08\n" // rows 12-19, advance 8
        "\x1b" "A\x04\n"                 // nothing left of the field, advance 4
        "\x1b" "A\x0c" "\r";
    EXPECT_EQ(out, expected);
    EXPECT_EQ(h->fieldhead, nullptr);
    EXPECT_EQ(h->vpos, 24);
}

TEST(Epson, TwentyFourPinBandsTripleEveryRow) {
    Harness h(epson(400));
    // A one-row field (H1): every bar column is the band byte 0x80.
    const std::string out = script(400, "|H1 D0|~A~\r\n", &h);
    const std::string cols = code39columns("A", 0x80);
    std::string data;
    for (char c : cols) {
        const std::string left = c ? bytes({0xE0, 0x00, 0x00}) : bytes({0, 0, 0});
        data += left + bytes({0, 0, 0}); // density 0: the right plane stays blank
    }
    const int n = static_cast<int>(cols.size()) * 2;
    // 10 spaces of padding; the band goes to column 7 (after the command).
    const std::string expected = std::string(10, ' ') + "\r" "\r" + std::string(7, ' ') + "\x1b*!" +
                                 bytes({n & 255, n >> 8}) + data + "\x1b" "A\x08\n" +
                                 "\x1b" "A\x02\n" "\x1b" "A\x0a" "\r";
    EXPECT_EQ(out, expected);
}

TEST(Epson, HeadReturnsToItsColumnAfterABand) {
    Harness h(epson(400));
    // Text, a field in the middle of the line, then the line feed.
    const std::string out = script(400, "ab|H1|~A~cd\r\n", &h);
    // After the band the head goes back to column 0 (the position before LF)...
    EXPECT_EQ(out.substr(out.size() - 4), "\x1b" "A\x0a" "\r");
    // ...and the band was placed at the field's column: "ab" and the command's
    // four spaces make six cells.
    const size_t band = out.find("\r\r");
    ASSERT_NE(band, std::string::npos);
    EXPECT_EQ(out.substr(band + 2, 6), std::string(6, ' '));
    EXPECT_EQ(out.substr(band + 8, 3), "\x1b*!");
}

TEST(Epson, FormFeedPrintsPendingFieldsUpToThePageEnd) {
    Harness h(epson(400));
    // A field 20 rows tall on the last line of a 3-line page (30 dots): ten
    // rows fit; the page is then full, so no form feed goes out, and the
    // rest of the field waits for the next page, where the end of the input
    // prints it: the paper stops ten rows into that page.
    const std::string out = script(400, bytes({27, 'C', 3}) + "\n\n|H20|~A~\f", &h);
    EXPECT_EQ(h->vpos, 10);
    EXPECT_EQ(h->fieldhead, nullptr);
    EXPECT_EQ(out.find('\f'), std::string::npos);
    // With room left on the page the form feed is sent after the bands.
    Harness roomy(epson(400));
    const std::string out2 = script(400, "|H20|~A~\f", &roomy);
    EXPECT_EQ(out2.back(), '\f');
    EXPECT_EQ(roomy->fieldhead, nullptr);
}

TEST(Epson, EndOfInputPrintsThePendingFieldsAsFarAsTheyReach) {
    // 9-pin, 12-dot lines. g(b): the Code 39 "A" band at column c with band
    // byte b in its bar columns, both planes.
    auto g = [](int cells, uint8_t b) {
        const std::string cols = twoplanes(code39columns("A", b));
        const int n = static_cast<int>(cols.size());
        return "\r" + std::string(static_cast<size_t>(cells), ' ') + "\x1bL" +
               bytes({n & 255, n >> 8}) + cols;
    };
    const std::string A8 = bytes({27, 'A', 8}), A4 = bytes({27, 'A', 4}), A2 = bytes({27, 'A', 2});
    const std::string A12 = bytes({27, 'A', 12}); // the job's spacing restored
    struct Case {
        const char* name;
        std::string in;
        std::string out;
        int32_t vpos; // the paper stops at the fields' lowest row
    };
    const Case cases[] = {
        {"last line without a line feed: 20 rows in steps of 8, 8, 4", "|H20|~A~",
         std::string(8, ' ') + g(5, 0xFF) + A8 + "\n" + g(5, 0xFF) + "\n" + g(5, 0xF0) + A4 + "\n" +
             A12 + "\r" + std::string(8, ' '),
         20},
        {"a symbol taller than the lines after it: 30 rows, one line fed by the job",
         "|H30|~A~\r\n",
         std::string(8, ' ') + "\r" + g(5, 0xFF) + A8 + "\n" + g(5, 0xFF) + A4 + "\n" + A12 + "\r" +
             g(5, 0xFF) + A8 + "\n" + g(5, 0xFF) + "\n" + g(5, 0xC0) + A2 + "\n" + A12 + "\r",
         30},
        {"padding off: the field is the last thing made", "|P0 H8|~A~",
         std::string(7, ' ') + g(7, 0xFF) + A8 + "\n" + A12 + "\r" + std::string(7, ' '), 8},
        {"a lone delimiter at the end prints on its line first", "|H8|~A~x~",
         std::string(7, ' ') + "x~" + g(4, 0xFF) + A8 + "\n" + A12 + "\r" + std::string(9, ' '), 8},
        {"a field the last line feed printed whole: nothing more", "|H8|~A~\r\n",
         std::string(7, ' ') + "\r" + g(4, 0xFF) + A8 + "\n" + A4 + "\n" + A12 + "\r", 12},
        {"no field: nothing more", "ab\r\n", "ab\r\n", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(epson(384));
        EXPECT_EQ(script(384, c.in, &h), c.out);
        EXPECT_EQ(h->vpos, c.vpos);
        EXPECT_EQ(h->fieldhead, nullptr);
    }
}

TEST(Epson, BinaryBytesOfACommandPassExactlyAsTheJobHoldsThem) {
    // Through the real byte layer, which sends every LF of text as CR LF: a
    // byte 10 among a command's counts, parameters or bit-image data must
    // reach the printer alone, and the text after the command keeps its CR LF.
    using Case = MotionCase;
    const std::string ten = bytes({1, 10, '|', '~', 10, 27, 12, 13, 10, 10});
    const Case cases[] = {
        {"bit image holding LF and then |", bytes({27, 'K', 2, 0, 10, '|'}) + "ab\n",
         bytes({27, 'K', 2, 0, 10, '|'}) + "ab\r\n", 12, 12},
        {"ten columns: the count holds 10", bytes({27, 'L', 10, 0}) + ten + "x\n",
         bytes({27, 'L', 10, 0}) + ten + "x\r\n", 12, 12},
        {"three bytes a column", bytes({27, '*', 39, 1, 0, 10, 10, 10}) + "\n",
         bytes({27, '*', 39, 1, 0, 10, 10, 10}) + "\r\n", 12, 12},
        {"ESC A 10 and ESC C 10", bytes({27, 'A', 10, 27, 'C', 10}) + "a\n",
         bytes({27, 'A', 10, 27, 'C', 10}) + "a\r\n", 10, 10},
        {"a tab list holding 10", bytes({27, 'D', 5, 10, 0}) + "\n",
         bytes({27, 'D', 5, 10, 0}) + "\r\n", 12, 12},
        {"ESC J 10 advances 1 dot and no line more", bytes({27, 'J', 10}) + "a",
         bytes({27, 'A', 1, 10, 27, 'A', 12, 13}) + "a", 1, 12},
        {"a block cut off by the end of the input", bytes({27, 'K', 5, 0, 10}),
         bytes({27, 'K', 5, 0, 10}), 0, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(epson(384));
        const std::string out = h.runlayer(c.in);
        ASSERT_EQ(out.substr(0, kInitFx.size()), kInitFx);
        EXPECT_EQ(out.substr(kInitFx.size()), c.out);
        EXPECT_EQ(h->vpos, c.vpos);
        EXPECT_EQ(h->linespace, c.linespace);
        EXPECT_EQ(h.messages, "");
    }
    // A LF inside the data still counts as a line of the job.
    Harness h(epson(384));
    h.runlayer(bytes({27, 'K', 1, 0, 10}) + "|H0|");
    EXPECT_NE(h.messages.find("At line number 2."), std::string::npos) << h.messages;
}
