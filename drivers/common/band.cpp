#include "drivers/common/band.hpp"

#include <algorithm>

#include "core/fields/fieldqueue.hpp"
#include "core/fields/fieldrender.hpp"
#include "core/fields/rect.hpp"
#include "drivers/common/kit.hpp"

namespace {
// Marks the dots of region r (within the band) in plane p.
void markplane(kv_glor* s, const kv_bandgeom& g, int32_t p, const kv_rect& r) {
    if (g.layout == KV_BAND_COLUMNS) {
        const uint8_t mask = kv_bandmask(g, r.y, r.y + r.h);
        uint8_t* col = kv_bandplane(s, g, p);
        for (int32_t c = r.x; c < r.x + r.w; ++c) col[c] |= mask;
        return;
    }
    const int32_t right = r.x + r.w - 1; // last dot
    const int32_t first = r.x / g.bits;
    const int32_t last = right / g.bits;
    const uint8_t head = kv_bandmask(g, r.x % g.bits, g.bits);
    const uint8_t tail = kv_bandmask(g, 0, right % g.bits + 1);
    for (int32_t row = r.y; row < r.y + r.h; ++row) {
        uint8_t* b = kv_bandrow(s, g, p, row);
        if (first == last) {
            b[first] |= head & tail;
            continue;
        }
        b[first] |= head;
        std::fill(b + first + 1, b + last, uint8_t{0xFF});
        b[last] |= tail;
    }
}
} // namespace

kv_status kv_bandsetregion(kv_glor* s, const kv_bandgeom& g, int32_t x, int32_t y, int32_t w,
                           int32_t h, int32_t density) {
    const kv_rect band{0, 0, g.cols, g.rows};
    kv_rect r{x, y, w, h};
    if (!kv_clip(&r, band)) return KV_SUCCESS;
    markplane(s, g, 0, r);
    if (density == 0 || g.planes < 2) return KV_SUCCESS;
    kv_rect later{x, y, kv_bandlaterwidth(g, w), h};
    if (!kv_clip(&later, band)) return KV_SUCCESS;
    for (int32_t p = 1; p < g.planes; ++p) markplane(s, g, p, later);
    return KV_SUCCESS;
}

kv_status kv_bandprint(kv_glor* s, const kv_bandops& ops) {
    kv_status st = KV_SUCCESS;
    const kv_bandgeom& g = ops.geom;
    kv_fieldcursor cur;
    kv_fieldfirst(s, &cur);
    for (; cur.current != nullptr && kv_ok(st); kv_fieldnext(s, &cur)) {
        const kv_field* f = cur.current;
        int32_t x = f->x;
        int32_t width = f->width;
        const int32_t u = ops.colunits;
        if (u > 0 && f->column + u * x < 0) {
            const int32_t cut = (-(f->column + u * x) + u - 1) / u;
            x += cut;
            width -= cut;
        }
        const int32_t bottom = f->y + f->depth;
        const kv_rect band{x, 0, std::min(width, g.cols), std::min(bottom, g.rows)};
        if (width > 0 && band.w > 0 && bottom > 0 && f->y < band.h) {
            kv_clearmap(s);
            st = kv_imageone(s, &band, cur.current, -x, 0);
            if (kv_ok(st)) st = ops.dumprow(s, f, x, band.w);
        }
    }
    return st;
}

void kv_wrapvpos(kv_glor* s) {
    if (s->pagelen > 0 && s->vpos > s->pagelen) s->vpos = (s->vpos - 1) % s->pagelen + 1;
}

kv_status kv_bandplot(kv_glor* s, const kv_bandops& ops, int32_t n, int32_t* advanced) {
    kv_status st = KV_SUCCESS;
    if (advanced != nullptr) *advanced = 0;
    if (n <= 0) return st;
    const int32_t hpos = s->hpos;
    int32_t spacing = s->linespace; // what the printer is set to
    int32_t total = 0;
    while (total < n && kv_ok(st)) {
        int32_t step = std::min(n - total, ops.geom.rows);
        if (ops.respacefirst) st = ops.respace(s, &step, &spacing);
        if (kv_ok(st)) st = kv_bandprint(s, ops);
        kv_scrollall(s, step);
        if (kv_failed(st)) break;
        if (!ops.respacefirst) st = ops.respace(s, &step, &spacing);
        jerr_uperr(&st, kv_send(s, '\n'));
        s->vpos += step;
        total += step;
    }
    kv_wrapvpos(s);
    int32_t linespace = s->linespace;
    jerr_uperr(&st, ops.respace(s, &linespace, &spacing));
    s->linespace = linespace;
    jerr_uperr(&st, ops.sethpos(s, hpos));
    if (advanced != nullptr) *advanced = total;
    return st;
}

kv_status kv_bandlinefeed(kv_glor* s, const kv_bandops& ops) {
    int32_t most = 0;
    if (s->fieldhead != nullptr) kv_maxleft(s, &most); // most lines have none
    if (most > 0) return kv_bandplot(s, ops, s->linespace);
    kv_status st = kv_send(s, '\n');
    s->vpos += s->linespace;
    kv_wrapvpos(s);
    return st;
}

kv_status kv_bandendinput(kv_glor* s, const kv_bandops& ops) {
    int32_t most = 0;
    kv_maxleft(s, &most);
    return most > 0 ? kv_bandplot(s, ops, most) : KV_SUCCESS;
}

kv_status kv_bandformfeed(kv_glor* s, const kv_bandops& ops) {
    kv_status st = KV_SUCCESS;
    int32_t m = 0;
    kv_maxleft(s, &m);
    const int32_t r = s->pagelen - s->vpos; // dots left on the page
    if (r < m) m = r;
    if (m > 0) {
        // A printer that rounds its steps up may have advanced further.
        int32_t done = 0;
        st = kv_bandplot(s, ops, m, &done);
        m = std::max(m, done);
    }
    if (m < r) jerr_uperr(&st, kv_send(s, '\f'));
    s->vpos = 0;
    return st;
}
