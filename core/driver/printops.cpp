#include "core/driver/printops.hpp"

#include "core/driver/qstrops.hpp"
#include "core/driver/xbase.hpp"

namespace {
// A byte from the byte layer through `get`, or -1 and `stop` once it has stopped.
kv_status xin(void* arg, int32_t* c, int (*get)()) {
    if (!xbase_breakall()) {
        *c = get() & 0xFF;
        if (!xbase_breakall()) return KV_SUCCESS;
    }
    auto* s = static_cast<kv_glor*>(arg);
    if (s != nullptr) s->stop = 1;
    *c = -1;
    return KV_SUCCESS;
}

kv_status xinraw(void* arg, int32_t* c) {
    return xin(arg, c, xbase_getraw);
}

kv_status pgetfrom(kv_glor* s, int32_t* c, kv_iofn source) {
    kv_status st = KV_SUCCESS;
    if (s->ungetcount != 0) {
        --s->ungetcount;
        *c = s->ungetbuf[s->ungetcount];
    } else {
        jerr_uperr(&st, source(s->xinarg, c));
        if (*c == -1) {
            s->stop = 1;
            *c = 0;
        }
    }
    if (kv_failed(st)) {
        jerr_uperr(&s->status, st);
        s->stop = 1;
    }
    *c &= 0xFF;
    if (*c == '\n') ++s->lineno;
    return st;
}
} // namespace

kv_status kv_xinfunc(void* arg, int32_t* c) {
    return xin(arg, c, xbase_getctoxlate);
}

kv_status kv_xoutfunc(void* arg, int32_t* c) {
    auto* s = static_cast<kv_glor*>(arg);
    if (!xbase_outfailed()) xbase_putxlatedc(*c & 0xFF);
    if (xbase_breakall() && s != nullptr) s->stop = 1;
    return KV_SUCCESS;
}

kv_status kv_pgetc(kv_glor* s, int32_t* c) {
    return pgetfrom(s, c, s->xinfunc);
}

kv_status kv_prawgetc(kv_glor* s, int32_t* c) {
    return pgetfrom(s, c, s->xinfunc == kv_xinfunc ? xinraw : s->xinfunc);
}

kv_status kv_pungetc(kv_glor* s, int32_t c) {
    if (kv_breakall(s) || s->ungetcount > 31) return KV_SUCCESS;
    s->ungetbuf[s->ungetcount++] = static_cast<uint8_t>(c);
    if ((c & 0xFF) == '\n') --s->lineno;
    return KV_SUCCESS;
}

kv_status kv_pprintc(kv_glor* s, int32_t c) {
    kv_status st = s->xoutfunc(s->xoutarg, &c);
    if (kv_failed(st)) {
        jerr_uperr(&s->status, st);
        s->stop = 1;
    }
    return st;
}

kv_status kv_lprintqstr(kv_glor* s, const char* text) {
    kv_status st = KV_SUCCESS;
    for (const char* p = text + qstr_base; *p != '\0' && kv_ok(st); ++p)
        st = s->lprintc(s, static_cast<uint8_t>(*p));
    return st;
}

kv_status kv_lprintbytes(kv_glor* s, const uint8_t* bytes, int32_t n) {
    kv_status st = KV_SUCCESS;
    for (int32_t i = 0; i < n && kv_ok(st); ++i) st = s->lprintc(s, bytes[i]);
    return st;
}

kv_status kv_lprintint(kv_glor* s, int32_t n) {
    char digits[12];
    int k = 0;
    int64_t v = n;
    if (v < 0) v = -v;
    do {
        digits[k++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    kv_status st = KV_SUCCESS;
    if (n < 0) st = s->lprintc(s, '-');
    while (k > 0 && kv_ok(st)) st = s->lprintc(s, digits[--k]);
    return st;
}

size_t kv_ptakeplain(kv_glor* s, const uint8_t plain[256], const uint8_t** run) {
    if (s->ungetcount != 0 || s->xinfunc != kv_xinfunc || kv_breakall(s)) return 0;
    const uint8_t* p = nullptr;
    const size_t avail = xbase_peekrun(&p);
    const uint8_t d0 = static_cast<uint8_t>(s->datadlm[qstr_base]);
    const uint8_t c0 = static_cast<uint8_t>(s->cmddlm[qstr_base]);
    size_t n = 0;
    while (n < avail && plain[p[n]] && p[n] != d0 && p[n] != c0) ++n;
    xbase_skiprun(n);
    *run = p;
    return n;
}

kv_status kv_pprintrun(kv_glor* s, const uint8_t* p, size_t n) {
    if (s->xoutfunc != kv_xoutfunc) {
        kv_status st = KV_SUCCESS;
        for (size_t i = 0; i < n && kv_ok(st); ++i) st = kv_pprintc(s, p[i]);
        return st;
    }
    if (!xbase_outfailed()) xbase_putrun(p, n);
    if (xbase_breakall()) s->stop = 1;
    return KV_SUCCESS;
}
