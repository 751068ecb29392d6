// Aztec symbol construction: geometry and capacities, the choice of symbol
// size, Galois fields and Reed-Solomon (against arithmetic written here from
// the definitions), the mode message, runes and whole symbols module by
// module.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/matrix/aztec.hpp"
#include "core/matrix/aztec_internal.hpp"
#include "tests/support/sha256.hpp"

namespace {
// ---- reference arithmetic, independent of the encoder's tables ----

// Carry-less product reduced by the field polynomial.
uint32_t gfmul(uint32_t a, uint32_t b, int w, uint32_t poly) {
    uint32_t r = 0;
    for (int i = w - 1; i >= 0; --i) {
        r <<= 1;
        if (r >> w) r ^= poly;
        if ((b >> i) & 1) r ^= a;
    }
    return r;
}

uint32_t gfpow(uint32_t a, int e, int w, uint32_t poly) {
    uint32_t r = 1;
    for (int i = 0; i < e; ++i) r = gfmul(r, a, w, poly);
    return r;
}

struct fielddef {
    int w;
    uint32_t poly;
};
// Primitive polynomials of ISO/IEC 24778 (mode message and 6- to 12-bit words).
constexpr fielddef fielddefs[] = {{4, 0x13}, {6, 0x43}, {8, 0x12D}, {10, 0x409}, {12, 0x1069}};

// The codeword polynomial (first word highest) at alpha^i, i = 1..ncheck,
// must vanish for a Reed-Solomon code whose generator has those roots.
bool syndromeszero(const std::vector<uint16_t>& cw, int ncheck, fielddef f) {
    for (int i = 1; i <= ncheck; ++i) {
        const uint32_t x = gfpow(2, i, f.w, f.poly);
        uint32_t acc = 0;
        for (uint16_t c : cw) acc = gfmul(acc, x, f.w, f.poly) ^ c;
        if (acc != 0) return false;
    }
    return true;
}

// ---- symbols ----

struct symbol {
    int ok = 0;
    aztec_state st;
    symbol(const std::string& data, int32_t options = 0, int32_t layers = 0, int32_t ecc = 23) {
        aztec_open(&st);
        st.options = options;
        st.layers = layers;
        st.eccpercent = ecc;
        ok = aztec_imagecalc(&st, data.data(), static_cast<int32_t>(data.size()));
    }
    ~symbol() { aztec_close(&st); }
    bool dark(int x, int y) const { return (st.map[y * st.rowbytes + x / 8] >> (x % 8)) & 1; }
    std::vector<std::string> rows() const {
        std::vector<std::string> r;
        for (int y = 0; y < st.side; ++y) {
            std::string s;
            for (int x = 0; x < st.side; ++x) s += dark(x, y) ? '#' : '.';
            r.push_back(s);
        }
        return r;
    }
    std::string text() const {
        std::string s;
        for (const std::string& r : rows()) s += r + "\n";
        return s;
    }
};
} // namespace

