// Inner steps of the PDF417 encoder, each usable alone (for the encoder's
// own units and for tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "core/matrix/pdf417.hpp"

// Character class word of text compaction: the value within a sub-mode in
// the low 8 bits, the sub-modes that hold the character above.
enum : int32_t {
    PDF417_TT_ALPHA = 0x100,
    PDF417_TT_LOWER = 0x200,
    PDF417_TT_MIXED = 0x400,
    PDF417_TT_PUNCT = 0x800,
    PDF417_TT_BYTE = 0x1000, // not a text character
};
int32_t pdf417_texttype(int32_t c);

// Mode latches and shifts.
enum : int32_t {
    PDF417_CW_TEXT = 900,
    PDF417_CW_BYTE = 901,
    PDF417_CW_NUMERIC = 902,
    PDF417_CW_BYTESHIFT = 913,
    PDF417_CW_BYTE6 = 924,
};

// A run of the data that one compaction mode encodes: 'T' text, 'B' byte,
// 'N' numeric, over [start, end).
struct pdf417_run {
    int32_t type;
    int32_t start;
    int32_t end;
};

// Growable list of runs: starts with room for 16 and doubles when full.
struct pdf417_runlist {
    std::unique_ptr<pdf417_run[]> runs;
    int32_t count = 0;
    int32_t room = 0;
};

int pdf417_runlist_init(pdf417_runlist* list);
// Appends a run; 0 when the list cannot grow.
int pdf417_runlist_add(pdf417_runlist* list, int32_t type, int32_t start, int32_t end);
// Removes run `index`, moving the later runs down by one.
int pdf417_runlist_del(pdf417_runlist* list, int32_t index);
// Run `index`, or null outside 0 .. count - 1.
pdf417_run* pdf417_runlist_get(pdf417_runlist* list, int32_t index);
void pdf417_runlist_freeall(pdf417_runlist* list);
int32_t pdf417_runlistel_type(const pdf417_run* run);
int32_t pdf417_runlistel_len(const pdf417_run* run);
// Diagnostic listing of the runs (with their text when data are given).
void pdf417_runlist_gube(const pdf417_runlist* list, const uint8_t* data, std::FILE* out = stderr);

// Splits data into text, byte and numeric runs (numeric runs only from 13
// consecutive digits on, and none with PDF417_OPT_NONUMERIC).
int pdf417_segment(pdf417_runlist* list, const uint8_t* data, int32_t length, int32_t options);
// The three merge passes that fold short runs into their neighbours.
void pdf417_mergeruns(pdf417_runlist* list);

// Data to codewords, from codeword 1 on; sets the codeword count.
int pdf417_autocompact(pdf417_sym* sym, const uint8_t* data, int32_t length);
// Text compaction into at most `room` codewords; the number needed, negated
// when more than `room` were needed.
int32_t pdf417_textcompact(int32_t* out, const uint8_t* data, int32_t length, int32_t room);
// Numeric compaction: groups of 44 digits, each n / 3 + 1 codewords.
int32_t pdf417_numcompact(int32_t* out, const uint8_t* digits, int32_t length);
int32_t pdf417_numcompact44(int32_t* out, const uint8_t* digits, int32_t length);
// Byte compaction: 6 bytes to 5 codewords, a remainder byte by byte.
int32_t pdf417_bincompact(int32_t* out, const uint8_t* bytes, int32_t length);
int32_t pdf417_bincompact6(int32_t* out, const uint8_t* bytes);
int32_t pdf417_numcompactlen(int32_t n);
int32_t pdf417_bincompactlen(int32_t n);

// The highest error-correction level whose check codewords fit in `space`.
int32_t pdf417_ecc_maxforspace(int32_t space);
// Appends the 2^(level+1) check codewords after the codeword[0] data
// codewords; 0 when the level or the count is out of range.
int pdf417_ecccalc(int32_t* codewords, int32_t level);
// The largest grids: 16 x 58 or 29 x 32 (928 cells each).
void pdf417_maxgrid(pdf417_sym* sym);
// Square root by seven Newton steps from x / 200 + 2 (0 for x <= 0).
long double pdf417_hacksqrt(long double x);

// Paints one 17-module pattern at (x, y) as runs of bars; returns its width.
int32_t pdf417_paintcodeword(pdf417_sym* sym, int32_t x, int32_t y, uint32_t pattern);

// Byte move that tolerates overlapping ranges.
void pdf417_safemove(void* dst, const void* src, size_t n);
