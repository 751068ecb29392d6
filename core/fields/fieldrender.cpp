#include "core/fields/fieldrender.hpp"

#include <algorithm>
#include <utility>

#include "core/driver/fieldtypes.hpp"
#include "core/driver/qstrops.hpp"
#include "core/fields/fieldclass.hpp"

kv_status kv_fieldprep(kv_glor* s, const kv_rect* band, kv_mapctx* m, kv_field* f,
                       int32_t originx, int32_t originy, int sizing) {
    *m = kv_mapctx{};
    m->state = s;
    m->field = f;
    m->sizing = sizing;
    m->originx = originx;
    m->originy = originy;
    m->barheight = f->height;
    m->charcount = f->text ? static_cast<int32_t>(qstr_len(f->text.get())) : 0;
    m->clipx = band->x;
    m->clipy = band->y;
    m->clipw = band->w;
    m->cliph = band->h;
    if (sizing) {
        m->cliph = 0;
        return KV_SUCCESS;
    }

    kv_rect part{f->x, f->y, f->width, f->depth};
    if (!kv_clip(&part, *band)) {
        m->clipw = 0;
        m->cliph = 0;
        return KV_SUCCESS;
    }
    int32_t w = part.w;
    int32_t h = part.h;
    int32_t l = part.x - f->x;
    int32_t t = part.y - f->y;
    if (f->orientation == 90 || f->orientation == 270) {
        std::swap(l, t);
        std::swap(w, h);
    }
    switch (f->orientation) {
    case 90:
        t = f->width - (h + t);
        break;
    case 180:
        l = f->width - (w + l);
        t = f->depth - (h + t);
        break;
    case 270:
        l = f->depth - (w + l);
        break;
    default:
        break;
    }
    m->clipx = l;
    m->clipy = t;
    m->clipw = w;
    m->cliph = h;
    return KV_SUCCESS;
}

kv_status kv_dofmap(kv_glor* s, kv_mapctx* m) {
    const kv_fieldclass* c = kv_fieldclassof(m->field->type);
    if (c == nullptr || c->map == nullptr) return KV_INTRNL;
    return c->map(s, m);
}

kv_status kv_imageone(kv_glor* s, const kv_rect* band, kv_field* f, int32_t originx,
                      int32_t originy) {
    kv_mapctx m;
    kv_status st = kv_fieldprep(s, band, &m, f, originx, originy, 0);
    if (kv_ok(st) && m.clipw > 0 && m.cliph > 0) st = kv_dofmap(s, &m);
    return st == KV_IVBARC ? KV_SUCCESS : st;
}

kv_status kv_fsizecalc(kv_glor* s, kv_field* f) {
    kv_status st = KV_SUCCESS;
    int32_t wide = 0;
    int32_t deep = 0;
    const kv_fieldclass* c = kv_fieldclassof(f->type);
    if (c != nullptr && c->imagesize != nullptr) {
        c->imagesize(f, &wide, &deep);
    } else {
        static constexpr kv_rect everything{0, 0, 2147483647, 2147483647};
        kv_mapctx m;
        kv_fieldprep(s, &everything, &m, f, 0, 0, 1);
        st = kv_dofmap(s, &m);
        if (kv_failed(st) && st != KV_IVBARC) return st;
        wide = m.cursor;
        deep = f->type == KV_FT_TEXT ? f->textdepth : f->height;
    }
    if (f->orientation == 90 || f->orientation == 270) std::swap(wide, deep);
    f->width = wide;
    f->depth = deep;
    return st;
}
