// Tables of the DataMatrix ECC200 encoder: the published symbol sizes and
// placement shapes, and the tables computed from the standard's definitions
// (GF(256) powers and logarithms, Reed-Solomon generators, the C40, Text, X12
// and EDIFACT character values, randomised pad codewords).
#pragma once

#include <array>
#include <cstdint>

#include "core/matrix/galois.hpp"

// One ECC200 symbol size.
struct datamtx200_symdef {
    int32_t width; // symbol, modules (-1 ends the table)
    int32_t height;
    int32_t matrixw; // mapping matrix: the symbol without finder patterns
    int32_t matrixh;
    int32_t regionw; // one data region
    int32_t regionh;
    int32_t total; // codewords
    int32_t data;
    int32_t check;
    int32_t blocks;     // interleaved Reed-Solomon blocks
    int32_t blockcheck; // check codewords per block
};

// The 24 square sizes in ascending order, the six rectangular sizes, and an
// entry of width -1.
inline constexpr int32_t datamtx200_nsymdefs = 31;
extern const datamtx200_symdef datamtx200_symdeftab[datamtx200_nsymdefs];

// Capacity limits of the largest symbol (144x144).
inline constexpr int32_t datamtx200_maxdata = 1558;
inline constexpr int32_t datamtx200_maxtotal = 2178;
inline constexpr int32_t datamtx200_maxmatrix = 132;

// GF(256) with the prime polynomial x^8 + x^5 + x^3 + x^2 + 1.
inline constexpr int32_t datamtx_gfpoly = 0x12D;
inline constexpr galois_field datamtx_gf256 = galois_fieldof<8, datamtx_gfpoly>();
// Its powers and logarithms as bytes: pwrlut[i] is alpha^i (i = 0..254, entry
// 255 repeats alpha^0), loglut[v] the exponent of v (entry 0 unused).
extern const std::array<uint8_t, 256> datamtx_gf256pwrlut;
extern const std::array<uint8_t, 256> datamtx_gf256loglut;

// Reed-Solomon generator polynomial of `n` check codewords: the n
// coefficients below the leading 1, highest degree first.
struct datamtx200_poly {
    int32_t n;
    uint8_t coef[68];
};
inline constexpr int32_t datamtx200_npolys = 16;
extern const std::array<datamtx200_poly, datamtx200_npolys> datamtx200_polytab;

// Character values of the packed modes, indexed by byte 0..127: the value
// plus 256 x shift set (C40 and Text), or -1 for a character without one.
// Row 0 C40, 1 Text, 2 X12, 3 EDIFACT.
extern const std::array<std::array<int16_t, 128>, 4> datamtx_csettab;

// The pad codeword 129 randomised (253-state) for each 0-based position.
extern const std::array<uint8_t, datamtx200_maxdata> datamtx200_padtab;

// Module offsets (column, row): the utah-shaped codeword from its anchor,
// and the four corner shapes, where a negative entry counts from the right
// or bottom edge. Each lists bit 7 first.
struct datamtx200_offset {
    int8_t col;
    int8_t row;
};
extern const datamtx200_offset datamtx200_utahshape[8];
extern const datamtx200_offset datamtx200_corner1[8];
extern const datamtx200_offset datamtx200_corner2[8];
extern const datamtx200_offset datamtx200_corner3[8];
extern const datamtx200_offset datamtx200_corner4[8];
