// Code 39, Codabar and MSI through the real field engine, read back by real
// decoders (MSI, which no Debian reader supports, against its published
// bit patterns).
#include <gtest/gtest.h>

#include <string>

#include "core/driver/jerr.hpp"
#include "core/linear/code39_codabar_msi.hpp"
#include "tests/linear/elements.hpp"
#include "tests/support/decode_zbar.hpp"
#include "tests/support/render.hpp"

namespace {
const char* const kOrientations[] = {"OH", "OV", "OU", "OB"};

// Widths as the R command takes them: wide then narrow.
std::string ratio(int narrow, int wide) {
    return "R" + std::to_string(wide) + ":" + std::to_string(narrow);
}

// Run lengths of dark and light along the middle row (or column) of a
// bitmap, starting with the first dark run.
std::string runs(const Bitmap& b) {
    std::string out;
    const int y = b.height / 2;
    int x = 0;
    while (x < b.width && !b.get(x, y)) ++x;
    while (x < b.width) {
        const bool dark = b.get(x, y);
        int n = 0;
        while (x < b.width && b.get(x, y) == dark) ++n, ++x;
        if (x < b.width || dark) out += std::to_string(n);
    }
    return out;
}

} // namespace

TEST(Code39, DecodesAtEveryOrientationWidthAndRatio) {
    struct Data {
        const char* in;
        const char* out;
    };
    const Data data[] = {{"CODE39-1", "CODE39-1"}, {"lower case", "LOWER CASE"}, {"$/+%. ", "$/+%. "}};
    for (const Data& d : data) {
        for (const char* o : kOrientations) {
            for (int narrow = 1; narrow <= 3; ++narrow) {
                for (int wide : {2 * narrow, (5 * narrow) / 2, 3 * narrow}) {
                    if (wide == narrow) continue;
                    for (int check : {0, 1}) {
                        const std::string cmd = std::string("BCODE39 H30 ") + o + " " +
                                                ratio(narrow, wide) + " C" + std::to_string(check);
                        SCOPED_TRACE(cmd + " " + d.in);
                        RenderResult r = render_symbol(cmd, d.in);
                        ASSERT_EQ(r.status, KV_SUCCESS);
                        ZxOptions opt;
                        opt.code39check = check == 1; // the reader validates and strips it
                        auto got = decode_zxing(r.page, "Code39", false, 16, opt);
                        ASSERT_EQ(got.size(), 1u);
                        EXPECT_EQ(got[0].text, d.out);
                    }
                }
            }
        }
    }
}

TEST(Code39, CheckCharacterIsTheOneTheReaderExpects) {
    // A wrong check character would make the validating reader refuse it; a
    // missing one too. Compare against zbar as a second reader.
    RenderResult r = render_symbol("BCODE39 C1 H40", "code");
    auto z = decode_zbar(r.page);
    ASSERT_EQ(z.size(), 1u);
    EXPECT_EQ(z[0].text, "CODEK"); // zbar does not strip it: K is (12+24+13+14) mod 43
    ZxOptions opt;
    opt.code39check = true;
    EXPECT_EQ(decode_zxing(r.page, "Code39", false, 16, opt).at(0).text, "CODE");
}

TEST(Code39, EmptyDataAndBadCharacters) {
    RenderResult empty = render_symbol("BCODE39 H10", "");
    EXPECT_EQ(empty.status, KV_SUCCESS);
    EXPECT_EQ(empty.fieldwidth, 32); // start and stop, 16 dots each at 1:3
    EXPECT_EQ(runs(empty.page), "131131311" "1" "131131311");

    RenderResult bad = render_symbol("BCODE39 H10", "A#B");
    EXPECT_EQ(bad.status, KV_IVBARC);
    EXPECT_EQ(bad.fieldwidth, 5 * 16);
    // The # is one solid block as wide as a character, its gap included, so
    // it runs into the next bar (B starts with a narrow bar): 16 + 1.
    const std::string r = runs(bad.page);
    EXPECT_EQ(r, "131131311" "1" "311113113" "1" "17" "13113113" "1" "131131311") << r;
}

