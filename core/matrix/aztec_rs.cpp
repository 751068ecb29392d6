// Galois-field arithmetic and the Reed-Solomon coder of Aztec symbols: GF(16)
// for the mode message, GF(64), GF(256), GF(1024) and GF(4096) for the data.
#include <array>
#include <cstdint>

#include "core/matrix/aztec_internal.hpp"

namespace {
// Log and antilog tables of GF(2^W) with primitive polynomial POLY: the
// antilogs from 1 by doubling, reduced whenever the value reaches the field
// size. The antilog table repeats once, so that a sum of two logs needs no
// reduction, and ends with a third of zeros; the log of 0 is taken as 2 x size,
// so that a product with 0 lands there and needs no test.
template <int32_t W, int32_t POLY> struct gftables {
    static constexpr int32_t size = 1 << W;
    std::array<uint16_t, size> log{};
    std::array<uint16_t, 3 * size> alog{};

    constexpr gftables() {
        int32_t v = 1;
        for (int32_t i = 0; i < size - 1; ++i) {
            alog[i] = static_cast<uint16_t>(v);
            log[v] = static_cast<uint16_t>(i);
            v <<= 1;
            if (v >= size) v ^= POLY;
        }
        for (int32_t i = size - 1; i < 2 * size; ++i) alog[i] = alog[i - (size - 1)];
        log[0] = static_cast<uint16_t>(2 * size);
    }
};

constexpr gftables<4, 0x13> gf16{};
constexpr gftables<6, 0x43> gf64{};
constexpr gftables<8, 0x12D> gf256{};
constexpr gftables<10, 0x409> gf1024{};
constexpr gftables<12, 0x1069> gf4096{};
static_assert(gf16.alog[4] == 0x3 && gf16.alog[14] == 0x9);
static_assert(gf4096.log.size() == 4096 && gf4096.alog.size() == 3 * 4096);

template <int32_t W, int32_t P> constexpr aztec_gf describe(const gftables<W, P>& t) {
    return {W, t.size, P, t.log.data(), t.alog.data()};
}

constexpr aztec_gf fields[] = {describe(gf16), describe(gf64), describe(gf256), describe(gf1024),
                               describe(gf4096)};
static_assert(sizeof fields / sizeof fields[0] == 5);

// Product of a field element (0 included) with alpha^e, 0 <= e < size - 1.
uint32_t mulalpha(const aztec_gf* gf, uint32_t a, int32_t e) {
    return gf->alog[gf->log[a] + e];
}
} // namespace

const aztec_gf* aztec_gfield(int32_t wordsize) {
    for (const aztec_gf& f : fields) {
        if (f.wordsize == wordsize) return &f;
    }
    return nullptr;
}

uint32_t aztec_gfprod(const aztec_gf* gf, uint32_t a, uint32_t b) {
    if (a == 0 || b == 0 || a >= uint32_t(gf->size) || b >= uint32_t(gf->size)) return 0;
    // The doubled antilog table stands for the reduction modulo size - 1.
    return gf->alog[gf->log[a] + gf->log[b]];
}

int aztec_rscalc(int32_t wordsize, uint16_t* words, int32_t ndata, int32_t ncheck) {
    const aztec_gf* gf = aztec_gfield(wordsize);
    if (gf == nullptr || ndata < 0 || ncheck < 0 || ndata + ncheck > AZTEC_MAXWORDS) return 0;
    for (int32_t d = 0; d < ndata; ++d) {
        if (words[d] >= gf->size) return 0;
    }
    if (ncheck == 0) return 1;

    // Generator: the product of (x - alpha^i), i = 1..ncheck; gen[j] is the
    // coefficient of x^j, the leading 1 implied.
    uint16_t gen[AZTEC_MAXWORDS + 1] = {1};
    for (int32_t i = 1; i <= ncheck; ++i) {
        const int32_t e = i % (gf->size - 1);
        for (int32_t j = i; j > 0; --j)
            gen[j] = static_cast<uint16_t>(gen[j - 1] ^ mulalpha(gf, gen[j], e));
        gen[0] = static_cast<uint16_t>(mulalpha(gf, gen[0], e));
    }
    // Logs of the coefficients below the leading 1, highest power first.
    uint16_t glog[AZTEC_MAXWORDS];
    for (int32_t j = 0; j < ncheck; ++j) glog[j] = gf->log[gen[ncheck - 1 - j]];

    // Remainder of data(x) * x^ncheck divided by the generator: rem[j] is
    // the coefficient of x^(ncheck-1-j). Each data word shifts it by one.
    uint16_t rem[AZTEC_MAXWORDS + 1] = {};
    const int32_t last = ncheck - 1;
    for (int32_t d = 0; d < ndata; ++d) {
        const uint32_t fb = words[d] ^ rem[0];
        if (fb == 0) {
            for (int32_t j = 0; j < last; ++j) rem[j] = rem[j + 1];
            rem[last] = 0;
            continue;
        }
        const uint16_t* a = gf->alog + gf->log[fb];
        for (int32_t j = 0; j < last; ++j) rem[j] = static_cast<uint16_t>(rem[j + 1] ^ a[glog[j]]);
        rem[last] = a[glog[last]];
    }
    for (int32_t j = 0; j < ncheck; ++j) words[ndata + j] = rem[j];
    return 1;
}
