#include "core/matrix/galois.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace {
// Field product by shift and add, independent of the tables under test.
int32_t slowmul(int32_t a, int32_t b, int32_t size, int32_t poly) {
    int32_t r = 0;
    while (b != 0) {
        if (b & 1) r ^= a;
        b >>= 1;
        a <<= 1;
        if (a >= size) a ^= poly;
    }
    return r;
}

// c(alpha^i) for the code word c (highest-order coefficient first).
int32_t evaluate(const std::vector<int32_t>& c, int32_t x, int32_t size, int32_t poly) {
    int32_t r = 0;
    for (int32_t v : c) r = slowmul(r, x, size, poly) ^ v;
    return r;
}

struct Galois {
    galois_ctx ctx;
    Galois() { galois_open(&ctx); }
    ~Galois() { galois_close(&ctx); }
};
} // namespace

TEST(Galois, FieldArithmetic) {
    Galois g;
    ASSERT_EQ(galois_calclogluts(&g.ctx, 64, 0x43), 1);
    // x^6 = x + 1 modulo x^6 + x + 1, so alpha^6 = 3; alpha^62 = alpha^-1 is
    // 0x21 (2 * 0x21 = 0x42 = 0x43 + 1).
    EXPECT_EQ(g.ctx.alog[6], 3);
    EXPECT_EQ(g.ctx.log[3], 6);
    EXPECT_EQ(galois_GFdiv(&g.ctx, 1, 2), 0x21);
    EXPECT_EQ(galois_GFmul(&g.ctx, 0x21, 2), 1);
    for (int32_t a = 0; a < 64; ++a) {
        SCOPED_TRACE(a);
        EXPECT_EQ(galois_GFdiv(&g.ctx, a, 0), 0) << "a zero divisor gives 0";
        EXPECT_EQ(galois_GFmul(&g.ctx, a, 0), 0);
        for (int32_t b = 1; b < 64; ++b)
            ASSERT_EQ(galois_GFmul(&g.ctx, a, b), slowmul(a, b, 64, 0x43)) << "b " << b;
        if (a != 0) {
            const int32_t inverse = galois_GFdiv(&g.ctx, 1, a);
            ASSERT_GT(inverse, 0);
            ASSERT_LT(inverse, 64);
            EXPECT_EQ(slowmul(inverse, a, 64, 0x43), 1);
            EXPECT_EQ(galois_GFdiv(&g.ctx, galois_GFmul(&g.ctx, a, 37), 37), a);
        }
    }
    // Operands outside the field never reach the tables.
    EXPECT_EQ(galois_GFmul(&g.ctx, 64, 5), 0);
    EXPECT_EQ(galois_GFdiv(&g.ctx, 5, -1), 0);
}

TEST(Galois, TablesAndGeneratorAreCached) {
    Galois g;
    ASSERT_EQ(galois_calclogluts(&g.ctx, 64, 0x43), 1);
    ASSERT_EQ(galois_calccoefs(&g.ctx, 10), 1);
    const int32_t* tables = g.ctx.log.get();
    const int32_t* coefs = g.ctx.coefs.get();

    EXPECT_EQ(galois_calclogluts(&g.ctx, 64, 0x43), 1);
    EXPECT_EQ(g.ctx.log.get(), tables) << "same field: tables kept";
    EXPECT_EQ(g.ctx.degree, 10) << "same field: generator kept";
    EXPECT_EQ(galois_calccoefs(&g.ctx, 10), 1);
    EXPECT_EQ(g.ctx.coefs.get(), coefs) << "same degree: generator kept";

    // x^6 + x^5 + 1, the reciprocal of x^6 + x + 1, is primitive too.
    EXPECT_EQ(galois_calclogluts(&g.ctx, 64, 0x61), 1);
    EXPECT_EQ(g.ctx.degree, 0) << "another polynomial discards the generator";
    EXPECT_FALSE(g.ctx.coefs);
    EXPECT_EQ(g.ctx.alog[6], 0x21); // x^6 = x^5 + 1
    for (int32_t a = 1; a < 64; ++a) ASSERT_EQ(galois_GFmul(&g.ctx, a, 7), slowmul(a, 7, 64, 0x61));

    EXPECT_EQ(galois_freelogluts(&g.ctx), 1);
    EXPECT_EQ(g.ctx.size, 0);
    EXPECT_EQ(g.ctx.poly, 0);
    EXPECT_FALSE(g.ctx.log);
}

