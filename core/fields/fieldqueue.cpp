#include "core/fields/fieldqueue.hpp"

#include <cstring>

#include "core/driver/kvalloc.hpp"

void kv_fieldcopyhead(kv_field* dst, const kv_field* src) {
    dst->pitch = src->pitch;
    dst->column = src->column;
    dst->x = src->x;
    dst->y = src->y;
    dst->width = src->width;
    dst->depth = src->depth;
    dst->orientation = src->orientation;
    dst->density = src->density;
    dst->type = src->type;
    dst->subtype = src->subtype;
    dst->compaction = src->compaction;
    std::memcpy(dst->widths, src->widths, sizeof dst->widths);
    dst->aspect = src->aspect;
    dst->codewidth = src->codewidth;
    dst->height = src->height;
    dst->indent = src->indent;
    dst->textwidth = src->textwidth;
    dst->textdepth = src->textdepth;
}

void kv_fieldfree(kv_field* f) { kv_delete(f); }

kv_status kv_fieldadd(kv_glor* s, kv_field* f) {
    if (f == nullptr) return KV_SUCCESS;
    f->next = s->fieldhead;
    s->fieldhead = f;
    return KV_SUCCESS;
}

kv_status kv_fieldfirst(kv_glor* s, kv_fieldcursor* c) {
    if (c == nullptr) return KV_SUCCESS;
    c->current = s->fieldhead;
    c->previous = nullptr;
    c->following = c->current != nullptr ? c->current->next : nullptr;
    return KV_SUCCESS;
}

kv_status kv_fieldnext(kv_glor*, kv_fieldcursor* c) {
    c->previous = c->current;
    c->current = c->following;
    if (c->current != nullptr) c->following = c->current->next;
    return KV_SUCCESS;
}

kv_status kv_fielddel(kv_glor* s, kv_fieldcursor* c) {
    if (c->current == nullptr) return KV_SUCCESS;
    kv_fieldfree(c->current);
    if (c->previous != nullptr)
        c->previous->next = c->following;
    else
        s->fieldhead = c->following;
    c->current = c->following;
    c->following = c->current != nullptr ? c->current->next : nullptr;
    return KV_SUCCESS;
}

kv_status kv_fielddelall(kv_glor* s) {
    kv_fieldcursor c;
    kv_fieldfirst(s, &c);
    while (c.current != nullptr) kv_fielddel(s, &c);
    return KV_SUCCESS;
}

kv_status kv_scrollall(kv_glor* s, int32_t dots) {
    kv_fieldcursor c;
    kv_fieldfirst(s, &c);
    while (c.current != nullptr) {
        c.current->y -= dots;
        if (static_cast<int64_t>(c.current->y) + c.current->depth < 1)
            kv_fielddel(s, &c);
        else
            kv_fieldnext(s, &c);
    }
    return KV_SUCCESS;
}

kv_status kv_maxleft(kv_glor* s, int32_t* out) {
    int32_t most = 0;
    for (const kv_field* f = s->fieldhead; f != nullptr; f = f->next) {
        const int32_t bottom = f->y + f->depth;
        if (bottom > most) most = bottom;
    }
    *out = most;
    return KV_SUCCESS;
}

kv_status kv_clearmap(kv_glor* s) {
    std::memset(s->bandmap, 0, sizeof s->bandmap);
    return KV_SUCCESS;
}
