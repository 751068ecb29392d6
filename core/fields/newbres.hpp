// Run-length line arithmetic: the integer run-slice form of Bresenham's line
// for a line from (0, 0) to (dx, dy). Along the major axis the line is cut
// into runs, one per step of the minor axis, whose lengths differ by at most
// one. The bitmap scaler uses it to spread source pixels over destination
// dots (and destination dots over source pixels when shrinking).
#pragma once

#include <cstdint>

// Flags of bres_open: with either low bit set the runs follow the scaling
// rule (minor step n starts at major position round(n * major / minor),
// halves rounded up); with neither, the line-drawing form whose first and
// last runs are centred on the end points.
inline constexpr int32_t BRES_SCALE = 1;

struct bres_line {
    int32_t flags = 0;
    int32_t minor2 = 0;  // twice the minor length
    int32_t major2 = 0;  // twice the major length
    int32_t sign = 0;    // 0: both non-negative, 1: dx negative, 2: both negative, 3: dy negative
    int32_t swapped = 0; // 1 when dy is the major axis (|dx| <= |dy|)
    int32_t errinit = 0; // initial error
    int32_t err = 0;     // current error
    int32_t stepoff = 0; // 1 when neither low flag bit is set
    int32_t q = 0;       // base run length: major div minor
    int32_t q1 = 0;      // q + 1
    int32_t rem2 = 0;    // twice (major mod minor)
    int32_t reload = 0;  // twice the minor length, added back when the error runs out
    int32_t lastq = 0;   // the last quotient computed
};

// Lengths are limited to 2^30 - 1 so that every doubled value fits.
inline constexpr int32_t BRES_MAXLEN = (1 << 30) - 1;

void bres_open(bres_line* line, int32_t flags, int32_t dx, int32_t dy);
// Major-axis position where minor step `n` starts.
int32_t bres_findstepn(bres_line* line, int32_t n);
// The minor-axis step that holds major position `n`.
int32_t bres_findoffset(bres_line* line, int32_t n);
// Length of the run the current error is in, from the current position on.
int32_t bres_firststeplen(bres_line* line);
// Length of the following run.
int32_t bres_nextsteplen(bres_line* line);
// 1 when the minor coordinate advances at the next major step, else 0.
int32_t bres_nextstepinc(bres_line* line);
void bres_close(bres_line* line);