TEST(Galois, InvalidParametersFailWithError2) {
    struct Case {
        int32_t size, poly;
        const char* why;
    };
    const std::array<Case, 7> cases{{
        {64, 128, "degree m + 1 polynomial (2 x size)"},
        {64, 0x42, "x^6 + x has the factor x: the powers of x cycle through 2 .. 32, never 1"},
        {64, 0x03, "polynomial below degree m"},
        {64, 0x49, "x^6 + x^3 + 1 is not primitive (x^9 = 1)"},
        {100, 0x80, "size not a power of two"},
        {1, 1, "size 1"},
        {0, 0x43, "size 0"},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Galois g;
        EXPECT_EQ(galois_calclogluts(&g.ctx, c.size, c.poly), 0);
        EXPECT_EQ(g.ctx.error, 2);
        EXPECT_FALSE(g.ctx.log);
        EXPECT_EQ(galois_calccoefs(&g.ctx, 4), 0) << "no tables";
        EXPECT_EQ(g.ctx.error, 2);
    }

    Galois g;
    ASSERT_EQ(galois_calclogluts(&g.ctx, 64, 0x43), 1);
    uint8_t buffer[40] = {};
    EXPECT_EQ(galois_rscalc8(&g.ctx, buffer, 10, 10, 1), 0) << "no generator";
    EXPECT_EQ(g.ctx.error, 2);
    EXPECT_EQ(galois_calccoefs(&g.ctx, 0), 0);
    EXPECT_EQ(galois_calccoefs(&g.ctx, 63), 0) << "longer than a code word of GF(64)";
    ASSERT_EQ(galois_calccoefs(&g.ctx, 10), 1);
    g.ctx.error = 0;
    EXPECT_EQ(galois_rscalc8(&g.ctx, buffer, 10, 8, 1), 0) << "not the generator's degree";
    EXPECT_EQ(g.ctx.error, 2);
    g.ctx.error = 0;
    buffer[3] = 64;
    EXPECT_EQ(galois_rscalc8(&g.ctx, buffer, 10, 10, 1), 0) << "data symbol outside GF(64)";
    EXPECT_EQ(g.ctx.error, 2);
    EXPECT_EQ(galois_rscalc8(&g.ctx, buffer, 0, 10, 1), 0) << "no data";

    EXPECT_EQ(galois_open(nullptr), 0);
    EXPECT_EQ(galois_close(nullptr), 0);
    EXPECT_EQ(galois_rscalc8(nullptr, buffer, 10, 10, 1), 0);
}

TEST(Galois, CheckSymbols) {
    Galois g;
    ASSERT_EQ(galois_calclogluts(&g.ctx, 64, 0x43), 1);
    ASSERT_EQ(galois_calccoefs(&g.ctx, 10), 1);

    // No check symbols: nothing written.
    uint8_t untouched[4] = {9, 9, 9, 9};
    EXPECT_EQ(galois_rscalc8(&g.ctx, untouched, 2, 0, 1), 1);
    EXPECT_EQ(untouched[2], 9);
    EXPECT_EQ(untouched[3], 9);

    // Ten zero data symbols have ten zero check symbols.
    std::array<uint8_t, 20> zeros{};
    for (size_t i = 10; i < 20; ++i) zeros[i] = 0x2A;
    ASSERT_EQ(galois_rscalc8(&g.ctx, zeros.data(), 10, 10, 1), 1);
    for (size_t i = 10; i < 20; ++i) EXPECT_EQ(zeros[i], 0) << i;
}

TEST(Galois, PublishedReedSolomonExample) {
    // ISO/IEC 16022 worked example: "123456" in a 10 x 10 DataMatrix, data
    // codewords 142 164 186 and check codewords 114 25 5 88 102 over GF(256)
    // reduced by 0x12D with roots alpha^1 .. alpha^5; its generator (Annex
    // E) has the coefficients 228 48 15 111 62 (x^5 first).
    Galois g;
    ASSERT_EQ(galois_calclogluts(&g.ctx, 256, 0x12D), 1);
    ASSERT_EQ(galois_calccoefs(&g.ctx, 5), 1);
    const int32_t* c = g.ctx.coefs.get();
    EXPECT_EQ((std::array<int32_t, 6>{c[0], c[1], c[2], c[3], c[4], c[5]}),
              (std::array<int32_t, 6>{228, 48, 15, 111, 62, 1}));
    std::array<uint8_t, 8> words{142, 164, 186};
    ASSERT_EQ(galois_rscalc8(&g.ctx, words.data(), 3, 5, 1), 1);
    EXPECT_EQ(words, (std::array<uint8_t, 8>{142, 164, 186, 114, 25, 5, 88, 102}));
}

TEST(Galois, InterleavedBlocksAreCodeWords) {
    // Each block, with its check symbols, must vanish at alpha^1 .. alpha^n
    // (checked by evaluation, not by the coder's division), and the coder
    // with the generator fixed at compile time, whose registers sit in 64-bit
    // words, must give the same checks (cases on either side of a word
    // boundary, one register and a full word among them).
    struct Case {
        int32_t size, poly, data, checks, interleave;
        void (*fixed)(uint8_t*, int32_t, int32_t);
    };
    const std::array<Case, 10> cases{{
        // The primary message of a MaxiCode symbol, its secondary message,
        // and that with enhanced error correction.
        {64, 0x43, 10, 10, 1, galois_rsblocksfixed<6, 0x43, 10>},
        {64, 0x43, 42, 20, 2, galois_rsblocksfixed<6, 0x43, 20>},
        {64, 0x43, 34, 28, 2, galois_rsblocksfixed<6, 0x43, 28>},
        {256, 0x12D, 20, 12, 3, galois_rsblocksfixed<8, 0x12D, 12>},
        // Long data: the run-time coder's table of feedback products.
        {256, 0x12D, 150, 24, 2, galois_rsblocksfixed<8, 0x12D, 24>},
        {16, 0x13, 9, 1, 1, galois_rsblocksfixed<4, 0x13, 1>},
        {16, 0x13, 5, 8, 1, galois_rsblocksfixed<4, 0x13, 8>},
        {256, 0x12D, 20, 9, 3, galois_rsblocksfixed<8, 0x12D, 9>},
        {256, 0x12D, 200, 16, 1, galois_rsblocksfixed<8, 0x12D, 16>},
        {256, 0x12D, 7, 5, 4, galois_rsblocksfixed<8, 0x12D, 5>},
    }};
    std::mt19937 rng(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "GF(" << c.size << ") " << c.data << "+" << c.checks
                                        << " x" << c.interleave);
        Galois g;
        ASSERT_EQ(galois_calclogluts(&g.ctx, c.size, c.poly), 1);
        ASSERT_EQ(galois_calccoefs(&g.ctx, c.checks), 1);
        std::vector<uint8_t> buf(static_cast<size_t>((c.data + c.checks) * c.interleave));
        for (int32_t i = 0; i < c.data * c.interleave; ++i)
            buf[i] = static_cast<uint8_t>(rng() % c.size);
        std::vector<uint8_t> fixed = buf;
        ASSERT_EQ(galois_rscalc8(&g.ctx, buf.data(), c.data, c.checks, c.interleave), 1);
        c.fixed(fixed.data(), c.data * c.interleave, c.interleave);
        EXPECT_EQ(fixed, buf) << "the fixed generator";
        for (int32_t j = 0; j < c.interleave; ++j) {
            std::vector<int32_t> word;
            for (int32_t k = 0; k < c.data + c.checks; ++k)
                word.push_back(buf[j + k * c.interleave]);
            int32_t root = 1;
            for (int32_t i = 1; i <= c.checks; ++i) {
                root = slowmul(root, 2, c.size, c.poly);
                EXPECT_EQ(evaluate(word, root, c.size, c.poly), 0)
                    << "block " << j << " root " << i;
            }
        }
    }
}
