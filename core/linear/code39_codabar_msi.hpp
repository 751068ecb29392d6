// core/linear, layer 4 (symbologies): linear mappers, drawing only through field primitives.
// Code 39, Codabar and MSI: the two-width symbologies.
#pragma once

#include <cstdint>

#include "core/fields/fieldmap.hpp"

// Row of the (upper-cased) character in its table, or -1.
int32_t code39_cindex(int32_t c);
int32_t codabar_cindex(int32_t c);
int32_t codemsi_cindex(int32_t c);

// Each writes one check character to *out.
void code39_chkcalc(int32_t length, const char* data, char* out);
void codemsi_chkcalc10(int32_t length, const char* data, char* out);
void codemsi_chkcalc11(int32_t length, const char* data, char* out);

kv_status kv_c39_cmap(kv_glor* s, kv_mapctx* m, int32_t c);
kv_status kv_codabar_cmap(kv_glor* s, kv_mapctx* m, int32_t c);
kv_status kv_msi_cmap(kv_glor* s, kv_mapctx* m, int32_t c);

kv_status kv_c39_map(kv_glor* s, kv_mapctx* m);
kv_status kv_codabar_map(kv_glor* s, kv_mapctx* m);
kv_status kv_msi_map(kv_glor* s, kv_mapctx* m);
