// The page-printer side shared by drivers of printers that keep their own
// cursor: every field is drawn as soon as it is made, at the cursor, and the
// byte emulation may hold back line feeds and squeeze carriage returns
// (KEVRA_SQUISH_CR) so that blank lines do not push a symbol off its place.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"
#include "drivers/common/kit.hpp"

// A line feed while holding is on is counted instead of sent: returns true
// when it was held.
bool kv_pp_holdlf(kv_glor* s);
// A carriage return while squeezing is on: returns true when it is dropped
// (every CR after the first of a row of them).
bool kv_pp_dropcr(kv_glor* s);
// A form feed starts a new page: the held line feeds have nothing left to do.
inline void kv_pp_newpage(kv_glor* s) {
    s->heldlf = 0;
}
// Before any other byte: the held line feeds go out, one `emit(s, LF)` each,
// and the CR and LF counters restart. Every held line feed was read from the
// input, so each one goes out, even when the input has just ended.
kv_status kv_pp_release(kv_glor* s, kv_action_fn emit);
// A CR or LF of text: the LF held while holding is on, the CR dropped when
// kv_pp_dropcr says so, else sent.
kv_status kv_pp_lineend(kv_glor* s, int32_t c);
// True when kv_pp_release has nothing to do: no line feed is held and no
// carriage return counted, so text may follow without it.
inline bool kv_pp_idle(kv_glor* s) {
    return s->heldlf == 0 && s->crcount == 0;
}

// How a page-printer driver draws its fields.
struct kv_pageops {
    kv_action_fn emitlf;                             // sends a held line feed
    kv_status (*begin)(kv_glor* s);                  // before the first field, or null
    kv_status (*plotfield)(kv_glor* s, kv_field* f); // draws one field, cursor kept
    kv_status (*end)(kv_glor* s); // after the fields, even after a failure, or null
};

// The lplotcode pass: when fields are queued, the held line feeds go out
// first (the symbol belongs where the data sequence stood, after them; the
// cursor is still at the start of a line, so the CR count stays), then
// begin, every field in queue order while all goes well, end; afterwards
// every field is deleted, printed or not.
kv_status kv_pageplot(kv_glor* s, const kv_pageops& ops);

// Sends field f in slices of at most `rows` band rows: for each slice the
// band is cleared, the slice (at most `maxwidth` dots wide) drawn with its top
// left corner at band (0, 0), and `emit(s, w, h, more)` called, `more`
// telling whether further slices follow. With `firstonly` only the first
// slice is sent.
using kv_sliceemit_fn = kv_status (*)(kv_glor* s, int32_t w, int32_t h, bool more);
kv_status kv_pageslices(kv_glor* s, kv_field* f, int32_t rows, int32_t maxwidth,
                        kv_sliceemit_fn emit, bool firstonly = false);
