// The byte emulation of the HP LaserJet+ driver. Text and controls pass on
// unchanged; carriage returns and line feeds may be thinned out; a form feed
// may become a printer reset; and every escape sequence is stepped over byte
// by byte, so that its data block (raster rows, fonts, transparent data)
// reaches the printer unexamined and exactly as the job holds it.
#include <array>
#include <cstdint>
#include <iterator>
#include <limits>

#include "core/driver/printops.hpp"
#include "drivers/common/pageprinter.hpp"
#include "drivers/hplaser/hplaser_internal.hpp"

namespace {
constexpr int32_t ESC = 27;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
// Any value above this is no byte count; the value field saturates here.
constexpr int32_t kValueCap = 100000;

constexpr auto send = kv_send;

int32_t bump(int32_t n) {
    return n < kMax ? n + 1 : n;
}

bool digit(int32_t b) {
    return b >= '0' && b <= '9';
}

// Commands followed by a block of binary data whose length is the value:
// {parameterised character, group character, parameter letter}.
struct datacommand {
    int32_t p;
    int32_t g;
    int32_t letter;
};
constexpr datacommand datacommands[] = {
    {'*', 'b', 'W'}, // ESC * b # W: transfer raster data
    {'(', 's', 'W'}, // ESC ( s # W: download character
    {')', 's', 'W'}, // ESC ) s # W: create font header
    {'&', 'p', 'X'}, // ESC & p # X: transparent print data
    {0, 0, 0},
};
static_assert(std::size(datacommands) == 5, "four data-carrying commands and the end entry");

bool carriesdata(int32_t p, int32_t g, int32_t letter) {
    for (const datacommand* d = datacommands; d->p != 0; ++d)
        if (d->p == p && d->g == g && d->letter == letter) return true;
    return false;
}

// A value field ends here: the byte is the parameter's letter.
void endparameter(kv_hplaser_work* w, int32_t b) {
    const bool more = b >= 'a' && b <= 'z';
    const int32_t letter = more ? b - 'a' + 'A' : b;
    // A value of 16 or more digits, or above 9999, is no byte count.
    if (w->escdigits < 16 && w->escvalue <= 9999 && carriesdata(w->escp, w->escg, letter) &&
        w->escvalue > 0) {
        w->escdata = w->escvalue;
        w->escmore = more ? 1 : 0;
        w->escstate = KV_HPESC_DATA;
        return;
    }
    if (more) {
        w->escvalue = 0;
        w->escdigits = 0;
        w->escstate = KV_HPESC_SIGN;
        return;
    }
    // The sequence is complete; an ESC that completed it opens the next one.
    w->escstate = b == ESC ? KV_HPESC_START : KV_HPESC_NONE;
}

// Control handlers: LF, FF and CR may be held, replaced or dropped; ESC
// starts the stepper.
kv_status kv_hplaser__ff(kv_glor* s, int32_t c) {
    kv_status st = s->resetff == 1 ? kv_lprintqstr(s, kv_hplaser_resetqstr) : send(s, c);
    kv_pp_newpage(s);
    return st;
}

kv_status kv_hplaser__esc(kv_glor* s, int32_t c) {
    kv_status st = kv_hplaser_sendheld(s);
    jerr_uperr(&st, send(s, c));
    kv_hplaser_work* w = kv_hplaser_w(s);
    w->escstate = KV_HPESC_START;
    jerr_uperr(&st, kv_hplaser_stepesc(s));
    return st;
}

constexpr kv_action ctrlacts[] = {
    {10, kv_pp_lineend},   // LF: held while holding is on
    {12, kv_hplaser__ff},  // FF: or a printer reset; held line feeds dropped
    {13, kv_pp_lineend},   // CR: only the first of a row while squeezing
    {27, kv_hplaser__esc}, // ESC: step over the sequence
    {0, nullptr},
};
static_assert(std::size(ctrlacts) == 5, "four controls and the end pair");

constexpr auto kCtrlIndex = kv_indexactions<256>(ctrlacts);

// Bytes that are only sent on: everything but the four controls above.
constexpr auto kPlain = kv_bytetable([](int32_t c) { return !kv_hasaction(ctrlacts, c); });
// No position is tracked; a line feed or carriage return held back must go
// out before the next line's text. A CR or LF goes where ctrlacts sends it.
constexpr kv_plainrun kRun = {kPlain.data(), nullptr, kv_pp_idle, kv_pp_lineend};
} // namespace

