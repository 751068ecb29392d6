// Scaled text fields: glyphs magnified by whole factors, blank cells for
// codes without a glyph, slices that join without seam or overlap, and the
// human-readable line placed beside its bar code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fields/fieldmake.hpp"
#include "core/fields/fieldrender.hpp"
#include "core/fields/font_tables.hpp"
#include "core/fields/textmap.hpp"
#include "tests/fields/textpaint.hpp"
#include "preview/decode.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"
#include "tests/support/render.hpp"

namespace {
// How one font pixel prints at magnification n (1 to 3), from the shapes of
// the half cells worked out by hand: rows of '#' and '.'.
std::vector<std::string> pixelshape(int code, int n) {
    static const char* const one[] = {"#", "#", ".", "."}; // 9, 10, 5, 6
    static const char* const two[][2] = {{"#.", "##"}, {".#", "##"}, {"#.", ".."}, {".#", ".."}};
    static const char* const three[][3] = {
        {"#..", "##.", "###"}, {"..#", ".##", "###"}, {"##.", "#..", "..."}, {".##", "..#", "..."}};
    int i = -1;
    switch (code) {
    case 0:
        return std::vector<std::string>(n, std::string(n, '.'));
    case 15:
        return std::vector<std::string>(n, std::string(n, '#'));
    case 9:
        i = 0;
        break;
    case 10:
        i = 1;
        break;
    case 5:
        i = 2;
        break;
    case 6:
        i = 3;
        break;
    default:
        return {};
    }
    if (n == 1) return {one[i]};
    if (n == 2) return {two[i][0], two[i][1]};
    return {three[i][0], three[i][1], three[i][2]};
}

// The line as the packed font says it should print at magnification n.
Bitmap expected_line(const std::string& text, int n) {
    Bitmap b(static_cast<int>(text.size()) * 6 * n, 9 * n);
    for (size_t i = 0; i < text.size(); ++i) {
        int c = static_cast<unsigned char>(text[i]);
        if (c < 32 || c > 127) c = 32;
        const uint8_t* glyph = &kv_font_map[(c - 32) * 27];
        for (int r = 0; r < 9; ++r)
            for (int col = 0; col < 6; ++col) {
                const uint8_t byte = glyph[r * 3 + col / 2];
                const int code = col % 2 == 0 ? byte & 0x0F : byte >> 4;
                const std::vector<std::string> shape = pixelshape(code, n);
                for (int y = 0; y < n; ++y)
                    for (int x = 0; x < n; ++x)
                        b.set(static_cast<int>(i) * 6 * n + col * n + x, r * n + y,
                              shape[y][x] == '#');
            }
    }
    return b;
}

std::string allglyphs() {
    std::string s;
    for (int c = 32; c < 128; ++c) s += static_cast<char>(c);
    return s;
}

Bitmap rotated(const Bitmap& b, int orientation) {
    Bitmap r = b;
    for (int a = 0; a < orientation; a += 90) r = r.rotated90();
    return r;
}
} // namespace

TEST(TextMap, WholeFontAtMagnificationsOneToThree) {
    Harness h(recorder_slots(400, false));
    const std::string text = allglyphs();
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE("magnification " + std::to_string(n));
        auto f = make_textfield(h.state.get(), text, n);
        EXPECT_EQ(f->width, 96 * 6 * n);
        EXPECT_EQ(f->depth, 9 * n);
        const TextPaint p = paint_field(h.state.get(), f.get());
        EXPECT_EQ(p.status, KV_SUCCESS);
        EXPECT_EQ(p.overlaps(), 0);
        EXPECT_EQ(p.bitmap().rows(), expected_line(text, n).rows());
    }
}

