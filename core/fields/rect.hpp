// Rectangles in dots and the one clipping rule every drawing step shares: the
// field engine cutting a field to the band, a bar or module to the clip
// window, and the region setters cutting a rectangle to their bitmap.
#pragma once

#include <algorithm>
#include <cstdint>

// A rectangle: top-left corner (x, y), width w and height h.
struct kv_rect {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};

// Cuts *r down to the part inside `window`. Returns false, leaving *r with
// zero width and height, when nothing is left (a rectangle that only touches
// the window's edge included). Edges are computed in 64 bits, so windows as
// wide as the whole int32 range clip without overflow.
constexpr bool kv_clip(kv_rect* r, const kv_rect& window) {
    const int64_t left = std::max<int64_t>(r->x, window.x);
    const int64_t top = std::max<int64_t>(r->y, window.y);
    const int64_t right = std::min<int64_t>(int64_t{r->x} + r->w, int64_t{window.x} + window.w);
    const int64_t bottom = std::min<int64_t>(int64_t{r->y} + r->h, int64_t{window.y} + window.h);
    if (right <= left || bottom <= top) {
        r->w = 0;
        r->h = 0;
        return false;
    }
    *r = kv_rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                 static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
    return true;
}
