// The HP LaserJet+ driver as scripts: bytes in, printer bytes out.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/fields/fieldmake.hpp"
#include "drivers/hplaser/hplaser.hpp"
#include "drivers/hplaser/hplaser_internal.hpp"
#include "tests/support/harness.hpp"
#include "preview/pcl_page.hpp"

namespace {
kv_prnslots hplaser() { return kv_hplaser_slots; }

const std::string kReset = "\033E";

// Output of a job after the printer reset of the initialisation.
std::string script(Harness& h, const std::string& in) {
    const bool first = h->restart != 0;
    std::string out = h.run(in);
    if (!first) return out;
    if (out.compare(0, kReset.size(), kReset) != 0) return "<no reset> " + out;
    return out.substr(kReset.size());
}

std::string script(const std::string& in, bool squish = false, int32_t resetff = 1) {
    Harness h(hplaser());
    h->squishcr = h->holdlf = squish ? 1 : 0;
    h->resetff = resetff;
    return script(h, in);
}

// Code 39 bars of a text between start/stop characters at narrow 1 and wide 3
// band dots: {start, width} of every bar, and the symbol's width. Patterns of
// ANSI/AIM BC1 (bar, space, ... bar, then the narrow gap; 1 = wide).
struct Bars {
    std::vector<std::pair<int, int>> bars;
    int width = 0;
};
Bars code39bars(const std::string& text) {
    auto pattern = [](char c) -> std::string {
        switch (c) {
        case '*':
            return "0100101000";
        case 'A':
            return "1000010010";
        case '1':
            return "1001000010";
        default:
            return "";
        }
    };
    Bars b;
    for (char c : "*" + text + "*") {
        const std::string p = pattern(c);
        for (size_t i = 0; i < p.size(); ++i) {
            const int w = p[i] == '1' ? 3 : 1;
            if (i % 2 == 0) b.bars.push_back({b.width, w});
            b.width += w;
        }
    }
    return b;
}

// One raster row of `b` as the bytes of a PCL raster row (bit 7 leftmost).
std::string rasterrow(const Bars& b) {
    std::string row(static_cast<size_t>((b.width + 7) / 8), '\0');
    for (auto [start, w] : b.bars)
        for (int x = start; x < start + w; ++x)
            row[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    return row;
}
} // namespace

TEST(HpLaser, InitialisationAndReset) {
    Harness h(hplaser());
    EXPECT_EQ(h.run(""), kReset);
    EXPECT_EQ(h->pitch, 1);
    EXPECT_EQ(h->linespace, 1);
    EXPECT_EQ(h->pagelen, 66);
    EXPECT_EQ(h->density, 0); // this printer's default
    EXPECT_EQ(h->autolf, 0);
    EXPECT_EQ(kv_hplaser_w(h.state.get())->rulemode, 0);

    Harness quiet(hplaser());
    quiet->resetstart = 0;
    EXPECT_EQ(quiet.run(""), "");

    struct Case {
        int32_t pagelines;
        int32_t pagelen;
    };
    for (Case c : {Case{80, 80}, Case{999, 999}, Case{1000, 66}, Case{-5, 66}, Case{0, 66}}) {
        SCOPED_TRACE(c.pagelines);
        Harness p(hplaser());
        p->config[KV_CONFIG_PAGELINES] = c.pagelines;
        p.run("");
        EXPECT_EQ(p->pagelen, c.pagelen);
    }
}

TEST(HpLaser, CursorMovesAndRectangles) {
    struct Move {
        int32_t dx, dy;
        std::string out;
    };
    const Move moves[] = {
        {40, -27, "\x1b*p+40x-27Y"}, // worked example: x part lower case, y follows
        {0, -27, "\x1b*p-27Y"},      // no x part
        {12, 0, "\x1b*p+12X"},       // no y part: the x letter ends the sequence
        {-3, 4, "\x1b*p-3x+4Y"},     // signs of either kind
        {0, 0, ""},                  // nothing to move
    };
    for (const Move& m : moves) {
        SCOPED_TRACE(m.out);
        Harness h(hplaser());
        h.run("");
        h.output.clear();
        EXPECT_EQ(kv_hplaser_lrelpos(h.state.get(), m.dx, m.dy), KV_SUCCESS);
        EXPECT_EQ(h.output, m.out);
    }
    struct Rect {
        int32_t w, h;
        std::string out;
    };
    const Rect rects[] = {
        {12, 200, "\x1b*c12a200b0P"}, // solid fill, w by h dots
        {0, 5, ""},
        {5, 0, ""},
    };
    for (const Rect& r : rects) {
        SCOPED_TRACE(r.out);
        Harness h(hplaser());
        h.run("");
        h.output.clear();
        kv_hplaser_lsetrect(h.state.get(), r.w, r.h);
        EXPECT_EQ(h.output, r.out);
    }
}

TEST(HpLaser, RasterFieldFraming) {
    // Worked example: density 0, x 10, y 0, raster mode.
    Harness h(hplaser());
    h.command("H1");
    h.output.clear();
    kv_glor* s = h.state.get();
    ASSERT_EQ(kv_fieldmake(s, 1, 0, 10, "A"), KV_SUCCESS);
    ASSERT_EQ(kv_hplaser_lplotcode(s), KV_SUCCESS);
    const Bars b = code39bars("A");
    const std::string expected =
        "\x1b&f0S\x1b*p+40x-27Y\x1b*t75R\x1b*r1A\x1b*b6W" + rasterrow(b) + "\x1b*rB\x1b&f1S";
    EXPECT_EQ(h.output, expected);
    EXPECT_EQ(s->fieldhead, nullptr); // every field is deleted after printing
}

TEST(HpLaser, DensitySetsResolutionAndScale) {
    struct Case {
        int density;
        std::string resolution;
        int scale;
    };
    const Case cases[] = {
        {0, "\x1b*t75R", 4}, {1, "\x1b*t100R", 3}, {2, "\x1b*t150R", 2}, {3, "\x1b*t300R", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.density);
        Harness h(hplaser());
        // A 10-row field: one slice of 8 rows and one of 2.
        const std::string out = script(h, "|H10 D" + std::to_string(c.density) + "|~A~");
        const std::string row = "\x1b*b6W" + rasterrow(code39bars("A"));
        std::string rows;
        for (int r = 0; r < 10; ++r) rows += row;
        const std::string field =
            "\x1b&f0S\x1b*p-27Y" + c.resolution + "\x1b*r1A" + rows + "\x1b*rB\x1b&f1S";
        EXPECT_EQ(out, std::string(8, ' ') + field + std::string(3, ' '));
        // The page shows a 48 x 10 band-dot symbol scaled to printer dots, its
        // top 27 dots above the baseline.
        const PclJob page = rebuild_pcl(kReset + out);
        EXPECT_TRUE(page.problems.empty());
        ASSERT_EQ(page.sheets.size(), 1u);
        const Bitmap::Box ink = page.sheets[0].ink.ink();
        EXPECT_EQ(ink.x, pcl_column(8));
        EXPECT_EQ(ink.y, pcl_baseline(0) - 27);
        EXPECT_EQ(ink.w, 47 * c.scale); // the trailing gap carries no ink
        EXPECT_EQ(ink.h, 10 * c.scale);
    }
}

TEST(HpLaser, RuleModeDrawsOneRectanglePerBar) {
    Harness h(hplaser());
    const std::string out = script(h, "|ZR1 H2|~A~x");
    const Bars b = code39bars("A");
    std::string rules;
    int at = 0;
    for (auto [start, w] : b.bars) {
        if (start != at) rules += "\x1b*p+" + std::to_string(4 * (start - at)) + "X";
        at = start;
        rules += "\x1b*c" + std::to_string(4 * w) + "a8b0P";
    }
    EXPECT_EQ(out, std::string(8, ' ') + "\x1b&f0S\x1b*p-27Y" + rules + "\x1b&f1S" +
                       std::string(3, ' ') + "x");
    const PclJob page = rebuild_pcl(kReset + out);
    EXPECT_TRUE(page.problems.empty());
    ASSERT_EQ(page.sheets.size(), 1u);
    // The same dots as in raster mode.
    Harness r(hplaser());
    const PclJob raster = rebuild_pcl(kReset + script(r, "|ZR0 H2|~A~x"));
    ASSERT_EQ(raster.sheets.size(), 1u);
    EXPECT_EQ(page.sheets[0].ink.dots, raster.sheets[0].ink.dots);
    // The text after the field stays in its column.
    const PclChar* x = page.sheets[0].charat(pcl_column(11), pcl_baseline(0));
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->c, 'x');
}

