// Aztec symbols printed through the real field engine (command parser, field
// construction, band rendering) and read back by an independent decoder
// (zxing-cpp). The decoded bytes must equal the data exactly.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/command/ftypes.hpp"
#include "core/driver/jerr.hpp"
#include "core/driver/qstrops.hpp"
#include "core/fields/fieldmake.hpp"
#include "core/matrix/aztec.hpp"
#include "preview/decode.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"
#include "tests/support/render.hpp"

namespace {
std::string printable(const std::string& raw) {
    std::string s;
    for (unsigned char c : raw) {
        if (c >= 32 && c < 127) {
            s += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02x>", c);
            s += hex;
        }
    }
    return s.size() > 80 ? s.substr(0, 80) + "..." : s;
}

struct printed {
    RenderResult r;
    std::string decoded; // the one symbol's bytes, or a note of what was found
};

printed print(const std::string& commands, const std::string& raw, int band = 8) {
    printed p{render_symbol(commands, escape_data(raw), band), ""};
    const std::vector<Decoded> d = decode_zxing(p.r.page, "Aztec");
    p.decoded = d.size() == 1 ? d[0].bytes : "<" + std::to_string(d.size()) + " symbols>";
    return p;
}

void expect_roundtrip(const std::string& commands, const std::string& raw, int32_t side = 0) {
    SCOPED_TRACE(commands + " | " + printable(raw));
    const printed p = print(commands, raw);
    ASSERT_EQ(p.r.status, KV_SUCCESS);
    if (side > 0) {
        EXPECT_EQ(p.r.fieldwidth, side);
    }
    EXPECT_EQ(p.decoded, raw);
}

// Text that touches every set: letters of both cases, digits with their
// separators, punctuation runs and pairs, CR LF, and bytes outside the sets.
const std::string mixedtext = "Invoice 4711, total 1.234,56 EUR; due 31.12. (a-z & A-Z)!\r\n"
                              "@ref {x}: 123 A-45 12A34 ~done";

// Text of `n` characters cycling through the sets.
std::string filler(size_t n) {
    std::string s;
    while (s.size() < n) s += mixedtext;
    s.resize(n);
    return s;
}
} // namespace

// Four orientations, module sizes 1 to 3, rendered in bands of 8 dot rows and
// all at once.
TEST(AztecRoundTrip, OrientationsModuleSizesAndBands) {
    for (const char* o : {"OH", "OV", "OU", "OB"}) {
        for (int r = 1; r <= 3; ++r) {
            const std::string cmd = std::string("BAZTEC ") + o + " R" + std::to_string(r);
            SCOPED_TRACE(cmd);
            const printed banded = print(cmd, mixedtext, 8);
            ASSERT_EQ(banded.r.status, KV_SUCCESS);
            EXPECT_EQ(banded.decoded, mixedtext);
            const int32_t side = banded.r.fieldwidth / r;
            EXPECT_EQ(banded.r.fieldwidth, side * r);
            EXPECT_EQ(banded.r.fielddepth, side * r);
            const RenderResult whole = render_symbol(cmd, mixedtext, 0);
            EXPECT_EQ(whole.page.rows(), banded.r.page.rows()) << "bands differ from one pass";
        }
    }
    // The rotations are rotations of the same symbol.
    const Bitmap h = render_symbol("BAZTEC OH", mixedtext).page;
    const Bitmap v = render_symbol("BAZTEC OV", mixedtext).page;
    const Bitmap u = render_symbol("BAZTEC OU", mixedtext).page;
    const Bitmap b = render_symbol("BAZTEC OB", mixedtext).page;
    const std::string r90 = h.rotated90().rows();
    const std::string r270 = h.rotated90().rotated90().rotated90().rows();
    EXPECT_EQ(u.rows(), h.rotated90().rotated90().rows());
    EXPECT_TRUE((v.rows() == r90 && b.rows() == r270) || (v.rows() == r270 && b.rows() == r90));
    EXPECT_NE(r90, r270);
}

