// The built-in font: storage format, distinct glyphs, and the documentation
// images drawn by the real engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "core/fields/font_tables.hpp"
#include "core/fields/textmap.hpp"
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
// the engine prints it (one image pixel a printer dot).
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

// Writes the documentation images when KEVRA_WRITE_DOCS names a directory
// (scripts/docs.sh); otherwise only checks that they can be drawn.
TEST(FontDocs, SampleImages) {
    const Bitmap sheet = font_sheet();
    EXPECT_GT(sheet.ink().w, 0);
    const RenderResult label = render_symbol("BCODE39 T1 H60 R6:2", "SAMPLE-42", 0, 400, 20);
    EXPECT_EQ(label.fields, 2);
    const char* dir = std::getenv("KEVRA_WRITE_DOCS");
    if (dir == nullptr || *dir == '\0') return;
    const std::string base(dir);
    EXPECT_TRUE(sheet.writepng(base + "/font-sheet.png"));
    EXPECT_TRUE(label.page.writepng(base + "/sample-label.png"));
}
