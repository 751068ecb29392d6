// Galois fields and Reed-Solomon check symbols for every two-dimensional
// symbology: binary fields GF(2^m) (MaxiCode, Aztec, DataMatrix) with tables
// fixed at compile time or built at run time in one layout, the prime field
// of PDF417, generators and the systematic division. Each symbology keeps its
// own field polynomial, roots and generator as data and calls these.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

// ---- Binary fields GF(2^m) ------------------------------------------------
//
// Table layout: alog[i] = alpha^(i mod (q - 1)) for 0 <= i < 2q, so that the
// sum of two logs needs no reduction, followed by q zeros; log[v] for
// v = 1 .. q - 1, and log[0] = 2q, which lands a product with zero on those
// zeros. alpha is the element 2 (the polynomial x).

// Fills log[0 .. size) and alog[0 .. 3 size) for GF(size) reduced by `poly`
// (its top bit is `size`). False when alpha does not run through every
// non-zero element, i.e. the polynomial is not primitive.
template <class T> constexpr bool galois_filltables(int32_t size, int32_t poly, T* log, T* alog) {
    for (int32_t v = 0; v < size; ++v) log[v] = 0;
    int32_t e = 1;
    for (int32_t i = 0; i < size - 1; ++i) {
        // A repeated or zero power ends the cycle early: not primitive.
        if (e == 0 || (i > 0 && (e == 1 || log[e] != 0))) return false;
        alog[i] = static_cast<T>(e);
        log[e] = static_cast<T>(i);
        e <<= 1;
        if (e >= size) e ^= poly;
    }
    for (int32_t i = size - 1; i < 2 * size; ++i) alog[i] = alog[i - (size - 1)];
    for (int32_t i = 2 * size; i < 3 * size; ++i) alog[i] = 0;
    log[0] = static_cast<T>(2 * size);
    return true;
}

// The tables of one field fixed at compile time.
template <int32_t W, int32_t POLY> struct galois_tables {
    static constexpr int32_t size = 1 << W;
    std::array<uint16_t, size> log{};
    std::array<uint16_t, 3 * size> alog{};
    bool primitive = false;
    constexpr galois_tables() {
        primitive = galois_filltables(size, POLY, log.data(), alog.data());
    }
};
// One instance per field for the whole program, whichever coder asks for it.
template <int32_t W, int32_t POLY> inline constexpr galois_tables<W, POLY> galois_tab{};

// A binary field as the coders see it.
struct galois_field {
    int32_t wordsize; // m
    int32_t size;     // q = 2^m
    int32_t poly;
    const uint16_t* log;
    const uint16_t* alog;
};

template <int32_t W, int32_t POLY> constexpr galois_field galois_fieldof() {
    static_assert(W >= 2 && W <= 12, "GF(2^m) tables of 16-bit entries for m up to 12");
    static_assert(galois_tab<W, POLY>.primitive, "the field polynomial must be primitive");
    return {W, 1 << W, POLY, galois_tab<W, POLY>.log.data(), galois_tab<W, POLY>.alog.data()};
}

// Product of two elements (0 when either is 0).
template <class T>
constexpr uint32_t galois_mul(const T* log, const T* alog, uint32_t a, uint32_t b) {
    if (a == 0 || b == 0) return 0;
    return static_cast<uint32_t>(alog[log[a] + log[b]]);
}
constexpr uint32_t galois_mul(const galois_field& f, uint32_t a, uint32_t b) {
    return galois_mul(f.log, f.alog, a, b);
}
// Quotient a / b (0 when either is 0, a zero divisor included).
template <class T>
constexpr uint32_t galois_div(const T* log, const T* alog, int32_t size, uint32_t a, uint32_t b) {
    if (a == 0 || b == 0) return 0;
    return static_cast<uint32_t>(
        alog[static_cast<int32_t>(log[a]) + (size - 1) - static_cast<int32_t>(log[b])]);
}
constexpr uint32_t galois_div(const galois_field& f, uint32_t a, uint32_t b) {
    return galois_div(f.log, f.alog, f.size, a, b);
}

// Generator g(x) = (x + alpha^1)(x + alpha^2) ... (x + alpha^n), n <= q - 2:
// g[0] the constant term up to g[n] = 1.
template <class T, class C>
constexpr void galois_generator(const T* log, const T* alog, int32_t size, int32_t n, C* g) {
    g[0] = 1;
    for (int32_t i = 1; i <= n; ++i) {
        // Multiply by (x + alpha^i); the new top coefficient is the old one.
        // A zero coefficient's log lands on the zeros of alog.
        const int32_t e = i % (size - 1);
        g[i] = g[i - 1];
        for (int32_t k = i - 1; k >= 1; --k) g[k] = static_cast<C>(g[k - 1] ^ alog[log[g[k]] + e]);
        g[0] = static_cast<C>(alog[log[g[0]] + e]);
    }
}

