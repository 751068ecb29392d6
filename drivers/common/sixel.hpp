// Sixel output shared by the DEC drivers: a band of 6 dot rows, one byte per
// sixel column (bit 0 = top row), run-length encoded with the graphics repeat
// introducer and wrapped into lines the printer's input buffer takes
// comfortably.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "drivers/common/band.hpp"

inline constexpr int32_t KV_SIXEL_ROWS = 6;
// A line of sixel data is ended with CR LF (ignored inside sixel data) once
// more than this many characters have been counted on it.
inline constexpr int32_t KV_SIXEL_LINE = 61;

// The run being collected and the characters counted on the output line.
struct kv_sixelrun {
    int32_t value;
    int32_t length;
    int32_t count;
};

// Sends a run: "!", the count and the sixel once when longer than 3, else
// the sixel character (63 + the six bits) n times.
kv_status kv_sixel_gsend(kv_glor* s, int32_t v, int32_t n);

// Starts a row with a run of `blank` empty sixels (0 for none).
void kv_sixel_begin(kv_sixelrun* r, int32_t blank);
// Ends the output line when it is full; called before each group of sixels.
kv_status kv_sixel_wrap(kv_glor* s, kv_sixelrun* r);
// Adds one sixel.
kv_status kv_sixel_put(kv_glor* s, kv_sixelrun* r, uint8_t v);
// Sends the last run unless it is empty sixels.
kv_status kv_sixel_end(kv_glor* s, kv_sixelrun* r);

// One row of `w` band columns from `nplanes` planes of the band: each band
// column is one sixel per plane, plane 0 first; the line check runs once per
// band column. `blank` empty sixels go before the first column.
kv_status kv_sixel_row(kv_glor* s, const uint8_t* const* planes, int32_t nplanes, int32_t w,
                       int32_t blank);

// A band of one sixel row: `cols` band columns, one byte per column and
// plane, bit 0 the top row; `overhang` as in kv_bandgeom.
constexpr kv_bandgeom kv_sixelband(int32_t cols, int32_t planes, int32_t overhang = 0) {
    return {KV_SIXEL_ROWS, cols, planes, KV_BAND_COLUMNS, KV_SIXEL_ROWS, 0, overhang};
}