// Symbol sides and codeword counts as the standard tabulates them (ISO/IEC 24778).
TEST(AztecGeometry, SidesAndCapacities) {
    struct row {
        int layers, side, words;
    };
    const row compact[] = {{1, 15, 17}, {2, 19, 40}, {3, 23, 51}, {4, 27, 76}};
    const row full[] = {{1, 19, 21},     {2, 23, 48},     {3, 27, 60},     {4, 31, 88},
                        {5, 37, 120},    {6, 41, 156},    {7, 45, 196},    {8, 49, 240},
                        {9, 53, 230},    {10, 57, 272},   {11, 61, 316},   {12, 67, 364},
                        {13, 71, 416},   {14, 75, 470},   {15, 79, 528},   {16, 83, 588},
                        {17, 87, 652},   {18, 91, 720},   {19, 95, 790},   {20, 101, 864},
                        {21, 105, 940},  {22, 109, 1020}, {23, 113, 920},  {24, 117, 992},
                        {25, 121, 1066}, {26, 125, 1144}, {27, 131, 1224}, {28, 135, 1306},
                        {29, 139, 1392}, {30, 143, 1480}, {31, 147, 1570}, {32, 151, 1664}};
    for (const row& r : compact) {
        SCOPED_TRACE("compact " + std::to_string(r.layers));
        EXPECT_EQ(aztec_symbolside(1, r.layers), r.side);
        EXPECT_EQ(aztec_capacity(1, r.layers), r.words * aztec_wordsize(r.layers));
    }
    for (const row& r : full) {
        SCOPED_TRACE("full " + std::to_string(r.layers));
        EXPECT_EQ(aztec_symbolside(0, r.layers), r.side);
        EXPECT_EQ(aztec_capacity(0, r.layers), r.words * aztec_wordsize(r.layers));
    }
    EXPECT_EQ(aztec_symbolside(1, 0), 11) << "rune";
    EXPECT_EQ(aztec_wordsize(2), 6);
    EXPECT_EQ(aztec_wordsize(3), 8);
    EXPECT_EQ(aztec_wordsize(9), 10);
    EXPECT_EQ(aztec_wordsize(23), 12);
}

// Which symbol the capacity rule chooses; every expectation is worked out by
// hand from the rule (data bits scaled by 100 / (100 - ecc), plus a margin of
// 299 / (100 - ecc) + 1 codewords, within the layers' capacity).
TEST(AztecGeometry, SymbolChoice) {
    const std::string nul26(26, '\0');
    struct row {
        const char* name;
        std::string data;
        int32_t options, layers, ecc;
        int compact;
        int32_t chosen, side;
    } rows[] = {
        {"one letter: compact 1 (worked example)", "A", 0, 0, 23, 1, 1, 15},
        {"F: full-range 1 (worked example)", "A", AZTEC_OPT_FULLRANGE, 0, 23, 0, 1, 19},
        {"W5: full-range 5 (worked example)", "A", 0, 5, 23, 0, 5, 37},
        {"W3: compact 3", "A", 0, 3, 23, 1, 3, 23},
        {"F W3: full-range 3", "A", AZTEC_OPT_FULLRANGE, 3, 23, 0, 3, 27},
        {"W40 clamps to 32", "A", 0, 40, 23, 0, 32, 151},
        {"C option changes nothing", "A", AZTEC_OPT_COMPAT, 0, 23, 1, 1, 15},
        // 60 bits: 78 + 4 x 6 = 102 fits 17 words of 6 bits; 65 bits need 109.
        {"12 letters fill compact 1", std::string(12, 'A'), 0, 0, 23, 1, 1, 15},
        {"13 letters: compact 2", std::string(13, 'A'), 0, 0, 23, 1, 2, 19},
        // 1 letter at 99 %: 500 + 300 words; 12 layers hold 364 x 10 >= 3500.
        {"C99: full-range 12", "A", 0, 0, 99, 0, 12, 67},
        {"C0: compact 1", "A", 0, 0, 0, 1, 1, 15},
        // 218 bits pass compact 2 (236 <= 240) but stuffing makes 44 words of
        // 6 bits; compact 3 takes them as 31 words of 8 bits.
        {"C0, 26 NUL bytes: stuffing pushes to compact 3", nul26, 0, 0, 0, 1, 3, 23},
        // 510 bits are 64 words of 8 bits: the most a compact mode message can
        // count. 515 bits (65 words) would fit the 76 words of compact 4.
        {"C0, 102 letters: compact 4", std::string(102, 'A'), 0, 0, 0, 1, 4, 27},
        {"C0, 103 letters: full-range 5", std::string(103, 'A'), 0, 0, 0, 0, 5, 37},
        {"menu, short: compact 1", "A", AZTEC_OPT_MENU, 0, 23, 1, 1, 15},
        {"menu past compact 1: full-range 2", std::string(13, 'A'), AZTEC_OPT_MENU, 0, 23, 0, 2,
         23},
        {"menu W22: full-range 22", "A", AZTEC_OPT_MENU, 22, 23, 0, 22, 109},
        // 3067 letters: (1533500 - 1) / 77 + 1 + 4 x 12 = 19964 <= 19968.
        {"longest run of letters: full-range 32", std::string(3067, 'A'), 0, 0, 23, 0, 32, 151},
        {"rune", "42", AZTEC_OPT_RUNE, 7, 23, 1, 0, 11},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        symbol s(r.data, r.options, r.layers, r.ecc);
        ASSERT_EQ(s.ok, 1) << "err " << s.st.err;
        EXPECT_EQ(s.st.compact, r.compact);
        EXPECT_EQ(s.st.layers, r.chosen);
        EXPECT_EQ(s.st.side, r.side);
        EXPECT_EQ(s.st.rowbytes, (r.side - 1) / 8 + 1);
        EXPECT_EQ(s.st.maplen, s.st.rowbytes * r.side);
    }
}

