// The clipping rule every drawing step shares. Expected rectangles are the
// overlaps worked out by hand.
#include <gtest/gtest.h>

#include <string>

#include "core/fields/rect.hpp"

TEST(RectClip, Overlaps) {
    constexpr int32_t kMax = 2147483647;
    struct Case {
        const char* what;
        kv_rect r, window;
        bool left;
        kv_rect out;
    };
    const Case cases[] = {
        {"inside stays whole", {2, 3, 4, 5}, {0, 0, 10, 10}, true, {2, 3, 4, 5}},
        {"cut on every side", {-5, -5, 30, 30}, {1, 2, 3, 4}, true, {1, 2, 3, 4}},
        {"cut right and below", {8, 8, 5, 5}, {0, 0, 10, 10}, true, {8, 8, 2, 2}},
        {"touching the right edge is empty", {10, 0, 5, 5}, {0, 0, 10, 10}, false, {10, 0, 0, 0}},
        {"touching the top edge is empty", {0, -5, 5, 5}, {0, 0, 10, 10}, false, {0, -5, 0, 0}},
        {"zero width is empty", {1, 1, 0, 5}, {0, 0, 10, 10}, false, {1, 1, 0, 0}},
        {"negative height is empty", {1, 1, 5, -2}, {0, 0, 10, 10}, false, {1, 1, 0, 0}},
        {"whole-range window without overflow",
         {kMax - 3, 0, kMax, 7},
         {0, 0, kMax, kMax},
         true,
         {kMax - 3, 0, 3, 7}},
        {"far left of a whole-range window",
         {-kMax - 1, 0, 10, 1},
         {0, 0, kMax, kMax},
         false,
         {-kMax - 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kv_rect r = c.r;
        EXPECT_EQ(kv_clip(&r, c.window), c.left);
        EXPECT_EQ(r.x, c.out.x);
        EXPECT_EQ(r.y, c.out.y);
        EXPECT_EQ(r.w, c.out.w);
        EXPECT_EQ(r.h, c.out.h);
    }
}