TEST(HpLaser, ZParameterChoosesTheDrawing) {
    struct Case {
        const char* body;
        bool rule;
    };
    const Case cases[] = {
        {"ZR1", true},          {"zr1", true},     // upper-cased by the interpreter
        {"ZR1 ZR0", false},     {"ZR1 ZR", false}, // empty: 0
        {"ZR1 ZRX", false},                        // not digits: 0
        {"ZR1 Z", true},        {"ZR1 ZX0", true}, // not R: ignored
        {"ZR4294967296", true},                    // saturates rather than wrapping to 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        Harness h(hplaser());
        EXPECT_EQ(h.command(c.body), KV_SUCCESS);
        EXPECT_EQ(kv_hplaser_w(h.state.get())->rulemode != 0, c.rule);
    }
}

TEST(HpLaser, SqueezingAndHolding) {
    struct Case {
        const char* name;
        std::string in;
        bool squish;
        int32_t resetff;
        std::string out;
    };
    const Case cases[] = {
        {"second CR dropped, both LFs sent before A", "\r\n\r\nA", true, 1, "\r\n\nA"},
        {"held LFs dropped at a form feed", "\n\n\f", true, 1, "\033E"},
        {"form feed kept when not resetting", "\n\n\f", true, 0, "\f"},
        {"form feed leaves the CR count", "\r\f\rA", true, 1, "\r\033EA"},
        {"a run of CRs is one", "\r\r\rA\r", true, 1, "\rA\r"},
        {"ESC is an ordinary byte for the counters", "\n\r\033E\r", true, 1, "\r\n\033E\r"},
        {"nothing squeezed when off", "\r\n\r\nA", false, 1, "\r\n\r\nA"},
        {"form feed becomes a reset", "a\fb", false, 1, "a\033Eb"},
        {"held LFs at the end of the input are dropped", "A\r\n\r\n", true, 1, "A\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(script(c.in, c.squish, c.resetff), c.out);
    }
}

TEST(HpLaser, HeldLineFeedsGoOutBeforeAField) {
    // The symbol belongs on the line after the line feed: it must go out first.
    const std::string out = script("|H1|A\r\n~A~", true);
    const size_t lf = out.find('\n');
    const size_t push = out.find("\x1b&f0S");
    ASSERT_NE(lf, std::string::npos);
    ASSERT_NE(push, std::string::npos);
    EXPECT_LT(lf, push);
    EXPECT_EQ(out.substr(0, 7), "    A\r\n");
    const PclJob page = rebuild_pcl(kReset + out);
    ASSERT_EQ(page.sheets.size(), 1u);
    EXPECT_EQ(page.sheets[0].ink.ink().y, pcl_baseline(1) - 27);
    EXPECT_EQ(page.sheets[0].ink.ink().x, pcl_column(0));
}

TEST(HpLaser, EscapeSequencesAreSteppedOver) {
    // "|H9|" is a command (four spaces out) wherever the sequence before it
    // ended where it should; inside a data block it would pass unchanged.
    const std::string cmd = "|H9|x";
    const std::string spaced = "    x";
    const std::string pipes(9999, '|');
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"raster data are neither controls nor delimiters", "\x1b*b3W\n\f|" + cmd,
         "\x1b*b3W\n\f|" + spaced},
        {"data block of the largest count", "\x1b*b9999W" + pipes + cmd,
         "\x1b*b9999W" + pipes + spaced},
        {"a count of 99999 is no count", "\x1b*b99999W" + cmd, "\x1b*b99999W" + spaced},
        {"16 digits are no count", "\x1b*b0000000000000003W" + cmd,
         "\x1b*b0000000000000003W" + spaced},
        {"15 digits are", "\x1b*b000000000000003Wabc" + cmd, "\x1b*b000000000000003Wabc" + spaced},
        {"a count of 0 passes nothing", "\x1b*b0W" + cmd, "\x1b*b0W" + spaced},
        {"font header and character data", "\x1b)s2W||\x1b(s1W|" + cmd,
         "\x1b)s2W||\x1b(s1W|" + spaced},
        {"transparent data", "\x1b&p2X~~" + cmd, "\x1b&p2X~~" + spaced},
        {"lower-case w: data, then the next parameter", "\x1b*b2w||3Y" + cmd,
         "\x1b*b2w||3Y" + spaced},
        {"the fraction is skipped", "\x1b*b2.75W||" + cmd, "\x1b*b2.75W||" + spaced},
        {"sign before the digits", "\x1b*p+10X" + cmd, "\x1b*p+10X" + spaced},
        {"W of another group is no data", "\x1b&l5W" + cmd, "\x1b&l5W" + spaced},
        {"X of another group is no data", "\x1b*p5X" + cmd, "\x1b*p5X" + spaced},
        {"two-character sequences", "\x1b&l1O\033E" + cmd, "\x1b&l1O\033E" + spaced},
        {"ESC ESC: the second opens the sequence", "\x1b\x1b*b1W|" + cmd, "\x1b\x1b*b1W|" + spaced},
        {"an ESC ending a sequence opens the next", "\x1b*p10\x1b*b1W|" + cmd,
         "\x1b*p10\x1b*b1W|" + spaced},
        {"the last data byte ESC opens nothing", "\x1b&p1X\x1b" + cmd, "\x1b&p1X\x1b" + spaced},
        {"a control as the second byte passes as it is", "\x1b\f" + cmd, "\x1b\f" + spaced},
        {"NUL and ESC in a data block", std::string("\x1b*b2W\0\x1b", 7) + cmd,
         std::string("\x1b*b2W\0\x1b", 7) + spaced},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(hplaser());
        h->squishcr = h->holdlf = 1; // nothing inside a sequence is squeezed or held
        EXPECT_EQ(script(h, c.in), c.out);
        EXPECT_EQ(h.messages, "");
    }
}