TEST(AztecGeometry, Failures) {
    struct row {
        const char* name;
        const char* data;
        int32_t length, options, layers, ecc, err;
    } rows[] = {
        {"ECC 100", "A", 1, 0, 0, 100, AZTEC_ERR_ECC},
        {"ECC negative", "A", 1, 0, 0, -1, AZTEC_ERR_ECC},
        {"no data pointer", nullptr, 5, 0, 0, 23, AZTEC_ERR_NODATA},
        {"empty", "", 0, 0, 0, 23, AZTEC_ERR_BADDATA},
        {"empty, NUL-terminated", "", -1, 0, 0, 23, AZTEC_ERR_BADDATA},
        {"rune 256", "256", 3, AZTEC_OPT_RUNE, 0, 23, AZTEC_ERR_BADDATA},
        {"rune empty", "", 0, AZTEC_OPT_RUNE, 0, 23, AZTEC_ERR_BADDATA},
        {"rune 12A", "12A", 3, AZTEC_OPT_RUNE, 0, 23, AZTEC_ERR_BADDATA},
        {"rune signed", "-1", 2, AZTEC_OPT_RUNE, 0, 23, AZTEC_ERR_BADDATA},
        {"rune huge", "99999999999999999999", -1, AZTEC_OPT_RUNE, 0, 23, AZTEC_ERR_BADDATA},
        {"menu from 23 layers", "A", 1, AZTEC_OPT_MENU, 23, 23, AZTEC_ERR_TOOLONG},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        aztec_state st;
        aztec_open(&st);
        st.options = r.options;
        st.layers = r.layers;
        st.eccpercent = r.ecc;
        EXPECT_EQ(aztec_imagecalc(&st, r.data, r.length), 0);
        EXPECT_EQ(st.err, r.err);
        EXPECT_FALSE(st.map);
    }
    // The longest run of letters and one more (hand-computed in SymbolChoice),
    // and a stream that overflows the bit buffer before any sizing.
    for (const std::string& data : {std::string(3068, 'A'), std::string(2500, '\x80')}) {
        symbol s(data);
        EXPECT_EQ(s.ok, 0);
        EXPECT_EQ(s.st.err, AZTEC_ERR_TOOLONG);
    }
    EXPECT_EQ(aztec_imagecalc(nullptr, "A", 1), 0);
}

TEST(AztecGeometry, FailureKeepsThePreviousSymbol) {
    symbol s("HELLO");
    ASSERT_EQ(s.ok, 1);
    const std::string before = s.text();
    const uint8_t* map = s.st.map.get();
    const std::string longer(3068, 'A');
    EXPECT_EQ(aztec_imagecalc(&s.st, longer.data(), 3068), 0);
    EXPECT_EQ(s.st.err, AZTEC_ERR_TOOLONG);
    EXPECT_EQ(s.st.map.get(), map);
    EXPECT_EQ(s.st.side, 15);
    EXPECT_EQ(s.text(), before);
    // A later success rebuilds, starting from the layers chosen before.
    EXPECT_EQ(aztec_imagecalc(&s.st, "A", -1), 1);
    EXPECT_EQ(s.st.err, 0);
    EXPECT_EQ(s.text(), symbol("A").text());
}

