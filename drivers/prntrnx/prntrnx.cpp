// Text side of the Printronix driver: the line buffer with overstrike and
// underline, the control codes of the line printer language, and the output
// of a finished line as text or, when anything graphical touches it, as plot
// lines.
#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

#include "core/driver/printops.hpp"
#include "core/fields/fieldqueue.hpp"
#include "drivers/prntrnx/prntrnx_internal.hpp"

namespace {
constexpr int32_t EOT = 4, ENQ = 5, ACK = 6, BS = 8, HT = 9, LF = 10, FF = 12, CR = 13, SO = 14,
                  SI = 15;

void sethpos(kv_glor* s, int32_t hpos) {
    s->hpos = hpos;
    s->hdots = KV_MVP_CELLDOTS * hpos;
}

// Sends cells 0 .. n-1 of the line (the characters, or the underline pass),
// switching expanded print on and off where the cells' attribute changes.
// `expanded` is the printer's mode before and after.
kv_status sendcells(kv_glor* s, int32_t n, bool underlinepass, bool* expanded) {
    kv_status st = KV_SUCCESS;
    kv_mvp_work* w = kv_mvp_w(s);
    // The common line, all at one width: its characters in one piece.
    if (!underlinepass && !*expanded &&
        std::none_of(w->cattr, w->cattr + n, [](uint8_t a) { return a & KV_MVP_EXPANDED; }))
        return kv_pprintrun(s, w->cbuf, static_cast<size_t>(n));
    for (int32_t i = 0; i < n && kv_ok(st); ++i) {
        const bool exp = (w->cattr[i] & KV_MVP_EXPANDED) != 0;
        if (exp != *expanded) {
            st = kv_send(s, exp ? SO : SI);
            *expanded = exp;
        }
        int32_t c = w->cbuf[i];
        if (underlinepass) c = (w->cattr[i] & KV_MVP_UNDERLINE) ? '_' : ' ';
        jerr_uperr(&st, kv_send(s, c));
    }
    return st;
}

// A line no field, plot data or earlier dot row touches, sent as text; the
// underlines follow as a second pass over the same line.
kv_status sendtextline(kv_glor* s) {
    kv_mvp_work* w = kv_mvp_w(s);
    kv_status st = kv_mvp_slewempty(s);
    if (w->modeflags & KV_MVP_LPI8) jerr_uperr(&st, kv_send(s, ACK));
    if (w->modeflags & KV_MVP_ELONGATED) jerr_uperr(&st, kv_send(s, BS));
    const int32_t n = kv_mvp_cbuflen(s);
    if (w->lineattrs == 0) {
        // The common line, all at one width and nothing underlined: its
        // characters and the CR LF that end it in one write, the CR LF put
        // after them in the buffer itself (it is cleared next).
        w->cbuf[n] = CR;
        w->cbuf[n + 1] = LF;
        jerr_uperr(&st, kv_sendrun(s, w->cbuf, static_cast<size_t>(n) + 2));
    } else {
        bool expanded = false;
        jerr_uperr(&st, sendcells(s, n, false, &expanded));
        int32_t underlined = n;
        while (underlined > 0 && !(w->cattr[underlined - 1] & KV_MVP_UNDERLINE)) --underlined;
        if (underlined > 0) {
            jerr_uperr(&st, kv_send(s, CR));
            jerr_uperr(&st, sendcells(s, underlined, true, &expanded));
        }
        jerr_uperr(&st, kv_send(s, CR));
        jerr_uperr(&st, kv_send(s, LF));
    }
    kv_mvp_cbufinit(s);
    kv_mvp_advance(s, s->linespace);
    kv_mvp_renormalize(s);
    return st;
}

// Control codes of the line printer language. None is sent on: the line
// they belong to is still in the buffer.
kv_status kv_mvp__ht(kv_glor* s, int32_t) {
    sethpos(s, std::min((s->hpos / 8 + 1) * 8, KV_MVP_CELLS));
    return KV_SUCCESS;
}

kv_status kv_mvp__cr(kv_glor* s, int32_t) {
    // Inside plot data a CR is the one the byte layer puts before every line
    // feed of the input: the plot line goes on to its LF, so that it still
    // prints as one dot row.
    if (kv_mvp_w(s)->plotmode != 0) return KV_SUCCESS;
    sethpos(s, 0);
    return KV_SUCCESS;
}

kv_status kv_mvp__lf(kv_glor* s, int32_t) {
    kv_mvp_work* w = kv_mvp_w(s);
    kv_status st = KV_SUCCESS;
    if (w->plotmode == 0)
        st = kv_mvp_printtline(s);
    else if (w->plotmode == 1)
        st = kv_mvp_printgline(s);
    // An even-dot line waits in the image buffer for the next odd-dot row.
    w->plotmode = 0;
    sethpos(s, 0);
    return st;
}

// Fills the rest of the page with blank lines (and, after lines at 8 lines
// per inch, the blank dot rows that make up the difference), so that fields
// still pending print in that space; sends FF only when already at the top
// of form with nothing to print.
kv_status kv_mvp__ff(kv_glor* s, int32_t c) {
    kv_mvp_work* w = kv_mvp_w(s);
    kv_status st = KV_SUCCESS;
    bool printed = false;
    w->plotmode = 0;
    // The line in progress prints first, also when it has not reached a dot
    // row yet: left in the buffer it would print over the next page's first
    // line.
    if (w->dotrow > 0 || kv_mvp_cbuflen(s) > 0 || w->pending != 0) {
        st = kv_mvp_printtline(s);
        printed = true;
    }
    // The page is counted in dot rows: lines at 8 lines per inch or elongated
    // ones leave it at a position that whole lines of 6 per inch may not fill.
    const int32_t pagerows = kv_mvp_pagerows(s);
    while (w->pagerow > 0 && pagerows - w->pagerow >= s->linespace - w->dotrow && kv_ok(st)) {
        jerr_uperr(&st, kv_mvp_printtline(s));
        printed = true;
    }
    if (w->pagerow > 0 && kv_ok(st)) {
        jerr_uperr(&st, kv_mvp_plotnscroll(s, pagerows - w->pagerow));
        jerr_uperr(&st, kv_mvp_slewempty(s));
        printed = true;
    }
    if (!printed) jerr_uperr(&st, kv_send(s, c));
    w->dotrow = 0;
    w->pagerow = 0;
    kv_mvp_resettextline(s);
    kv_mvp_ibufinit(s);
    s->vpos = 0;
    sethpos(s, 0);
    return st;
}

// ENQ and EOT: the application's own plot line follows, merged into the dot
// row the line has reached.
kv_status startplot(kv_glor* s, int32_t mode) {
    kv_mvp_work* w = kv_mvp_w(s);
    w->plotmode = mode;
    w->plotcount = 0;
    w->plotpos =
        (mode - 1) * KV_MVP_PLANEBYTES + std::min(w->dotrow, KV_MVP_IROWS - 1) * KV_MVP_CELLS;
    w->pending |= mode == 1 ? KV_MVP_ODDDATA : KV_MVP_EVENDATA;
    return KV_SUCCESS;
}

kv_status kv_mvp__eot(kv_glor* s, int32_t) {
    return startplot(s, 2);
}
kv_status kv_mvp__enq(kv_glor* s, int32_t) {
    return startplot(s, 1);
}

kv_status kv_mvp__ack(kv_glor* s, int32_t) {
    kv_mvp_w(s)->modeflags |= KV_MVP_LPI8;
    return KV_SUCCESS;
}

kv_status kv_mvp__bs(kv_glor* s, int32_t) {
    kv_mvp_w(s)->modeflags |= KV_MVP_ELONGATED;
    return KV_SUCCESS;
}

kv_status kv_mvp__so(kv_glor* s, int32_t) {
    kv_mvp_w(s)->lineflags |= KV_MVP_EXPANDED;
    return KV_SUCCESS;
}

kv_status kv_mvp__si(kv_glor* s, int32_t) {
    kv_mvp_w(s)->lineflags &= ~KV_MVP_EXPANDED;
    return KV_SUCCESS;
}

constexpr kv_action ctrlacts[] = {
    {EOT, kv_mvp__eot}, // EOT: even-dot plot line follows
    {ENQ, kv_mvp__enq}, // ENQ: odd-dot plot line follows
    {ACK, kv_mvp__ack}, // ACK: 8 lines per inch for this line
    {BS, kv_mvp__bs},   // BS: elongated line
    {HT, kv_mvp__ht},   // HT: next multiple of 8 columns
    {LF, kv_mvp__lf},   // LF: print the line
    {FF, kv_mvp__ff},   // FF: to the top of the next page
    {CR, kv_mvp__cr},   // CR: back to column 0, to overstrike
    {SO, kv_mvp__so},   // SO: expanded characters
    {SI, kv_mvp__si},   // SI: expanded off
    {0, nullptr},
};
static_assert(std::size(ctrlacts) == 11, "10 control codes and the end pair");

constexpr auto kCtrlIndex = kv_indexactions<32>(ctrlacts);

kv_status kv_mvp_ctrlc(kv_glor* s, int32_t c) {
    kv_status st = KV_SUCCESS;
    const kv_action_fn h = kCtrlIndex[static_cast<size_t>(c)];
    if (h != nullptr) {
        st = h(s, c);
    } else {
        st = kv_mvp_slewempty(s);
        jerr_uperr(&st, kv_send(s, c));
    }
    kv_mvp_setlinespace(s);
    return st;
}

// A character into the line at the print position: a character typed over
// another overstrikes it, except that an underscore typed over a character
// (or a character over an underscore) only underlines it.
void kv_mvp_displayc(kv_glor* s, int32_t c) {
    if (s->hpos >= KV_MVP_CELLS) return;
    kv_mvp_work* w = kv_mvp_w(s);
    const int32_t old = w->cbuf[s->hpos];
    if (c != ' ' && c != old) {
        uint8_t& attr = w->cattr[s->hpos];
        if (old == '_' || (c == '_' && old != ' ')) attr |= KV_MVP_UNDERLINE;
        if (c != '_')
            attr =
                static_cast<uint8_t>((attr & ~KV_MVP_EXPANDED) | (w->lineflags & KV_MVP_EXPANDED));
        if (old == ' ' || c != '_') w->cbuf[s->hpos] = static_cast<uint8_t>(c);
        w->lineattrs |= attr;
        w->inked = std::max(w->inked, s->hpos + 1);
    }
    sethpos(s, s->hpos + 1);
}

// A run of plain bytes into the line, as kv_mvp_displayc would place them one
// by one. Over blank cells that comes down to a copy: a space leaves its cell
// blank either way, and only a character other than an underscore takes the
// expanded attribute (a blank cell has none to keep).
void kv_mvp_displayrun(kv_glor* s, const uint8_t* run, size_t n) {
    kv_mvp_work* w = kv_mvp_w(s);
    size_t i = 0;
    // Over characters already in the line (after a CR): overstrike.
    for (; i < n && s->hpos < w->inked; ++i) kv_mvp_displayc(s, run[i]);
    if (i == n || s->hpos >= KV_MVP_CELLS) return;
    const int32_t at = s->hpos;
    const size_t k = std::min(n - i, static_cast<size_t>(KV_MVP_CELLS - at));
    const uint8_t* from = run + i;
    std::memcpy(w->cbuf + at, from, k);
    if (w->lineflags & KV_MVP_EXPANDED) {
        for (size_t j = 0; j < k; ++j)
            if (from[j] != ' ' && from[j] != '_') w->cattr[at + j] = KV_MVP_EXPANDED;
        w->lineattrs |= KV_MVP_EXPANDED;
    }
    w->inked = at + static_cast<int32_t>(k);
    sethpos(s, w->inked);
}

// Bytes that only take a cell of the line.
constexpr auto kCell = kv_bytetable([](int32_t c) { return c >= 32; });

// A CR or LF of plain text, as the qoutc slot takes it outside plot data
// (kv_mvp_ctrlc without the look-up).
kv_status lineend(kv_glor* s, int32_t c) {
    kv_status st = c == LF ? kv_mvp__lf(s, c) : kv_mvp__cr(s, c);
    kv_mvp_setlinespace(s);
    return jerr_uperr(&st, kv_mvp_slewempty(s));
}

// Plain text goes into the line in runs, each of whose bytes would only take
// the next cell, line after line.
constexpr kv_plainrun kRun = {kCell.data(), nullptr, nullptr, lineend, kv_mvp_displayrun};

// One byte of the stream.
kv_status kv_mvp_byte(kv_glor* s, int32_t c) {
    kv_mvp_work* w = kv_mvp_w(s);
    if (w->plotmode != 0 && c >= 32) {
        // Plot data; a byte with bit 7 set carries its dots like any other.
        if (w->plotcount < KV_MVP_CELLS) {
            ++w->plotcount;
            s->bandmap[w->plotpos++] |= static_cast<uint8_t>(c & 0x3F);
        }
        return KV_SUCCESS;
    }
    if (c < 32) return kv_mvp_ctrlc(s, c);
    // Bytes 128 .. 255 are characters of the printer's upper half: they take
    // their cell in the line like any other, so they print where they stood.
    kv_mvp_displayc(s, c);
    return KV_SUCCESS;
}
} // namespace

