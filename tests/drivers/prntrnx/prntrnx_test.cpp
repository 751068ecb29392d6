// The Printronix driver as scripts: bytes in (as the byte layer delivers
// them, every LF as CR LF), printer bytes out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fields/fieldqueue.hpp"
#include "drivers/prntrnx/prntrnx_internal.hpp"
#include "drivers/prntrnx/prntrnx_tables.hpp"
#include "tests/support/harness.hpp"

namespace {
constexpr kv_prnslots kSlots = kv_mvp_slots;

const std::string kEnqLf = "\x05\n";
std::string blankrows(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += kEnqLf;
    return s;
}
std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Output of a job after the initialisation (a lone CR); `commands` are
// applied first, `pagelines` is the configured page length.
std::string script(const std::string& in, const std::string& commands = "", int pagelines = 0,
                   Harness* keep = nullptr) {
    Harness local(kSlots);
    Harness& h = keep != nullptr ? *keep : local;
    h->config[KV_CONFIG_PAGELINES] = pagelines;
    if (!commands.empty()) h.command(commands);
    std::string out = h.run(in, true);
    if (commands.empty()) {
        if (out.empty() || out[0] != '\r') return "<no init> " + out;
        out.erase(0, 1);
    }
    return out;
}

// A plot line of 6-dot bytes as the printer takes it.
std::string plotline(char intro, const std::vector<uint8_t>& row) {
    std::string s(1, intro);
    for (uint8_t b : row) s.push_back(static_cast<char>((b & 127) | 64));
    return s + "\n";
}

// Packs dot columns ('1' = dot) starting at dot x into 6-dot bytes.
std::vector<uint8_t> pack(const std::string& dots, int x, std::vector<uint8_t> row = {}) {
    for (size_t i = 0; i < dots.size(); ++i) {
        if (dots[i] != '1') continue;
        const size_t d = static_cast<size_t>(x) + i;
        if (row.size() <= d / 6) row.resize(d / 6 + 1, 0);
        row[d / 6] |= static_cast<uint8_t>(1 << (d % 6));
    }
    return row;
}

// Code 39 "*A*" at narrow 1, wide 3 dots, as dot columns.
std::string code39_a() {
    const std::string star = "0100101000", a = "1000010010";
    std::string cols;
    for (const std::string* p : {&star, &a, &star}) {
        for (size_t i = 0; i < p->size(); ++i)
            cols.append((*p)[i] == '1' ? 3u : 1u, i % 2 == 0 ? '1' : '0');
    }
    while (!cols.empty() && cols.back() == '0') cols.pop_back();
    return cols;
}
} // namespace

TEST(Prntrnx, InitialisationAndGeometry) {
    Harness h(kSlots);
    EXPECT_EQ(h.run(""), "\r");
    EXPECT_EQ(h->pitch, 1);
    EXPECT_EQ(h->hdpi, 60);
    EXPECT_EQ(h->vdpi, 72);
    EXPECT_EQ(h->linespace, 12);
    EXPECT_EQ(h->pagelen, 66);
    EXPECT_EQ(h->density, 1);
    struct Case {
        int pagelines, pagelen;
    };
    for (const Case& c : {Case{10, 10}, Case{999, 999}, Case{1000, 66}, Case{-3, 66}}) {
        Harness p(kSlots);
        p->config[KV_CONFIG_PAGELINES] = c.pagelines;
        p.run("");
        EXPECT_EQ(p->pagelen, c.pagelen) << c.pagelines;
    }
}

