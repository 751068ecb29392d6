// PDF417 encoder. Data bytes become codewords (text, byte and numeric
// compaction chosen run by run), the codewords are laid out on a grid of rows
// and data columns with their error-correction codewords, and the symbol is
// painted row by row through a plot callback as bar rectangles in dots. The
// encoder knows nothing of printers, bands or orientation.
//
// Every operation returns 1 on success and 0 on failure, leaving an error
// number in the record.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/matrix/plot.hpp"

// Codewords one symbol holds, and the room the record keeps for them.
inline constexpr int32_t PDF417_MAXCW = 928;
inline constexpr int32_t PDF417_CWROOM = 932;
// Largest module width and row height, dots (keeps every coordinate in range).
inline constexpr int32_t PDF417_MAXDOTS = 100000;

// Option bits.
enum : int32_t {
    PDF417_OPT_TRUNCATED = 0x01, // no right row indicator, stop pattern a single bar
    PDF417_OPT_NONUMERIC = 0x02, // no numeric runs inside mixed data
    PDF417_OPT_USERCOLS = 0x10,  // the column count was given
};

// Error numbers.
enum : int32_t {
    PDF417_ERR_NONE = 0,
    PDF417_ERR_MEMORY = 1,
    PDF417_ERR_ARGUMENT = 2,
    PDF417_ERR_CHECK = 3,
    PDF417_ERR_TOOLONG = 4,
    PDF417_ERR_NODATA = 7,
};

// Automatic error-correction level.
inline constexpr int32_t PDF417_ECC_AUTO = 9;

struct pdf417_sym {
    int32_t errcode;
    kv_plotfn callback; // null: paint nothing
    void* context;      // handed back to the callback
    int32_t options;
    int32_t ecclevel;  // 0..8, 9 automatic; after the grid: the level used
    int32_t modwidth;  // one module, dots
    int32_t rowheight; // one row, dots
    int32_t columns;   // data columns 1..30 (0 = not given)
    int32_t rows;      // 3..90
    float aspect;      // wanted height / width; 0 or less: none
    int32_t cwcount;   // data codewords after compaction; rows x columns after the grid
    int32_t codewords[PDF417_CWROOM]; // [0] is the symbol length descriptor
};

int pdf417_open(pdf417_sym* sym);
int pdf417_close(pdf417_sym* sym);
int pdf417_setcallback(pdf417_sym* sym, kv_plotfn callback, void* context);
// Compacts `data` (a negative length: up to its NUL), chooses the grid and
// the error-correction level, pads and appends the check codewords.
int pdf417_gridcalc(pdf417_sym* sym, const char* data, int32_t length);
// Size of the painted symbol in dots; 0 until a grid has been built.
int32_t pdf417_imagewide(const pdf417_sym* sym);
int32_t pdf417_imagedeep(const pdf417_sym* sym);
// Paints the built symbol through the callback (without one: nothing).
int pdf417_paintgrid(pdf417_sym* sym);

// Diagnostic listing of the grid: row indicators and codewords per row.
void pdf417_gubegrid(const pdf417_sym* sym, std::FILE* out = stderr);
