// The printer-language emulation of the Epson driver: control codes and
// escape sequences pass through unchanged while the head position, pitch and
// line spacing are tracked.
#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#include "drivers/common/kit.hpp"
#include "drivers/epson/epson_internal.hpp"

namespace {
constexpr int32_t ESC = 27;
// Far beyond any paper width; keeps position arithmetic from overflowing on
// endless lines.
constexpr int32_t kMaxPos = 1 << 28;

constexpr auto send = kv_send;
// Every parameter byte of an escape sequence is binary.
constexpr auto passbyte = kv_passrawbyte;

void advance(kv_glor* s, int32_t dots) {
    if (s->hpos < kMaxPos) s->hpos += dots;
}

// Cell width after a change of pitch, width or spacing.
void kv_epson_revalstuf(kv_glor* s) {
    kv_epson_work* w = kv_epson_w(s);
    int32_t pitch = 12;
    if (w->elite)
        pitch = w->condensed ? 6 : 10;
    else if (w->condensed)
        pitch = 7;
    pitch += w->extraspace;
    if (w->dblwide) pitch *= 2;
    s->pitch = pitch;
}

// End of a printed line: one-line double width ends.
void kv_epson_onelinecancel(kv_glor* s) {
    kv_epson_work* w = kv_epson_w(s);
    if (w->dblwide) {
        w->dblwide = 0;
        s->pitch /= 2;
    }
}

void setdefaulttabs(kv_glor* s) {
    kv_epson_work* w = kv_epson_w(s);
    w->ntabs = 32;
    for (int i = 0; i < 32; ++i) w->tabstops[i] = (i + 1) * 8 * s->pitch;
}

// Line feed, also for VT without vertical tabs and CR with auto line feed.
kv_status linefeed(kv_glor* s) {
    const kv_status st = kv_bandlinefeed(s, kv_epson_band);
    kv_epson_onelinecancel(s);
    kv_epson_w(s)->lastwidth = 0;
    return st;
}

// Switches a print mode on (to `value`) when it is off, or off when `value`
// is 0 and it is on; the cell width follows.
void setmode(kv_glor* s, int32_t kv_epson_work::*mode, int32_t value) {
    kv_epson_work* w = kv_epson_w(s);
    if ((w->*mode == 0) == (value == 0)) return;
    w->*mode = value;
    kv_epson_revalstuf(s);
}

// Control codes. Each sends the byte it was given, except LF and FF.
kv_status kv_epson__bs(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_epson_work* w = kv_epson_w(s);
    s->hpos -= w->lastwidth;
    if (s->hpos < 0) s->hpos = 0;
    w->lastwidth = 0;
    return st;
}

kv_status kv_epson__ht(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_epson_work* w = kv_epson_w(s);
    for (int i = 0; i < w->ntabs; ++i) {
        if (w->tabstops[i] > s->hpos) {
            s->hpos = w->tabstops[i];
            break;
        }
    }
    w->lastwidth = 0;
    return st;
}

kv_status kv_epson__lf(kv_glor* s, int32_t) { return linefeed(s); }

kv_status kv_epson__vt(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    if (kv_epson_w(s)->nvtabs == 0) jerr_uperr(&st, linefeed(s));
    return st;
}

kv_status kv_epson__ff(kv_glor* s, int32_t) {
    const kv_status st = kv_bandformfeed(s, kv_epson_band);
    kv_epson_onelinecancel(s);
    kv_epson_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_epson__cr(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    s->hpos = 0;
    if (s->autolf) return jerr_uperr(&st, linefeed(s));
    kv_epson_onelinecancel(s);
    kv_epson_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_epson__so(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    setmode(s, &kv_epson_work::dblwide, 1);
    return st;
}

kv_status kv_epson__si(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    setmode(s, &kv_epson_work::condensed, 3);
    return st;
}

kv_status kv_epson__dc2(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    setmode(s, &kv_epson_work::condensed, 0);
    return st;
}

kv_status kv_epson__dc4(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    setmode(s, &kv_epson_work::dblwide, 0);
    return st;
}

kv_status kv_epson__can(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    kv_epson_onelinecancel(s);
    s->hpos = 0;
    kv_epson_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_epson__esc(kv_glor* s, int32_t c);

constexpr kv_action ctrlacts[] = {
    {8, kv_epson__bs},   // BS
    {9, kv_epson__ht},   // HT
    {10, kv_epson__lf},  // LF
    {11, kv_epson__vt},  // VT
    {12, kv_epson__ff},  // FF
    {13, kv_epson__cr},  // CR
    {14, kv_epson__so},  // SO: double width for the line
    {15, kv_epson__si},  // SI: condensed
    {18, kv_epson__dc2}, // DC2: condensed off
    {20, kv_epson__dc4}, // DC4: double width off
    {24, kv_epson__can}, // CAN: cancel the line
    {27, kv_epson__esc}, // ESC
    {0, nullptr},
};

// Escape sequences. Each starts by sending ESC and its letter; these two
// only pass the sequence on, with no parameter byte or with one.
constexpr kv_action_fn kv_epson_esc_unsup0 = kv_esc_pass0;
constexpr kv_action_fn kv_epson_esc_unsup1 = kv_esc_pass1;

kv_status kv_epson_esc__so(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    setmode(s, &kv_epson_work::dblwide, 1);
    return st;
}

kv_status kv_epson_esc__si(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    setmode(s, &kv_epson_work::condensed, 3);
    return st;
}

kv_status kv_epson_esc_space(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, passbyte(s, &n));
    if (n >= 0 && n <= 127) {
        kv_epson_w(s)->extraspace = n;
        kv_epson_revalstuf(s);
    }
    return st;
}

kv_status kv_epson_esc_exclam(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, passbyte(s, &n));
    kv_epson_work* w = kv_epson_w(s);
    w->dblwide = (n & 32) ? 3 : 0;
    w->condensed = (n & 4) ? 3 : 0;
    w->lqunits = (n & 2) ? 3 : 0;
    w->elite = (n & 1) ? 3 : 0;
    kv_epson_revalstuf(s);
    return st;
}

kv_status kv_epson_esc_dollar(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    int32_t d = 0;
    jerr_uperr(&st, kv_passw(s, &d));
    const int32_t p = s->hdpi * d / 60;
    if (p >= 0 && p <= 15 * s->hdpi) s->hpos = p;
    kv_epson_w(s)->lastwidth = 0;
    return st;
}

// Dots per inch of a bit-image mode, for the head movement.
int32_t modedensity(int32_t mode) {
    switch (mode) {
    case 0: return 60;
    case 60: return 60;
    case 3: return 240;
    case 4: return 80;
    case 6: return 90;
    case 38: return 90;
    case 39: return 180;
    default: return 120;
    }
}

kv_status kv_epson_esc_passn(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    kv_epson_work* w = kv_epson_w(s);
    int32_t mode = 0;
    switch (e & 127) {
    case '*': jerr_uperr(&st, passbyte(s, &mode)); break;
    case 'K': mode = w->gmode_k; break;
    case 'L': mode = w->gmode_l; break;
    case 'Y': mode = w->gmode_y; break;
    default: mode = w->gmode_z; break;
    }
    int32_t n = 0;
    jerr_uperr(&st, kv_passw(s, &n));
    // The printer reads the column count as an unsigned number.
    const int32_t columns = n & 0xFFFF;
    jerr_uperr(&st, kv_passn(s, mode > 7 ? 3 * columns : columns));
    advance(s, 120 * columns / modedensity(mode));
    w->lastwidth = 0;
    return st;
}

kv_status kv_epson_esc_0(kv_glor* s, int32_t e) {
    s->linespace = s->vdpi / 8;
    return kv_epson_esc_unsup0(s, e);
}

kv_status kv_epson_esc_2(kv_glor* s, int32_t e) {
    s->linespace = s->vdpi / 6;
    return kv_epson_esc_unsup0(s, e);
}


kv_status kv_epson_esc_quest(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    int32_t c = 0, m = 0;
    jerr_uperr(&st, passbyte(s, &c));
    jerr_uperr(&st, passbyte(s, &m));
    kv_epson_work* w = kv_epson_w(s);
    if (m >= 0 && m <= 3) {
        switch (c) {
        case 'K': w->gmode_k = m; break;
        case 'L': w->gmode_l = m; break;
        case 'Y': w->gmode_y = m; break;
        case 'Z': w->gmode_z = m; break;
        default: break;
        }
    }
    return st;
}

kv_status kv_epson_esc_at(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    jerr_uperr(&st, kv_epson_initinfo(s));
    return st;
}

kv_status kv_epson_esc_ua(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, passbyte(s, &n));
    if (n > 0) s->linespace = n;
    return st;
}

// Vertical tab list: only the number of stops is kept.
kv_status kv_epson_esc_ub(kv_glor* s) {
    int32_t stops[66];
    return kv_passascending(s, 66, stops, &kv_epson_w(s)->nvtabs);
}

kv_status kv_epson_esc_lb(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    jerr_uperr(&st, kv_epson_esc_ub(s));
    return st;
}


kv_status kv_epson_esc_ud(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    kv_epson_work* w = kv_epson_w(s);
    jerr_uperr(&st, kv_passascending(s, 32, w->tabstops, &w->ntabs));
    for (int32_t i = 0; i < w->ntabs; ++i) w->tabstops[i] = (w->tabstops[i] - 1) * s->pitch;
    return st;
}

// ESC J n is not passed on: the paper is advanced by the driver instead, so
// pending fields print in the space it opens.
kv_status kv_epson_esc_uj(kv_glor* s, int32_t) {
    int32_t n = 0;
    kv_status st = kv_readrawbyte(s, &n);
    const int32_t k = n / 3;
    if (k != 0) jerr_uperr(&st, kv_epson_plotnscroll(s, k / 3));
    kv_epson_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_epson_esc_um(kv_glor* s, int32_t e) {
    kv_epson_w(s)->elite = 1;
    kv_epson_revalstuf(s);
    return kv_epson_esc_unsup0(s, e);
}

kv_status kv_epson_esc_up(kv_glor* s, int32_t e) {
    kv_epson_w(s)->elite = 0;
    kv_epson_revalstuf(s);
    return kv_epson_esc_unsup0(s, e);
}

kv_status kv_epson_esc_uw(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, passbyte(s, &n));
    kv_epson_w(s)->dblwide = n != 0 ? 3 : 0;
    kv_epson_revalstuf(s);
    return st;
}

kv_status kv_epson_esc_bslash(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    int32_t d = 0;
    jerr_uperr(&st, kv_passw(s, &d));
    if (kv_epson_w(s)->lqunits) d = 2 * d / 3;
    const int32_t p = s->hpos + d;
    if (p >= 0 && p <= 15 * s->hdpi) s->hpos = p;
    kv_epson_w(s)->lastwidth = 0;
    return st;
}

kv_status kv_epson_esc_lx(kv_glor* s, int32_t e) {
    kv_status st = kv_epson_esc_unsup0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, passbyte(s, &n));
    if (n == 0 || n == 1) kv_epson_w(s)->lqunits = n;
    return st;
}

