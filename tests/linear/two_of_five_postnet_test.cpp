// Interleaved and standard 2 of 5 and POSTNET through the real field engine.
// Interleaved 2 of 5 is read back by two readers; standard 2 of 5 and
// POSTNET, which no Debian reader supports, are checked element by element
// against their published patterns and bar by bar against the printer table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/driver/jerr.hpp"
#include "core/fields/fieldmake.hpp"
#include "core/fields/fieldrender.hpp"
#include "tests/linear/elements.hpp"
#include "tests/support/decode_zbar.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"
#include "tests/support/render.hpp"

using linear_test::Bar;
using linear_test::runs;

namespace {
const char* const kOrientations[] = {"OH", "OV", "OU", "OB"};

// The 2 of 5 digits, n narrow and w wide (AIM USS-I 2/5; the same five
// elements for standard 2 of 5).
const char* const k25[10] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                             "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};
using linear_test::kPostnet;

char width(char nw) {
    return nw == 'w' ? '3' : '1';
} // at R3:1

// Interleaved 2 of 5 at R3:1: start, the pairs, stop.
std::string i25(const std::string& pairs) {
    std::string s = "1111";
    for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const char* bars = k25[pairs[i] - '0'];
        const char* spaces = k25[pairs[i + 1] - '0'];
        for (int k = 0; k < 5; ++k) s += std::string{width(bars[k]), width(spaces[k])};
    }
    return s;
}
const std::string I25_STOP = "311";

// Standard 2 of 5 at R3:1: each digit's five bars with a narrow space after
// each, between the start (w n w n n n) and the stop (w n n n w).
std::string s25(const std::string& digits) {
    std::string s;
    for (char d : digits)
        for (int k = 0; k < 5; ++k) s += std::string{width(k25[d - '0'][k]), '1'};
    return s;
}
const std::string S25_START = "313111", S25_STOP = "31113";
} // namespace

TEST(TwoOfFive, ElementSequences) {
    struct Case {
        const char* commands;
        const char* data;
        kv_status status;
        std::string elements;
        const char* source;
    };
    const Case cases[] = {
        {"BI2OF5", "123", KV_SUCCESS, i25("0123") + I25_STOP, "odd length: pairs 01 and 23"},
        {"BI2OF5", "1234", KV_SUCCESS, i25("1234") + I25_STOP, "pairs 12 and 34"},
        {"BI2OF5 C1", "12345", KV_SUCCESS, i25("123457") + I25_STOP,
         "check 7 (3*1 + 2 + 3*3 + 4 + 3*5 = 33) makes six digits: no padding"},
        {"BI2OF5 C1", "123456", KV_SUCCESS, i25("01234565") + I25_STOP,
         "check 5: weight 3 from the digit next to it (3*6 + 5 + 3*4 + 3 + 3*2 + 1 = 45)"},
        {"BI2OF5", "", KV_SUCCESS, "1111" + I25_STOP, "empty: start and stop"},
        // A bad pair is the digit 0's classes twice, all bars (18 dots); the
        // stop follows only a clean symbol.
        {"BI2OF5", "12A4", KV_IVBARC, i25("12") + "(18)", "a letter spoils its pair"},
        {"BS2OF5 C1", "12345", KV_SUCCESS, S25_START + s25("123457") + S25_STOP,
         "published pattern, check 7"},
        {"BS2OF5", "0", KV_SUCCESS, S25_START + s25("0") + S25_STOP, "one digit"},
        // The letter is a 14-dot block, a character's width, joined to the
        // next digit's first bar; no stop after a bad character.
        {"BS2OF5", "1A2", KV_IVBARC, S25_START + s25("1") + "(15)" + s25("2").substr(1, 8),
         "a letter prints a solid block"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.commands) + " " + c.data + ": " + c.source);
        RenderResult r = render_symbol(std::string(c.commands) + " R3:1 H10", c.data);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.fields, 1);
        EXPECT_EQ(runs(r.page), c.elements);
    }
    // The block is exactly one character wide: with the stop's 9 dots the
    // field would be as wide as with a digit in its place.
    EXPECT_EQ(render_symbol("BS2OF5 R3:1", "1A2").fieldwidth + 9,
              render_symbol("BS2OF5 R3:1", "112").fieldwidth);
}

TEST(TwoOfFive, InterleavedDecodesAtEveryOrientationAndWidth) {
    struct Data {
        const char* commands;
        const char* in;
        std::string out;
    };
    const Data data[] = {
        {"C0", "123456", "123456"},         {"C0", "1234567", "01234567"},
        {"C0", "0123456789", "0123456789"}, {"C1", "12345", "123457"},
        {"C1", "123456", "01234565"},       {"C1", "9876543210", "098765432105"},
    };
    for (const Data& d : data) {
        for (const char* o : kOrientations) {
            for (const char* w : {"R3:1", "R5:2", "R6:2", "R9:3"}) {
                const std::string cmd = std::string("BI2OF5 H40 ") + d.commands + " " + o + " " + w;
                SCOPED_TRACE(cmd + " " + d.in);
                RenderResult r = render_symbol(cmd, d.in);
                ASSERT_EQ(r.status, KV_SUCCESS);
                ZxOptions opt;
                opt.itfcheck = std::string(d.commands) == "C1"; // the reader verifies it
                auto zx = decode_zxing(r.page, "ITF", false, 16, opt);
                ASSERT_EQ(zx.size(), 1u);
                EXPECT_EQ(zx[0].text, d.out);
                auto zb = decode_zbar(r.page);
                ASSERT_EQ(zb.size(), 1u);
                EXPECT_EQ(zb[0].format, "I2/5");
                EXPECT_EQ(zb[0].text, d.out);
            }
        }
    }
}

