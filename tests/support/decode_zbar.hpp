// A third reader for the tests, beside those of the preview.
#pragma once

#include <vector>

#include "preview/decode.hpp"

// Every linear symbol zbar finds (second opinion for EAN/UPC, Code 128,
// Code 39, I2of5, Codabar). Formats are zbar's names ("CODE-128", "EAN-13").
std::vector<Decoded> decode_zbar(const Bitmap& b, int margin = 16);
