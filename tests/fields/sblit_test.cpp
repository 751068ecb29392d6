// The bitmap scaler: run-length arithmetic against the scaling rule, the
// worked examples of the half-cell shapes and of windows, and the renderers
// for shrinking and magnifying.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/fields/newbres.hpp"
#include "core/fields/sblit.hpp"
#include "preview/bitmap.hpp"

namespace {
// Start of source pixel k scaled from s pixels onto d dots: round(k*d/s),
// halves rounded up (the scaling rule, written out independently).
int32_t rulestart(int32_t k, int32_t d, int32_t s) {
    return (2 * k * d + s) / (2 * s);
}

struct Rect {
    int32_t x, y, w, h;
};
struct Plotted {
    std::vector<Rect> rects;
    Bitmap page;
    int overlaps = 0;
};

void record(void* target, int32_t x, int32_t y, int32_t w, int32_t h) {
    auto* p = static_cast<Plotted*>(target);
    p->rects.push_back({x, y, w, h});
    for (int32_t yy = y; yy < y + h; ++yy)
        for (int32_t xx = x; xx < x + w; ++xx) {
            if (p->page.get(xx, yy)) ++p->overlaps;
            p->page.set(xx, yy);
        }
}

// A packed source bitmap built from rows of pixel values (hex digits).
struct Source {
    std::vector<uint8_t> bytes;
    sBlit_Bitmap bitmap;
    Source(const std::vector<std::string>& rows, int32_t bpp) {
        const int32_t w = static_cast<int32_t>(rows[0].size());
        const int32_t shift = sBlit_ShiftList[bpp - 1];
        const int32_t slot = 8 >> shift;
        const int32_t rowbytes = ((w - 1) >> shift) + 1;
        bytes.assign(static_cast<size_t>(rowbytes) * rows.size(), 0);
        for (size_t y = 0; y < rows.size(); ++y)
            for (int32_t x = 0; x < w; ++x) {
                const int v = std::stoi(std::string(1, rows[y][x]), nullptr, 16);
                bytes[y * rowbytes + (x >> shift)] |=
                    static_cast<uint8_t>(v << ((x & ((1 << shift) - 1)) * slot));
            }
        bitmap = {w, static_cast<int32_t>(rows.size()), bytes.data(), rowbytes, bpp};
    }
};

struct Window {
    int32_t start, length;
};

// Scales `src` onto dw x dh dots within the windows; origin (ox, oy).
Plotted scale(const sBlit_Bitmap& src, int32_t dw, int32_t dh, Window wx, Window wy, int32_t ox = 0,
              int32_t oy = 0) {
    sBlit_Axis axes[2];
    axes[0].srcsize = src.width;
    axes[0].dstsize = dw;
    axes[0].winstart = wx.start;
    axes[0].winlen = wx.length;
    axes[0].origin = ox;
    axes[1].srcsize = src.height;
    axes[1].dstsize = dh;
    axes[1].winstart = wy.start;
    axes[1].winlen = wy.length;
    axes[1].origin = oy;
    sBlit_Scale1Init(&axes[0], SBLIT_OPEN | SBLIT_WINDOW);
    sBlit_Scale1Init(&axes[1], SBLIT_OPEN | SBLIT_WINDOW);
    Plotted p;
    p.page = Bitmap(ox + dw, oy + dh);
    sBlit_Blit(record, &p, &src, axes);
    return p;
}

Plotted scale(const sBlit_Bitmap& src, int32_t dw, int32_t dh) {
    return scale(src, dw, dh, {0, dw}, {0, dh});
}

// The bitmap with everything outside the window cleared.
Bitmap masked(const Bitmap& b, Window wx, Window wy) {
    Bitmap m(b.width, b.height);
    for (int y = wy.start; y < wy.start + wy.length; ++y)
        for (int x = wx.start; x < wx.start + wx.length; ++x) m.set(x, y, b.get(x, y));
    return m;
}
} // namespace

