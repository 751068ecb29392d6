#include "drivers/common/sixel.hpp"

#include <algorithm>
#include <cstdint>

#include "core/driver/printops.hpp"

namespace {
kv_status send(kv_glor* s, int32_t c) {
    return s->lprintc(s, c);
}
} // namespace

kv_status kv_sixel_gsend(kv_glor* s, int32_t v, int32_t n) {
    const int32_t ch = (v & 63) + 63;
    if (n > 3) {
        // DECGRI: graphics repeat introducer.
        kv_status st = send(s, '!');
        jerr_uperr(&st, kv_lprintint(s, n));
        return jerr_uperr(&st, send(s, ch));
    }
    kv_status st = KV_SUCCESS;
    for (int32_t i = 0; i < n && kv_ok(st); ++i) st = send(s, ch);
    return st;
}

void kv_sixel_begin(kv_sixelrun* r, int32_t blank) {
    r->value = 0;
    r->length = std::max(blank, 0);
    r->count = 0;
}

kv_status kv_sixel_wrap(kv_glor* s, kv_sixelrun* r) {
    if (r->count <= KV_SIXEL_LINE) return KV_SUCCESS;
    r->count = 0;
    kv_status st = send(s, '\r');
    return jerr_uperr(&st, send(s, '\n'));
}

kv_status kv_sixel_put(kv_glor* s, kv_sixelrun* r, uint8_t v) {
    v &= 63;
    if (v == r->value) {
        // Counts far beyond any paper width cannot wrap round.
        if (r->length < INT32_MAX) ++r->length;
        return KV_SUCCESS;
    }
    kv_status st = kv_sixel_gsend(s, r->value, r->length);
    r->count += std::min(r->length, 4);
    r->value = v;
    r->length = 1;
    return st;
}

kv_status kv_sixel_end(kv_glor* s, kv_sixelrun* r) {
    if (r->value == 0) return KV_SUCCESS;
    return kv_sixel_gsend(s, r->value, r->length);
}

kv_status kv_sixel_row(kv_glor* s, const uint8_t* const* planes, int32_t nplanes, int32_t w,
                       int32_t blank) {
    kv_sixelrun r;
    kv_sixel_begin(&r, blank);
    kv_status st = KV_SUCCESS;
    for (int32_t c = 0; c < w && kv_ok(st); ++c) {
        st = kv_sixel_wrap(s, &r);
        for (int32_t p = 0; p < nplanes && kv_ok(st); ++p) st = kv_sixel_put(s, &r, planes[p][c]);
    }
    if (kv_ok(st)) st = kv_sixel_end(s, &r);
    return st;
}
