// PDF417 grid: the record's life cycle, the choice of data columns, rows and
// error-correction level, pad codewords and the check codewords over the
// integers modulo 929.
#include <cstring>

#include "core/matrix/galois.hpp"
#include "core/matrix/pdf417_internal.hpp"
#include "core/matrix/pdf417_tables.hpp"

namespace {

int fail(pdf417_sym* sym, int32_t err) {
    sym->errcode = err;
    return 0;
}

int32_t clamp(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

int32_t ceildiv(int32_t a, int32_t b) {
    return (a + b - 1) / b;
}

// Data columns for which (height + 4) / (width + 4), both in modules of a
// full-width symbol, comes nearest to the wanted aspect: the positive root of
// 17a c^2 + (73a - 4) c - r N = 0.
int32_t aspectcolumns(const pdf417_sym* sym, int32_t needed) {
    long double a = sym->aspect;
    if (a < 0.001L) a = 0.001L;
    if (a > 1000.0L) a = 1000.0L;
    const long double r = static_cast<long double>(sym->rowheight) / sym->modwidth;
    const long double u = 73.0L * a - 4.0L;
    const long double s = pdf417_hacksqrt(u * u + 68.0L * a * r * needed);
    long double c = (s - u) / (34.0L * a) + 0.5L;
    if (c < 1.0L) c = 1.0L;
    if (c > 30.0L) c = 30.0L;
    return static_cast<int32_t>(c);
}

} // namespace

int pdf417_open(pdf417_sym* sym) {
    if (sym == nullptr) return 0;
    sym->errcode = PDF417_ERR_NONE;
    sym->callback = nullptr;
    sym->context = nullptr;
    sym->options = 0;
    sym->ecclevel = PDF417_ECC_AUTO;
    sym->modwidth = 2;
    sym->rowheight = 6;
    sym->columns = 0;
    sym->rows = 0;
    sym->cwcount = 0;
    sym->aspect = 0.5f;
    return 1;
}

int pdf417_close(pdf417_sym* sym) {
    return sym != nullptr ? 1 : 0;
}

int pdf417_setcallback(pdf417_sym* sym, kv_plotfn callback, void* context) {
    if (sym == nullptr) return 0;
    sym->callback = callback;
    sym->context = context;
    return 1;
}

int32_t pdf417_ecc_maxforspace(int32_t space) {
    if (space >= 512) return 8;
    for (int32_t level = 7; level >= 1; --level) {
        if ((2 << level) <= space) return level;
    }
    return 0;
}

long double pdf417_hacksqrt(long double x) {
    if (!(x > 0.0L)) return 0.0L;
    long double r = x / 200.0L + 2.0L;
    for (int32_t i = 0; i < 7; ++i) r = (r + x / r) / 2.0L;
    return r;
}

void pdf417_maxgrid(pdf417_sym* sym) {
    if (sym->columns <= 21) {
        sym->columns = 16;
        sym->rows = 58;
    } else {
        sym->columns = 29;
        sym->rows = 32;
    }
}

// Check codewords over the integers modulo 929.
int pdf417_ecccalc(int32_t* codewords, int32_t level) {
    if (codewords == nullptr || level < 0 || level > 8) return 0;
    const int32_t n = codewords[0];
    const int32_t k = 2 << level;
    if (n <= 0 || n + k > PDF417_MAXCW) return 0;
    return galois_primeremainder<929u>(pdf417_ecc_table(level), k, codewords, n, codewords + n) ? 1
                                                                                                : 0;
}

int pdf417_gridcalc(pdf417_sym* sym, const char* data, int32_t length) {
    if (sym == nullptr) return 0;
    sym->errcode = PDF417_ERR_NONE;
    if (data == nullptr && length != 0) return fail(sym, PDF417_ERR_ARGUMENT);
    if (length < 0) {
        const size_t len = std::strlen(data);
        length = len > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(len);
    }
    if (length < 1) return fail(sym, PDF417_ERR_NODATA);
    if (sym->modwidth < 1 || sym->modwidth > PDF417_MAXDOTS || sym->rowheight < 1 ||
        sym->rowheight > PDF417_MAXDOTS)
        return fail(sym, PDF417_ERR_ARGUMENT);
    if (!pdf417_autocompact(sym, reinterpret_cast<const uint8_t*>(data), length)) return 0;

    int32_t* cw = sym->codewords;
    const int32_t n = sym->cwcount;
    cw[0] = n;

    int32_t level = sym->ecclevel;
    if (level == PDF417_ECC_AUTO) level = n <= 40 ? 2 : n <= 160 ? 3 : n <= 320 ? 4 : 5;
    level = clamp(level, 0, pdf417_ecc_maxforspace(PDF417_MAXCW - n));
    const int32_t needed = n + (2 << level);

    sym->columns = clamp(sym->columns, 1, 30);
    sym->rows = clamp(sym->rows, 3, 90);
    if (sym->aspect > 0.0f && !(sym->options & PDF417_OPT_USERCOLS))
        sym->columns = aspectcolumns(sym, needed);

    int32_t rows = ceildiv(needed, sym->columns);
    if (rows < sym->rows) rows = sym->rows;
    if (rows > 90) {
        rows = 90;
        sym->columns = ceildiv(needed, 90);
    }
    sym->rows = rows;
    if (sym->rows * sym->columns > PDF417_MAXCW) pdf417_maxgrid(sym);
    const int32_t cells = sym->rows * sym->columns;
    if (cells < needed) return fail(sym, PDF417_ERR_TOOLONG);

    // Surplus cells raise the level as far as it fits; the rest are pads.
    level = pdf417_ecc_maxforspace(cells - n);
    const int32_t pads = cells - n - (2 << level);
    for (int32_t i = 0; i < pads; ++i) cw[n + i] = PDF417_CW_TEXT;
    cw[0] = n + pads;
    if (!pdf417_ecccalc(cw, level)) return fail(sym, PDF417_ERR_CHECK);
    sym->ecclevel = level;
    sym->cwcount = cells;
    return 1;
}