TEST(HpLaser, InputEndingInsideASequencePassesEveryByte) {
    // Nothing is added to finish the sequence, nothing read is lost.
    const std::string cases[] = {
        "ab\x1b",       "\x1b*",      "\x1b*b",  "\x1b*b123",
        "\x1b*b1.5",    "\x1b*b5W12", "\x1b*b-", "\x1b*b" + std::string(40, '9'),
        "\x1b*b99999W", "|",          "~",
    };
    for (const std::string& in : cases) {
        SCOPED_TRACE(in);
        Harness h(hplaser());
        EXPECT_EQ(script(h, in), in);
        EXPECT_EQ(h.result, KV_SUCCESS);
    }
}

TEST(HpLaser, SequenceSplitAcrossRunsResumes) {
    Harness h(hplaser());
    EXPECT_EQ(script(h, "\x1b*b3"), "\x1b*b3");
    // The data block's bytes still pass unexamined, then text is text again.
    EXPECT_EQ(script(h, "W|\n~|H9|x"), "W|\n~    x");
    EXPECT_EQ(h.messages, "");
}

TEST(HpLaser, BadBarCodeCharacterStillPrints) {
    Harness h(hplaser());
    const std::string out = script(h, "|H1|~A#~");
    EXPECT_NE(h.messages.find("IVBARC"), std::string::npos);
    EXPECT_NE(out.find("\x1b&f0S"), std::string::npos);
    EXPECT_NE(out.find("\x1b&f1S"), std::string::npos);
    EXPECT_EQ(h->fieldhead, nullptr);
}

