// PDF417 grid and painting: error-correction levels and check codewords,
// the choice of columns and rows, pads, overflow, row indicators and the
// bar runs painted through the callback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/matrix/pdf417_internal.hpp"
#include "core/matrix/pdf417_tables.hpp"

namespace {

struct Sym {
    pdf417_sym s{};
    Sym() {
        pdf417_open(&s);
        s.aspect = 0.0f;
    }
    bool build(const std::string& data) {
        return pdf417_gridcalc(&s, data.data(), static_cast<int32_t>(data.size())) != 0;
    }
};

// c(x) = sum of codeword i times x^(count - 1 - i), evaluated at x modulo 929.
uint32_t evaluate(const int32_t* cw, int32_t count, uint32_t x) {
    uint64_t v = 0;
    for (int32_t i = 0; i < count; ++i) v = (v * x + static_cast<uint32_t>(cw[i])) % 929;
    return static_cast<uint32_t>(v);
}

struct Rect {
    int32_t x, y, w, h;
};
uint32_t record(void* ctx, int32_t x, int32_t y, int32_t w, int32_t h) {
    static_cast<std::vector<Rect>*>(ctx)->push_back({x, y, w, h});
    return 1;
}

std::string gube(const pdf417_sym* s) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    pdf417_gubegrid(s, out);
    std::fclose(out);
    std::string r(text, size);
    std::free(text);
    return r;
}

} // namespace

TEST(Pdf417Grid, EccLevelForSpace) {
    struct Case {
        int32_t space, level;
    };
    // 2^(L+1) check codewords must fit in the space.
    const Case cases[] = {{-5, 0},  {0, 0},   {1, 0},   {3, 0},   {4, 1},   {7, 1},
                          {8, 2},   {15, 2},  {16, 3},  {32, 4},  {63, 4},  {64, 5},
                          {128, 6}, {255, 6}, {256, 7}, {511, 7}, {512, 8}, {928, 8}};
    for (const Case& c : cases) EXPECT_EQ(pdf417_ecc_maxforspace(c.space), c.level) << c.space;
}

// Check codewords make the whole codeword sequence a multiple of the
// generator, so it vanishes at every root 3^1 .. 3^k.
TEST(Pdf417Grid, CheckCodewordsVanishAtTheGeneratorRoots) {
    std::mt19937 rng(929);
    for (int32_t level = 0; level <= 8; ++level) {
        const int32_t k = 2 << level;
        for (int32_t n : {1, 7, PDF417_MAXCW - k}) {
            SCOPED_TRACE("level " + std::to_string(level) + " data " + std::to_string(n));
            int32_t cw[PDF417_CWROOM] = {};
            cw[0] = n;
            for (int32_t i = 1; i < n; ++i) cw[i] = static_cast<int32_t>(rng() % 929);
            ASSERT_TRUE(pdf417_ecccalc(cw, level));
            uint32_t root = 1;
            for (int32_t j = 1; j <= k; ++j) {
                root = root * 3 % 929;
                ASSERT_EQ(evaluate(cw, n + k, root), 0u) << "root 3^" << j;
            }
            for (int32_t i = n; i < n + k; ++i) ASSERT_TRUE(cw[i] >= 0 && cw[i] < 929);
        }
    }
    int32_t cw[PDF417_CWROOM] = {5, 1, 2, 3, 4};
    EXPECT_FALSE(pdf417_ecccalc(cw, 9));
    EXPECT_FALSE(pdf417_ecccalc(cw, -1));
    EXPECT_FALSE(pdf417_ecccalc(nullptr, 0));
    cw[0] = 0;
    EXPECT_FALSE(pdf417_ecccalc(cw, 0));
    cw[0] = 927; // 927 + 2 > 928
    EXPECT_FALSE(pdf417_ecccalc(cw, 0));
}

