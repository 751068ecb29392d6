#include "core/matrix/galois.hpp"

#include "core/driver/kvalloc.hpp"

namespace {
enum : int32_t { GF_NOMEMORY = 1, GF_INVALID = 2 };
// Largest field the tables are built for; byte symbols need at most 256.
constexpr int32_t GF_MAXSIZE = 65536;

int fail(galois_ctx* ctx, int32_t error) {
    ctx->error = error;
    return 0;
}

bool haslogluts(const galois_ctx* ctx) {
    return ctx->log && ctx->alog && ctx->size > 1;
}

bool iselement(const galois_ctx* ctx, int32_t v) {
    return v >= 0 && v < ctx->size;
}
} // namespace

int galois_open(galois_ctx* ctx) {
    if (ctx == nullptr) return 0;
    *ctx = galois_ctx{};
    return 1;
}

int galois_close(galois_ctx* ctx) {
    if (ctx == nullptr) return 0;
    return galois_freelogluts(ctx);
}

int galois_freecoefs(galois_ctx* ctx) {
    if (ctx == nullptr) return 0;
    ctx->coefs.reset();
    ctx->degree = 0;
    return 1;
}

int galois_freelogluts(galois_ctx* ctx) {
    if (ctx == nullptr) return 0;
    galois_freecoefs(ctx);
    ctx->log.reset();
    ctx->alog.reset();
    ctx->size = 0;
    ctx->poly = 0;
    return 1;
}

int galois_calclogluts(galois_ctx* ctx, int32_t size, int32_t poly) {
    if (ctx == nullptr) return 0;
    if (size == ctx->size && poly == ctx->poly && ctx->log && ctx->alog) return 1;
    galois_freelogluts(ctx);
    // q must be a power of two and the polynomial of degree exactly m: its
    // top bit is `size` itself (a higher degree could not reduce, a lower one
    // would leave products outside the field).
    if (size <= 1 || size > GF_MAXSIZE || (size & (size - 1)) != 0 || poly >= 2 * size ||
        poly < size)
        return fail(ctx, GF_INVALID);
    ctx->size = size;
    ctx->poly = poly;
    ctx->log = kv_newarray<int32_t>(static_cast<size_t>(size));
    ctx->alog = kv_newarray<int32_t>(static_cast<size_t>(size));
    if (!ctx->log || !ctx->alog) {
        galois_freelogluts(ctx);
        return fail(ctx, GF_NOMEMORY);
    }
    int32_t e = 1;
    for (int32_t i = 0; i <= size - 2; ++i) {
        // alpha must run through every non-zero element before it returns to
        // 1, else the polynomial is not primitive and the logs are ambiguous.
        if (i > 0 && e == 1) {
            galois_freelogluts(ctx);
            return fail(ctx, GF_INVALID);
        }
        ctx->alog[i] = e;
        ctx->log[e] = i;
        e <<= 1;
        if (e >= size) e ^= poly;
    }
    return 1;
}

int32_t galois_GFmul(const galois_ctx* ctx, int32_t a, int32_t b) {
    if (ctx == nullptr || !haslogluts(ctx) || !iselement(ctx, a) || !iselement(ctx, b)) return 0;
    if (a == 0 || b == 0) return 0;
    const int32_t order = ctx->size - 1;
    const int32_t e = ctx->log[a] + ctx->log[b]; // below 2 * order
    return ctx->alog[e >= order ? e - order : e];
}

int32_t galois_GFdiv(const galois_ctx* ctx, int32_t a, int32_t b) {
    if (ctx == nullptr || !haslogluts(ctx) || !iselement(ctx, a) || !iselement(ctx, b)) return 0;
    if (a == 0 || b == 0) return 0;
    const int32_t order = ctx->size - 1;
    int32_t e = (ctx->log[a] - ctx->log[b]) % order;
    if (e < 0) e += order;
    return ctx->alog[e];
}

int galois_calccoefs(galois_ctx* ctx, int32_t n) {
    if (ctx == nullptr) return 0;
    if (ctx->coefs && ctx->degree == n && n > 0) return 1;
    // A code word of GF(q) is at most q - 1 symbols long, so at most q - 2 of
    // them can be checks.
    if (n <= 0 || !haslogluts(ctx) || n > ctx->size - 2) return fail(ctx, GF_INVALID);
    galois_freecoefs(ctx);
    ctx->coefs = kv_newarray<int32_t>(static_cast<size_t>(n) + 1);
    if (!ctx->coefs) return fail(ctx, GF_NOMEMORY);
    ctx->degree = n;
    int32_t* g = ctx->coefs.get();
    g[0] = 1;
    const int32_t order = ctx->size - 1;
    for (int32_t i = 1; i <= n; ++i) {
        // Multiply by (x + alpha^i); the new top coefficient is the old one.
        const int32_t root = ctx->alog[i % order];
        g[i] = g[i - 1];
        for (int32_t k = i - 1; k >= 1; --k) g[k] = g[k - 1] ^ galois_GFmul(ctx, root, g[k]);
        g[0] = galois_GFmul(ctx, root, g[0]);
    }
    return 1;
}

int galois_rscalc8(galois_ctx* ctx, uint8_t* buffer, int32_t data_count, int32_t check_count,
                   int32_t interleave) {
    if (ctx == nullptr) return 0;
    if (check_count <= 0) return 1;
    if (buffer == nullptr || data_count <= 0 || !haslogluts(ctx) || ctx->size > 256 ||
        !ctx->coefs || check_count != ctx->degree)
        return fail(ctx, GF_INVALID);
    if (interleave < 1) interleave = 1;

    const int32_t n = check_count;
    const int32_t order = ctx->size - 1;
    const int32_t* g = ctx->coefs.get();
    const size_t step = static_cast<size_t>(interleave);
    const size_t checkbase = static_cast<size_t>(data_count) * step;
    for (size_t j = 0; j < step; ++j) {
        uint8_t* check = buffer + checkbase + j;
        for (int32_t k = 0; k < n; ++k) check[k * step] = 0;
        for (size_t d = 0; d < static_cast<size_t>(data_count); ++d) {
            const int32_t symbol = buffer[j + d * step];
            if (!iselement(ctx, symbol)) return fail(ctx, GF_INVALID);
            const int32_t f = symbol ^ check[0];
            // g[n-1-k] * f for every k, with the log of f looked up once.
            const int32_t logf = f != 0 ? ctx->log[f] : -1;
            for (int32_t k = 0; k < n; ++k) {
                const int32_t next = k + 1 < n ? check[(k + 1) * step] : 0;
                const int32_t coef = g[n - 1 - k];
                int32_t product = 0;
                if (logf >= 0 && coef != 0) {
                    int32_t e = ctx->log[coef] + logf;
                    if (e >= order) e -= order;
                    product = ctx->alog[e];
                }
                check[k * step] = static_cast<uint8_t>(next ^ product);
            }
        }
    }
    return 1;
}
