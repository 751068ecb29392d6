#include "drivers/common/dec_parser.hpp"

#include <cstring>

#include "core/driver/printops.hpp"
#include "drivers/common/kit.hpp"

namespace {
constexpr int32_t ESC = 27;
constexpr int32_t CAN = 24;
constexpr int32_t SUB = 26;

kv_status send(kv_glor* s, int32_t c) {
    return kv_send(s, c);
}

void emptyseq(kv_decparser* p) {
    p->seqlen = 0;
    p->overflowed = 0;
    p->seqbuf[0] = 0;
}

// The byte that ends a sequence: ESC Fe/Fp/Fs take "0" .. "~" after any
// intermediates (ECMA-35); CSI and DCS end at "@" .. "~" (ECMA-48 5.4).
bool isfinal(int32_t state, int32_t b) {
    return state == KV_DEC_ESC ? b >= 0x30 : b >= 0x40;
}

// The introducer that went before seqbuf: none after ESC itself.
int32_t introducer(int32_t state) {
    switch (state) {
    case KV_DEC_CSI:
        return '[';
    case KV_DEC_DCS:
        return 'P';
    default:
        return 0;
    }
}

// A complete escape sequence (seqbuf: intermediates and the final byte).
kv_status escape(kv_glor* s, kv_decparser* p, const kv_dechooks& h, int32_t final) {
    const bool single = p->seqlen == 1;
    if (single) {
        switch (final) {
        case 'P': // DCS: device control string introducer
            p->seqstate = KV_DEC_DCS;
            emptyseq(p);
            return KV_SUCCESS;
        case '[': // CSI: control sequence introducer
            p->seqstate = KV_DEC_CSI;
            emptyseq(p);
            return KV_SUCCESS;
        case ']': // OSC: operating system command
        case '^': // PM: privacy message
        case '_': // APC: application program command
            p->seqstate = KV_DEC_STRING;
            p->passstring = h.passcontrolstrings ? 1 : 0;
            break;
        default:
            break;
        }
    }
    kv_status st = kv_dec_sendseq(s, p, 0);
    emptyseq(p);
    // RIS: reset to initial state. Sent first; the reset then clears the
    // tracking, the parser included.
    if (single && final == 'c' && h.reset != nullptr) jerr_uperr(&st, h.reset(s));
    return st;
}

// A complete control sequence.
kv_status control_sequence(kv_glor* s, kv_decparser* p, const kv_dechooks& h, int32_t final) {
    bool consumed = false;
    kv_status st = h.csi != nullptr ? h.csi(s, p, final, &consumed) : KV_SUCCESS;
    if (!consumed) jerr_uperr(&st, kv_dec_sendseq(s, p, '['));
    // DECSTR: soft terminal reset.
    if (final == 'p' && kv_dec_seqis(p, "!p") && h.reset != nullptr) jerr_uperr(&st, h.reset(s));
    emptyseq(p);
    return st;
}

// The final byte of a device control string's introducer.
kv_status device_control(kv_glor* s, kv_decparser* p, const kv_dechooks& h, int32_t final) {
    // DECSIXEL: DCS P1 ; P2 ; P3 q starts sixel graphics.
    if (final == 'q' && !p->overflowed && h.sixelstart != nullptr) return h.sixelstart(s, p);
    // Any other string (a soft-font load, say), or an introducer too long to
    // track: the printer has it, so what follows is its content and is sent.
    kv_status st = p->overflowed ? KV_SUCCESS : kv_dec_sendseq(s, p, 'P');
    p->seqstate = KV_DEC_STRING;
    p->passstring = 1;
    emptyseq(p);
    return st;
}

// A byte of an escape sequence, a control sequence or a device control
// string's introducer.
kv_status collect(kv_glor* s, kv_decparser* p, const kv_dechooks& h, int32_t b) {
    const int32_t state = p->seqstate;
    kv_status st = KV_SUCCESS;
    if (p->overflowed) {
        // Already sent as collected: the rest passes on untracked.
        st = send(s, b);
    } else if (!kv_dec_append(p, b) || p->seqlen > KV_DEC_SEQMAX) {
        p->overflowed = 1;
        st = kv_dec_sendseq(s, p, introducer(state));
    }
    if (!isfinal(state, b)) return st;
    switch (state) {
    case KV_DEC_ESC:
        p->seqstate = KV_DEC_TEXT;
        if (!p->overflowed) return jerr_uperr(&st, escape(s, p, h, b));
        emptyseq(p);
        return st;
    case KV_DEC_CSI:
        p->seqstate = KV_DEC_TEXT;
        if (!p->overflowed) return jerr_uperr(&st, control_sequence(s, p, h, b));
        emptyseq(p);
        return st;
    default:
        return jerr_uperr(&st, device_control(s, p, h, b));
    }
}

// C0 controls act in every state, as on the printer.
kv_status control(kv_glor* s, kv_decparser* p, const kv_dechooks& h, int32_t c) {
    if (c == ESC) {
        // ESC ends whatever string is open and starts a sequence; the string
        // terminator ESC \ (ST) closes on the printer what may still be open.
        p->seqstate = KV_DEC_ESC;
        p->passstring = 0;
        emptyseq(p);
        kv_status st = send(s, ESC);
        return jerr_uperr(&st, send(s, '\\'));
    }
    kv_status st = h.control != nullptr ? h.control(s, c) : send(s, c);
    // CAN cancels any sequence or string; SUB does too, except inside sixel
    // data, where the printer takes it for a blank sixel.
    if (c == CAN || (c == SUB && p->seqstate != KV_DEC_SIXEL)) {
        p->seqstate = KV_DEC_TEXT;
        emptyseq(p);
    }
    return st;
}
} // namespace

