#include "core/linear/code39_codabar_msi.hpp"

#include <array>

namespace {
// Element classes: 0 narrow, 1 wide; bar first, alternating.

// Code 39 (ANSI/AIM BC1): 5 bars and 4 spaces, then the narrow gap. Row
// index = the character's check value.
struct c39row {
    char c;
    uint8_t cls[10];
};
constexpr c39row code39_table[] = {
    {'0', {0, 0, 0, 1, 1, 0, 1, 0, 0, 0}}, {'1', {1, 0, 0, 1, 0, 0, 0, 0, 1, 0}},
    {'2', {0, 0, 1, 1, 0, 0, 0, 0, 1, 0}}, {'3', {1, 0, 1, 1, 0, 0, 0, 0, 0, 0}},
    {'4', {0, 0, 0, 1, 1, 0, 0, 0, 1, 0}}, {'5', {1, 0, 0, 1, 1, 0, 0, 0, 0, 0}},
    {'6', {0, 0, 1, 1, 1, 0, 0, 0, 0, 0}}, {'7', {0, 0, 0, 1, 0, 0, 1, 0, 1, 0}},
    {'8', {1, 0, 0, 1, 0, 0, 1, 0, 0, 0}}, {'9', {0, 0, 1, 1, 0, 0, 1, 0, 0, 0}},
    {'A', {1, 0, 0, 0, 0, 1, 0, 0, 1, 0}}, {'B', {0, 0, 1, 0, 0, 1, 0, 0, 1, 0}},
    {'C', {1, 0, 1, 0, 0, 1, 0, 0, 0, 0}}, {'D', {0, 0, 0, 0, 1, 1, 0, 0, 1, 0}},
    {'E', {1, 0, 0, 0, 1, 1, 0, 0, 0, 0}}, {'F', {0, 0, 1, 0, 1, 1, 0, 0, 0, 0}},
    {'G', {0, 0, 0, 0, 0, 1, 1, 0, 1, 0}}, {'H', {1, 0, 0, 0, 0, 1, 1, 0, 0, 0}},
    {'I', {0, 0, 1, 0, 0, 1, 1, 0, 0, 0}}, {'J', {0, 0, 0, 0, 1, 1, 1, 0, 0, 0}},
    {'K', {1, 0, 0, 0, 0, 0, 0, 1, 1, 0}}, {'L', {0, 0, 1, 0, 0, 0, 0, 1, 1, 0}},
    {'M', {1, 0, 1, 0, 0, 0, 0, 1, 0, 0}}, {'N', {0, 0, 0, 0, 1, 0, 0, 1, 1, 0}},
    {'O', {1, 0, 0, 0, 1, 0, 0, 1, 0, 0}}, {'P', {0, 0, 1, 0, 1, 0, 0, 1, 0, 0}},
    {'Q', {0, 0, 0, 0, 0, 0, 1, 1, 1, 0}}, {'R', {1, 0, 0, 0, 0, 0, 1, 1, 0, 0}},
    {'S', {0, 0, 1, 0, 0, 0, 1, 1, 0, 0}}, {'T', {0, 0, 0, 0, 1, 0, 1, 1, 0, 0}},
    {'U', {1, 1, 0, 0, 0, 0, 0, 0, 1, 0}}, {'V', {0, 1, 1, 0, 0, 0, 0, 0, 1, 0}},
    {'W', {1, 1, 1, 0, 0, 0, 0, 0, 0, 0}}, {'X', {0, 1, 0, 0, 1, 0, 0, 0, 1, 0}},
    {'Y', {1, 1, 0, 0, 1, 0, 0, 0, 0, 0}}, {'Z', {0, 1, 1, 0, 1, 0, 0, 0, 0, 0}},
    {'-', {0, 1, 0, 0, 0, 0, 1, 0, 1, 0}}, {'.', {1, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
    {' ', {0, 1, 1, 0, 0, 0, 1, 0, 0, 0}}, {'$', {0, 1, 0, 1, 0, 1, 0, 0, 0, 0}},
    {'/', {0, 1, 0, 1, 0, 0, 0, 1, 0, 0}}, {'+', {0, 1, 0, 0, 0, 1, 0, 1, 0, 0}},
    {'%', {0, 0, 0, 1, 0, 1, 0, 1, 0, 0}}, {'*', {0, 1, 0, 0, 1, 0, 1, 0, 0, 0}},
};
static_assert(std::size(code39_table) == 44);

// Codabar (AIM USS-Codabar): 4 bars and 3 spaces, then the narrow gap. The
// start/stop pairs A/T, B/N, C/*, D/E share one pattern each.
struct row8 {
    char c;
    uint8_t cls[8];
};
constexpr row8 codabar_table[] = {
    {'0', {0, 0, 0, 0, 0, 1, 1, 0}}, {'1', {0, 0, 0, 0, 1, 1, 0, 0}},
    {'2', {0, 0, 0, 1, 0, 0, 1, 0}}, {'3', {1, 1, 0, 0, 0, 0, 0, 0}},
    {'4', {0, 0, 1, 0, 0, 1, 0, 0}}, {'5', {1, 0, 0, 0, 0, 1, 0, 0}},
    {'6', {0, 1, 0, 0, 0, 0, 1, 0}}, {'7', {0, 1, 0, 0, 1, 0, 0, 0}},
    {'8', {0, 1, 1, 0, 0, 0, 0, 0}}, {'9', {1, 0, 0, 1, 0, 0, 0, 0}},
    {'-', {0, 0, 0, 1, 1, 0, 0, 0}}, {'$', {0, 0, 1, 1, 0, 0, 0, 0}},
    {':', {1, 0, 0, 0, 1, 0, 1, 0}}, {'/', {1, 0, 1, 0, 0, 0, 1, 0}},
    {'.', {1, 0, 1, 0, 1, 0, 0, 0}}, {'+', {0, 0, 1, 0, 1, 0, 1, 0}},
    {'A', {0, 0, 1, 1, 0, 1, 0, 0}}, {'T', {0, 0, 1, 1, 0, 1, 0, 0}},
    {'B', {0, 1, 0, 1, 0, 0, 1, 0}}, {'N', {0, 1, 0, 1, 0, 0, 1, 0}},
    {'C', {0, 0, 0, 1, 0, 1, 1, 0}}, {'*', {0, 0, 0, 1, 0, 1, 1, 0}},
    {'D', {0, 0, 0, 1, 1, 1, 0, 0}}, {'E', {0, 0, 0, 1, 1, 1, 0, 0}},
};
static_assert(std::size(codabar_table) == 24);

// MSI (binary-coded decimal, most significant bit first): a 1 bit is a wide
// bar and a narrow space, a 0 bit a narrow bar and a wide space.
constexpr row8 codemsi_table[] = {
    {'0', {0, 1, 0, 1, 0, 1, 0, 1}}, {'1', {0, 1, 0, 1, 0, 1, 1, 0}},
    {'2', {0, 1, 0, 1, 1, 0, 0, 1}}, {'3', {0, 1, 0, 1, 1, 0, 1, 0}},
    {'4', {0, 1, 1, 0, 0, 1, 0, 1}}, {'5', {0, 1, 1, 0, 0, 1, 1, 0}},
    {'6', {0, 1, 1, 0, 1, 0, 0, 1}}, {'7', {0, 1, 1, 0, 1, 0, 1, 0}},
    {'8', {1, 0, 0, 1, 0, 1, 0, 1}}, {'9', {1, 0, 0, 1, 0, 1, 1, 0}},
};
static_assert(std::size(codemsi_table) == 10);
constexpr uint8_t codemsi_start[] = {1, 0, 255};
constexpr uint8_t codemsi_stop[] = {0, 1, 0, 255};

int32_t upper(int32_t c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

template <class Table> int32_t findrow(const Table& table, int32_t c) {
    for (size_t i = 0; i < std::size(table); ++i) {
        if (static_cast<uint8_t>(table[i].c) == c) return static_cast<int32_t>(i);
    }
    return -1;
}

// Maps one character of a table: its pattern, or a solid block of the width
// of the table's first row.
template <class Row, size_t N>
kv_status mapchar(kv_glor* s, kv_mapctx* m, const Row (&table)[N], int32_t row) {
    constexpr int32_t n = static_cast<int32_t>(sizeof(Row::cls));
    const Row* rows = table;
    if (row >= 0 && row < static_cast<int32_t>(N)) return kv_mapbarlist(s, m, n, rows[row].cls);
    return kv_badcmap(s, m, n, rows[0].cls);
}

int32_t digitvalue(char c) { return (c >= '0' && c <= '9') ? c - '0' : -1; }
} // namespace

int32_t code39_cindex(int32_t c) { return findrow(code39_table, upper(c)); }
int32_t codabar_cindex(int32_t c) { return findrow(codabar_table, upper(c)); }
int32_t codemsi_cindex(int32_t c) { return digitvalue(static_cast<char>(c)); }

void code39_chkcalc(int32_t length, const char* data, char* out) {
    int32_t sum = 0;
    for (int32_t i = 0; i < length; ++i) {
        int32_t v = code39_cindex(static_cast<uint8_t>(data[i]));
        if (v >= 0) sum += v;
    }
    *out = code39_table[sum % 43].c;
}

void codemsi_chkcalc10(int32_t length, const char* data, char* out) {
    // Digit sum of twice the number formed by the odd-position digits (from
    // the right), plus the even-position digits.
    int32_t carry = 0;
    int32_t sum = 0;
    bool odd = true;
    for (int32_t i = length - 1; i >= 0; --i, odd = !odd) {
        int32_t d = digitvalue(data[i]);
        if (odd) {
            carry += 2 * (d < 0 ? 0 : d);
            sum += carry % 10;
            carry /= 10;
        } else if (d >= 0) {
            sum += d;
        }
    }
    int32_t t = (sum + carry) % 10;
    *out = static_cast<char>('0' + (t == 0 ? 0 : 10 - t));
}

void codemsi_chkcalc11(int32_t length, const char* data, char* out) {
    int32_t sum = 0;
    int32_t weight = 2;
    for (int32_t i = length - 1; i >= 0; --i) {
        int32_t d = digitvalue(data[i]);
        if (d >= 0) sum += weight * d;
        weight = weight == 7 ? 2 : weight + 1;
    }
    int32_t r = sum % 11;
    int32_t check = (r == 0 || r == 1) ? 0 : 11 - r;
    *out = static_cast<char>('0' + check);
}

kv_status kv_c39_cmap(kv_glor* s, kv_mapctx* m, int32_t c) {
    return mapchar(s, m, code39_table, code39_cindex(c));
}

kv_status kv_codabar_cmap(kv_glor* s, kv_mapctx* m, int32_t c) {
    return mapchar(s, m, codabar_table, codabar_cindex(c));
}

kv_status kv_msi_cmap(kv_glor* s, kv_mapctx* m, int32_t c) {
    return mapchar(s, m, codemsi_table, codemsi_cindex(c));
}

kv_status kv_c39_map(kv_glor* s, kv_mapctx* m) {
    const int32_t* w = m->field->widths;
    // Three narrow bars, four narrow spaces (gap included), two wide bars, one wide space.
    const int32_t charwidth = 3 * w[0] + 4 * w[1] + 2 * w[2] + w[3];
    kv_status st = kv_c39_cmap(s, m, '*');
    jerr_uperr(&st, kv_codexmap(s, m, kv_c39_cmap, charwidth));
    jerr_uperr(&st, kv_c39_cmap(s, m, '*'));
    return st;
}

kv_status kv_codabar_map(kv_glor* s, kv_mapctx* m) { return kv_codexmap(s, m, kv_codabar_cmap, 0); }

kv_status kv_msi_map(kv_glor* s, kv_mapctx* m) {
    kv_status st = kv_mapbarlist(s, m, 0, codemsi_start);
    if (kv_ok(st)) st = kv_codexmap(s, m, kv_msi_cmap, 0);
    if (kv_ok(st)) st = kv_mapbarlist(s, m, 0, codemsi_stop);
    return st;
}
