// Printronix line-matrix driver (line printer language with plot graphics).
// The printer cannot mix characters and graphics on one line, so each text
// line is assembled in a line buffer: a line that no field touches goes out
// as text; a line a field touches is drawn with the driver's own font, merged
// with the fields' dots and the application's plot data, and sent one dot
// row at a time as plot lines. Blank dot rows are owed and sent in bulk.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "drivers/common/band.hpp"
#include "drivers/common/kit.hpp"

// A text line: 165 cells of 6 dots at 10 characters per inch (990 dots).
inline constexpr int32_t KV_MVP_CELLS = 165;
inline constexpr int32_t KV_MVP_CELLDOTS = 6;
inline constexpr int32_t KV_MVP_LINEDOTS = KV_MVP_CELLS * KV_MVP_CELLDOTS;
// The image buffer, in the band bitmap: two planes (odd dots, then the even
// dots half a dot to their right) of 10 rows of 165 bytes, 6 dots a byte,
// bit 0 leftmost. Rows 0 .. 8 take the dot rows of a text line; row 9 serves
// every dot row from the tenth on. The two planes' worth of bytes after them
// take the fields' next dot rows, imaged ahead. An even dot reaches half a
// dot into the next dot's place: a field's last dot gets no even dot.
inline constexpr int32_t KV_MVP_IROWS = 10;
inline constexpr kv_bandgeom kv_mvp_geom = {
    KV_MVP_IROWS, KV_MVP_LINEDOTS, 2, KV_BAND_ROWS, 6, 0, 1};
static_assert(kv_bandfits(kv_mvp_geom) && kv_bandrowbytes(kv_mvp_geom) == KV_MVP_CELLS);
inline constexpr int32_t KV_MVP_PLANEBYTES = kv_bandplanebytes(kv_mvp_geom);
// The most blank dot rows owed to the printer at any time.
inline constexpr int32_t KV_MVP_MAXSLEW = 792;

// cattr bits and the flags of the current line.
inline constexpr uint8_t KV_MVP_UNDERLINE = 1;
inline constexpr uint8_t KV_MVP_EXPANDED = 2;
inline constexpr int32_t KV_MVP_LPI8 = 16;
inline constexpr int32_t KV_MVP_ELONGATED = 32;
// pending bits: what the image buffer holds.
inline constexpr int32_t KV_MVP_ODDDATA = 1;
inline constexpr int32_t KV_MVP_EVENDATA = 2;
inline constexpr int32_t KV_MVP_TEXTDATA = 4;

struct kv_mvp_work {
    int32_t plotmode;               // 0 text; 1 odd-dot plot data follows (ENQ); 2 even-dot (EOT)
    uint8_t cbuf[KV_MVP_CELLS + 2]; // the text line, spaces when empty; room for its CR LF
    uint8_t cattr[KV_MVP_CELLS];    // per cell: underline, expanded
    int32_t inked;                  // cells from here on are blank: a space, no attribute
    uint8_t lineattrs;              // every attribute given to a cell of the line
    int32_t lineflags;              // KV_MVP_EXPANDED: SO in force for the characters that follow
    int32_t modeflags;              // KV_MVP_LPI8, KV_MVP_ELONGATED for this line
    int32_t pending;                // KV_MVP_ODDDATA, KV_MVP_EVENDATA, KV_MVP_TEXTDATA
    int32_t dotrow;                 // dot rows of the current text line already printed
    int32_t plotpos;                // band bitmap offset of the next plot data byte
    int32_t plotcount;              // plot data bytes received on the current plot line
    int32_t slewcount;              // blank dot rows owed to the printer
    int32_t pagerow;                // dot rows from the top of form
    int32_t aheadrows;              // while fields are imaged ahead: the dot rows imaged, else 0
};

// Bytes are read and go on the standard way; command Z means nothing here.
inline constexpr kv_lgetc_fn kv_mvp_lgetc = kv_std_lgetc;
inline constexpr kv_lprintc_fn kv_mvp_lprintc = kv_std_lprintc;
inline constexpr kv_specialcmd_fn kv_mvp_specialcmd = kv_std_specialcmd;
kv_status kv_mvp_initprn(kv_glor* s);
kv_status kv_mvp_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h, int32_t density);
kv_status kv_mvp_qoutc(kv_glor* s, int32_t c);
// The end of the input, once every byte read is handled: the line still
// buffered and every field still pending are printed.
kv_status kv_mvp_endinput(kv_glor* s);

// The driver entry record of the Printronix build (printer code 1024).
inline constexpr kv_prnslots kv_mvp_slots = {
    1024,    kv_mvp_lgetc, kv_mvp_lprintc,   kv_mvp_initprn, kv_mvp_specialcmd, nullptr,
    nullptr, nullptr,      kv_mvp_setregion, kv_mvp_qoutc,   kv_mvp_endinput,
};
