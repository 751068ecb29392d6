#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/driver/qstrops.hpp"

namespace {
std::string parseall(std::string text, char sep) {
    char buf[64];
    std::strcpy(buf, text.c_str());
    std::string out;
    uint32_t n = qstr_countparms(buf, sep);
    for (uint32_t i = 0; i < n; ++i) {
        char token[64];
        qstr_parse(buf, token, sep);
        out += "[" + std::string(token) + "]";
    }
    return out;
}
} // namespace

TEST(Qstr, ToiTakesOnlyPlainDigits) {
    struct Case { const char* text; uint32_t value; };
    const Case cases[] = {{"123", 123}, {"12a", 0}, {"-5", 0}, {" 7", 0}, {"", 0}, {"007", 7},
                          {"1.5", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(qstr_toi(c.text), c.value);
    }
}

TEST(Qstr, CountparmsCountsTokensBetweenSeparatorRuns) {
    struct Case { const char* text; char sep; uint32_t count; };
    const Case cases[] = {{"A B", ' ', 2}, {"A   B ", ' ', 2}, {"", ' ', 1}, {"   ", ' ', 1},
                          {"3:1", ':', 2}, {":3::1:", ':', 2}, {"4:3:2:1", ':', 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(qstr_countparms(c.text, c.sep), c.count);
    }
}

TEST(Qstr, ParseSplitsTokensWithoutEmptyOnes) {
    EXPECT_EQ(parseall("  A  B", ' '), "[A][B]");
    EXPECT_EQ(parseall("3, 1", ','), "[3][1]");
    EXPECT_EQ(parseall("BCODE39 H50 C1", ' '), "[BCODE39][H50][C1]");
    EXPECT_EQ(parseall("", ' '), "[]");
}

TEST(Qstr, CompareIsUnsignedWithShorterSmaller) {
    EXPECT_EQ(qstr_cmp("AB", "ABC"), -1);
    EXPECT_EQ(qstr_cmp("B", "ABC"), 1);
    EXPECT_EQ(qstr_cmp("AB", "AB"), 0);
    EXPECT_EQ(qstr_cmp("", ""), 0);
    EXPECT_EQ(qstr_cmp("\xC8", "A"), 1); // byte 200 is above 'A'
}

TEST(Qstr, EditingOperationsStayInsideTheirBuffers) {
    char s[8] = "abc";
    qstr_del(s, 0, 5);
    EXPECT_STREQ(s, "");

    std::strcpy(s, "abc");
    qstr_ins(s, "XY", 10);
    EXPECT_STREQ(s, "abcXY");
    qstr_ins(s, "1234", 1); // only two more bytes fit
    EXPECT_STREQ(s, "a12bcXY");
    qstr_catchr(s, 'Z');
    EXPECT_STREQ(s, "a12bcXY");
    qstr_ins(s, "", 0);
    EXPECT_STREQ(s, "a12bcXY");

    char small[4];
    qstr_cpy(small, "overlong");
    EXPECT_STREQ(small, "ove");
    qstr_subcpy(small, "xyz", 2);
    EXPECT_STREQ(small, "xy");

    std::strcpy(s, "aaab");
    qstr_chopleading(s, 'a');
    EXPECT_STREQ(s, "b");
    std::strcpy(s, "hello");
    qstr_del(s, 1, 2);
    EXPECT_STREQ(s, "hlo");
    qstr_toupper(s);
    EXPECT_STREQ(s, "HLO");
}
