// Painting: the symbol drawn dot by dot through the plot callback at the
// fixed 300-dpi geometry, whatever the printer's resolution.
#include <algorithm>
#include <cstdint>

#include "core/matrix/maxicode.hpp"
#include "core/matrix/maxicode_tables.hpp"

int32_t maxicode_imagewide(const maxicode_sym* sym) {
    return sym != nullptr ? sym->paint.width : 0;
}

int32_t maxicode_imagedeep(const maxicode_sym* sym) {
    return sym != nullptr ? sym->paint.height : 0;
}

namespace {
// maxicode_qblit for the dot rows top .. bottom - 1 only.
int blitrows(maxicode_sym* sym, int32_t x, int32_t y, const uint8_t* bitmap, int32_t width,
             int32_t height, int32_t top, int32_t bottom) {
    if (sym->callback == nullptr || bitmap == nullptr || width <= 0 || height <= 0) {
        sym->error = MAXICODE_EINVALID;
        return 0;
    }
    const int32_t rowbytes = (width - 1) / 8 + 1;
    const auto first = static_cast<int32_t>(std::clamp<int64_t>(int64_t{top} - y, 0, height));
    const auto end = static_cast<int32_t>(std::clamp<int64_t>(int64_t{bottom} - y, 0, height));
    for (int32_t row = first; row < end; ++row) {
        const uint8_t* line = bitmap + static_cast<size_t>(row) * rowbytes;
        for (int32_t col = 0; col < width; ++col) {
            if ((line[col / 8] & (0x80u >> (col % 8))) == 0) continue;
            if ((sym->callback(sym->context, x + col, y + row, 1, 1) & 1u) == 0) {
                sym->error = MAXICODE_EBITMAP;
                return 0;
            }
        }
    }
    return 1;
}
} // namespace

int maxicode_qblit(maxicode_sym* sym, int32_t x, int32_t y, const uint8_t* bitmap, int32_t width,
                   int32_t height) {
    if (sym == nullptr) return 0;
    return blitrows(sym, x, y, bitmap, width, height, INT32_MIN, INT32_MAX);
}

int maxicode_imagepaint(maxicode_sym* sym) {
    return maxicode_imagepaintrows(sym, INT32_MIN, INT32_MAX);
}

int maxicode_imagepaintrows(maxicode_sym* sym, int32_t top, int32_t bottom) {
    if (sym == nullptr) return 0;
    if (!blitrows(sym, MAXICODE_BULLS_X, MAXICODE_BULLS_Y, maxicode_bulls12.data(),
                  MAXICODE_BULLS_WIDTH, MAXICODE_BULLS_HEIGHT, top, bottom))
        return 0;
    const maxicode_paintdsc& p = sym->paint;
    for (int32_t r = 0; r < MAXICODE_ROWS; ++r) {
        const int64_t y = int64_t{p.rowpitch} * r;
        if (y + p.modheight <= top || y >= bottom) continue;
        for (int32_t c = 0; c < MAXICODE_COLUMNS; ++c) {
            if (!maxicode_igetpt(sym, c, r)) continue;
            const int32_t x = p.colpitch * c + ((r & 1) != 0 ? p.oddoffset : 0);
            if (!blitrows(sym, x, p.rowpitch * r, maxicode_black12.data(), p.modwidth, p.modheight,
                          top, bottom))
                return 0;
        }
    }
    return 1;
}
