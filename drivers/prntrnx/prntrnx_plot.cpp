// Plot side of the Printronix driver: the image buffer (two planes of 6-dot
// bytes), the region setter, and the output of a text line's dot rows as
// plot lines, with blank rows owed and sent in bulk.
#include <algorithm>
#include <array>
#include <cstring>

#include "core/fields/fieldqueue.hpp"
#include "core/fields/fieldrender.hpp"
#include "drivers/prntrnx/prntrnx_internal.hpp"
#include "drivers/prntrnx/prntrnx_tables.hpp"

namespace {
constexpr int32_t EOT = 4, ENQ = 5, LF = 10;
constexpr int32_t kLastRow = KV_MVP_IROWS - 1;

// The rows of dots are handled eight bytes at a time: a dot row is mostly
// zero bytes, and a line with a symbol has a dozen of them.
uint64_t load8(const uint8_t* p) {
    uint64_t v = 0;
    std::memcpy(&v, p, sizeof v);
    return v;
}
void store8(uint8_t* p, uint64_t v) {
    std::memcpy(p, &v, sizeof v);
}
constexpr uint64_t everybyte(uint8_t b) {
    return 0x0101010101010101u * b;
}

// Fields are imaged several dot rows at a time, ahead of printing them, into
// rows of the band bitmap beyond the image buffer: mapping a symbol once for
// ten rows instead of once a row. Seen as one plane of 40 rows, the bitmap
// holds the image buffer's odd plane in rows 0 .. 9 and its even plane in
// rows 10 .. 19; rows 20 .. 29 take the odd dots imaged ahead, 30 .. 39 the
// even ones.
constexpr kv_bandgeom kWhole = {4 * KV_MVP_IROWS, KV_MVP_LINEDOTS, 1, KV_BAND_ROWS, 6, 0};
static_assert(kv_bandfits(kWhole) && kv_bandrowbytes(kWhole) == KV_MVP_CELLS);
constexpr int32_t kAheadOdd = 2 * KV_MVP_IROWS;
constexpr int32_t kAheadEven = 3 * KV_MVP_IROWS;
static_assert(kAheadOdd * KV_MVP_CELLS == 2 * KV_MVP_PLANEBYTES, "right after the image buffer");

// The fields a line's dot rows from here on may draw: those across the
// line's dots that have not ended above it.
bool onrows(const kv_field* f) {
    return f->x + f->width > 0 && f->x < KV_MVP_LINEDOTS && f->y + f->depth > 0;
}

// Images the next k dot rows (at most KV_MVP_IROWS) of every field in one
// pass. On a failure nothing is left behind that a row takes: the caller
// then images row by row, which stops where the failing field does.
kv_status imageahead(kv_glor* s, int32_t k) {
    kv_mvp_work* w = kv_mvp_w(s);
    std::memset(kv_bandrow(s, kWhole, 0, kAheadOdd), 0, 2 * KV_MVP_PLANEBYTES);
    const kv_rect band{0, 0, KV_MVP_LINEDOTS, k};
    kv_status st = KV_SUCCESS;
    w->aheadrows = k;
    kv_fieldcursor cur;
    kv_fieldfirst(s, &cur);
    for (; cur.current != nullptr && kv_ok(st); kv_fieldnext(s, &cur)) {
        if (onrows(cur.current) && cur.current->y < k)
            st = kv_imageone(s, &band, cur.current, 0, 0);
    }
    w->aheadrows = 0;
    return st;
}

// Row j of the rows imaged ahead into row r of the image buffer, which may
// already hold text and plot data; the fields scroll on by the row.
void takeahead(kv_glor* s, int32_t j, int32_t r) {
    for (int plane = 0; plane < 2; ++plane) {
        const uint8_t* from = kv_bandrow(s, kWhole, 0, (plane == 0 ? kAheadOdd : kAheadEven) + j);
        uint8_t* to = kv_mvp_irow(s, plane, r);
        int32_t i = 0;
        for (; i + 8 <= KV_MVP_CELLS; i += 8) store8(to + i, load8(to + i) | load8(from + i));
        for (; i < KV_MVP_CELLS; ++i) to[i] |= from[i];
    }
    kv_scrollall(s, 1);
}

// One plot line, in one write: its introducer, the data bytes with bit 6 set
// (so that none is a control), and the LF that ends it.
kv_status sendplotline(kv_glor* s, int32_t intro, const uint8_t* row, int32_t n) {
    std::array<uint8_t, KV_MVP_CELLS + 2> line;
    line[0] = static_cast<uint8_t>(intro);
    int32_t i = 0;
    for (; i + 8 <= n; i += 8)
        store8(&line[i + 1], (load8(row + i) & everybyte(127)) | everybyte(64));
    for (; i < n; ++i) line[i + 1] = static_cast<uint8_t>((row[i] & 127) | 64);
    line[static_cast<size_t>(n) + 1] = LF;
    return kv_sendrun(s, line.data(), static_cast<size_t>(n) + 2);
}

// A blank dot row is an empty odd-dot plot line: ENQ LF, as many as may be
// owed at once.
constexpr auto kBlankRows = [] {
    std::array<uint8_t, 2 * KV_MVP_MAXSLEW> rows{};
    for (size_t i = 0; i < rows.size(); i += 2) {
        rows[i] = ENQ;
        rows[i + 1] = LF;
    }
    return rows;
}();
static_assert(kBlankRows.size() == 2 * KV_MVP_MAXSLEW, "a pair for every row that may be owed");
} // namespace