TEST(Prntrnx, TextLineScripts) {
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"underscores over characters only underline them (second pass)", "AB\r__\n", "AB\r__\r\n"},
        {"a character typed over an underscore underlines it", "_\rA\n", "A\r_\r\n"},
        {"overstrike replaces", "AB\rX\n", "XB\r\n"},
        {"trailing blanks are not sent", "A   \n", "A\r\n"},
        {"an empty line", "\n", "\r\n"},
        {"ACK: 8 lines per inch for the line",
         "\x06"
         "ab\n",
         "\x06"
         "ab\r\n"},
        {"BS: elongated line",
         "\x08"
         "ab\n",
         "\x08"
         "ab\r\n"},
        {"ACK and BS apply to one line only",
         "\x06\x08"
         "a\nb\n",
         "\x06\x08"
         "a\r\nb\r\n"},
        {"SO .. SI expanded cells",
         "\x0e"
         "AB\x0f"
         "C\n",
         "\x0e"
         "AB\x0f"
         "C\r\n"},
        {"the underline pass switches expansion like the text",
         "\x0e"
         "A\x0f"
         "B\r__\n",
         "\x0e"
         "A\x0f"
         "B\r\x0e_\x0f_\r\n"},
        {"SO lasts for the line only",
         "\x0e"
         "A\nB\n",
         "\x0e"
         "A\r\nB\r\n"},
        {"HT to the next multiple of 8", "ab\tc\n", "ab      c\r\n"},
        {"bytes 128-255 print in their cells",
         "a\xe9"
         "b\n",
         "a\xe9"
         "b\r\n"},
        {"other controls pass at once",
         "a\x07"
         "b\n",
         "\x07"
         "ab\r\n"},
        {"cells beyond 165 are dropped", std::string(170, 'x') + "\n",
         std::string(165, 'x') + "\r\n"},
        {"the last line without LF prints at the end", "a\nlast", "a\r\nlast\r\n"},
        {"a lone delimiter as the last byte prints in its cell", "ab~", "ab~\r\n"},
        {"a doubled delimiter at the end", "ab~~", "ab~\r\n"},
        {"a command's padding, then the last line's text", "ab|H9|x", "ab    x\r\n"},
        {"a command closed by the last byte", "ab|H9|", "ab\r\n"},
        {"an unclosed sequence at the end", "ab ~12", "ab\r\n"},
        {"FF at the top of form", "\f", "\f"},
        {"FF after 10 lines: 56 blank lines", repeat("x\n", 10) + "\f",
         repeat("x\r\n", 10) + repeat("\r\n", 56)},
        {"FF with the page's first line still in the buffer prints it first", "AB\f",
         "AB\r\n" + repeat("\r\n", 65)},
        {"FF after 4 lines at 8 lpi: the page is counted in dot rows", repeat("\x06x\n", 4) + "\f",
         repeat("\x06x\r\n", 4) + repeat("\r\n", 63)},
        {"FF after 3 lines at 8 lpi: whole lines, then blank dot rows", repeat("\x06x\n", 3) + "\f",
         repeat("\x06x\r\n", 3) + repeat("\r\n", 63) + blankrows(9)},
        {"FF after an elongated line", "\x08x\n\f", "\x08x\r\n" + repeat("\r\n", 64)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(script(c.in), c.out);
    }
    // Without padding nothing reaches the driver after a sequence closed by
    // the last byte: the line prints when the input ends, with its symbol,
    // exactly as a line feed would have printed it.
    EXPECT_EQ(script("ab ~12~", "P0"), script("ab ~12~\n", "P0"));
    EXPECT_NE(script("ab ~12~", "P0"), "ab\r\n");
    // A configured page length of 10 lines.
    EXPECT_EQ(script("a\nb\nc\n\f", "", 10), "a\r\nb\r\nc\r\n" + repeat("\r\n", 7));
}

TEST(Prntrnx, PositionTracking) {
    struct Case {
        const char* name;
        std::string in;
        int hpos, vpos, linespace, pagerow;
    };
    const Case cases[] = {
        {"HT after 3 characters", "abc\t", 8, 0, 12, 0},
        {"HT stops at the last cell", std::string(164, 'x') + "\t\t", 165, 0, 12, 0},
        {"CR returns to column 0", "abc\r", 0, 0, 12, 0},
        {"a line at 6 lpi", "a\n", 0, 1, 12, 12},
        {"a line at 8 lpi advances 9 dot rows",
         "\x06"
         "a\n",
         0, 1, 12, 9},
        {"an elongated line counts two",
         "\x08"
         "a\n",
         0, 2, 12, 24},
        {"ACK sets the spacing of the current line", "\x06", 0, 0, 9, 0},
        {"ACK and BS", "\x06\x08", 0, 0, 18, 0},
        {"66 lines come back to the top", repeat("\n", 66), 0, 0, 12, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kSlots);
        if (c.in.back() != '\n') {
            // Bytes straight to the driver, before the end of the input
            // would print the line.
            h.run("");
            h->stop = 0;
            for (char b : c.in) kv_mvp_qoutc(h.state.get(), static_cast<uint8_t>(b));
            EXPECT_EQ(h->hpos, c.hpos);
            EXPECT_EQ(h->hdots, 6 * c.hpos);
            EXPECT_EQ(h->linespace, c.linespace);
            continue;
        }
        h.run(c.in, true);
        EXPECT_EQ(h->hpos, c.hpos);
        EXPECT_EQ(h->vpos, c.vpos);
        EXPECT_EQ(h->linespace, c.linespace);
        EXPECT_EQ(kv_mvp_w(h.state.get())->pagerow, c.pagerow);
    }
}