TEST(Pdf417Grid, HackSqrt) {
    EXPECT_EQ(pdf417_hacksqrt(0.0L), 0.0L);
    EXPECT_EQ(pdf417_hacksqrt(-4.0L), 0.0L);
    EXPECT_NEAR(static_cast<double>(pdf417_hacksqrt(7413.0L)), 86.0988, 1e-3);
    EXPECT_NEAR(static_cast<double>(pdf417_hacksqrt(2.0L)), 1.41421356, 1e-8);
    // Seven steps from x / 200 do not reach the root of a huge x: the result
    // stays above it.
    EXPECT_GT(pdf417_hacksqrt(1e12L), 1e6L);
}

TEST(Pdf417Grid, DefaultGridIsOneColumn) {
    Sym a;
    ASSERT_TRUE(a.build("ABCDEFGH"));
    // 5 data codewords, level 2 (8 check codewords), 13 rows of 1 column.
    EXPECT_EQ(a.s.columns, 1);
    EXPECT_EQ(a.s.rows, 13);
    EXPECT_EQ(a.s.ecclevel, 2);
    EXPECT_EQ(a.s.cwcount, 13);
    EXPECT_EQ(a.s.codewords[0], 5);
    EXPECT_EQ(gube(&a.s).substr(0, 69), "gubegrid [1 x 13] : \n"
                                        "   0 : [  4]   5 [  0] \n"
                                        "   1 : [  6]   1 [  4] \n");

    // One column holds 90 rows: 73 text codewords and level 3 need 90 cells.
    Sym b;
    ASSERT_TRUE(b.build(std::string(146, 'A')));
    EXPECT_EQ(b.s.columns, 1);
    EXPECT_EQ(b.s.rows, 90);
    Sym c;
    ASSERT_TRUE(c.build(std::string(148, 'A')));
    EXPECT_EQ(c.s.columns, 2);
    EXPECT_EQ(c.s.rows, 90);
    // 180 cells for 75 data codewords: level 5 (64) and 41 pads.
    EXPECT_EQ(c.s.ecclevel, 5);
    EXPECT_EQ(c.s.codewords[0], 75 + 41);
    for (int32_t i = 75; i < 116; ++i) ASSERT_EQ(c.s.codewords[i], 900) << i;
}

TEST(Pdf417Grid, LevelNeverLowerThanAsked) {
    for (int32_t asked = 0; asked <= 8; ++asked) {
        SCOPED_TRACE("level " + std::to_string(asked));
        Sym a;
        a.s.ecclevel = asked;
        a.s.columns = 30;
        a.s.options = PDF417_OPT_USERCOLS;
        const std::string data = "Level test 123";
        ASSERT_TRUE(a.build(data));
        Sym b;
        ASSERT_TRUE(pdf417_autocompact(&b.s, reinterpret_cast<const uint8_t*>(data.data()), 14));
        const int32_t n = b.s.cwcount;
        const int32_t cells = a.s.rows * a.s.columns;
        const int32_t pads = cells - n - (2 << a.s.ecclevel);
        EXPECT_GE(a.s.ecclevel, asked);
        EXPECT_GE(pads, 0);
        if (a.s.ecclevel < 8) {
            EXPECT_LT(pads, 2 << a.s.ecclevel) << "a higher level fits";
        }
        EXPECT_EQ(a.s.codewords[0], n + pads);
        for (int32_t i = n; i < n + pads; ++i) EXPECT_EQ(a.s.codewords[i], 900);
    }
    // Automatic levels by data codewords n: up to 40 -> 2, 41..160 -> 3,
    // 161..320 -> 4, beyond -> 5. Grids chosen so that no surplus cell
    // raises the level (worked by hand: rows = ceil((n + 2^(L+1)) / columns)).
    struct Auto {
        int32_t letters, columns, level, rows;
    };
    const Auto cases[] = {{78, 1, 2, 48},  {80, 1, 3, 57},   {318, 30, 3, 6},
                          {320, 30, 4, 7}, {638, 30, 4, 12}, {640, 30, 5, 13}};
    for (const Auto& c : cases) {
        SCOPED_TRACE(c.letters);
        Sym a;
        a.s.columns = c.columns;
        a.s.options = PDF417_OPT_USERCOLS;
        ASSERT_TRUE(a.build(std::string(c.letters, 'A')));
        EXPECT_EQ(a.s.ecclevel, c.level);
        EXPECT_EQ(a.s.rows, c.rows);
    }
}