// The form of a generator the division wants: glog[k] = log g[n - 1 - k],
// the logs of the coefficients below the leading 1, highest degree first
// (a zero coefficient gets the log of zero).
template <class T, class C>
constexpr void galois_generatorlogs(const T* log, const C* g, int32_t n, T* glog) {
    for (int32_t k = 0; k < n; ++k) glog[k] = log[g[n - 1 - k]];
}

// Systematic Reed-Solomon: the remainder of data(x) x^n divided by the
// generator, the first data symbol the highest-order term. Data: `count`
// symbols `stride` apart, each an element of the field. rem[0 .. n) receives
// the check symbols, highest-order first. rem may not overlap the data, and
// is best kept in storage of its own (a local array): stores through a
// pointer that might alias the tables keep the compiler from holding them.
template <class T, class Sym>
void galois_rsremainder(const T* log, const T* alog, const T* glog, int32_t n, const Sym* data,
                        int32_t count, int32_t stride, Sym* rem) {
    for (int32_t k = 0; k < n; ++k) rem[k] = 0;
    if (n <= 0) return;
    const int32_t last = n - 1;
    for (int32_t d = 0; d < count; ++d) {
        const uint32_t fb = static_cast<uint32_t>(data[static_cast<size_t>(d) * stride] ^ rem[0]);
        if (fb == 0) {
            for (int32_t k = 0; k < last; ++k) rem[k] = rem[k + 1];
            rem[last] = 0;
            continue;
        }
        // alog + log fb: the feedback's products with every coefficient.
        const T* a = alog + log[fb];
        for (int32_t k = 0; k < last; ++k) rem[k] = static_cast<Sym>(rem[k + 1] ^ a[glog[k]]);
        rem[last] = static_cast<Sym>(a[glog[last]]);
    }
}

// Short byte data: a full product table of a field of at most 256 elements,
// fixed at compile time (row a holds a b for every b), and the division with
// the generator given as the table's rows of its coefficients,
// rows[k] = row of g[n - 1 - k]: one load a product.
template <int32_t W, int32_t POLY> struct galois_multable {
    static constexpr int32_t size = 1 << W;
    std::array<std::array<uint8_t, size>, size> row{};
    constexpr galois_multable() {
        constexpr galois_field f = galois_fieldof<W, POLY>();
        for (int32_t a = 1; a < size; ++a)
            for (int32_t b = 1; b < size; ++b)
                row[a][b] = static_cast<uint8_t>(f.alog[f.log[a] + f.log[b]]);
    }
};
template <int32_t W, int32_t POLY> inline constexpr galois_multable<W, POLY> galois_multab{};

template <class Sym>
void galois_rsremainderrows(const uint8_t* const* rows, int32_t n, const Sym* data, int32_t count,
                            int32_t stride, Sym* rem) {
    for (int32_t k = 0; k < n; ++k) rem[k] = 0;
    if (n <= 0) return;
    for (int32_t d = 0; d < count; ++d) {
        const uint32_t fb = static_cast<uint32_t>(data[static_cast<size_t>(d) * stride] ^ rem[0]);
        for (int32_t k = 0; k < n - 1; ++k) rem[k] = static_cast<Sym>(rem[k + 1] ^ rows[k][fb]);
        rem[n - 1] = static_cast<Sym>(rows[n - 1][fb]);
    }
}

// Short byte data with a generator fixed at compile time. The n registers of
// the division are held in 64-bit words, register k in bits 8 (k % 8) up of
// word k / 8, so that moving them all down by one is a shift of a few words
// kept in machine registers. Row f holds f times each of the generator's
// coefficients below its leading 1, highest degree first, in that layout:
// what one division step adds for feedback f. The generator is
// (x + alpha^1) ... (x + alpha^n), as galois_generator builds it.
template <int32_t W, int32_t POLY, int32_t N> struct galois_rsproductrows {
    static constexpr int32_t size = 1 << W;
    static constexpr int32_t words = (N + 7) / 8;
    static_assert(W <= 8 && N >= 1 && N <= size - 2, "byte symbols, at most q - 2 checks");
    std::array<std::array<uint64_t, words>, size> row{};
    constexpr galois_rsproductrows() {
        constexpr galois_field f = galois_fieldof<W, POLY>();
        std::array<int32_t, N + 1> g{};
        galois_generator(f.log, f.alog, f.size, N, g.data());
        for (int32_t a = 1; a < size; ++a)
            for (int32_t k = 0; k < N; ++k)
                row[a][k / 8] |= uint64_t{galois_mul(f, static_cast<uint32_t>(a),
                                                     static_cast<uint32_t>(g[N - 1 - k]))}
                                 << (8 * (k % 8));
    }
};
template <int32_t W, int32_t POLY, int32_t N>
inline constexpr galois_rsproductrows<W, POLY, N> galois_rsrows{};

