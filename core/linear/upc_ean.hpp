// UPC and EAN.
#pragma once

#include <cstdint>

// One check digit to *out: weight 3 on the first, third, ... character from
// the left (UPC, and the 2 of 5 codes) ...
void upc_chkcalc(int32_t length, const char* data, char* out);
// ... or from the right (EAN). Only digits count.
void ean_chkcalc(int32_t length, const char* data, char* out);
