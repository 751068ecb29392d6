// The band bitmap and the band loop that the dot-matrix and line-printer
// drivers share. A driver describes its band by a geometry (rows, columns,
// planes, how dots sit in the bytes) and supplies its own row emitter,
// spacing command and head positioning; one region setter marks dots for
// every geometry and one loop advances the paper band by band.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"

// How dots sit in the band bytes.
enum kv_bandlayout : int32_t {
    // One byte per band column and plane; its bits are the band rows (the
    // column graphics of impact printers: bit images, sixels).
    KV_BAND_COLUMNS = 0,
    // Rows of packed dots; a byte holds `bits` neighbouring dots of a row
    // (raster rows, plot lines).
    KV_BAND_ROWS = 1,
};

struct kv_bandgeom {
    int32_t rows;   // band rows
    int32_t cols;   // band columns (dots across)
    int32_t planes; // planes after the first are marked only at nonzero density
    kv_bandlayout layout;
    int32_t bits;     // dots one byte holds: rows of a column, or dots of a row
    int32_t msbfirst; // 1: the top row (leftmost dot) is the byte's highest bit; 0: bit 0
    // 1: a dot of the planes after the first stands half a column right of
    // the first plane's and reaches into the next column, so those planes
    // are marked for all but a region's last column (its right edge stays
    // where the first plane puts it). 0: their dots stay within the column.
    int32_t overhang = 0;
};

// Bytes of one band row in the row layout.
constexpr int32_t kv_bandrowbytes(const kv_bandgeom& g) {
    return (g.cols + g.bits - 1) / g.bits;
}
// Bytes of one plane.
constexpr int32_t kv_bandplanebytes(const kv_bandgeom& g) {
    return g.layout == KV_BAND_COLUMNS ? g.cols : g.rows * kv_bandrowbytes(g);
}
// True when the geometry is well formed and fits the state's band bitmap.
constexpr bool kv_bandfits(const kv_bandgeom& g) {
    if (g.rows < 1 || g.cols < 1 || g.planes < 1 || g.bits < 1 || g.bits > 8) return false;
    if (g.layout == KV_BAND_COLUMNS && g.rows > g.bits) return false;
    return int64_t{g.planes} * kv_bandplanebytes(g) <= static_cast<int64_t>(KV_BANDBYTES);
}
// The bits of dot positions a .. b-1 (0 = top row or leftmost dot) of a byte.
constexpr uint8_t kv_bandmask(const kv_bandgeom& g, int32_t a, int32_t b) {
    const uint32_t run = (1u << (b - a)) - 1u;
    return static_cast<uint8_t>(g.msbfirst ? run << (g.bits - b) : run << a);
}

inline uint8_t* kv_bandplane(kv_glor* s, const kv_bandgeom& g, int32_t plane) {
    return s->bandmap + plane * kv_bandplanebytes(g);
}
// Columns of a region w columns wide that the planes after the first take.
constexpr int32_t kv_bandlaterwidth(const kv_bandgeom& g, int32_t w) {
    return g.overhang != 0 && w > 0 ? w - 1 : w;
}
// Row r of a plane in the row layout.
inline uint8_t* kv_bandrow(kv_glor* s, const kv_bandgeom& g, int32_t plane, int32_t r) {
    return kv_bandplane(s, g, plane) + r * kv_bandrowbytes(g);
}

// The region setter: marks the dots of columns x .. x+w-1, rows y .. y+h-1
// in plane 0, and in the further planes when density is nonzero (all but the
// last column on a geometry whose later planes overhang). Dots outside the
// band are ignored. Only sets; kv_clearmap clears.
kv_status kv_bandsetregion(kv_glor* s, const kv_bandgeom& g, int32_t x, int32_t y, int32_t w,
                           int32_t h, int32_t density);

// What a band-printing driver supplies to the band loop.
struct kv_bandops {
    kv_bandgeom geom;
    // Head-position units per band column: a field whose left edge would lie
    // left of the margin is printed from the margin on. 0: no such cut.
    int32_t colunits;
    // Sends the band bitmap, w band columns, as the slice of field f whose
    // left edge is band column x (the bitmap's column 0).
    kv_status (*dumprow)(kv_glor* s, const kv_field* f, int32_t x, int32_t w);
    // Sets the printer's line spacing to *n dots when *current (the spacing
    // the printer has) asks for it, and records it in *current. It may round
    // *n to a spacing the printer has.
    kv_status (*respace)(kv_glor* s, int32_t* n, int32_t* current);
    // 1: a step's spacing is set before its slice is printed; 0: after.
    int32_t respacefirst;
    // Puts the head back at position p (the driver's horizontal units).
    kv_status (*sethpos)(kv_glor* s, int32_t p);
};

// Renders the slice of every pending field that falls into the band (band
// rows 0 .. rows-1 below the print line) and sends each field's slice on its
// own through the row emitter.
kv_status kv_bandprint(kv_glor* s, const kv_bandops& ops);
// Advances the paper n dots while printing the fields: band after band, in
// steps of at most `rows` dots, each ended by LF at the step's spacing; then
// vpos is brought back within the page, the spacing restored to linespace and
// the head put back where it was. *advanced (when given) is the distance
// actually advanced.
kv_status kv_bandplot(kv_glor* s, const kv_bandops& ops, int32_t n, int32_t* advanced = nullptr);
// A line feed: a plain LF when no field waits below, else band output over
// one line.
kv_status kv_bandlinefeed(kv_glor* s, const kv_bandops& ops);
// A form feed: band output down to the last field or the end of the page,
// whichever is nearer; FF only when the page is not already ended by it.
// vpos becomes 0.
kv_status kv_bandformfeed(kv_glor* s, const kv_bandops& ops);
// The end of the input: band output as far as the pending fields reach, as
// line feeds would print them, and no further (no form feed, no rounding up to
// a whole line). Nothing at all when no field is pending.
// A band driver takes part by naming, in its entry record's endinput slot, a
// one-line function that calls kv_bandendinput with its kv_bandops.
kv_status kv_bandendinput(kv_glor* s, const kv_bandops& ops);
// Keeps vpos within the page (1 .. pagelen) once it has passed its end.
void kv_wrapvpos(kv_glor* s);
