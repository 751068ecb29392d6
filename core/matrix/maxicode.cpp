// The symbol record, check codewords and the module grid.
#include "core/matrix/maxicode.hpp"

#include <cstring>

#include "core/matrix/galois.hpp"
#include "core/matrix/modbitmap.hpp"

namespace {
int fail(maxicode_sym* sym, int32_t error) {
    sym->error = error;
    return 0;
}

// Check codewords: GF(64) reduced by x^6 + x + 1.
constexpr int32_t GFSIZE = 64;
constexpr int32_t GFPOLY = 0x43;
// The primary message: 10 data and 10 check codewords.
constexpr int32_t PRIMARY = 10;
// The secondary message, in two interleaved halves: 42 data and 20 check
// codewords each, or 34 and 28 with enhanced error correction (mode 5).
constexpr int32_t SECDATA = 42;
constexpr int32_t SECCHECK = 20;
constexpr int32_t SECDATA_EEC = 34;
constexpr int32_t SECCHECK_EEC = 28;

bool checkwords(uint8_t* cw, int32_t mode) {
    galois_ctx gf;
    galois_open(&gf);
    const bool eec = mode == 5;
    const int32_t secdata = eec ? SECDATA_EEC : SECDATA;
    const int32_t seccheck = eec ? SECCHECK_EEC : SECCHECK;
    const bool ok = galois_calclogluts(&gf, GFSIZE, GFPOLY) && galois_calccoefs(&gf, PRIMARY) &&
                    galois_rscalc8(&gf, cw, PRIMARY, PRIMARY, 1) &&
                    galois_calccoefs(&gf, seccheck) &&
                    galois_rscalc8(&gf, cw + 2 * PRIMARY, secdata, seccheck, 2);
    galois_close(&gf);
    return ok;
}

// The grid as a module bitmap; empty when the record's row stride does not
// fit the grid's bytes.
modbitmap gridbitmap(const maxicode_sym* sym) {
    if (sym->stride <= 0 || sym->stride * MAXICODE_ROWS > MAXICODE_GRIDBYTES ||
        sym->stride * 8 < MAXICODE_COLUMNS)
        return {};
    return {const_cast<uint8_t*>(sym->grid), MAXICODE_COLUMNS, MAXICODE_ROWS, sym->stride};
}
} // namespace

int maxicode_open(maxicode_sym* sym) {
    if (sym == nullptr) return 0;
    sym->error = MAXICODE_ENONE;
    sym->callback = nullptr;
    sym->context = nullptr;
    sym->paint = maxicode_paintdsc300;
    sym->stride = 4;
    sym->gridsize = MAXICODE_GRIDBYTES;
    std::memset(sym->grid, 0, sizeof sym->grid);
    return 1;
}

int maxicode_close(maxicode_sym* sym) {
    return sym != nullptr ? 1 : 0;
}

int maxicode_setcallback(maxicode_sym* sym, kv_plotfn callback, void* context) {
    if (sym == nullptr) return 0;
    sym->callback = callback;
    sym->context = context;
    return 1;
}

int maxicode_hexmapgen(maxicode_sym* sym, int32_t position, int32_t total, int32_t mode,
                       const char* postal, int32_t country, int32_t service, const char* secondary,
                       int32_t length) {
    if (sym == nullptr) return 0;
    if (secondary == nullptr && length != 0) return fail(sym, MAXICODE_EINVALID);
    if (mode < 2 || mode > 6 || total < 1 || position < 1 || position > total)
        return fail(sym, MAXICODE_EINVALID);

    uint8_t cw[MAXICODE_CWBUFFER] = {};
    if (maxicode_encode(cw, position, total, mode, service, postal, country, secondary, length) < 0)
        return fail(sym, MAXICODE_EDATA);
    // Make room for the primary check codewords: primary data 0-9, primary
    // check 10-19, secondary data from 20, secondary check after them.
    const int32_t area = mode == 5 ? MAXICODE_DATAWORDS_EEC : MAXICODE_DATAWORDS;
    maxicode_safemove(cw + 2 * PRIMARY, cw + PRIMARY, area - PRIMARY);
    std::memset(cw + PRIMARY, 0, PRIMARY);
    if (!checkwords(cw, mode)) return fail(sym, MAXICODE_EBITMAP);
    if (!maxicode_iplotwords(sym, cw)) return fail(sym, MAXICODE_EBITMAP);
    return 1;
}

int maxicode_iplotwords(maxicode_sym* sym, const uint8_t* codewords) {
    if (sym == nullptr) return 0;
    if (codewords == nullptr || gridbitmap(sym).bits == nullptr) return fail(sym, MAXICODE_EBITMAP);
    std::memset(sym->grid, 0, sizeof sym->grid);
    for (int32_t y = 0; y < MAXICODE_ROWS; ++y) {
        for (int32_t x = 0; x < MAXICODE_COLUMNS; ++x) {
            const int32_t k = maxicode_hexbits[y * MAXICODE_COLUMNS + x];
            bool dark = k == -1;
            if (k > 0) {
                const int32_t bit = k - 1;
                dark = ((codewords[bit / 6] >> (5 - bit % 6)) & 1) != 0;
            }
            if (dark) maxicode_iplotpt(sym, x, y);
        }
    }
    return 1;
}

int maxicode_igetpt(const maxicode_sym* sym, int32_t x, int32_t y) {
    if (sym == nullptr) return 0;
    return gridbitmap(sym).get(x, y);
}

int maxicode_iplotpt(maxicode_sym* sym, int32_t x, int32_t y) {
    if (sym == nullptr) return 0;
    const modbitmap m = gridbitmap(sym);
    if (!m.inside(x, y)) return 0;
    m.set(x, y);
    return 1;
}

void maxicode_safemove(uint8_t* dst, const uint8_t* src, int32_t count) {
    if (dst == nullptr || src == nullptr || count <= 0) return;
    std::memmove(dst, src, static_cast<size_t>(count));
}

int maxicode_imagegube(const maxicode_sym* sym, std::FILE* out) {
    if (sym == nullptr || out == nullptr) return 0;
    for (int32_t y = 0; y < MAXICODE_ROWS; ++y) {
        std::fputs((y & 1) != 0 ? "   " : "  ", out);
        for (int32_t x = 0; x < MAXICODE_COLUMNS; ++x)
            std::fputs(maxicode_igetpt(sym, x, y) ? "* " : "  ", out);
        std::fputc('\n', out);
    }
    return 1;
}
