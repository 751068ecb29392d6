// ECC200 symbol construction below the encodation: the size table, GF(256)
// and the Reed-Solomon generators, interleaved check blocks, module
// placement and finder patterns, painting, and the record's operations and
// errors.
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/matrix/datamatrix_testutil.hpp"

namespace {
// GF(256) product by shift and add over x^8 + x^5 + x^3 + x^2 + 1, kept
// apart from the encoder's tables.
uint8_t gfmul(uint8_t a, uint8_t b) {
    unsigned r = 0;
    unsigned x = a;
    for (; b != 0; b >>= 1) {
        if (b & 1) r ^= x;
        x <<= 1;
        if (x & 0x100) x ^= 0x12D;
    }
    return static_cast<uint8_t>(r);
}

std::vector<const datamtx200_symdef*> squares() {
    std::vector<const datamtx200_symdef*> out;
    for (const datamtx200_symdef* e = datamtx200_symdeftab; e->width == e->height && e->width > 0;
         ++e)
        out.push_back(e);
    return out;
}
} // namespace

TEST(DataMatrixSymbol, SizeTable) {
    // ISO/IEC 16022 Table 7: square sizes with data codewords, check
    // codewords and interleaved blocks.
    struct Row {
        int size, data, check, blocks;
    };
    const std::array<Row, 24> published{{
        {10, 3, 5, 1},      {12, 5, 7, 1},       {14, 8, 10, 1},      {16, 12, 12, 1},
        {18, 18, 14, 1},    {20, 22, 18, 1},     {22, 30, 20, 1},     {24, 36, 24, 1},
        {26, 44, 28, 1},    {32, 62, 36, 1},     {36, 86, 42, 1},     {40, 114, 48, 1},
        {44, 144, 56, 1},   {48, 174, 68, 1},    {52, 204, 84, 2},    {64, 280, 112, 2},
        {72, 368, 144, 4},  {80, 456, 192, 4},   {88, 576, 224, 4},   {96, 696, 272, 4},
        {104, 816, 336, 6}, {120, 1050, 408, 6}, {132, 1304, 496, 8}, {144, 1558, 620, 10},
    }};
    const std::vector<const datamtx200_symdef*> sq = squares();
    ASSERT_EQ(sq.size(), published.size());
    for (size_t i = 0; i < sq.size(); ++i) {
        const datamtx200_symdef& e = *sq[i];
        SCOPED_TRACE(std::to_string(e.width) + "x" + std::to_string(e.height));
        EXPECT_EQ(e.width, published[i].size);
        EXPECT_EQ(e.data, published[i].data);
        EXPECT_EQ(e.check, published[i].check);
        EXPECT_EQ(e.blocks, published[i].blocks);
        // The remaining columns follow from the layout.
        EXPECT_EQ(e.total, e.data + e.check);
        EXPECT_EQ(e.check, e.blocks * e.blockcheck);
        EXPECT_EQ(e.matrixw * e.matrixh / 8, e.total);
        EXPECT_EQ(e.width, e.matrixw + 2 * (e.matrixw / e.regionw));
        EXPECT_EQ(e.matrixw % e.regionw, 0);
        EXPECT_NE(datamtx200_polylutn(e.blockcheck), nullptr);
    }
    // Six rectangles after the squares, then the end.
    const datamtx200_symdef* r = datamtx200_symdefrect0();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r, datamtx200_symdeftab + 24);
    EXPECT_EQ(r->width, 18);
    EXPECT_EQ(r->height, 8);
    for (int i = 0; i < 6; ++i) {
        const datamtx200_symdef& e = r[i];
        EXPECT_NE(e.width, e.height);
        EXPECT_EQ(e.matrixw * e.matrixh / 8, e.total);
        EXPECT_NE(datamtx200_polylutn(e.blockcheck), nullptr);
    }
    EXPECT_EQ(r[6].width, -1);

    EXPECT_EQ(datamtx200_symdefbysize(0, 0), datamtx200_symdeftab);
    EXPECT_EQ(datamtx200_symdefbysize(-3, 5), datamtx200_symdeftab);
    EXPECT_EQ(datamtx200_symdefbysize(144, 144), sq.back());
    EXPECT_EQ(datamtx200_symdefbysize(48, 16), datamtx200_symdeftab + 29);
    EXPECT_EQ(datamtx200_symdefbysize(11, 11), nullptr);
    // Size choice: not narrower than asked, then the first that holds.
    EXPECT_EQ(datamtx200_symdeffit(3, 30)->width, 32);
    EXPECT_EQ(datamtx200_symdeffit(63, 0)->width, 36);
    EXPECT_EQ(datamtx200_symdeffit(1558, 144)->width, 144);
    EXPECT_EQ(datamtx200_symdeffit(1559, 0), nullptr);
    EXPECT_EQ(datamtx200_symdeffit(0, 145), nullptr);
}

