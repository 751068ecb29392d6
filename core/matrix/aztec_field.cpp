#include "core/matrix/aztec_field.hpp"

#include "core/driver/kvalloc.hpp"
#include "core/driver/qstrops.hpp"
#include "core/fields/encstatus.hpp"
#include "core/fields/unescape.hpp"
#include "core/matrix/aztec.hpp"

namespace {
void release(void* p) {
    auto* st = static_cast<aztec_state*>(p);
    aztec_close(st);
    kv_delete(st);
}

int32_t optionbits(int32_t subtype) {
    switch (subtype) {
    case 'R':
        return AZTEC_OPT_RUNE;
    case 'C':
        return AZTEC_OPT_COMPAT;
    case 'F':
        return AZTEC_OPT_FULLRANGE;
    case 'M':
        return AZTEC_OPT_MENU;
    default:
        return 0;
    }
}
} // namespace

kv_status kv_fieldmake2_aztec(kv_glor* s, kv_field* f) {
    auto* st = kv_new<aztec_state>();
    if (st == nullptr) return KV_MEMOVFL;
    f->symbol = kv_symbolptr(st, kv_symbolfree{release});
    aztec_open(st);

    char* text = f->text.get();
    const int32_t length = kv_unescapestr(text, static_cast<int32_t>(qstr_len(text)));
    qstr_setlen(text, static_cast<size_t>(length));

    st->eccpercent = s->curtype != nullptr ? s->curtype->check : 0;
    st->options = optionbits(f->subtype);
    st->layers = f->codewidth;
    st->modwidth = f->widths[1];
    st->modheight = f->widths[1];
    if (aztec_imagecalc(st, text, length) != 0) return KV_SUCCESS;
    return kv_encstatus(st->err);
}

kv_status kv_aztec_map(kv_glor*, kv_mapctx* m) {
    auto* st = static_cast<aztec_state*>(m->field->symbol.get());
    if (aztec_setcallback(st, kv_callback_plotf, m) != 0) aztec_imagepaint(st);
    return KV_SUCCESS;
}

void kv_aztec_imagesize(const kv_field* f, int32_t* wide, int32_t* deep) {
    const auto* st = static_cast<const aztec_state*>(f->symbol.get());
    *wide = aztec_imagewide(st);
    *deep = aztec_imagedeep(st);
}
