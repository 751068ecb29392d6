#include "core/fields/sblit.hpp"

#include <algorithm>

const int32_t sBlit_ShiftList[4] = {3, 2, 1, 1};

namespace {
constexpr int64_t ONE = 65536; // fixed-point unit of the half-cell slopes

int64_t floordiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Walks the runs of one axis from the window start: magnifying, one source
// pixel a step covering `vis` dots from `pos`; shrinking, one destination
// dot a step covering `vis` source pixels from `pix`.
struct Walk {
    bres_line line;
    bool magnify = false;
    int64_t pos = 0;    // destination position, origin included
    int64_t end = 0;    // end of the window (and of the image), origin included
    int32_t pix = 0;    // source pixel
    int32_t srcend = 0; // one past the last source pixel
    int32_t vis = 0;
    int32_t full = 0;

    explicit Walk(const sBlit_Axis& a)
        : line(a.line), magnify(a.magnify != 0), pix(a.firstpix), vis(a.firstvis),
          full(a.firstfull) {
        pos = static_cast<int64_t>(a.origin) + a.firstdst;
        const int64_t winend = static_cast<int64_t>(a.winstart) + a.winlen;
        end = static_cast<int64_t>(a.origin) + std::min<int64_t>(winend, a.dstsize);
        srcend = a.srcfirst + a.srcsize;
        if (!magnify) clipsource();
    }
    bool ok() const { return vis > 0 && pix < srcend && pos < end; }
    // Visible length in dots: the run cut at the window's end.
    int32_t width() const {
        return magnify ? static_cast<int32_t>(std::min<int64_t>(vis, end - pos)) : 1;
    }
    // Dots of the run before the window (magnifying, first run only).
    int32_t cut() const { return full - vis; }
    void next() {
        if (magnify) {
            pos += vis;
            pix += 1;
            vis = full = bres_nextsteplen(&line);
        } else {
            pos += 1;
            pix += vis;
            vis = full = bres_nextsteplen(&line);
            clipsource();
        }
    }
    void clipsource() {
        if (pix < srcend) vis = std::min(vis, srcend - pix);
    }
};

struct Pixels {
    const sBlit_Bitmap* b;
    int32_t shift, slot;
    uint32_t mask;
    explicit Pixels(const sBlit_Bitmap* s)
        : b(s), shift(sBlit_ShiftList[s->bpp - 1]), slot(8 >> sBlit_ShiftList[s->bpp - 1]),
          mask((1u << s->bpp) - 1) {}
    uint32_t at(int32_t x, int32_t y) const {
        const uint8_t byte = b->pixels[static_cast<int64_t>(y) * b->rowbytes + (x >> shift)];
        return (byte >> ((x & ((1 << shift) - 1)) * slot)) & mask;
    }
    // Any non-zero pixel in columns [x, x + w) of rows [y, y + h).
    bool any(int32_t x, int32_t w, int32_t y, int32_t h) const {
        for (int32_t r = y; r < y + h; ++r)
            for (int32_t c = x; c < x + w; ++c)
                if (at(c, r) != 0) return true;
        return false;
    }
};

// A source and axes the renderers can walk without reading outside the
// bitmap.
bool drawable(const sBlit_Bitmap* src, const sBlit_Axis* ax) {
    if (src == nullptr || src->pixels == nullptr || ax == nullptr) return false;
    if (src->bpp < 1 || src->bpp > 4 || src->width <= 0 || src->height <= 0) return false;
    const int32_t shift = sBlit_ShiftList[src->bpp - 1];
    if (src->rowbytes < ((src->width - 1) >> shift) + 1) return false;
    const int32_t limit[2] = {src->width, src->height};
    for (int i = 0; i < 2; ++i) {
        const sBlit_Axis& a = ax[i];
        if (a.srcsize <= 0 || a.dstsize <= 0 || a.srcfirst < 0) return false;
        if (static_cast<int64_t>(a.srcfirst) + a.srcsize > limit[i]) return false;
        if (a.firstvis <= 0 || a.firstpix < a.srcfirst) return false;
    }
    return true;
}

void plotrect(sBlit_PlotFn plot, void* target, int64_t x, int64_t y, int64_t w, int64_t h) {
    if (w > 0 && h > 0)
        plot(target, static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(w),
             static_cast<int32_t>(h));
}

// One dot-wide strips of a half cell in destination columns [x, x + w). The
// cell's rows run from R (visible run S of a whole run U) and the window
// ends at B; j counts dots from the cell's left edge, e is its whole width.
void halfcell(sBlit_PlotFn plot, void* target, uint32_t code, int64_t x, int32_t w, int32_t o,
              int32_t e, int64_t R, int32_t S, int32_t U, int64_t B) {
    const int64_t T = R + S - U; // top of the whole cell
    const int64_t bottom = std::min<int64_t>(R + S, B);
    for (int32_t i = 0; i < w; ++i) {
        const int64_t j = o + i;
        const int64_t t = j * ONE / e;
        const int64_t t1 = (j + 1) * ONE / e;
        int64_t top = R;
        int64_t stop = bottom;
        switch (code) {
        case SBLIT_UPRIGHT: {
            const int64_t h = std::min<int64_t>(floordiv((t + 1) * (U + 1) - 1, ONE), U);
            stop = std::min<int64_t>(T + h, B);
            break;
        }
        case SBLIT_UPLEFT: {
            const int64_t h = std::min<int64_t>(floordiv((ONE + 1 - t1) * (U + 1) - 1, ONE), U);
            stop = std::min<int64_t>(T + h, B);
            break;
        }
        case SBLIT_LOWLEFT: {
            const int64_t g = std::max<int64_t>(S - U + floordiv((U + 1) * t - 1, ONE), 0);
            top = R + g;
            break;
        }
        case SBLIT_LOWRIGHT: {
            const int64_t g = std::max<int64_t>(S - U - floordiv((U + 1) * (t1 - ONE), ONE) - 1, 0);
            top = R + g;
            break;
        }
        default:
            return;
        }
        plotrect(plot, target, x + i, top, 1, stop - top);
    }
}

// Magnifying both ways: walks each source column down its rows, merging
// vertical runs of full pixels into one rectangle; with `shapes` the half
// cells are drawn as strips, otherwise any non-zero pixel counts as full.
void magnify2(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* src, sBlit_Axis* ax,
              bool shapes) {
    const Pixels px(src);
    for (Walk col(ax[0]); col.ok(); col.next()) {
        const int32_t w = col.width();
        int64_t runtop = -1, runbottom = 0;
        for (Walk row(ax[1]); row.ok(); row.next()) {
            const uint32_t v = px.at(col.pix, row.pix);
            const bool full = shapes ? v == SBLIT_FULL : v != 0;
            if (full) {
                if (runtop < 0) runtop = row.pos;
                runbottom = std::min<int64_t>(row.pos + row.vis, row.end);
                continue;
            }
            if (runtop >= 0) plotrect(plot, target, col.pos, runtop, w, runbottom - runtop);
            runtop = -1;
            if (shapes && v != SBLIT_EMPTY)
                halfcell(plot, target, v, col.pos, w, col.cut(), col.full, row.pos, row.vis,
                         row.full, row.end);
        }
        if (runtop >= 0) plotrect(plot, target, col.pos, runtop, w, runbottom - runtop);
    }
}
} // namespace

