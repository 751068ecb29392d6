// The LA75 driver as scripts: bytes in, printer bytes out.
#include <gtest/gtest.h>

#include <string>

#include "drivers/la75/la75.hpp"
#include "preview/dec_page.hpp"
#include "tests/support/harness.hpp"

namespace {
const std::string kReset = "\x1b[!p";
const std::string ST = "\x1b\\";

// Output of a job after the soft reset of the initialisation.
std::string script(Harness& h, const std::string& in) {
    std::string out = h.run(in);
    if (out.compare(0, kReset.size(), kReset) != 0) return "<no reset> " + out;
    return out.substr(kReset.size());
}
std::string script(const std::string& in) {
    Harness h(kv_la75_slots);
    return script(h, in);
}

// "*1*" in Code 39 at narrow 1 and wide 3 band columns (ANSI/AIM BC1
// patterns), density 1: a band column is two sixels, plane 0 then plane 1,
// and a bar's last column leaves plane 1 blank (its dot, 1/72 inch across,
// would reach into the next column). So a narrow bar is "~?", a wide one
// "!5~?", a narrow space "??", a wide one "!6?". Six rows of bars are "~";
// the line is ended after 62 counted characters (a repeat counts 4).
// ("\?\?" is two "?".)
const std::string kRow = "~!7?~\?\?\?!5~\?\?\?!5~\?\?\?~\?\?\?" // * and its gap
                         "!5~\?\?\?~!7?~\?\?\?~\?\?\?!5~\?\?\?" // 1 and its gap
                         "~!7?~\?\?\?\r\n!5~\?\?\?!5~\?\?\?~";  // *; the last gap is not sent
// One pass of six rows at column `col` (pitch code 0).
std::string pass(const std::string& row, int col = 13) {
    return "\x1b[3z\x1b[0w\r" + std::string(static_cast<size_t>(col), ' ') + "\x1bP0q\r\n" + row +
           "$\r\n" + ST + "\n";
}
} // namespace

TEST(La75, InitialisationAndSavedSettings) {
    struct Case {
        const char* name;
        int32_t resetstart, savedpitch, savedspacing, pagelines;
        int32_t pitch, linespace, pagelen;
    };
    const Case cases[] = {
        {"defaults", 1, 0, 0, 0, 0, 12, 792},
        {"saved ones ignored with a reset", 1, 2, 6, 0, 0, 12, 792},
        {"saved ones kept without", 0, 2, 6, 0, 2, 6, 792},
        {"configured page length", 1, 0, 0, 70, 0, 12, 840},
        {"page length out of range", 1, 0, 0, 1000, 0, 12, 792},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_la75_slots);
        h->resetstart = c.resetstart;
        h->savedpitch = c.savedpitch;
        h->savedspacing = c.savedspacing;
        h->config[KV_CONFIG_PAGELINES] = c.pagelines;
        EXPECT_EQ(h.run(""), c.resetstart == 1 ? kReset : "");
        EXPECT_EQ(h->pitch, c.pitch);
        EXPECT_EQ(h->linespace, c.linespace);
        EXPECT_EQ(h->pagelen, c.pagelen);
        EXPECT_EQ(h->density, 1);
    }
}

TEST(La75, TrackingOfSequences) {
    struct Case {
        const char* name;
        std::string in;
        std::string out;
        int32_t hpos, pitch, linespace, vpos;
    };
    const Case cases[] = {
        {"DECSHORP 2: 10 cells at 10 cpi are 12 at 12 cpi", "0123456789\x1b[2w",
         "0123456789" + ST + "\x1b[2w", 12, 2, 12, 0},
        {"CUP has two parameters: sent, nothing changes", "ab\x1b[5;1H", "ab" + ST + "\x1b[5;1H", 2,
         0, 12, 0},
        {"8-bit CSI 3 z: 12 lines per inch",
         "\x9b"
         "3z",
         ST + "\x1b[3z", 0, 0, 6, 0},
        {"HPA", "\x1b[7`", ST + "\x1b[7`", 6, 0, 12, 0},
        {"HPR", "ab\x1b[3a", "ab" + ST + "\x1b[3a", 5, 0, 12, 0},
        {"HPR without a parameter moves one", "ab\x1b[a", "ab" + ST + "\x1b[a", 3, 0, 12, 0},
        {"VPR without a parameter moves one line", "\x1b[e", ST + "\x1b[e", 0, 0, 12, 12},
        {"VPA", "\x1b[4d", ST + "\x1b[4d", 0, 0, 12, 36},
        {"VPA above: that line of the next page", "\n\n\n\x1b[2d", "\n\n\n" + ST + "\x1b[2d", 0, 0,
         12, 12},
        {"BS, HT and CR", "abc\b\t\tx\r", "abc\b\t\tx\r", 0, 0, 12, 0},
        {"HT", "abc\t", "abc\t", 8, 0, 12, 0},
        {"invalid pitch code is ignored", "ab\x1b[9w", "ab" + ST + "\x1b[9w", 2, 0, 12, 0},
        {"DEL and 0xFF never sent", "a\x7f\xff", "a", 1, 0, 12, 0},
        {"OSC text absorbed", "\x1b]text\x1b\\", ST + "\x1b]" + ST + ST, 0, 0, 12, 0},
        {"soft font passes", "\x1bP1;1{@AB\x1b\\", ST + "\x1bP1;1{@AB" + ST + ST, 0, 0, 12, 0},
        {"sixel data: - adds 6, FF dropped, CR and BS move nothing", "ab\x1bPq~-~\f\r\b\x1b\\",
         "ab" + ST + "\x1bPq~-~\r\b" + ST + ST, 2, 0, 12, 6},
        {"DECSTR: defaults again", "\x1b[2w\x1b[3z\x1b[!p",
         ST + "\x1b[2w" + ST + "\x1b[3z" + ST + "\x1b[!p", 0, 0, 12, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_la75_slots);
        EXPECT_EQ(script(h, c.in), c.out);
        EXPECT_EQ(h->hpos, c.hpos);
        EXPECT_EQ(h->pitch, c.pitch);
        EXPECT_EQ(h->linespace, c.linespace);
        EXPECT_EQ(h->vpos, c.vpos);
    }
    Harness h(kv_la75_slots);
    h.run("\x1b[2w\x1b[3z");
    EXPECT_EQ(h->savedpitch, 2);
    EXPECT_EQ(h->savedspacing, 6);
    h.run("\x1b"
          "c");
    EXPECT_EQ(h->savedpitch, 0);
    EXPECT_EQ(h->savedspacing, 0);
}