void kv_mvp_ibufinit(kv_glor* s) {
    std::memset(s->bandmap, 0, 2 * KV_MVP_PLANEBYTES);
}

int32_t kv_mvp_gbuflen(const uint8_t* row) {
    int32_t n = KV_MVP_CELLS;
    while (n % 8 != 0 && row[n - 1] == 0) --n;
    if (n % 8 == 0)
        while (n >= 8 && load8(row + n - 8) == 0) n -= 8;
    while (n > 0 && row[n - 1] == 0) --n;
    return n;
}

kv_status kv_mvp_sendslew(kv_glor* s) {
    kv_status st = KV_SUCCESS;
    kv_mvp_work* w = kv_mvp_w(s);
    while (w->slewcount > 0 && kv_ok(st)) {
        const int32_t n = std::min(w->slewcount, KV_MVP_MAXSLEW);
        st = kv_sendrun(s, kBlankRows.data(), 2 * static_cast<size_t>(n));
        w->slewcount -= n;
    }
    w->slewcount = 0;
    return st;
}

kv_status kv_mvp_oweblank(kv_glor* s, int32_t n) {
    kv_status st = KV_SUCCESS;
    kv_mvp_work* w = kv_mvp_w(s);
    while (n > 0 && kv_ok(st)) {
        const int32_t take = std::min(n, KV_MVP_MAXSLEW - w->slewcount);
        w->slewcount += take;
        n -= take;
        if (w->slewcount >= KV_MVP_MAXSLEW) st = kv_mvp_slewempty(s);
    }
    return st;
}

void kv_mvp_imagetext(kv_glor* s) {
    kv_mvp_work* w = kv_mvp_w(s);
    const int32_t n = kv_mvp_cbuflen(s);
    for (int32_t i = 0; i < n; ++i) {
        if (w->cattr[i] & KV_MVP_UNDERLINE) kv_mvp_irow(s, 0, 8)[i] = 0x3F;
        const uint8_t* g = kv_mvp_glyph(w->cbuf[i]);
        for (int32_t j = 0; j < KV_MVPFONT_ROWS; ++j) {
            kv_mvp_irow(s, 0, j)[i] |= g[2 * j];
            kv_mvp_irow(s, 1, j)[i] |= g[2 * j + 1];
        }
    }
    // Only a line that had characters leaves rows to print.
    if (n > 0) w->pending |= KV_MVP_TEXTDATA;
    kv_mvp_cbufinit(s);
}