TEST(Codabar, DecodesWithItsOwnStartAndStop) {
    const char* const data[] = {"A1234B", "C-$:/.+D", "T0123456789N", "E99*"};
    for (const char* d : data) {
        for (const char* o : kOrientations) {
            for (int narrow = 1; narrow <= 3; ++narrow) {
                for (int wide : {2 * narrow, 3 * narrow}) {
                    const std::string cmd =
                        std::string("BCODABAR H30 ") + o + " " + ratio(narrow, wide);
                    SCOPED_TRACE(cmd + " " + d);
                    RenderResult r = render_symbol(cmd, d);
                    ASSERT_EQ(r.status, KV_SUCCESS);
                    auto got = decode_zxing(r.page, "Codabar");
                    ASSERT_EQ(got.size(), 1u);
                    // Start/stop pairs share patterns: T reads as A, N as B, * as C, E as D.
                    std::string expected = d;
                    for (char& c : expected) {
                        if (c == 'T') c = 'A';
                        if (c == 'N') c = 'B';
                        if (c == '*') c = 'C';
                        if (c == 'E') c = 'D';
                    }
                    EXPECT_EQ(got[0].text, expected);
                }
            }
        }
    }
    // Digits alone get no start or stop character: no reader accepts them.
    RenderResult bare = render_symbol("BCODABAR H30", "1234");
    EXPECT_EQ(bare.status, KV_SUCCESS);
    EXPECT_TRUE(decode_zxing(bare.page, "Codabar").empty());
}

TEST(Msi, PatternsAreThePublishedBinaryCodedDecimal) {
    struct Case {
        const char* commands;
        const char* data;
        std::string digits; // what the symbol must carry, check digits included
    };
    const Case cases[] = {
        {"BMSI R2:1 H8", "1234", "1234"},
        {"BMSI R2:1 H8 C1", "1234", "12344"},
        {"BMSI R2:1 H8 C2", "1234", "123448"},
        {"BMSI R2:1 H8 C3", "1234", "123430"},
        {"BMSI R2:1 H8 C4", "1234", "123447"},
        {"BMSI R2:1 H8", "0123456789", "0123456789"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.commands) + " " + c.data);
        RenderResult r = render_symbol(c.commands, c.data);
        ASSERT_EQ(r.status, KV_SUCCESS);
        EXPECT_EQ(runs(r.page), linear_test::msipattern(c.digits));
    }
    for (const char* o : kOrientations) {
        SCOPED_TRACE(o);
        RenderResult r = render_symbol(std::string("BMSI R2:1 H8 ") + o, "90");
        Bitmap b = r.page;
        if (std::string(o) == "OV" || std::string(o) == "OB") b = b.rotated90();
        std::string got = runs(b);
        std::string want = linear_test::msipattern("90");
        if (got != want) std::reverse(want.begin(), want.end()); // upside down reads backwards
        EXPECT_EQ(got, want);
    }
    RenderResult bad = render_symbol("BMSI", "12A");
    EXPECT_EQ(bad.status, KV_IVBARC);
}

TEST(Msi, CheckDigitComputations) {
    char out = 0;
    codemsi_chkcalc10(4, "1234", &out);
    EXPECT_EQ(out, '4'); // published example: 24 doubled is 48, 4+8+3+1 = 16
    codemsi_chkcalc11(4, "1234", &out);
    EXPECT_EQ(out, '3'); // 8+9+8+5 = 30, 30 mod 11 = 8, 11-8 = 3
    codemsi_chkcalc11(1, "5", &out);
    EXPECT_EQ(out, '1'); // 5*2 = 10, 11-10 = 1
    codemsi_chkcalc11(2, "60", &out);
    EXPECT_EQ(out, '4'); // 6*3 + 0*2 = 18, 18 mod 11 = 7, 11-7 = 4
    codemsi_chkcalc11(1, "6", &out);
    EXPECT_EQ(out, '0'); // 12 mod 11 = 1 would give 10: the digit is 0
    codemsi_chkcalc11(7, "1111111", &out);
    EXPECT_EQ(out, '4'); // weights 2..7 then 2 again: 29 mod 11 = 7, 11-7 = 4
}
