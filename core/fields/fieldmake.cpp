#include "core/fields/fieldmake.hpp"

#include <cstring>

#include "core/driver/fieldtypes.hpp"
#include "core/driver/kvalloc.hpp"
#include "core/driver/qstrops.hpp"
#include "core/fields/chkcat.hpp"
#include "core/fields/fieldclass.hpp"
#include "core/fields/fieldqueue.hpp"
#include "core/fields/fieldrender.hpp"

const kv_pnetfix kv_pnetfix_list[] = {
    // printer, orientation, density, tall bar, short bar, class-1 width, class-0 width
    {256, 0, 1, 9, 3, 2, 1},   {257, 0, 1, 9, 4, 2, 1},   {384, 0, 1, 9, 4, 2, 1},
    {385, 0, 1, 9, 4, 2, 1},   {400, 0, 1, 7, 3, 2, 1},   {400, 90, 1, 7, 3, 2, 1},
    {401, 0, 1, 7, 3, 2, 1},   {401, 90, 1, 7, 3, 2, 1},  {528, 0, 1, 9, 4, 2, 1},
    {640, 0, 2, 19, 8, 4, 3},  {640, 90, 2, 19, 8, 4, 3}, {768, 0, 2, 19, 8, 4, 3},
    {768, 90, 2, 19, 8, 4, 3}, {1024, 0, 0, 9, 3, 2, 1},  {-1, 0, 0, 0, 0, 0, 0},
};

namespace {
// A field record with room for `datalen` bytes of data, four check
// characters and the terminator.
kv_field* newfield(size_t datalen) {
    kv_field* f = kv_new<kv_field>();
    if (f == nullptr) return nullptr;
    f->textcap = datalen + 5;
    f->text = kv_newarray<char>(f->textcap);
    if (!f->text) {
        kv_fieldfree(f);
        return nullptr;
    }
    return f;
}

void fillfield(const kv_glor* s, kv_field* f, int32_t pitch, int32_t hpos, int32_t hdots) {
    const kv_ftype* t = s->curtype;
    f->pitch = pitch;
    f->column = hpos;
    f->x = hdots;
    f->orientation = s->ornt;
    f->density = s->density;
    f->type = t->type;
    f->subtype = t->subtype;
    f->compaction = s->compaction;
    std::memcpy(f->widths, t->widths, sizeof f->widths);
    f->aspect = s->aspect;
    f->codewidth = s->codewidth;
    f->height = s->codeheight;
    f->indent = (t->type == KV_FT_UPC || t->type == KV_FT_EAN || t->type == KV_FT_POSTNET)
                    ? t->indent
                    : 0;
    if (t->type == KV_FT_MAXICODE && (s->prncode == 640 || s->prncode == 768)) f->density = 3;
}

// The human-readable line of `main`: the same head and text, drawn as type 1
// under (or beside) the symbol.
kv_status maketext(kv_glor* s, kv_field* main, kv_field* text, size_t checklen) {
    kv_fieldcopyhead(text, main);
    text->type = KV_FT_TEXT;
    qstr_cpy(text->text.get(), text->textcap, main->text.get());
    // Cut what the check step appended, also when the data was empty.
    if (main->type == KV_FT_CODE128 && s->curtype->check != 0)
        qstr_setlen(text->text.get(), checklen);
    text->textwidth = 6 * main->widths[0];
    text->textdepth = 9 * main->widths[0];
    kv_status st = kv_fsizecalc(s, text);
    if (kv_failed(st) && st != KV_IVBARC) return st;

    if (main->orientation == 0 || main->orientation == 180)
        text->x += (main->width - text->width) / 2;
    else
        text->y += (main->depth - text->depth) / 2;

    const int32_t gap = text->textdepth / 4 - main->indent;
    switch (main->orientation) {
    case 0: text->y += gap + main->depth; break;
    case 90: main->x += gap + text->width; break;
    case 180: main->y += gap + text->depth; break;
    case 270: text->x += gap + main->width; break;
    default: break;
    }
    return KV_SUCCESS;
}
} // namespace

kv_status kv_fixpnet(kv_glor* s, kv_field* f) {
    if (f->type != KV_FT_POSTNET) return KV_SUCCESS;
    int32_t ornt = f->orientation;
    if (ornt == 180) ornt = 0;
    if (ornt == 270) ornt = 90;
    for (const kv_pnetfix* r = kv_pnetfix_list; r->prncode != -1; ++r) {
        if (r->prncode == s->prncode && r->orientation == ornt) {
            f->density = r->density;
            f->height = r->tall;
            f->indent = r->shortbar;
            f->widths[0] = f->widths[1] = r->width0;
            f->widths[2] = f->widths[3] = r->width1;
            return KV_SUCCESS;
        }
    }
    return KV_IVPNET;
}

kv_status kv_fieldmake(kv_glor* s, int32_t pitch, int32_t hpos, int32_t hdots, const char* data) {
    kv_status st = KV_SUCCESS;
    if (s->curtype == nullptr) return KV_INTRNL;
    const size_t datalen = qstr_len(data);

    kv_field* main = newfield(datalen);
    kv_field* text = nullptr;
    if (main != nullptr && s->textopt != 0) {
        text = newfield(datalen);
        if (text == nullptr) {
            kv_fieldfree(main);
            main = nullptr;
        }
    }
    if (main == nullptr) return KV_MEMOVFL;

    fillfield(s, main, pitch, hpos, hdots);
    if (main->type == KV_FT_POSTNET) jerr_uperr(&st, kv_fixpnet(s, main));

    qstr_cpy(main->text.get(), main->textcap, data);
    if (main->type == KV_FT_UPC && (main->subtype == 'e' || main->subtype == 'E'))
        kv_upc_a2e(main->text.get());
    const size_t checklen = qstr_len(main->text.get());
    jerr_uperr(&st, kv_chkcat(s, main->text.get(), main->textcap, s->curtype->check, main->type,
                              main->subtype));

    const kv_fieldclass* cls = kv_fieldclassof(main->type);
    if (kv_ok(st) && cls != nullptr && cls->make2 != nullptr) jerr_uperr(&st, cls->make2(s, main));
    jerr_uperr(&st, kv_fsizecalc(s, main));

    if (text != nullptr && (kv_ok(st) || st == KV_IVBARC)) {
        kv_status tst = maketext(s, main, text, checklen);
        if (kv_failed(tst)) jerr_uperr(&st, tst);
    }

    if (kv_ok(st) || st == KV_IVBARC) {
        kv_fieldadd(s, main);
        kv_fieldadd(s, text);
        return st;
    }
    kv_fieldfree(main); // releases the encoder state too
    kv_fieldfree(text);
    return st;
}
