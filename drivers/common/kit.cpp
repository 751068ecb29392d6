#include "drivers/common/kit.hpp"

#include "core/driver/printops.hpp"

namespace {
constexpr int32_t ESC = 27;
} // namespace

kv_status kv_sendbytes(kv_glor* s, const int32_t* bytes, size_t n) {
    kv_status st = KV_SUCCESS;
    for (size_t i = 0; i < n && kv_ok(st); ++i) st = kv_send(s, bytes[i]);
    return st;
}

kv_status kv_passbyte(kv_glor* s, int32_t* c) {
    kv_status st = kv_readbyte(s, c);
    if (kv_ok(st) && !kv_breakall(s)) st = kv_send(s, *c);
    return st;
}

kv_status kv_readrawbyte(kv_glor* s, int32_t* c) {
    *c = 0;
    if (kv_breakall(s)) return KV_SUCCESS;
    return kv_prawgetc(s, c);
}

kv_status kv_passrawbyte(kv_glor* s, int32_t* c) {
    kv_status st = kv_readrawbyte(s, c);
    if (kv_ok(st) && !kv_breakall(s)) st = kv_send(s, *c);
    return st;
}

kv_status kv_passw(kv_glor* s, int32_t* value) {
    int32_t lo = 0, hi = 0;
    kv_status st = kv_passrawbyte(s, &lo);
    if (kv_ok(st)) st = kv_passrawbyte(s, &hi);
    *value = static_cast<int16_t>(static_cast<uint16_t>((lo & 0xFF) | ((hi & 0xFF) << 8)));
    return st;
}

kv_status kv_passn(kv_glor* s, int32_t n) {
    kv_status st = KV_SUCCESS;
    for (int32_t i = 0; i < n && kv_ok(st) && !kv_breakall(s); ++i) {
        int32_t b = 0;
        st = kv_passrawbyte(s, &b);
    }
    return st;
}

kv_status kv_passascending(kv_glor* s, int32_t most, int32_t* list, int32_t* count) {
    kv_status st = KV_SUCCESS;
    *count = 0;
    int32_t previous = -1;
    while (!kv_breakall(s) && *count < most && kv_ok(st)) {
        int32_t b = 0;
        st = kv_passrawbyte(s, &b);
        if (b <= previous) break;
        previous = b;
        list[(*count)++] = b;
    }
    return st;
}

kv_status kv_esc_pass0(kv_glor* s, int32_t e) {
    kv_status st = kv_send(s, ESC);
    return jerr_uperr(&st, kv_send(s, e));
}

kv_status kv_esc_pass1(kv_glor* s, int32_t e) {
    kv_status st = kv_esc_pass0(s, e);
    int32_t n = 0;
    return jerr_uperr(&st, kv_passrawbyte(s, &n));
}

kv_status kv_escdispatch(kv_glor* s, const kv_actionindex<128>& index, kv_action_fn unknown) {
    int32_t e = 0;
    kv_status st = kv_readbyte(s, &e);
    if (kv_breakall(s)) return jerr_uperr(&st, kv_send(s, ESC)); // ESC was the last byte
    const kv_action_fn h = index[static_cast<size_t>(e & 127)];
    return jerr_uperr(&st, h != nullptr ? h(s, e) : unknown(s, e));
}

kv_status kv_esc_pagelength(kv_glor* s, int32_t e) {
    kv_status st = kv_esc_pass0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, kv_passrawbyte(s, &n));
    if (n > 0) {
        s->pagelen = n * s->linespace;
        s->vpos = 0;
    } else {
        int32_t m = 0;
        jerr_uperr(&st, kv_passrawbyte(s, &m));
        if (m != 0) {
            s->pagelen = m * s->vdpi;
            s->vpos = 0;
        }
    }
    return st;
}

kv_status kv_esc_spacing3(kv_glor* s, int32_t e) {
    kv_status st = kv_esc_pass0(s, e);
    int32_t n = 0;
    jerr_uperr(&st, kv_passrawbyte(s, &n));
    if (n > 0) s->linespace = n / 3;
    return st;
}

kv_status kv_headto(kv_glor* s, int32_t p, kv_status (*startgline)(kv_glor* s, int32_t n),
                    int32_t colbytes) {
    kv_status st = kv_send(s, '\r');
    int32_t rest = p < 0 ? 0 : p;
    if (s->pitch > 0) {
        while (rest >= s->pitch && kv_ok(st)) {
            st = kv_send(s, ' ');
            rest -= s->pitch;
        }
    }
    jerr_uperr(&st, startgline(s, rest));
    for (int64_t i = 0; i < int64_t{rest} * colbytes && kv_ok(st); ++i) st = kv_send(s, 0);
    s->hpos = p;
    return st;
}

void kv_initgeometry(kv_glor* s, int32_t hdpi, int32_t vdpi, int32_t pitch, int32_t linespace,
                     int32_t pagelen, int32_t lineunit) {
    s->hdpi = hdpi;
    s->vdpi = vdpi;
    s->pitch = pitch;
    s->linespace = linespace;
    const int32_t lines = s->config[KV_CONFIG_PAGELINES];
    s->pagelen = lines >= 1 && lines <= 999 ? lines * lineunit : pagelen;
    s->hpos = 0;
    s->hdots = 0;
    s->vpos = 0;
    s->autolf = 0;
}

kv_status kv_lgetc_or(kv_glor* s, int32_t* c, int32_t idle) {
    *c = idle;
    if (kv_breakall(s)) return KV_SUCCESS;
    return kv_pgetc(s, c);
}

kv_status kv_std_lgetc(kv_glor* s, int32_t* c) {
    return kv_lgetc_or(s, c, 0);
}

kv_status kv_std_lprintc(kv_glor* s, int32_t c) {
    return kv_pprintc(s, c);
}

kv_status kv_sendrun(kv_glor* s, const uint8_t* bytes, size_t n) {
    if (s->lprintc == kv_std_lprintc) return kv_pprintrun(s, bytes, n);
    kv_status st = KV_SUCCESS;
    for (size_t i = 0; i < n && kv_ok(st); ++i) st = kv_send(s, bytes[i]);
    return st;
}

kv_status kv_std_specialcmd(kv_glor*, char*) {
    return KV_SUCCESS;
}

kv_status kv_sendplainrun(kv_glor* s, const kv_plainrun& r) {
    const kv_qoutc_fn lineend = r.lineend != nullptr ? r.lineend : s->qoutc;
    kv_status st = KV_SUCCESS;
    for (;;) {
        const uint8_t* run = nullptr;
        const size_t n = kv_ptakeplain(s, r.plain, &run);
        if (n > 0 && r.hold != nullptr) {
            r.hold(s, run, n);
        } else if (n > 0) {
            st = kv_sendrun(s, run, n);
            if (r.advance != nullptr) r.advance(s, n);
            if (kv_failed(st)) return st;
        }
        if (!kv_ptakecr(s)) return st;
        st = lineend(s, '\r');
        if (kv_failed(st) || kv_breakall(s)) {
            // The byte loop goes on from here: the LF is its next byte.
            kv_pkeeplf(s);
            return st;
        }
        kv_ptakelf(s);
        st = lineend(s, '\n');
        if (kv_failed(st) || kv_breakall(s)) return st;
        if (r.linefree != nullptr && !r.linefree(s)) return st;
    }
}