TEST(HpLaser, WideFieldRowsStopAtTheBandWidth) {
    Harness h(hplaser());
    // 250 characters: (250 + 2) x 16 = 4032 band dots, cut to 3300 (413 bytes).
    const std::string out = script(h, "|H1 D3|~" + std::string(250, 'A') + "~");
    EXPECT_NE(out.find("\x1b*b413W"), std::string::npos);
    EXPECT_EQ(out.find("\x1b*b414W"), std::string::npos);
    EXPECT_EQ(out.find("\x1b*b504W"), std::string::npos);
}

TEST(HpLaser, RegionSetterMarksBandBits) {
    struct Case {
        int32_t x, y, w, h;
        std::vector<std::pair<int, uint8_t>> row0; // {byte, value} of band row 0
        std::vector<int> rows;                     // band rows touched
    };
    const Case cases[] = {
        {0, 0, 1, 1, {{0, 0x80}}, {0}},
        {3, 0, 3, 1, {{0, 0x1C}}, {0}},            // inside one byte
        {7, 0, 2, 1, {{0, 0x01}, {1, 0x80}}, {0}}, // across a byte edge
        {8, 0, 17, 1, {{0, 0x00}, {1, 0xFF}, {2, 0xFF}, {3, 0x80}}, {0}},
        {3300, 0, 10, 1, {{412, 0x0F}}, {0}}, // cut at 3304 dots
        {0, -1, 1, 3, {{0, 0x80}}, {0, 1}},   // rows above the band ignored
        {0, 7, 1, 5, {}, {7}},                // rows below likewise
        {0, 0, 0, 4, {}, {}},                 // empty
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y) + " " + std::to_string(c.w) +
                     "x" + std::to_string(c.h));
        Harness h(hplaser());
        h.run("");
        kv_glor* s = h.state.get();
        std::fill(std::begin(s->bandmap), std::end(s->bandmap), 0);
        EXPECT_EQ(kv_hplaser_setregion(s, c.x, c.y, c.w, c.h, 0), KV_SUCCESS);
        for (auto [index, value] : c.row0) EXPECT_EQ(s->bandmap[index], value) << index;
        for (int r = 0; r < KV_HPLASER_BANDROWS; ++r) {
            bool any = false;
            for (int k = 0; k < KV_HPLASER_ROWBYTES; ++k)
                any = any || s->bandmap[r * KV_HPLASER_ROWBYTES + k] != 0;
            const bool want = std::find(c.rows.begin(), c.rows.end(), r) != c.rows.end();
            EXPECT_EQ(any, want) << "row " << r;
        }
        for (size_t k = KV_HPLASER_BANDROWS * KV_HPLASER_ROWBYTES; k < KV_BANDBYTES; ++k)
            ASSERT_EQ(s->bandmap[k], 0) << "beyond the band at " << k;
    }
}

