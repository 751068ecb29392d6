// UPC-A, UPC-E, EAN-8 and EAN-13 through the real field engine: exact
// element sequences against the published digit sets, shortened bars, and
// round trips through two independent readers (which check the check digit
// and, for UPC-E and EAN-13, the parity pattern that carries a digit).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/driver/jerr.hpp"
#include "tests/linear/elements.hpp"
#include "tests/support/decode_zbar.hpp"
#include "tests/support/render.hpp"

using linear_test::runs;

namespace {
const char* const kOrientations[] = {"OH", "OV", "OU", "OB"};

// Module widths of the digits 0..9 (UPC/EAN digit sets): set A, the left
// odd-parity set, space first; set B, the left even-parity set; set C, the
// right-hand set, has set A's widths starting with a bar.
const char* const kSetA[10] = {"3211", "2221", "2122", "1411", "1132",
                               "1231", "1114", "1312", "1213", "3112"};
const char* const kSetB[10] = {"1123", "1222", "2212", "1141", "2311",
                               "1321", "4111", "2131", "3121", "2113"};
const std::string GUARD = "111", CENTRE = "11111", UPCE_END = "111111";

// Widths of `digits` in the sets named letter by letter in `sets` (A, B, C).
std::string digits(const std::string& d, const std::string& sets) {
    std::string s;
    for (size_t i = 0; i < d.size(); ++i) s += (sets[i] == 'B' ? kSetB : kSetA)[d[i] - '0'];
    return s;
}
std::string right(const std::string& d) {
    return digits(d, std::string(d.size(), 'C'));
}
} // namespace