TEST(AztecGaloisField, TablesFollowThePolynomials) {
    for (const fielddef& f : fielddefs) {
        SCOPED_TRACE("GF(2^" + std::to_string(f.w) + ")");
        const aztec_gf* gf = aztec_gfield(f.w);
        ASSERT_NE(gf, nullptr);
        EXPECT_EQ(gf->size, 1 << f.w);
        // alpha^w is the polynomial without its top term.
        EXPECT_EQ(gf->alog[f.w], f.poly ^ (1u << f.w));
        // alpha is primitive: its powers visit every non-zero element once,
        // and log inverts antilog.
        std::vector<bool> seen(gf->size, false);
        for (int i = 0; i < gf->size - 1; ++i) {
            const uint16_t v = gf->alog[i];
            ASSERT_TRUE(v != 0 && !seen[v]) << "alpha^" << i;
            seen[v] = true;
            EXPECT_EQ(gf->log[v], i);
            EXPECT_EQ(gf->alog[i + gf->size - 1], v);
        }
    }
    EXPECT_EQ(aztec_gfield(5), nullptr);
}

TEST(AztecGaloisField, ProductMatchesCarrylessMultiplication) {
    std::mt19937 rng(24778);
    for (const fielddef& f : fielddefs) {
        SCOPED_TRACE("GF(2^" + std::to_string(f.w) + ")");
        const aztec_gf* gf = aztec_gfield(f.w);
        std::uniform_int_distribution<uint32_t> any(0, (1u << f.w) - 1);
        for (int i = 0; i < 2000; ++i) {
            const uint32_t a = i < 16 ? static_cast<uint32_t>(i) : any(rng);
            const uint32_t b = any(rng);
            ASSERT_EQ(aztec_gfprod(gf, a, b), gfmul(a, b, f.w, f.poly)) << a << " x " << b;
        }
    }
}

TEST(AztecReedSolomon, CheckWordsMakeEverySyndromeZero) {
    std::mt19937 rng(151);
    struct row {
        int w, ndata, ncheck;
    } rows[] = {{4, 2, 5},    {4, 4, 6},     {6, 1, 16},     {6, 30, 10},   {8, 40, 36},
                {10, 700, 5}, {10, 3, 1017}, {12, 768, 298}, {12, 14, 1650}};
    for (const row& r : rows) {
        SCOPED_TRACE("w " + std::to_string(r.w) + " data " + std::to_string(r.ndata) + " check " +
                     std::to_string(r.ncheck));
        const fielddef f = *std::find_if(std::begin(fielddefs), std::end(fielddefs),
                                         [&](const fielddef& d) { return d.w == r.w; });
        std::uniform_int_distribution<uint32_t> any(0, (1u << r.w) - 1);
        std::vector<uint16_t> cw(r.ndata + r.ncheck);
        for (int i = 0; i < r.ndata; ++i) cw[i] = static_cast<uint16_t>(any(rng));
        const std::vector<uint16_t> data(cw.begin(), cw.begin() + r.ndata);
        ASSERT_EQ(aztec_rscalc(r.w, cw.data(), r.ndata, r.ncheck), 1);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), cw.begin())) << "data words untouched";
        // Long generators make the reference slow; check a prefix of roots.
        EXPECT_TRUE(syndromeszero(cw, std::min(r.ncheck, 40), f));
    }
    uint16_t w[4] = {1, 2, 3, 4};
    EXPECT_EQ(aztec_rscalc(7, w, 2, 2), 0);
    EXPECT_EQ(aztec_rscalc(6, w, 1000, 1000), 0);
    EXPECT_EQ(aztec_rscalc(6, w, 4, 0), 1);
    uint16_t outside[4] = {1, 64, 0, 0};
    EXPECT_EQ(aztec_rscalc(6, outside, 2, 2), 0) << "64 is not an element of GF(64)";
}

