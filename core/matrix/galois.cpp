#include "core/matrix/galois.hpp"

#include <cstring>

#include "core/driver/kvalloc.hpp"

namespace {
enum : int32_t { GF_NOMEMORY = 1, GF_INVALID = 2 };
// Largest field the run-time tables are built for; byte symbols need at most 256.
constexpr int32_t GF_MAXSIZE = 65536;
// Largest generator of the byte coder (a code word of GF(256) is at most 255
// symbols long).
constexpr int32_t RS8_MAXCHECK = 254;

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

// One division step on byte registers: they move down by one symbol and take
// the feedback's products with the generator, eight at a time.
inline void shiftxor(uint8_t* reg, const uint8_t* products, int32_t n) {
    int32_t k = 0;
    for (; k + 8 <= n - 1; k += 8) {
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, reg + k + 1, 8);
        std::memcpy(&b, products + k, 8);
        a ^= b;
        std::memcpy(reg + k, &a, 8);
    }
    for (; k < n - 1; ++k) reg[k] = reg[k + 1] ^ products[k];
    reg[n - 1] = products[n - 1];
}
} // namespace

template <class T>
bool galois_rsproductsfill(galois_rsproducts* t, const T* log, const T* alog, int32_t size,
                           const T* glog, int32_t n) {
    if (t == nullptr || n <= 0 || n > GALOIS_MAXTABLED || size > 256) return false;
    t->n = n;
    std::memset(t->products, 0, static_cast<size_t>(n));
    for (int32_t f = 1; f < size; ++f) {
        const T* a = alog + log[f];
        uint8_t* row = t->products + static_cast<size_t>(f) * n;
        for (int32_t k = 0; k < n; ++k) row[k] = static_cast<uint8_t>(a[glog[k]]);
    }
    return true;
}

void galois_rsremainder8(const galois_rsproducts& t, const uint8_t* data, int32_t count,
                         int32_t stride, uint8_t* rem) {
    const int32_t n = t.n;
    std::memset(rem, 0, static_cast<size_t>(n));
    for (int32_t i = 0; i < count; ++i)
        shiftxor(rem, t.row(data[static_cast<size_t>(i) * stride] ^ rem[0]), n);
}

template <class T>
void galois_rsblocks(const T* log, const T* alog, int32_t size, const T* glog, int32_t n,
                     uint8_t* buf, int32_t ndata, int32_t blocks) {
    if (n <= 0 || n > RS8_MAXCHECK || blocks <= 0 || size > 256) return;
    uint8_t reg[RS8_MAXCHECK];
    galois_rsproducts table;
    const bool tabled =
        ndata > GALOIS_TABLEFROM && galois_rsproductsfill(&table, log, alog, size, glog, n);
    for (int32_t b = 0; b < blocks; ++b) {
        const int32_t count = b < ndata ? (ndata - b + blocks - 1) / blocks : 0;
        if (tabled)
            galois_rsremainder8(table, buf + b, count, blocks, reg);
        else
            galois_rsremainder(log, alog, glog, n, buf + b, count, blocks, reg);
        for (int32_t k = 0; k < n; ++k) buf[ndata + b + k * blocks] = reg[k];
    }
}

template bool galois_rsproductsfill<uint16_t>(galois_rsproducts*, const uint16_t*, const uint16_t*,
                                              int32_t, const uint16_t*, int32_t);
template bool galois_rsproductsfill<int32_t>(galois_rsproducts*, const int32_t*, const int32_t*,
                                             int32_t, const int32_t*, int32_t);
template void galois_rsblocks<uint16_t>(const uint16_t*, const uint16_t*, int32_t, const uint16_t*,
                                        int32_t, uint8_t*, int32_t, int32_t);
template void galois_rsblocks<int32_t>(const int32_t*, const int32_t*, int32_t, const int32_t*,
                                       int32_t, uint8_t*, int32_t, int32_t);

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
    ctx->alog = kv_newarray<int32_t>(3 * static_cast<size_t>(size));
    if (!ctx->log || !ctx->alog) {
        galois_freelogluts(ctx);
        return fail(ctx, GF_NOMEMORY);
    }
    // Logs must be unambiguous: alpha has to run through every non-zero element.
    if (!galois_filltables(size, poly, ctx->log.get(), ctx->alog.get())) {
        galois_freelogluts(ctx);
        return fail(ctx, GF_INVALID);
    }
    return 1;
}

int32_t galois_GFmul(const galois_ctx* ctx, int32_t a, int32_t b) {
    if (ctx == nullptr || !haslogluts(ctx) || !iselement(ctx, a) || !iselement(ctx, b)) return 0;
    return static_cast<int32_t>(galois_mul(ctx->log.get(), ctx->alog.get(),
                                           static_cast<uint32_t>(a), static_cast<uint32_t>(b)));
}

int32_t galois_GFdiv(const galois_ctx* ctx, int32_t a, int32_t b) {
    if (ctx == nullptr || !haslogluts(ctx) || !iselement(ctx, a) || !iselement(ctx, b)) return 0;
    return static_cast<int32_t>(galois_div(ctx->log.get(), ctx->alog.get(), ctx->size,
                                           static_cast<uint32_t>(a), static_cast<uint32_t>(b)));
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
    galois_generator(ctx->log.get(), ctx->alog.get(), ctx->size, n, ctx->coefs.get());
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
    const int32_t ndata = data_count * interleave;
    for (int32_t i = 0; i < ndata; ++i) {
        if (!iselement(ctx, buffer[i])) return fail(ctx, GF_INVALID);
    }
    int32_t glog[RS8_MAXCHECK];
    galois_generatorlogs(ctx->log.get(), ctx->coefs.get(), check_count, glog);
    galois_rsblocks(ctx->log.get(), ctx->alog.get(), ctx->size, glog, check_count, buffer, ndata,
                    interleave);
    return 1;
}