TEST(Bres, RunsFollowTheScalingRule) {
    // Every window start of every magnification up to 9 pixels onto 40 dots:
    // the pixel holding the dot, the dots left in its run, then the later
    // runs, all as the rule gives them.
    for (int32_t s = 1; s <= 9; ++s) {
        for (int32_t d = s; d <= 40; ++d) {
            for (int32_t n = 0; n < d; ++n) {
                SCOPED_TRACE(std::to_string(s) + " pixels onto " + std::to_string(d) +
                             " dots from dot " + std::to_string(n));
                bres_line line;
                bres_open(&line, BRES_SCALE, s, d);
                int32_t k = bres_findoffset(&line, n);
                ASSERT_LE(rulestart(k, d, s), n);
                ASSERT_GT(rulestart(k + 1, d, s), n);
                ASSERT_EQ(bres_firststeplen(&line), rulestart(k + 1, d, s) - n);
                for (++k; k < s; ++k)
                    ASSERT_EQ(bres_nextsteplen(&line), rulestart(k + 1, d, s) - rulestart(k, d, s));
                bres_line start;
                bres_open(&start, BRES_SCALE, s, d);
                for (int32_t p = 0; p < s; ++p)
                    ASSERT_EQ(bres_findstepn(&start, p), rulestart(p, d, s));
            }
        }
    }
}

TEST(Bres, StepIncrementsFollowTheRule) {
    // Walking dot by dot, the source pixel advances exactly where the next
    // pixel's run starts.
    for (int32_t s = 1; s <= 7; ++s) {
        for (int32_t d = s; d <= 30; ++d) {
            SCOPED_TRACE(std::to_string(s) + " onto " + std::to_string(d));
            bres_line line;
            bres_open(&line, BRES_SCALE, s, d);
            int32_t k = bres_findoffset(&line, 0);
            for (int32_t n = 1; n < d; ++n) {
                k += bres_nextstepinc(&line);
                ASSERT_EQ(k, (2 * n * s + s - 1) / (2 * d)) << "dot " << n;
            }
        }
    }
}

