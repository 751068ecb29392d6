// The printer-language emulation of the IBM Proprinter driver: control codes
// and escape sequences pass through unchanged while the head position, pitch
// and line spacing are tracked.
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "core/fields/fieldqueue.hpp"
#include "drivers/ibm/ibm_internal.hpp"

namespace {
constexpr int32_t ESC = 27;
// Far beyond any paper width; keeps position arithmetic from overflowing on
// endless lines and huge bit-image counts.
constexpr int32_t kMaxPos = 1 << 28;

constexpr auto send = kv_send;

void advance(kv_glor* s, int64_t dots) {
    s->hpos = static_cast<int32_t>(std::min<int64_t>(s->hpos + dots, kMaxPos));
}

// A cell width of the current pitch, doubled while double width is on.
int32_t widened(kv_glor* s, int32_t base) {
    return kv_ibm_w(s)->dblwide ? 2 * base : base;
}

void resethtabs(kv_glor* s) {
    kv_ibm_work* w = kv_ibm_w(s);
    w->ntabs = 32;
    for (int32_t i = 0; i < 32; ++i) w->tabstops[i] = 8 * (i + 1);
}

// The line spacing the application sets (the command goes on to the
// printer): `dots` in the driver's rows and the exact value in 1/216 inch,
// which the band output puts back.
void setspacing(kv_glor* s, int32_t dots, int32_t exact216) {
    s->linespace = dots;
    kv_ibm_w(s)->spacing216 = exact216;
    kv_ibm_w(s)->printer216 = exact216;
}

// Line feed, also for VT without a stop below and CR with auto line feed. A
// spacing below one dot row (ESC 3 1 or 2) cannot carry a band: the LF goes
// out as it came.
kv_status linefeed(kv_glor* s) {
    const kv_status st = s->linespace > 0 ? kv_bandlinefeed(s, kv_ibm_band) : send(s, '\n');
    kv_ibm_onelinecancel(s);
    kv_ibm_w(s)->lastwidth = 0;
    return st;
}

// Control codes. Each sends the byte it was given, except LF, VT and FF.
kv_status kv_ibm__bs(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_ibm_work* w = kv_ibm_w(s);
    s->hpos = std::max(0, s->hpos - w->lastwidth);
    w->lastwidth = 0;
    return st;
}

kv_status kv_ibm__ht(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_ibm_work* w = kv_ibm_w(s);
    for (int32_t i = 0; i < w->ntabs; ++i) {
        const int64_t stop = int64_t{w->tabstops[i]} * s->pitch;
        if (stop > s->hpos) {
            s->hpos = static_cast<int32_t>(std::min<int64_t>(stop, kMaxPos));
            break;
        }
    }
    w->lastwidth = 0;
    return st;
}

kv_status kv_ibm__lf(kv_glor* s, int32_t) {
    return linefeed(s);
}

// VT takes the paper to the next vertical stop below; with none (no stops
// set, or all above) the printer feeds one line. The VT byte itself goes out
// only when no band has to be printed on the way: the band's own line feeds
// take the paper to the stop instead, and a VT after them would move it on.
kv_status kv_ibm__vt(kv_glor* s, int32_t c) {
    const kv_ibm_work* w = kv_ibm_w(s);
    const int32_t* end = w->vtabstops + w->nvtabs;
    const int32_t* stop = std::find_if(w->vtabstops, end, [&](int32_t t) { return t > s->vpos; });
    if (stop == end) return linefeed(s);
    int32_t most = 0;
    kv_maxleft(s, &most);
    kv_status st = KV_SUCCESS;
    if (most > 0) {
        st = kv_ibm_plotnscroll(s, *stop - s->vpos);
    } else {
        st = send(s, c);
        s->vpos = *stop;
    }
    kv_ibm_onelinecancel(s);
    kv_ibm_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_ibm__ff(kv_glor* s, int32_t) {
    kv_status st = kv_bandformfeed(s, kv_ibm_band);
    kv_ibm_onelinecancel(s);
    s->hpos = 0;
    kv_ibm_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_ibm__cr(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    s->hpos = 0;
    if (s->autolf) return jerr_uperr(&st, linefeed(s));
    kv_ibm_onelinecancel(s);
    kv_ibm_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_ibm__so(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_ibm_work* w = kv_ibm_w(s);
    if (w->dblwide == 0) {
        w->dblwide = 1;
        s->pitch *= 2;
    }
    return st;
}

kv_status kv_ibm__si(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_ibm_work* w = kv_ibm_w(s);
    if (w->condensed == 0) {
        w->condensed = 3;
        s->pitch = widened(s, 7);
    }
    return st;
}

kv_status kv_ibm__dc2(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_ibm_w(s)->condensed = 0;
    s->pitch = widened(s, s->hdpi / 10);
    return st;
}

// DC4 ends the line's double width (SO); double width set by ESC W stays
// until ESC W 0, as on the printer.
kv_status kv_ibm__dc4(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_ibm_onelinecancel(s);
    return st;
}

kv_status kv_ibm__can(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_ibm_onelinecancel(s);
    s->hpos = 0;
    kv_ibm_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_ibm__esc(kv_glor* s, int32_t c);

constexpr kv_action ctrlacts[] = {
    {8, kv_ibm__bs},   // BS
    {9, kv_ibm__ht},   // HT
    {10, kv_ibm__lf},  // LF
    {11, kv_ibm__vt},  // VT
    {12, kv_ibm__ff},  // FF
    {13, kv_ibm__cr},  // CR
    {14, kv_ibm__so},  // SO: double width for the line
    {15, kv_ibm__si},  // SI: condensed
    {18, kv_ibm__dc2}, // DC2: 10 characters per inch
    {20, kv_ibm__dc4}, // DC4: the line's double width off
    {24, kv_ibm__can}, // CAN: cancel the line
    {27, kv_ibm__esc}, // ESC
    {0, nullptr},
};
static_assert(std::size(ctrlacts) == 13, "12 control codes and the end pair");

// Escape sequences. Each starts by sending ESC and its letter, except ESC 5
// and ESC J, which the driver carries out itself.
kv_status kv_ibm_esc_0(kv_glor* s, int32_t e) {
    setspacing(s, s->vdpi / 8, 27);
    return kv_esc_pass0(s, e);
}

kv_status kv_ibm_esc_1(kv_glor* s, int32_t e) {
    setspacing(s, 7, 21);
    return kv_esc_pass0(s, e);
}

kv_status kv_ibm_esc_2(kv_glor* s, int32_t e) {
    const int32_t saved = kv_ibm_w(s)->savedspace;
    setspacing(s, saved, 3 * saved);
    return kv_esc_pass0(s, e);
}

kv_status kv_ibm_esc_3(kv_glor* s, int32_t e) {
    kv_status st = kv_esc_pass0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, kv_passrawbyte(s, &n));
    if (n > 0) setspacing(s, n / 3, n);
    return st;
}

kv_status kv_ibm_esc_4(kv_glor* s, int32_t e) {
    s->vpos = 0; // the top of form is here now
    return kv_esc_pass0(s, e);
}

// Auto line feed is done by the driver, so the printer never has it on. An
// ESC 5 cut off by the end of the input still goes on, as every byte read.
kv_status kv_ibm_esc_5(kv_glor* s, int32_t e) {
    int32_t n = 0;
    kv_status st = kv_readrawbyte(s, &n);
    if (kv_breakall(s)) return jerr_uperr(&st, kv_esc_pass0(s, e));
    s->autolf = n;
    return st;
}

kv_status kv_ibm_esc_colon(kv_glor* s, int32_t e) {
    s->pitch = widened(s, s->hdpi / 12);
    return kv_esc_pass0(s, e);
}

// Counted data (bit images, characters from the all-characters chart, a
// downloaded font): passed unexamined. The printer reads the count as an
// unsigned number. The head moves by the columns at the image's density, or
// one cell per character.
kv_status kv_ibm_esc_passn(kv_glor* s, int32_t e) {
    kv_status st = kv_esc_pass0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, kv_passw(s, &n));
    n &= 0xFFFF;
    jerr_uperr(&st, kv_passn(s, n));
    switch (e & 127) {
    case 'K':
        advance(s, 2 * int64_t{n});
        break;
    case 'L':
    case 'Y':
        advance(s, n);
        break;
    case 'Z':
        advance(s, n / 2);
        break;
    case '\\':
        advance(s, int64_t{n} * s->pitch);
        break;
    default:
        return st; // ESC =: a font, no movement
    }
    kv_ibm_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_ibm_esc_ua(kv_glor* s, int32_t e) {
    kv_status st = kv_esc_pass0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, kv_passrawbyte(s, &n));
    if (n >= 1 && n <= 85) kv_ibm_w(s)->savedspace = n;
    return st;
}

kv_status kv_ibm_esc_ub(kv_glor* s, int32_t e) {
    kv_status st = kv_esc_pass0(s, e);
    kv_ibm_work* w = kv_ibm_w(s);
    int32_t lines[66];
    jerr_uperr(&st, kv_passascending(s, 66, lines, &w->nvtabs));
    for (int32_t i = 0; i < w->nvtabs; ++i) w->vtabstops[i] = (lines[i] - 1) * s->linespace;
    return st;
}

kv_status kv_ibm_esc_ud(kv_glor* s, int32_t e) {
    kv_status st = kv_esc_pass0(s, e);
    kv_ibm_work* w = kv_ibm_w(s);
    jerr_uperr(&st, kv_passascending(s, 32, w->tabstops, &w->ntabs));
    for (int32_t i = 0; i < w->ntabs; ++i) --w->tabstops[i]; // columns count from 1
    return st;
}

// ESC J n feeds n/216 inch. Pending fields print in the space it opens: the
// whole dot rows go by the band output, and only what is left below one row
// (or the whole feed when nothing is pending) is sent as ESC J.
kv_status kv_ibm_esc_uj(kv_glor* s, int32_t e) {
    int32_t n = 0;
    kv_status st = kv_readrawbyte(s, &n);
    if (kv_breakall(s)) return jerr_uperr(&st, kv_esc_pass0(s, e));
    int32_t rest = n;
    int32_t most = 0;
    kv_maxleft(s, &most);
    if (most > 0 && n / 3 > 0) {
        jerr_uperr(&st, kv_ibm_plotnscroll(s, n / 3));
        rest = n % 3;
    } else {
        s->vpos += n / 3;
        kv_wrapvpos(s);
    }
    if (rest > 0 || most <= 0) {
        jerr_uperr(&st, kv_esc_pass0(s, e));
        jerr_uperr(&st, send(s, rest));
    }
    kv_ibm_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_ibm_esc_ur(kv_glor* s, int32_t e) {
    resethtabs(s);
    return kv_esc_pass0(s, e);
}

kv_status kv_ibm_esc_uw(kv_glor* s, int32_t e) {
    kv_status st = kv_esc_pass0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, kv_passrawbyte(s, &n));
    kv_ibm_work* w = kv_ibm_w(s);
    if (n != 0) {
        if (w->dblwide == 0) s->pitch *= 2;
        w->dblwide = 3;
    } else {
        if (w->dblwide != 0) s->pitch /= 2;
        w->dblwide = 0;
    }
    return st;
}

kv_status kv_ibm_esc_ucaret(kv_glor* s, int32_t e) {
    advance(s, s->pitch);
    kv_ibm_w(s)->lastwidth = 0;
    return kv_esc_pass1(s, e);
}

constexpr kv_action escacts[] = {
    // No parameter; passed on without tracking.
    {'6', kv_esc_pass0}, // character set 2
    {'7', kv_esc_pass0}, // character set 1
    {'E', kv_esc_pass0}, // emphasized on
    {'F', kv_esc_pass0}, // emphasized off
    {'G', kv_esc_pass0}, // double strike on
    {'H', kv_esc_pass0}, // double strike off
    {'O', kv_esc_pass0}, // skip perforation off
    {'T', kv_esc_pass0}, // subscript/superscript off
    // One parameter byte; passed on without tracking.
    {'-', kv_esc_pass1}, // underline
    {'I', kv_esc_pass1}, // print mode
    {'N', kv_esc_pass1}, // skip perforation
    {'P', kv_esc_pass1}, // proportional spacing
    {'Q', kv_esc_pass1}, // deselect
    {'S', kv_esc_pass1}, // subscript/superscript
    {'U', kv_esc_pass1}, // unidirectional
    {'_', kv_esc_pass1}, // overscore
    // Tracked.
    {'0', kv_ibm_esc_0},      // ESC 0: 1/8-inch spacing
    {'1', kv_ibm_esc_1},      // ESC 1: 7/72-inch spacing
    {'2', kv_ibm_esc_2},      // ESC 2: the spacing ESC A stored
    {'3', kv_ibm_esc_3},      // ESC 3 n: n/216-inch spacing
    {'4', kv_ibm_esc_4},      // ESC 4: top of form here
    {'5', kv_ibm_esc_5},      // ESC 5 n: auto line feed
    {':', kv_ibm_esc_colon},  // ESC :: 12 characters per inch
    {'=', kv_ibm_esc_passn},  // ESC = nL nH data: download characters
    {'A', kv_ibm_esc_ua},     // ESC A n: store n/72-inch spacing
    {'B', kv_ibm_esc_ub},     // ESC B list: vertical tabs
    {'C', kv_esc_pagelength}, // ESC C n / ESC C 0 m: page length
    {'D', kv_ibm_esc_ud},     // ESC D list: horizontal tabs
    {'J', kv_ibm_esc_uj},     // ESC J n: feed n/216 inch
    {'K', kv_ibm_esc_passn},  // ESC K: 60-per-inch bit image
    {'L', kv_ibm_esc_passn},  // ESC L: 120-per-inch bit image
    {'Y', kv_ibm_esc_passn},  // ESC Y: 120 per inch, normal speed
    {'Z', kv_ibm_esc_passn},  // ESC Z: 240-per-inch bit image
    {'\\', kv_ibm_esc_passn}, // ESC \ nL nH: characters from the all-characters chart
    {'R', kv_ibm_esc_ur},     // ESC R: default tab stops
    {'W', kv_ibm_esc_uw},     // ESC W n: double width
    {'^', kv_ibm_esc_ucaret}, // ESC ^ c: one character from the all-characters chart
    {0, nullptr},
};
static_assert(std::size(escacts) == 38, "37 escape sequences and the end pair");

const auto kCtrlIndex = kv_indexactions<128>(ctrlacts);
const auto kEscIndex = kv_indexactions<128>(escacts);

kv_status kv_ibm__esc(kv_glor* s, int32_t) {
    return kv_escdispatch(s, kEscIndex, kv_esc_pass0);
}

// Bytes that only print a character cell: 32..127 and 160..255.
constexpr auto kPrintable = kv_bytetable([](int32_t c) { return (c & 127) >= 32; });
} // namespace

void kv_ibm_onelinecancel(kv_glor* s) {
    kv_ibm_work* w = kv_ibm_w(s);
    if (w->dblwide == 0) return;
    if (w->dblwide == 1) s->pitch /= 2;
    w->dblwide &= ~1;
}

kv_status kv_ibm_initinfo(kv_glor* s) {
    kv_ibm_work* w = kv_drvwork_init<kv_ibm_work>(s);
    // 10 characters per inch, 1/6-inch lines, 11-inch pages.
    kv_initgeometry(s, 120, 72, 12, 12, 11 * 72, 12);
    // The printer's own default before any ESC A: 1/6 inch.
    w->savedspace = s->linespace;
    w->spacing216 = 3 * s->linespace;
    w->printer216 = w->spacing216;
    resethtabs(s);
    return KV_SUCCESS;
}

kv_status kv_ibm_initprn(kv_glor* s) {
    kv_status st = kv_ibm_initinfo(s);
    if (kv_failed(st)) return st;
    // The printer reset: every mode the tracking starts from (DC4, ESC F, ESC
    // H, ESC R, ESC T, ESC U 0, ESC W 0, ESC 2, ESC - 0, ESC _ 0, ESC I 0, ESC @
    // 0, ESC O, ESC 4 0).
    static constexpr int32_t initstr[] = {
        20,  ESC, 'F', ESC, 'H', ESC, 'R', ESC, 'T', ESC, 'U', 0, ESC, 'W', 0,   ESC, '2',
        ESC, '-', 0,   ESC, '_', 0,   ESC, 'I', 0,   ESC, '@', 0, ESC, 'O', ESC, '4', 0};
    static_assert(std::size(initstr) == 34);
    if (s->resetstart == 1) st = kv_sendbytes(s, initstr, std::size(initstr));
    const int32_t lines = s->linespace > 0 ? std::min(s->pagelen / s->linespace, 255) : 0;
    const int32_t setup[] = {ESC, 'A', s->linespace, ESC, 'C', lines, '\r'};
    jerr_uperr(&st, kv_sendbytes(s, setup, std::size(setup)));
    return st;
}

namespace {
// n more printed cells.
void advancerun(kv_glor* s, size_t n) {
    kv_ibm_w(s)->lastwidth = s->pitch;
    advance(s, static_cast<int64_t>(std::min<size_t>(n, kMaxPos)) * s->pitch);
}

constexpr kv_plainrun kRun = {kPrintable.data(), advancerun, nullptr};
} // namespace

kv_status kv_ibm_qoutc(kv_glor* s, int32_t c) {
    const kv_action_fn h = kCtrlIndex[static_cast<size_t>(c & 127)];
    if (h != nullptr) return h(s, c);
    kv_status st = send(s, c);
    if (!kPrintable[static_cast<size_t>(c & 255)]) return st;
    advancerun(s, 1);
    if (kv_ok(st)) st = kv_sendplainrun(s, kRun);
    return st;
}