void sBlit_Scale1Init(sBlit_Axis* axis, int32_t flags) {
    if (flags & SBLIT_OPEN) bres_open(&axis->line, BRES_SCALE, axis->srcsize, axis->dstsize);
    if (!(flags & SBLIT_WINDOW)) return;
    axis->magnify = axis->dstsize >= axis->srcsize ? 1 : 0;
    axis->firstpix = axis->firstdst = axis->firstvis = axis->firstfull = 0;
    if (axis->srcsize <= 0 || axis->dstsize <= 0) return;
    const int32_t start = std::max(axis->winstart, 0);
    if (start >= axis->dstsize) return; // the window lies past the image
    bres_line* line = &axis->line;
    if (axis->magnify) {
        int32_t pix = bres_findoffset(line, start);
        if (pix < axis->srcfirst) {
            pix = axis->srcfirst;
            axis->firstdst = bres_findstepn(line, pix);
            axis->firstvis = axis->firstfull = bres_firststeplen(line);
        } else {
            axis->firstdst = start;
            axis->firstvis = bres_firststeplen(line);
            const int32_t err = line->err; // later runs continue from here
            const int32_t pixstart = bres_findstepn(line, pix);
            line->err = err;
            axis->firstfull = axis->firstvis + (start - pixstart);
        }
        axis->firstpix = pix;
    } else {
        int32_t pix = bres_findstepn(line, start);
        int32_t len = bres_firststeplen(line);
        if (pix < axis->srcfirst) { // the dot keeps only its available pixels
            len -= axis->srcfirst - pix;
            pix = axis->srcfirst;
        }
        axis->firstdst = start;
        axis->firstpix = pix;
        axis->firstvis = axis->firstfull = std::max(len, 0);
    }
}