constexpr kv_action escacts[] = {
    // No parameter; passed on without tracking.
    {'#', kv_epson_esc_unsup0}, {'&', kv_epson_esc_unsup0}, {'4', kv_epson_esc_unsup0},
    {'5', kv_epson_esc_unsup0}, {'8', kv_epson_esc_unsup0}, {'9', kv_epson_esc_unsup0},
    {'<', kv_epson_esc_unsup0}, {'=', kv_epson_esc_unsup0}, {'>', kv_epson_esc_unsup0},
    {'B', kv_epson_esc_unsup0}, {'E', kv_epson_esc_unsup0}, {'F', kv_epson_esc_unsup0},
    {'G', kv_epson_esc_unsup0}, {'H', kv_epson_esc_unsup0}, {'O', kv_epson_esc_unsup0},
    {'T', kv_epson_esc_unsup0},
    // One parameter byte; passed on without tracking.
    {'%', kv_epson_esc_unsup1}, {'-', kv_epson_esc_unsup1}, {'/', kv_epson_esc_unsup1},
    {':', kv_epson_esc_unsup1}, {'N', kv_epson_esc_unsup1}, {'Q', kv_epson_esc_unsup1},
    {'R', kv_epson_esc_unsup1}, {'S', kv_epson_esc_unsup1}, {'U', kv_epson_esc_unsup1},
    {'V', kv_epson_esc_unsup1}, {'l', kv_epson_esc_unsup1}, {'p', kv_epson_esc_unsup1},
    {'s', kv_epson_esc_unsup1},
    // Tracked.
    {14, kv_epson_esc__so},       // ESC SO: double width
    {15, kv_epson_esc__si},       // ESC SI: condensed
    {' ', kv_epson_esc_space},    // ESC SP n: extra character space
    {'!', kv_epson_esc_exclam},   // ESC ! n: master select
    {'$', kv_epson_esc_dollar},   // ESC $ nL nH: absolute position
    {'*', kv_epson_esc_passn},    // ESC * m nL nH: bit image
    {'K', kv_epson_esc_passn},    // ESC K: single-density bit image
    {'L', kv_epson_esc_passn},    // ESC L: double-density bit image
    {'Y', kv_epson_esc_passn},    // ESC Y: high-speed double density
    {'Z', kv_epson_esc_passn},    // ESC Z: quadruple density
    {'0', kv_epson_esc_0},        // ESC 0: 1/8-inch spacing
    {'2', kv_epson_esc_2},        // ESC 2: 1/6-inch spacing
    {'3', kv_esc_spacing3},       // ESC 3 n: n/180 (n/216) inch spacing
    {'?', kv_epson_esc_quest},    // ESC ? c m: reassign bit-image mode
    {'@', kv_epson_esc_at},       // ESC @: initialise
    {'A', kv_epson_esc_ua},       // ESC A n: n/60 (n/72) inch spacing
    {'b', kv_epson_esc_lb},       // ESC b c list: vertical tab channel
    {'C', kv_esc_pagelength},     // ESC C n / ESC C 0 m: page length
    {'D', kv_epson_esc_ud},       // ESC D list: horizontal tabs
    {'J', kv_epson_esc_uj},       // ESC J n: advance paper
    {'M', kv_epson_esc_um},       // ESC M: elite
    {'P', kv_epson_esc_up},       // ESC P: pica
    {'W', kv_epson_esc_uw},       // ESC W n: double width
    {'\\', kv_epson_esc_bslash},  // ESC \ nL nH: relative position
    {'x', kv_epson_esc_lx},       // ESC x n: letter quality
    {0, nullptr},
};
static_assert(std::size(escacts) == 55, "54 escape sequences and the end pair");

