#include "preview/sheet.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/fields/font_tables.hpp"
#include "core/fields/sblit.hpp"

namespace {
void plot(void* target, int32_t x, int32_t y, int32_t w, int32_t h) {
    static_cast<Bitmap*>(target)->fill(x, y, w, h);
}

// The glyph of `c` magnified to `w` dots across and as many times down,
// through the scaler that draws the translator's scaled text, so the preview
// shows the same smoothed shapes.
void draw_glyph(Bitmap& page, int x, int y, int w, unsigned char c) {
    if (w <= 0) return;
    int code = c;
    if (code < KV_FONT_FIRST || code >= KV_FONT_FIRST + KV_FONT_GLYPHS) code = '?';
    const uint8_t* pixels = kv_font_map.data() + (code - KV_FONT_FIRST) * KV_FONT_GLYPHBYTES;
    const sBlit_Bitmap glyph{KV_FONT_WIDTH, KV_FONT_HEIGHT, pixels, KV_FONT_ROWBYTES, 4};
    sBlit_Axis axes[2];
    const int size[2] = {w, w * KV_FONT_HEIGHT / KV_FONT_WIDTH};
    const int origin[2] = {x, y};
    const int source[2] = {KV_FONT_WIDTH, KV_FONT_HEIGHT};
    for (int k = 0; k < 2; ++k) {
        axes[k].srcsize = source[k];
        axes[k].dstsize = size[k];
        axes[k].winstart = 0;
        axes[k].winlen = size[k];
        axes[k].origin = origin[k];
        sBlit_Scale1Init(&axes[k], SBLIT_OPEN | SBLIT_WINDOW);
    }
    sBlit_Blit(plot, &page, &glyph, axes);
}
} // namespace

Bitmap compose(const Sheet& sheet) {
    Bitmap page(std::max(sheet.width, sheet.ink.width), std::max(sheet.height, sheet.ink.height));
    for (int y = 0; y < sheet.ink.height; ++y) {
        const auto row = sheet.ink.dots.begin() + static_cast<ptrdiff_t>(y) * sheet.ink.width;
        std::copy(row, row + sheet.ink.width,
                  page.dots.begin() + static_cast<ptrdiff_t>(y) * page.width);
    }
    for (const SheetChar& c : sheet.chars)
        if (c.c != ' ') draw_glyph(page, c.x, c.y, c.w, static_cast<unsigned char>(c.c));
    return page;
}

void cell_widths(std::vector<SheetChar>& chars, int usual, int widest) {
    for (size_t k = 0; k < chars.size(); ++k) {
        SheetChar& c = chars[k];
        c.w = usual;
        if (k + 1 < chars.size() && chars[k + 1].y == c.y && chars[k + 1].x > c.x)
            c.w = std::min(chars[k + 1].x - c.x, widest);
    }
}
