#include "core/matrix/datamatrix_field.hpp"

#include "core/driver/kvalloc.hpp"
#include "core/driver/qstrops.hpp"
#include "core/fields/encstatus.hpp"
#include "core/fields/unescape.hpp"
#include "core/matrix/datamatrix.hpp"

namespace {
void releasesymbol(void* p) {
    auto* sym = static_cast<datamtx_symbol*>(p);
    datamtx_close(sym);
    kv_delete(sym);
}

// Header option of a subset letter: '5' Macro 05, '6' Macro 06, 'M' reader
// programming, anything else none.
int32_t subsetoptions(int32_t subtype) {
    switch (subtype) {
    case '5':
        return DATAMTX_OPT_MACRO05;
    case '6':
        return DATAMTX_OPT_MACRO06;
    case 'M':
        return DATAMTX_OPT_READERPROG;
    default:
        return 0;
    }
}
} // namespace

kv_status kv_fieldmake2_datamtx(kv_glor* s, kv_field* f) {
    if (s == nullptr || f == nullptr || !f->text || s->curtype == nullptr) return KV_INTRNL;
    auto* sym = kv_new<datamtx_symbol>();
    if (sym == nullptr) return KV_MEMOVFL;
    f->symbol = kv_symbolptr(sym, kv_symbolfree{releasesymbol});

    char* text = f->text.get();
    const int32_t length = kv_unescapestr(text, static_cast<int32_t>(qstr_len(text)));
    text[length] = '\0';

    datamtx_open(sym);
    sym->ecctype = s->curtype->check;
    sym->options = subsetoptions(f->subtype);
    sym->reqsize = f->codewidth;
    sym->modwidth = f->widths[1];
    sym->modheight = f->widths[1];
    if (datamtx_imagecalc(sym, reinterpret_cast<const uint8_t*>(text), length) == 0)
        return kv_encstatus(sym->error);
    return KV_SUCCESS;
}

kv_status kv_datamtx_map(kv_glor*, kv_mapctx* m) {
    if (m == nullptr || m->field == nullptr) return KV_SUCCESS;
    auto* sym = static_cast<datamtx_symbol*>(m->field->symbol.get());
    if (datamtx_setcallback(sym, kv_callback_plotf, m) != 0) datamtx_imagepaint(sym);
    return KV_SUCCESS;
}

void kv_datamtx_imagesize(const kv_field* f, int32_t* wide, int32_t* deep) {
    const auto* sym = f == nullptr ? nullptr : static_cast<const datamtx_symbol*>(f->symbol.get());
    *wide = datamtx_imagewide(sym);
    *deep = datamtx_imagedeep(sym);
}
