// PDF417 painting: each row is the start pattern, the left row indicator,
// the row's data codewords, the right row indicator and the stop pattern
// (the last two left off in a truncated symbol), drawn as one rectangle per
// run of bar modules. Painting repeats for every band the symbol crosses, so
// it only walks the codewords the grid step left in the record.
#include <bit>

#include "core/matrix/pdf417_internal.hpp"
#include "core/matrix/pdf417_tables.hpp"

namespace {

bool built(const pdf417_sym* sym) {
    return sym->errcode == PDF417_ERR_NONE && sym->rows >= 3 && sym->rows <= 90 &&
           sym->columns >= 1 && sym->columns <= 30 && sym->ecclevel >= 0 && sym->ecclevel <= 8 &&
           sym->cwcount == sym->rows * sym->columns && sym->modwidth >= 1 &&
           sym->modwidth <= PDF417_MAXDOTS && sym->rowheight >= 1 &&
           sym->rowheight <= PDF417_MAXDOTS;
}

uint32_t pattern(int32_t cluster, int32_t codeword) {
    return codeword >= 0 && codeword <= 928 ? pdf417_codetable[cluster][codeword] : 0;
}

// Left and right row indicators of row r: they carry the row count, the
// column count and the error-correction level, each in two of the three
// clusters.
void indicators(const pdf417_sym* sym, int32_t r, int32_t* left, int32_t* right) {
    const int32_t k = 30 * (r / 3);
    const int32_t rowpart = (sym->rows - 1) / 3;
    const int32_t colpart = sym->columns - 1;
    const int32_t eccpart = 3 * sym->ecclevel + (sym->rows - 1) % 3;
    switch (r % 3) {
    case 0:
        *left = k + rowpart;
        *right = k + colpart;
        break;
    case 1:
        *left = k + eccpart;
        *right = k + rowpart;
        break;
    default:
        *left = k + colpart;
        *right = k + eccpart;
        break;
    }
}

int32_t saturate(int64_t v) {
    return v > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(v);
}

} // namespace

int32_t pdf417_imagewide(const pdf417_sym* sym) {
    if (sym == nullptr || !built(sym)) return 0;
    const int64_t modules =
        static_cast<int64_t>(sym->columns + ((sym->options & PDF417_OPT_TRUNCATED) ? 2 : 4)) * 17 +
        1;
    return saturate(modules * sym->modwidth);
}

int32_t pdf417_imagedeep(const pdf417_sym* sym) {
    if (sym == nullptr || !built(sym)) return 0;
    return saturate(static_cast<int64_t>(sym->rows) * sym->rowheight);
}

int32_t pdf417_paintcodeword(pdf417_sym* sym, int32_t x, int32_t y, uint32_t pattern) {
    const int32_t mw = sym->modwidth;
    if (sym->callback == nullptr) return 17 * mw;
    uint32_t p = (pattern & 0x1FFFF) << 15; // first module in the top bit
    int32_t pos = 0;
    while (p != 0) {
        const int32_t spaces = std::countl_zero(p);
        p <<= spaces;
        pos += spaces;
        const int32_t bars = std::countl_one(p);
        sym->callback(sym->context, x + pos * mw, y, bars * mw, sym->rowheight);
        p <<= bars;
        pos += bars;
    }
    return 17 * mw;
}

int pdf417_paintgrid(pdf417_sym* sym) {
    if (sym == nullptr) return 0;
    if (!built(sym)) {
        sym->errcode = PDF417_ERR_ARGUMENT;
        return 0;
    }
    if (sym->callback == nullptr) return 1;
    const bool truncated = (sym->options & PDF417_OPT_TRUNCATED) != 0;
    for (int32_t r = 0; r < sym->rows; ++r) {
        const int32_t cluster = r % 3;
        const int32_t y = r * sym->rowheight;
        int32_t left = 0;
        int32_t right = 0;
        indicators(sym, r, &left, &right);
        int32_t x = pdf417_paintcodeword(sym, 0, y, PDF417_START);
        x += pdf417_paintcodeword(sym, x, y, pattern(cluster, left));
        const int32_t* cw = sym->codewords + r * sym->columns;
        for (int32_t c = 0; c < sym->columns; ++c)
            x += pdf417_paintcodeword(sym, x, y, pattern(cluster, cw[c]));
        if (!truncated) {
            x += pdf417_paintcodeword(sym, x, y, pattern(cluster, right));
            x += pdf417_paintcodeword(sym, x, y, PDF417_STOP);
        }
        // The stop pattern's last module, or a truncated symbol's single bar.
        sym->callback(sym->context, x, y, sym->modwidth, sym->rowheight);
    }
    return 1;
}

void pdf417_gubegrid(const pdf417_sym* sym, std::FILE* out) {
    if (sym == nullptr || out == nullptr) return;
    std::fprintf(out, "gubegrid [%d x %d] : \n", sym->columns, sym->rows);
    if (!built(sym)) return;
    const bool truncated = (sym->options & PDF417_OPT_TRUNCATED) != 0;
    for (int32_t r = 0; r < sym->rows; ++r) {
        int32_t left = 0;
        int32_t right = 0;
        indicators(sym, r, &left, &right);
        std::fprintf(out, "  %2d : [%3d] ", r, left);
        for (int32_t c = 0; c < sym->columns; ++c)
            std::fprintf(out, "%3d ", sym->codewords[r * sym->columns + c]);
        if (!truncated) std::fprintf(out, "[%3d] ", right);
        std::fputc('\n', out);
    }
}
