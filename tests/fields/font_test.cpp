// The built-in font: storage format, distinct glyphs, and the documentation
// images drawn by the real engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "core/fields/font_tables.hpp"
#include "core/fields/textmap.hpp"
#include "preview/png.hpp"
#include "tests/fields/textpaint.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"
#include "tests/support/render.hpp"

namespace {
// Copies `src` into `dst` with its top-left corner at (x, y).
void blit(Bitmap& dst, const Bitmap& src, int x, int y) {
    for (int yy = 0; yy < src.height; ++yy)
        for (int xx = 0; xx < src.width; ++xx)
            if (src.get(xx, yy)) dst.set(x + xx, y + yy);
}

// The whole font, sixteen glyphs a line, at magnifications 1, 2 and 3, as
// the engine prints it (one image pixel a printer dot; the sheet is written
// with every dot as 2 x 2 pixels so it stays sharp on a screen).
Bitmap font_sheet() {
    Harness h(recorder_slots(400, false));
    const int margin = 12;
    const int blockgap = 16;
    std::vector<Bitmap> blocks;
    int width = 0, height = margin;
    for (int n = 1; n <= 3; ++n) {
        std::vector<Bitmap> lines;
        for (int first = 32; first < 128; first += 16) {
            std::string text;
            for (int c = first; c < first + 16; ++c) text += static_cast<char>(c);
            auto f = make_textfield(h.state.get(), text, n);
            lines.push_back(paint_field(h.state.get(), f.get()).bitmap());
        }
        const int linegap = 3 * n;
        Bitmap block(lines[0].width, static_cast<int>(lines.size()) * (9 * n + linegap));
        for (size_t i = 0; i < lines.size(); ++i)
            blit(block, lines[i], 0, static_cast<int>(i) * (9 * n + linegap));
        width = std::max(width, block.width + 2 * margin);
        height += block.height + blockgap;
        blocks.push_back(block);
    }
    Bitmap sheet(width, height - blockgap + margin);
    int y = margin;
    for (const Bitmap& b : blocks) {
        blit(sheet, b, margin, y);
        y += b.height + blockgap;
    }
    return sheet;
}
} // namespace

namespace {
// Pixel codes of glyph `c`, rows of six.
std::vector<std::vector<int>> glyphcodes(int c) {
    std::vector<std::vector<int>> g(KV_FONT_HEIGHT, std::vector<int>(KV_FONT_WIDTH));
    const uint8_t* p = &kv_font_map[(c - KV_FONT_FIRST) * KV_FONT_GLYPHBYTES];
    for (int r = 0; r < KV_FONT_HEIGHT; ++r)
        for (int x = 0; x < KV_FONT_WIDTH; ++x) {
            const uint8_t byte = p[r * KV_FONT_ROWBYTES + x / 2];
            g[r][x] = x % 2 == 0 ? byte & 0x0F : byte >> 4;
        }
    return g;
}

// The glyph as printed unmagnified: full cells and lower halves are dots.
std::string plainshape(int c) {
    std::string s;
    for (const auto& row : glyphcodes(c))
        for (int v : row) s += (v == 15 || v == 9 || v == 10) ? '#' : '.';
    return s;
}

bool inkinrows(int c, int first, int last) {
    const auto g = glyphcodes(c);
    for (int r = first; r <= last; ++r)
        for (int v : g[r])
            if (v != 0) return true;
    return false;
}
} // namespace

TEST(Font, StorageFormat) {
    EXPECT_EQ(kv_font_map.size(), 2592u);
    for (int c = 32; c < 128; ++c) {
        SCOPED_TRACE(c);
        const auto g = glyphcodes(c);
        for (int r = 0; r < KV_FONT_HEIGHT; ++r) {
            EXPECT_EQ(g[r][5], 0) << "the sixth column is the gap between characters";
            for (int v : g[r])
                EXPECT_TRUE(v == 0 || v == 5 || v == 6 || v == 9 || v == 10 || v == 15);
        }
    }
    // The capital A's apex: lower-right half, full, lower-left half.
    EXPECT_EQ(glyphcodes('A')[0], (std::vector<int>{0, 10, 15, 9, 0, 0}));
    EXPECT_EQ(plainshape(' '), std::string(54, '.'));
}

TEST(Font, EveryGlyphIsDistinctMagnifiedAndPlain) {
    // Any two printable characters look different, both magnified (all
    // shape codes) and unmagnified (only full cells and lower halves print).
    std::set<std::vector<std::vector<int>>> shapes;
    std::set<std::string> plain;
    for (int c = 32; c < 128; ++c) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c)));
        EXPECT_TRUE(shapes.insert(glyphcodes(c)).second);
        EXPECT_TRUE(plain.insert(plainshape(c)).second);
        if (c != ' ') {
            EXPECT_NE(plainshape(c), plainshape(' '));
        }
    }
}

TEST(Font, DescendersOnlyWhereTheLetterHasOne) {
    const std::string descending = "gjpqy,;_";
    for (int c = 33; c < 127; ++c) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c)));
        EXPECT_EQ(inkinrows(c, 7, 8), descending.find(static_cast<char>(c)) != std::string::npos);
    }
    // Lower case sits on the x-height: no ink above row 2 but for ascenders
    // and dotted letters.
    const std::string tall = "bdfhijklt";
    for (int c = 'a'; c <= 'z'; ++c) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c)));
        EXPECT_EQ(inkinrows(c, 0, 1), tall.find(static_cast<char>(c)) != std::string::npos);
    }
}

// Writes the documentation images when KEVRA_WRITE_DOCS names a directory
// (scripts/docs.sh); otherwise only checks that they can be drawn.
TEST(FontDocs, SampleImages) {
    const Bitmap sheet = font_sheet();
    EXPECT_GT(sheet.ink().w, 0);
    // Narrow bars of 3 dots: the line under the symbol is magnified 3 times.
    const RenderResult label = render_symbol("BCODE39 T1 H90 R9:3", "SAMPLE-42", 0, 400, 24);
    EXPECT_EQ(label.fields, 2);
    const char* dir = std::getenv("KEVRA_WRITE_DOCS");
    if (dir == nullptr || *dir == '\0') return;
    const std::string base(dir);
    EXPECT_TRUE(write_png(base + "/font-sheet.png", sheet.scaled(2, 2)));
    EXPECT_TRUE(write_png(base + "/sample-label.png", label.page));
}
