#include "preview/bitmap.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>

void Bitmap::fill(int x, int y, int w, int h) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width), y1 = std::min(y + h, height);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) dots[index(xx, yy)] = 1;
}

void Bitmap::grow(int w, int h) {
    if (w <= width && h <= height) return;
    if (w <= width) {
        // Rows are stored one after the other: new rows go at the end.
        height = h;
        dots.resize(static_cast<size_t>(width) * height, 0);
        return;
    }
    Bitmap b(std::max(w, width), std::max(h, height));
    for (int y = 0; y < height; ++y)
        std::copy_n(dots.data() + index(0, y), width, b.dots.data() + b.index(0, y));
    *this = std::move(b);
}

Bitmap Bitmap::framed(int margin) const {
    Bitmap b(width + 2 * margin, height + 2 * margin);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.dots[b.index(x + margin, y + margin)] = dots[index(x, y)];
    return b;
}

Bitmap Bitmap::scaled(int fx, int fy) const {
    // Each source row once, widened, then copied for the rows below it.
    Bitmap b(width * fx, height * fy);
    for (int y = 0; y < height; ++y) {
        uint8_t* first = b.dots.data() + b.index(0, y * fy);
        for (int x = 0; x < width; ++x)
            std::fill_n(first + static_cast<size_t>(x) * fx, fx, dots[index(x, y)]);
        for (int k = 1; k < fy; ++k)
            std::copy_n(first, b.width, first + static_cast<size_t>(k) * b.width);
    }
    return b;
}

Bitmap Bitmap::rotated90() const {
    Bitmap b(height, width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.dots[b.index(height - 1 - y, x)] = dots[index(x, y)];
    return b;
}

std::string Bitmap::rows() const {
    std::string s;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) s.push_back(get(x, y) ? '#' : '.');
        s.push_back('\n');
    }
    return s;
}

Bitmap::Box Bitmap::ink() const {
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (dots[index(x, y)]) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) return {0, 0, 0, 0};
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

Bitmap Bitmap::crop(int x, int y, int w, int h) const {
    Bitmap b(w, h);
    // The part of each row inside this bitmap, copied whole.
    const int x0 = std::max(x, 0), x1 = std::min(x + w, width);
    if (x1 <= x0) return b;
    for (int yy = std::max(y, 0); yy < std::min(y + h, height); ++yy)
        std::copy_n(dots.data() + index(x0, yy), x1 - x0, b.dots.data() + b.index(x0 - x, yy - y));
    return b;
}

bool Bitmap::writepgm(const std::string& path) const {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    std::fprintf(f, "P5\n%d %d\n255\n", width, height);
    for (uint8_t d : dots) std::fputc(d ? 0 : 255, f);
    std::fclose(f);
    return true;
}

std::vector<Bitmap::Box> ink_regions(const Bitmap& b, int gap) {
    // Label connected components on a coarse grid of gap x gap cells.
    const int gw = (b.width + gap - 1) / gap, gh = (b.height + gap - 1) / gap;
    std::vector<int> cell(static_cast<size_t>(gw) * gh, 0);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.get(x, y)) cell[static_cast<size_t>(y / gap) * gw + x / gap] = -1;
    std::vector<Bitmap::Box> boxes;
    std::vector<int> stack;
    int label = 0;
    for (int start = 0; start < gw * gh; ++start) {
        if (cell[start] != -1) continue;
        ++label;
        int x0 = gw, y0 = gh, x1 = -1, y1 = -1;
        stack.push_back(start);
        cell[start] = label;
        while (!stack.empty()) {
            const int c = stack.back();
            stack.pop_back();
            const int cx = c % gw, cy = c / gw;
            x0 = std::min(x0, cx); y0 = std::min(y0, cy);
            x1 = std::max(x1, cx); y1 = std::max(y1, cy);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = cx + dx, ny = cy + dy;
                    if (nx < 0 || ny < 0 || nx >= gw || ny >= gh) continue;
                    int& n = cell[static_cast<size_t>(ny) * gw + nx];
                    if (n == -1) {
                        n = label;
                        stack.push_back(ny * gw + nx);
                    }
                }
        }
        // Tighten the cell box to the ink inside it.
        Bitmap::Box coarse{x0 * gap, y0 * gap, (x1 - x0 + 1) * gap, (y1 - y0 + 1) * gap};
        Bitmap::Box tight = b.crop(coarse.x, coarse.y, coarse.w, coarse.h).ink();
        boxes.push_back({coarse.x + tight.x, coarse.y + tight.y, tight.w, tight.h});
    }
    std::sort(boxes.begin(), boxes.end(), [](const Bitmap::Box& a, const Bitmap::Box& c) {
        return a.y != c.y ? a.y < c.y : a.x < c.x;
    });
    return boxes;
}
