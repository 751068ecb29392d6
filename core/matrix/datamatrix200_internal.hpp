// Stages of the ECC200 encoder, for the encoder's own units and its tests:
// encodation into codewords, error correction, module placement.
#pragma once

#include <cstdint>

#include "core/matrix/datamatrix200.hpp"
#include "core/matrix/datamatrix_symbol.hpp"
#include "core/matrix/datamatrix_tables.hpp"

// Encodation modes.
enum : int32_t {
    DATAMTX_ASCII = 0,
    DATAMTX_B256 = 1,
    DATAMTX_EDIFACT = 2,
    DATAMTX_TEXT = 3,
    DATAMTX_C40 = 4,
    DATAMTX_X12 = 5,
};

// Codewords an encodation buffer must hold: the largest symbol's data and
// check codewords (the encodation itself fills the first 1558).
inline constexpr int32_t datamtx200_bufsize = datamtx200_maxtotal;

// ---- Encodation ----------------------------------------------------------

// Encodes `length` bytes into out[0 .. 1558) for a symbol at least `minsize`
// modules wide: header, data, end of data, pads. Returns the number of
// codewords the symbol must hold (a closing unlatch that a larger symbol
// carries is not counted), negated on failure (the data do not fit).
int32_t datamtx200_encode(uint8_t* out, const uint8_t* data, int32_t length, int32_t options,
                          int32_t minsize = 0);
// The mode the rest of the data should be encoded in, from `current`.
int32_t datamtx_lookaheadJ(const uint8_t* data, int32_t length, int32_t current);
// Value of `c` in C40, Text, X12 or EDIFACT: C40 and Text give value +
// 256 x shift set (1..3) for a shifted character; negative: no value (bytes
// of 128 or more included).
int32_t datamtx_csetindex(int32_t mode, int32_t c);
// Randomises (or with `inverse` restores) codewords [first, first + count)
// of a codeword stream with the 255-state or 253-state algorithm; a
// codeword's position is its 1-based place in the stream.
void datamtx_nstaterand(uint8_t* codewords, int32_t first, int32_t count, int32_t states,
                        int32_t inverse);
// "ascii", "b256", "edf", "text", "c40", "x12", "??".
const char* datamtx200_encname(int32_t mode);
// The least of values[0 .. count) except index `skip`; -1 when none.
int32_t datamtx_leastofexceptn(const int32_t* values, int32_t count, int32_t skip);

// ---- Sizes ---------------------------------------------------------------

// The first entry for non-positive arguments, else the exact match or null.
const datamtx200_symdef* datamtx200_symdefbysize(int32_t width, int32_t height);
// The first rectangular entry.
const datamtx200_symdef* datamtx200_symdefrect0();
// The smallest square entry at least `minsize` wide holding `count` data
// codewords, or null.
const datamtx200_symdef* datamtx200_symdeffit(int32_t count, int32_t minsize);

// ---- Error correction ----------------------------------------------------

uint8_t datamtx_GFmul(uint8_t a, uint8_t b);
uint8_t datamtx_GFdiv(uint8_t a, uint8_t b);
// Generator coefficients of n check codewords (highest degree first), or null.
const uint8_t* datamtx200_polylutn(int32_t n);
// Writes the interleaved check codewords after the entry's data codewords.
void datamtx200_calcchecks(uint8_t* codewords, const datamtx200_symdef* entry);
// Position of block `block`'s first check codeword after the data codewords;
// its following ones come every `blocks` codewords.
int32_t datamtx200_checkcolumn(const datamtx200_symdef* entry, int32_t block);

// ---- Placement -----------------------------------------------------------

// State of one placement pass over the mapping matrix.
struct datamtx200_placer {
    datamtx_symbol* sym;
    const uint8_t* codewords;
    int32_t total; // codewords to place
    int32_t nrow;
    int32_t ncol;
    uint8_t* used; // nrow x ncol: 1 where a codeword bit has been placed
    // Where a mapping position lands in the bitmap: the byte offset of its
    // row, and the byte and bit of its column.
    int32_t rowoffset[datamtx200_maxmatrix];
    int16_t colbyte[datamtx200_maxmatrix];
    uint8_t colbit[datamtx200_maxmatrix];
};

// Allocates the bitmap at the entry's size, places the codewords and draws
// the finder patterns. Returns 1, or 0 with the record's error set.
int32_t datamtx200_placeall(datamtx_symbol* sym, const uint8_t* codewords,
                            const datamtx200_symdef* entry);
// Places codeword `chr` in the utah shape anchored at (row, col).
void datamtx200_utah(datamtx200_placer* p, int32_t row, int32_t col, int32_t chr);
// Places codeword `chr` in corner shape n (1..4).
void datamtx200_cornern(datamtx200_placer* p, int32_t n, int32_t chr);
// Places bit `bit` (7 = most significant) of codeword `chr` at (row, col),
// wrapping positions beyond the edges.
void datamtx200_module(datamtx200_placer* p, int32_t row, int32_t col, int32_t chr, int32_t bit);
