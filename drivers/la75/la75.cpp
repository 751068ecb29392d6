// The byte emulation of the LA75 driver: every byte goes through the DEC
// sequence parser; the driver follows text, controls and the control
// sequences that move the head or the paper or change pitch, spacing and
// page length, and interleaves the pending fields with the application's own
// sixel graphics.
#include <algorithm>
#include <cstdint>

#include "core/driver/printops.hpp"
#include "core/fields/fieldqueue.hpp"
#include "drivers/common/band.hpp"
#include "drivers/common/dec_parser.hpp"
#include "drivers/la75/la75.hpp"

namespace {
// Far beyond any line; keeps the column count (and the spaces sent to reach
// it) bounded on endless lines.
constexpr int32_t kMaxCol = 1 << 16;

kv_status send(kv_glor* s, int32_t c) {
    return s->lprintc(s, c);
}

bool insixel(kv_glor* s) {
    return kv_la75_w(s)->parser.seqstate == KV_DEC_SIXEL;
}

int32_t pending(kv_glor* s) {
    int32_t most = 0;
    kv_maxleft(s, &most);
    return most;
}

void setcol(kv_glor* s, int64_t col) {
    s->hpos = static_cast<int32_t>(std::clamp<int64_t>(col, 0, kMaxCol));
}

// n more printed cells.
void advancerun(kv_glor* s, size_t n) {
    setcol(s, int64_t{s->hpos} + static_cast<int64_t>(std::min<size_t>(n, kMaxCol)));
}

kv_status kv_la75_ctrlc(kv_glor* s, int32_t c);

// In plain text the parser hands a CR or LF straight to kv_la75_ctrlc.
constexpr kv_plainrun kRun = {kv_dec_plain.data(), advancerun, nullptr, kv_la75_ctrlc};

// A printable byte of text moves the head one cell, and so does each byte of
// the plain text that follows it in runs.
kv_status kv_la75_displayc(kv_glor* s, int32_t c) {
    kv_status st = send(s, c);
    advancerun(s, 1);
    if (kv_ok(st)) st = kv_sendplainrun(s, kRun);
    return st;
}

kv_status kv_la75_lf(kv_glor* s) {
    // Inside sixel data the printer ignores it.
    if (insixel(s)) return send(s, '\n');
    return kv_bandlinefeed(s, kv_la75_bandops);
}

kv_status kv_la75_ff(kv_glor* s) {
    if (insixel(s)) return KV_SUCCESS; // ignored by the printer: not sent
    if (s->pagelen <= 0) return kv_la75_lf(s);
    return kv_bandformfeed(s, kv_la75_bandops);
}

// C0 controls. Inside sixel data the printer ignores them, so they move
// nothing there.
kv_status kv_la75_ctrlc(kv_glor* s, int32_t c) {
    if (c == '\n') return kv_la75_lf(s);
    if (c == '\f') return kv_la75_ff(s);
    kv_status st = send(s, c);
    if (insixel(s)) return st;
    switch (c) {
    case 8:
        setcol(s, int64_t{s->hpos} - 1);
        break; // BS
    case 9:
        setcol(s, (s->hpos / 8 + 1) * 8);
        break; // HT: every 8 columns
    case '\r':
        s->hpos = 0;
        break; // CR
    default:
        break;
    }
    return st;
}

// A vertical move to `target` dots from the top of the page. Above the
// position, the printer goes on to that line of the next page.
kv_status vertical(kv_glor* s, int64_t target, bool* consumed) {
    int64_t distance = target - s->vpos;
    if (distance < 0) distance += s->pagelen > 0 ? s->pagelen : 0;
    kv_status st = KV_SUCCESS;
    if (distance > 0 && pending(s) > 0) {
        int32_t n = static_cast<int32_t>(std::min<int64_t>(distance, INT32_MAX));
        st = kv_la75_plotnscroll(s, &n);
        *consumed = true;
    }
    if (s->pagelen > 0) target %= s->pagelen;
    s->vpos = static_cast<int32_t>(std::max<int64_t>(target, 0));
    return st;
}

kv_status kv_la75_csiuses(kv_glor* s, kv_decparser* p, int32_t final, bool* consumed) {
    int32_t a = 0;
    if (!kv_dec_param(p, &a)) return KV_SUCCESS;
    // HPA, HPR, VPA and VPR take 0, or no parameter, as 1 (ECMA-48).
    const int32_t n = a > 0 ? a : 1;
    switch (final) {
    case '`':
        setcol(s, n - 1);
        return KV_SUCCESS; // HPA
    case 'a':
        setcol(s, int64_t{s->hpos} + n);
        return KV_SUCCESS; // HPR
    case 'd':
        return vertical(s, int64_t{n - 1} * s->linespace, consumed); // VPA
    case 'e':
        return vertical(s, s->vpos + int64_t{n} * s->linespace, consumed); // VPR
    case 't': // DECSLPP: lines per page
        s->pagelen = static_cast<int32_t>(std::min<int64_t>(int64_t{a} * s->linespace, 1512));
        s->vpos = 0;
        return KV_SUCCESS;
    case 'w': { // DECSHORP: the head stays where it is; the column count follows
        if (a > 14 || kv_la75_cpitable[a] <= 0) return KV_SUCCESS;
        const int32_t old = s->pitch;
        if (old >= 0 && old <= 14 && kv_la75_cpitable[old] > 0)
            setcol(s, int64_t{s->hpos} * kv_la75_cpitable[a] / kv_la75_cpitable[old]);
        s->pitch = a;
        s->savedpitch = a;
        return KV_SUCCESS;
    }
    case 'z': // DECVERP
        if (a <= 6) s->linespace = s->savedspacing = kv_la75_dpltable[a];
        return KV_SUCCESS;
    default:
        return KV_SUCCESS;
    }
}

// DECSIXEL: the introducer is taken with its raster attributes (DECGRA), so
// that it can be sent again whenever the driver interrupts the string.
kv_status kv_la75_grafuses(kv_glor* s, kv_decparser* p) {
    kv_status st = KV_SUCCESS;
    int32_t c = 0;
    jerr_uperr(&st, s->lgetc(s, &c));
    if (!kv_breakall(s)) {
        if (c == '"') {
            while (p->seqlen <= KV_DEC_SEQMAX && kv_dec_append(p, c) && !kv_breakall(s)) {
                jerr_uperr(&st, s->lgetc(s, &c));
                if (kv_breakall(s)) break;
                if (!((c >= '0' && c <= '9') || c == ';' || c == '#')) break;
            }
        }
        if (!kv_breakall(s)) jerr_uperr(&st, kv_pungetc(s, c));
    }
    jerr_uperr(&st, kv_dec_sendseq(s, p, 'P'));
    if (p->seqlen <= KV_DEC_SEQMAX) {
        p->seqstate = KV_DEC_SIXEL;
    } else {
        // Too long to send again: the rest passes as it comes.
        p->seqstate = KV_DEC_STRING;
        p->passstring = 1;
    }
    return st;
}

// The application's sixel data. A graphics new line with fields pending
// becomes a band: the string is ended, the band printed over the same six
// dot rows while the paper advances them, and the string resumed.
kv_status kv_la75_grafusec(kv_glor* s, int32_t c) {
    const int32_t b = c & 0x7F;
    if (b == '-' && pending(s) > 0) {
        kv_status st = send(s, 27);
        jerr_uperr(&st, send(s, '\\'));
        int32_t n = 6;
        jerr_uperr(&st, kv_la75_plotnscroll(s, &n));
        return jerr_uperr(&st, kv_dec_sendseq(s, &kv_la75_w(s)->parser, 'P'));
    }
    if (b == '-') s->vpos += 6;
    return send(s, b);
}

// ESC c and CSI ! p in the job: the printer is back at its own defaults,
// which the next job starts from as well.
kv_status kv_la75_reset(kv_glor* s) {
    s->savedpitch = 0;
    s->savedspacing = 0;
    return kv_la75_initinfo(s);
}

const kv_dechooks kHooks = {
    kv_la75_displayc, kv_la75_ctrlc, kv_la75_csiuses, kv_la75_grafuses,
    kv_la75_grafusec, kv_la75_reset, false, // OSC, PM, APC text is absorbed
};
} // namespace

