// ECC200 symbols: the size table lookups and the construction of a symbol
// from data (encodation, size choice, check codewords, placement).
#include "core/matrix/datamatrix200.hpp"

#include <bit>
#include <cstring>

#include "core/matrix/datamatrix200_internal.hpp"

const datamtx200_symdef* datamtx200_symdefbysize(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return &datamtx200_symdeftab[0];
    for (const datamtx200_symdef* e = datamtx200_symdeftab; e->width != -1; ++e) {
        if (e->width == width && e->height == height) return e;
    }
    return nullptr;
}

const datamtx200_symdef* datamtx200_symdefrect0() {
    for (const datamtx200_symdef* e = datamtx200_symdeftab; e->width != -1; ++e) {
        if (e->width != e->height) return e;
    }
    return nullptr;
}

const datamtx200_symdef* datamtx200_symdeffit(int32_t count, int32_t minsize) {
    for (const datamtx200_symdef* e = datamtx200_symdeftab; e->width == e->height && e->width != -1;
         ++e) {
        if (e->width < minsize) continue;
        if (e->data >= count) return e;
    }
    return nullptr;
}

int32_t datamtx200_imagecalc(datamtx_symbol* sym, const uint8_t* data, int32_t length) {
    if (sym == nullptr) return 0;
    sym->error = DATAMTX_ERR_NONE;
    if (data == nullptr && length != 0) {
        sym->error = DATAMTX_ERR_PARAM;
        return 0;
    }
    if (length < 0) length = static_cast<int32_t>(std::strlen(reinterpret_cast<const char*>(data)));
    const uint32_t headers = static_cast<uint32_t>(sym->options) &
                             (DATAMTX_OPT_READERPROG | DATAMTX_OPT_MACRO05 | DATAMTX_OPT_MACRO06);
    // Module sizes are bounded so that every dot position of the painted
    // symbol fits 32 bits.
    constexpr int32_t maxmodule = 1 << 20;
    if (sym->reqsize < 0 || sym->reqsize > 144 || std::popcount(headers) > 1 || sym->modwidth < 1 ||
        sym->modheight < 1 || sym->modwidth > maxmodule || sym->modheight > maxmodule) {
        sym->error = DATAMTX_ERR_PARAM;
        return 0;
    }

    uint8_t codewords[datamtx200_bufsize];
    const int32_t count =
        datamtx200_encode(codewords, data, length, static_cast<int32_t>(headers), sym->reqsize);
    const datamtx200_symdef* entry =
        count < 0 ? nullptr : datamtx200_symdeffit(count, sym->reqsize);
    if (entry == nullptr) {
        sym->error = DATAMTX_ERR_TOOLONG;
        return 0;
    }
    datamtx200_calcchecks(codewords, entry);
    return datamtx200_placeall(sym, codewords, entry);
}