// galois_rsremainder through those rows. The feedback is masked to the
// field: symbols outside it give wrong checks (the caller screens them) but
// never a read outside the rows.
template <int32_t W, int32_t POLY, int32_t N>
void galois_rsremainderfixed(const galois_rsproductrows<W, POLY, N>& t, const uint8_t* data,
                             int32_t count, int32_t stride, uint8_t* rem) {
    constexpr int32_t words = galois_rsproductrows<W, POLY, N>::words;
    constexpr uint64_t mask = galois_rsproductrows<W, POLY, N>::size - 1;
    uint64_t r[words] = {};
    for (int32_t d = 0; d < count; ++d) {
        const uint64_t fb = (data[static_cast<size_t>(d) * stride] ^ r[0]) & mask;
        for (int32_t j = 0; j + 1 < words; ++j) r[j] = (r[j] >> 8) | (r[j + 1] << 56);
        r[words - 1] >>= 8;
        for (int32_t j = 0; j < words; ++j) r[j] ^= t.row[fb][j];
    }
    for (int32_t k = 0; k < N; ++k) rem[k] = static_cast<uint8_t>(r[k / 8] >> (8 * (k % 8)));
}

// galois_rsblocks with a generator fixed at compile time: the check symbols
// of `blocks` interleaved blocks of buf[0 .. ndata); block b's check symbol k
// goes to buf[ndata + b + k * blocks].
template <int32_t W, int32_t POLY, int32_t N>
void galois_rsblocksfixed(uint8_t* buf, int32_t ndata, int32_t blocks) {
    for (int32_t b = 0; b < blocks; ++b) {
        const int32_t count = b < ndata ? (ndata - b + blocks - 1) / blocks : 0;
        uint8_t rem[N];
        galois_rsremainderfixed(galois_rsrows<W, POLY, N>, buf + b, count, blocks, rem);
        for (int32_t k = 0; k < N; ++k) buf[ndata + b + k * blocks] = rem[k];
    }
}

// Long byte data: the products of every feedback value with the generator's
// coefficients, computed once for a field of at most 256 elements and shared
// by the blocks of a symbol; the division then moves eight registers at a time.
inline constexpr int32_t GALOIS_MAXTABLED = 128;
struct galois_rsproducts {
    int32_t n = 0;
    // Row f, n bytes from products + f n: f times the coefficient of glog[k].
    uint8_t products[256 * GALOIS_MAXTABLED];
    const uint8_t* row(uint32_t f) const { return products + f * static_cast<uint32_t>(n); }
};
// False when the field or the generator is too large for the table.
template <class T>
bool galois_rsproductsfill(galois_rsproducts* t, const T* log, const T* alog, int32_t size,
                           const T* glog, int32_t n);
// galois_rsremainder through the table.
void galois_rsremainder8(const galois_rsproducts& t, const uint8_t* data, int32_t count,
                         int32_t stride, uint8_t* rem);
// Above this many data symbols the table pays for itself.
inline constexpr int32_t GALOIS_TABLEFROM = 200;

// Check symbols of `blocks` interleaved blocks of byte symbols in a field of
// `size` <= 256 elements: block b is buf[b], buf[b + blocks], ... below
// buf[ndata]; its check symbol k goes to buf[ndata + b + k * blocks].
// n <= 254.
template <class T>
void galois_rsblocks(const T* log, const T* alog, int32_t size, const T* glog, int32_t n,
                     uint8_t* buf, int32_t ndata, int32_t blocks);

// ---- The prime field of PDF417 ---------------------------------------------
//
// Integers modulo a prime p; the generator has the roots r^1 .. r^n.

// g(x) = (x - r^1)(x - r^2) ... (x - r^n) modulo p: g[0] the constant term up
// to g[n] = 1.
template <class C> constexpr void galois_primegenerator(uint32_t p, uint32_t r, int32_t n, C* g) {
    g[0] = 1;
    uint32_t root = 1;
    for (int32_t i = 1; i <= n; ++i) {
        root = root * r % p;
        g[i] = g[i - 1];
        for (int32_t j = i - 1; j >= 1; --j)
            g[j] = static_cast<C>((g[j - 1] + p - root * g[j] % p) % p);
        g[0] = static_cast<C>((p - root * g[0] % p) % p);
    }
}

