// The translator's byte source and sink: input with a push-back stack and
// line counting, output through the driver's lprintc slot.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/driver/xbase.hpp"

// The byte layer as the translator's source and sink; `arg` is the state. The
// sink is here whole, so that a caller that finds it in place can have every
// byte written without a call.
kv_status kv_xinfunc(void* arg, int32_t* c);
inline kv_status kv_xoutfunc(void* arg, int32_t* c) {
    if (!xbase_outfailed()) xbase_putxlatedc(*c & 0xFF);
    if (xbase_breakall() && arg != nullptr) static_cast<kv_glor*>(arg)->stop = 1;
    return KV_SUCCESS;
}

// Next input byte (pushed-back bytes first). At end of input `stop` is set and
// the byte is 0. A line feed raises `lineno`.
kv_status kv_pgetc(kv_glor* s, int32_t* c);
// The next byte of a printer command's counted data: as kv_pgetc (pushed-back
// bytes first, the line count kept), but as it stands in the input, without
// the CR the byte layer puts before every LF of text. A source other than the
// byte layer delivers its bytes as they are.
kv_status kv_prawgetc(kv_glor* s, int32_t* c);
// Pushes a byte back (at most 32; nothing while kv_breakall holds). A line
// feed lowers `lineno` so that reading it again keeps the count right.
kv_status kv_pungetc(kv_glor* s, int32_t c);
kv_status kv_pprintc(kv_glor* s, int32_t c);
// Sends every byte of a qstr string through lprintc.
kv_status kv_lprintqstr(kv_glor* s, const char* text);
// Sends a byte string of known length through lprintc (may contain NUL).
kv_status kv_lprintbytes(kv_glor* s, const uint8_t* bytes, int32_t n);
// Takes, in one step, the longest run of input bytes already read ahead for
// which `plain` is nonzero and that cannot open a command or data sequence
// (none is the first byte of a delimiter): exactly the bytes the loop would
// have handed one by one to a driver that merely sends them on. Returns the
// run's length and points *run at it; 0 when bytes are pushed back, the
// source is not the byte layer, nothing is read ahead or the spaces that stand
// for a sequence are being sent (the text after it must wait for them). The
// table is taken to stay as it is: it is kept, combined with the delimiters,
// until another table or another delimiter comes.
size_t kv_ptakeplain(kv_glor* s, const uint8_t plain[256], const uint8_t** run);
// The end of a line inside a run, read in two steps as the byte loop reads
// it. kv_ptakecr: when, under the same conditions, the next byte read ahead is
// a LF of text and no delimiter starts with CR or LF, takes it and returns
// true: the CR the byte layer puts before it is read. Exactly one of the two
// others must follow: kv_ptakelf reads the LF as kv_pgetc would (the line
// counts go up), or kv_pkeeplf leaves it to be the next byte kv_pgetc gives.
// False, and nothing read, otherwise.
bool kv_ptakecr(kv_glor* s);
void kv_ptakelf(kv_glor* s);
void kv_pkeeplf(kv_glor* s);
// Sends n bytes straight to the byte sink (the driver's own sending rules
// are the caller's business).
kv_status kv_pprintrun(kv_glor* s, const uint8_t* p, size_t n);
// Sends the decimal digits of n >= 0 through lprintc (a negative n sends a
// minus sign first).
kv_status kv_lprintint(kv_glor* s, int32_t n);
