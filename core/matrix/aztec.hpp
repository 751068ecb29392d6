// Aztec Code encoder: data in, a square module bitmap out, painted through a
// plot callback. Knows nothing of fields, bands or printers.
#pragma once

#include <cstdint>
#include <memory>

#include "core/matrix/plot.hpp"

// Option bits.
enum : int32_t {
    AZTEC_OPT_RUNE = 1,      // an 11 x 11 rune carrying one value 0..255
    AZTEC_OPT_COMPAT = 2,    // accepted and stored; changes nothing
    AZTEC_OPT_FULLRANGE = 4, // never choose a compact symbol
    AZTEC_OPT_MENU = 16,     // menu (reader initialisation) symbol
};

// Error numbers left in `err` by a failed aztec_imagecalc.
enum : int32_t {
    AZTEC_ERR_MEMORY = 1,  // memory or Reed-Solomon set-up
    AZTEC_ERR_NODATA = 2,  // no data pointer for a nonzero length
    AZTEC_ERR_ECC = 3,     // error-correction percentage outside 0..99
    AZTEC_ERR_TOOLONG = 4, // too long for the largest symbol or the buffers
    AZTEC_ERR_BADDATA = 7, // empty data, or rune data not a number 0..255
};

struct aztec_state {
    int32_t err = 0;
    kv_plotfn plotfn = nullptr;
    void* plotarg = nullptr;
    int32_t options = 0;
    int32_t eccpercent = 23;
    int32_t modwidth = 1;
    int32_t modheight = 1;
    int32_t compact = 0;
    int32_t layers = 0; // in: minimum layer count; out: layers chosen (0 for a rune)
    int32_t side = 0;   // symbol side in modules
    int32_t rowbytes = 0;
    int32_t maplen = 0;
    // Module (x, y) is bit x % 8 of byte y * rowbytes + x / 8; set = dark.
    std::unique_ptr<uint8_t[]> map;
};

int aztec_open(aztec_state* st);
int aztec_close(aztec_state* st);
int aztec_setcallback(aztec_state* st, kv_plotfn fn, void* arg);
// Encodes `length` bytes of `data` (a negative length: NUL-terminated) and
// draws the symbol. Returns 1, or 0 with `err` set; a failure keeps the
// previous symbol.
int aztec_imagecalc(aztec_state* st, const char* data, int32_t length);
int32_t aztec_imagewide(const aztec_state* st);
int32_t aztec_imagedeep(const aztec_state* st);
// Calls the plot callback once per dark module, rows from the top, left to
// right, in dots.
int aztec_imagepaint(aztec_state* st);