TEST(AztecModeMessage, FieldsAndCheckWords) {
    struct row {
        const char* name;
        int compact;
        int32_t layers, datawords;
        int menu;
        const char* databits; // layers - 1, then data words - 1 (menu: top bit set)
    } rows[] = {
        {"compact 1 layer, 1 word", 1, 1, 1, 0,
         "00"
         "000000"},
        {"compact 4 layers, 64 words", 1, 4, 64, 0,
         "11"
         "111111"},
        {"compact menu, 3 words", 1, 1, 3, 1,
         "00"
         "100010"},
        {"full 5 layers, 10 words", 0, 5, 10, 0,
         "00100"
         "00000001001"},
        {"full 32 layers, 1664 words", 0, 32, 1664, 0,
         "11111"
         "11001111111"},
        {"full menu 22 layers, 1020 words", 0, 22, 1020, 1,
         "10101"
         "11111111011"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        uint8_t bits[40];
        const int n = aztec_modeencode(r.compact, r.layers, r.datawords, r.menu, bits);
        ASSERT_EQ(n, r.compact ? 28 : 40);
        std::string got;
        for (int i = 0; i < n; ++i) got += bits[i] ? '1' : '0';
        EXPECT_EQ(got.substr(0, std::strlen(r.databits)), r.databits);
        std::vector<uint16_t> words;
        for (int i = 0; i < n; i += 4)
            words.push_back(static_cast<uint16_t>(bits[i] << 3 | bits[i + 1] << 2 |
                                                  bits[i + 2] << 1 | bits[i + 3]));
        EXPECT_TRUE(syndromeszero(words, r.compact ? 5 : 6, fielddefs[0]));
    }
    uint8_t bits[40];
    EXPECT_EQ(aztec_modeencode(1, 5, 1, 0, bits), 0);
    EXPECT_EQ(aztec_modeencode(1, 4, 65, 0, bits), 0);
    EXPECT_EQ(aztec_modeencode(0, 33, 1, 0, bits), 0);
}

// A rune built here from the standard's construction: bullseye of a compact
// symbol, orientation marks, and a mode message of the value's two nibbles
// with five GF(16) check words, every word exclusive-ored with 1010.
std::vector<std::string> runemodel(int value) {
    std::vector<std::string> g(11, std::string(11, '.'));
    auto set = [&](int x, int y) { g[y][x] = '#'; };
    const int f = 5;
    set(f, f);
    for (int d : {2, 4})
        for (int t = -d; t <= d; ++t) {
            set(f + t, f - d);
            set(f + t, f + d);
            set(f - d, f + t);
            set(f + d, f + t);
        }
    set(0, 0), set(1, 0), set(0, 1), set(10, 0), set(10, 1), set(10, 9);
    // Check words: remainder of (v1 x^6 + v0 x^5) by (x - a)(x - a^2)...(x - a^5).
    std::vector<uint32_t> gen{1};
    for (int i = 1; i <= 5; ++i) {
        std::vector<uint32_t> next(gen.size() + 1, 0);
        const uint32_t root = gfpow(2, i, 4, 0x13);
        for (size_t j = 0; j < gen.size(); ++j) {
            next[j] ^= gen[j];
            next[j + 1] ^= gfmul(gen[j], root, 4, 0x13);
        }
        gen = next; // highest power first
    }
    std::vector<uint32_t> msg{
        static_cast<uint32_t>(value >> 4), static_cast<uint32_t>(value & 15), 0, 0, 0, 0, 0};
    std::vector<uint32_t> rem = msg;
    for (size_t i = 0; i < 2; ++i) {
        const uint32_t c = rem[i];
        for (size_t j = 0; j < gen.size(); ++j) rem[i + j] ^= gfmul(gen[j], c, 4, 0x13);
    }
    for (size_t i = 2; i < 7; ++i) msg[i] = rem[i];
    std::vector<int> bits;
    for (uint32_t w : msg)
        for (int b = 3; b >= 0; --b) bits.push_back(((w ^ 0xA) >> b) & 1);
    // Clockwise from two modules right of the top-left corner of the ring.
    for (int i = 0; i < 7; ++i) {
        if (bits[i]) set(2 + i, 0);
        if (bits[7 + i]) set(10, 2 + i);
        if (bits[14 + i]) set(8 - i, 10);
        if (bits[21 + i]) set(0, 8 - i);
    }
    return g;
}

TEST(AztecRune, EveryValueFollowsTheConstruction) {
    for (int v = 0; v <= 255; ++v) {
        SCOPED_TRACE("rune " + std::to_string(v));
        symbol s(std::to_string(v), AZTEC_OPT_RUNE);
        ASSERT_EQ(s.ok, 1);
        ASSERT_EQ(s.rows(), runemodel(v));
    }
}

// Runes 0, 25 and 255 module by module; an independent encoder (libzint 2.11)
// prints the same modules.
TEST(AztecRune, PublishedValues) {
    struct row {
        const char* data;
        std::vector<std::string> rows;
    } rows[] = {
        {"0",
         {"###.#.#.#.#", "###########", ".#.......#.", "##.#####.##", ".#.#...#.#.", "##.#.#.#.##",
          ".#.#...#.#.", "##.#####.##", ".#.......#.", ".##########", "..#.#.#.#.."}},
        {"25",
         {"###.##..#.#", "###########", ".#.......##", ".#.#####.##", ".#.#...#.#.", "##.#.#.#.##",
          "##.#...#.##", "##.#####.#.", "##.......##", ".##########", "..#..#....."}},
        {"255",
         {"##.#.#.#..#", "###########", ".#.......##", "##.#####.##", "##.#...#.##", ".#.#.#.#.##",
          ".#.#...#.#.", "##.#####.##", "##.......#.", ".##########", "..##..###.."}},
        {"007", {}}, // leading zeros: the rune of 7
    };
    rows[3].rows = runemodel(7);
    for (const row& r : rows) {
        SCOPED_TRACE(r.data);
        symbol s(r.data, AZTEC_OPT_RUNE, 5);
        ASSERT_EQ(s.ok, 1);
        EXPECT_EQ(s.st.layers, 0);
        EXPECT_EQ(s.rows(), r.rows);
    }
}

// Whole symbols module by module: the finder, orientation marks, reference
// grid, mode message and data layers together. Each expectation is the symbol
// an independent encoder (libzint 2.11) prints for the same data and size,
// whose high-level encoding of these texts is the same as ours; large ones are
// given as the SHA-256 of their rows ('#' dark, '.' light, LF after each row).
TEST(AztecSymbol, IdenticalToAnIndependentEncoder) {
    {
        symbol s("A");
        const std::vector<std::string> expected = {
            "....##...####.#", "..###..#..##...", ".###........#..", ".#############.",
            "#..#.......#.#.", "##.#.#####.#...", "##.#.#...#.#.#.", "#..#.#.#.#.#...",
            "#..#.#...#.#.##", "#..#.#####.#..#", "...#.......#.#.", "#..##########..",
            "#.............#", "##.##....#.##..", ".#...#.#..#.##."};
        EXPECT_EQ(s.rows(), expected);
    }
    {
        symbol s("A", AZTEC_OPT_FULLRANGE);
        const std::vector<std::string> expected = {
            "..#...#...#...##.#.", "....#....###...#...", ".###............#.#",
            ".##################", "...#...........#..#", "#..#.#########.#.#.",
            "...#.#.......#.#.#.", ".#.#.#.#####.#.#.#.", "#..#.#.#...#.#.#.##",
            ".#.#.#.#.#.#.#.#.#.", "#..#.#.#...#.#.#...", "#..#.#.#####.#.#.#.",
            ".#.#.#.......#.#.#.", "##.#.#########.#.##", "#..#...........#.##",
            "...##############..", "##...............##", "##.....#######..#.#",
            "#..##..#..#.#.#.#.."};
        EXPECT_EQ(s.rows(), expected);
    }
    struct row {
        const char* data;
        int32_t layers;
        int32_t side;
        const char* sha;
    } rows[] = {
        {"A", 4, 27, "c73e5d94d3ad1c99fe602883e496d461addcbc7a0bc324a057bb6e7eb26fed06"},
        {"A", 5, 37, "4c35ddcc2241423b314dcd409f454983435e8b08058143659ce725d5a5e058d9"},
        {"AB", 12, 67, "73fc7adaebad4f9f36bc8ca0857c1af92d82dfb90a086ac5d875d8de0fb75886"},
        {"A", 32, 151, "f1083ea8dec3842033f0a61bcdf32a7856c72fa9430a2b35c9614e65820ed197"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.data) + " in " + std::to_string(r.layers) + " layers");
        symbol s(r.data, 0, r.layers);
        ASSERT_EQ(s.st.side, r.side);
        EXPECT_EQ(sha256_hex(s.text()), r.sha);
    }
}

