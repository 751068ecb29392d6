// Operations shared between the text side and the plot side of the
// Printronix driver.
#pragma once

#include <cstdint>

#include "drivers/prntrnx/prntrnx.hpp"

inline kv_mvp_work* kv_mvp_w(kv_glor* s) {
    return kv_drvwork<kv_mvp_work>(s);
}
// The planes of the image buffer (0 odd, 1 even) and one of their rows.
inline uint8_t* kv_mvp_irow(kv_glor* s, int plane, int32_t row) {
    return kv_bandrow(s, kv_mvp_geom, plane, row);
}

kv_status kv_mvp_initinfo(kv_glor* s);
// A new line: no SO, ACK or BS, nothing pending, 6 lines per inch.
inline void kv_mvp_resettextline(kv_glor* s) {
    kv_mvp_work* w = kv_mvp_w(s);
    w->lineflags = 0;
    w->modeflags = 0;
    w->pending = 0;
    s->linespace = s->vdpi / 6;
}
void kv_mvp_cbufinit(kv_glor* s);
void kv_mvp_ibufinit(kv_glor* s);
// Cells up to the last non-space character; bytes up to the last nonzero one.
int32_t kv_mvp_cbuflen(kv_glor* s);
int32_t kv_mvp_gbuflen(const uint8_t* row);
// Line spacing in dot rows from the flags of the current line.
void kv_mvp_setlinespace(kv_glor* s);
kv_status kv_mvp_printtline(kv_glor* s);
kv_status kv_mvp_printgline(kv_glor* s);
// Prints n dot rows of the current line (text, fields and plot data).
kv_status kv_mvp_plotnscroll(kv_glor* s, int32_t n);
kv_status kv_mvp_plotentries(kv_glor* s, int32_t d);
void kv_mvp_imagetext(kv_glor* s);
kv_status kv_mvp_sendibufrow(kv_glor* s, int32_t r, int32_t oddlen, int32_t evenlen);
// Sends the blank dot rows owed (ENQ LF each), whenever any are: the test is
// inline, as it comes after every byte handed to the driver.
kv_status kv_mvp_sendslew(kv_glor* s);
inline kv_status kv_mvp_slewempty(kv_glor* s) {
    return kv_mvp_w(s)->slewcount != 0 ? kv_mvp_sendslew(s) : KV_SUCCESS;
}
// Owes n blank dot rows, sending them whenever KV_MVP_MAXSLEW are owed.
kv_status kv_mvp_oweblank(kv_glor* s, int32_t n);
// The line accounting below is inline: every text line goes through it.
// Form length in dot rows.
inline int32_t kv_mvp_pagerows(const kv_glor* s) {
    return s->pagelen * (s->vdpi / 6);
}
// Moves the paper position on by n dot rows within the current line.
inline void kv_mvp_advance(kv_glor* s, int32_t n) {
    kv_mvp_work* w = kv_mvp_w(s);
    w->dotrow += n;
    const int32_t rows = kv_mvp_pagerows(s);
    if (rows <= 0) return;
    // Mostly a line within the page: a compare saves two divisions.
    const int32_t at = w->pagerow + n;
    if (n >= 0 && n < rows && w->pagerow >= 0 && at < rows)
        w->pagerow = at;
    else
        w->pagerow = (w->pagerow + n % rows) % rows;
}
// Whole lines the paper has moved leave the current line: each counts in
// vpos (two when elongated) and starts a new line.
inline void kv_mvp_renormalize(kv_glor* s) {
    kv_mvp_work* w = kv_mvp_w(s);
    while (s->linespace > 0 && w->dotrow >= s->linespace) {
        s->vpos += (w->modeflags & KV_MVP_ELONGATED) ? 2 : 1;
        w->dotrow -= s->linespace;
        kv_mvp_resettextline(s);
    }
    if (s->pagelen > 0 && s->vpos >= s->pagelen) s->vpos %= s->pagelen;
}
// Prints the line still buffered and every field still pending, then the
// blank rows owed: the end of the input.
kv_status kv_mvp_finish(kv_glor* s);
