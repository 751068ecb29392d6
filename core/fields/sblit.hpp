// Bitmap scaler: draws a packed source bitmap scaled to a destination size,
// clipped to a window, as filled rectangles handed to a plot routine. Each
// axis spreads its source pixels over destination dots with the run-length
// line arithmetic of newbres, so all scaling is integer arithmetic and the
// runs of one axis differ by at most one dot.
#pragma once

#include <cstdint>

#include "core/fields/newbres.hpp"

// One axis of a scaling. The caller fills the first six members; the rest
// are set by sBlit_Scale1Init.
struct sBlit_Axis {
    int32_t srcsize = 0;  // source pixels
    int32_t dstsize = 0;  // destination dots
    int32_t winstart = 0; // first dot of the scaled image to draw
    int32_t winlen = 0;   // dots to draw from there
    int32_t srcfirst = 0; // first source pixel available for drawing
    int32_t origin = 0;   // added to every destination coordinate
    // Magnifying: the source pixel whose run holds the window start, where
    // drawing begins, and that run's visible and whole length in dots.
    // Shrinking: the first source pixel of the first drawn dot, and the
    // number of source pixels that dot covers (both lengths).
    int32_t firstpix = 0;
    int32_t magnify = 0; // 1 when dstsize >= srcsize
    int32_t firstdst = 0;
    int32_t firstvis = 0;
    int32_t firstfull = 0;
    bres_line line; // the line (srcsize, dstsize)
};

// A packed source bitmap. Pixels fill each byte from its least significant
// bits upwards: with 4 bits a pixel the left pixel of a pair is the low half.
struct sBlit_Bitmap {
    int32_t width = 0; // pixels
    int32_t height = 0;
    const uint8_t* pixels = nullptr;
    int32_t rowbytes = 0;
    int32_t bpp = 1; // bits per pixel, 1 to 4
};

// Fills the rectangle (x, y, w, h), destination coordinates with the origin
// added; w and h are always positive.
using sBlit_PlotFn = void (*)(void* target, int32_t x, int32_t y, int32_t w, int32_t h);

// Shift turning a pixel index into a byte index within a row, for 1 to 4
// bits a pixel (3 bits are stored like 4, two pixels a byte).
extern const int32_t sBlit_ShiftList[4];

// Shape codes of a 4-bit source for sBlit_ssMM: each names the part of the
// pixel's cell that is ink.
enum : uint32_t {
    SBLIT_EMPTY = 0,
    SBLIT_UPLEFT = 5,    // triangle above the diagonal bottom-left to top-right
    SBLIT_UPRIGHT = 6,   // triangle above the diagonal top-left to bottom-right
    SBLIT_LOWLEFT = 9,   // triangle below the diagonal top-left to bottom-right
    SBLIT_LOWRIGHT = 10, // triangle below the diagonal bottom-left to top-right
    SBLIT_FULL = 15,
};

// Flags of sBlit_Scale1Init.
inline constexpr int32_t SBLIT_OPEN = 1;   // open the axis's line record
inline constexpr int32_t SBLIT_WINDOW = 2; // compute where drawing starts

void sBlit_Scale1Init(sBlit_Axis* axis, int32_t flags);

// Draws `source` with xaxis[0] the horizontal and xaxis[1] the vertical axis,
// both set up by sBlit_Scale1Init, choosing the renderer by the axes: S for
// an axis that shrinks, M for one that magnifies (horizontal letter first);
// a magnification of a source of 2 or more bits a pixel draws shape codes.
// Nothing is drawn for a source the axes do not fit.
void sBlit_Blit(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis);

// The renderers. When an axis shrinks, a destination dot is ink when any
// source pixel it covers is non-zero.
void sBlit_SS(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis);
void sBlit_SM(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis);
void sBlit_MS(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis);
// Magnifies a one-bit source: one rectangle per vertical run of set pixels
// in each source column.
void sBlit_MM(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis);
// Magnifies a source of shape codes: full pixels as in sBlit_MM, half cells
// as one-dot-wide strips that follow the cell's diagonal at any scale.
void sBlit_ssMM(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis);
