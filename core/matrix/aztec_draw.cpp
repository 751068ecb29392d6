// The symbol's modules: bullseye finder, orientation marks, reference grid,
// the mode message around the core and the data layers wound around it.
#include <cstdint>

#include "core/matrix/aztec_internal.hpp"

namespace {
// Distance from the centre to the ring that carries the mode message.
int32_t coreradius(int compact) {
    return compact ? 5 : 7;
}

// Mode message words (4 bits each) with their check words, as bits.
int wordbits(uint16_t* words, int32_t ndata, int32_t ncheck, uint8_t xorword, uint8_t* bits) {
    if (aztec_rscalc(4, words, ndata, ncheck) == 0) return 0;
    int n = 0;
    for (int32_t w = 0; w < ndata + ncheck; ++w) {
        const uint32_t v = words[w] ^ xorword;
        for (int b = 3; b >= 0; --b) bits[n++] = static_cast<uint8_t>((v >> b) & 1u);
    }
    return n;
}
} // namespace

int aztec_modeencode(int compact, int32_t layers, int32_t datawords, int menu, uint8_t* bits) {
    uint16_t words[10] = {};
    if (compact) {
        if (layers < 1 || layers > 4 || datawords < 1 || datawords > 64) return 0;
        uint32_t v = static_cast<uint32_t>((layers - 1) << 6 | (datawords - 1));
        if (menu) v |= 1u << 5;
        words[0] = static_cast<uint16_t>(v >> 4);
        words[1] = static_cast<uint16_t>(v & 15u);
        return wordbits(words, 2, 5, 0, bits);
    }
    if (layers < 1 || layers > 32 || datawords < 1 || datawords > 2048) return 0;
    uint32_t v = static_cast<uint32_t>((layers - 1) << 11 | (datawords - 1));
    if (menu) v |= 1u << 10;
    for (int k = 0; k < 4; ++k) words[k] = static_cast<uint16_t>((v >> (12 - 4 * k)) & 15u);
    return wordbits(words, 4, 6, 0, bits);
}

int aztec_runeencode(int32_t value, uint8_t* bits) {
    if (value < 0 || value > 255) return 0;
    uint16_t words[7] = {static_cast<uint16_t>(value >> 4), static_cast<uint16_t>(value & 15)};
    // Every word of a rune's message is inverted in alternate bits, so that
    // no rune reads as the mode message of a compact symbol.
    return wordbits(words, 2, 5, 0xA, bits);
}

void aztec_drawfixed(const aztec_canvas& c, int compact) {
    const int32_t f = c.width / 2;
    const int32_t r = coreradius(compact);
    // Bullseye: the centre and the rings at even distances inside the core.
    c.set(f, f);
    for (int32_t d = 2; d < r; d += 2) {
        for (int32_t t = -d; t <= d; ++t) {
            c.set(f + t, f - d);
            c.set(f + t, f + d);
            c.set(f - d, f + t);
            c.set(f + d, f + t);
        }
    }
    // Orientation marks at the corners of the mode-message ring.
    c.set(f - r, f - r);
    c.set(f - r + 1, f - r);
    c.set(f - r, f - r + 1);
    c.set(f + r, f - r);
    c.set(f + r, f - r + 1);
    c.set(f + r, f + r - 1);
    if (compact) return;
    // Reference grid: lines every 16 modules from the centre, dark at every
    // even distance from the centre.
    for (int32_t line = f % 16; line < c.width; line += 16) {
        for (int32_t t = (f & 1); t < c.width; t += 2) {
            c.set(line, t);
            c.set(t, line);
        }
    }
}

void aztec_drawmode(const aztec_canvas& c, int compact, const uint8_t* bits) {
    const int32_t f = c.width / 2;
    const int32_t r = coreradius(compact);
    const int32_t n = compact ? 7 : 10;
    // Position of the i-th module along a side; full-range symbols skip the
    // central grid line.
    auto at = [&](int32_t i) { return compact ? f - 3 + i : f - 5 + i + i / 5; };
    for (int32_t i = 0; i < n; ++i) {
        if (bits[i]) c.set(at(i), f - r);
        if (bits[n + i]) c.set(f + r, at(i));
        if (bits[2 * n + i]) c.set(at(n - 1 - i), f + r);
        if (bits[3 * n + i]) c.set(f - r, at(n - 1 - i));
    }
}

void aztec_drawlayers(const aztec_canvas& c, int compact, int32_t layers, const uint16_t* words,
                      int32_t nwords, int32_t wordsize) {
    // The layers are laid out on a grid without reference lines ("logical"
    // coordinates, `base` square); amap turns a logical row or column into the
    // symbol's, stepping over the grid lines of full-range symbols.
    const int32_t base = (compact ? 11 : 14) + 4 * layers;
    int32_t amap[14 + 4 * AZTEC_MAXLAYERS];
    if (compact) {
        for (int32_t i = 0; i < base; ++i) amap[i] = i;
    } else {
        const int32_t lcentre = base / 2;
        const int32_t centre = c.width / 2;
        for (int32_t i = 0; i < lcentre; ++i) {
            const int32_t off = i + i / 15 + 1;
            amap[lcentre - 1 - i] = centre - off;
            amap[lcentre + i] = centre + off;
        }
    }

    // Bits run from the last codeword's least significant bit backwards; each
    // domino takes one bit for the module nearer the centre, then the outer.
    int32_t wi = nwords - 1; // codeword being placed
    int32_t bit = 0;         // its next bit, from the least significant
    auto put = [&](int32_t x, int32_t y) {
        if (wi < 0) return;
        if ((words[wi] >> bit) & 1) c.set(amap[x], amap[y]);
        if (++bit == wordsize) {
            bit = 0;
            --wi;
        }
    };
    for (int32_t l = 1; l <= layers && wi >= 0; ++l) {
        const int32_t lo = 2 * (layers - l);
        const int32_t hi = base - 1 - lo;
        const int32_t run = (compact ? 9 : 12) + 4 * l; // dominoes per band
        for (int32_t j = 0; j < run; ++j) {             // top band, left to right
            put(lo + 2 + j, lo + 1);
            put(lo + 2 + j, lo);
        }
        for (int32_t j = 0; j < run; ++j) { // right band, downwards
            put(hi - 1, lo + 2 + j);
            put(hi, lo + 2 + j);
        }
        for (int32_t j = 0; j < run; ++j) { // bottom band, right to left
            put(hi - 2 - j, hi - 1);
            put(hi - 2 - j, hi);
        }
        for (int32_t j = 0; j < run; ++j) { // left band, upwards
            put(lo + 1, hi - 2 - j);
            put(lo, hi - 2 - j);
        }
    }
}
