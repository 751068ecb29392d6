// ECC200 error correction: Reed-Solomon over GF(256) in interleaved blocks.
#include "core/matrix/datamatrix200_internal.hpp"
#include "core/matrix/galois.hpp"

namespace {
constexpr galois_field gf = datamtx_gf256;
} // namespace

uint8_t datamtx_GFmul(uint8_t a, uint8_t b) {
    return static_cast<uint8_t>(galois_mul(gf, a, b));
}

uint8_t datamtx_GFdiv(uint8_t a, uint8_t b) {
    return static_cast<uint8_t>(galois_div(gf, a, b));
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
// Block b holds the data codewords b, b + B, b + 2B, ... and its check
// codewords go to data + column(b), data + column(b) + B, ...; `remainder`
// divides one block.
template <class Divide>
void blockchecks(uint8_t* codewords, const datamtx200_symdef* entry, const Divide& remainder) {
    const int32_t nblocks = entry->blocks;
    const int32_t ndata = entry->data;
    for (int32_t b = 0; b < nblocks; ++b) {
        uint8_t reg[68];
        remainder(codewords + b, (ndata - b + nblocks - 1) / nblocks, reg);
        const int32_t column = datamtx200_checkcolumn(entry, b);
        for (int32_t k = 0; k < entry->blockcheck; ++k)
            codewords[ndata + column + k * nblocks] = reg[k];
    }
}

// Long data share one table of the feedback products between the blocks.
bool tabledchecks(uint8_t* codewords, const datamtx200_symdef* entry, const uint16_t* glog) {
    galois_rsproducts products;
    if (!galois_rsproductsfill(&products, gf.log, gf.alog, gf.size, glog, entry->blockcheck))
        return false;
    blockchecks(codewords, entry, [&](const uint8_t* data, int32_t count, uint8_t* reg) {
        galois_rsremainder8(products, data, count, entry->blocks, reg);
    });
    return true;
}
} // namespace

void datamtx200_calcchecks(uint8_t* codewords, const datamtx200_symdef* entry) {
    if (codewords == nullptr || entry == nullptr || entry->blocks <= 0) return;
    const int32_t nblocks = entry->blocks;
    const int32_t ncheck = entry->blockcheck;
    const int32_t ndata = entry->data;
    const uint8_t* coef = datamtx200_polylutn(ncheck);
    if (coef == nullptr) return;
    static_assert(sizeof(datamtx200_poly::coef) == 68 && GALOIS_MAXTABLED >= 68);
    if (ndata > GALOIS_TABLEFROM) {
        uint16_t glog[68];
        for (int32_t k = 0; k < ncheck; ++k) glog[k] = gf.log[coef[k]];
        if (tabledchecks(codewords, entry, glog)) return;
    }
    const uint8_t* rows[68]; // row k: every multiple of coefficient k
    for (int32_t k = 0; k < ncheck; ++k)
        rows[k] = galois_multab<8, datamtx_gfpoly>.row[coef[k]].data();
    blockchecks(codewords, entry, [&](const uint8_t* data, int32_t count, uint8_t* reg) {
        galois_rsremainderrows(rows, ncheck, data, count, nblocks, reg);
    });
}
