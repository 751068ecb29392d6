// Stages of the DataMatrix ECC 000-140 encoder, for the encoder's own unit
// and its tests: bit streams, character bases and CRC, convolutional codes,
// placement.
#pragma once

#include <cstdint>

#include "core/matrix/datamatrix000.hpp"
#include "core/matrix/datamatrix000_tables.hpp"

// Data longer than the 9-bit length field can say are refused.
inline constexpr int32_t datamtx000_maxlength = 511;
// Bytes of a bit stream buffer that holds the largest symbol's bits.
inline constexpr int32_t datamtx000_streambytes = (datamtx000_maxbits + 7) / 8;

// ---- Bit streams ---------------------------------------------------------
// Bit p of a stream is bit 7 - p % 8 of byte p / 8. Writes go through the
// shared bit stream (bitstream.hpp): they append at the cursor. The
// operations refuse (return 0) a cursor outside 0 .. datamtx000_maxbits - 1.

int32_t datamtx_stuffbit(uint8_t* buffer, int32_t* cursor, int32_t bit);
int32_t datamtx_fetchbit(const uint8_t* buffer, int32_t cursor);
// The low `count` bits of `value`, most or least significant first.
int32_t datamtx_stuffbits(uint8_t* buffer, int32_t* cursor, uint32_t value, int32_t count,
                          bool msbfirst);

// ---- Data ----------------------------------------------------------------

// The smallest base (11, 27, 37, 41, 128, 256) whose set holds every byte.
int32_t datamtx_enc000bestbase(const uint8_t* data, int32_t length);
// The base's entry, or null.
const datamtx000_base* datamtx000_basedef(int32_t base);
// Protected bits of `length` characters in `base`: prefix and data groups.
int32_t datamtx000_databits(const datamtx000_base* base, int32_t length);
// CRC-16 (reflected polynomial 0x8408, bytes least significant bit first,
// no final inversion) continued from `start` over the bytes.
uint16_t datamtx_crc16calc(uint16_t start, const uint8_t* data, int32_t length);
// The CRC's starting value for a format identifier: the CRC from 0 of the
// two bytes (value, 0).
uint16_t datamtx_crc16seed(int32_t value);

// ---- Error correction ----------------------------------------------------

// The type's definition, or null.
const datamtx000_eccxdef* datamtx_eccxdefp(int32_t type);
// Coded bits of `bits` protected bits: (m + ceil(bits / k)) x n.
int32_t datamtx_eccexpandbitc(int32_t type, int32_t bits);
// Codes `bits` stream bits from in[in_cursor] onwards into out at
// *out_cursor with the type's convolutional code. Returns 1, or 0 for an
// unknown type or a stream that does not fit.
int32_t datamtx_eccxcalc(uint8_t* out, int32_t* out_cursor, const uint8_t* in, int32_t in_cursor,
                         int32_t type, int32_t bits);

// ---- Symbol --------------------------------------------------------------

// The inner size for `length` characters in `base` with error correction
// `type`, at least `reqsize` - 2; 0 when no size up to 47 holds them.
int32_t datamtx000_innersize(int32_t type, const datamtx000_base* base, int32_t length,
                             int32_t reqsize);
// The symbol's bit stream before randomising: header, coded data, zero
// fill, into stream[datamtx000_streambytes]. Returns 1, or 0 when it does
// not fit `inner` x `inner` bits.
int32_t datamtx000_stream(uint8_t* stream, const uint8_t* data, int32_t length, int32_t type,
                          const datamtx000_base* base, int32_t inner);
// Allocates the bitmap, shows the stream through the placement and random
// stream, and draws the finder. Returns 1, or 0 with the record's error set.
int32_t datamtx000_placeall(datamtx_symbol* sym, const uint8_t* stream, int32_t inner);

// ---- Shared arithmetic ---------------------------------------------------

int32_t datamtx_isqrt(int32_t value); // floor of the square root
int32_t datamtx_countbits(uint32_t value);