TEST(TwoOfFive, BandsGiveTheSamePage) {
    // Vertical symbols cross many bands: the characters left of each band's
    // clip window are skipped by arithmetic and must land where mapping them
    // would have put them.
    for (const char* o : kOrientations) {
        for (const char* cmd : {"BI2OF5 H30 R5:2 C1", "BS2OF5 H30 R5:2 C1"}) {
            const std::string c = std::string(cmd) + " " + o;
            SCOPED_TRACE(c);
            RenderResult whole = render_symbol(c, "31415926535");
            for (int band : {8, 6, 1}) {
                RenderResult sliced = render_symbol(c, "31415926535", band);
                EXPECT_EQ(sliced.page.width, whole.page.width);
                EXPECT_EQ(sliced.page.dots, whole.page.dots) << "band " << band;
            }
        }
    }
}

TEST(Postnet, BarsFollowThePublishedPatternsAndThePrinterTable) {
    struct Case {
        int32_t prncode;
        const char* orient;
        const char* data;
        std::string digits;              // what the bars must carry, check digit included
        int full, half, barwidth, space; // from the printer table
        const char* source;
    };
    const Case cases[] = {
        {400, "OV", "12345-6789", "1234567895", 7, 3, 1, 2,
         "worked example: digit sum 45, check 5"},
        {400, "OH", "12345 6789", "1234567895", 7, 3, 1, 2, "a space takes no room either"},
        {1024, "OH", "12345", "123455", 9, 3, 1, 2, "sum 15, check 5"},
        {384, "OU", "0", "00", 9, 4, 1, 2, "sum 0, check 0"},
        {768, "OB", "55555-4444",
         "555554444"
         "9",
         19, 8, 3, 4, "sum 41, check 9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.prncode) + " " + c.orient + " " + c.data + ": " + c.source);
        RenderResult r = render_symbol(std::string("BPOSTNET ") + c.orient, c.data, 0, c.prncode);
        ASSERT_EQ(r.status, KV_SUCCESS);
        std::vector<Bar> want;
        std::string pattern = "F";
        for (char d : c.digits) pattern += kPostnet[d - '0'];
        pattern += "F";
        for (size_t i = 0; i < pattern.size(); ++i) {
            const int x = static_cast<int>(i) * (c.barwidth + c.space);
            if (pattern[i] == 'F')
                want.push_back({x, c.barwidth, 0, c.full});
            else
                want.push_back({x, c.barwidth, c.full - c.half, c.half}); // on the baseline
        }
        EXPECT_EQ(linear_test::bars(linear_test::upright(r.page, c.orient)), want);
        EXPECT_EQ(r.fieldwidth * r.fielddepth,
                  (static_cast<int>(pattern.size()) * (c.barwidth + c.space) - c.space) * c.full);
    }
}

TEST(Postnet, DensityAndBadInput) {
    // The region setter gets the table's density: 0 on printer 1024, 1 on 400.
    for (auto [prncode, density] : {std::pair{1024, 0}, std::pair{400, 1}}) {
        Harness h(recorder_slots(prncode, false));
        h.command("BPOSTNET OH");
        ASSERT_EQ(kv_fieldmake(h.state.get(), 12, 0, 0, "12345"), KV_SUCCESS);
        kv_field* f = h->fieldhead;
        const kv_rect all{0, 0, f->width, f->depth};
        kv_imageone(h.state.get(), &all, f, 0, 0);
        ASSERT_FALSE(recorder().regions.empty());
        for (const RecordedRegion& g : recorder().regions) EXPECT_EQ(g.density, density);
    }

    RenderResult none = render_symbol("BPOSTNET OV", "12345", 0, 256);
    EXPECT_EQ(none.status, KV_IVPNET); // no row for printer 256 at 90 degrees
    EXPECT_EQ(none.fields, 0);

    // A letter: a full-height block as wide as a digit (15 dots), joined to
    // the next digit's first bar; check 7 (sum 3); no closing frame bar
    // after a bad character.
    RenderResult bad = render_symbol("BPOSTNET", "12A", 0, 400);
    EXPECT_EQ(bad.status, KV_IVBARC);
    EXPECT_EQ(bad.fields, 1);
    const std::vector<Bar> got = linear_test::bars(bad.page);
    ASSERT_EQ(got.size(), 1u + 10u + 1u + 4u);
    EXPECT_EQ(got[11], (Bar{33, 16, 0, 7}));
    EXPECT_EQ(got.back(), (Bar{60, 1, 0, 7}));
    EXPECT_EQ(bad.fieldwidth, 3 + 30 + 15 + 15);
}

TEST(Postnet, BandsGiveTheSamePage) {
    for (const char* o : kOrientations) {
        SCOPED_TRACE(o);
        const std::string cmd = std::string("BPOSTNET ") + o;
        RenderResult whole = render_symbol(cmd, "12345-6789", 0, 400);
        for (int band : {8, 6, 2}) {
            RenderResult sliced = render_symbol(cmd, "12345-6789", band, 400);
            EXPECT_EQ(sliced.page.dots, whole.page.dots) << "band " << band;
        }
    }
}
