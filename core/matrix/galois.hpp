// Reed-Solomon coding over GF(2^m): log and antilog tables, the generator
// polynomial and systematic check symbols, kept in one caller-owned context
// so that a field or a generator is built only once.
#pragma once

#include <cstdint>
#include <memory>

struct galois_ctx {
    int32_t error = 0;                // 0 none; 1 out of memory; 2 invalid parameter or state
    int32_t size = 0;                 // number of field elements q = 2^m
    int32_t poly = 0;                 // reducing polynomial including its top bit
    std::unique_ptr<int32_t[]> log;   // log[v] for v = 1 .. q-1; log[0] unused
    std::unique_ptr<int32_t[]> alog;  // alog[i] = alpha^i for i = 0 .. q-2
    int32_t degree = 0;               // check symbols the generator is for (0 = none)
    std::unique_ptr<int32_t[]> coefs; // g[0] (constant term) .. g[degree] = 1
};

// Every operation returns 1 for success and 0 for failure (also for a null
// context); on failure `error` says why and the context stays valid for
// galois_close.
int galois_open(galois_ctx* ctx);
int galois_close(galois_ctx* ctx);
// Builds the tables of GF(size) reduced by `poly`; the same field again costs
// nothing and keeps the generator.
int galois_calclogluts(galois_ctx* ctx, int32_t size, int32_t poly);
int galois_freelogluts(galois_ctx* ctx);
// Builds g(x) = (x + alpha^1)(x + alpha^2) ... (x + alpha^n).
int galois_calccoefs(galois_ctx* ctx, int32_t n);
int galois_freecoefs(galois_ctx* ctx);
// Field product and quotient; 0 when either operand is 0 (a zero divisor
// included) or when the tables are missing.
int32_t galois_GFmul(const galois_ctx* ctx, int32_t a, int32_t b);
int32_t galois_GFdiv(const galois_ctx* ctx, int32_t a, int32_t b);
// Appends check_count check symbols (the degree of the generator last built)
// to each of `interleave` blocks of data_count symbols. Block j is the bytes
// at j, j + interleave, ...; its check symbol k goes to
// data_count * interleave + j + k * interleave, highest-order term first.
int galois_rscalc8(galois_ctx* ctx, uint8_t* buffer, int32_t data_count, int32_t check_count,
                   int32_t interleave);