// The fixed pattern of a full-range symbol: the reference grid runs every 16
// modules from the centre across the whole symbol, dark at even distances
// from the centre; the finder rings alternate out to the mode-message ring.
TEST(AztecSymbol, ReferenceGridAndFinder) {
    symbol s("A", 0, 32);
    ASSERT_EQ(s.st.side, 151);
    const int f = 75;
    for (int line = f % 16; line < 151; line += 16) {
        for (int t = 0; t < 151; ++t) {
            const int d = std::abs(t - f);
            if (std::abs(line - f) <= 7 && d <= 7) continue; // inside the core
            SCOPED_TRACE("line " + std::to_string(line) + " at " + std::to_string(t));
            ASSERT_EQ(s.dark(line, t), d % 2 == 0);
            ASSERT_EQ(s.dark(t, line), d % 2 == 0);
        }
    }
    for (int y = f - 6; y <= f + 6; ++y) {
        for (int x = f - 6; x <= f + 6; ++x) {
            const int ring = std::max(std::abs(x - f), std::abs(y - f));
            ASSERT_EQ(s.dark(x, y), ring % 2 == 0) << x << "," << y;
        }
    }
}

TEST(AztecPaint, OneRectanglePerDarkModuleInRowOrder) {
    struct rect {
        int32_t x, y, w, h;
    };
    std::vector<rect> got;
    auto plot = [](void* arg, int32_t x, int32_t y, int32_t w, int32_t h) -> uint32_t {
        static_cast<std::vector<rect>*>(arg)->push_back({x, y, w, h});
        return 1;
    };
    symbol s("Paint me");
    s.st.modwidth = 3;
    s.st.modheight = 2;
    EXPECT_EQ(aztec_imagewide(&s.st), 3 * s.st.side);
    EXPECT_EQ(aztec_imagedeep(&s.st), 2 * s.st.side);
    EXPECT_EQ(aztec_imagepaint(&s.st), 1) << "no callback: nothing to do";
    ASSERT_EQ(aztec_setcallback(&s.st, plot, &got), 1);
    EXPECT_EQ(aztec_imagepaint(&s.st), 1);
    std::vector<rect> want;
    for (int y = 0; y < s.st.side; ++y)
        for (int x = 0; x < s.st.side; ++x)
            if (s.dark(x, y)) want.push_back({3 * x, 2 * y, 3, 2});
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].x, want[i].x) << i;
        ASSERT_EQ(got[i].y, want[i].y) << i;
        ASSERT_EQ(got[i].w, 3);
        ASSERT_EQ(got[i].h, 2);
    }
    EXPECT_EQ(aztec_imagewide(nullptr), 0);
    EXPECT_EQ(aztec_imagedeep(nullptr), 0);
    EXPECT_EQ(aztec_open(nullptr), 0);
    EXPECT_EQ(aztec_close(nullptr), 0);
    EXPECT_EQ(aztec_setcallback(nullptr, plot, nullptr), 0);
    EXPECT_EQ(aztec_imagepaint(nullptr), 0);
}
