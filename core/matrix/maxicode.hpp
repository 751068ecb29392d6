// MaxiCode encoder: a structured carrier message (postal code, country, class
// of service) or free data become the 144 six-bit codewords of the symbol,
// which are placed on the 33-row hexagonal grid and painted at 300 dpi
// through a plot callback, bullseye included.
//
// Stages: maxicode_encode / maxicode_sexcode (data codewords),
// maxicode_hexmapgen (check codewords and layout), maxicode_iplotwords
// (grid), maxicode_imagepaint (dots). Operations return 1 for success and 0
// for failure and leave the reason in the record's `error`.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/matrix/maxicode_tables.hpp"
#include "core/matrix/plot.hpp"

// Error numbers of the record.
enum : int32_t {
    MAXICODE_ENONE = 0,
    MAXICODE_EBITMAP = 1,  // the grid or the painting failed
    MAXICODE_EINVALID = 2, // invalid argument
    MAXICODE_EDATA = 7,    // data do not fit or cannot be encoded
};

// Codewords of a symbol and of its data area.
inline constexpr int32_t MAXICODE_CODEWORDS = 144;
inline constexpr int32_t MAXICODE_DATAWORDS = 94; // 78 in mode 5
inline constexpr int32_t MAXICODE_DATAWORDS_EEC = 78;
inline constexpr int32_t MAXICODE_CWBUFFER = 148;  // codeword buffer of maxicode_hexmapgen
inline constexpr int32_t MAXICODE_GRIDBYTES = 132; // 33 rows of 4 bytes

struct maxicode_sym {
    int32_t error = 0;
    maxicode_paintdsc paint{};
    kv_plotfn callback = nullptr;
    void* context = nullptr;
    int32_t stride = 0;   // bytes per grid row
    int32_t gridsize = 0; // bytes of the grid
    // Column x of row y is bit x % 8 of byte stride * y + x / 8, least
    // significant bit first; 1 = dark.
    uint8_t grid[MAXICODE_GRIDBYTES] = {};
};

int maxicode_open(maxicode_sym* sym);
int maxicode_close(maxicode_sym* sym);
int maxicode_setcallback(maxicode_sym* sym, kv_plotfn callback, void* context);

// Builds the codewords and the grid of one symbol of a structured append
// series (`position` of `total`, 1 of 1 for a single symbol). `postal`,
// `country` and `service` are used in modes 2 and 3. A negative `length`
// takes `secondary` up to its terminating NUL.
int maxicode_hexmapgen(maxicode_sym* sym, int32_t position, int32_t total, int32_t mode,
                       const char* postal, int32_t country, int32_t service, const char* secondary,
                       int32_t length);
// Fills the data area of `codewords` (94 codewords, 78 in mode 5; the rest
// is padding). Returns the codewords the message takes, negative on failure.
int32_t maxicode_encode(uint8_t* codewords, int32_t position, int32_t total, int32_t mode,
                        int32_t service, const char* postal, int32_t country, const char* secondary,
                        int32_t length);
// Encodes data with the code sets into at most `room` codewords. Returns
// their count, negative when the data do not fit.
int32_t maxicode_sexcode(uint8_t* out, int32_t room, const uint8_t* data, int32_t length);
// Clears the grid and sets its modules from the 144 codewords.
int maxicode_iplotwords(maxicode_sym* sym, const uint8_t* codewords);

// Symbol size in dots.
int32_t maxicode_imagewide(const maxicode_sym* sym);
int32_t maxicode_imagedeep(const maxicode_sym* sym);
// Paints the bullseye and every dark module through the callback, one 1 x 1
// rectangle per dot, from the symbol's top-left corner.
int maxicode_imagepaint(maxicode_sym* sym);
// The same for the dots of rows top .. bottom - 1 only: a printer drawing the
// symbol a band at a time skips the dots its window would cut away.
int maxicode_imagepaintrows(maxicode_sym* sym, int32_t top, int32_t bottom);
// Paints every set dot of `bitmap` (rows of (width - 1) / 8 + 1 bytes, most
// significant bit first) at (x + column, y + row).
int maxicode_qblit(maxicode_sym* sym, int32_t x, int32_t y, const uint8_t* bitmap, int32_t width,
                   int32_t height);

// One grid module: 1 dark, 0 light or outside the grid.
int maxicode_igetpt(const maxicode_sym* sym, int32_t x, int32_t y);
// Makes one module dark; 0 outside the grid.
int maxicode_iplotpt(maxicode_sym* sym, int32_t x, int32_t y);
// Byte move that is safe for overlapping areas.
void maxicode_safemove(uint8_t* dst, const uint8_t* src, int32_t count);
// Diagnostic: the grid as text, odd rows indented by one more space, "* " for
// a dark and "  " for a light module.
int maxicode_imagegube(const maxicode_sym* sym, std::FILE* out);
