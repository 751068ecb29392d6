// Band output of the LA75 driver: while the paper advances past pending
// fields, each field's next six dot rows are rendered into the band and sent
// as a sixel string at the field's column, and the paper is moved six dots
// at a time with DECVERP and line feeds.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/driver/printops.hpp"
#include "core/fields/fieldqueue.hpp"
#include "core/fields/fieldrender.hpp"
#include "drivers/common/sixel.hpp"
#include "drivers/la75/la75.hpp"

namespace {
constexpr int32_t ESC = 27;

kv_status send(kv_glor* s, int32_t c) {
    return s->lprintc(s, c);
}

uint8_t* plane(kv_glor* s, int p) {
    return s->bandmap + p * KV_LA75_BANDCOLS;
}
} // namespace

kv_status kv_la75_setvspace(kv_glor* s, int32_t* n) {
    int32_t best = 0;
    for (int32_t i = 1; i < 7; ++i)
        if (std::abs(kv_la75_dpltable[i] - *n) <= std::abs(kv_la75_dpltable[best] - *n)) best = i;
    kv_status st = kv_lprintqstr(s, kv_la75_csiqstr);
    jerr_uperr(&st, kv_lprintint(s, best));
    jerr_uperr(&st, send(s, 'z'));
    *n = kv_la75_dpltable[best];
    return st;
}

kv_status kv_la75_sethpos(kv_glor* s, int32_t p, int32_t col) {
    kv_status st = KV_SUCCESS;
    if (p >= 0) {
        st = kv_lprintqstr(s, kv_la75_csiqstr);
        jerr_uperr(&st, kv_lprintint(s, p));
        jerr_uperr(&st, send(s, 'w'));
    }
    jerr_uperr(&st, send(s, '\r'));
    for (int32_t i = 0; i < col && kv_ok(st); ++i) st = send(s, ' ');
    s->hpos = col;
    return st;
}

kv_status kv_la75_dumprow(kv_glor* s, int32_t p, int32_t col, int32_t x, int32_t w) {
    kv_status st = kv_la75_sethpos(s, p, col);
    jerr_uperr(&st, kv_lprintqstr(s, kv_la75_gstartqstr));
    jerr_uperr(&st, kv_lprintqstr(s, kv_la75_crlfqstr));
    const uint8_t* planes[2] = {plane(s, 0), plane(s, 1)};
    // The blank sixels up to the field's left edge start the first run.
    if (kv_ok(st))
        st = kv_sixel_row(s, planes, 2, std::clamp(w, 0, KV_LA75_BANDCOLS),
                          2 * std::clamp(x, 0, KV_LA75_BANDCOLS));
    // DECGCR, then ST: the string is closed even after a failure.
    kv_status end = send(s, '$');
    jerr_uperr(&end, kv_lprintqstr(s, kv_la75_crlfqstr));
    jerr_uperr(&end, send(s, ESC));
    jerr_uperr(&end, send(s, '\\'));
    return jerr_uperr(&st, end);
}

kv_status kv_la75_plotnscroll(kv_glor* s, int32_t* n) {
    const int32_t hpos = s->hpos;
    kv_status st = KV_SUCCESS;
    int32_t total = 0;
    // Exactly the distance asked for: a line feed from any position, and a
    // sixel new line of the application, move the paper as far as they
    // would have without fields.
    while (kv_ok(st) && total < *n) {
        int32_t step = std::min(*n - total, KV_SIXEL_ROWS);
        st = kv_la75_setvspace(s, &step);
        kv_fieldcursor cur;
        kv_fieldfirst(s, &cur);
        for (; cur.current != nullptr && kv_ok(st); kv_fieldnext(s, &cur)) {
            kv_field* f = cur.current;
            kv_rect band{f->x, 0, std::min(f->width, KV_LA75_BANDCOLS), step};
            if (f->width > 0 && int64_t{f->y} + f->depth > 0 && f->y < step) {
                kv_clearmap(s);
                st = kv_imageone(s, &band, f, -f->x, 0);
                if (kv_ok(st)) st = kv_la75_dumprow(s, f->pitch, f->column, f->x, band.w);
            }
        }
        kv_scrollall(s, step);
        jerr_uperr(&st, send(s, '\n'));
        s->vpos += step;
        total += step;
    }
    if (s->pagelen > 0)
        while (s->vpos > s->pagelen) s->vpos -= s->pagelen;
    int32_t spacing = s->linespace;
    jerr_uperr(&st, kv_la75_setvspace(s, &spacing));
    s->linespace = spacing;
    jerr_uperr(&st, kv_la75_sethpos(s, s->pitch, hpos));
    *n = total;
    return st;
}

kv_status kv_la75_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                            int32_t density) {
    kv_sixel_mark(plane(s, 0), density != 0 ? plane(s, 1) : nullptr, KV_LA75_BANDCOLS, x, y, w, h);
    return KV_SUCCESS;
}
