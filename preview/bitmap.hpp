// A page or symbol bitmap for tests: one byte per dot, 1 = black.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> dots;

    Bitmap() = default;
    Bitmap(int w, int h) : width(w), height(h), dots(static_cast<size_t>(w) * h, 0) {}

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    bool get(int x, int y) const { return inside(x, y) && dots[index(x, y)] != 0; }
    void set(int x, int y, bool on = true) {
        if (inside(x, y)) dots[index(x, y)] = on ? 1 : 0;
    }
    void fill(int x, int y, int w, int h);
    // Grows the bitmap so that (x, y) lies inside, keeping what is drawn.
    void grow(int w, int h);
    // A copy with `margin` white dots on every side.
    Bitmap framed(int margin) const;
    // A copy scaled by whole factors in each direction.
    Bitmap scaled(int fx, int fy) const;
    Bitmap rotated90() const; // clockwise
    // Rows of '#' and '.' (for exact-module expectations and failure output).
    std::string rows() const;
    // The smallest rectangle holding every black dot; {0,0,0,0} when empty.
    struct Box { int x, y, w, h; };
    Box ink() const;
    Bitmap crop(int x, int y, int w, int h) const;
    // Writes a PGM image (for looking at a failed test's page).
    bool writepgm(const std::string& path) const;

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * width + x; }
};

// Bounding boxes of the groups of ink in a page: dots closer than `gap` (in
// either direction) belong to the same group. Sorted top to bottom, then
// left to right.
std::vector<Bitmap::Box> ink_regions(const Bitmap& b, int gap);
