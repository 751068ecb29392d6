// Field output of the HP LaserJet+ driver: each queued field is drawn at once
// at the printer's cursor, between a cursor push and pop, either as raster
// rows eight band rows at a time or as one filled rectangle per bar or module.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/driver/printops.hpp"
#include "core/fields/fieldrender.hpp"
#include "drivers/common/pageprinter.hpp"
#include "drivers/hplaser/hplaser_internal.hpp"

namespace {
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
// The symbol's top stands this many printer dots above the text baseline,
// where the cursor is.
constexpr int32_t kRaise = 27;

constexpr auto send = kv_send;

int32_t clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, -kMax, kMax));
}

// Sign, digits of the magnitude and the parameter letter.
kv_status sendsigned(kv_glor* s, int32_t v, int32_t letter) {
    kv_status st = send(s, v >= 0 ? '+' : '-');
    jerr_uperr(&st, kv_lprintint(s, v >= 0 ? v : -v));
    return jerr_uperr(&st, send(s, letter));
}

kv_status dumpslice(kv_glor* s, int32_t w, int32_t h, bool) {
    return kv_hplaser_dumprow(s, w, h);
}

// Draws one field and leaves the cursor where it was.
kv_status plotfield(kv_glor* s, kv_field* f) {
    kv_hplaser_work* w = kv_hplaser_w(s);
    const int32_t sc = kv_hplaser_scale(f->density);
    kv_status st = kv_lprintqstr(s, kv_hplaser_cpushqstr);
    jerr_uperr(&st, kv_hplaser_lrelpos(s, clamp32(int64_t{sc} * f->x),
                                       clamp32(int64_t{sc} * f->y - kRaise)));
    if (kv_failed(st)) return st;
    kv_rect whole{f->x, f->y, f->width, f->depth};
    w->rulex = 0;
    w->ruley = 0;
    if (w->rulemode != 0) {
        st = kv_imageone(s, &whole, f, -f->x, -f->y);
    } else {
        jerr_uperr(&st, kv_lprintqstr(s, kv_hplaser_gdensityqstr));
        jerr_uperr(&st, kv_lprintint(s, 300 / sc));
        jerr_uperr(&st, send(s, 'R'));
        jerr_uperr(&st, kv_lprintqstr(s, kv_hplaser_strasterqstr));
        if (kv_ok(st))
            st = kv_pageslices(s, f, KV_HPLASER_BANDROWS, KV_HPLASER_MAXWIDTH, dumpslice);
        // Raster graphics are ended even after a failure, so the text that
        // follows is text again.
        kv_status end = kv_lprintqstr(s, kv_hplaser_ndrasterqstr);
        jerr_uperr(&st, end);
    }
    // Likewise the cursor goes back to where the text stands.
    kv_status pop = kv_lprintqstr(s, kv_hplaser_cpopqstr);
    return jerr_uperr(&st, pop);
}
} // namespace

kv_status kv_hplaser_lrelpos(kv_glor* s, int32_t dx, int32_t dy) {
    if (dx == 0 && dy == 0) return KV_SUCCESS;
    kv_status st = send(s, 27);
    jerr_uperr(&st, send(s, '*'));
    jerr_uperr(&st, send(s, 'p'));
    // Lower-case x when a y part follows in the same sequence.
    if (dx != 0) jerr_uperr(&st, sendsigned(s, clamp32(dx), dy != 0 ? 'x' : 'X'));
    if (dy != 0) jerr_uperr(&st, sendsigned(s, clamp32(dy), 'Y'));
    return st;
}

kv_status kv_hplaser_lsetrect(kv_glor* s, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return KV_SUCCESS;
    kv_status st = kv_lprintqstr(s, kv_hplaser_rectqstra);
    jerr_uperr(&st, kv_lprintint(s, width));
    jerr_uperr(&st, send(s, 'a'));
    jerr_uperr(&st, kv_lprintint(s, height));
    jerr_uperr(&st, send(s, 'b'));
    jerr_uperr(&st, send(s, '0'));
    return jerr_uperr(&st, send(s, 'P'));
}

kv_status kv_hplaser_dumprow(kv_glor* s, int32_t w, int32_t rows) {
    const int32_t n = std::clamp((w - 1) / 8 + 1, 1, KV_HPLASER_ROWBYTES);
    kv_status st = KV_SUCCESS;
    for (int32_t r = 0; r < rows && r < KV_HPLASER_BANDROWS && kv_ok(st); ++r) {
        st = kv_lprintqstr(s, kv_hplaser_graphcmdqstr);
        jerr_uperr(&st, kv_lprintint(s, n));
        jerr_uperr(&st, send(s, 'W'));
        if (kv_ok(st)) st = kv_sendrun(s, kv_bandrow(s, kv_hplaser_geom, 0, r), static_cast<size_t>(n));
    }
    return st;
}

kv_status kv_hplaser_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                               int32_t density) {
    if (w < 1 || h < 1) return KV_SUCCESS;
    kv_hplaser_work* hw = kv_hplaser_w(s);
    if (hw->rulemode != 0) {
        const int32_t sc = kv_hplaser_scale(density);
        kv_status st = s->lrelpos(s, clamp32(int64_t{sc} * (int64_t{x} - hw->rulex)),
                                  clamp32(int64_t{sc} * (int64_t{y} - hw->ruley)));
        hw->rulex = x;
        hw->ruley = y;
        jerr_uperr(&st, s->lsetrect(s, clamp32(int64_t{sc} * w), clamp32(int64_t{sc} * h)));
        return st;
    }
    return kv_bandsetregion(s, kv_hplaser_geom, x, y, w, h, density);
}

kv_status kv_hplaser_lplotcode(kv_glor* s) {
    static constexpr kv_pageops ops = {kv_send, nullptr, plotfield, nullptr};
    return kv_pageplot(s, ops);
}