void kv_mvp_cbufinit(kv_glor* s) {
    kv_mvp_work* w = kv_mvp_w(s);
    std::memset(w->cbuf, ' ', sizeof w->cbuf);
    // A cell has an attribute only if the line gave one to some cell.
    if (w->lineattrs != 0) std::memset(w->cattr, 0, sizeof w->cattr);
    w->inked = 0;
    w->lineattrs = 0;
}

int32_t kv_mvp_cbuflen(kv_glor* s) {
    const kv_mvp_work* w = kv_mvp_w(s);
    int32_t n = w->inked;
    while (n > 0 && w->cbuf[n - 1] == ' ') --n;
    return n;
}

void kv_mvp_setlinespace(kv_glor* s) {
    const int32_t flags = kv_mvp_w(s)->modeflags;
    // Two constant divisors: this runs after every control code.
    s->linespace = (flags & KV_MVP_LPI8) ? s->vdpi / 8 : s->vdpi / 6;
    if (flags & KV_MVP_ELONGATED) s->linespace *= 2;
}

kv_status kv_mvp_initinfo(kv_glor* s) {
    kv_drvwork_init<kv_mvp_work>(s);
    // 60 x 72 dots per inch, one cell a character, pages of 66 lines (the
    // page length counts text lines here).
    kv_initgeometry(s, 60, 72, 1, 12, 66, 1);
    kv_mvp_resettextline(s);
    kv_mvp_cbufinit(s);
    kv_mvp_ibufinit(s);
    return KV_SUCCESS;
}

