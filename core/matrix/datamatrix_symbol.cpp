#include "core/matrix/datamatrix_symbol.hpp"

#include <cstring>

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

int32_t datamtx_imagewide(const datamtx_symbol* sym) {
    return sym == nullptr ? 0 : sym->modwidth * sym->imagewidth;
}

int32_t datamtx_imagedeep(const datamtx_symbol* sym) {
    return sym == nullptr ? 0 : sym->modheight * sym->imageheight;
}

int32_t datamtx_imagepaint(const datamtx_symbol* sym) {
    if (sym == nullptr) return 0;
    return modbitmap_paint(datamtx_bitmap(sym), sym->plotf, sym->plotctx, sym->modwidth,
                           sym->modheight);
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
    sym->image = modbitmap_alloc(width, height);
    if (!sym->image) {
        sym->error = DATAMTX_ERR_MEMORY;
        return 0;
    }
    sym->imagewidth = width;
    sym->imageheight = height;
    sym->stride = modbitmap_stride(width);
    sym->imagesize = sym->stride * height;
    return 1;
}

modbitmap datamtx_bitmap(const datamtx_symbol* sym) {
    if (sym == nullptr || !sym->image) return {};
    return {sym->image.get(), sym->imagewidth, sym->imageheight, sym->stride};
}

int32_t datamtx_igetpt(const datamtx_symbol* sym, int32_t x, int32_t y) {
    return datamtx_bitmap(sym).get(x, y);
}

void datamtx_iplotpt(datamtx_symbol* sym, int32_t x, int32_t y) {
    datamtx_bitmap(sym).set(x, y);
}

void datamtx_iplotfinder(datamtx_symbol* sym, int32_t x, int32_t y, int32_t width, int32_t height) {
    const modbitmap m = datamtx_bitmap(sym);
    const int32_t right = x + width - 1;
    const int32_t bottom = y + height - 1;
    for (int32_t r = y; r <= bottom; ++r) m.set(x, r);
    for (int32_t c = x; c <= right; ++c) m.set(c, bottom);
    for (int32_t c = x; c <= right; c += 2) m.set(c, y);
    for (int32_t r = bottom - 2; r >= y; r -= 2) m.set(right, r);
}