TEST(DataMatrixSymbol, GaloisField) {
    // Powers of alpha = 2 reduced by 0x12D: 2^8 = 45.
    const std::array<int, 10> powers{1, 2, 4, 8, 16, 32, 64, 128, 45, 90};
    for (size_t i = 0; i < powers.size(); ++i) {
        EXPECT_EQ(datamtx_gf256pwrlut[i], powers[i]);
        EXPECT_EQ(datamtx_gf256loglut[powers[i]], static_cast<int>(i));
    }
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const uint8_t p = gfmul(static_cast<uint8_t>(a), static_cast<uint8_t>(b));
            ASSERT_EQ(datamtx_GFmul(static_cast<uint8_t>(a), static_cast<uint8_t>(b)), p);
            if (a != 0 && b != 0) {
                ASSERT_EQ(datamtx_GFdiv(p, static_cast<uint8_t>(b)), a);
            }
        }
    }
    EXPECT_EQ(datamtx_GFdiv(0, 7), 0);
    EXPECT_EQ(datamtx_GFdiv(7, 0), 0);
}

TEST(DataMatrixSymbol, Generators) {
    // ISO/IEC 16022 Annex E, coefficients from x^0 up (the table holds them
    // highest degree first).
    struct Case {
        int n;
        std::vector<int> coef;
    };
    const std::array<Case, 5> published{{
        {5, {228, 48, 15, 111, 62}},
        {7, {23, 68, 144, 134, 240, 92, 254}},
        {10, {28, 24, 185, 166, 223, 248, 116, 255, 110, 61}},
        {11, {175, 138, 205, 12, 194, 168, 39, 245, 60, 97, 120}},
        {12, {41, 153, 158, 91, 61, 42, 142, 213, 97, 178, 100, 242}},
    }};
    for (const Case& c : published) {
        SCOPED_TRACE(c.n);
        const uint8_t* g = datamtx200_polylutn(c.n);
        ASSERT_NE(g, nullptr);
        for (int k = 0; k < c.n; ++k) EXPECT_EQ(g[c.n - 1 - k], c.coef[k]) << "x^" << k;
    }
    // Every generator has the roots alpha^1 .. alpha^n.
    for (const datamtx200_poly& p : datamtx200_polytab) {
        SCOPED_TRACE(p.n);
        uint8_t root = 1;
        for (int j = 1; j <= p.n; ++j) {
            root = gfmul(root, 2);
            uint8_t v = 1; // leading coefficient
            for (int k = 0; k < p.n; ++k) v = gfmul(v, root) ^ p.coef[k];
            EXPECT_EQ(v, 0) << "alpha^" << j;
        }
    }
    EXPECT_EQ(datamtx200_polylutn(0), nullptr);
    EXPECT_EQ(datamtx200_polylutn(13), nullptr);
}

// Each block, read at the positions the layout gives it (data at i, i + B,
// ... below the data count; checks at data + c, data + c + B, ...), must be
// a Reed-Solomon codeword: zero at alpha^1 .. alpha^E. Column c is the block
// number, except in 144x144, where the two short blocks' checks come first
// (c = (i + 2) mod 10, the layout zxing-cpp's reader assigns them). For
// 144x144 this also fixes the split of 156 and 155 data codewords.
TEST(DataMatrixSymbol, InterleavedChecks) {
    for (const datamtx200_symdef* e : squares()) {
        SCOPED_TRACE(std::to_string(e->width) + "x" + std::to_string(e->width));
        uint8_t cw[datamtx200_bufsize] = {};
        uint32_t x = 7u * static_cast<uint32_t>(e->width);
        for (int i = 0; i < e->data; ++i) {
            x = x * 1103515245u + 12345u;
            cw[i] = static_cast<uint8_t>(x >> 16);
        }
        datamtx200_calcchecks(cw, e);
        const int B = e->blocks;
        for (int b = 0; b < B; ++b) {
            std::vector<uint8_t> block;
            for (int i = b; i < e->data; i += B) block.push_back(cw[i]);
            if (e->width == 144) {
                EXPECT_EQ(block.size(), b < 8 ? 156u : 155u);
            }
            const int column = e->width == 144 ? (b + 2) % 10 : b;
            for (int k = 0; k < e->blockcheck; ++k) block.push_back(cw[e->data + column + k * B]);
            uint8_t root = 1;
            for (int j = 1; j <= e->blockcheck; ++j) {
                root = gfmul(root, 2);
                uint8_t v = 0;
                for (uint8_t c : block) v = gfmul(v, root) ^ c;
                ASSERT_EQ(v, 0) << "block " << b << " at alpha^" << j;
            }
        }
    }
}