void sBlit_Blit(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis) {
    if (plot == nullptr || !drawable(source, xaxis)) return;
    const bool mx = xaxis[0].magnify != 0;
    const bool my = xaxis[1].magnify != 0;
    if (!mx)
        (my ? sBlit_SM : sBlit_SS)(plot, target, source, xaxis);
    else if (!my)
        sBlit_MS(plot, target, source, xaxis);
    else
        (source->bpp == 1 ? sBlit_MM : sBlit_ssMM)(plot, target, source, xaxis);
}

void sBlit_SS(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis) {
    if (plot == nullptr || !drawable(source, xaxis)) return;
    const Pixels px(source);
    for (Walk row(xaxis[1]); row.ok(); row.next()) {
        int64_t runleft = -1, runright = 0;
        for (Walk col(xaxis[0]); col.ok(); col.next()) {
            if (px.any(col.pix, col.vis, row.pix, row.vis)) {
                if (runleft < 0) runleft = col.pos;
                runright = col.pos + 1;
                continue;
            }
            if (runleft >= 0) plotrect(plot, target, runleft, row.pos, runright - runleft, 1);
            runleft = -1;
        }
        if (runleft >= 0) plotrect(plot, target, runleft, row.pos, runright - runleft, 1);
    }
}

void sBlit_SM(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis) {
    if (plot == nullptr || !drawable(source, xaxis)) return;
    const Pixels px(source);
    for (Walk row(xaxis[1]); row.ok(); row.next()) {
        const int32_t h = row.width();
        int64_t runleft = -1, runright = 0;
        for (Walk col(xaxis[0]); col.ok(); col.next()) {
            if (px.any(col.pix, col.vis, row.pix, 1)) {
                if (runleft < 0) runleft = col.pos;
                runright = col.pos + 1;
                continue;
            }
            if (runleft >= 0) plotrect(plot, target, runleft, row.pos, runright - runleft, h);
            runleft = -1;
        }
        if (runleft >= 0) plotrect(plot, target, runleft, row.pos, runright - runleft, h);
    }
}

void sBlit_MS(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis) {
    if (plot == nullptr || !drawable(source, xaxis)) return;
    const Pixels px(source);
    for (Walk col(xaxis[0]); col.ok(); col.next()) {
        const int32_t w = col.width();
        int64_t runtop = -1, runbottom = 0;
        for (Walk row(xaxis[1]); row.ok(); row.next()) {
            if (px.any(col.pix, 1, row.pix, row.vis)) {
                if (runtop < 0) runtop = row.pos;
                runbottom = row.pos + 1;
                continue;
            }
            if (runtop >= 0) plotrect(plot, target, col.pos, runtop, w, runbottom - runtop);
            runtop = -1;
        }
        if (runtop >= 0) plotrect(plot, target, col.pos, runtop, w, runbottom - runtop);
    }
}

void sBlit_MM(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis) {
    if (plot == nullptr || !drawable(source, xaxis)) return;
    magnify2(plot, target, source, xaxis, false);
}

void sBlit_ssMM(sBlit_PlotFn plot, void* target, const sBlit_Bitmap* source, sBlit_Axis* xaxis) {
    if (plot == nullptr || !drawable(source, xaxis)) return;
    magnify2(plot, target, source, xaxis, true);
}
