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

namespace {
// Block b holds the data codewords b, b + B, b + 2B, ... and its check
// codewords go to data + b, data + b + B, ...; `remainder` divides one block.
template <class Divide>
void blockchecks(uint8_t* codewords, int32_t ndata, int32_t nblocks, int32_t ncheck,
                 const Divide& remainder) {
    for (int32_t b = 0; b < nblocks; ++b) {
        uint8_t reg[68];
        remainder(codewords + b, (ndata - b + nblocks - 1) / nblocks, reg);
        for (int32_t k = 0; k < ncheck; ++k) codewords[ndata + b + k * nblocks] = reg[k];
    }
}

// Long data share one table of the feedback products between the blocks.
bool tabledchecks(uint8_t* codewords, int32_t ndata, int32_t nblocks, const uint16_t* glog,
                  int32_t ncheck) {
    galois_rsproducts products;
    if (!galois_rsproductsfill(&products, gf.log, gf.alog, gf.size, glog, ncheck)) return false;
    blockchecks(codewords, ndata, nblocks, ncheck,
                [&](const uint8_t* data, int32_t count, uint8_t* reg) {
                    galois_rsremainder8(products, data, count, nblocks, reg);
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
        if (tabledchecks(codewords, ndata, nblocks, glog, ncheck)) return;
    }
    const uint8_t* rows[68]; // row k: every multiple of coefficient k
    for (int32_t k = 0; k < ncheck; ++k)
        rows[k] = galois_multab<8, datamtx_gfpoly>.row[coef[k]].data();
    blockchecks(codewords, ndata, nblocks, ncheck,
                [&](const uint8_t* data, int32_t count, uint8_t* reg) {
                    galois_rsremainderrows(rows, ncheck, data, count, nblocks, reg);
                });
}
