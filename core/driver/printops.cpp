#include "core/driver/printops.hpp"

#include <algorithm>
#include <bit>
#include <cstring>

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

kv_status kv_pgetc(kv_glor* s, int32_t* c) {
    // The byte layer, the usual source, called directly.
    if (s->xinfunc == kv_xinfunc) return pgetfrom(s, c, kv_xinfunc);
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
    // The byte layer, the usual sink, called directly.
    kv_status st =
        s->xoutfunc == kv_xoutfunc ? kv_xoutfunc(s->xoutarg, &c) : s->xoutfunc(s->xoutarg, &c);
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

namespace {
// Text is mostly printable ASCII. Where the driver's table takes all of it,
// eight bytes at a time are tested in one word: bytes ' ' .. `wordhi` that
// are no delimiter's first byte pass. A first byte above 'z' (the usual | and
// ~) is left out by lowering `wordhi` below it, which costs less than
// comparing every byte with it; any other is compared (`worddlm`). Only a
// byte the word test stops at is looked up in the table.
constexpr uint64_t kOnes = 0x0101010101010101u;
constexpr uint64_t kHighs = 0x8080808080808080u;
// The top bit of a byte is set where x has a zero byte (and maybe above one).
constexpr uint64_t zerobytes(uint64_t x) {
    return (x - kOnes) & ~x;
}
// The top bit of a byte is set where x has a byte outside ' ' .. hi (and maybe
// above one): x - ' ' wraps such a byte to 0x80 or more, or it is more than
// hi - ' ', which adding 0x7F - (hi - ' ') carries into the top bit.
constexpr uint64_t outside(uint64_t x, uint8_t hi) {
    const uint64_t y = x - kOnes * ' ';
    return (y + kOnes * (0x7F - (hi - ' '))) | y;
}
// Nonzero when a byte of x fails the word test; its lowest flag marks the
// first such byte. `cmd` and `data` are the first bytes repeated in a word.
template <bool Dlm> constexpr uint64_t fails(uint64_t x, uint8_t hi, uint64_t cmd, uint64_t data) {
    uint64_t f = outside(x, hi);
    if constexpr (Dlm) f |= zerobytes(x ^ cmd) | zerobytes(x ^ data);
    return f & kHighs;
}
// The lowest flag of a test: where its first failing byte is.
constexpr uint64_t lowest(uint64_t f) {
    return f & (~f + 1);
}
static_assert(fails<false>(0x7B7A21202020207Du, '~', 0, 0) == 0);
static_assert(lowest(fails<false>(0x7B7A21202020207Du, '|', 0, 0)) == 0x80u);
static_assert(lowest(fails<false>(0x2020202020201F20u, '~', 0, 0)) == 0x8000u);
static_assert(lowest(fails<false>(0x20202020E97F2020u, '~', 0, 0)) == 0x800000u);
static_assert(lowest(fails<false>(0x20202020202020FFu, '~', 0, 0)) == 0x80u);
static_assert(fails<true>(0x207D21202020247Eu, '~', kOnes * '|', kOnes * '#') == 0);
static_assert(lowest(fails<true>(0x207D21202320247Eu, '~', kOnes * '|', kOnes * '#')) ==
              0x80000000u);
static_assert(lowest(fails<true>(0x20207C2020202020u, '~', kOnes * '|', kOnes * '#')) == uint64_t{1}
                                                                                             << 47);

// The scan table for `plain` and the delimiters as they are now.
const kv_runtable& runtable(kv_glor* s, const uint8_t plain[256]) {
    kv_runtable& t = s->runtable;
    const auto cmd = static_cast<uint8_t>(s->cmddlm[qstr_base]);
    const auto data = static_cast<uint8_t>(s->datadlm[qstr_base]);
    if (t.plain == plain && t.cmd == cmd && t.data == data) return t;
    bool ascii = true;
    for (size_t c = 0; c < sizeof t.go; ++c) {
        t.go[c] = plain[c] != 0 ? 1 : 0;
        if (c >= ' ' && c <= '~' && t.go[c] == 0) ascii = false;
    }
    t.go[cmd] = 0;
    t.go[data] = 0;
    uint8_t hi = '~';
    t.worddlm = 0;
    for (const uint8_t d : {cmd, data}) {
        if (d > 'z' && d <= '~')
            hi = std::min<uint8_t>(hi, d - 1);
        else if (d >= ' ' && d <= 'z')
            t.worddlm = 1;
    }
    t.wordhi = ascii ? hi : 0;
    t.plain = plain;
    t.cmd = cmd;
    t.data = data;
    return t;
}

// Runs may be taken: the bytes come straight from the byte layer, none is
// pushed back, and no padding is being sent.
bool runsopen(const kv_glor* s) {
    return s->ungetcount == 0 && s->xinfunc == kv_xinfunc && s->padding == 0 && !kv_breakall(s);
}

// The plain bytes from p[n] on, up to avail.
template <bool Dlm> size_t scan(const kv_runtable& t, const uint8_t* p, size_t avail) {
    const uint64_t cmd = kOnes * t.cmd;
    const uint64_t data = kOnes * t.data;
    const uint8_t hi = t.wordhi;
    const size_t words = hi != 0 ? avail : 0; // bytes the word test may look at
    const uint8_t* go = t.go;
    size_t n = 0;
    for (;;) {
        // Sixteen bytes a step while all pass.
        uint64_t first = 0;
        for (uint64_t x[2]; n + sizeof x <= words; n += sizeof x) {
            std::memcpy(x, p + n, sizeof x);
            first = fails<Dlm>(x[0], hi, cmd, data);
            const uint64_t second = fails<Dlm>(x[1], hi, cmd, data);
            if ((first | second) == 0) continue;
            if (first == 0) {
                n += 8;
                first = second;
            }
            break;
        }
        // Every byte before the first one flagged is plain (flags above it
        // may be false); the table judges that one.
        if constexpr (std::endian::native == std::endian::little)
            if (first != 0) n += static_cast<size_t>(std::countr_zero(first) / 8);
        if (n == avail || go[p[n]] == 0) return n;
        ++n;
    }
}
} // namespace

size_t kv_ptakeplain(kv_glor* s, const uint8_t plain[256], const uint8_t** run) {
    if (!runsopen(s)) return 0;
    const uint8_t* p = nullptr;
    const size_t avail = xbase_peekrun(&p);
    if (avail == 0) return 0;
    const kv_runtable& t = runtable(s, plain);
    const size_t n = t.worddlm != 0 ? scan<true>(t, p, avail) : scan<false>(t, p, avail);
    xbase_skiprun(n);
    *run = p;
    return n;
}

bool kv_ptakecr(kv_glor* s) {
    const uint8_t* p = nullptr;
    if (!runsopen(s) || xbase_peekrun(&p) == 0 || *p != '\n') return false;
    // A delimiter that starts with CR or LF would be tested on the line end.
    const auto lineend = [](const char* d) { return d[qstr_base] == '\r' || d[qstr_base] == '\n'; };
    if (lineend(s->cmddlm) || lineend(s->datadlm)) return false;
    xbase_skiprun(1);
    return true;
}

void kv_ptakelf(kv_glor* s) {
    xbase_countline();
    ++s->lineno;
}

void kv_pkeeplf(kv_glor*) {
    xbase_pendlf();
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