TEST(Pdf417Grid, ColumnsRowsAndAspect) {
    Sym given;
    given.s.columns = 5;
    given.s.rows = 20;
    given.s.options = PDF417_OPT_USERCOLS;
    given.s.aspect = 2.0f; // ignored: the columns were given
    ASSERT_TRUE(given.build("ABC"));
    EXPECT_EQ(given.s.columns, 5);
    EXPECT_EQ(given.s.rows, 20);
    EXPECT_EQ(given.s.cwcount, 100);

    Sym clamped;
    clamped.s.columns = 45;
    clamped.s.rows = 1;
    ASSERT_TRUE(clamped.build("ABC"));
    EXPECT_EQ(clamped.s.columns, 30);
    EXPECT_EQ(clamped.s.rows, 3);

    // More than 928 cells: the largest grid of the same shape.
    Sym narrow;
    narrow.s.columns = 20;
    narrow.s.rows = 90;
    ASSERT_TRUE(narrow.build("ABC"));
    EXPECT_EQ(narrow.s.columns, 16);
    EXPECT_EQ(narrow.s.rows, 58);
    Sym wide;
    wide.s.columns = 22;
    wide.s.rows = 90;
    ASSERT_TRUE(wide.build("ABC"));
    EXPECT_EQ(wide.s.columns, 29);
    EXPECT_EQ(wide.s.rows, 32);
    EXPECT_EQ(wide.s.ecclevel, 8);

    // Aspect 0.5 with rows 3 modules high: 201 data codewords, level 4,
    // needed 233; worked by hand, s = 157.55, columns = 7 and 34 rows.
    Sym aspect;
    aspect.s.aspect = 0.5f;
    aspect.s.modwidth = 1;
    aspect.s.rowheight = 3;
    ASSERT_TRUE(aspect.build(std::string(400, 'A')));
    EXPECT_EQ(aspect.s.columns, 7);
    EXPECT_EQ(aspect.s.rows, 34);
    // A tall aspect keeps one column; a very wide one is clamped to 30.
    Sym tall;
    tall.s.aspect = 100.0f;
    ASSERT_TRUE(tall.build(std::string(40, 'A')));
    EXPECT_EQ(tall.s.columns, 1);
    Sym flat;
    flat.s.aspect = 0.0001f;
    ASSERT_TRUE(flat.build(std::string(400, 'A')));
    EXPECT_EQ(flat.s.columns, 30);
}

TEST(Pdf417Grid, LargestMessage) {
    // 926 data codewords leave exactly 2 for level 0 in the 16 x 58 grid.
    Sym fits;
    ASSERT_TRUE(fits.build(std::string(1850, 'A')));
    EXPECT_EQ(fits.s.ecclevel, 0);
    EXPECT_EQ(fits.s.cwcount, 928);
    EXPECT_EQ(fits.s.columns, 16);
    Sym over;
    EXPECT_FALSE(over.build(std::string(1851, 'A')));
    EXPECT_EQ(over.s.errcode, PDF417_ERR_TOOLONG);
    EXPECT_EQ(pdf417_imagewide(&over.s), 0);
    EXPECT_EQ(pdf417_paintgrid(&over.s), 0);
}