// Check symbols modulo P of data[0 .. count), whose symbols may be any
// non-negative value (reduced here): the remainder of data(x) x^n divided by
// the monic generator with the coefficients g[0 .. n) below its leading 1,
// negated as the code requires, highest-order first into check[0 .. n).
// P is a template argument so that every reduction is a multiplication.
inline constexpr int32_t GALOIS_PRIMEMAXCHECK = 1024;
inline constexpr int32_t GALOIS_PRIMEMAXSPAN = 2048; // count + n
template <uint32_t P>
bool galois_primeremainder(const uint16_t* g, int32_t n, const int32_t* data, int32_t count,
                           int32_t* check) {
    // The registers are kept unreduced: a register only ever holds the sum of
    // at most n products below P^2, which stays below 2^32, so reduction is
    // needed only for the feedback term and at the end. The register window
    // slides down a buffer instead of shifting.
    static_assert(uint64_t{GALOIS_PRIMEMAXCHECK} * (P - 1) * (P - 1) < (uint64_t{1} << 32));
    if (g == nullptr || data == nullptr || check == nullptr || n <= 0 || n > GALOIS_PRIMEMAXCHECK ||
        count < 0 || count + n > GALOIS_PRIMEMAXSPAN)
        return false;
    uint32_t neg[GALOIS_PRIMEMAXCHECK]; // P - g[j]: the division subtracts
    for (int32_t j = 0; j < n; ++j) neg[j] = (P - g[j]) % P;

    uint32_t buf[GALOIS_PRIMEMAXSPAN];
    for (int32_t i = 0; i < count + n; ++i) buf[i] = 0;
    int32_t at = count; // registers e[0..n) are buf[at .. at + n)
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t t = (static_cast<uint32_t>(data[i]) % P + buf[at + n - 1]) % P;
        --at;
        uint32_t* e = buf + at;
        for (int32_t j = 0; j < n; ++j) e[j] += t * neg[j];
    }
    for (int32_t j = 0; j < n; ++j) {
        const uint32_t e = buf[at + n - 1 - j] % P;
        check[j] = static_cast<int32_t>((P - e) % P);
    }
    return true;
}

// ---- A field built at run time ---------------------------------------------
//
// The same coder over any GF(2^m) up to 2^16 elements, with its tables and
// generator kept in one caller-owned context so that a field or a generator
// is built only once.
struct galois_ctx {
    int32_t error = 0;                // 0 none; 1 out of memory; 2 invalid parameter or state
    int32_t size = 0;                 // number of field elements q = 2^m
    int32_t poly = 0;                 // reducing polynomial including its top bit
    std::unique_ptr<int32_t[]> log;   // log[v] for v = 1 .. q-1 (layout above)
    std::unique_ptr<int32_t[]> alog;  // alog[i] = alpha^i for i = 0 .. q-2 (layout above)
    int32_t degree = 0;               // check symbols the generator is for (0 = none)
    std::unique_ptr<int32_t[]> coefs; // g[0] (constant term) .. g[degree] = 1
};

// Every operation returns 1 for success and 0 for failure (also for a null
// context); on failure `error` says why and the context stays valid for
// galois_close.
int galois_open(galois_ctx* ctx);
int galois_close(galois_ctx* ctx);
// Builds the tables of GF(size) reduced by `poly`; the same field again costs
// nothing and keeps the generator.
int galois_calclogluts(galois_ctx* ctx, int32_t size, int32_t poly);
int galois_freelogluts(galois_ctx* ctx);
// Builds g(x) = (x + alpha^1)(x + alpha^2) ... (x + alpha^n).
int galois_calccoefs(galois_ctx* ctx, int32_t n);
int galois_freecoefs(galois_ctx* ctx);
// Field product and quotient; 0 when either operand is 0 (a zero divisor
// included) or when the tables are missing.
int32_t galois_GFmul(const galois_ctx* ctx, int32_t a, int32_t b);
int32_t galois_GFdiv(const galois_ctx* ctx, int32_t a, int32_t b);
// Appends check_count check symbols (the degree of the generator last built)
// to each of `interleave` blocks of data_count symbols. Block j is the bytes
// at j, j + interleave, ...; its check symbol k goes to
// data_count * interleave + j + k * interleave, highest-order term first.
int galois_rscalc8(galois_ctx* ctx, uint8_t* buffer, int32_t data_count, int32_t check_count,
                   int32_t interleave);
