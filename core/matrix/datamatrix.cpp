#include "core/matrix/datamatrix.hpp"

#include <cstring>

#include "core/driver/kvalloc.hpp"

void datamtx_open(datamtx_symbol* sym) {
    if (sym == nullptr) return;
    *sym = datamtx_symbol{};
}

void datamtx_close(datamtx_symbol* sym) {
    if (sym == nullptr) return;
    sym->image.reset();
    sym->stride = 0;
    sym->imagesize = 0;
}

int32_t datamtx_setcallback(datamtx_symbol* sym, kv_plotfn callback, void* context) {
    if (sym == nullptr) return 0;
    sym->plotf = callback;
    sym->plotctx = context;
    return 1;
}

int32_t datamtx_imagecalc(datamtx_symbol* sym, const uint8_t* data, int32_t length) {
    if (sym == nullptr) return 0;
    sym->error = DATAMTX_ERR_NONE;
    if (data == nullptr && length != 0) {
        sym->error = DATAMTX_ERR_PARAM;
        return 0;
    }
    switch (sym->ecctype) {
    case 200:
        return datamtx200_imagecalc(sym, data, length);
    // The convolutional types 0, 50, 80, 100 and 140 have no encoder in this
    // build: they are refused like any unknown type.
    default:
        sym->error = DATAMTX_ERR_ECCTYPE;
        return 0;
    }
}

int32_t datamtx_imagewide(const datamtx_symbol* sym) {
    return sym == nullptr ? 0 : sym->modwidth * sym->imagewidth;
}

int32_t datamtx_imagedeep(const datamtx_symbol* sym) {
    return sym == nullptr ? 0 : sym->modheight * sym->imageheight;
}

int32_t datamtx_imagepaint(const datamtx_symbol* sym) {
    return datamtx_imagepaintrows(sym, INT32_MIN, INT32_MAX);
}

int32_t datamtx_imagepaintrows(const datamtx_symbol* sym, int32_t top, int32_t bottom) {
    if (sym == nullptr) return 0;
    if (sym->plotf == nullptr || !sym->image) return 1;
    const int32_t mw = sym->modwidth;
    const int32_t mh = sym->modheight;
    for (int32_t r = 0; r < sym->imageheight; ++r) {
        const int64_t y = int64_t{r} * mh;
        if (y + mh <= top || y >= bottom) continue;
        const uint8_t* row = sym->image.get() + static_cast<size_t>(r) * sym->stride;
        for (int32_t c = 0; c < sym->imagewidth; ++c) {
            if ((row[c >> 3] >> (c & 7) & 1) == 0) continue;
            if ((sym->plotf(sym->plotctx, c * mw, r * mh, mw, mh) & 1u) == 0) return 0;
        }
    }
    return 1;
}

void datamtx_imagegube(const datamtx_symbol* sym, std::FILE* out) {
    if (sym == nullptr || out == nullptr) return;
    std::fprintf(out, "- imagegube() :\n");
    std::fprintf(out, "- grid size : ( %d x %d )\n", sym->imagewidth, sym->imageheight);
    for (int32_t r = 0; r < sym->imageheight; ++r) {
        std::fprintf(out, "  %3d : [ ", r);
        for (int32_t c = 0; c < sym->imagewidth; ++c)
            std::fputc(datamtx_igetpt(sym, c, r) ? '*' : ' ', out);
        std::fprintf(out, " ]\n");
    }
}

int32_t datamtx_imagealloc(datamtx_symbol* sym, int32_t width, int32_t height) {
    if (sym == nullptr) return 0;
    sym->image.reset();
    sym->imagewidth = sym->imageheight = sym->stride = sym->imagesize = 0;
    if (width <= 0 || height <= 0 || width > 1024 || height > 1024) {
        sym->error = DATAMTX_ERR_PARAM;
        return 0;
    }
    const int32_t stride = (width - 1) / 8 + 1;
    sym->image = kv_newarray<uint8_t>(static_cast<size_t>(stride) * height);
    if (!sym->image) {
        sym->error = DATAMTX_ERR_MEMORY;
        return 0;
    }
    sym->imagewidth = width;
    sym->imageheight = height;
    sym->stride = stride;
    sym->imagesize = stride * height;
    return 1;
}

int32_t datamtx_igetpt(const datamtx_symbol* sym, int32_t x, int32_t y) {
    if (sym == nullptr || !sym->image || x < 0 || y < 0 || x >= sym->imagewidth ||
        y >= sym->imageheight)
        return 0;
    return sym->image[static_cast<size_t>(y) * sym->stride + (x >> 3)] >> (x & 7) & 1;
}

void datamtx_iplotpt(datamtx_symbol* sym, int32_t x, int32_t y) {
    if (sym == nullptr || !sym->image || x < 0 || y < 0 || x >= sym->imagewidth ||
        y >= sym->imageheight)
        return;
    sym->image[static_cast<size_t>(y) * sym->stride + (x >> 3)] |=
        static_cast<uint8_t>(1u << (x & 7));
}

void datamtx_iplotfinder(datamtx_symbol* sym, int32_t x, int32_t y, int32_t width, int32_t height) {
    const int32_t right = x + width - 1;
    const int32_t bottom = y + height - 1;
    for (int32_t r = y; r <= bottom; ++r) datamtx_iplotpt(sym, x, r);
    for (int32_t c = x; c <= right; ++c) datamtx_iplotpt(sym, c, bottom);
    for (int32_t c = x; c <= right; c += 2) datamtx_iplotpt(sym, c, y);
    for (int32_t r = bottom - 2; r >= y; r -= 2) datamtx_iplotpt(sym, right, r);
}