TEST(Pdf417Grid, BadArguments) {
    Sym a;
    EXPECT_FALSE(pdf417_gridcalc(&a.s, "", 0));
    EXPECT_EQ(a.s.errcode, PDF417_ERR_NODATA);
    EXPECT_FALSE(pdf417_gridcalc(&a.s, "", -1));
    EXPECT_EQ(a.s.errcode, PDF417_ERR_NODATA);
    EXPECT_FALSE(pdf417_gridcalc(&a.s, nullptr, 3));
    EXPECT_EQ(a.s.errcode, PDF417_ERR_ARGUMENT);
    EXPECT_TRUE(pdf417_gridcalc(&a.s, "ABC", -1)); // up to the NUL
    EXPECT_EQ(a.s.codewords[0], 3);
    EXPECT_EQ(a.s.errcode, PDF417_ERR_NONE);
    a.s.modwidth = 0;
    EXPECT_FALSE(pdf417_gridcalc(&a.s, "ABC", 3));
    EXPECT_EQ(a.s.errcode, PDF417_ERR_ARGUMENT);
    EXPECT_FALSE(pdf417_gridcalc(nullptr, "ABC", 3));
    EXPECT_FALSE(pdf417_open(nullptr));
    EXPECT_FALSE(pdf417_close(nullptr));
    EXPECT_TRUE(pdf417_close(&a.s));
    // Nothing was built: nothing to paint, no size.
    Sym fresh;
    EXPECT_EQ(pdf417_imagewide(&fresh.s), 0);
    EXPECT_EQ(pdf417_imagedeep(&fresh.s), 0);
    EXPECT_FALSE(pdf417_paintgrid(&fresh.s));
}

TEST(Pdf417Paint, RowsAreRunsOfBars) {
    for (int32_t options : {0, static_cast<int32_t>(PDF417_OPT_TRUNCATED)}) {
        SCOPED_TRACE(options);
        Sym a;
        a.s.options = options;
        a.s.modwidth = 2;
        a.s.rowheight = 5;
        a.s.columns = 3;
        ASSERT_TRUE(a.build("Painting 0123456789"));
        std::vector<Rect> rects;
        ASSERT_TRUE(pdf417_paintgrid(&a.s)); // no callback: nothing, success
        ASSERT_TRUE(pdf417_setcallback(&a.s, record, &rects));
        ASSERT_TRUE(pdf417_paintgrid(&a.s));
        const int32_t modules = (options ? 5 : 7) * 17 + 1;
        EXPECT_EQ(pdf417_imagewide(&a.s), modules * 2);
        EXPECT_EQ(pdf417_imagedeep(&a.s), a.s.rows * 5);

        std::vector<std::string> rows(a.s.rows, std::string(modules, '.'));
        for (const Rect& r : rects) {
            ASSERT_EQ(r.h, 5);
            ASSERT_EQ(r.y % 5, 0);
            ASSERT_EQ(r.x % 2, 0);
            ASSERT_EQ(r.w % 2, 0);
            std::string& row = rows[r.y / 5];
            for (int32_t m = r.x / 2; m < (r.x + r.w) / 2; ++m) {
                ASSERT_LT(m, modules);
                ASSERT_EQ(row[m], '.') << "overlap";
                row[m] = '#';
            }
            // A run of bars is one rectangle: nothing touches it on the left.
            if (r.x > 0) {
                ASSERT_EQ(row[r.x / 2 - 1], '.');
            }
        }
        for (const std::string& row : rows) {
            // Published start pattern, widths 8 1 1 1 1 1 1 3.
            EXPECT_EQ(row.substr(0, 17), "########.#.#.#...");
            if (options) {
                EXPECT_EQ(row.substr(modules - 1), "#"); // the single terminating bar
            } else {
                // Published stop pattern, widths 7 1 1 3 1 1 1 2 1.
                EXPECT_EQ(row.substr(modules - 18), "#######.#...#.#..#");
            }
        }
    }
    Sym full, truncated;
    truncated.s.options = PDF417_OPT_TRUNCATED;
    ASSERT_TRUE(full.build("same data"));
    ASSERT_TRUE(truncated.build("same data"));
    EXPECT_EQ(pdf417_imagewide(&full.s) - pdf417_imagewide(&truncated.s), 34 * full.s.modwidth);
    EXPECT_EQ(pdf417_paintcodeword(&full.s, 0, 0, PDF417_START), 17 * full.s.modwidth);
}

