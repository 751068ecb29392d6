// Band output of the IBM Proprinter driver: pending fields are rendered eight
// dot rows at a time into the band bitmap and sent as dual-density bit images
// at each field's column while the paper advances.
#include <cstdint>

#include "drivers/ibm/ibm_internal.hpp"

namespace {
constexpr int32_t ESC = 27;

constexpr auto send = kv_send;

// ESC 3 n: line spacing n/216 inch.
kv_status sendspacing(kv_glor* s, int32_t n216) {
    const int32_t bytes[] = {ESC, '3', n216};
    kv_ibm_w(s)->printer216 = n216;
    return kv_sendbytes(s, bytes, 3);
}

// The band loop's hooks: the field's slice at its column; the spacing of a
// step in whole dot rows, and the application's own spacing, to the 1/216
// inch it gave, wherever the loop asks for a line's spacing; the head put
// back by CR, spaces and empty graphics columns.
kv_status dumpfield(kv_glor* s, const kv_field* f, int32_t x, int32_t w) {
    return kv_ibm_dumprow(s, f->column, x, w);
}

kv_status respace(kv_glor* s, int32_t* n, int32_t* current) {
    const kv_ibm_work* w = kv_ibm_w(s);
    const int32_t want = *n == s->linespace ? w->spacing216 : 3 * *n;
    *current = *n;
    return want == w->printer216 ? KV_SUCCESS : sendspacing(s, want);
}
} // namespace

const kv_bandops kv_ibm_band = {kv_ibm_geom, 2, dumpfield, respace, 0, kv_ibm_sethpos};

kv_status kv_ibm_setvspace(kv_glor* s, int32_t n) {
    return sendspacing(s, 3 * n);
}

kv_status kv_ibm_startgline(kv_glor* s, int32_t n) {
    if (n == 0) return KV_SUCCESS;
    const int32_t bytes[] = {ESC, 'L', n & 255, (n >> 8) & 255};
    return kv_sendbytes(s, bytes, 4);
}

// The CR that starts every move ends the line's double width on the printer,
// so the spaces that follow are counted at the width it prints them.
kv_status kv_ibm_sethpos(kv_glor* s, int32_t p) {
    kv_ibm_onelinecancel(s);
    return kv_headto(s, p, kv_ibm_startgline, 1);
}

kv_status kv_ibm_dumprow(kv_glor* s, int32_t column, int32_t x, int32_t w) {
    kv_status st = kv_ibm_sethpos(s, column + 2 * x);
    jerr_uperr(&st, kv_ibm_startgline(s, 2 * w));
    const uint8_t* left = kv_bandplane(s, kv_ibm_geom, 0);
    const uint8_t* right = kv_bandplane(s, kv_ibm_geom, 1);
    for (int32_t c = 0; c < w && kv_ok(st); ++c) {
        st = send(s, left[c]);
        if (kv_ok(st)) st = send(s, right[c]);
    }
    return st;
}

kv_status kv_ibm_plotnscroll(kv_glor* s, int32_t n) {
    return kv_bandplot(s, kv_ibm_band, n);
}

kv_status kv_ibm_endinput(kv_glor* s) {
    return kv_bandendinput(s, kv_ibm_band);
}

kv_status kv_ibm_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                           int32_t density) {
    return kv_bandsetregion(s, kv_ibm_geom, x, y, w, h, density);
}
