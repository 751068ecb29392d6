// The Aztec encoder state: parameters in, a module bitmap out, painted
// through the caller's plot callback.
#include "core/matrix/aztec.hpp"

#include <cstring>
#include <utility>

#include "core/matrix/aztec_internal.hpp"

namespace {
int fail(aztec_state* st, int32_t err) {
    st->err = err;
    return 0;
}

// Rune data: decimal digits with a value of at most 255; -1 otherwise.
int32_t runevalue(const char* data, int32_t length) {
    int32_t v = 0;
    for (int32_t i = 0; i < length; ++i) {
        if (data[i] < '0' || data[i] > '9') return -1;
        v = v * 10 + (data[i] - '0');
        if (v > 255) return -1;
    }
    return v;
}

// A fresh, light bitmap for a symbol of `side` modules; the state's own map is
// replaced only once the new symbol is complete.
struct newmap {
    int32_t side;
    int32_t rowbytes;
    int32_t maplen;
    std::unique_ptr<uint8_t[]> map;

    explicit newmap(int32_t s)
        : side(s), rowbytes(modbitmap_stride(s)), maplen(rowbytes * s), map(modbitmap_alloc(s, s)) {
    }
    aztec_canvas canvas() const { return {map.get(), side, side, rowbytes}; }
};

void commit(aztec_state* st, newmap& m, int compact, int32_t layers) {
    st->compact = compact;
    st->layers = layers;
    st->side = m.side;
    st->rowbytes = m.rowbytes;
    st->maplen = m.maplen;
    st->map = std::move(m.map);
    st->err = 0;
}

int runecalc(aztec_state* st, const char* data, int32_t length) {
    const int32_t value = runevalue(data, length);
    if (value < 0) return fail(st, AZTEC_ERR_BADDATA);
    uint8_t mode[28];
    if (aztec_runeencode(value, mode) == 0) return fail(st, AZTEC_ERR_MEMORY);
    newmap m(aztec_symbolside(1, 0));
    if (!m.map) return fail(st, AZTEC_ERR_MEMORY);
    aztec_drawfixed(m.canvas(), 1);
    aztec_drawmode(m.canvas(), 1, mode);
    commit(st, m, 1, 0);
    return 1;
}
} // namespace

int aztec_open(aztec_state* st) {
    if (st == nullptr) return 0;
    *st = aztec_state{};
    return 1;
}

int aztec_close(aztec_state* st) {
    if (st == nullptr) return 0;
    st->map.reset();
    st->maplen = 0;
    return 1;
}

int aztec_setcallback(aztec_state* st, kv_plotfn fn, void* arg) {
    if (st == nullptr) return 0;
    st->plotfn = fn;
    st->plotarg = arg;
    return 1;
}

int aztec_imagecalc(aztec_state* st, const char* data, int32_t length) {
    if (st == nullptr) return 0;
    if (length < 0) {
        // Every character costs more than one bit (2.5 at the least, in a
        // Punct pair), so a text with more characters than the buffer has
        // bits overflows it anyway; the cap keeps the count an int32_t.
        const size_t n = data != nullptr ? std::strlen(data) : 0;
        length = n > AZTEC_MAXBITS ? AZTEC_MAXBITS + 1 : static_cast<int32_t>(n);
    }
    const bool rune = (st->options & AZTEC_OPT_RUNE) != 0;
    if (!rune && (st->eccpercent >= 100 || st->eccpercent < 0)) return fail(st, AZTEC_ERR_ECC);
    if (data == nullptr && length > 0) return fail(st, AZTEC_ERR_NODATA);
    if (length == 0) return fail(st, AZTEC_ERR_BADDATA);
    if (rune) return runecalc(st, data, length);

    aztec_bitbuf bits;
    if (aztec_encodebits(&bits, reinterpret_cast<const uint8_t*>(data), length) < 0)
        return fail(st, AZTEC_ERR_TOOLONG);

    aztec_layout lay;
    uint16_t words[AZTEC_MAXWORDS];
    if (aztec_choosesize(&bits, st->eccpercent, st->options, st->layers, &lay, words) == 0)
        return fail(st, AZTEC_ERR_TOOLONG);
    if (aztec_rscalc(lay.wordsize, words, lay.datawords, lay.totalwords - lay.datawords) == 0)
        return fail(st, AZTEC_ERR_MEMORY);

    uint8_t mode[40];
    if (aztec_modeencode(lay.compact, lay.layers, lay.datawords,
                         (st->options & AZTEC_OPT_MENU) != 0, mode) == 0)
        return fail(st, AZTEC_ERR_MEMORY);

    newmap m(aztec_symbolside(lay.compact, lay.layers));
    if (!m.map) return fail(st, AZTEC_ERR_MEMORY);
    const aztec_canvas c = m.canvas();
    aztec_drawfixed(c, lay.compact);
    aztec_drawmode(c, lay.compact, mode);
    aztec_drawlayers(c, lay.compact, lay.layers, words, lay.totalwords, lay.wordsize);
    commit(st, m, lay.compact, lay.layers);
    return 1;
}

int32_t aztec_imagewide(const aztec_state* st) {
    return st == nullptr ? 0 : st->side * st->modwidth;
}

int32_t aztec_imagedeep(const aztec_state* st) {
    return st == nullptr ? 0 : st->side * st->modheight;
}

int aztec_imagepaint(aztec_state* st) {
    if (st == nullptr) return 0;
    modbitmap_paint({st->map.get(), st->side, st->side, st->rowbytes}, st->plotfn, st->plotarg,
                    st->modwidth, st->modheight);
    return 1;
}
