#include "core/fields/fieldmap.hpp"

#include <algorithm>

#include "core/fields/rect.hpp"

kv_status kv_setfregion(kv_glor* s, kv_mapctx* m, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (m->sizing) return KV_SUCCESS;
    const kv_field* f = m->field;
    int32_t px = x, py = y, pw = w, ph = h;
    switch (f->orientation) {
    case 90:
        px = f->width - (y + h);
        py = x;
        pw = h;
        ph = w;
        break;
    case 180:
        px = f->width - (x + w);
        py = f->depth - (y + h);
        break;
    case 270:
        px = y;
        py = f->depth - (x + w);
        pw = h;
        ph = w;
        break;
    default:
        break;
    }
    return s->setregion(s, m->originx + f->x + px, m->originy + f->y + py, pw, ph, f->density);
}

kv_status kv_mapunit(kv_glor* s, kv_mapctx* m, int32_t cls, int isbar) {
    const int32_t width =
        (cls < 0 || cls > 3) ? 0 : m->field->widths[2 * cls + (isbar ? 0 : 1)];
    const int32_t start = m->cursor;
    m->cursor += width;
    if (!isbar || m->sizing) return KV_SUCCESS;
    kv_rect bar{start, m->bartop, width, m->barheight};
    if (!kv_clip(&bar, kv_clipwindow(m))) return KV_SUCCESS;
    return kv_setfregion(s, m, bar.x, bar.y, bar.w, bar.h);
}

kv_status kv_xmapbarlist(kv_glor* s, kv_mapctx* m, int32_t count, const uint8_t* list,
                         int alternate) {
    kv_status st = KV_SUCCESS;
    if (count == 0) count = 81;
    for (int32_t i = 0; i < count && list[i] < 5; ++i)
        jerr_uperr(&st, kv_mapunit(s, m, list[i], alternate ? (i % 2 == 0) : 1));
    return st;
}

kv_status kv_mapbarlist(kv_glor* s, kv_mapctx* m, int32_t count, const uint8_t* list) {
    return kv_xmapbarlist(s, m, count, list, 1);
}

kv_status kv_badcmap(kv_glor* s, kv_mapctx* m, int32_t count, const uint8_t* list) {
    kv_status st = kv_xmapbarlist(s, m, count, list, 0);
    if (m->sizing) jerr_uperr(&st, KV_IVBARC);
    return st;
}

kv_status kv_codexmap(kv_glor* s, kv_mapctx* m, kv_charmapper mapper, int32_t charwidth) {
    kv_status st = KV_SUCCESS;
    const auto* text = reinterpret_cast<const uint8_t*>(m->field->text.get());
    if (charwidth > 0 && m->charpos < m->charcount) {
        // Skip whole characters that end left of the clip window.
        const int64_t gap = static_cast<int64_t>(m->clipx) - m->cursor;
        if (gap > charwidth) {
            int64_t skip = (gap - 1) / charwidth;
            skip = std::min<int64_t>(skip, m->charcount - m->charpos);
            m->cursor += static_cast<int32_t>(skip * charwidth);
            m->charpos += static_cast<int32_t>(skip);
        }
    }
    while (m->charpos < m->charcount && m->cursor < kv_clipright(m)) {
        jerr_uperr(&st, mapper(s, m, text[m->charpos]));
        ++m->charpos;
    }
    return st;
}

int32_t kv_codenindex(int32_t c) { return (c >= '0' && c <= '9') ? c - '0' : -1; }

kv_status kv_callback_plotf(void* mapctx, int32_t x, int32_t y, int32_t w, int32_t h) {
    auto* m = static_cast<kv_mapctx*>(mapctx);
    if (m == nullptr || m->state == nullptr) return 0;
    if (w <= 0 || h <= 0) return KV_SUCCESS;
    kv_rect r{x, y, w, h};
    if (!kv_clip(&r, kv_clipwindow(m))) return KV_SUCCESS;
    kv_setfregion(m->state, m, r.x, r.y, r.w, r.h);
    return KV_SUCCESS;
}
