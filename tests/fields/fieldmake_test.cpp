// Field construction: parameters, check characters, UPC-E rewriting, the
// POSTNET printer table, escapes, the human-readable line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/fields/chkcat.hpp"
#include "core/fields/fieldmake.hpp"
#include "core/fields/unescape.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"

namespace {
// The queued text of the newest field after `commands` and `data`.
std::string maketext(const std::string& commands, const std::string& data,
                     kv_status* status = nullptr, int32_t prncode = 400) {
    Harness h(recorder_slots(prncode, false));
    h.command(commands);
    kv_status st = kv_fieldmake(h.state.get(), 12, 0, 0, data.c_str());
    if (status != nullptr) *status = st;
    kv_field* main = h->fieldhead;
    while (main != nullptr && main->type == 1) main = main->next;
    return main != nullptr ? std::string(main->text.get()) : "<none>";
}
} // namespace

TEST(FieldMake, CheckCharactersByScheme) {
    struct Case {
        int32_t type;
        int32_t check;
        int32_t subtype;
        const char* data;
        const char* text;
        const char* source;
    };
    const Case cases[] = {
        {2, 1, 0, "code", "codeK", "(12+24+13+14) mod 43 = 20 is K"},
        {2, 0, 0, "ABC", "ABC", "no check"},
        {2, 1, 0, "A#", "A#A", "characters without a value add nothing"},
        {6, 1, 0, "1234", "12344", "published MSI modulo 10 example"},
        {6, 2, 0, "1234", "123448", "modulo 10 twice"},
        {6, 3, 0, "1234", "123430", "modulo 11 (3), then modulo 10 over 12343"},
        {6, 4, 0, "1234", "123447", "modulo 10 (4), then modulo 11 over 12344: 48 mod 11 = 4"},
        {7, 1, 0, "A1234B", "A1234B", "Codabar has no check character"},
        {4, 1, 0, "12345", "123457", "3*1+2+3*3+4+3*5 = 33"},
        {5, 1, 0, "12345", "123457", "same weights"},
        {4, 1, 0, "123456", "1234565", "weight 3 next to the check: 3*6+5+3*4+3+3*2+1 = 45"},
        {8, 1, 'A', "03600029145", "036000291452", "published UPC-A example"},
        {8, 1, 'B', "03600029145", "03600029145", "subtype B: no check digit"},
        {8, 1, 'E', "0123456", "01234565", "UPC-E: digit of its UPC-A form 01234500006"},
        {8, 1, 'E', "1234567890123", "12345678901231", "UPC-E text too long: plain UPC digit"},
        {9, 1, '3', "400638133393", "4006381333931", "published EAN-13 example"},
        {9, 1, '8', "9638507", "96385074", "published EAN-8 example"},
        {10, 1, 0, "12345-6789", "12345-67895", "digit sum 45"},
        {3, 1, 'C', "1234", "123482", "(105 + 12 + 2*34) mod 103 = 82 as two digits"},
        {3, 1, 'B', "AB", "AB\xB1", "(104 + 33 + 2*34) mod 103 = 102: FNC1, a marked byte"},
        {12, 9, 0, "abc", "abc", "two-dimensional types get none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.data) + ": " + c.source);
        char buf[64];
        std::strcpy(buf, c.data);
        kv_chkcat(nullptr, buf, sizeof buf, c.check, c.type, c.subtype);
        EXPECT_EQ(std::string(buf), c.text);
    }
}

TEST(FieldMake, Code128CheckFollowsTheSubsetAtTheEnd) {
    // Start A, data in A: value 64 has a NUL in column A and is sent as its B byte.
    // Data "A" in subset A: (103 + 33) mod 103 = 33 -> 'A'.
    char a[16] = "A";
    kv_c128_chkcat('A', 1, a, sizeof a);
    EXPECT_STREQ(a, "AA");
    // Switch to C inside B data: the check is written as two digits.
    // START B 104, X 56*1, CODE C 99*2, 12 at 3: 104+56+198+36 = 394 mod 103 = 85.
    char b[16] = "X\xE3" "12";
    kv_c128_chkcat('B', 4, b, sizeof b);
    EXPECT_EQ(std::string(b), std::string("X\xE3" "12") + "85");
}

TEST(FieldMake, UpcRewriting) {
    struct Case {
        const char* upca;
        const char* upce;
    };
    const Case cases[] = {
        {"01234500006", "0123456"}, // d5 != 0
        {"01234000005", "0123454"}, // d4 != 0: ... d10 4
        {"01200000345", "0123450"}, // d3 in 0..2: d1 d2 d8 d9 d10 d3
        {"01230000045", "0123453"}, // otherwise: ... 3
        {"012345000068", "01234568"}, // the check digit stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upca);
        char buf[16];
        std::strcpy(buf, c.upca);
        kv_upc_a2e(buf);
        EXPECT_STREQ(buf, c.upce);
        kv_upc_expand(buf);
        EXPECT_STREQ(buf, c.upca);
    }
    char shortone[16] = "12345";
    kv_upc_a2e(shortone);
    EXPECT_STREQ(shortone, "12345"); // only 11 or 12 digits are rewritten
}

TEST(FieldMake, PostnetSizesComeFromThePrinterTable) {
    struct Case {
        int32_t prncode;
        const char* orient;
        kv_status status;
        int32_t density, tall, shortbar, w1, w0;
    };
    const Case cases[] = {
        {400, "OH", KV_SUCCESS, 1, 7, 3, 2, 1},  {400, "OB", KV_SUCCESS, 1, 7, 3, 2, 1},
        {1024, "OH", KV_SUCCESS, 0, 9, 3, 2, 1}, {768, "OV", KV_SUCCESS, 2, 19, 8, 4, 3},
        {256, "OV", KV_IVPNET, 0, 0, 0, 0, 0},   {384, "OU", KV_SUCCESS, 1, 9, 4, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.prncode) + c.orient);
        Harness h(recorder_slots(c.prncode, false));
        h.command(std::string("BPOSTNET ") + c.orient);
        kv_field f;
        f.type = 10;
        f.orientation = h->ornt;
        EXPECT_EQ(kv_fixpnet(h.state.get(), &f), c.status);
        if (c.status != KV_SUCCESS) continue;
        EXPECT_EQ(f.density, c.density);
        EXPECT_EQ(f.height, c.tall);
        EXPECT_EQ(f.indent, c.shortbar);
        EXPECT_EQ(f.widths[2], c.w1);
        EXPECT_EQ(f.widths[3], c.w1);
        EXPECT_EQ(f.widths[0], c.w0);
        EXPECT_EQ(f.widths[1], c.w0);
    }
}