kv_status kv_la75_initinfo(kv_glor* s) {
    kv_la75_work* w = kv_drvwork_init<kv_la75_work>(s);
    kv_dec_init(&w->parser);
    s->autolf = 0;
    const bool keep = s->resetstart == 0;
    s->pitch = keep && s->savedpitch > 0 && s->savedpitch <= 14 ? s->savedpitch : 0;
    s->linespace = keep && s->savedspacing > 0 ? s->savedspacing : 12;
    int32_t lines = 792 / s->linespace;
    if (s->config[KV_CONFIG_PAGELINES] > 0) lines = s->config[KV_CONFIG_PAGELINES];
    if (lines < 1 || lines > 999) lines = 66;
    s->pagelen = lines * s->linespace;
    s->hdpi = 72;
    s->vdpi = 72;
    s->hpos = 0;
    s->hdots = 0;
    s->vpos = 0;
    return KV_SUCCESS;
}

kv_status kv_la75_lgetc(kv_glor* s, int32_t* c) {
    return kv_dec_lgetc(s, c);
}

// Every byte read reaches the printer, also after the end of the input.
kv_status kv_la75_lprintc(kv_glor* s, int32_t c) {
    return kv_pprintc(s, c);
}

kv_status kv_la75_initprn(kv_glor* s) {
    kv_status st = kv_la75_initinfo(s);
    if (kv_ok(st) && s->resetstart == 1) st = kv_lprintqstr(s, kv_la75_strqstr);
    return st;
}

kv_status kv_la75_specialcmd(kv_glor*, char*) {
    return KV_SUCCESS;
}

kv_status kv_la75_qoutc(kv_glor* s, int32_t c) {
    return kv_dec_qoutc(s, &kv_la75_w(s)->parser, kHooks, c);
}
