// ECC200 error correction: Reed-Solomon over GF(256) in interleaved blocks.
#include <cstring>

#include "core/matrix/datamatrix_internal.hpp"

uint8_t datamtx_GFmul(uint8_t a, uint8_t b) {
    return datamtx_gf256multab[a][b];
}

uint8_t datamtx_GFdiv(uint8_t a, uint8_t b) {
    if (a == 0 || b == 0) return 0;
    int32_t e = datamtx_gf256loglut[a] - datamtx_gf256loglut[b];
    if (e < 0) e += 255;
    return datamtx_gf256pwrlut[e];
}

const uint8_t* datamtx200_polylutn(int32_t n) {
    for (const datamtx200_poly& p : datamtx200_polytab) {
        if (p.n == n) return p.coef;
    }
    return nullptr;
}

int32_t datamtx200_checkcolumn(const datamtx200_symdef* entry, int32_t block) {
    // Only 144x144 has blocks of unequal data length (eight of 156, two of
    // 155). Its check codewords are laid out as the generators and readers in
    // use expect, which differs from the standard's text: the short blocks'
    // checks come first in each round, so block b's go to column (b + 2) mod
    // 10. A reader cannot tell the two apart, so only this one is readable by
    // most scanners. Every other size keeps its blocks in order.
    const int32_t shortblocks = (entry->blocks - entry->data % entry->blocks) % entry->blocks;
    return (block + shortblocks) % entry->blocks;
}

namespace {
// One division step: the registers move down by one codeword and take the
// feedback's products with the generator coefficients.
inline void shiftxor(uint8_t* reg, const uint8_t* products, int32_t n) {
    int32_t k = 0;
    for (; k + 8 <= n - 1; k += 8) {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, reg + k + 1, 8);
        std::memcpy(&b, products + k, 8);
        a ^= b;
        std::memcpy(reg + k, &a, 8);
    }
    for (; k < n - 1; ++k) reg[k] = reg[k + 1] ^ products[k];
    reg[n - 1] = products[n - 1];
}

// Above this many data codewords the products of every feedback value are
// computed once for all blocks.
constexpr int32_t productsthreshold = 200;
} // namespace

void datamtx200_calcchecks(uint8_t* codewords, const datamtx200_symdef* entry) {
    if (codewords == nullptr || entry == nullptr || entry->blocks <= 0) return;
    const int32_t nblocks = entry->blocks;
    const int32_t ncheck = entry->blockcheck;
    const int32_t ndata = entry->data;
    const uint8_t* coef = datamtx200_polylutn(ncheck);
    if (coef == nullptr) return;

    // Block b holds the data codewords b, b + B, b + 2B, ... and its check
    // codewords go to data + column(b), data + column(b) + B, ...
    const auto column = [&](int32_t b) { return datamtx200_checkcolumn(entry, b); };
    if (ndata > productsthreshold) {
        static_assert(sizeof(datamtx200_poly::coef) == 68);
        uint8_t products[256][68];
        for (int32_t f = 0; f < 256; ++f)
            for (int32_t k = 0; k < ncheck; ++k) products[f][k] = datamtx_gf256multab[f][coef[k]];
        for (int32_t b = 0; b < nblocks; ++b) {
            uint8_t reg[68] = {};
            for (int32_t i = b; i < ndata; i += nblocks)
                shiftxor(reg, products[codewords[i] ^ reg[0]], ncheck);
            for (int32_t k = 0; k < ncheck; ++k)
                codewords[ndata + column(b) + k * nblocks] = reg[k];
        }
        return;
    }

    const uint8_t* multiples[68]; // row k: every multiple of coefficient k
    for (int32_t k = 0; k < ncheck; ++k) multiples[k] = datamtx_gf256multab[coef[k]].data();
    for (int32_t b = 0; b < nblocks; ++b) {
        uint8_t reg[68] = {};
        for (int32_t i = b; i < ndata; i += nblocks) {
            const uint8_t feedback = codewords[i] ^ reg[0];
            for (int32_t k = 0; k < ncheck - 1; ++k) reg[k] = reg[k + 1] ^ multiples[k][feedback];
            reg[ncheck - 1] = multiples[ncheck - 1][feedback];
        }
        for (int32_t k = 0; k < ncheck; ++k) codewords[ndata + column(b) + k * nblocks] = reg[k];
    }
}