TEST(UpcEan, WorkedExamplesAsElementSequences) {
    struct Case {
        const char* commands;
        const char* data;
        std::string elements; // at one dot per module
        const char* source;
    };
    const Case cases[] = {
        {"BUPC", "03600029145",
         GUARD + digits("036000", "AAAAAA") + CENTRE + right("291452") + GUARD,
         "published UPC-A example, check digit 2"},
        {"BUPC SB", "036000291452",
         GUARD + digits("036000", "AAAAAA") + CENTRE + right("291452") + GUARD,
         "subtype B takes the check digit from the data"},
        {"BEAN S13", "400638133393",
         GUARD + digits("006381", "ABAABB") + CENTRE + right("333931") + GUARD,
         "published EAN-13 example: check 1, the leading 4 selects A B A A B B"},
        {"BEAN S8", "9638507", GUARD + digits("9638", "AAAA") + CENTRE + right("5074") + GUARD,
         "published EAN-8 example, check digit 4"},
        // UPC-A forms: 03220000173 (3*6 + 12 = 30) and 12340000062 (3*6 + 12 = 30)
        // both have the check digit 0.
        {"BUPC SE", "0321732", GUARD + digits("321732", "BBBAAA") + UPCE_END,
         "UPC-E, number system 0, check 0: even even even odd odd odd"},
        {"BUPC SE", "1234623", GUARD + digits("234623", "AAABBB") + UPCE_END,
         "UPC-E, number system 1, check 0: the inverse"},
        {"BUPC SE", "01234500006", GUARD + digits("123456", "BAABBA") + UPCE_END,
         "UPC-A 01234500006 printed as UPC-E 0123456, check 5: B A A B B A"},
        {"BUPC SC", "1234567890123",
         GUARD + digits("1234567", "AAAAAAA") + CENTRE + right("8901231") + GUARD,
         "14-digit layout; UPC check over 13 digits: 109 gives 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.commands) + " " + c.data + ": " + c.source);
        RenderResult r = render_symbol(std::string(c.commands) + " H10", c.data);
        EXPECT_EQ(r.status, KV_SUCCESS);
        EXPECT_EQ(runs(r.page), c.elements);
    }
}

TEST(UpcEan, ExtraAndMissingDigitsPrintAsBlocks) {
    struct Case {
        const char* commands;
        const char* data;
        std::string elements;
        int width;
        const char* source;
    };
    const Case cases[] = {
        // 1234567895: two characters past the template, 7-module blocks
        // joined to the last guard bar.
        {"BEAN S8", "123456789", GUARD + digits("1234", "AAAA") + CENTRE + right("5678") + "11(15)",
         67 + 14, "EAN check of 123456789 is 5 (95)"},
        // 123457: two right-hand digits missing, blocks in their places.
        {"BEAN S8", "12345", GUARD + digits("1234", "AAAA") + CENTRE + right("57") + "(15)11", 67,
         "EAN check of 12345 is 7 (33)"},
        {"BUPC SB", "03600029145",
         GUARD + digits("036000", "AAAAAA") + CENTRE + right("29145") + "811", 95,
         "subtype B gets no check digit: its place is a block"},
        {"BUPC", "0360002914X",
         GUARD + digits("036000", "AAAAAA") + CENTRE + right("2914") + "8" + right("7").substr(1) +
             GUARD,
         95, "a letter; check 7 from the digits alone (43)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.commands) + " " + c.data + ": " + c.source);
        RenderResult r = render_symbol(std::string(c.commands) + " H10", c.data);
        EXPECT_EQ(r.status, KV_IVBARC);
        EXPECT_EQ(r.fields, 1);
        EXPECT_EQ(r.fieldwidth, c.width);
        EXPECT_EQ(runs(r.page), c.elements);
    }
}

TEST(UpcEan, IndentShortensTheLowerCaseLetters) {
    struct Case {
        const char* commands;
        const char* data;
        std::string full; // per bar: F full height, s shortened
    };
    const std::string g = "FF", sd = "ss", fd = "FF";
    auto repeat = [](const std::string& s, int n) {
        std::string r;
        while (n-- > 0) r += s;
        return r;
    };
    const Case cases[] = {
        {"BUPC", "03600029145", g + fd + repeat(sd, 5) + g + repeat(sd, 5) + fd + g},
        {"BEAN S13", "400638133393", g + repeat(sd, 6) + g + repeat(sd, 6) + g},
        {"BEAN S8", "9638507", g + repeat(sd, 4) + g + repeat(sd, 4) + g},
        {"BUPC SE", "0321732", g + repeat(sd, 6) + "FFF"},
    };
    for (const Case& c : cases) {
        for (const char* o : {"OH", "OV", "OU", "OB"}) {
            SCOPED_TRACE(std::string(c.commands) + " " + c.data + " " + o);
            RenderResult r =
                render_symbol(std::string(c.commands) + " H40 I5 R8:6:4:2 " + o, c.data);
            ASSERT_EQ(r.status, KV_SUCCESS);
            std::string got;
            for (const linear_test::Bar& b : linear_test::bars(linear_test::upright(r.page, o))) {
                EXPECT_EQ(b.top, 0); // every bar starts at the top of the field
                got += b.height == 40 ? "F" : b.height == 35 ? "s" : "?";
            }
            EXPECT_EQ(got, c.full);
            EXPECT_EQ(decode_zxing(r.page, "UPC-A|UPC-E|EAN-8|EAN-13").size(), 1u);
        }
    }
}

TEST(UpcEan, DecodesAtEveryOrientationAndWidth) {
    struct Data {
        const char* commands;
        const char* in;
        const char* zxformat;
        const char* zbarformat; // null: zbar does not read it
        std::string out;        // as the readers give it, check digit included
    };
    const Data data[] = {
        {"BUPC", "03600029145", "UPC-A", "UPC-A", "036000291452"},
        {"BUPC", "12345678901", "UPC-A", "UPC-A", "123456789012"},
        {"BEAN S13", "400638133393", "EAN-13", "EAN-13", "4006381333931"},
        {"BEAN S3", "978020137962", "EAN-13", "ISBN-13", "9780201379624"},
        {"BEAN S8", "9638507", "EAN-8", "EAN-8", "96385074"},
        {"BEAN S18", "5512345", "EAN-8", "EAN-8", "55123457"},
        {"BUPC SE", "0321732", "UPC-E", "UPC-E", "03217320"},
        {"BUPC SE", "1234623", "UPC-E", nullptr, "12346230"}, // zbar: number system 0 only,
        {"BUPC SE", "01234500006", "UPC-E", "UPC-E", "01234565"},
        {"BUPC SB", "036000291452", "UPC-A", "UPC-A", "036000291452"},
    };
    for (const Data& d : data) {
        for (const char* o : kOrientations) {
            for (const char* w : {"R4:3:2:1", "R8:6:4:2", "R12:9:6:3"}) {
                const std::string cmd = std::string(d.commands) + " H50 " + o + " " + w;
                SCOPED_TRACE(cmd + " " + d.in);
                RenderResult r = render_symbol(cmd, d.in);
                ASSERT_EQ(r.status, KV_SUCCESS);
                auto zx = decode_zxing(r.page, d.zxformat);
                ASSERT_EQ(zx.size(), 1u);
                EXPECT_EQ(zx[0].text, d.out);
                // zbar, the second reader, wants two dots a module.
                if (d.zbarformat == nullptr || std::string(w) == "R4:3:2:1") continue;
                auto zb = decode_zbar(r.page);
                ASSERT_EQ(zb.size(), 1u);
                EXPECT_EQ(zb[0].format, d.zbarformat);
                EXPECT_EQ(zb[0].text, d.out);
            }
        }
    }
}

TEST(UpcEan, BandsGiveTheSamePage) {
    for (const char* o : kOrientations) {
        for (const char* cmd : {"BEAN S13 H45 I4 R8:6:4:2", "BUPC SE H45 I4 R8:6:4:2"}) {
            const std::string c = std::string(cmd) + " " + o;
            SCOPED_TRACE(c);
            RenderResult whole = render_symbol(c, "400638133393");
            for (int band : {8, 6}) {
                RenderResult sliced = render_symbol(c, "400638133393", band);
                EXPECT_EQ(sliced.page.width, whole.page.width);
                EXPECT_EQ(sliced.page.dots, whole.page.dots) << "band " << band;
            }
        }
    }
}
