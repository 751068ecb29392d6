// Scaled text fields: glyphs magnified by whole factors, blank cells for
// codes without a glyph, slices that join without seam or overlap, and the
// human-readable line placed beside its bar code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fields/fieldclass.hpp"
#include "core/fields/fieldmake.hpp"
#include "core/fields/fieldrender.hpp"
#include "core/fields/font_tables.hpp"
#include "core/fields/textmap.hpp"
#include "tests/fields/textpaint.hpp"
#include "tests/support/decode.hpp"
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

TEST(TextPlacement, Code39LineBesideTheSymbol) {
    // Code 39 "AB12" with start and stop: 6 characters of 16 narrow widths
    // (3 narrow bars, 4 narrow spaces, 2 wide bars, 1 wide space at 3:1), so
    // the symbol is 96n long and 40 dots tall; the line is 4 cells of 6n by
    // 9n, centred along the symbol ((96n - 24n) / 2 = 36n) and set off by
    // 9n / 4 dots.
    const char* orientations[] = {"OH", "OV", "OU", "OB"};
    for (int n = 1; n <= 3; ++n) {
        for (int o = 0; o < 4; ++o) {
            const std::string cmd = "BCODE39 T1 H40 R" + std::to_string(3 * n) + ":" +
                                    std::to_string(n) + " " + orientations[o];
            SCOPED_TRACE(cmd);
            Harness h(recorder_slots(400, false));
            ASSERT_EQ(h.command(cmd), KV_SUCCESS);
            ASSERT_EQ(kv_fieldmake(h.state.get(), 12, 3, 0, "AB12"), KV_SUCCESS);
            ASSERT_EQ(h->fieldhead->type, 1) << "the text line is queued after its symbol";
            const Queued q = queued(h.state.get());
            ASSERT_NE(q.main, nullptr);
            ASSERT_NE(q.text, nullptr);
            EXPECT_STREQ(q.text->text.get(), "AB12");
            EXPECT_EQ(q.text->column, 3);
            EXPECT_EQ(q.text->orientation, 90 * o);
            EXPECT_EQ(q.text->textwidth, 6 * n);
            EXPECT_EQ(q.text->textdepth, 9 * n);

            const int len = 96 * n, tlen = 24 * n, tdeep = 9 * n, gap = 9 * n / 4;
            const int centre = (len - tlen) / 2;
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

            // The printed page, in bands of 8 rows: the symbol's box holds a
            // Code 39 symbol that reads back, the text box holds the line as
            // drawn alone, rotated with the symbol.
            std::pair<int, int> shift;
            const Bitmap page = render_queue(h.state.get(), 8, -3, 0, &shift); // column 3 to 0
            ASSERT_EQ(shift, std::make_pair(0, 0));
            const Bitmap symbol = page.crop(main.x, main.y, main.w, main.d);
            const std::vector<Decoded> got = decode_zxing(symbol, "Code39");
            ASSERT_EQ(got.size(), 1u);
            EXPECT_EQ(got[0].text, "AB12");
            const Bitmap line = rotated(expected_line("AB12", n), 90 * o);
            EXPECT_EQ(page.crop(text.x, text.y, text.w, text.d).rows(), line.rows());
            // Nothing else is on the page: the two boxes hold all the ink.
            Bitmap rest = page;
            for (const Box& b : {main, text})
                for (int y = b.y; y < b.y + b.d; ++y)
                    for (int x = b.x; x < b.x + b.w; ++x) rest.set(x, y, false);
            EXPECT_EQ(rest.ink().w, 0);
        }
    }
}

TEST(TextPlacement, Code128LineLeavesOutTheCheckCharacter) {
    if (kv_fieldclassof(3) == nullptr || kv_fieldclassof(3)->map == nullptr)
        GTEST_SKIP() << "no Code 128 mapper in this build";
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
