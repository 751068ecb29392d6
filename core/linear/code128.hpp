// core/linear, layer 4 (symbologies): linear mappers, drawing only through field primitives.
// Code 128: the symbol table and the reader that turns field data (with its
// marked bytes for function characters and subset changes) into symbol
// values.
#pragma once

#include <cstdint>

#include "core/fields/fieldmap.hpp"

// Marked bytes in Code 128 data.
inline constexpr int32_t C128_SHIFT = 0x80;
inline constexpr int32_t C128_FNC1 = 0xB1;
inline constexpr int32_t C128_END = 0xD3; // supplied by the reader after the data

struct c128_reader {
    int32_t subset; // 'a', 'b' or 'c'
    int32_t shift;  // a SHIFT applies to the next symbol
    int32_t pos;
    int32_t length;
    const uint8_t* data;
    uint8_t stack[2];
    int32_t stackcount;
    // The data ended with a lone digit in subset C, printed in subset B after a
    // CODE B the reader supplied. Bytes appended to the data would pair with
    // that digit, so the check character is appended after an explicit CODE B.
    int32_t lonelast;
};

int32_t c128_open(c128_reader* r, int32_t subsetletter, int32_t length, const char* data);
int32_t c128_close(c128_reader* r);
int32_t c128_getc(c128_reader* r, int32_t* out);
int32_t c128_peek(c128_reader* r, int32_t* out);
// Next symbol: the subset in force for it and the byte or digit-pair value to
// look up. 0 when nothing is left. A digit without a digit after it in subset
// C is read in subset B after a code change (see code128.cpp).
int32_t c128_next(c128_reader* r, int32_t* subsetout, int32_t* valueout);

// Symbol value of `byte` in the subset, or -1.
int32_t code128_cindex(int32_t subsetletter, int32_t byte);
// The byte standing for `value` in subset 'a', 'b' or 'c', or -1.
int32_t Code128Access(int32_t subsetletter, int32_t value);
// The six element classes of a symbol value (0..106).
const uint8_t* code128_pattern(int32_t value);

// Maps one symbol: `value` is the byte or digit-pair value the reader gave for
// `subset`. The STOP byte gets its closing bar; a value no column holds is a
// solid block (IVBARC while measuring).
kv_status kv_c128_cmap(kv_glor* s, kv_mapctx* m, int32_t subset, int32_t value);
// Maps the field from its start subset (the field's subtype, 'B' when none).
kv_status kv_c128_map(kv_glor* s, kv_mapctx* m);
