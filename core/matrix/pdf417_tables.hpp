// Fixed data of the PDF417 symbology: the bar/space patterns of the three
// row clusters and the error-correction generator coefficients.
#pragma once

#include <array>
#include <cstdint>

// Start pattern and the first 17 modules of the stop pattern; the stop
// pattern's 18th module is one more bar, painted separately.
inline constexpr uint32_t PDF417_START = 0x1FEA8;
inline constexpr uint32_t PDF417_STOP = 0x1FD14;

// Codeword patterns of clusters 0, 3 and 6 (published codeword table):
// [cluster / 3][codeword], 17 modules each, bit 16 the first (1 = bar).
extern const uint32_t pdf417_codetable[3][929];

// Generator polynomial coefficients of each error-correction level L,
// prod (x - 3^i) for i = 1 .. 2^(L+1) modulo 929, constant term first
// (the leading coefficient 1 is left out). Computed at compile time.
extern const std::array<uint16_t, 2> pdf417_ecc_table0;
extern const std::array<uint16_t, 4> pdf417_ecc_table1;
extern const std::array<uint16_t, 8> pdf417_ecc_table2;
extern const std::array<uint16_t, 16> pdf417_ecc_table3;
extern const std::array<uint16_t, 32> pdf417_ecc_table4;
extern const std::array<uint16_t, 64> pdf417_ecc_table5;
extern const std::array<uint16_t, 128> pdf417_ecc_table6;
extern const std::array<uint16_t, 256> pdf417_ecc_table7;
extern const std::array<uint16_t, 512> pdf417_ecc_table8;

// The coefficients of `level` (0 .. 8), or null for any other level.
const uint16_t* pdf417_ecc_table(int32_t level);