// The inputs whose code sequences the encoding tests check, read back: every
// latch, the punctuation shifts and runs, the Digit look-ahead exceptions.
TEST(AztecRoundTrip, TextSetsAndLatches) {
    const char* texts[] = {
        "Aa", "A\r    ", "A!!!!", "A1", "aA", "a\r    ", "a!!!!", "a1", "\r    A", "\r    a",
        "\r    !!!!", "\r    1", "!!!!A", "!!!!a", "!!!!1", "1A", "1a", "1\r    ", "1!!!!",
        // punctuation
        "A!", "A!?!", "A!?!#", "a, b", "A. . ", "A: !!", "A\r\nB", "A\rB", "!!!! A", "1-2", "A.5",
        "1,5.2", "1-,.,", "Hello, World. Fine: yes", "[]{}<=>?/", "\r\n\r\n\r\n",
        // Digit look-ahead
        "123 A-45", "12A34", "1A-", "1A,", "1A- ", "1A--2", "1A--", "1A--B", "1A-B", "1A---2",
        "1A 2", "A 1", "A  1", "A B", "1 A", "a 1", "3.14159 , 2.71828. 0,5",
        // CR and Mixed
        "\r@@@@", "\r@@@", "\r\r\r\r\r", "\r\r\r\r ", "\r\n    ", "\r\nAB", "x\r\x01\x02\x03\x04y",
        // lower-case text, long runs of each set
        "the quick brown fox jumps over the lazy dog",
        "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG", "0123456789 9876543210",
        "!\"#$%&'()*+,-./:;<=>?[]{}"};
    for (const char* t : texts) expect_roundtrip("BAZTEC", t);
}

// Binary runs of 1, 31, 32 and 40 bytes with NUL and bytes 128..255, alone
// and after each text set; the 40-byte run is the worked example's.
TEST(AztecRoundTrip, BinaryRuns) {
    auto run = [](size_t n, unsigned first) {
        std::string s;
        for (size_t i = 0; i < n; ++i) s += static_cast<char>(i == 0 ? 0 : (first + 7 * i) & 0xFF);
        return s;
    };
    for (size_t n : {1u, 31u, 32u, 40u}) {
        const std::string bin = run(n, 0x80);
        expect_roundtrip("BAZTEC", bin);
        expect_roundtrip("BAZTEC", "AB" + bin + "CD");
        expect_roundtrip("BAZTEC", "ab" + bin + "cd");
        expect_roundtrip("BAZTEC", "12" + bin + "34");
        expect_roundtrip("BAZTEC", "\r    " + bin + "!!!!");
        expect_roundtrip("BAZTEC", "!!!!" + bin + "1");
    }
    expect_roundtrip("BAZTEC", std::string("\x80\x81\xfe\xff", 4));
    expect_roundtrip("BAZTEC", "1\x80"
                               "2");
    expect_roundtrip("BAZTEC", "1\x80 2");
    expect_roundtrip("BAZTEC", "@\\^_`|~\x7f\n\t");
    // Longer than one run's length field: runs of 2078 and 22 bytes, 16831
    // bits; with 3 margin words 29 layers (16704 bits) are too few, 30 hold it.
    std::string big;
    for (int i = 0; i < 2100; ++i) big += static_cast<char>(0x80 + i % 128);
    expect_roundtrip("BAZTEC C0", big, 143);
}

// Compact symbols of 1 to 4 layers, full-range symbols of 1 to 4 (F) and of
// 5 to 32 layers (W), each carrying about half of what its layers hold.
TEST(AztecRoundTrip, EveryLayerCount) {
    struct size {
        bool full;
        int32_t layers;
        int32_t side;
        int32_t chars;
    };
    std::vector<size> sizes = {{false, 1, 15, 6},  {false, 2, 19, 18}, {false, 3, 23, 30},
                               {false, 4, 27, 45}, {true, 1, 19, 8},   {true, 2, 23, 22},
                               {true, 3, 27, 36},  {true, 4, 31, 52}};
    const int32_t fullsides[] = {37,  41,  45,  49,  53,  57,  61,  67,  71,  75,
                                 79,  83,  87,  91,  95,  101, 105, 109, 113, 117,
                                 121, 125, 131, 135, 139, 143, 147, 151};
    for (int32_t l = 5; l <= 32; ++l) sizes.push_back({true, l, fullsides[l - 5], 0});
    for (const size& s : sizes) {
        std::string cmd = "BAZTEC W" + std::to_string(s.layers);
        if (s.full && s.layers <= 4) cmd += " SF";
        // Large symbols: about 40 % of the area in characters of 6 bits.
        const int32_t chars = s.chars > 0 ? s.chars : s.side * s.side * 4 / 10 * 77 / 100 / 6;
        expect_roundtrip(cmd, filler(static_cast<size_t>(chars)), s.side);
    }
}