constexpr auto kCtrlIndex = kv_indexactions<128>(ctrlacts);
constexpr auto kEscIndex = kv_indexactions<128>(escacts);

kv_status kv_epson__esc(kv_glor* s, int32_t) { return kv_escdispatch(s, kEscIndex, kv_esc_pass0); }
} // namespace

kv_status kv_epson_initinfo(kv_glor* s) {
    kv_epson_work* w = kv_drvwork_init<kv_epson_work>(s);
    const int32_t hdpi = 120;
    const int32_t vdpi = kv_epson_is24pin(s) ? 60 : 72;
    // Ten characters and six lines to the inch, eleven-inch pages.
    kv_initgeometry(s, hdpi, vdpi, hdpi / 10, vdpi / 6, 11 * vdpi, vdpi / 6);
    w->gmode_l = 1;
    w->gmode_y = 2;
    w->gmode_z = 3;
    setdefaulttabs(s);
    return KV_SUCCESS;
}

kv_status kv_epson_initprn(kv_glor* s) {
    kv_status st = kv_epson_initinfo(s);
    if (kv_failed(st)) return st;
    int32_t lines = s->linespace > 0 ? s->pagelen / s->linespace : 0;
    if (lines > 255) lines = 255;
    const int32_t init[] = {ESC, '@', ESC, 'A', s->linespace, ESC, 'C', lines, '\r'};
    return kv_sendbytes(s, init, std::size(init));
}

