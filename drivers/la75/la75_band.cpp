// Band output of the LA75 driver on the shared band loop: while the paper
// advances past pending fields, each field's next six dot rows are rendered
// into the band and sent as a sixel string at the field's column, and the
// paper is moved six dots at a time with DECVERP and line feeds.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/driver/printops.hpp"
#include "drivers/common/band.hpp"
#include "drivers/la75/la75.hpp"

namespace {
constexpr int32_t ESC = 27;

kv_status dumpfield(kv_glor* s, const kv_field* f, int32_t x, int32_t w) {
    return kv_la75_dumprow(s, f->pitch, f->column, x, w);
}

// The printer steps only by the spacings DECVERP offers, and the spacing is
// sent before every step: a step of six rows is DECVERP 3.
kv_status respace(kv_glor* s, int32_t* n, int32_t* current) {
    kv_status st = kv_la75_setvspace(s, n);
    *current = *n;
    return st;
}

kv_status headback(kv_glor* s, int32_t col) {
    return kv_la75_sethpos(s, s->pitch, col);
}
} // namespace

// A band column is 1/72 inch, which is no whole number of character cells:
// a field reaching left of the margin is not cut (it is sent from its
// column, blank columns dropped).
const kv_bandops kv_la75_bandops = {kv_la75_band, 0, dumpfield, respace, 1, headback};

kv_status kv_la75_endinput(kv_glor* s) {
    return kv_bandendinput(s, kv_la75_bandops);
}

kv_status kv_la75_setvspace(kv_glor* s, int32_t* n) {
    int32_t best = 0;
    for (int32_t i = 1; i < 7; ++i)
        if (std::abs(kv_la75_dpltable[i] - *n) <= std::abs(kv_la75_dpltable[best] - *n)) best = i;
    kv_status st = kv_lprintqstr(s, kv_la75_csiqstr);
    jerr_uperr(&st, kv_lprintint(s, best));
    jerr_uperr(&st, kv_send(s, 'z'));
    *n = kv_la75_dpltable[best];
    return st;
}

kv_status kv_la75_sethpos(kv_glor* s, int32_t p, int32_t col) {
    kv_status st = KV_SUCCESS;
    if (p >= 0) {
        st = kv_lprintqstr(s, kv_la75_csiqstr);
        jerr_uperr(&st, kv_lprintint(s, p));
        jerr_uperr(&st, kv_send(s, 'w'));
    }
    jerr_uperr(&st, kv_send(s, '\r'));
    for (int32_t i = 0; i < col && kv_ok(st); ++i) st = kv_send(s, ' ');
    s->hpos = col;
    return st;
}

kv_status kv_la75_dumprow(kv_glor* s, int32_t p, int32_t col, int32_t x, int32_t w) {
    kv_status st = kv_la75_sethpos(s, p, col);
    jerr_uperr(&st, kv_lprintqstr(s, kv_la75_gstartqstr));
    jerr_uperr(&st, kv_lprintqstr(s, kv_la75_crlfqstr));
    const uint8_t* planes[2] = {kv_bandplane(s, kv_la75_band, 0), kv_bandplane(s, kv_la75_band, 1)};
    // The blank sixels up to the field's left edge start the first run.
    if (kv_ok(st))
        st = kv_sixel_row(s, planes, 2, std::clamp(w, 0, KV_LA75_BANDCOLS),
                          2 * std::clamp(x, 0, KV_LA75_BANDCOLS));
    // DECGCR, then ST: the string is closed even after a failure.
    kv_status end = kv_send(s, '$');
    jerr_uperr(&end, kv_lprintqstr(s, kv_la75_crlfqstr));
    jerr_uperr(&end, kv_send(s, ESC));
    jerr_uperr(&end, kv_send(s, '\\'));
    return jerr_uperr(&st, end);
}

// Exactly the distance asked for: a line feed from any position, and a sixel
// new line of the application, move the paper as far as they would have
// without fields (in whole steps of six dots).
kv_status kv_la75_plotnscroll(kv_glor* s, int32_t* n) {
    int32_t done = 0;
    const kv_status st = kv_bandplot(s, kv_la75_bandops, *n, &done);
    *n = done;
    return st;
}

kv_status kv_la75_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                            int32_t density) {
    return kv_bandsetregion(s, kv_la75_band, x, y, w, h, density);
}