kv_status kv_mvp_plotentries(kv_glor* s, int32_t d) {
    kv_status st = KV_SUCCESS;
    const int32_t r = std::min(d, kLastRow);
    const kv_rect band{0, 0, KV_MVP_LINEDOTS, 1};
    kv_fieldcursor cur;
    kv_fieldfirst(s, &cur);
    for (; cur.current != nullptr && kv_ok(st); kv_fieldnext(s, &cur)) {
        const kv_field* f = cur.current;
        if (onrows(f) && f->y <= 0) st = kv_imageone(s, &band, cur.current, 0, r);
    }
    kv_scrollall(s, 1);
    return st;
}

kv_status kv_mvp_sendibufrow(kv_glor* s, int32_t r, int32_t oddlen, int32_t evenlen) {
    kv_status st = kv_mvp_slewempty(s);
    if (evenlen > 0) jerr_uperr(&st, sendplotline(s, EOT, kv_mvp_irow(s, 1, r), evenlen));
    jerr_uperr(&st, sendplotline(s, ENQ, kv_mvp_irow(s, 0, r), oddlen));
    return st;
}

kv_status kv_mvp_plotnscroll(kv_glor* s, int32_t n) {
    kv_status st = KV_SUCCESS;
    kv_mvp_work* w = kv_mvp_w(s);
    if (n > 0) {
        kv_mvp_imagetext(s);
        int32_t m = 0;
        kv_maxleft(s, &m);
        // Rows of the fields imaged ahead and the next of them to print;
        // after a failure to image ahead, row by row.
        int32_t ahead = 0, next = 0;
        bool rowwise = false;
        for (int32_t i = 0; i < n && kv_ok(st); ++i) {
            if (m <= 0 && w->pending == 0) {
                // Nothing left to print on this line: the rest is blank. The
                // rows already sent leave the buffer too, or a later line
                // would print them again under its own.
                kv_mvp_advance(s, n - i);
                st = kv_mvp_oweblank(s, n - i);
                kv_mvp_ibufinit(s);
                break;
            }
            const int32_t r = std::min(w->dotrow, kLastRow);
            if (m > 0) {
                --m;
                if (next == ahead && !rowwise) {
                    next = 0;
                    ahead = std::min({m + 1, n - i, KV_MVP_IROWS});
                    rowwise = kv_failed(imageahead(s, ahead));
                }
                if (rowwise)
                    st = kv_mvp_plotentries(s, w->dotrow);
                else
                    takeahead(s, next++, r);
            }
            const int32_t odd = kv_mvp_gbuflen(kv_mvp_irow(s, 0, r));
            const int32_t even = kv_mvp_gbuflen(kv_mvp_irow(s, 1, r));
            if (odd > 0 || even > 0)
                jerr_uperr(&st, kv_mvp_sendibufrow(s, r, odd, even));
            else
                jerr_uperr(&st, kv_mvp_oweblank(s, 1));
            w->pending &= ~(KV_MVP_ODDDATA | KV_MVP_EVENDATA);
            kv_mvp_advance(s, 1);
            if (w->dotrow >= s->linespace) w->pending &= ~KV_MVP_TEXTDATA;
            if (w->dotrow > 8) kv_mvp_ibufinit(s);
        }
    }
    kv_mvp_renormalize(s);
    return st;
}

kv_status kv_mvp_printgline(kv_glor* s) {
    return kv_mvp_plotnscroll(s, 1);
}

kv_status kv_mvp_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                           int32_t density) {
    const int32_t ahead = kv_mvp_w(s)->aheadrows;
    if (ahead == 0) return kv_bandsetregion(s, kv_mvp_geom, x, y, w, h, density);
    // Imaging ahead: band rows 0 .. ahead-1 go to the rows kept for them.
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + h, ahead);
    if (bottom <= top) return KV_SUCCESS;
    const auto rows = static_cast<int32_t>(bottom - top);
    kv_bandsetregion(s, kWhole, x, kAheadOdd + static_cast<int32_t>(top), w, rows, 0);
    if (density != 0)
        kv_bandsetregion(s, kWhole, x, kAheadEven + static_cast<int32_t>(top),
                         kv_bandlaterwidth(kv_mvp_geom, w), rows, 0);
    return KV_SUCCESS;
}
