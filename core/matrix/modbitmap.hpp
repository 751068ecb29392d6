// The module bitmap of a two-dimensional symbol, shared by the encoders that
// draw their symbol as modules before painting it: rows from the top,
// `stride` bytes each; module x of a row is bit x % 8 of byte x / 8 (least
// significant bit leftmost); 1 = dark. The encoder's record owns the bytes;
// a modbitmap is the view they are drawn, read and painted through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/matrix/plot.hpp"

struct modbitmap {
    uint8_t* bits = nullptr; // width and height are 0 without bits
    int32_t width = 0;       // modules
    int32_t height = 0;
    int32_t stride = 0; // bytes per row

    // An empty view (no bits) has no modules at all.
    bool inside(int32_t x, int32_t y) const {
        return static_cast<uint32_t>(x) < static_cast<uint32_t>(width) &&
               static_cast<uint32_t>(y) < static_cast<uint32_t>(height);
    }
    // One module: 1 dark, 0 light or outside the bitmap.
    int get(int32_t x, int32_t y) const {
        if (!inside(x, y)) return 0;
        return bits[static_cast<size_t>(y) * stride + (x >> 3)] >> (x & 7) & 1;
    }
    // Makes one module dark; ignored outside the bitmap.
    void set(int32_t x, int32_t y) const {
        if (!inside(x, y)) return;
        bits[static_cast<size_t>(y) * stride + (x >> 3)] |= static_cast<uint8_t>(1u << (x & 7));
    }
};

// Bytes per row of a bitmap `width` modules wide.
constexpr int32_t modbitmap_stride(int32_t width) {
    return (width - 1) / 8 + 1;
}

// Storage for a light bitmap of width x height modules (rows of
// modbitmap_stride(width) bytes); null when it cannot be allocated.
std::unique_ptr<uint8_t[]> modbitmap_alloc(int32_t width, int32_t height);

// Calls `fn` once per dark module, rows from the top and left to right, with
// the module's rectangle in dots (mw x mh dots a module). Returns 1, or 0 at
// the first call that reports a failure (an even status).
int modbitmap_paint(const modbitmap& m, kv_plotfn fn, void* arg, int32_t mw, int32_t mh);
