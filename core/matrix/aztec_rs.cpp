// The Galois fields of Aztec symbols and their Reed-Solomon check words:
// GF(16) for the mode message, GF(64), GF(256), GF(1024) and GF(4096) for the
// data, all with the roots alpha^1 .. alpha^n.
#include <cstdint>
#include <cstring>

#include "core/matrix/aztec_internal.hpp"

namespace {
// Primitive polynomials of the codeword sizes (ISO/IEC 24778).
constexpr aztec_gf fields[] = {galois_fieldof<4, 0x13>(), galois_fieldof<6, 0x43>(),
                               galois_fieldof<8, 0x12D>(), galois_fieldof<10, 0x409>(),
                               galois_fieldof<12, 0x1069>()};
static_assert(sizeof fields / sizeof fields[0] == 5);
static_assert(galois_tab<4, 0x13>.alog[4] == 0x3 && galois_tab<4, 0x13>.alog[14] == 0x9);
} // namespace

const aztec_gf* aztec_gfield(int32_t wordsize) {
    for (const aztec_gf& f : fields) {
        if (f.wordsize == wordsize) return &f;
    }
    return nullptr;
}

uint32_t aztec_gfprod(const aztec_gf* gf, uint32_t a, uint32_t b) {
    if (a >= uint32_t(gf->size) || b >= uint32_t(gf->size)) return 0;
    return galois_mul(*gf, a, b);
}

int aztec_rscalc(int32_t wordsize, uint16_t* words, int32_t ndata, int32_t ncheck) {
    const aztec_gf* gf = aztec_gfield(wordsize);
    if (gf == nullptr || ndata < 0 || ncheck < 0 || ndata + ncheck > AZTEC_MAXWORDS) return 0;
    for (int32_t d = 0; d < ndata; ++d) {
        if (words[d] >= gf->size) return 0;
    }
    if (ncheck == 0) return 1;

    uint16_t gen[AZTEC_MAXWORDS + 1];
    galois_generator(gf->log, gf->alog, gf->size, ncheck, gen);
    uint16_t glog[AZTEC_MAXWORDS];
    galois_generatorlogs(gf->log, gen, ncheck, glog);
    // The division runs on registers of its own, apart from the words and the
    // tables, so that nothing it stores can be taken for a change to them.
    uint16_t rem[AZTEC_MAXWORDS];
    galois_rsremainder(gf->log, gf->alog, glog, ncheck, words, ndata, 1, rem);
    std::memcpy(words + ndata, rem, sizeof(uint16_t) * static_cast<size_t>(ncheck));
    return 1;
}