void kv_dec_init(kv_decparser* p) {
    p->seqstate = KV_DEC_TEXT;
    p->passstring = 0;
    emptyseq(p);
}

bool kv_dec_append(kv_decparser* p, int32_t b) {
    if (p->seqlen >= KV_DEC_SEQMAX + 1) return false;
    p->seqbuf[p->seqlen++] = static_cast<uint8_t>(b);
    p->seqbuf[p->seqlen] = 0;
    return true;
}

kv_status kv_dec_feed(kv_glor* s, kv_decparser* p, const kv_dechooks& h, int32_t c) {
    c &= 0xFF;
    if ((c & 0x60) == 0) return control(s, p, h, c);
    // DEL, and 0xFF, are never sent.
    if ((c & 0x7F) == 0x7F) return KV_SUCCESS;
    switch (p->seqstate) {
    case KV_DEC_TEXT:
        return h.text != nullptr ? h.text(s, c) : send(s, c);
    case KV_DEC_SIXEL:
        return h.sixel != nullptr ? h.sixel(s, c) : send(s, c);
    case KV_DEC_STRING:
        return p->passstring ? send(s, c & 0x7F) : KV_SUCCESS;
    default:
        return collect(s, p, h, c & 0x7F);
    }
}

kv_status kv_dec_qoutc(kv_glor* s, kv_decparser* p, const kv_dechooks& h, int32_t c) {
    auto take = [&](int32_t b) {
        return h.front != nullptr ? h.front(s, b) : kv_dec_feed(s, p, h, b);
    };
    kv_status st = take(c);
    while (p->seqstate != KV_DEC_TEXT && !kv_breakall(s)) {
        int32_t b = 0;
        jerr_uperr(&st, s->lgetc(s, &b));
        if (kv_breakall(s)) break;
        jerr_uperr(&st, take(b));
    }
    if (p->seqstate == KV_DEC_TEXT) return st;
    // The input ended inside a sequence: what was read of it still goes to
    // the printer. String and sixel bytes went on as they came.
    const int32_t state = p->seqstate;
    if (state != KV_DEC_STRING && state != KV_DEC_SIXEL && !p->overflowed)
        jerr_uperr(&st, kv_dec_sendseq(s, p, introducer(state)));
    kv_dec_init(p);
    return st;
}

bool kv_dec_param(const kv_decparser* p, int32_t* value) {
    const int32_t n = p->seqlen - 1; // parameter bytes before the final byte
    *value = 0;
    if (n < 0 || n > 4) return false;
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t b = p->seqbuf[i];
        if (b < '0' || b > '9') return false;
        *value = *value * 10 + (b - '0');
    }
    return true;
}

bool kv_dec_seqis(const kv_decparser* p, const char* text) {
    const size_t n = std::strlen(text);
    return static_cast<size_t>(p->seqlen) == n && std::memcmp(p->seqbuf, text, n) == 0;
}

kv_status kv_dec_sendseq(kv_glor* s, const kv_decparser* p, int32_t intro) {
    kv_status st = send(s, ESC);
    if (intro != 0) jerr_uperr(&st, send(s, intro));
    return jerr_uperr(&st, kv_lprintbytes(s, p->seqbuf, p->seqlen));
}

kv_status kv_dec_lgetc(kv_glor* s, int32_t* c) {
    kv_status st = kv_lgetc_or(s, c, ' ');
    if (kv_breakall(s)) return st;
    // An 8-bit C1 control stands for ESC and its 7-bit form (ECMA-48 5.3):
    // 0x9B is CSI, ESC [; 0x90 is DCS, ESC P; 0x9C is ST, ESC \.
    // When the push-back stack is full the byte stays as it is, so that
    // nothing is lost.
    if (*c >= 0x80 && *c <= 0x9F && s->ungetcount < 32) {
        jerr_uperr(&st, kv_pungetc(s, (*c & 0x7F) | 0x40));
        *c = ESC;
    }
    return st;
}