TEST(TextMap, FieldSizeFollowsTheCellAndOrientation) {
    Harness h(recorder_slots(400, false));
    struct Case {
        const char* text;
        int n, orientation, width, depth;
        const char* source;
    };
    const Case cases[] = {
        {"AB", 2, 0, 24, 18, "two 12 x 18 cells"},
        {"AB", 2, 90, 18, 24, "extents swap at 90"},
        {"AB", 2, 180, 24, 18, "and not at 180"},
        {"AB", 2, 270, 18, 24, "extents swap at 270"},
        {"", 3, 0, 0, 27, "no characters: no width"},
        {"x", 7, 0, 42, 63, "one cell at magnification 7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + ": " + c.source);
        auto f = make_textfield(h.state.get(), c.text, c.n, c.orientation);
        EXPECT_EQ(f->width, c.width);
        EXPECT_EQ(f->depth, c.depth);
    }
}

TEST(TextMap, CodesWithoutAGlyphPrintAsBlankCells) {
    Harness h(recorder_slots(400, false));
    EXPECT_EQ(FontAddr(h.state.get(), 200), FontAddr(h.state.get(), ' '));
    EXPECT_EQ(FontAddr(h.state.get(), 9), FontAddr(h.state.get(), ' '));
    EXPECT_EQ(FontAddr(h.state.get(), 'A'), kv_font_map.data() + ('A' - 32) * 27);
    auto plain = make_textfield(h.state.get(), "A B", 2);
    const Bitmap want = paint_field(h.state.get(), plain.get()).bitmap();
    for (const char* text : {"A\tB",
                             "A\xC8"
                             "B",
                             "A\x01"
                             "B"}) {
        SCOPED_TRACE(text);
        auto f = make_textfield(h.state.get(), text, 2);
        EXPECT_EQ(f->width, 36);
        EXPECT_EQ(paint_field(h.state.get(), f.get()).bitmap().rows(), want.rows());
    }
}

TEST(TextMap, SlicesJoinWithoutSeamOrOverlap) {
    // Bands of 8 and 6 dot rows (and tiles cut across the cells as well) cut
    // through glyph rows at every magnification and orientation; the slices
    // together are the line drawn at once, no dot drawn twice, no rectangle
    // outside its slice.
    Harness h(recorder_slots(400, false));
    const std::string text = "Ag/\\%0W@jy";
    struct Tile {
        int w, h;
    };
    for (int n = 1; n <= 3; ++n) {
        for (int orientation : {0, 90, 180, 270}) {
            auto f = make_textfield(h.state.get(), text, n, orientation);
            const TextPaint whole = paint_field(h.state.get(), f.get());
            EXPECT_EQ(whole.overlaps(), 0);
            const Bitmap upright = expected_line(text, n);
            EXPECT_EQ(whole.bitmap().rows(), rotated(upright, orientation).rows())
                << "magnification " << n << ", orientation " << orientation;
            for (const Tile t : {Tile{0, 8}, Tile{0, 6}, Tile{7, 5}, Tile{13, 0}, Tile{1, 1}}) {
                SCOPED_TRACE("magnification " + std::to_string(n) + ", orientation " +
                             std::to_string(orientation) + ", tiles " + std::to_string(t.w) +
                             " x " + std::to_string(t.h));
                const TextPaint part = paint_field(h.state.get(), f.get(), t.w, t.h);
                EXPECT_EQ(part.status, KV_SUCCESS);
                EXPECT_EQ(part.outside, 0);
                EXPECT_EQ(part.overlaps(), 0);
                EXPECT_EQ(part.bitmap().rows(), whole.bitmap().rows());
            }
        }
    }
}

namespace {
int regioncalls = 0;
kv_status countregion(kv_glor*, int32_t, int32_t, int32_t, int32_t, int32_t) {
    ++regioncalls;
    return KV_SUCCESS;
}

// Region calls of one kv_imageone over `band`.
int callsfor(kv_glor* s, kv_field* f, const kv_rect& band) {
    const kv_setregion_fn saved = s->setregion;
    s->setregion = countregion;
    regioncalls = 0;
    EXPECT_EQ(kv_imageone(s, &band, f, 0, 0), KV_SUCCESS);
    s->setregion = saved;
    return regioncalls;
}
} // namespace

TEST(TextMap, CellsLeftOfTheWindowAreSkipped) {
    // A slice holding only the last cell costs what that cell alone costs,
    // however long the line before it (the cell ending exactly at the slice's
    // left edge included, which draws nothing).
    Harness h(recorder_slots(400, false));
    const int n = 3, cell = 6 * n;
    auto alone = make_textfield(h.state.get(), "W", n);
    const int calls = callsfor(h.state.get(), alone.get(), {0, 0, cell, 9 * n});
    EXPECT_GT(calls, 0);
    auto line = make_textfield(h.state.get(), std::string(200, 'M') + "W", n);
    EXPECT_EQ(callsfor(h.state.get(), line.get(), {200 * cell, 0, cell, 9 * n}), calls);
    EXPECT_EQ(callsfor(h.state.get(), line.get(), {200 * cell, 0, 1000, 1000}), calls);
    // A slice of one dot row through the middle of the last cell.
    EXPECT_EQ(callsfor(h.state.get(), line.get(), {200 * cell, 13, cell, 1}),
              callsfor(h.state.get(), alone.get(), {0, 13, cell, 1}));
}

TEST(TextMap, FullStrokesAreOneRectanglePerColumn) {
    Harness h(recorder_slots(400, false));
    struct Case {
        const char* text;
        int n, calls;
        const char* why;
    };
    const Case cases[] = {
        {"|", 4, 1, "one solid column"},
        {"H", 3, 5, "two uprights, three pixels of the bar"},
        {"HH", 5, 10, "per character"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + ": " + c.why);
        auto f = make_textfield(h.state.get(), c.text, c.n);
        EXPECT_EQ(paint_field(h.state.get(), f.get()).calls, c.calls);
    }
}

namespace {
// The symbol and the text line queued by one kv_fieldmake.
struct Queued {
    kv_field* main = nullptr;
    kv_field* text = nullptr;
};
Queued queued(kv_glor* s) {
    Queued q;
    for (kv_field* f = s->fieldhead; f != nullptr; f = f->next)
        (f->type == 1 ? q.text : q.main) = f;
    return q;
}
} // namespace

namespace {
// A linear symbology with its text line: the command (widths for narrow
// width n are added), the data, the line printed, the symbol's length in
// narrow widths, and what a reader returns.
struct Linear {
    const char* command;
    int classes; // width classes the R command takes
    const char* data;
    const char* line;
    int modules;
    const char* format;
    const char* decoded;
    const char* source;
};
const Linear kLinear[] = {
    {"BCODE39", 2, "AB12", "AB12", 96, "Code39", "AB12",
     "6 characters with start and stop, 16 narrow widths each at 3:1"},
    {"BCODE128 SB C1", 4, "Ab12", "Ab12", 79, "Code128", "Ab12",
     "start, 4 data, check: 6 x 11 modules, stop 13; the check is not shown"},
    {"BUPC SA", 4, "03600029145", "036000291452", 95, "UPCA", "036000291452",
     "95 modules; the check digit 2 is shown"},
    {"BEAN S13", 4, "400638133393", "4006381333931", 95, "EAN13", "4006381333931",
     "95 modules; the leading 4 is shown though not drawn as bars"},
};

// R value giving narrow width n: classes k-1 .. 0 as k*n .. n, or 3n:n.
std::string widthsfor(int classes, int n) {
    if (classes == 2) return "R" + std::to_string(3 * n) + ":" + std::to_string(n);
    std::string r = "R";
    for (int c = classes; c >= 1; --c) r += std::to_string(c * n) + (c > 1 ? ":" : "");
    return r;
}
} // namespace

TEST(TextPlacement, LineBesideTheSymbolInEveryOrientation) {
    // The line is len(line) cells of 6n x 9n, centred along the symbol
    // (truncating) and set off from it by 9n / 4 dots: under it at 0, on its
    // left at 90 (the symbol moves right), above it at 180 (the symbol moves
    // down), on its right at 270. Bars are 40 dots tall.
    const char* orientations[] = {"OH", "OV", "OU", "OB"};
    for (const Linear& sym : kLinear) {
        for (int n = 1; n <= 3; ++n) {
            for (int o = 0; o < 4; ++o) {
                const std::string cmd = std::string(sym.command) + " T1 H40 " +
                                        widthsfor(sym.classes, n) + " " + orientations[o];
                SCOPED_TRACE(cmd + " " + sym.data + ": " + sym.source);
                Harness h(recorder_slots(400, false));
                ASSERT_EQ(h.command(cmd), KV_SUCCESS);
                ASSERT_EQ(kv_fieldmake(h.state.get(), 12, 3, 0, sym.data), KV_SUCCESS);
                ASSERT_EQ(h->fieldhead->type, 1) << "the text line is queued after its symbol";
                const Queued q = queued(h.state.get());
                ASSERT_NE(q.main, nullptr);
                ASSERT_NE(q.text, nullptr);
                EXPECT_STREQ(q.text->text.get(), sym.line);
                EXPECT_EQ(q.text->column, 3);
                EXPECT_EQ(q.text->orientation, 90 * o);
                EXPECT_EQ(q.text->textwidth, 6 * n);
                EXPECT_EQ(q.text->textdepth, 9 * n);

                const int len = sym.modules * n;
                const int tlen = 6 * n * static_cast<int>(std::string(sym.line).size());
                const int tdeep = 9 * n, gap = 9 * n / 4, centre = (len - tlen) / 2;
                struct Box {
                    int x, y, w, d;
                };
                Box main{}, text{};
                switch (o) {
                case 0:
                    main = {0, 0, len, 40};
                    text = {centre, gap + 40, tlen, tdeep};
                    break;
                case 1:
                    main = {gap + tdeep, 0, 40, len};
                    text = {0, centre, tdeep, tlen};
                    break;
                case 2:
                    main = {0, gap + tdeep, len, 40};
                    text = {centre, 0, tlen, tdeep};
                    break;
                case 3:
                    main = {0, 0, 40, len};
                    text = {gap + 40, centre, tdeep, tlen};
                    break;
                }
                EXPECT_EQ(q.main->x, main.x);
                EXPECT_EQ(q.main->y, main.y);
                EXPECT_EQ(q.main->width, main.w);
                EXPECT_EQ(q.main->depth, main.d);
                EXPECT_EQ(q.text->x, text.x);
                EXPECT_EQ(q.text->y, text.y);
                EXPECT_EQ(q.text->width, text.w);
                EXPECT_EQ(q.text->depth, text.d);

                // The printed page, in bands of 8 rows: the symbol's box holds
                // a symbol that reads back, the text box holds the line as
                // drawn alone, rotated with the symbol, and nothing else is
                // on the page.
                std::pair<int, int> shift;
                const Bitmap page = render_queue(h.state.get(), 8, -3, 0, &shift); // column 3
                ASSERT_EQ(shift, std::make_pair(0, 0));
                const Bitmap symbol = page.crop(main.x, main.y, main.w, main.d);
                const std::vector<Decoded> got = decode_zxing(symbol, sym.format);
                ASSERT_EQ(got.size(), 1u);
                EXPECT_EQ(got[0].text, sym.decoded);
                const Bitmap line = rotated(expected_line(sym.line, n), 90 * o);
                EXPECT_EQ(page.crop(text.x, text.y, text.w, text.d).rows(), line.rows());
                Bitmap rest = page;
                for (const Box& b : {main, text})
                    for (int y = b.y; y < b.y + b.d; ++y)
                        for (int x = b.x; x < b.x + b.w; ++x) rest.set(x, y, false);
                EXPECT_EQ(rest.ink().w, 0);
            }
        }
    }
}

TEST(TextPlacement, IndentRaisesTheLine) {
    // UPC and EAN guards reach `indent` dots below the other bars; the line
    // is raised by the same amount (9n / 4 - indent below the bars' full
    // height, at 0 degrees).
    struct Case {
        const char* cmd;
        const char* data;
        int y;
        const char* source;
    };
    const Case cases[] = {
        {"BUPC SA T1 H40 I5", "03600029145", 40 + 2 - 5, "n = 1: gap 2 - 5"},
        {"BEAN S13 T1 H40 I3 R8:6:4:2", "400638133393", 40 + 4 - 3, "n = 2: gap 4 - 3"},
        {"BCODE39 T1 H40 I5", "AB", 40 + 2, "no indent for Code 39"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cmd) + ": " + c.source);
        Harness h(recorder_slots(400, false));
        h.command(c.cmd);
        ASSERT_EQ(kv_fieldmake(h.state.get(), 12, 0, 0, c.data), KV_SUCCESS);
        const Queued q = queued(h.state.get());
        ASSERT_NE(q.text, nullptr);
        EXPECT_EQ(q.text->y, c.y);
        EXPECT_EQ(q.main->y, 0);
    }
}

TEST(TextPlacement, Code128LineLeavesOutTheCheckCharacter) {
    struct Case {
        const char* cmd;
        const char* data;
        const char* line;
        const char* source;
    };
    const Case cases[] = {
        {"BCODE128 T1 C1 SB", "AB", "AB", "one check character cut"},
        {"BCODE128 T1 C1 SC", "1234", "1234", "two check digits in subset C cut"},
        {"BCODE128 T1 C0 SB", "AB", "AB", "no check character"},
        {"BCODE128 T1 C1 SB", "", "", "empty data: the check character is cut too"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cmd) + " " + c.data + ": " + c.source);
        Harness h(recorder_slots(400, false));
        h.command(c.cmd);
        kv_fieldmake(h.state.get(), 12, 0, 0, c.data);
        const Queued q = queued(h.state.get());
        ASSERT_NE(q.text, nullptr);
        EXPECT_STREQ(q.text->text.get(), c.line);
    }
}