// Placement covers every module of the mapping matrix exactly once: with
// all codewords 0 only the finder frames and the fixed corner pattern are
// dark; with all codewords 255 every mapping module is dark but the fixed
// pattern's two light ones. The rectangular sizes (the only ones with the
// third and fourth corner shapes) are placed too.
TEST(DataMatrixSymbol, PlacementCoversTheMatrix) {
    for (const datamtx200_symdef* e = datamtx200_symdeftab; e->width > 0; ++e) {
        SCOPED_TRACE(std::to_string(e->width) + "x" + std::to_string(e->height));
        const int boxw = e->regionw + 2;
        const int boxh = e->regionh + 2;
        const bool fixed = e->matrixw * e->matrixh % 8 != 0;
        for (const int fill : {0, 255}) {
            uint8_t cw[datamtx200_bufsize];
            std::fill(cw, cw + e->total, static_cast<uint8_t>(fill));
            datamtx_symbol s;
            datamtx_open(&s);
            ASSERT_EQ(datamtx200_placeall(&s, cw, e), 1);
            ASSERT_EQ(s.imagewidth, e->width);
            int wrong = 0;
            for (int y = 0; y < e->height; ++y) {
                for (int x = 0; x < e->width; ++x) {
                    const int bx = x % boxw;
                    const int by = y % boxh;
                    bool dark;
                    if (bx == 0 || by == boxh - 1)
                        dark = true; // solid edges
                    else if (by == 0)
                        dark = bx % 2 == 0; // alternating top
                    else if (bx == boxw - 1)
                        dark = by % 2 == 1; // alternating right
                    else {
                        // Mapping position of this module.
                        const int c = x / boxw * e->regionw + bx - 1;
                        const int r = y / boxh * e->regionh + by - 1;
                        const bool lastr = r == e->matrixh - 1, lastc = c == e->matrixw - 1;
                        const bool prevr = r == e->matrixh - 2, prevc = c == e->matrixw - 2;
                        if (fixed && (lastr || prevr) && (lastc || prevc))
                            dark = (lastr && lastc) || (prevr && prevc);
                        else
                            dark = fill != 0;
                    }
                    if ((datamtx_igetpt(&s, x, y) != 0) != dark) ++wrong;
                }
            }
            EXPECT_EQ(wrong, 0) << "codewords " << fill;
            datamtx_close(&s);
        }
    }
}

// Digits that fill a symbol exactly are digit pairs in ASCII with no pads
// for any conforming encoder, so the whole module grid (check codewords,
// interleaving, placement with its corner shapes, finders) must equal an
// independent encoder's: zxing-cpp's writer. The readers would correct a
// few misplaced modules silently; this cannot.
TEST(DataMatrixSymbol, ModulesMatchAnIndependentEncoder) {
    for (const datamtx200_symdef* e : squares()) {
        // Several digit patterns, so every codeword position (the corner
        // shapes' included) takes values whose bits differ.
        uint32_t x = static_cast<uint32_t>(e->width);
        for (int pattern = 0; pattern < 4; ++pattern) {
            SCOPED_TRACE(std::to_string(e->width) + "x" + std::to_string(e->width) + " pattern " +
                         std::to_string(pattern));
            std::string digits;
            for (int k = 0; k < 2 * e->data; ++k) {
                x = x * 1103515245u + 12345u;
                digits += static_cast<char>('0' + (x >> 16) % 10);
            }
            dmtest::built b(digits);
            ASSERT_EQ(b.ok, 1);
            ASSERT_EQ(b.sym.imagewidth, e->width);
            const ZXing::BitMatrix ref = ZXing::MultiFormatWriter(ZXing::BarcodeFormat::DataMatrix)
                                             .setMargin(0)
                                             .encode(digits, 0, 0);
            ASSERT_EQ(ref.width(), e->width);
            ASSERT_EQ(ref.height(), e->height);
            // zxing-cpp 1.4's writer lays the checks of 144x144 out in block
            // order, which its own reader rejects: ours, put back in block
            // order (block b's are in column (b + 2) mod 10), must give its
            // modules exactly.
            datamtx_symbol plain;
            datamtx_open(&plain);
            const datamtx_symbol* mine = &b.sym;
            if (e->width == 144) {
                uint8_t cw[datamtx200_bufsize] = {};
                ASSERT_EQ(datamtx200_encode(cw, reinterpret_cast<const uint8_t*>(digits.data()),
                                            static_cast<int32_t>(digits.size()), 0),
                          e->data);
                datamtx200_calcchecks(cw, e);
                uint8_t inorder[datamtx200_bufsize] = {};
                std::copy(cw, cw + e->data, inorder);
                for (int blk = 0; blk < e->blocks; ++blk)
                    for (int k = 0; k < e->blockcheck; ++k)
                        inorder[e->data + blk + k * e->blocks] =
                            cw[e->data + (blk + 2) % 10 + k * e->blocks];
                ASSERT_EQ(datamtx200_placeall(&plain, inorder, e), 1);
                mine = &plain;
            }
            int differ = 0;
            for (int y = 0; y < e->height; ++y)
                for (int x0 = 0; x0 < e->width; ++x0)
                    differ += (datamtx_igetpt(mine, x0, y) != 0) != ref.get(x0, y);
            EXPECT_EQ(differ, 0);
            datamtx_close(&plain);
        }
    }
}

