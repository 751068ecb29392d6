#include "core/command/ftypes.hpp"

#include "core/driver/qstrops.hpp"

const kv_ftypename kv_ftypetable[] = {
    {KV_FT_CODE39, "CODE39"},   {KV_FT_CODE128, "CODE128"},       {KV_FT_I2OF5, "I2OF5"},
    {KV_FT_S2OF5, "S2OF5"},     {KV_FT_MSI, "MSI"},               {KV_FT_CODABAR, "CODABAR"},
    {KV_FT_UPC, "UPC"},         {KV_FT_EAN, "EAN"},               {KV_FT_POSTNET, "POSTNET"},
    {KV_FT_PDF417, "PDF417"},   {KV_FT_MAXICODE, "MAXICODE"},     {KV_FT_AZTEC, "AZTEC"},
    {KV_FT_DATAMATRIX, "DATAMATRIX"}, {0, nullptr},
};

const kv_ftype kv_defftypes[KV_NFTYPES] = {
    // type, subtype, check, indent, {bar, space} of classes 0..3
    {KV_FT_CODE39, 0, 0, 0, {1, 1, 3, 3, 0, 0, 0, 0}},
    {KV_FT_CODE128, 'B', 1, 0, {1, 1, 2, 2, 3, 3, 4, 4}},
    {KV_FT_I2OF5, 0, 0, 0, {1, 1, 3, 3, 0, 0, 0, 0}},
    {KV_FT_S2OF5, 0, 0, 0, {1, 1, 3, 3, 0, 0, 0, 0}},
    {KV_FT_MSI, 0, 0, 0, {1, 1, 3, 3, 0, 0, 0, 0}},
    {KV_FT_CODABAR, 0, 0, 0, {1, 1, 3, 3, 0, 0, 0, 0}},
    {KV_FT_UPC, 'A', 1, 0, {1, 1, 2, 2, 3, 3, 4, 4}},
    {KV_FT_EAN, '8', 1, 0, {1, 1, 2, 2, 3, 3, 4, 4}},
    {KV_FT_POSTNET, 0, 1, 3, {1, 1, 2, 2, 3, 3, 8, 8}},
    {KV_FT_RESERVED, 0, 0, 0, {2, 2, 2, 2, 0, 0, 0, 0}},
    {KV_FT_PDF417, 0, 9, 0, {1, 1, 3, 3, 0, 0, 0, 0}},
    {KV_FT_MAXICODE, 'A', 1, 0, {1, 1, 3, 3, 0, 0, 0, 0}},
    {KV_FT_AZTEC, 'A', 23, 0, {1, 1, 1, 1, 0, 0, 0, 0}},
    {KV_FT_DATAMATRIX, 'A', 200, 0, {1, 1, 1, 1, 0, 0, 0, 0}},
    {0, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
    {0, 0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
};

int32_t kv_findftype(kv_glor*, const char* name) {
    for (const kv_ftypename* t = kv_ftypetable; t->type != 0; ++t) {
        if (qstr_cmp(t->name, name) == 0) return t->type;
    }
    return 0;
}

kv_status kv_selectftype(kv_glor* s, int32_t type) {
    if (s->curtype != nullptr && s->curtype->type == type) return KV_SUCCESS;
    for (kv_ftype* t = s->ftypes; t < s->ftypes + KV_NFTYPES && t->type != 0; ++t) {
        if (t->type == type) {
            s->curtype = t;
            return KV_SUCCESS;
        }
    }
    return KV_INTRNL;
}
