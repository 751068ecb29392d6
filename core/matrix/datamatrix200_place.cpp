// ECC200 module placement: the codewords in the mapping matrix, the data
// regions' finder patterns.
#include <cstring>

#include "core/matrix/datamatrix200_internal.hpp"

namespace {
void setdark(datamtx200_placer* p, int32_t row, int32_t col) {
    p->sym->image[p->rowoffset[row] + p->colbyte[col]] |= p->colbit[col];
}
} // namespace

void datamtx200_module(datamtx200_placer* p, int32_t row, int32_t col, int32_t chr, int32_t bit) {
    // Positions beyond the top or left edge wrap to the opposite edge with
    // the standard's shift.
    if (row < 0) {
        row += p->nrow;
        col += 4 - ((p->nrow + 4) % 8);
    }
    if (col < 0) {
        col += p->ncol;
        row += 4 - ((p->ncol + 4) % 8);
    }
    if (row < 0 || col < 0 || row >= p->nrow || col >= p->ncol || chr >= p->total) return;
    p->used[row * p->ncol + col] = 1;
    if (p->codewords[chr] >> bit & 1) setdark(p, row, col);
}

void datamtx200_utah(datamtx200_placer* p, int32_t row, int32_t col, int32_t chr) {
    if (row >= 2 && col >= 2 && row < p->nrow && col < p->ncol && chr < p->total) {
        // The whole shape lies inside the matrix: no wrapping.
        const uint32_t v = p->codewords[chr];
        for (int32_t j = 0; j < 8; ++j) {
            const int32_t r = row + datamtx200_utahshape[j].row;
            const int32_t c = col + datamtx200_utahshape[j].col;
            p->used[r * p->ncol + c] = 1;
            if (v >> (7 - j) & 1) setdark(p, r, c);
        }
        return;
    }
    for (int32_t j = 0; j < 8; ++j) {
        const datamtx200_offset& o = datamtx200_utahshape[j];
        datamtx200_module(p, row + o.row, col + o.col, chr, 7 - j);
    }
}

void datamtx200_cornern(datamtx200_placer* p, int32_t n, int32_t chr) {
    static constexpr const datamtx200_offset* shapes[4] = {datamtx200_corner1, datamtx200_corner2,
                                                           datamtx200_corner3, datamtx200_corner4};
    if (n < 1 || n > 4) return;
    const datamtx200_offset* shape = shapes[n - 1];
    for (int32_t j = 0; j < 8; ++j) {
        const int32_t col = shape[j].col < 0 ? p->ncol + shape[j].col : shape[j].col;
        const int32_t row = shape[j].row < 0 ? p->nrow + shape[j].row : shape[j].row;
        datamtx200_module(p, row, col, chr, 7 - j);
    }
}

int32_t datamtx200_placeall(datamtx_symbol* sym, const uint8_t* codewords,
                            const datamtx200_symdef* entry) {
    if (sym == nullptr || codewords == nullptr || entry == nullptr || entry->width <= 0) {
        if (sym != nullptr) sym->error = DATAMTX_ERR_PARAM;
        return 0;
    }
    if (!datamtx_imagealloc(sym, entry->width, entry->height)) return 0;

    uint8_t used[datamtx200_maxmatrix * datamtx200_maxmatrix];
    datamtx200_placer p;
    p.sym = sym;
    p.codewords = codewords;
    p.total = entry->total;
    p.nrow = entry->matrixh;
    p.ncol = entry->matrixw;
    p.used = used;
    std::memset(used, 0, static_cast<size_t>(p.nrow) * p.ncol);
    // Each data region sits inside a frame of finder modules.
    for (int32_t c = 0; c < p.ncol; ++c) {
        const int32_t x = c + 2 * (c / entry->regionw) + 1;
        p.colbyte[c] = static_cast<int16_t>(x >> 3);
        p.colbit[c] = static_cast<uint8_t>(1u << (x & 7));
    }
    for (int32_t r = 0; r < p.nrow; ++r)
        p.rowoffset[r] = (r + 2 * (r / entry->regionh) + 1) * sym->stride;

    // Diagonal sweeps over the matrix, placing each codeword at the first
    // free anchor, with the corner shapes where a sweep meets the corners.
    const int32_t nrow = p.nrow;
    const int32_t ncol = p.ncol;
    int32_t chr = 0;
    int32_t row = 4;
    int32_t col = 0;
    do {
        if (row == nrow && col == 0) datamtx200_cornern(&p, 1, chr++);
        if (row == nrow - 2 && col == 0 && ncol % 4 != 0) datamtx200_cornern(&p, 2, chr++);
        if (row == nrow - 2 && col == 0 && ncol % 8 == 4) datamtx200_cornern(&p, 3, chr++);
        if (row == nrow + 4 && col == 2 && ncol % 8 == 0) datamtx200_cornern(&p, 4, chr++);
        do {
            if (row < nrow && col >= 0 && used[row * ncol + col] == 0)
                datamtx200_utah(&p, row, col, chr++);
            row -= 2;
            col += 2;
        } while (row >= 0 && col < ncol);
        row += 1;
        col += 3;
        do {
            if (row >= 0 && col < ncol && used[row * ncol + col] == 0)
                datamtx200_utah(&p, row, col, chr++);
            row += 2;
            col -= 2;
        } while (row < nrow && col >= 0);
        row += 3;
        col += 1;
    } while (row < nrow || col < ncol);
    // Four modules hold no codeword bit when the matrix is not a multiple
    // of 8 modules: a fixed pattern fills them.
    if (nrow * ncol % 8 != 0) {
        setdark(&p, nrow - 1, ncol - 1);
        setdark(&p, nrow - 2, ncol - 2);
    }

    const int32_t boxw = entry->regionw + 2;
    const int32_t boxh = entry->regionh + 2;
    for (int32_t y = 0; y < entry->height; y += boxh)
        for (int32_t x = 0; x < entry->width; x += boxw) datamtx_iplotfinder(sym, x, y, boxw, boxh);
    return 1;
}
