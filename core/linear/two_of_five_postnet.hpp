// core/linear, layer 4 (symbologies): linear mappers, drawing only through field primitives.
// Interleaved and standard 2 of 5, and POSTNET.
#pragma once

#include <cstdint>

#include "core/fields/fieldmap.hpp"

// 0..9 for a decimal digit, else -1.
int32_t code25_cindex(int32_t c);
int32_t postnet_cindex(int32_t c);

// POSTNET check digit: makes the digit sum a multiple of 10.
void postnet_chkcalc(int32_t length, const char* data, char* out);

// A pair of interleaved 2 of 5: the first digit in the bars, the second in
// the spaces.
kv_status kv_i25_cmap(kv_glor* s, kv_mapctx* m, int32_t firstdigit, int32_t seconddigit);
kv_status kv_i25_map(kv_glor* s, kv_mapctx* m);
kv_status kv_s25_cmap(kv_glor* s, kv_mapctx* m, int32_t digit);
kv_status kv_s25_map(kv_glor* s, kv_mapctx* m);
// One POSTNET character: a digit's five bars, full or half height; hyphens
// and spaces draw nothing.
kv_status kv_pnet_cmap(kv_glor* s, kv_mapctx* m, int32_t halfheight, int32_t fullheight, int32_t c);
kv_status kv_pnet_map(kv_glor* s, kv_mapctx* m);