TEST(AztecRoundTrip, ErrorCorrectionSettings) {
    for (const char* c : {"C0", "C23", "C50"})
        expect_roundtrip(std::string("BAZTEC ") + c, filler(300));
    // At 99 % only short data fits: 100 times its bits plus 300 words.
    expect_roundtrip("BAZTEC C99", "Invoice 4711");
    // At 99 % one letter needs 500 + 300 x 10 bits: full-range 12 layers.
    expect_roundtrip("BAZTEC C99", "A", 67);
    expect_roundtrip("BAZTEC C0", "A", 15);
}

// The worked examples of sizes, and the longest run of letters that 32 layers
// hold with the default error correction (hand-computed from the capacity
// rule: 3067 letters, 15335 bits).
TEST(AztecRoundTrip, SizesAndLimits) {
    expect_roundtrip("BAZTEC", "A", 15);
    expect_roundtrip("BAZTEC SF", "A", 19);
    expect_roundtrip("BAZTEC W5", "A", 37);
    expect_roundtrip("BAZTEC SC", "A", 15);
    expect_roundtrip("BAZTEC SM", "MENU", 15);
    // 13 letters need compact 2, which cannot carry the menu flag.
    expect_roundtrip("BAZTEC SM", std::string(13, 'M'), 23);
    expect_roundtrip("BAZTEC C0", std::string(102, 'A'), 27);
    expect_roundtrip("BAZTEC C0", std::string(103, 'A'), 37);
    expect_roundtrip("BAZTEC C0", std::string(26, '\0'), 23);

    expect_roundtrip("BAZTEC", std::string(3067, 'A'), 151);
    const RenderResult over = render_symbol("BAZTEC", std::string(3068, 'A'));
    EXPECT_EQ(over.status, KV_STROVFL);
    EXPECT_EQ(over.fields, 0) << "nothing is queued";
    const RenderResult huge = render_symbol("BAZTEC", std::string(5000, 'A'));
    EXPECT_EQ(huge.status, KV_STROVFL);
    EXPECT_EQ(huge.fields, 0);
}

// Runes have no reader: the printed rune must be the encoder's 11 x 11
// pattern (checked module by module in the symbol tests), scaled by R.
TEST(AztecField, RunesAndTheirErrors) {
    for (int r = 1; r <= 2; ++r) {
        const RenderResult p = render_symbol("BAZTEC SR R" + std::to_string(r), "25", 8, 400, 0);
        ASSERT_EQ(p.status, KV_SUCCESS);
        EXPECT_EQ(p.fieldwidth, 11 * r);
        aztec_state st;
        aztec_open(&st);
        st.options = AZTEC_OPT_RUNE;
        ASSERT_EQ(aztec_imagecalc(&st, "25", 2), 1);
        Bitmap want(11, 11);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 11; ++x)
                if ((st.map[y * st.rowbytes + x / 8] >> (x % 8)) & 1) want.set(x, y);
        aztec_close(&st);
        EXPECT_EQ(p.page.rows(), want.scaled(r, r).rows());
    }
    // Bad rune data still queues a field (IVBARC), which prints nothing.
    for (const char* bad : {"256", "", "12A"}) {
        SCOPED_TRACE(bad);
        const RenderResult p = render_symbol("BAZTEC SR", bad);
        EXPECT_EQ(p.status, KV_IVBARC);
        EXPECT_EQ(p.fields, 1);
        EXPECT_EQ(p.fieldwidth, 0);
    }
    EXPECT_EQ(render_symbol("BAZTEC", "").status, KV_IVBARC);
}