TEST(Prntrnx, TextTakenInRunsPrintsAsTakenByteByByte) {
    // Through the real byte layer the driver takes the plain bytes after a
    // character or a control code as one run from the bytes read ahead; fed
    // one byte at a time (no read-ahead to take from) the same job is the
    // reference, byte for byte, with the same position afterwards.
    struct Case {
        const char* name;
        std::string in;
        std::string commands;
    };
    // The command delimiter at the last byte of the first 64 KiB block read.
    std::string edge;
    while (edge.size() < 65535 - 70) edge += std::string(69, 'e') + "\n";
    edge += std::string(65535 - edge.size(), 'f') + "|H3|~A~g\n";
    const Case cases[] = {
        {"plain lines", "The quick brown fox\njumps over\n\nthe lazy dog\n", ""},
        {"overstrike after CR", "abcdef\rXY Z\rabQ\n", ""},
        {"a longer line over a shorter one", "ab\rwxyz\n", ""},
        {"underscores under text and text over them", "AB CD\r__ _\n_ _\rA B\n", ""},
        {"expanded runs and overstrike on them",
         "\x0e"
         "AB C_D\x0f"
         "EF\r\x0e"
         "x_\n",
         ""},
        {"cells beyond 165, then overstrike", std::string(170, 'x') + "\ryy\n", ""},
        {"exactly 165 cells, then 166", std::string(165, 'x') + "\n" + std::string(166, 'y') + "\n",
         ""},
        {"HT between runs", "ab\tcd\t\tef\n", ""},
        {"a command's padding before the text after it", "ab|H9|xyz\n", ""},
        {"the same, no byte read past a two-byte delimiter", "ab<<H9<<xyz\n", "X<<"},
        {"doubled delimiters are text", "a||b~~c\n", ""},
        {"a field on the line", "ab ~12~ cd\nnext\n", "BCODE39 H3 D0"},
        {"a plot line, then text",
         "\x05"
         "ABC\nxyz\n",
         ""},
        {"FF, then text", "abc\fdef\n", ""},
        {"bytes 128-255 and a control passed on",
         "a\xe9\xff"
         "b\x07"
         "cd\n",
         ""},
        {"ACK and BS lines",
         "\x06"
         "abc\n\x08"
         "def\n",
         ""},
        {"a delimiter at the edge of the bytes read ahead", edge, "BCODE39 D0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness bytes(kSlots), runs(kSlots);
        if (!c.commands.empty()) {
            bytes.command(c.commands);
            runs.command(c.commands);
        }
        const std::string want = bytes.run(c.in, true);
        EXPECT_TRUE(runs.runlayer(c.in) == want)
            << runs.output.size() << " bytes, not " << want.size();
        EXPECT_EQ(runs->hpos, bytes->hpos);
        EXPECT_EQ(runs->vpos, bytes->vpos);
        EXPECT_EQ(kv_mvp_w(runs.state.get())->pagerow, kv_mvp_w(bytes.state.get())->pagerow);
    }
}

TEST(Prntrnx, ApplicationPlotLines) {
    const std::string abc = plotline(5, {1, 2, 3});
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"an odd-dot line is one dot row (the CR before its LF does not end it)",
         "\x05"
         "ABC\n",
         abc},
        {"an even-dot line waits for the odd one",
         "\x04"
         "ABC\n\x05"
         "ABC\n",
         plotline(4, {1, 2, 3}) + abc},
        {"bytes with bit 7 set are plot data too", "\x05\xc1\xc2\xc3\n", abc},
        {"data beyond 165 bytes is dropped", "\x05" + std::string(200, 'A') + "\n",
         plotline(5, std::vector<uint8_t>(165, 1))},
        {"a blank plot line is owed and sent as ENQ LF", "\x05@@@\n", kEnqLf},
        {"a plot line cut off by the end of the input still prints",
         "\x05"
         "ABC",
         abc},
        {"rows already sent never print again on a later line",
         "\x05"
         "A\n\n\x05"
         "B\n",
         plotline(5, {1}) + blankrows(11) + plotline(5, {2})},
        {"text after plot rows is drawn into the rest of its line",
         "\x05"
         "A\n"
         "_\n",
         plotline(5, {1}) + blankrows(7) + plotline(5, {0x3F}) + blankrows(3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(script(c.in), c.out);
    }
}

TEST(Prntrnx, LineWithAFieldIsSentAsDotRows) {
    // "AB" CR "__" with a Code 39 field of 5 rows starting at cell 2, odd
    // plane only (density 0): 12 dot rows carrying the glyphs, the underline
    // in row 8 and the field.
    const uint8_t glyphA[18] = {0x04, 0x00, 0x00, 0x06, 0x0A, 0x00, 0x00, 0x09, 0x1F,
                                0x00, 0x11, 0x00, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00};
    const uint8_t* glyphB = kv_mvp_glyph('B');
    std::string expected;
    int owed = 0;
    for (int r = 0; r < 12; ++r) {
        std::vector<uint8_t> odd, even;
        if (r < 9) {
            odd = {glyphA[2 * r], glyphB[2 * r]};
            even = {glyphA[2 * r + 1], glyphB[2 * r + 1]};
        }
        if (r == 8) odd = {0x3F, 0x3F};
        if (r < 5) odd = pack(code39_a(), 12, odd);
        while (!odd.empty() && odd.back() == 0) odd.pop_back();
        while (!even.empty() && even.back() == 0) even.pop_back();
        if (odd.empty() && even.empty()) {
            ++owed;
            continue;
        }
        expected += blankrows(owed);
        owed = 0;
        if (!even.empty()) expected += plotline(4, even);
        expected += plotline(5, odd);
    }
    expected += blankrows(owed);
    EXPECT_EQ(script("AB\r__~A~\n", "BCODE39 H5 D0"), expected);
    // Without the field the same line is text.
    EXPECT_EQ(script("AB\r__\n"), "AB\r__\r\n");
}

TEST(Prntrnx, AFieldThatCannotBeDrawnStopsItsLineAtTheRow) {
    // Two Code 39 fields 20 rows deep; the one drawn second has lost its
    // type, so drawing it fails. The line's rows stop at the first: that row
    // carries the other field's bars and nothing of the rows below it, and
    // each further line feed prints one row more.
    Harness h(kSlots);
    h.command("BCODE39 H20 D0");
    h->endinput = nullptr; // the line stays in the buffer at the end
    h.run("~A~ ~A~", true);
    kv_glor* s = h.state.get();
    kv_fieldcursor cur;
    kv_fieldfirst(s, &cur);
    ASSERT_NE(cur.current, nullptr);
    const int32_t x = cur.current->x;
    kv_fieldnext(s, &cur);
    ASSERT_NE(cur.current, nullptr);
    cur.current->type = 0;
    const std::string row = plotline(5, pack(code39_a(), x));
    h.output.clear();
    EXPECT_EQ(kv_mvp_qoutc(s, '\n'), KV_INTRNL);
    EXPECT_EQ(h.output, row);
    EXPECT_EQ(kv_mvp_w(s)->dotrow, 1);
    EXPECT_EQ(kv_mvp_qoutc(s, '\n'), KV_INTRNL);
    EXPECT_EQ(h.output, row + row);
    EXPECT_EQ(kv_mvp_w(s)->dotrow, 2);
}

TEST(Prntrnx, FieldAfterATabStartsAtItsDots) {
    Harness h(kSlots);
    h.command("BCODE39 H1 D0");
    const std::string out = h.run("abc\t~A~\n", true);
    // The rasterised "abc" rows first; the field's only row is row 0.
    const std::string row0 =
        plotline(5, pack(code39_a(), 48,
                         {kv_mvp_glyph('a')[0], kv_mvp_glyph('b')[0], kv_mvp_glyph('c')[0]}));
    EXPECT_EQ(out.substr(0, row0.size()), row0);
}

TEST(Prntrnx, BlankRowsAreOwedInBurstsOf792AtMost) {
    Harness h(kSlots);
    h.run("");
    kv_glor* s = h.state.get();
    h.output.clear();
    ASSERT_TRUE(kv_ok(kv_mvp_oweblank(s, 1000)));
    EXPECT_TRUE(h.output == blankrows(792)) << h.output.size();
    EXPECT_EQ(kv_mvp_w(s)->slewcount, 208);
    ASSERT_TRUE(kv_ok(kv_mvp_oweblank(s, 584)));
    EXPECT_TRUE(h.output == blankrows(1584)) << h.output.size();
    EXPECT_EQ(kv_mvp_w(s)->slewcount, 0);
    // Through the driver: a field that is never drawn (it starts past the
    // last cell) keeps 1000 dot rows of graphics lines, all blank.
    Harness j(kSlots);
    j.command("BCODE39 H1000");
    const std::string out = j.run(std::string(21, '\t') + "~A~" + repeat("\n", 84), true);
    EXPECT_TRUE(out == blankrows(1008)) << out.size() << " bytes";
}

TEST(Prntrnx, FieldsStillPendingPrintAtTheEnd) {
    // A 20-row field on a job's only line, which has no LF: the line prints,
    // then the paper goes on a line at a time while the field reaches (its
    // rows imaged ahead). At D1 an even plot line comes first: the bars'
    // dots but each bar's last, whose even dot would widen the bar by half.
    std::string even = code39_a();
    for (size_t i = 0; i < even.size(); ++i)
        if (even[i] == '1' && (i + 1 == even.size() || even[i + 1] == '0')) even[i] = '0';
    const std::string odd = plotline(5, pack(code39_a(), 0));
    const std::pair<const char*, std::string> cases[] = {{"D0", odd},
                                                         {"D1", plotline(4, pack(even, 0)) + odd}};
    for (const auto& [density, bars] : cases) {
        SCOPED_TRACE(density);
        Harness h(kSlots);
        h.command(std::string("BCODE39 H20 ") + density);
        const std::string out = h.run("~A~", true);
        EXPECT_EQ(out, repeat(bars, 20) + blankrows(4));
        EXPECT_EQ(h->fieldhead, nullptr);
    }
}

TEST(Prntrnx, RegionSetterMarksSixDotBytes) {
    struct Case {
        const char* name;
        int x, y, w, h, density;
        int row, first;
        std::vector<uint8_t> odd, even;
    };
    const Case cases[] = {
        {"one whole byte", 0, 0, 6, 1, 0, 0, 0, {0x3F}, {}},
        {"one dot, bit 0 leftmost", 2, 3, 1, 1, 0, 3, 0, {0x04}, {}},
        // Even dots stand half a dot right: the last dot gets none.
        {"a run across a byte boundary", 4, 9, 4, 1, 1, 9, 0, {0x30, 0x03}, {0x30, 0x01}},
        {"bytes in between are filled", 5, 1, 8, 1, 0, 1, 0, {0x20, 0xFF, 0x01}, {}},
        {"clipped at 165 bytes", 985, 0, 20, 1, 0, 0, 164, {0x3E}, {}},
        {"nothing for width 0", 0, 0, 0, 1, 0, 0, 0, {0x00}, {}},
        {"rows past 9 are not written", 0, 10, 6, 5, 1, 9, 0, {0x00}, {0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h(kSlots);
        h.run("");
        kv_glor* s = h.state.get();
        kv_mvp_setregion(s, c.x, c.y, c.w, c.h, c.density);
        for (size_t i = 0; i < c.odd.size(); ++i)
            EXPECT_EQ(kv_mvp_irow(s, 0, c.row)[c.first + static_cast<int>(i)], c.odd[i]);
        for (size_t i = 0; i < c.odd.size(); ++i) {
            const uint8_t even = i < c.even.size() ? c.even[i] : 0;
            EXPECT_EQ(kv_mvp_irow(s, 1, c.row)[c.first + static_cast<int>(i)], even);
        }
        // Only the six dot bits of a byte count: the printer takes no others.
        int dots = 0;
        for (size_t i = 0; i < 2 * KV_MVP_PLANEBYTES; ++i)
            dots += __builtin_popcount(s->bandmap[i] & 0x3F);
        int expect = 0;
        for (uint8_t b : c.odd) expect += __builtin_popcount(b & 0x3F);
        for (uint8_t b : c.even) expect += __builtin_popcount(b & 0x3F);
        EXPECT_EQ(dots, expect * (c.h > 1 && c.y < 9 ? c.h : 1)) << "nothing else is marked";
    }
}
