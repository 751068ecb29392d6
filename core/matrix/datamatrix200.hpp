// The DataMatrix ECC200 encoder: data to a symbol in the shared record.
#pragma once

#include <cstdint>

#include "core/matrix/datamatrix_symbol.hpp"

// The ECC200 encoder behind datamtx_imagecalc.
int32_t datamtx200_imagecalc(datamtx_symbol* sym, const uint8_t* data, int32_t length);