TEST(HpLaser, DataBlocksPassExactlyAsTheJobHoldsThem) {
    // Through the real byte layer, which sends every LF of text as CR LF: a
    // byte 10 inside a data block reaches the printer alone, the block ends
    // where its count says, and "|H9|" after it is a command again.
    const std::string cmd = "|H9|x\n";
    const std::string spaced = "    x\r\n";
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"raster row holding LF, then |", "\x1b*b2W\n|" + cmd, "\x1b*b2W\n|" + spaced},
        {"raster row of LFs only", "\x1b*b3W\n\n\n" + cmd, "\x1b*b3W\n\n\n" + spaced},
        {"font header and character data", "\x1b)s2W\n\n\x1b(s1W\n" + cmd,
         "\x1b)s2W\n\n\x1b(s1W\n" + spaced},
        {"transparent data", "\x1b&p3X~\n~" + cmd, "\x1b&p3X~\n~" + spaced},
        {"lower-case w: data, then the next parameter", "\x1b*b1w\n2W\n\n" + cmd,
         "\x1b*b1w\n2W\n\n" + spaced},
        {"text LF right after a block keeps its CR", "\x1b*b1W|\n" + cmd, "\x1b*b1W|\r\n" + spaced},
        {"a block cut off by the end of the input", "\x1b*b5W\n\n", "\x1b*b5W\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(hplaser());
        const std::string out = h.runlayer(c.in);
        ASSERT_EQ(out.substr(0, kReset.size()), kReset);
        EXPECT_EQ(out.substr(kReset.size()), c.out);
        EXPECT_EQ(h.messages, "");
    }
}
