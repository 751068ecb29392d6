// Real readers for round trips: a symbol printed by the system must be read
// back by an independent decoder.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "preview/bitmap.hpp"

struct Decoded {
    std::string format; // the reader's name of the symbology, e.g. "Code39"
    std::string text;   // decoded content (bytes as the reader gives them)
    std::string bytes;  // raw content bytes where the reader provides them
    Bitmap::Box at{};   // where the reader found it in the bitmap; empty when it does not say
};

// Reader options beyond the format list.
struct ZxOptions {
    bool code39check = false;    // the Code 39 check character must be valid (and is stripped)
    bool itfcheck = false;       // the ITF check digit must be valid
    bool codabarstartend = true; // keep Codabar's start and stop characters
};

// Every symbol zxing-cpp finds in the bitmap (a white frame is added first).
// `formats` is a '|' list of zxing format names ("Code39|Codabar"), empty for
// all; `pure` for a bitmap holding exactly one unrotated, unnoised symbol.
std::vector<Decoded> decode_zxing(const Bitmap& b, const std::string& formats = "",
                                  bool pure = false, int margin = 16, const ZxOptions& opt = {});

// Every symbol zxing-cpp finds in each group of ink on a page (dots closer
// than `gap` group together), as "format:text".
std::set<std::string> read_page(const Bitmap& page, int gap);

// Every DataMatrix libdmtx finds (second opinion for DataMatrix ECC200),
// searching for at most `timeoutms` milliseconds.
std::vector<Decoded> decode_dmtx(const Bitmap& b, int margin = 16, int timeoutms = 20000);
