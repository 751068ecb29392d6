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
constexpr int32_t GFBITS = 6;
constexpr int32_t GFSIZE = 1 << GFBITS;
constexpr int32_t GFPOLY = 0x43;
// The primary message: 10 data and 10 check codewords.
constexpr int32_t PRIMARY = 10;
// The secondary message, in two interleaved halves: 42 data and 20 check
// codewords each, or 34 and 28 with enhanced error correction (mode 5).
constexpr int32_t SECDATA = 42;
constexpr int32_t SECCHECK = 20;
constexpr int32_t SECDATA_EEC = 34;
constexpr int32_t SECCHECK_EEC = 28;

// The primary check codewords follow the primary data; the secondary data
// from 2 * PRIMARY on are two interleaved halves, their check codewords
// interleaved after them. False when a data codeword is not an element of
// GF(64).
bool checkwords(uint8_t* cw, int32_t mode) {
    const bool eec = mode == 5;
    const int32_t secdata = 2 * (eec ? SECDATA_EEC : SECDATA);
    uint32_t any = 0;
    for (int32_t k = 0; k < PRIMARY; ++k) any |= cw[k];
    for (int32_t k = 0; k < secdata; ++k) any |= cw[2 * PRIMARY + k];
    if (any >= GFSIZE) return false;
    galois_rsblocksfixed<GFBITS, GFPOLY, PRIMARY>(cw, PRIMARY, 1);
    if (eec)
        galois_rsblocksfixed<GFBITS, GFPOLY, SECCHECK_EEC>(cw + 2 * PRIMARY, secdata, 2);
    else
        galois_rsblocksfixed<GFBITS, GFPOLY, SECCHECK>(cw + 2 * PRIMARY, secdata, 2);
    return true;
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
    // A valid record has rows of 4 bytes, one row word each, built in a
    // register.
    static_assert(4 * MAXICODE_ROWS == MAXICODE_GRIDBYTES);
    for (int32_t y = 0; y < MAXICODE_ROWS; ++y) {
        uint32_t row = maxicode_fixedrows[static_cast<size_t>(y)];
        for (int32_t i = maxicode_piecerows[static_cast<size_t>(y)];
             i < maxicode_piecerows[static_cast<size_t>(y) + 1]; ++i) {
            const maxicode_piece& p = maxicode_pieces[static_cast<size_t>(i)];
            row |= (static_cast<uint32_t>(codewords[p.codeword]) >> p.shift & p.mask)
                   << (p.at % 32u);
        }
        for (int32_t b = 0; b < 4; ++b) sym->grid[4 * y + b] = static_cast<uint8_t>(row >> (8 * b));
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