kv_status kv_mvp_printtline(kv_glor* s) {
    kv_mvp_work* w = kv_mvp_w(s);
    int32_t m = 0;
    if (s->fieldhead != nullptr) kv_maxleft(s, &m); // most lines have none
    if (m > 0 || w->dotrow > 0 || w->pending != 0)
        return kv_mvp_plotnscroll(s, s->linespace - w->dotrow);
    return sendtextline(s);
}

kv_status kv_mvp_finish(kv_glor* s) {
    kv_mvp_work* w = kv_mvp_w(s);
    kv_status st = KV_SUCCESS;
    // A plot line cut off by the end still prints as its dot row.
    if (w->plotmode == 1) st = kv_mvp_printgline(s);
    w->plotmode = 0;
    int32_t m = 0;
    kv_maxleft(s, &m);
    if (kv_mvp_cbuflen(s) > 0 || w->pending != 0 || m > 0) jerr_uperr(&st, kv_mvp_printtline(s));
    // The paper goes on as far as the fields reach, a line at a time.
    for (kv_maxleft(s, &m); m > 0 && kv_ok(st); kv_maxleft(s, &m)) st = kv_mvp_printtline(s);
    jerr_uperr(&st, kv_mvp_slewempty(s));
    sethpos(s, 0);
    return st;
}

kv_status kv_mvp_endinput(kv_glor* s) {
    return kv_mvp_finish(s);
}

kv_status kv_mvp_initprn(kv_glor* s) {
    kv_status st = kv_mvp_initinfo(s);
    if (kv_ok(st)) st = kv_send(s, CR);
    return st;
}

kv_status kv_mvp_qoutc(kv_glor* s, int32_t c) {
    kv_mvp_work* w = kv_mvp_w(s);
    kv_status st = KV_SUCCESS;
    for (;;) {
        jerr_uperr(&st, kv_mvp_byte(s, c));
        if (w->plotmode == 0 || kv_breakall(s) || kv_failed(st)) break;
        // The application's plot line is taken whole, never looked at for
        // sequences.
        jerr_uperr(&st, s->lgetc(s, &c));
        if (kv_breakall(s)) break;
    }
    jerr_uperr(&st, kv_mvp_slewempty(s));
    // The text that follows goes into the line in runs, across line ends. The
    // spaces that stand for a sequence still take their cells one by one: no
    // run is taken while the padding is sent.
    if (w->plotmode == 0 && kv_ok(st)) st = kv_sendplainrun(s, kRun);
    return st;
}