TEST(Bres, WorkedExamples) {
    struct Case {
        int32_t s, d, window;
        int32_t pixel, visible, runs[4];
        const char* source;
    };
    const Case cases[] = {
        {2, 3, 0, 0, 2, {1, 0, 0, 0}, "2 pixels onto 3 dots: runs 2 and 1"},
        {6, 12, 3, 1, 1, {2, 2, 2, 2}, "6 onto 12 from dot 3: pixel 1, one dot visible"},
        {3, 4, 0, 0, 1, {2, 1, 0, 0}, "3 onto 4: pixel starts 0, 1, 3"},
        {6, 6, 4, 4, 1, {1, 0, 0, 0}, "no magnification: every run one dot"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        bres_line line;
        bres_open(&line, BRES_SCALE, c.s, c.d);
        EXPECT_EQ(bres_findoffset(&line, c.window), c.pixel);
        EXPECT_EQ(bres_firststeplen(&line), c.visible);
        for (int32_t k = c.pixel + 1, i = 0; k < c.s && i < 4; ++k, ++i)
            EXPECT_EQ(bres_nextsteplen(&line), c.runs[i]) << "run of pixel " << k;
    }
    // The line record's sign case and major axis.
    struct Dir {
        int32_t dx, dy, sign, swapped;
    };
    bres_line line;
    for (const Dir d : {Dir{5, 3, 0, 0}, Dir{-5, 3, 1, 0}, Dir{-5, -3, 2, 0}, Dir{5, -3, 3, 0},
                        Dir{3, -5, 3, 1}, Dir{4, 4, 0, 1}}) {
        bres_open(&line, BRES_SCALE, d.dx, d.dy);
        EXPECT_EQ(line.sign, d.sign) << d.dx << "," << d.dy;
        EXPECT_EQ(line.swapped, d.swapped) << d.dx << "," << d.dy;
    }
    bres_open(&line, 0, 0, 7);
    EXPECT_EQ(bres_firststeplen(&line), 8) << "a zero minor length is one run of major + 1";
}

TEST(Bres, ShrinkingCountsSourcePixelsPerDot) {
    // 7 pixels onto 3 dots: dot n starts at source pixel round(7n/3).
    bres_line line;
    bres_open(&line, BRES_SCALE, 7, 3);
    EXPECT_EQ(line.swapped, 0);
    EXPECT_EQ(bres_findstepn(&line, 0), 0);
    EXPECT_EQ(bres_firststeplen(&line), 2); // pixels 0, 1
    EXPECT_EQ(bres_nextsteplen(&line), 3);  // pixels 2, 3, 4
    EXPECT_EQ(bres_nextsteplen(&line), 2);  // pixels 5, 6
    EXPECT_EQ(bres_findstepn(&line, 2), 5);
}

TEST(SBlit, HalfCellStrips) {
    struct Case {
        char code;
        int32_t n;
        std::vector<std::string> rows;
        const char* source;
    };
    const Case cases[] = {
        {'6', 3, {".##", "..#", "..."}, "upper-right at 3: strips 0, 1, 2 from the top"},
        {'5', 3, {"##.", "#..", "..."}, "upper-left at 3: strips 2, 1, 0"},
        {'9', 3, {"#..", "##.", "###"}, "lower-left at 3: 3, 2, 1 up from the bottom"},
        {'a', 3, {"..#", ".##", "###"}, "lower-right at 3: 1, 2, 3"},
        {'f', 3, {"###", "###", "###"}, "full"},
        {'9', 1, {"#"}, "lower halves fill their dot at factor 1"},
        {'a', 1, {"#"}, "lower halves fill their dot at factor 1"},
        {'5', 1, {"."}, "upper halves leave it empty"},
        {'6', 1, {"."}, "upper halves leave it empty"},
        {'6', 2, {".#", ".."}, "2 x 2 staircase"},
        {'5', 2, {"#.", ".."}, "2 x 2 staircase"},
        {'9', 2, {"#.", "##"}, "2 x 2 staircase"},
        {'a', 2, {".#", "##"}, "2 x 2 staircase"},
        {'3', 3, {"...", "...", "..."}, "an unknown code draws nothing"},
        {'0', 3, {"...", "...", "..."}, "empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.code) + " at " + std::to_string(c.n) + ": " + c.source);
        const Source src({std::string(1, c.code)}, 4);
        const Plotted p = scale(src.bitmap, c.n, c.n);
        std::string want;
        for (const std::string& r : c.rows) want += r + "\n";
        EXPECT_EQ(p.page.rows(), want);
        EXPECT_EQ(p.overlaps, 0);
    }
}

TEST(SBlit, HalfCellsKeepTheirSlopeAtEveryScale) {
    // Scaled to any w x h a half cell stays a staircase triangle: upper
    // halves hang from the cell's top, lower halves stand on its bottom, the
    // strips change monotonically across the cell, and the full side of the
    // triangle is a full column.
    struct Shape {
        const char* code;
        bool top;    // strips hang from the top
        bool rising; // strips grow left to right
    };
    const Shape shapes[] = {
        {"5", true, false}, {"6", true, true}, {"9", false, false}, {"a", false, true}};
    for (const Shape& sh : shapes) {
        for (int32_t w = 1; w <= 9; ++w) {
            for (int32_t h = 1; h <= 9; ++h) {
                SCOPED_TRACE(std::string(sh.code) + " at " + std::to_string(w) + " x " +
                             std::to_string(h));
                const Plotted p = scale(Source({sh.code}, 4).bitmap, w, h);
                EXPECT_EQ(p.overlaps, 0);
                int previous = sh.rising ? 0 : h;
                for (int32_t x = 0; x < w; ++x) {
                    int n = 0;
                    for (int32_t y = 0; y < h; ++y) n += p.page.get(x, y);
                    if (n > 0) {
                        EXPECT_TRUE(p.page.get(x, sh.top ? 0 : h - 1)) << "column " << x;
                    }
                    if (sh.rising)
                        EXPECT_GE(n, previous) << "column " << x;
                    else
                        EXPECT_LE(n, previous) << "column " << x;
                    previous = n;
                }
                if (!sh.top) {
                    const int32_t fullcol = sh.rising ? w - 1 : 0;
                    for (int32_t y = 0; y < h; ++y) EXPECT_TRUE(p.page.get(fullcol, y));
                }
            }
        }
    }
}

TEST(SBlit, WindowsDrawExactlyTheirPartOfTheWhole) {
    // Every window of a shape-coded bitmap, magnified unevenly, draws the
    // dots of the whole image inside the window and nothing else: a window
    // starting inside a run draws the rest of that run, and a cut half cell
    // keeps the slope it has uncut.
    const Source src({"0f5a", "96f0", "fa56", "0f9f"}, 4);
    const int32_t dw = 11, dh = 10; // runs of 2 or 3 and 3 or 2 dots
    const Plotted whole = scale(src.bitmap, dw, dh);
    EXPECT_EQ(whole.overlaps, 0);
    for (int32_t x0 = 0; x0 < dw; ++x0)
        for (int32_t x1 = x0 + 1; x1 <= dw + 1; ++x1)
            for (int32_t y0 = 0; y0 < dh; y0 += 1)
                for (int32_t y1 = y0 + 1; y1 <= dh; y1 += 2) {
                    const Window wx{x0, x1 - x0}, wy{y0, y1 - y0};
                    const Plotted part = scale(src.bitmap, dw, dh, wx, wy);
                    ASSERT_EQ(part.page.rows(), masked(whole.page, wx, wy).rows())
                        << "window x " << x0 << ".." << x1 << " y " << y0 << ".." << y1;
                    ASSERT_EQ(part.overlaps, 0);
                }
}

TEST(SBlit, WindowCutThroughAHalfCellAtFactorThree) {
    // Lower-right half magnified 3x (strips 1, 2, 3 from the bottom), the
    // window starting one dot into the cell on both axes: columns 1 and 2
    // keep their 2 and 3 dots, cut to the rows from 1 on.
    const Plotted p = scale(Source({"a"}, 4).bitmap, 3, 3, {1, 2}, {1, 2});
    EXPECT_EQ(p.page.rows(), "...\n.##\n.##\n");
}

TEST(SBlit, FullRunsAreOneRectanglePerColumn) {
    // A 4-bit source whose columns are solid: one plot call per source
    // column, whatever the magnification, and the origin is added.
    const Source src({"f0f", "f0f", "f0f", "f0f"}, 4);
    const Plotted p = scale(src.bitmap, 9, 20, {0, 9}, {0, 20}, 5, 7);
    ASSERT_EQ(p.rects.size(), 2u);
    EXPECT_EQ(p.rects[0].x, 5);
    EXPECT_EQ(p.rects[0].y, 7);
    EXPECT_EQ(p.rects[0].w, 3);
    EXPECT_EQ(p.rects[0].h, 20);
    EXPECT_EQ(p.rects[1].x, 11);
    // A half cell breaks the run: above it one rectangle, below it another.
    const Plotted q = scale(Source({"f", "9", "f", "f"}, 4).bitmap, 2, 8);
    EXPECT_EQ(q.rects.size(), 1u + 2u + 1u);
}

TEST(SBlit, RenderersForEveryDirection) {
    // A one-bit source: magnified axes repeat each pixel over its run,
    // shrunk axes set a dot when any pixel it covers is set.
    const std::vector<std::string> rows = {"10000001", "01000010", "00100100", "00011000",
                                           "00011000", "00100100", "01000010", "10000011"};
    const Source src(rows, 1);
    struct Size {
        int32_t w, h;
    };
    for (const Size sz : {Size{5, 3}, Size{5, 13}, Size{13, 5}, Size{13, 17}, Size{8, 8}}) {
        SCOPED_TRACE(std::to_string(sz.w) + " x " + std::to_string(sz.h));
        const Plotted p = scale(src.bitmap, sz.w, sz.h);
        EXPECT_EQ(p.overlaps, 0);
        // Source pixels covered by dot n of an axis of s pixels onto d dots.
        auto cover = [](int32_t n, int32_t s, int32_t d, int32_t* first, int32_t* last) {
            if (d >= s) {
                int32_t k = 0;
                while (rulestart(k + 1, d, s) <= n) ++k;
                *first = *last = k;
            } else {
                *first = rulestart(n, s, d);
                *last = rulestart(n + 1, s, d) - 1;
            }
        };
        for (int32_t y = 0; y < sz.h; ++y)
            for (int32_t x = 0; x < sz.w; ++x) {
                int32_t x0, x1, y0, y1;
                cover(x, 8, sz.w, &x0, &x1);
                cover(y, 8, sz.h, &y0, &y1);
                bool ink = false;
                for (int32_t yy = y0; yy <= y1; ++yy)
                    for (int32_t xx = x0; xx <= x1; ++xx) ink |= rows[yy][xx] == '1';
                ASSERT_EQ(p.page.get(x, y), ink) << "dot " << x << "," << y;
            }
    }
}

TEST(SBlit, PixelPacking) {
    // Pixels fill each byte from the low bits up; 3 bits a pixel are stored
    // like 4. Magnified 1:1 every non-zero pixel of a one-bit source and
    // every full pixel of a wider one is a dot.
    const uint8_t onebit[] = {0x05, 0x01}; // pixels 0, 2 and 8 of a 9-pixel row
    const sBlit_Bitmap b1{9, 1, onebit, 2, 1};
    EXPECT_EQ(scale(b1, 9, 1).page.rows(), "#.#.....#\n");
    const uint8_t twobit[] = {0x1B}; // 3, 2, 1, 0: shrinking 4 onto 2 sees any value
    const sBlit_Bitmap b2{4, 1, twobit, 1, 2};
    EXPECT_EQ(scale(b2, 2, 1).page.rows(), "##\n");
    EXPECT_EQ(scale(b2, 4, 1).page.rows(), "....\n") << "magnified: only full pixels";
    const uint8_t fourbit[] = {0xF0, 0x0F}; // 0, 15, 15, 0
    const sBlit_Bitmap b4{4, 1, fourbit, 2, 4};
    EXPECT_EQ(scale(b4, 4, 1).page.rows(), ".##.\n");
}

TEST(SBlit, BadSourcesDrawNothing) {
    const uint8_t px[] = {0xFF, 0xFF};
    struct Case {
        sBlit_Bitmap b;
        int32_t dw, dh;
        const char* what;
    };
    const Case cases[] = {
        {{2, 2, nullptr, 1, 4}, 4, 4, "no pixels"},
        {{2, 2, px, 1, 0}, 4, 4, "0 bits a pixel"},
        {{2, 2, px, 1, 5}, 4, 4, "5 bits a pixel"},
        {{4, 2, px, 1, 4}, 4, 4, "rows shorter than their pixels"},
        {{2, 2, px, 1, 4}, 0, 4, "nothing to draw onto"},
        {{0, 2, px, 1, 4}, 4, 4, "an empty source"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(scale(c.b, c.dw, c.dh).rects.empty());
    }
    // Axes larger than the bitmap, or a window past the image.
    sBlit_Axis axes[2];
    axes[0].srcsize = 3; // the bitmap has 2 columns
    axes[0].dstsize = 6;
    axes[0].winlen = 6;
    axes[1].srcsize = 2;
    axes[1].dstsize = 4;
    axes[1].winlen = 4;
    sBlit_Scale1Init(&axes[0], SBLIT_OPEN | SBLIT_WINDOW);
    sBlit_Scale1Init(&axes[1], SBLIT_OPEN | SBLIT_WINDOW);
    const sBlit_Bitmap b{2, 2, px, 1, 4};
    Plotted p;
    p.page = Bitmap(8, 8);
    sBlit_Blit(record, &p, &b, axes);
    EXPECT_TRUE(p.rects.empty());
    EXPECT_TRUE(scale(b, 4, 4, {4, 3}, {0, 4}).rects.empty());
    EXPECT_TRUE(scale(b, 4, 4, {0, 0}, {0, 4}).rects.empty());
}