// Row indicators carry rows, columns and level in the clusters' order:
// cluster 0 rows then columns, cluster 3 level then rows, cluster 6 columns
// then level, each plus 30 per group of three rows.
TEST(Pdf417Paint, RowIndicators) {
    Sym a;
    a.s.ecclevel = 1;
    a.s.columns = 2;
    a.s.rows = 7;
    a.s.options = PDF417_OPT_USERCOLS;
    ASSERT_TRUE(a.build("AB"));
    ASSERT_EQ(a.s.ecclevel, 2); // 14 cells for 2 data codewords: raised to level 2
    const std::string g = gube(&a.s);
    // rows 7: (7-1)/3 = 2, (7-1)%3 = 0; columns 2: 1; level 2: 6.
    EXPECT_NE(g.find("   0 : [  2] "), std::string::npos) << g;
    EXPECT_NE(g.find(" [  1] \n   1 : [  6] "), std::string::npos) << g;
    EXPECT_NE(g.find(" [  2] \n   2 : [  1] "), std::string::npos) << g;
    EXPECT_NE(g.find(" [  6] \n   3 : [ 32] "), std::string::npos) << g;
    EXPECT_NE(g.find(" [ 31] \n   4 : [ 36] "), std::string::npos) << g;
    EXPECT_NE(g.find(" [ 32] \n   5 : [ 31] "), std::string::npos) << g;
    EXPECT_NE(g.find(" [ 36] \n   6 : [ 62] "), std::string::npos) << g;
    a.s.options |= PDF417_OPT_TRUNCATED;
    EXPECT_EQ(gube(&a.s).find("   0 : [  2] ") + 13 + 2 * 4, gube(&a.s).find("\n   1"));
}

// Any parameters and any data: either a consistent grid or a clear error.
TEST(Pdf417Grid, RandomParametersGiveAGridOrAnError) {
    std::mt19937 rng(15438);
    for (int round = 0; round < 2000; ++round) {
        pdf417_sym s{};
        pdf417_open(&s);
        s.options = static_cast<int32_t>(rng() % 32);
        s.ecclevel = static_cast<int32_t>(rng() % 14) - 2;
        s.columns = static_cast<int32_t>(rng() % 40) - 5;
        s.rows = static_cast<int32_t>(rng() % 120) - 10;
        s.modwidth = static_cast<int32_t>(rng() % 6);
        s.rowheight = static_cast<int32_t>(rng() % 12);
        s.aspect = static_cast<float>(rng() % 2000) / 100.0f - 2.0f;
        std::string data(rng() % (round % 10 == 0 ? 3000 : 300), ' ');
        const uint32_t mix = rng() % 4; // how wide a byte range to draw from
        for (char& c : data)
            c = static_cast<char>(mix == 0 ? '0' + rng() % 10 : rng() % (64 << mix));
        SCOPED_TRACE("round " + std::to_string(round));
        if (!pdf417_gridcalc(&s, data.data(), static_cast<int32_t>(data.size()))) {
            EXPECT_TRUE(s.errcode == PDF417_ERR_TOOLONG || s.errcode == PDF417_ERR_NODATA ||
                        s.errcode == PDF417_ERR_ARGUMENT)
                << s.errcode;
            EXPECT_EQ(pdf417_imagewide(&s), 0);
            continue;
        }
        const int32_t cells = s.rows * s.columns;
        ASSERT_TRUE(s.columns >= 1 && s.columns <= 30 && s.rows >= 3 && s.rows <= 90);
        ASSERT_TRUE(s.ecclevel >= 0 && s.ecclevel <= 8);
        ASSERT_LE(cells, PDF417_MAXCW);
        ASSERT_EQ(s.cwcount, cells);
        ASSERT_EQ(s.codewords[0] + (2 << s.ecclevel), cells);
        for (int32_t i = 0; i < cells; ++i)
            ASSERT_TRUE(s.codewords[i] >= 0 && s.codewords[i] < 929);
        std::vector<Rect> rects;
        pdf417_setcallback(&s, record, &rects);
        ASSERT_TRUE(pdf417_paintgrid(&s));
        for (const Rect& r : rects) {
            ASSERT_TRUE(r.x >= 0 && r.x + r.w <= pdf417_imagewide(&s));
            ASSERT_TRUE(r.y >= 0 && r.y + r.h <= pdf417_imagedeep(&s));
        }
    }
}
