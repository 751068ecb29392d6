// The stages of the Aztec encoder, for the encoder's own units and its tests:
// high-level encoding into a bit stream, codewords with bit stuffing and the
// choice of symbol size, Reed-Solomon, the mode message and the drawing.
#pragma once

#include <cstdint>

#include "core/matrix/bitstream.hpp"
#include "core/matrix/galois.hpp"
#include "core/matrix/modbitmap.hpp"

// Largest symbol: 32 layers of 12-bit codewords.
inline constexpr int32_t AZTEC_MAXBYTES = 2496;
inline constexpr int32_t AZTEC_MAXBITS = AZTEC_MAXBYTES * 8;
inline constexpr int32_t AZTEC_MAXWORDS = 1664;
inline constexpr int32_t AZTEC_MAXLAYERS = 32;
// A binary run's length field holds at most 31 + 2047.
inline constexpr int32_t AZTEC_MAXBINRUN = 2078;

// ---- high-level encoding (aztec_highlevel.cpp) ----

enum aztec_set : int32_t { AZTEC_UPPER, AZTEC_LOWER, AZTEC_MIXED, AZTEC_PUNCT, AZTEC_DIGIT };

// The encoded bit stream, most significant bit of each byte first.
using aztec_bitbuf = bitstream<AZTEC_MAXBYTES>;

// Appends the low n (0..16) bits of `value`, most significant first. 0 when
// the buffer would overflow (nothing is written then).
inline int aztec_stuffbits(aztec_bitbuf* b, uint32_t value, int n) {
    return b->put(value, n);
}
// Writes the codes that take the encoder from set `from` to set `to`.
int aztec_latchset(aztec_bitbuf* b, int32_t from, int32_t to);
// One pass over the data; the number of bits written, or -1 when they do not
// fit the buffer.
int32_t aztec_encodebits(aztec_bitbuf* b, const uint8_t* data, int32_t length);
// Bit `pos` of the stream (0 or 1).
inline int aztec_getbit(const aztec_bitbuf* b, int32_t pos) {
    return b->bit(pos);
}
// ---- geometry, codewords and symbol size (aztec_codewords.cpp) ----

// Reference-grid line pairs of a full-range symbol of L layers.
int32_t aztec_gridpairs(int32_t layers);
// Side in modules; a compact symbol of 0 layers is a rune.
int32_t aztec_symbolside(int compact, int32_t layers);
// Codeword size in bits for L layers.
int32_t aztec_wordsize(int32_t layers);
// Data bits the layers hold, rounded down to whole codewords.
int32_t aztec_capacity(int compact, int32_t layers);

// Cuts the stream into codewords of w bits with bit stuffing. The count, or -1
// when more than `maxwords` would be needed.
int32_t aztec_cutwords(const aztec_bitbuf* b, int32_t w, uint16_t* words, int32_t maxwords);

// The symbol chosen for a bit stream: size, codewords (data then check space).
struct aztec_layout {
    int compact = 1;
    int32_t layers = 0;
    int32_t wordsize = 0;
    int32_t datawords = 0;
    int32_t totalwords = 0; // capacity div wordsize: data plus check words
};

// Chooses the smallest symbol from `startlayers` (1..32) up that holds the
// stream with the error-correction margin of `eccpercent` and fills
// words[0..datawords). 1, or 0 (error 4) when nothing fits.
int aztec_choosesize(const aztec_bitbuf* b, int32_t eccpercent, int32_t options,
                     int32_t startlayers, aztec_layout* out, uint16_t* words);

// ---- Galois fields and Reed-Solomon (aztec_rs.cpp) ----

// The Aztec fields are binary fields of the shared coder.
using aztec_gf = galois_field;

// GF(2^w) for w = 4, 6, 8, 10 or 12; null for any other size.
const aztec_gf* aztec_gfield(int32_t wordsize);
uint32_t aztec_gfprod(const aztec_gf* gf, uint32_t a, uint32_t b);
// Appends `ncheck` check words to words[0..ndata). 0 for an unsupported word
// size or counts.
int aztec_rscalc(int32_t wordsize, uint16_t* words, int32_t ndata, int32_t ncheck);

// ---- mode message (aztec_draw.cpp) ----

// The mode message as bits (0 or 1): 28 for a compact symbol, 40 for a
// full-range one. Returns the bit count, 0 on failure.
int aztec_modeencode(int compact, int32_t layers, int32_t datawords, int menu, uint8_t* bits);
// The mode message of a rune carrying `value` (28 bits).
int aztec_runeencode(int32_t value, uint8_t* bits);

// ---- drawing (aztec_draw.cpp) ----

// Aztec draws on the shared module bitmap.
using aztec_canvas = modbitmap;

// Finder, orientation marks and, for full-range symbols, the reference grid.
void aztec_drawfixed(const aztec_canvas& c, int compact);
// The mode message bits around the core.
void aztec_drawmode(const aztec_canvas& c, int compact, const uint8_t* bits);
// Codeword bits in the data layers, innermost layer first.
void aztec_drawlayers(const aztec_canvas& c, int compact, int32_t layers, const uint16_t* words,
                      int32_t nwords, int32_t wordsize);
