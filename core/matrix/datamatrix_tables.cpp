#include "core/matrix/datamatrix_tables.hpp"

#include <array>

// ECC200 symbol attributes (ISO/IEC 16022 Table 7): square sizes, then the
// rectangular ones.
constexpr datamtx200_symdef datamtx200_symdeftab[datamtx200_nsymdefs] = {
    // width, height, matrix w/h, region w/h, total, data, check, blocks, check/block
    {10, 10, 8, 8, 8, 8, 8, 3, 5, 1, 5},
    {12, 12, 10, 10, 10, 10, 12, 5, 7, 1, 7},
    {14, 14, 12, 12, 12, 12, 18, 8, 10, 1, 10},
    {16, 16, 14, 14, 14, 14, 24, 12, 12, 1, 12},
    {18, 18, 16, 16, 16, 16, 32, 18, 14, 1, 14},
    {20, 20, 18, 18, 18, 18, 40, 22, 18, 1, 18},
    {22, 22, 20, 20, 20, 20, 50, 30, 20, 1, 20},
    {24, 24, 22, 22, 22, 22, 60, 36, 24, 1, 24},
    {26, 26, 24, 24, 24, 24, 72, 44, 28, 1, 28},
    {32, 32, 28, 28, 14, 14, 98, 62, 36, 1, 36},
    {36, 36, 32, 32, 16, 16, 128, 86, 42, 1, 42},
    {40, 40, 36, 36, 18, 18, 162, 114, 48, 1, 48},
    {44, 44, 40, 40, 20, 20, 200, 144, 56, 1, 56},
    {48, 48, 44, 44, 22, 22, 242, 174, 68, 1, 68},
    {52, 52, 48, 48, 24, 24, 288, 204, 84, 2, 42},
    {64, 64, 56, 56, 14, 14, 392, 280, 112, 2, 56},
    {72, 72, 64, 64, 16, 16, 512, 368, 144, 4, 36},
    {80, 80, 72, 72, 18, 18, 648, 456, 192, 4, 48},
    {88, 88, 80, 80, 20, 20, 800, 576, 224, 4, 56},
    {96, 96, 88, 88, 22, 22, 968, 696, 272, 4, 68},
    {104, 104, 96, 96, 24, 24, 1152, 816, 336, 6, 56},
    {120, 120, 108, 108, 18, 18, 1458, 1050, 408, 6, 68},
    {132, 132, 120, 120, 20, 20, 1800, 1304, 496, 8, 62},
    {144, 144, 132, 132, 22, 22, 2178, 1558, 620, 10, 62},
    {18, 8, 16, 6, 16, 6, 12, 5, 7, 1, 7},
    {32, 8, 28, 6, 14, 6, 21, 10, 11, 1, 11},
    {26, 12, 24, 10, 24, 10, 30, 16, 14, 1, 14},
    {36, 12, 32, 10, 16, 10, 40, 22, 18, 1, 18},
    {36, 16, 32, 14, 16, 14, 56, 32, 24, 1, 24},
    {48, 16, 44, 14, 22, 14, 77, 49, 28, 1, 28},
    {-1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
};
static_assert(sizeof datamtx200_symdeftab / sizeof datamtx200_symdeftab[0] == 31);

namespace {
constexpr galois_field gf = datamtx_gf256;

constexpr std::array<uint8_t, 256> makepwr() {
    std::array<uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(gf.alog[i]);
    return t;
}

constexpr std::array<uint8_t, 256> makelog() {
    std::array<uint8_t, 256> t{};
    for (int v = 1; v < 256; ++v) t[v] = static_cast<uint8_t>(gf.log[v]);
    return t;
}

// (x - alpha^1)(x - alpha^2)...(x - alpha^n), coefficients below the leading
// term, highest degree first.
constexpr datamtx200_poly makepoly(int32_t n) {
    uint8_t c[69] = {}; // c[k]: coefficient of x^k
    galois_generator(gf.log, gf.alog, gf.size, n, c);
    datamtx200_poly p{};
    p.n = n;
    for (int32_t k = 0; k < n; ++k) p.coef[k] = c[n - 1 - k];
    return p;
}

// Value of a character in the C40 set (text = false) or the Text set: the
// basic set as is, a shift set s as value + 256 s.
constexpr int16_t ctextvalue(int c, bool text) {
    const int basic = text ? 'a' : 'A';
    const int other = text ? 'A' : 'a';
    if (c == ' ') return 3;
    if (c >= '0' && c <= '9') return static_cast<int16_t>(c - '0' + 4);
    if (c >= basic && c <= basic + 25) return static_cast<int16_t>(c - basic + 14);
    if (c < 32) return static_cast<int16_t>(256 + c);                     // Shift 1: controls
    if (c >= '!' && c <= '/') return static_cast<int16_t>(512 + c - '!'); // Shift 2
    if (c >= ':' && c <= '@') return static_cast<int16_t>(512 + c - ':' + 15);
    if (c >= '[' && c <= '_') return static_cast<int16_t>(512 + c - '[' + 22);
    if (c == '`') return 768; // Shift 3
    if (c >= other && c <= other + 25) return static_cast<int16_t>(768 + c - other + 1);
    return static_cast<int16_t>(768 + c - '{' + 27); // { | } ~ DEL
}

constexpr int16_t x12value(int c) {
    if (c == 13) return 0;
    if (c == '*') return 1;
    if (c == '>') return 2;
    if (c == ' ') return 3;
    if (c >= '0' && c <= '9') return static_cast<int16_t>(c - '0' + 4);
    if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(c - 'A' + 14);
    return -1;
}

constexpr int16_t edifactvalue(int c) {
    if (c >= 32 && c <= 94) return static_cast<int16_t>(c & 63);
    return -1;
}

constexpr std::array<std::array<int16_t, 128>, 4> makecsets() {
    std::array<std::array<int16_t, 128>, 4> t{};
    for (int c = 0; c < 128; ++c) {
        t[0][c] = ctextvalue(c, false);
        t[1][c] = ctextvalue(c, true);
        t[2][c] = x12value(c);
        t[3][c] = edifactvalue(c);
    }
    return t;
}

constexpr std::array<uint8_t, datamtx200_maxdata> makepads() {
    std::array<uint8_t, datamtx200_maxdata> t{};
    for (int32_t i = 0; i < datamtx200_maxdata; ++i) {
        const int32_t v = 129 + (149 * (i + 1)) % 253 + 1;
        t[i] = static_cast<uint8_t>(v <= 254 ? v : v - 254);
    }
    return t;
}
} // namespace

constexpr std::array<uint8_t, 256> datamtx_gf256pwrlut = makepwr();
constexpr std::array<uint8_t, 256> datamtx_gf256loglut = makelog();

// Generators of the check codeword counts the symbol sizes use.
constexpr std::array<datamtx200_poly, datamtx200_npolys> datamtx200_polytab = {
    makepoly(5),  makepoly(7),  makepoly(10), makepoly(11), makepoly(12), makepoly(14),
    makepoly(18), makepoly(20), makepoly(24), makepoly(28), makepoly(36), makepoly(42),
    makepoly(48), makepoly(56), makepoly(62), makepoly(68),
};

// C40, Text, X12 and EDIFACT character values (ISO/IEC 16022 Tables C.1,
// C.2, C.3 and the EDIFACT set), computed from the set definitions above.
constexpr std::array<std::array<int16_t, 128>, 4> datamtx_csettab = makecsets();

constexpr std::array<uint8_t, datamtx200_maxdata> datamtx200_padtab = makepads();

// ECC200 placement (ISO/IEC 16022 Annex F): the utah shape from its anchor
// and the four corner shapes, (column, row), bit 7 first.
constexpr datamtx200_offset datamtx200_utahshape[8] = {{-2, -2}, {-1, -2}, {-2, -1}, {-1, -1},
                                                       {0, -1},  {-2, 0},  {-1, 0},  {0, 0}};
constexpr datamtx200_offset datamtx200_corner1[8] = {{0, -1}, {1, -1}, {2, -1}, {-2, 0},
                                                     {-1, 0}, {-1, 1}, {-1, 2}, {-1, 3}};
constexpr datamtx200_offset datamtx200_corner2[8] = {{0, -3}, {0, -2}, {0, -1}, {-4, 0},
                                                     {-3, 0}, {-2, 0}, {-1, 0}, {-1, 1}};
constexpr datamtx200_offset datamtx200_corner3[8] = {{0, -3}, {0, -2}, {0, -1}, {-2, 0},
                                                     {-1, 0}, {-1, 1}, {-1, 2}, {-1, 3}};
constexpr datamtx200_offset datamtx200_corner4[8] = {{0, -1}, {-1, -1}, {-3, 0}, {-2, 0},
                                                     {-1, 0}, {-3, 1},  {-2, 1}, {-1, 1}};

// Spot checks against the standard's published values.
static_assert(datamtx_gf256pwrlut[8] == 45 && datamtx_gf256pwrlut[254] == 150);
static_assert(datamtx200_polytab[0].n == 5 && datamtx200_polytab[0].coef[0] == 62 &&
              datamtx200_polytab[0].coef[1] == 111 && datamtx200_polytab[0].coef[4] == 228);
static_assert(galois_mul(datamtx_gf256, 2, 128) == 45 && galois_mul(datamtx_gf256, 150, 2) == 1);
static_assert(datamtx200_polytab.size() == 16 && datamtx_csettab[0].size() == 128);
