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

// One plot line, in one write: its introducer, the data bytes with bit 6 set
// (so that none is a control), and the LF that ends it.
kv_status sendplotline(kv_glor* s, int32_t intro, const uint8_t* row, int32_t n) {
    std::array<uint8_t, KV_MVP_CELLS + 2> line;
    line[0] = static_cast<uint8_t>(intro);
    for (int32_t i = 0; i < n; ++i) line[i + 1] = static_cast<uint8_t>((row[i] & 127) | 64);
    line[n + 1] = LF;
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
        if (f->x + f->width > 0 && f->x < KV_MVP_LINEDOTS && f->y + f->depth > 0 && f->y <= 0)
            st = kv_imageone(s, &band, cur.current, 0, r);
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
                st = kv_mvp_plotentries(s, w->dotrow);
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
    return kv_bandsetregion(s, kv_mvp_geom, x, y, w, h, density);
}
