// DataMatrix ECC 000-140: the older square symbols, whose data are packed
// in a character base, protected by a CRC and a convolutional code, and
// spread over the module grid by a fixed placement and random bit stream.
// The encoder fills the record shared with ECC200.
#pragma once

#include <cstdint>

#include "core/matrix/datamatrix_symbol.hpp"

// The encoder behind datamtx_imagecalc for the types 0, 50, 80, 100 and
// 140. Returns 1, or 0 with the record's error set.
int32_t datamtx000_imagecalc(datamtx_symbol* sym, const uint8_t* data, int32_t length);
