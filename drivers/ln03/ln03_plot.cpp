// Field output of the LN03+ driver: every queued field is sent at once as a
// sixel string at the active position, reached by relative moves in pixels
// and left again by the opposite moves, so that the application's text goes
// on where it was. Upright linear bar codes are sent as one sixel row that
// the printer stretches to the bar height by the pixel aspect ratio.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/driver/fieldtypes.hpp"
#include "core/driver/printops.hpp"
#include "drivers/common/pageprinter.hpp"
#include "drivers/common/sixel.hpp"
#include "drivers/ln03/ln03.hpp"

namespace {
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();

int32_t clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, -kMax, kMax));
}

// One relative move: the magnitude and the letter of its direction.
kv_status move(kv_glor* s, int32_t d, int32_t forward, int32_t back) {
    if (d == 0) return KV_SUCCESS;
    kv_status st = kv_lprintqstr(s, kv_ln03_csiqstr);
    jerr_uperr(&st, kv_lprintint(s, d > 0 ? d : -d));
    return jerr_uperr(&st, kv_send(s, d > 0 ? forward : back));
}

// Bars that are the same in every row can be sent as one row that the
// printer stretches: the linear codes without guard bars or tall and short
// bars, printed across the page.
bool stretches(const kv_field* f) {
    return f->type >= KV_FT_CODE39 && f->type <= KV_FT_CODABAR && f->height > KV_SIXEL_ROWS &&
           f->indent <= 0 && (f->orientation == 0 || f->orientation == 180);
}

// Pixels as the unit of every move and of the grid size, unless the
// application has chosen them itself.
kv_status begin(kv_glor* s) {
    kv_ln03_work* w = kv_ln03_w(s);
    w->movedx = 0;
    w->movedy = 0;
    kv_status st = KV_SUCCESS;
    if (!w->pumset) st = kv_lprintqstr(s, kv_ln03_setpumqstr);
    if (w->unitcode != '7') {
        jerr_uperr(&st, kv_lprintqstr(s, kv_ln03_csiqstr));
        jerr_uperr(&st, kv_lprintqstr(s, "7 I"));
    }
    return st;
}

// Back where the application left the active position, in its own modes.
kv_status end(kv_glor* s) {
    kv_ln03_work* w = kv_ln03_w(s);
    kv_status st = kv_ln03_relpos(s, clamp32(-w->movedx), clamp32(-w->movedy));
    if (!w->pumset) jerr_uperr(&st, kv_lprintqstr(s, kv_ln03_resetpumqstr));
    if (w->unitcode != '7') {
        jerr_uperr(&st, kv_lprintqstr(s, kv_ln03_csiqstr));
        jerr_uperr(&st, kv_send(s, w->unitcode));
        jerr_uperr(&st, kv_lprintqstr(s, " I"));
    }
    return st;
}

// One slice of six rows (or fewer at the bottom); DECGNL before the next.
kv_status slice(kv_glor* s, int32_t w, int32_t h, bool more) {
    kv_status st = kv_ln03_dumprow(s, w);
    if (!more) return st;
    jerr_uperr(&st, kv_send(s, '-'));
    jerr_uperr(&st, kv_lprintqstr(s, kv_ln03_crlfqstr));
    kv_ln03_work* wk = kv_ln03_w(s);
    wk->movedy += int64_t{wk->scale} * h;
    return st;
}

// Sends one field as a sixel string.
kv_status plotfield(kv_glor* s, kv_field* f) {
    kv_ln03_work* w = kv_ln03_w(s);
    const int32_t sc = kv_ln03_scale(f->density);
    const bool stretch = stretches(f);
    const int32_t dx = clamp32(int64_t{sc} * f->x - w->movedx);
    const int32_t dy = clamp32(int64_t{sc} * f->y - w->movedy);
    kv_status st = kv_ln03_relpos(s, dx, dy);
    w->movedx += dx;
    w->movedy += dy;
    w->scale = sc;
    if (kv_failed(st)) return st;
    jerr_uperr(&st, kv_lprintqstr(s, kv_ln03_gstartqstr));
    jerr_uperr(&st, kv_lprintint(s, sc));
    jerr_uperr(&st, kv_send(s, 'q'));
    jerr_uperr(&st, kv_send(s, '"'));
    if (stretch) {
        // DECGRA: pixel aspect ratio, vertical to horizontal.
        jerr_uperr(&st, kv_lprintint(s, clamp32(int64_t{f->height} * 100 / KV_SIXEL_ROWS)));
        jerr_uperr(&st, kv_lprintqstr(s, ";100"));
    } else {
        jerr_uperr(&st, kv_lprintqstr(s, "1;1"));
    }
    if (kv_ok(st)) st = kv_pageslices(s, f, KV_SIXEL_ROWS, KV_LN03_BANDCOLS, slice, stretch);
    // The string is closed even after a failure, so that what follows is text.
    kv_status close = kv_lprintqstr(s, kv_ln03_crlfqstr);
    jerr_uperr(&close, kv_lprintqstr(s, kv_ln03_gendqstr));
    return jerr_uperr(&st, close);
}

constexpr kv_pageops kOps = {kv_ln03_dispatch, begin, plotfield, end};
} // namespace

kv_status kv_ln03_relpos(kv_glor* s, int32_t dx, int32_t dy) {
    kv_status st = move(s, dx, 'a', 'j');          // HPR, HPB
    return jerr_uperr(&st, move(s, dy, 'e', 'k')); // VPR, VPB
}

kv_status kv_ln03_dumprow(kv_glor* s, int32_t w) {
    const uint8_t* planes[1] = {s->bandmap};
    return kv_sixel_row(s, planes, 1, std::clamp(w, 0, KV_LN03_BANDCOLS), 0);
}

kv_status kv_ln03_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                            int32_t density) {
    return kv_bandsetregion(s, kv_ln03_band, x, y, w, h, density);
}

kv_status kv_ln03_lplotcode(kv_glor* s) {
    return kv_pageplot(s, kOps);
}