TEST(DataMatrixSymbol, FinderFrame) {
    datamtx_symbol s;
    datamtx_open(&s);
    ASSERT_EQ(datamtx_imagealloc(&s, 12, 8), 1);
    EXPECT_EQ(s.stride, 2);
    EXPECT_EQ(s.imagesize, 16);
    datamtx_iplotfinder(&s, 1, 1, 10, 6);
    // Left column and bottom row solid, top row dark at every second module
    // from the left, right column at every second one up from two above the
    // bottom.
    EXPECT_EQ(dmtest::symbolbitmap(s).rows(), "............\n"
                                              ".#.#.#.#.#..\n"
                                              ".#........#.\n"
                                              ".#..........\n"
                                              ".#........#.\n"
                                              ".#..........\n"
                                              ".##########.\n"
                                              "............\n");
    datamtx_close(&s);
    EXPECT_FALSE(s.image);
}

TEST(DataMatrixSymbol, Painting) {
    struct Rect {
        int32_t x, y, w, h;
    };
    struct Recorder {
        std::vector<Rect> rects;
        int failat = -1;
        static uint32_t plot(void* ctx, int32_t x, int32_t y, int32_t w, int32_t h) {
            auto* r = static_cast<Recorder*>(ctx);
            if (static_cast<int>(r->rects.size()) == r->failat) return 0;
            r->rects.push_back({x, y, w, h});
            return 1;
        }
    };
    dmtest::built b("123456");
    ASSERT_EQ(b.ok, 1);
    b.sym.modwidth = 3;
    b.sym.modheight = 2;
    EXPECT_EQ(datamtx_imagewide(&b.sym), 30);
    EXPECT_EQ(datamtx_imagedeep(&b.sym), 20);

    // No callback: success, nothing painted.
    EXPECT_EQ(datamtx_imagepaint(&b.sym), 1);

    Recorder rec;
    ASSERT_EQ(datamtx_setcallback(&b.sym, Recorder::plot, &rec), 1);
    EXPECT_EQ(datamtx_imagepaint(&b.sym), 1);
    // One rectangle per dark module, top row first, in dots.
    const Bitmap grid = dmtest::symbolbitmap(b.sym);
    size_t k = 0;
    for (int r = 0; r < 10; ++r) {
        for (int c = 0; c < 10; ++c) {
            if (!grid.get(c, r)) continue;
            ASSERT_LT(k, rec.rects.size());
            EXPECT_EQ(rec.rects[k].x, 3 * c);
            EXPECT_EQ(rec.rects[k].y, 2 * r);
            EXPECT_EQ(rec.rects[k].w, 3);
            EXPECT_EQ(rec.rects[k].h, 2);
            ++k;
        }
    }
    EXPECT_EQ(k, rec.rects.size());

    // A failing callback stops the painting.
    Recorder failing;
    failing.failat = 5;
    datamtx_setcallback(&b.sym, Recorder::plot, &failing);
    EXPECT_EQ(datamtx_imagepaint(&b.sym), 0);
    EXPECT_EQ(failing.rects.size(), 5u);

    EXPECT_EQ(datamtx_setcallback(nullptr, Recorder::plot, &rec), 0);
    EXPECT_EQ(datamtx_imagepaint(nullptr), 0);
}