void kv_hplaser_escfeed(kv_hplaser_work* w, int32_t b) {
    switch (w->escstate) {
    case KV_HPESC_START:
        w->escp = b;
        if (b >= 33 && b <= 47) {
            w->escstate = KV_HPESC_GROUP;
        } else {
            // A two-character sequence; an ESC as its second byte opens the next.
            w->escstate = b == ESC ? KV_HPESC_START : KV_HPESC_NONE;
        }
        break;
    case KV_HPESC_GROUP:
        w->escg = b;
        w->escvalue = 0;
        w->escdigits = 0;
        w->escstate = KV_HPESC_SIGN;
        break;
    case KV_HPESC_SIGN:
        if (b == '+' || b == '-') {
            w->escstate = KV_HPESC_DIGITS;
            break;
        }
        [[fallthrough]];
    case KV_HPESC_DIGITS:
        if (digit(b)) {
            if (w->escvalue < kValueCap) w->escvalue = w->escvalue * 10 + (b - '0');
            w->escdigits = bump(w->escdigits);
            w->escstate = KV_HPESC_DIGITS;
        } else if (b == '.') {
            w->escstate = KV_HPESC_FRACTION;
        } else {
            endparameter(w, b);
        }
        break;
    case KV_HPESC_FRACTION:
        if (!digit(b)) endparameter(w, b);
        break;
    case KV_HPESC_DATA:
        // Data bytes are never looked at: not even a last byte of ESC opens a
        // sequence.
        if (--w->escdata <= 0) {
            if (w->escmore) {
                w->escvalue = 0;
                w->escdigits = 0;
                w->escstate = KV_HPESC_SIGN;
            } else {
                w->escstate = KV_HPESC_NONE;
            }
        }
        break;
    default:
        w->escstate = KV_HPESC_NONE;
        break;
    }
}

kv_status kv_hplaser_lgetnprintc(kv_glor* s, int32_t* c) {
    return kv_passbyte(s, c);
}

kv_status kv_hplaser_stepesc(kv_glor* s) {
    kv_hplaser_work* w = kv_hplaser_w(s);
    kv_status st = KV_SUCCESS;
    w->stepping = 1;
    while (w->escstate != KV_HPESC_NONE && kv_ok(st) && !kv_breakall(s)) {
        int32_t b = 0;
        // A data block's bytes reach the printer exactly as the job holds them.
        st = w->escstate == KV_HPESC_DATA ? kv_passrawbyte(s, &b) : kv_hplaser_lgetnprintc(s, &b);
        if (kv_breakall(s)) break;
        kv_hplaser_escfeed(w, b);
    }
    w->stepping = 0;
    return st;
}

kv_status kv_hplaser_sendheld(kv_glor* s) {
    return kv_pp_release(s, kv_send);
}

kv_status kv_hplaser_initinfo(kv_glor* s) {
    kv_drvwork_init<kv_hplaser_work>(s);
    // The printer keeps its own cursor: no position is tracked, and the page
    // length counts lines.
    kv_initgeometry(s, 300, 300, 1, 1, 66, 1);
    return KV_SUCCESS;
}

kv_status kv_hplaser_lgetc(kv_glor* s, int32_t* c) {
    *c = 32;
    if (kv_breakall(s)) return KV_SUCCESS;
    kv_status st = KV_SUCCESS;
    kv_hplaser_work* w = kv_hplaser_w(s);
    // A sequence cut off by the end of an earlier run of input is finished
    // first: none of its bytes may reach the delimiter tests.
    if (w->escstate != KV_HPESC_NONE && !w->stepping) {
        st = kv_hplaser_stepesc(s);
        if (kv_breakall(s)) return st;
    }
    jerr_uperr(&st, kv_lgetc_or(s, c, 32));
    return st;
}

kv_status kv_hplaser_initprn(kv_glor* s) {
    kv_status st = kv_hplaser_initinfo(s);
    if (kv_ok(st) && s->resetstart == 1) st = kv_lprintqstr(s, kv_hplaser_resetqstr);
    return st;
}

kv_status kv_hplaser_specialcmd(kv_glor* s, char* text) {
    if (text == nullptr || text[0] != 'R') return KV_SUCCESS;
    // R and digits; anything but digits after the R means 0.
    int32_t value = 0;
    for (const char* p = text + 1; *p != '\0'; ++p) {
        if (!digit(*p)) {
            value = 0;
            break;
        }
        // Saturating, so that no number of digits wraps round to 0.
        value = value > (kMax - 9) / 10 ? kMax : value * 10 + (*p - '0');
    }
    kv_hplaser_w(s)->rulemode = value;
    return KV_SUCCESS;
}

kv_status kv_hplaser_qoutc(kv_glor* s, int32_t c) {
    c &= 0xFF;
    const kv_action_fn h = kCtrlIndex[static_cast<size_t>(c)];
    if (h != nullptr) return h(s, c);
    kv_status st = kv_hplaser_sendheld(s);
    jerr_uperr(&st, send(s, c));
    // Nothing is held any more: the text that follows goes on in runs.
    if (kv_ok(st)) st = kv_sendplainrun(s, kRun);
    return st;
}
