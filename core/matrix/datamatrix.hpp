// DataMatrix symbols: the entry that builds a symbol from data with the
// encoder of the record's error-correction type. ECC200 is encoded by the
// datamatrix200 units; each older type has an encoder of its own. The record,
// its bitmap and painting are in datamatrix_symbol.hpp.
#pragma once

#include <cstdint>

#include "core/matrix/datamatrix_symbol.hpp"

// Builds the symbol of `length` bytes of `data` (negative: up to the NUL) for
// the record's error-correction type. Returns 1, or 0 with `error` set.
int32_t datamtx_imagecalc(datamtx_symbol* sym, const uint8_t* data, int32_t length);
