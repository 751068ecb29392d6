// core/linear, layer 4 (symbologies): linear mappers, drawing only through field primitives.
// UPC and EAN: every variant is a short template that a reader walks together
// with the field's digits; one mapper draws them all.
#pragma once

#include <cstdint>

#include "core/fields/fieldmap.hpp"

// Walks a variant's template and the field's data together.
struct upc_reader {
    int32_t subtype; // lower-case variant letter
    int32_t pos;     // next data character
    int32_t length;
    const char* data;
    int32_t tpos; // next template character
    int32_t tlength;
    const char* templ;
    int32_t dcount; // `d` letters seen so far
    int32_t mask;   // parity mask of the `d` letters: bit n set = even set
};

// Parity sets produced by upc_next.
inline constexpr int32_t UPC_ODD = 0;   // left-hand odd set (code A)
inline constexpr int32_t UPC_RIGHT = 1; // right-hand set (code C)
inline constexpr int32_t UPC_EVEN = 2;  // left-hand even set (code B)

// Template of a variant: '3', '8', 'a', 'b', 'c', 'e' (lower case), else null.
const char* UPCLookup(int32_t subtype);
// '3': EAN-13 mask of the leading digit `index`; 'e': UPC-E mask of the check
// digit `index`; '1': the number-system-1 inversion mask. Else -1.
int32_t UPCParity(int32_t kind, int32_t index);

// 1 when the subtype (case ignored) has a template, else 0.
int32_t upc_open(upc_reader* r, int32_t subtype, int32_t length, const char* data);
// The next thing to draw: a digit, a guard ('!', '#', '.') or a character
// without a pattern; its parity set and whether its bars are shortened.
// 0 at the end.
int32_t upc_next(upc_reader* r, int32_t* charout, int32_t* parityout, int32_t* shortout);
int32_t upc_close(upc_reader* r);
// 0..9 for a decimal digit, else -1.
int32_t upc_cindex(int32_t c);

// One check digit to *out: weight 3 on the first, third, ... character from
// the left (UPC) ...
void upc_chkcalc(int32_t length, const char* data, char* out);
// ... or from the right (EAN, and the 2 of 5 codes). Only digits count.
void ean_chkcalc(int32_t length, const char* data, char* out);

kv_status kv_upc_cmap(kv_glor* s, kv_mapctx* m, int32_t c, int32_t parity);
kv_status kv_upc_map(kv_glor* s, kv_mapctx* m);