TEST(DataMatrixSymbol, Dump) {
    dmtest::built b("123456");
    ASSERT_EQ(b.ok, 1);
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    datamtx_imagegube(&b.sym, f);
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
    EXPECT_EQ(text.substr(0, 42), "- imagegube() :\n- grid size : ( 10 x 10 )\n");
    // Top row: the alternating finder; bottom row solid.
    EXPECT_NE(text.find("    0 : [ * * * * *  ]\n"), std::string::npos);
    EXPECT_NE(text.find("    9 : [ ********** ]\n"), std::string::npos);
}

TEST(DataMatrixSymbol, RecordErrors) {
    struct Case {
        const char* what;
        int32_t ecctype;
        int32_t options;
        int32_t reqsize;
        const char* data;
        int32_t length;
        int32_t error;
        int32_t module = 1;
    };
    const std::array<Case, 17> cases{{
        {"ECC 200 builds", 200, 0, 0, "abc", 3, DATAMTX_ERR_NONE},
        {"ECC 0 builds", 0, 0, 0, "abc", 3, DATAMTX_ERR_NONE},
        {"ECC 50", 50, 0, 0, "abc", 3, DATAMTX_ERR_NONE},
        {"ECC 80", 80, 0, 0, "abc", 3, DATAMTX_ERR_NONE},
        {"ECC 100", 100, 0, 0, "abc", 3, DATAMTX_ERR_NONE},
        {"ECC 140", 140, 0, 0, "abc", 3, DATAMTX_ERR_NONE},
        {"ECC 140, module size 0", 140, 0, 0, "abc", 3, DATAMTX_ERR_PARAM, 0},
        {"ECC 0, null data with a length", 0, 0, 0, nullptr, 3, DATAMTX_ERR_PARAM},
        {"ECC 0, requested size above 49", 0, 0, 51, "abc", 3, DATAMTX_ERR_TOOLONG},
        {"ECC 201 is unknown", 201, 0, 0, "abc", 3, DATAMTX_ERR_ECCTYPE},
        {"null data with a length", 200, 0, 0, nullptr, 3, DATAMTX_ERR_PARAM},
        {"requested size above 144", 200, 0, 145, "abc", 3, DATAMTX_ERR_PARAM},
        {"negative requested size", 200, 0, -1, "abc", 3, DATAMTX_ERR_PARAM},
        {"two header options", 200, DATAMTX_OPT_MACRO05 | DATAMTX_OPT_READERPROG, 0, "abc", 3,
         DATAMTX_ERR_PARAM},
        {"too long", 200, 0, 0, nullptr, -2, DATAMTX_ERR_TOOLONG},
        {"module size 0", 200, 0, 0, "abc", 3, DATAMTX_ERR_PARAM, 0},
        {"module size beyond 32-bit dot positions", 200, 0, 0, "abc", 3, DATAMTX_ERR_PARAM,
         1 << 24},
    }};
    const std::string toolong(1600, '\x90');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        datamtx_symbol s;
        datamtx_open(&s);
        s.ecctype = c.ecctype;
        s.options = c.options;
        s.reqsize = c.reqsize;
        s.modwidth = c.module;
        const bool big = c.length == -2;
        const auto* data = reinterpret_cast<const uint8_t*>(big ? toolong.data() : c.data);
        const int32_t length = big ? static_cast<int32_t>(toolong.size()) : c.length;
        EXPECT_EQ(datamtx_imagecalc(&s, data, length), c.error == DATAMTX_ERR_NONE ? 1 : 0);
        EXPECT_EQ(s.error, c.error);
        datamtx_close(&s);
    }
    // A negative length means up to the terminating NUL.
    dmtest::built b("");
    datamtx_symbol s;
    datamtx_open(&s);
    s.ecctype = 200;
    ASSERT_EQ(datamtx_imagecalc(&s, reinterpret_cast<const uint8_t*>("ABCDEF\0GHIJ"), -1), 1);
    EXPECT_EQ(s.imagewidth, 12); // "ABCDEF" fills 12x12 exactly in C40
    datamtx_close(&s);
}

