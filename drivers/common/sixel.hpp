// Sixel output shared by the DEC drivers: a band of 6 dot rows, one byte per
// sixel column (bit 0 = top row), run-length encoded with the graphics repeat
// introducer and wrapped into lines the printer's input buffer takes
// comfortably.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"

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

// Rows y .. y + h - 1 of a sixel band as a bit mask (bit 0 = row 0), limited
// to the band's six rows; 0 when none of them is inside.
uint8_t kv_sixel_mask(int32_t y, int32_t h);
// The region setter of a sixel band: ORs the rows of the rectangle into
// columns x .. x + w - 1 of plane 0, and of plane 1 too when it is given;
// nothing is written beyond `columns` or outside the six rows.
void kv_sixel_mark(uint8_t* plane0, uint8_t* plane1, int32_t columns, int32_t x, int32_t y,
                   int32_t w, int32_t h);