// Bytes that only print a character cell: 32..127 and 160..255.
constexpr auto kPrintable = kv_bytetable([](int32_t c) { return (c & 127) >= 32; });

namespace {
// n more printed cells, as n calls of advance(s, s->pitch) would move the head.
void advancerun(kv_glor* s, size_t n) {
    kv_epson_w(s)->lastwidth = s->pitch;
    if (s->hpos >= kMaxPos) return;
    const int64_t pitch = s->pitch;
    int64_t hpos = s->hpos + static_cast<int64_t>(std::min<size_t>(n, kMaxPos)) * pitch;
    // The head stops after the first cell that reaches kMaxPos.
    if (hpos > kMaxPos && pitch > 0)
        hpos = s->hpos + (kMaxPos - s->hpos + pitch - 1) / pitch * pitch;
    s->hpos = static_cast<int32_t>(std::max<int64_t>(hpos, INT32_MIN));
}

constexpr kv_plainrun kRun = {kPrintable.data(), advancerun, nullptr};
} // namespace

kv_status kv_epson_qoutc(kv_glor* s, int32_t c) {
    const kv_action_fn h = kCtrlIndex[static_cast<size_t>(c & 127)];
    if (h != nullptr) return h(s, c);
    kv_status st = send(s, c);
    if (!kPrintable[c & 255]) return st;
    advancerun(s, 1);
    if (kv_ok(st)) st = kv_sendplainrun(s, kRun);
    return st;
}
