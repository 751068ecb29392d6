// The translator's byte source and sink: input with a push-back stack and
// line counting, output through the driver's lprintc slot.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"

// The byte layer as the translator's source and sink; `arg` is the state.
kv_status kv_xinfunc(void* arg, int32_t* c);
kv_status kv_xoutfunc(void* arg, int32_t* c);

// Next input byte (pushed-back bytes first). At end of input `stop` is set and
// the byte is 0. A line feed raises `lineno`.
kv_status kv_pgetc(kv_glor* s, int32_t* c);
// Pushes a byte back (at most 32; nothing while kv_breakall holds). A line
// feed lowers `lineno` so that reading it again keeps the count right.
kv_status kv_pungetc(kv_glor* s, int32_t c);
kv_status kv_pprintc(kv_glor* s, int32_t c);
// Sends every byte of a qstr string through lprintc.
kv_status kv_lprintqstr(kv_glor* s, const char* text);
// Sends a byte string of known length through lprintc (may contain NUL).
kv_status kv_lprintbytes(kv_glor* s, const uint8_t* bytes, int32_t n);
// Sends the decimal digits of n >= 0 through lprintc (a negative n sends a
// minus sign first).
kv_status kv_lprintint(kv_glor* s, int32_t n);
