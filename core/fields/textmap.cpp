#include "core/fields/textmap.hpp"

#include <algorithm>
#include <cstdint>

#include "core/fields/font_tables.hpp"
#include "core/fields/sblit.hpp"

const uint8_t* FontAddr(const kv_glor*, int32_t code) {
    if (code < KV_FONT_FIRST || code >= KV_FONT_FIRST + KV_FONT_GLYPHS) code = ' ';
    return kv_font_map.data() + (code - KV_FONT_FIRST) * KV_FONT_GLYPHBYTES;
}

void kv_textsetfregion(void* target, int32_t x, int32_t y, int32_t w, int32_t h) {
    auto* t = static_cast<kv_textblit*>(target);
    jerr_uperr(&t->status, kv_setfregion(t->state, t->mapctx, x, y, w, h));
}

kv_status kv_text_map(kv_glor* state, kv_mapctx* m) {
    const kv_field* f = m->field;
    const int32_t cell = f->textwidth;
    const auto* text = reinterpret_cast<const uint8_t*>(f->text.get());
    if (m->sizing || cell <= 0 || f->textdepth <= 0 || text == nullptr) {
        // Measuring (or a line that cannot be drawn): every character takes
        // one cell and nothing is drawn.
        const int64_t rest = m->charcount - m->charpos;
        const int64_t end = m->cursor + std::max<int64_t>(cell, 0) * std::max<int64_t>(rest, 0);
        m->cursor = static_cast<int32_t>(std::min<int64_t>(end, INT32_MAX));
        m->charpos = std::max(m->charpos, m->charcount);
        return KV_SUCCESS;
    }

    // Vertical axis once for the field: the glyph's rows onto the cell's
    // depth, drawn only within the clip window's rows.
    sBlit_Axis axes[2];
    axes[1].srcsize = KV_FONT_HEIGHT;
    axes[1].dstsize = f->textdepth;
    axes[1].winstart = m->clipy;
    axes[1].winlen = m->cliph;
    sBlit_Scale1Init(&axes[1], SBLIT_OPEN | SBLIT_WINDOW);
    axes[0].srcsize = KV_FONT_WIDTH;
    axes[0].dstsize = cell;
    sBlit_Scale1Init(&axes[0], SBLIT_OPEN);

    // Cells that end left of the clip window are skipped without drawing; a
    // cell ending exactly at its left edge is kept and draws nothing.
    const int64_t gap = static_cast<int64_t>(m->clipx) - m->cursor;
    if (gap > cell && m->charpos < m->charcount) {
        const int64_t skip = std::min<int64_t>((gap - 1) / cell, m->charcount - m->charpos);
        m->cursor += static_cast<int32_t>(skip * cell);
        m->charpos += static_cast<int32_t>(skip);
    }

    kv_textblit target{state, m, KV_SUCCESS};
    const int64_t clipright = kv_clipright(m);
    while (kv_ok(target.status) && m->charpos < m->charcount && m->cursor < clipright) {
        const int64_t start = std::max<int64_t>(0, static_cast<int64_t>(m->clipx) - m->cursor);
        const int64_t length = std::min<int64_t>(cell - start, clipright - m->cursor - start);
        if (length > 0) {
            const sBlit_Bitmap glyph{KV_FONT_WIDTH, KV_FONT_HEIGHT,
                                     FontAddr(state, text[m->charpos]), KV_FONT_ROWBYTES, 4};
            axes[0].winstart = static_cast<int32_t>(start);
            axes[0].winlen = static_cast<int32_t>(length);
            axes[0].origin = m->cursor;
            sBlit_Scale1Init(&axes[0], SBLIT_WINDOW);
            sBlit_Blit(kv_textsetfregion, &target, &glyph, axes);
        }
        m->charpos += 1;
        if (m->cursor > INT32_MAX - cell) break;
        m->cursor += cell;
    }
    return target.status;
}
