// Symbol geometry, the cutting of the bit stream into codewords with bit
// stuffing, and the choice of the smallest symbol that holds the data with
// its error-correction margin.
#include <cstdint>

#include "core/matrix/aztec.hpp"
#include "core/matrix/aztec_internal.hpp"

namespace {
// Largest compact layer count. The compact mode message holds the data-word
// count less one in 6 bits, so a compact symbol carries at most 64 data words
// (a 4-layer one has room for 76); full-range symbols have 11 bits for at most
// 1664 words.
constexpr int32_t MAXCOMPACT = 4;
constexpr int32_t MAXDATA_COMPACT = 64;
// A menu symbol takes the count's top bit for its flag, which the standard
// allows only in compact symbols of one layer (17 words at most) and in
// full-range symbols of up to 22 layers (1020 words at most).
constexpr int32_t MENU_MAXCOMPACT = 1;
constexpr int32_t MENU_MAXLAYERS = 22;

// `n` bits from `pos`, most significant first; bits past the end of the
// stream read as 1 (the filling of the last codeword).
uint32_t readbits(const aztec_bitbuf* b, int32_t pos, int32_t n) {
    uint32_t v = 0;
    for (int32_t k = 0; k < n; ++k, ++pos)
        v = (v << 1) | (pos < b->nbits ? static_cast<uint32_t>(aztec_getbit(b, pos)) : 1u);
    return v;
}

struct sizing {
    int compact;
    int32_t layers;
    int32_t maxcompact;
    int32_t maxlayers;

    // The next larger symbol; false past the largest.
    bool grow() {
        ++layers;
        if (layers > maxcompact) compact = 0;
        return layers <= maxlayers;
    }
};
} // namespace

int32_t aztec_gridpairs(int32_t layers) {
    return (2 * layers + 6) / 15;
}

int32_t aztec_symbolside(int compact, int32_t layers) {
    if (compact) return 11 + 4 * layers;
    return 15 + 4 * layers + 2 * aztec_gridpairs(layers);
}

int32_t aztec_wordsize(int32_t layers) {
    if (layers <= 2) return 6;
    if (layers <= 8) return 8;
    if (layers <= 22) return 10;
    return 12;
}

int32_t aztec_capacity(int compact, int32_t layers) {
    int32_t bits = 0;
    for (int32_t i = 1; i <= layers; ++i) {
        // Dominoes along one side of layer i, two modules each, four sides.
        const int32_t perside =
            compact ? (11 + 4 * i) - 2 : aztec_symbolside(0, i) - 2 * aztec_gridpairs(i) - 3;
        bits += 2 * 4 * perside;
    }
    const int32_t w = aztec_wordsize(layers);
    return bits / w * w;
}

int32_t aztec_cutwords(const aztec_bitbuf* b, int32_t w, uint16_t* words, int32_t maxwords) {
    const uint32_t headmask = (1u << (w - 1)) - 1u;
    int32_t count = 0;
    int32_t pos = 0;
    while (pos < b->nbits) {
        if (count >= maxwords) return -1;
        const uint32_t head = readbits(b, pos, w - 1);
        uint32_t word;
        if (head == 0) {
            // Never w - 1 zeros then the free bit: force it to 1.
            word = 1;
            pos += w - 1;
        } else if (head == headmask) {
            // Likewise for ones; also ends a last word filled with ones.
            word = headmask << 1;
            pos += w - 1;
        } else {
            word = (head << 1) | readbits(b, pos + w - 1, 1);
            pos += w;
        }
        words[count++] = static_cast<uint16_t>(word);
    }
    return count;
}

int aztec_choosesize(const aztec_bitbuf* b, int32_t eccpercent, int32_t options,
                     int32_t startlayers, aztec_layout* out, uint16_t* words) {
    if (eccpercent < 0 || eccpercent >= 100) return 0;
    const bool menu = (options & AZTEC_OPT_MENU) != 0;
    sizing sz{(options & AZTEC_OPT_FULLRANGE) ? 0 : 1, startlayers,
              menu ? MENU_MAXCOMPACT : MAXCOMPACT, menu ? MENU_MAXLAYERS : AZTEC_MAXLAYERS};
    if (sz.layers < 1) sz.layers = 1;
    if (sz.layers > AZTEC_MAXLAYERS) sz.layers = AZTEC_MAXLAYERS;
    if (sz.layers > sz.maxcompact) sz.compact = 0;
    if (sz.layers > sz.maxlayers) return 0;

    // Bits the layers must hold: the data scaled up by the error-correction
    // percentage, plus a margin of whole codewords.
    const int64_t p = eccpercent;
    const int64_t scaled = (static_cast<int64_t>(b->nbits) * 100 - 1) / (100 - p) + 1;
    const int64_t margin = 299 / (100 - p) + 1;

    int32_t cutsize = 0; // word size of the codewords in words[], 0 for none
    int32_t ndata = 0;
    for (;;) {
        const int32_t w = aztec_wordsize(sz.layers);
        const int32_t cap = aztec_capacity(sz.compact, sz.layers);
        if (scaled + margin * w > cap) {
            if (!sz.grow()) return 0;
            continue;
        }
        if (cutsize != w) {
            ndata = aztec_cutwords(b, w, words, AZTEC_MAXWORDS);
            if (ndata < 0) return 0;
            cutsize = w;
        }
        if (static_cast<int64_t>(ndata) * w > cap || (sz.compact && ndata > MAXDATA_COMPACT)) {
            if (!sz.grow()) return 0;
            continue;
        }
        out->compact = sz.compact;
        out->layers = sz.layers;
        out->wordsize = w;
        out->datawords = ndata;
        out->totalwords = cap / w;
        return 1;
    }
}
