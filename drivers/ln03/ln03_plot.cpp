// Field output of the LN03+ driver: every queued field is sent at once as a
// sixel string at the active position, reached by relative moves in pixels
// and left again by the opposite moves, so that the application's text goes
// on where it was. Upright linear bar codes are sent as one sixel row that
// the printer stretches to the bar height by the pixel aspect ratio.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/command/ftypes.hpp"
#include "core/driver/printops.hpp"
#include "core/fields/fieldqueue.hpp"
#include "core/fields/fieldrender.hpp"
#include "drivers/common/sixel.hpp"
#include "drivers/ln03/ln03.hpp"

namespace {
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

kv_status send(kv_glor* s, int32_t c) {
    return s->lprintc(s, c);
}

int32_t clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, -kMax, kMax));
}

// One relative move: the magnitude and the letter of its direction.
kv_status move(kv_glor* s, int32_t d, int32_t forward, int32_t back) {
    if (d == 0) return KV_SUCCESS;
    kv_status st = kv_lprintqstr(s, kv_ln03_csiqstr);
    jerr_uperr(&st, kv_lprintint(s, d > 0 ? d : -d));
    return jerr_uperr(&st, send(s, d > 0 ? forward : back));
}

// Bars that are the same in every row can be sent as one row that the
// printer stretches: the linear codes without guard bars or tall and short
// bars, printed across the page.
bool stretches(const kv_field* f) {
    return f->type >= KV_FT_CODE39 && f->type <= KV_FT_CODABAR && f->height > KV_SIXEL_ROWS &&
           f->indent <= 0 && (f->orientation == 0 || f->orientation == 180);
}

// Sends one field as a sixel string; `mx`, `my` follow the active position.
kv_status plotfield(kv_glor* s, kv_field* f, int64_t* mx, int64_t* my) {
    const int32_t sc = kv_ln03_scale(f->density);
    const bool stretch = stretches(f);
    const int64_t dx = int64_t{sc} * f->x - *mx;
    const int64_t dy = int64_t{sc} * f->y - *my;
    kv_status st = kv_ln03_relpos(s, clamp32(dx), clamp32(dy));
    *mx += clamp32(dx);
    *my += clamp32(dy);
    if (kv_failed(st)) return st;
    jerr_uperr(&st, kv_lprintqstr(s, kv_ln03_gstartqstr));
    jerr_uperr(&st, kv_lprintint(s, sc));
    jerr_uperr(&st, send(s, 'q'));
    jerr_uperr(&st, send(s, '"'));
    if (stretch) {
        // DECGRA: pixel aspect ratio, vertical to horizontal.
        jerr_uperr(&st, kv_lprintint(s, clamp32(int64_t{f->height} * 100 / KV_SIXEL_ROWS)));
        jerr_uperr(&st, kv_lprintqstr(s, ";100"));
    } else {
        jerr_uperr(&st, kv_lprintqstr(s, "1;1"));
    }
    const int32_t w = std::clamp(f->width, 0, KV_LN03_BANDCOLS);
    const int64_t bottom = int64_t{f->y} + f->depth;
    for (int64_t r = f->y; r < bottom && kv_ok(st);) {
        const int32_t h = static_cast<int32_t>(std::min<int64_t>(KV_SIXEL_ROWS, bottom - r));
        const int32_t row = clamp32(r);
        kv_rect band{f->x, row, w, h};
        kv_clearmap(s);
        st = kv_imageone(s, &band, f, -f->x, -row);
        if (kv_ok(st)) st = kv_ln03_dumprow(s, w);
        r += h;
        if (stretch || r >= bottom || kv_failed(st)) break;
        // DECGNL: the next six rows.
        jerr_uperr(&st, send(s, '-'));
        jerr_uperr(&st, kv_lprintqstr(s, kv_ln03_crlfqstr));
        *my += int64_t{sc} * h;
    }
    // The string is closed even after a failure, so that what follows is text.
    kv_status end = kv_lprintqstr(s, kv_ln03_crlfqstr);
    jerr_uperr(&end, kv_lprintqstr(s, kv_ln03_gendqstr));
    return jerr_uperr(&st, end);
}
} // namespace

kv_status kv_ln03_relpos(kv_glor* s, int32_t dx, int32_t dy) {
    kv_status st = move(s, dx, 'a', 'j');          // HPR, HPB
    return jerr_uperr(&st, move(s, dy, 'e', 'k')); // VPR, VPB
}

kv_status kv_ln03_dumprow(kv_glor* s, int32_t w) {
    const uint8_t* planes[1] = {s->bandmap};
    return kv_sixel_row(s, planes, 1, std::clamp(w, 0, KV_LN03_BANDCOLS), 0);
}

kv_status kv_ln03_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h, int32_t) {
    kv_sixel_mark(s->bandmap, nullptr, KV_LN03_BANDCOLS, x, y, w, h);
    return KV_SUCCESS;
}

kv_status kv_ln03_lplotcode(kv_glor* s) {
    if (s->fieldhead == nullptr) return KV_SUCCESS;
    kv_status st = KV_SUCCESS;
    // The symbol belongs where the data sequence stood, which is after the
    // line feeds held back so far: they go out before it is drawn.
    if (s->heldlf > 0) {
        const int32_t cr = s->crcount;
        st = kv_ln03_sendheldlf(s);
        s->crcount = cr; // the active position is still at the start of a line
    }
    kv_ln03_work* w = kv_ln03_w(s);
    const bool pum = w->pumset != 0;
    const int32_t unit = w->unitcode;
    // Pixels as the unit of every move and of the grid size.
    if (!pum) jerr_uperr(&st, kv_lprintqstr(s, kv_ln03_setpumqstr));
    if (unit != '7') {
        jerr_uperr(&st, kv_lprintqstr(s, kv_ln03_csiqstr));
        jerr_uperr(&st, kv_lprintqstr(s, "7 I"));
    }
    int64_t mx = 0, my = 0;
    kv_fieldcursor cur;
    kv_fieldfirst(s, &cur);
    for (; cur.current != nullptr && kv_ok(st); kv_fieldnext(s, &cur))
        st = plotfield(s, cur.current, &mx, &my);
    // Back where the application left the active position, in its own modes,
    // whatever happened above.
    kv_status back = kv_ln03_relpos(s, clamp32(-mx), clamp32(-my));
    if (!pum) jerr_uperr(&back, kv_lprintqstr(s, kv_ln03_resetpumqstr));
    if (unit != '7') {
        jerr_uperr(&back, kv_lprintqstr(s, kv_ln03_csiqstr));
        jerr_uperr(&back, send(s, unit));
        jerr_uperr(&back, kv_lprintqstr(s, " I"));
    }
    jerr_uperr(&st, back);
    kv_fielddelall(s);
    return st;
}
