// DataMatrix symbols: the symbol record shared by every error-correction
// type, its module bitmap and painting. Each type's encoder fills the record;
// datamtx_imagecalc (datamatrix.hpp) chooses the encoder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "core/matrix/modbitmap.hpp"
#include "core/matrix/plot.hpp"

// Error numbers left in the record when an operation returns 0.
enum : int32_t {
    DATAMTX_ERR_NONE = 0,
    DATAMTX_ERR_MEMORY = 1,  // the bitmap could not be allocated
    DATAMTX_ERR_PARAM = 2,   // invalid parameter
    DATAMTX_ERR_ECCTYPE = 3, // unsupported error-correction type
    DATAMTX_ERR_TOOLONG = 4, // the data do not fit the largest symbol
};

// Header options (at most one).
enum : int32_t {
    DATAMTX_OPT_READERPROG = 0x10,
    DATAMTX_OPT_MACRO05 = 0x20,
    DATAMTX_OPT_MACRO06 = 0x40,
};

struct datamtx_symbol {
    int32_t error = DATAMTX_ERR_NONE;
    kv_plotfn plotf = nullptr; // paints one dark rectangle; null paints nothing
    void* plotctx = nullptr;
    int32_t options = 0;
    int32_t ecctype = 0;  // 0, 50, 80, 100, 140 or 200
    int32_t modwidth = 1; // dots per module
    int32_t modheight = 1;
    int32_t reqsize = 0;    // smallest symbol width wanted, 0 = any
    int32_t imagewidth = 0; // modules
    int32_t imageheight = 0;
    int32_t stride = 0;    // bytes per bitmap row
    int32_t imagesize = 0; // bytes
    // Row-major from the top row; module x of a row is bit x % 8 of byte
    // x / 8 (least significant bit leftmost); 1 = dark.
    std::unique_ptr<uint8_t[]> image;
};

void datamtx_open(datamtx_symbol* sym);
void datamtx_close(datamtx_symbol* sym);
// Returns 1, or 0 for a null record.
int32_t datamtx_setcallback(datamtx_symbol* sym, kv_plotfn callback, void* context);

// Symbol extent in dots.
int32_t datamtx_imagewide(const datamtx_symbol* sym);
int32_t datamtx_imagedeep(const datamtx_symbol* sym);
// Calls the callback once per dark module, in dots, top row first. Returns 1,
// or 0 when the callback reports a failure.
int32_t datamtx_imagepaint(const datamtx_symbol* sym);
// Diagnostic dump of the module grid.
void datamtx_imagegube(const datamtx_symbol* sym, std::FILE* out = stdout);

// Module bitmap operations shared by the encoders.
// The record's bitmap as a view (empty before one is allocated).
modbitmap datamtx_bitmap(const datamtx_symbol* sym);
// Allocates a cleared bitmap of width x height modules (error 1 on failure).
int32_t datamtx_imagealloc(datamtx_symbol* sym, int32_t width, int32_t height);
// Reads one module (0 outside the bitmap).
int32_t datamtx_igetpt(const datamtx_symbol* sym, int32_t x, int32_t y);
// Sets one module dark (ignored outside the bitmap).
void datamtx_iplotpt(datamtx_symbol* sym, int32_t x, int32_t y);
// The finder frame of a box: left column and bottom row solid, top row and
// right column alternating.
void datamtx_iplotfinder(datamtx_symbol* sym, int32_t x, int32_t y, int32_t width, int32_t height);
