#include "core/matrix/pdf417_field.hpp"

#include "core/driver/kvalloc.hpp"
#include "core/driver/qstrops.hpp"
#include "core/fields/encstatus.hpp"
#include "core/fields/unescape.hpp"
#include "core/matrix/pdf417.hpp"

namespace {
void release(void* p) {
    auto* sym = static_cast<pdf417_sym*>(p);
    pdf417_close(sym);
    kv_delete(sym);
}

pdf417_sym* symbolof(const kv_field* f) {
    return static_cast<pdf417_sym*>(f->symbol.get());
}
} // namespace

kv_status kv_fieldmake2_pdf417(kv_glor* s, kv_field* f) {
    auto* sym = kv_new<pdf417_sym>();
    if (sym == nullptr) return KV_MEMOVFL;
    f->symbol = kv_symbolptr(sym, kv_symbolfree{release});

    // The data may carry backslash escapes for bytes a print job cannot
    // hold (NUL among them), so the length is the resolved one, not the
    // string's.
    char* text = f->text.get();
    int32_t length = 0;
    if (text != nullptr) {
        length = kv_unescapestr(text, static_cast<int32_t>(qstr_len(text)));
        text[length] = '\0';
    }

    pdf417_open(sym);
    sym->ecclevel = s->curtype != nullptr ? s->curtype->check : PDF417_ECC_AUTO;
    if (f->subtype == 'T') sym->options |= PDF417_OPT_TRUNCATED;
    if (f->compaction != 'A') sym->options |= PDF417_OPT_NONUMERIC;
    sym->modwidth = f->widths[1];
    sym->rowheight = f->widths[3];
    sym->rows = sym->rowheight > 0 ? f->height / sym->rowheight : 0;
    sym->columns = f->codewidth;
    if (f->codewidth > 0) sym->options |= PDF417_OPT_USERCOLS;
    sym->aspect = f->aspect;
    if (!pdf417_gridcalc(sym, text, length)) return kv_encstatus(sym->errcode);
    return KV_SUCCESS;
}

kv_status kv_pdf417_map(kv_glor*, kv_mapctx* m) {
    if (m == nullptr || m->field == nullptr) return KV_SUCCESS;
    pdf417_sym* sym = symbolof(m->field);
    if (sym != nullptr && pdf417_setcallback(sym, kv_callback_plotf, m)) pdf417_paintgrid(sym);
    return KV_SUCCESS;
}

void kv_pdf417_imagesize(const kv_field* f, int32_t* wide, int32_t* deep) {
    const pdf417_sym* sym = symbolof(f);
    *wide = pdf417_imagewide(sym);
    *deep = pdf417_imagedeep(sym);
}