// The hook's parameter and error mappings, seen on the field it builds.
TEST(AztecField, ParametersAndStatuses) {
    Harness h(recorder_slots(400, false));
    ASSERT_EQ(h.command("BAZTEC C0 W3 R2 SF"), KV_SUCCESS);
    std::string data = "\\x41\\x42C\\\\";
    ASSERT_EQ(kv_fieldmake(h.state.get(), 0, 0, 0, data.c_str()), KV_SUCCESS);
    kv_field* f = h->fieldhead;
    ASSERT_NE(f, nullptr);
    const auto* st = static_cast<const aztec_state*>(f->symbol.get());
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(st->eccpercent, 0);
    EXPECT_EQ(st->options, AZTEC_OPT_FULLRANGE);
    EXPECT_EQ(st->layers, 3);
    EXPECT_EQ(st->compact, 0);
    EXPECT_EQ(st->modwidth, 2);
    EXPECT_EQ(st->modheight, 2);
    EXPECT_EQ(f->width, 27 * 2);
    EXPECT_EQ(f->depth, 27 * 2);
    EXPECT_STREQ(f->text.get(), "ABC\\") << "the text is cut to the resolved escapes";

    struct row {
        const char* subset;
        int32_t options;
    } rows[] = {
        {"SA", 0}, {"SC", AZTEC_OPT_COMPAT}, {"SM", AZTEC_OPT_MENU}, {"SR", AZTEC_OPT_RUNE}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.subset);
        ASSERT_EQ(h.command(std::string("BAZTEC ") + r.subset), KV_SUCCESS);
        std::string d = "7";
        ASSERT_EQ(kv_fieldmake(h.state.get(), 0, 0, 0, d.c_str()), KV_SUCCESS);
        EXPECT_EQ(static_cast<const aztec_state*>(h->fieldhead->symbol.get())->options, r.options);
    }

    // An error-correction value the command letter cannot set: IVCHK, and
    // nothing is queued.
    ASSERT_EQ(h.command("BAZTEC SA"), KV_SUCCESS);
    kv_field* before = h->fieldhead;
    h->curtype->check = 100;
    std::string d = "A";
    EXPECT_EQ(kv_fieldmake(h.state.get(), 0, 0, 0, d.c_str()), KV_IVCHK);
    EXPECT_EQ(h->fieldhead, before);
}

// Random messages drawn from every character class, in runs of random length
// so that every look-ahead rule meets its neighbours, at random settings.
// They stay below 23 layers: zxing-cpp 1.4 reads the ten or eleven fill bits
// that can end a message of 12-bit words in Upper, Lower or Mixed as a binary
// shift and appends junk (a reader defect, fixed in later zxing-cpp releases;
// the fill itself is the standard's).
TEST(AztecRoundTrip, RandomMessages) {
    std::mt19937 rng(24778);
    const std::string pools[] = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                 "abcdefghijklmnopqrstuvwxyz",
                                 "0123456789",
                                 "     ",
                                 ",.,.:",
                                 "!\"#$%&'()*+,-./:;<=>?[]{}",
                                 "\r\r\n",
                                 std::string("\x00\x01\x1b@\\^_`|~\x7f\x80\xa0\xff\n", 15)};
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int m = 0; m < 150; ++m) {
        std::string raw;
        const int length = 1 + pick(m < 120 ? 60 : 400);
        while (static_cast<int>(raw.size()) < length) {
            const std::string& pool = pools[pick(8)];
            for (int k = 1 + pick(6); k > 0; --k) raw += pool[pick(static_cast<int>(pool.size()))];
        }
        const int ecc = length < 100 && pick(4) == 0 ? pick(60) : 23;
        expect_roundtrip("BAZTEC C" + std::to_string(ecc) + (pick(4) == 0 ? " SF" : ""), raw);
    }
}
