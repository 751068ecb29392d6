#include "core/matrix/modbitmap.hpp"

#include <bit>

#include "core/driver/kvalloc.hpp"

std::unique_ptr<uint8_t[]> modbitmap_alloc(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return nullptr;
    return kv_newarray<uint8_t>(static_cast<size_t>(modbitmap_stride(width)) * height);
}

int modbitmap_paint(const modbitmap& m, kv_plotfn fn, void* arg, int32_t mw, int32_t mh) {
    if (fn == nullptr || m.bits == nullptr) return 1;
    for (int32_t y = 0; y < m.height; ++y) {
        const uint8_t* row = m.bits + static_cast<size_t>(y) * m.stride;
        for (int32_t xb = 0; xb < m.stride; ++xb) {
            // Whole light bytes are skipped; the dark bits of a byte are
            // visited lowest (leftmost) first.
            uint32_t bits = row[xb];
            while (bits != 0) {
                const int32_t x = xb * 8 + std::countr_zero(bits);
                bits &= bits - 1;
                if (x >= m.width) break;
                if ((fn(arg, x * mw, y * mh, mw, mh) & 1u) == 0) return 0;
            }
        }
    }
    return 1;
}