TEST(La75, Code39WorkedByHand) {
    // A field 14 rows deep at a line feed with 12-dot spacing: two passes of
    // six rows, each after DECVERP 3 (6 dots) and followed by LF, then the
    // spacing back (DECVERP 1) and the head back at the line's start.
    const std::string first =
        std::string(13, ' ') + "   \r" + pass(kRow) + pass(kRow) + "\x1b[1z\x1b[0w\r";
    // The last two rows are bits 0 and 1 ("B").
    std::string last = kRow;
    for (char& c : last)
        if (c == '~') c = 'B';
    struct Case {
        const char* name;
        std::string in;
        std::string out;
        int32_t vpos;
    };
    const Case cases[] = {
        // The field is then wholly printed: the second pass only moves the paper.
        {"the last two rows at the next line feed", "|BCODE39 H14|~1~\r\n\r\n",
         first + "\r" + pass(last) + "\x1b[3z\n\x1b[1z\x1b[0w\r", 24},
        // The printer's nearest step to 2 dots is 6.
        {"the last two rows at the end of the input", "|BCODE39 H14|~1~\r\n",
         first + pass(last) + "\x1b[1z\x1b[0w\r", 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_la75_slots);
        EXPECT_EQ(script(h, c.in), c.out);
        EXPECT_EQ(h->vpos, c.vpos);
        EXPECT_EQ(h->fieldhead, nullptr);
    }
}

TEST(La75, ApplicationSixelsAroundAField) {
    // A graphics new line with a field pending: the string is ended, one
    // band of six rows printed while the paper moves six dots, and the
    // string resumed with its introducer and raster attributes.
    Harness h(kv_la75_slots);
    const std::string out = script(h, "|BCODE39 H6|~1~\r\x1bP0q\"1;1~-~\x1b\\");
    const std::string intro = "\x1bP0q\"1;1";
    EXPECT_EQ(out, std::string(15, ' ') + "\r" + ST + intro + "~" + ST + pass(kRow, 12) +
                       "\x1b[1z\x1b[0w\r" + intro + "~" + ST + ST);
    EXPECT_EQ(h->vpos, 6);
    const DecPage page = rebuild_dec(out, DecModel::LA75);
    EXPECT_TRUE(page.problems.empty());
    // The application's two sixels stand six rows apart, the field's bars
    // beside the first.
    EXPECT_TRUE(page.page.get(0, 5));
    EXPECT_TRUE(page.page.get(0, 6));
    EXPECT_FALSE(page.page.get(0, 12));
    EXPECT_EQ(page.page.ink().h, 12);
}

TEST(La75, FormFeedAndVerticalMoves) {
    struct Case {
        const char* name;
        std::string in;
        int passes; // bands of six rows sent
        bool ffsent;
        int32_t vpos;
    };
    const Case cases[] = {
        {"FF with a field: the field, then FF", "|BCODE39 H14|~1~\f", 3, true, 0},
        {"VPR 2 with a field is done by the bands", "|BCODE39 H14|~1~\x1b[2e", 4, false, 24},
        {"VPA 3 likewise", "|BCODE39 H14|~1~\x1b[3d", 4, false, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kv_la75_slots);
        const std::string out = script(h, c.in);
        size_t n = 0;
        for (size_t at = out.find("\x1b[3z"); at != std::string::npos;
             at = out.find("\x1b[3z", at + 1))
            ++n;
        EXPECT_EQ(static_cast<int>(n), c.passes);
        EXPECT_EQ(out.find('\f') != std::string::npos, c.ffsent);
        EXPECT_EQ(h->vpos, c.vpos);
    }
}

TEST(La75, BadInputEndsCleanly) {
    const std::string long300(300, '1');
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"sixel repeat of 99999", "\x1bPq!99999~\x1b\\", ST + "\x1bPq!99999~" + ST + ST},
        {"CAN inside sixel data", "\x1bPq~\x18x", ST + "\x1bPq~\x18x"},
        {"SUB inside sixel data", "\x1bPq~\x1a~\x1b\\", ST + "\x1bPq~\x1a~" + ST + ST},
        {"unterminated DCS", "\x1bP1;1{AB", ST + "\x1bP1;1{AB"},
        {"unterminated OSC is absorbed", "\x1b]AB", ST + "\x1b]"},
        {"CSI over 253 bytes", "\x1b[" + long300 + "w", ST + "\x1b[" + long300 + "w"},
        {"raster attributes over 253 bytes pass", "\x1bPq\"" + long300 + "~\x1b\\",
         ST + "\x1bPq\"" + long300 + "~" + ST + ST},
        {"C1 bytes", "\x90q~\x9c\x85",
         ST + "\x1bPq~" + ST + ST + ST +
             "\x1b"
             "E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(script(c.in), c.out);
    }
}
