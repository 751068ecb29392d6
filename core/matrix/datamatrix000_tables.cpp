#include "core/matrix/datamatrix000_tables.hpp"

#include <array>

// Character bases and their format identifiers (ISO/IEC 16022 Annex I).
constexpr std::array<datamtx000_base, datamtx000_nbases> datamtx_enc000lut = {{
    {11, " 0123456789", 1, 6, 21},
    {27, " ABCDEFGHIJKLMNOPQRSTUVWXYZ", 2, 5, 24},
    {37, " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 4, 4, 21},
    {41, " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,-/", 3, 4, 22},
    {128, nullptr, 5, 1, 7},
    {256, nullptr, 6, 1, 8},
}};
static_assert(datamtx_enc000lut.size() == 6);

// Headers and convolutional codes of the error-correction types (ISO/IEC
// 16022 Annex K and the header table of the ECC 000-140 symbol format).
constexpr std::array<datamtx000_eccxdef, datamtx000_neccxdefs> datamtx_eccxdef_tab = {{
    {0, 126, 1, 1, 0, {1}},
    {50, 57358, 4, 3, 3, {8, 1, 7, 3, 13, 0, 7, 4, 12, 12, 14, 13}},
    {80, 465934, 3, 2, 11, {3442, 281, 1230, 2348, 2160, 3733}},
    {100, 523278, 2, 1, 15, {42977, 55831}},
    {140, 517006, 4, 1, 13, {8779, 9853, 15191, 15199}},
    {-1, 0, 0, 0, 0, {}},
}};
static_assert(datamtx_eccxdef_tab.size() == 6);

namespace {
// Where the table of inner size n starts in the flat array of all sizes.
constexpr int32_t gridoffset(int32_t n) {
    int32_t at = 0;
    for (int32_t s = datamtx000_mininner; s < n; s += 2) at += s * s;
    return at;
}
constexpr int32_t gridtotal = gridoffset(datamtx000_maxinner + 2);

// The module placement of inner size n (ISO/IEC 16022 Annex H, tables H.1
// to H.21). The standard prints the tables without a rule; this rule gives
// every one of them. R is the bit-reversal permutation of 0 .. n - 1 (the
// w-bit reversals of 0 .. 2^w - 1 below n, w the bit width of n - 1); the
// module in row r, column c shows bit n R[(c - 2k) mod n] + R^-1[k] with
// k = n - 1 - r; then bits 0 to 3 trade places with the four corners.
constexpr void fillgrid(std::array<int16_t, gridtotal>& t, int32_t n) {
    int16_t* g = t.data() + gridoffset(n);
    int32_t w = 0;
    while ((1 << w) <= n - 1) ++w;
    int32_t rev[datamtx000_maxinner] = {};
    int32_t inv[datamtx000_maxinner] = {};
    int32_t count = 0;
    for (int32_t v = 0; v < (1 << w); ++v) {
        int32_t r = 0;
        for (int32_t b = 0; b < w; ++b) r |= (v >> b & 1) << (w - 1 - b);
        if (r < n) rev[count++] = r;
    }
    for (int32_t i = 0; i < n; ++i) inv[rev[i]] = i;
    for (int32_t r = 0; r < n; ++r) {
        const int32_t k = n - 1 - r;
        for (int32_t c = 0; c < n; ++c)
            g[r * n + c] = static_cast<int16_t>(n * rev[((c - 2 * k) % n + n) % n] + inv[k]);
    }
    const int32_t corners[4] = {(n - 1) * n, n - 1, 0, n * n - 1}; // for bits 0, 1, 2, 3
    for (int16_t bit = 0; bit < 4; ++bit) {
        int32_t at = 0;
        while (g[at] != bit) ++at;
        g[at] = g[corners[bit]];
        g[corners[bit]] = bit;
    }
}

constexpr std::array<int16_t, gridtotal> makegrids() {
    std::array<int16_t, gridtotal> t{};
    for (int32_t n = datamtx000_mininner; n <= datamtx000_maxinner; n += 2) fillgrid(t, n);
    return t;
}

constexpr std::array<int16_t, gridtotal> gridcells = makegrids();
static_assert(gridcells.size() == 18389);

// Every table shows each stream bit exactly once.
constexpr bool permutations() {
    for (int32_t n = datamtx000_mininner; n <= datamtx000_maxinner; n += 2) {
        std::array<bool, datamtx000_maxbits> seen{};
        for (int32_t i = 0; i < n * n; ++i) {
            const int16_t f = gridcells[gridoffset(n) + i];
            if (f < 0 || f >= n * n || seen[f]) return false;
            seen[f] = true;
        }
    }
    return true;
}
static_assert(permutations());

constexpr std::array<const int16_t*, datamtx000_ngrids> makegridtab() {
    std::array<const int16_t*, datamtx000_ngrids> t{};
    for (int32_t i = 0; i < datamtx000_ngrids; ++i)
        t[i] = gridcells.data() + gridoffset(datamtx000_mininner + 2 * i);
    return t;
}
} // namespace

constexpr std::array<const int16_t*, datamtx000_ngrids> datamtx_gridlutxtab = makegridtab();

// The master random bit stream (ISO/IEC 16022 Annex L); it follows no short
// rule, so it is kept as published. Byte 211 is 0xBC.
constexpr std::array<uint8_t, datamtx000_randbytes> datamtx_randstrm = {
    0x05, 0xFF, 0xC7, 0x31, 0x88, 0xA8, 0x83, 0x9C, 0x64, 0x87, 0x9F, 0x64, 0xB3, 0xE0, 0x4D, 0x9C,
    0x80, 0x29, 0x3A, 0x90, 0xB3, 0x8B, 0x9E, 0x90, 0x45, 0xBF, 0xF5, 0x68, 0x4B, 0x08, 0xCF, 0x44,
    0xB8, 0xD4, 0x4C, 0x5B, 0xA0, 0xAB, 0x72, 0x52, 0x1C, 0xE4, 0xD2, 0x74, 0xA4, 0xDA, 0x8A, 0x08,
    0xFA, 0xA7, 0xC7, 0xDD, 0x00, 0x30, 0xA9, 0xE6, 0x64, 0xAB, 0xD5, 0x8B, 0xED, 0x9C, 0x79, 0xF8,
    0x08, 0xD1, 0x8B, 0xC6, 0x22, 0x64, 0x0B, 0x33, 0x43, 0xD0, 0x80, 0xD4, 0x44, 0x95, 0x2E, 0x6F,
    0x5E, 0x13, 0x8D, 0x47, 0x62, 0x06, 0xEB, 0x80, 0x82, 0xC9, 0x41, 0xD5, 0x73, 0x8A, 0x30, 0x23,
    0x24, 0xE3, 0x7F, 0xB2, 0xA8, 0x0B, 0xED, 0x38, 0x42, 0x4C, 0xD7, 0xB0, 0xCE, 0x98, 0xBD, 0xE1,
    0xD5, 0xE4, 0xC3, 0x1D, 0x15, 0x4A, 0xCF, 0xD1, 0x1F, 0x39, 0x26, 0x18, 0x93, 0xFC, 0x19, 0xB2,
    0x2D, 0xAB, 0xF2, 0x6E, 0xA1, 0x9F, 0xAF, 0xD0, 0x8A, 0x2B, 0xA0, 0x56, 0xB0, 0x41, 0x6D, 0x43,
    0xA4, 0x63, 0xF3, 0xAA, 0x7D, 0xAF, 0x35, 0x57, 0xC2, 0x94, 0x4A, 0x65, 0x0B, 0x41, 0xDE, 0xB8,
    0xE2, 0x30, 0x12, 0x27, 0x9B, 0x66, 0x2B, 0x34, 0x5B, 0xB8, 0x99, 0xE8, 0x28, 0x71, 0xD0, 0x95,
    0x6B, 0x07, 0x4D, 0x3C, 0x7A, 0xB3, 0xE5, 0x29, 0xB3, 0xBA, 0x8C, 0xCC, 0x2D, 0xE0, 0xC9, 0xC0,
    0x22, 0xEC, 0x4C, 0xDE, 0xF8, 0x58, 0x07, 0xFC, 0x19, 0xF2, 0x64, 0xE2, 0xC3, 0xE2, 0xD8, 0xB9,
    0xFD, 0x67, 0xA0, 0xBC, 0xF5, 0x2E, 0xC9, 0x49, 0x75, 0x62, 0x82, 0x27, 0x10, 0xF4, 0x19, 0x6F,
    0x49, 0xF7, 0xB3, 0x84, 0x14, 0xEA, 0xEB, 0xE1, 0x2A, 0x31, 0xAB, 0x47, 0x7D, 0x08, 0x29, 0xAC,
    0xBB, 0x72, 0xFA, 0xFA, 0x62, 0xB8, 0xC8, 0xD3, 0x86, 0x89, 0x95, 0xFD, 0xDF, 0xCC, 0x9C, 0xAD,
    0xF1, 0xD4, 0x6C, 0x64, 0x23, 0x24, 0x2A, 0x56, 0x1F, 0x36, 0xEB, 0xB7, 0xD6, 0xFF, 0xDA, 0x57,
    0xF4, 0x50, 0x79, 0x08, 0x00, 0x00,
};
static_assert(datamtx_randstrm.size() == 278);
