// A reader of DataMatrix ECC 000-140 symbols, written from the symbology's
// definition rather than from our encoder (no open reader decodes them):
// modules through the published placement and random stream (whose
// transcriptions the tests check against the published digests), the
// header, a Viterbi decoder for each type's convolutional code, the
// format, CRC and length prefix, and the character bases.
#pragma once

#include <string>

#include "preview/bitmap.hpp"

struct Dm000Read {
    bool ok = false;
    std::string problem; // why the symbol did not read
    int ecctype = -1;    // 0, 50, 80, 100 or 140
    int base = 0;        // 11, 27, 37, 41, 128 or 256
    int size = 0;        // modules, finder included
    int corrected = 0;   // header and coded bits that differed from the decoded ones
    std::string data;
};

// Reads a module grid: one dot per module, finder included. `keep` bounds
// the decoder's survivors per step (the codes with more states than that
// are searched among the best `keep`).
Dm000Read dm000_read(const Bitmap& modules, int keep = 256);

// The module grid of the one symbol on a page at any number of dots per
// module: its size is counted on the alternating top row, each module is
// sampled at its centre. Empty when the page holds no ink.
Bitmap dm000_modules(const Bitmap& page);
