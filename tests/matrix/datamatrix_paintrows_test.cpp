// Painting a band's rows of a DataMatrix symbol: exactly the rectangles of the
// whole painting that reach into those dot rows, in the same order, so a
// printer drawing band by band gets the bytes it got from the whole painting
// cut to its window.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/matrix/datamatrix_testutil.hpp"

namespace {
struct Rect {
    int32_t x, y, w, h;
    bool operator==(const Rect&) const = default;
};

uint32_t record(void* ctx, int32_t x, int32_t y, int32_t w, int32_t h) {
    static_cast<std::vector<Rect>*>(ctx)->push_back({x, y, w, h});
    return 1;
}

TEST(DataMatrixPaintRows, TheWholePaintingCutToTheRows) {
    // Modules of 3 x 2 dots: module row r covers dot rows 2r and 2r + 1.
    dmtest::built b("ORDER 4711 SHIP");
    ASSERT_EQ(b.ok, 1);
    b.sym.modwidth = 3;
    b.sym.modheight = 2;
    const int32_t deep = datamtx_imagedeep(&b.sym);
    std::vector<Rect> whole;
    ASSERT_EQ(datamtx_setcallback(&b.sym, record, &whole), 1);
    ASSERT_EQ(datamtx_imagepaint(&b.sym), 1);

    struct Row {
        const char* name;
        int32_t top, bottom;
    };
    const Row rows[] = {
        {"all rows", 0, deep},
        {"the window's whole range", INT32_MIN, INT32_MAX},
        {"first dot row only", 0, 1},
        {"second dot row of the first module row", 1, 2},
        {"one module row exactly", 4, 6},
        {"a window cutting two module rows", 5, 8},
        {"the last row and beyond", deep - 1, deep + 50},
        {"above the symbol", -10, 0},
        {"below the symbol", deep, deep + 10},
        {"an empty window", 8, 8},
        {"a window upside down", 10, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        // Expected: the whole painting's rectangles that overlap the rows.
        std::vector<Rect> expect;
        for (const Rect& q : whole)
            if (int64_t{q.y} + q.h > r.top && q.y < r.bottom) expect.push_back(q);
        std::vector<Rect> got;
        ASSERT_EQ(datamtx_setcallback(&b.sym, record, &got), 1);
        EXPECT_EQ(datamtx_imagepaintrows(&b.sym, r.top, r.bottom), 1);
        EXPECT_EQ(got, expect);
    }
}
} // namespace
