#include "drivers/common/pageprinter.hpp"

#include <algorithm>
#include <limits>

#include "core/fields/fieldqueue.hpp"
#include "core/fields/fieldrender.hpp"

namespace {
int32_t bump(int32_t n) {
    return n < std::numeric_limits<int32_t>::max() ? n + 1 : n;
}
} // namespace

bool kv_pp_holdlf(kv_glor* s) {
    if (!s->holdlf) return false;
    s->heldlf = bump(s->heldlf);
    return true;
}

bool kv_pp_dropcr(kv_glor* s) {
    if (!s->squishcr) return false;
    const int32_t before = s->crcount;
    s->crcount = bump(s->crcount);
    return before > 0;
}

kv_status kv_pp_lineend(kv_glor* s, int32_t c) {
    if (c == '\n' ? kv_pp_holdlf(s) : kv_pp_dropcr(s)) return KV_SUCCESS;
    return kv_send(s, c);
}

kv_status kv_pp_release(kv_glor* s, kv_action_fn emit) {
    kv_status st = KV_SUCCESS;
    for (; s->heldlf > 0 && kv_ok(st); --s->heldlf) st = emit(s, '\n');
    s->heldlf = 0;
    s->crcount = 0;
    return st;
}

kv_status kv_pageplot(kv_glor* s, const kv_pageops& ops) {
    kv_status st = KV_SUCCESS;
    if (s->fieldhead != nullptr) {
        if (s->heldlf > 0) {
            const int32_t cr = s->crcount;
            st = kv_pp_release(s, ops.emitlf);
            s->crcount = cr;
        }
        if (kv_ok(st) && ops.begin != nullptr) st = ops.begin(s);
        kv_fieldcursor cur;
        kv_fieldfirst(s, &cur);
        for (; cur.current != nullptr && kv_ok(st); kv_fieldnext(s, &cur))
            st = ops.plotfield(s, cur.current);
        if (ops.end != nullptr) {
            const kv_status end = ops.end(s);
            jerr_uperr(&st, end);
        }
    }
    kv_fielddelall(s);
    return st;
}

kv_status kv_pageslices(kv_glor* s, kv_field* f, int32_t rows, int32_t maxwidth,
                        kv_sliceemit_fn emit, bool firstonly) {
    kv_status st = KV_SUCCESS;
    const int32_t w = std::min(f->width, maxwidth);
    const int64_t bottom = int64_t{f->y} + f->depth;
    for (int64_t r = f->y; r < bottom && kv_ok(st);) {
        const int32_t h = static_cast<int32_t>(std::min<int64_t>(rows, bottom - r));
        const int32_t row = static_cast<int32_t>(r);
        const kv_rect band{f->x, row, w, h};
        kv_clearmap(s);
        st = kv_imageone(s, &band, f, -f->x, -row);
        r += h;
        const bool more = r < bottom && !firstonly;
        if (kv_ok(st)) st = emit(s, w, h, more);
        if (firstonly) break;
    }
    return st;
}