TEST(FieldMake, Unescape) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"\\x41\\x4", std::string("A\x04")},
        {"\\q", "q"},
        {"abc\\", "abc\\"},
        {"\\\\", "\\"},
        {"\\n\\r\\t\\a\\b\\f\\v\\N", "\n\r\t\a\b\f\v\n"},
        {"\\x414", "A4"},
        {"\\xg", "xg"},
        {"\\Xff\\x00z", std::string("\xff\0z", 3)},
        {std::string("a\\\0b", 4), "ab"},
        {"\\~", "~"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        std::string buf = c.in + '\0';
        const int32_t n = kv_unescapestr(buf.data(), static_cast<int32_t>(c.in.size()));
        EXPECT_EQ(std::string(buf.data(), static_cast<size_t>(n)), c.out);
    }
}

TEST(FieldMake, FieldTakesTheParametersAndPosition) {
    Harness h(recorder_slots(768, false));
    h.command("BCODE39 H50 OU D2 R3:1 W7");
    ASSERT_EQ(kv_fieldmake(h.state.get(), 12, 240, 5, "AB"), KV_SUCCESS);
    kv_field* f = h->fieldhead;
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->pitch, 12);
    EXPECT_EQ(f->column, 240);
    EXPECT_EQ(f->x, 5);
    EXPECT_EQ(f->y, 0);
    EXPECT_EQ(f->orientation, 180);
    EXPECT_EQ(f->density, 2);
    EXPECT_EQ(f->height, 50);
    EXPECT_EQ(f->codewidth, 7);
    EXPECT_EQ(f->indent, 0);
    EXPECT_EQ(f->depth, 50);
    EXPECT_EQ(f->width, 4 * 16); // start, A, B, stop at 16 dots each
    EXPECT_EQ(f->symbol, nullptr);
}

TEST(FieldMake, BadCharactersStillQueueTheField) {
    kv_status st = KV_SUCCESS;
    EXPECT_EQ(maketext("BCODE39", "A#B", &st), "A#B");
    EXPECT_EQ(st, KV_IVBARC);
    EXPECT_EQ(maketext("BPOSTNET OV", "12345", &st, 256), "<none>");
    EXPECT_EQ(st, KV_IVPNET);
}