TEST(DataMatrixSymbol, RecordOperations) {
    datamtx_symbol s;
    s.modwidth = 9;
    s.ecctype = 200;
    datamtx_open(&s);
    EXPECT_EQ(s.modwidth, 1);
    EXPECT_EQ(s.modheight, 1);
    EXPECT_EQ(s.ecctype, 0);
    EXPECT_EQ(s.error, 0);
    EXPECT_EQ(s.plotf, nullptr);
    EXPECT_EQ(datamtx_imagewide(&s), 0);

    EXPECT_EQ(datamtx_imagealloc(&s, 0, 5), 0);
    EXPECT_EQ(s.error, DATAMTX_ERR_PARAM);
    ASSERT_EQ(datamtx_imagealloc(&s, 9, 3), 1);
    EXPECT_EQ(s.stride, 2);
    datamtx_iplotpt(&s, 8, 2);
    datamtx_iplotpt(&s, 9, 2);  // outside: ignored
    datamtx_iplotpt(&s, -1, 0); // outside: ignored
    EXPECT_EQ(datamtx_igetpt(&s, 8, 2), 1);
    EXPECT_EQ(s.image[2 * 2 + 1], 1); // module 8 is bit 0 of byte 1
    EXPECT_EQ(datamtx_igetpt(&s, 9, 2), 0);
    EXPECT_EQ(datamtx_igetpt(&s, 0, 3), 0);

    EXPECT_STREQ(datamtx200_encname(DATAMTX_ASCII), "ascii");
    EXPECT_STREQ(datamtx200_encname(DATAMTX_B256), "b256");
    EXPECT_STREQ(datamtx200_encname(DATAMTX_EDIFACT), "edf");
    EXPECT_STREQ(datamtx200_encname(DATAMTX_TEXT), "text");
    EXPECT_STREQ(datamtx200_encname(DATAMTX_C40), "c40");
    EXPECT_STREQ(datamtx200_encname(DATAMTX_X12), "x12");
    EXPECT_STREQ(datamtx200_encname(6), "??");

    const int32_t v[] = {5, 3, 9};
    EXPECT_EQ(datamtx_leastofexceptn(v, 3, 1), 5);
    EXPECT_EQ(datamtx_leastofexceptn(v, 3, 0), 3);
    EXPECT_EQ(datamtx_leastofexceptn(v, 1, 0), -1);
    datamtx_close(&s);
}

TEST(DataMatrixSymbol, CharacterValues) {
    // ISO/IEC 16022 C40, Text, X12 and EDIFACT tables: value + 256 x shift.
    struct Case {
        int32_t mode;
        int c;
        int32_t value;
    };
    const std::array<Case, 30> cases{{
        {DATAMTX_C40, ' ', 3},        {DATAMTX_C40, '0', 4},        {DATAMTX_C40, '9', 13},
        {DATAMTX_C40, 'A', 14},       {DATAMTX_C40, 'Z', 39},       {DATAMTX_C40, 0, 256},
        {DATAMTX_C40, 31, 256 + 31},  {DATAMTX_C40, '!', 512},      {DATAMTX_C40, '/', 512 + 14},
        {DATAMTX_C40, ':', 512 + 15}, {DATAMTX_C40, '@', 512 + 21}, {DATAMTX_C40, '[', 512 + 22},
        {DATAMTX_C40, '_', 512 + 26}, {DATAMTX_C40, '`', 768},      {DATAMTX_C40, 'a', 768 + 1},
        {DATAMTX_C40, '~', 768 + 30}, {DATAMTX_C40, 127, 768 + 31}, {DATAMTX_C40, 128, -1},
        {DATAMTX_TEXT, 'a', 14},      {DATAMTX_TEXT, 'A', 768 + 1}, {DATAMTX_TEXT, '{', 768 + 27},
        {DATAMTX_X12, 13, 0},         {DATAMTX_X12, '*', 1},        {DATAMTX_X12, '>', 2},
        {DATAMTX_X12, 'Z', 39},       {DATAMTX_X12, 'a', -1},       {DATAMTX_EDIFACT, '@', 0},
        {DATAMTX_EDIFACT, '^', 30},   {DATAMTX_EDIFACT, ' ', 32},   {DATAMTX_EDIFACT, '_', -1},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(datamtx200_encname(c.mode)) + " " + std::to_string(c.c));
        EXPECT_EQ(datamtx_csetindex(c.mode, c.c), c.value);
    }
    EXPECT_EQ(datamtx_csetindex(DATAMTX_EDIFACT, '?'), 63);
    EXPECT_LT(datamtx_csetindex(DATAMTX_ASCII, 'A'), 0);
}
