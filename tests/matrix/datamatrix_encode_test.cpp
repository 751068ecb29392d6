// ECC200 encodation at the codeword level: header options, the six modes and
// their latches, the look-ahead's choices, the end-of-data rules of each
// packed mode, Base256 lengths, randomised pads, capacity limits. Expected
// codewords are worked by hand from the standard's rules; each end-of-data
// case is also read back by both readers.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/matrix/datamatrix_testutil.hpp"

using dmtest::built;
using dmtest::datacodewords;
using dmtest::printable;

namespace {
std::string rep(const std::string& s, size_t n) {
    std::string out;
    while (out.size() < n) out += s;
    out.resize(n);
    return out;
}

int32_t count(const std::string& data, int32_t options = 0, int32_t minsize = 0) {
    uint8_t cw[datamtx200_bufsize];
    return datamtx200_encode(cw, reinterpret_cast<const uint8_t*>(data.data()),
                             static_cast<int32_t>(data.size()), options, minsize);
}

// Reads a built symbol back with both readers (module grid at 3 dots).
void expect_reads(const built& b, const std::string& expected) {
    ASSERT_EQ(b.ok, 1);
    const Bitmap page = dmtest::symbolbitmap(b.sym, 3);
    EXPECT_EQ(printable(dmtest::read_zxing(page, 3, true)), printable(expected)) << "zxing";
    EXPECT_EQ(printable(dmtest::read_dmtx(page, 3)), printable(expected)) << "libdmtx";
}
} // namespace

TEST(DataMatrixEncode, WorkedExamples) {
    // ISO/IEC 16022 worked example: "123456" is three digit-pair codewords
    // and fills a 10x10 symbol, whose check codewords the standard lists.
    {
        built b("123456");
        ASSERT_EQ(b.ok, 1);
        EXPECT_EQ(b.sym.imagewidth, 10);
        EXPECT_EQ(datacodewords("123456"), (std::vector<int>{142, 164, 186}));
        uint8_t cw[datamtx200_bufsize];
        ASSERT_EQ(datamtx200_encode(cw, reinterpret_cast<const uint8_t*>("123456"), 6, 0, 0), 3);
        datamtx200_calcchecks(cw, datamtx200_symdefbysize(10, 10));
        EXPECT_EQ(std::vector<int>(cw, cw + 8),
                  (std::vector<int>{142, 164, 186, 114, 25, 5, 88, 102}));
    }
    // Three codewords with a minimum width of 30: the smallest size not
    // narrower is 32x32 (the next smaller, 26, is narrower).
    {
        built b("123456", 0, 30);
        ASSERT_EQ(b.ok, 1);
        EXPECT_EQ(b.sym.imagewidth, 32);
        EXPECT_EQ(b.sym.imageheight, 32);
    }
    // Empty data: the smallest symbol, all pads; the first pad is 129, the
    // others 253-state randomised (positions 2 and 3: 129 + 46 = 175,
    // 129 + 195 - 254 = 70).
    {
        built b("");
        ASSERT_EQ(b.ok, 1);
        EXPECT_EQ(b.sym.imagewidth, 10);
        EXPECT_EQ(count(""), 0);
        EXPECT_EQ(datacodewords(""), (std::vector<int>{129, 175, 70}));
    }
}

TEST(DataMatrixEncode, HeaderOptions) {
    struct Case {
        const char* what;
        int32_t options;
        const char* data;
        std::vector<int> codewords; // up to the symbol's capacity
        const char* version;        // macro version the readers report, or null
    };
    const std::array<Case, 4> cases{{
        {"Macro 05 is 236 first", DATAMTX_OPT_MACRO05, "", {236, 129, 70}, "05"},
        {"Macro 06 is 237 first", DATAMTX_OPT_MACRO06, "A", {237, 66, 129}, "06"},
        {"reader programming is 234 first", DATAMTX_OPT_READERPROG, "12", {234, 142, 129}, nullptr},
        {"Macro 05 before a latch",
         DATAMTX_OPT_MACRO05,
         "ABCDEF",
         {236, 230, 89, 233, 109, 36, 254, 129},
         "05"},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(datacodewords(c.data, c.options), c.codewords);
        built b(c.data, c.options);
        expect_reads(b, c.version ? dmtest::macro(c.data, c.version) : std::string(c.data));
    }
}

TEST(DataMatrixEncode, AsciiCodewords) {
    struct Case {
        std::string data;
        std::vector<int> codewords; // the counted ones
        const char* why;
    };
    const std::array<Case, 7> cases{{
        {"12345", {142, 164, 54}, "digit pairs 130 + 12, 130 + 34, then '5' + 1"},
        {"1a2", {50, 98, 51}, "no pair across a letter"},
        {"00", {130}, "smallest pair"},
        {"99", {229}, "largest pair"},
        {std::string(1, '\0'), {1}, "byte 0 is 0 + 1"},
        {"\x80", {235, 1}, "Upper Shift, 128 - 127"},
        {"\xff", {235, 128}, "Upper Shift, 255 - 127"},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(printable(c.data) + ": " + c.why);
        const std::vector<int> all = datacodewords(c.data);
        ASSERT_GE(all.size(), c.codewords.size());
        EXPECT_EQ(count(c.data), static_cast<int32_t>(c.codewords.size()));
        EXPECT_EQ(std::vector<int>(all.begin(), all.begin() + c.codewords.size()), c.codewords);
        expect_reads(built(c.data), c.data);
    }
}

TEST(DataMatrixEncode, LookaheadChoices) {
    // Costs worked by hand with the look-ahead's twelfths.
    struct Case {
        std::string data;
        int32_t from;
        int32_t expected;
        const char* why;
    };
    const std::array<Case, 13> cases{{
        {"123456", DATAMTX_ASCII, DATAMTX_ASCII, "digits cost 6: ASCII 24 < 44 after four"},
        {"ABCDEFGH", DATAMTX_ASCII, DATAMTX_C40, "C40 44 = X12 44, no X12 terminator ahead"},
        {"ABCD*EFG", DATAMTX_ASCII, DATAMTX_X12, "C40 44 = X12 44, '*' ahead"},
        {"abcdefgh", DATAMTX_ASCII, DATAMTX_TEXT, "Text 44 + 1 < 48"},
        {"@@@@@@@@", DATAMTX_ASCII, DATAMTX_EDIFACT, "EDIFACT 57 + 1 < 60 after five"},
        {"\x80\x81\x82\x83", DATAMTX_ASCII, DATAMTX_B256, "Base256 63 < 96"},
        {"AB", DATAMTX_ASCII, DATAMTX_ASCII, "short data: ASCII 24 is at most every rounded cost"},
        {"1234", DATAMTX_C40, DATAMTX_C40, "the current mode starts at 0: C40 32 + 1 < 36"},
        {"@", DATAMTX_EDIFACT, DATAMTX_EDIFACT, "EDIFACT 12 below every other rounded cost"},
        {"DE\xc1", DATAMTX_C40, DATAMTX_C40, "rounded C40 48 below ASCII 60"},
        {"Q\xc1", DATAMTX_C40, DATAMTX_ASCII, "rounded ASCII 48 equals C40 48"},
        {"   \x80\x80", DATAMTX_ASCII, DATAMTX_ASCII,
         "ASCII 60 < Base256 63 (15 + 4 x 12) at the fourth character"},
        {"  0[", DATAMTX_X12, DATAMTX_ASCII, "'[' costs X12 40: rounded ASCII 60 is least"},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(printable(c.data) + " from " + datamtx200_encname(c.from) + ": " + c.why);
        EXPECT_STREQ(
            datamtx200_encname(datamtx_lookaheadJ(reinterpret_cast<const uint8_t*>(c.data.data()),
                                                  static_cast<int32_t>(c.data.size()), c.from)),
            datamtx200_encname(c.expected));
    }
}

// Every way a C40, Text, X12 or EDIFACT run can end: complete groups that
// fill the symbol exactly or leave one, two or more codewords; part groups
// of one, two (and for EDIFACT three) values. Each is also read back.
TEST(DataMatrixEncode, EndOfData) {
    struct Case {
        std::string data;
        std::vector<int> codewords; // the whole data region of the symbol
        const char* why;
    };
    const std::vector<Case> cases{
        // C40: A B C = 14 15 16 -> 1600*14 + 40*15 + 16 + 1 = 23017 = 89:233.
        {"ABCDEF", {230, 89, 233, 109, 36}, "C40 fills 12x12 exactly: no closing unlatch"},
        {"ABCDEFGHI",
         {230, 89, 233, 109, 36, 128, 95, 129},
         "C40, one codeword left: a reader takes it as ASCII, so a pad, not 254"},
        {"ABCDEFGHIJKL",
         {230, 89, 233, 109, 36, 128, 95, 147, 154, 254, 129, 147},
         "C40, three codewords left: unlatch, then pads"},
        {"ABCDEFGH",
         {230, 89, 233, 109, 36, 128, 73, 129},
         "C40 part group of two: completed with Shift 1 (G H 0)"},
        {"ABCDEFG",
         {230, 89, 233, 109, 36, 254, 72, 129},
         "C40 part group of one: unlatch and G in ASCII"},
        {"ABCDE!",
         {230, 89, 233, 109, 17, 254, 34, 129},
         "C40 ending in a Shift 2 character split over groups: D E Shift 1, then '!' in ASCII"},
        {"ABCDE\xc1",
         {230, 89, 233, 109, 18, 189, 177, 129},
         "C40 Upper Shift character: D E Shift 2 | Upper Shift A Shift 1"},
        // Text: the same values for small letters.
        {"abcdef", {239, 89, 233, 109, 36}, "Text fills 12x12 exactly"},
        {"abcdefgh",
         {239, 89, 233, 109, 36, 128, 73, 129},
         "Text part group of two: Shift 1 completes it"},
        {"abcde!",
         {239, 89, 233, 109, 17, 254, 34, 129},
         "Text part group of one after a split Shift 2 character"},
        // X12: * A B = 1 14 15 -> 2176 = 8:128.
        {"ABC*ABC*A", {238, 89, 233, 8, 128, 100, 55, 129}, "X12, one codeword left: a pad"},
        {"ABC*ABC*AB",
         {238, 89, 233, 8, 128, 100, 55, 67},
         "X12 part group of one, one codeword left: B in ASCII without unlatch"},
        {"ABC*ABC*",
         {238, 89, 233, 8, 128, 254, 68, 43},
         "X12 part group of two: unlatch, C and '*' in ASCII, symbol filled exactly"},
        {"ABC*ABC*ABC*A",
         {238, 89, 233, 8, 128, 100, 55, 96, 66, 254, 66, 129},
         "X12 part group of one with room: unlatch and A in ASCII"},
        // EDIFACT: '@' is value 0; a group of four is three codewords.
        {rep("@", 8), {240, 0, 0, 0, 0, 0, 0, 129}, "EDIFACT, one codeword left: a pad, no 124"},
        {rep("@", 9),
         {240, 0, 0, 0, 0, 0, 0, 65},
         "EDIFACT one value left, one codeword left: '@' in ASCII without unlatch"},
        {rep("@", 10),
         {240, 0, 0, 0, 0, 0, 0, 0, 7, 192, 129, 147},
         "EDIFACT part group of two: 0 0 31 and zero bits"},
        {rep("@", 11),
         {240, 0, 0, 0, 0, 0, 0, 0, 0, 31, 129, 147},
         "EDIFACT part group of three: 0 0 0 31"},
        {rep("@", 12),
         {240, 0, 0, 0, 0, 0, 0, 0, 0, 0, 129, 147},
         "EDIFACT, two codewords left: pads, no 124"},
        {rep("@", 13),
         {240, 0, 0, 0, 0, 0, 0, 0, 0, 0, 65, 129},
         "EDIFACT one value, two codewords left: ASCII without unlatch"},
        {rep("@", 14),
         {240, 0, 0, 0, 0, 0, 0, 0, 0, 0, 65, 65},
         "EDIFACT two values fill the symbol in ASCII"},
        {rep("@", 16),
         {240, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 124, 129, 237, 133, 28},
         "EDIFACT, five codewords left: the unlatch 124, then pads"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(printable(c.data) + ": " + c.why);
        EXPECT_EQ(datacodewords(c.data), c.codewords);
        expect_reads(built(c.data), c.data);
    }
}

TEST(DataMatrixEncode, EndOfDataDependsOnTheSymbol) {
    // The same C40 data end differently when a minimum size leaves room.
    EXPECT_EQ(datacodewords("ABCDEF", 0, 14),
              (std::vector<int>{230, 89, 233, 109, 36, 254, 129, 56}));
    expect_reads(built("ABCDEF", 0, 14), "ABCDEF");
    // Twelve '@' end exactly on a group: in 16x16 two codewords are left
    // (no unlatch); in 18x18 five are (unlatch).
    const std::vector<int> wide = datacodewords(rep("@", 12), 0, 18);
    ASSERT_EQ(wide.size(), 18u);
    EXPECT_EQ(wide[10], 124);
    expect_reads(built(rep("@", 12), 0, 18), rep("@", 12));
}

TEST(DataMatrixEncode, Base256Lengths) {
    // Length n < 250 is one codeword, else n / 250 + 249 and n % 250; both
    // 255-state randomised at positions 2 and 3 (r = 44 and 193).
    struct Case {
        size_t n;
        int32_t count;
        std::vector<int> head;
        const char* why;
    };
    const std::array<Case, 3> cases{{
        {249, 251, {231, 37, 65}, "249 + 44 - 256; first byte 128 + 193 - 256"},
        {250, 253, {231, 38, 193, 215}, "250 / 250 + 249 = 250, 250 % 250 = 0; byte 128 + 87"},
        {1500, 1503, {231, 43, 193}, "1500 / 250 + 249 = 255; 1500 % 250 = 0"},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.n) + " bytes: " + c.why);
        const std::string data(c.n, '\x80');
        EXPECT_EQ(count(data), c.count);
        const std::vector<int> cw = datacodewords(data);
        ASSERT_GE(cw.size(), c.head.size());
        EXPECT_EQ(std::vector<int>(cw.begin(), cw.begin() + c.head.size()), c.head);
    }
}

TEST(DataMatrixEncode, Randomisers) {
    struct Case {
        int32_t states;
        int32_t index; // 0-based: position index + 1
        uint8_t in;
        uint8_t out;
        const char* why;
    };
    const std::array<Case, 4> cases{{
        {253, 1, 129, 175, "r = 298 % 253 + 1 = 46"},
        {253, 2, 249, 190, "r = 447 % 253 + 1 = 195; 444 - 254"},
        {255, 3, 0, 87, "r = 596 % 255 + 1"},
        {255, 1, 250, 38, "r = 44; 294 - 256"},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.states) + "-state: " + c.why);
        uint8_t v[4] = {};
        v[c.index] = c.in;
        datamtx_nstaterand(v, c.index, 1, c.states, 0);
        EXPECT_EQ(v[c.index], c.out);
        datamtx_nstaterand(v, c.index, 1, c.states, 1);
        EXPECT_EQ(v[c.index], c.in);
    }
    // The inverse undoes the forward direction for every value each
    // algorithm takes (253-state: 1..254) at every position.
    for (const int32_t states : {253, 255}) {
        for (int32_t pos = 0; pos < datamtx200_maxdata; ++pos) {
            for (int32_t value = states == 253 ? 1 : 0; value <= (states == 253 ? 254 : 255);
                 ++value) {
                uint8_t v[datamtx200_maxdata];
                v[pos] = static_cast<uint8_t>(value);
                datamtx_nstaterand(v, pos, 1, states, 0);
                datamtx_nstaterand(v, pos, 1, states, 1);
                ASSERT_EQ(v[pos], value) << states << "-state at " << pos;
            }
        }
    }
}

TEST(DataMatrixEncode, LargestOfEachMode) {
    // The largest data of each mode that fits 144x144 (1558 data
    // codewords), and one character more.
    struct Case {
        std::string data;
        int first; // the mode's latch (digit pairs: "01")
        const char* why;
    };
    std::string b256(1555, '\0');
    for (size_t i = 0; i < b256.size(); ++i) b256[i] = static_cast<char>(128 + i % 128);
    const std::array<Case, 6> cases{{
        {rep("0123456789", 3116), 131, "ASCII digits: 1558 pairs"},
        {rep("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 2335), 230,
         "C40: latch, 778 groups, the last character in ASCII"},
        {rep("abcdefghijklmnopqrstuvwxyz", 2335), 239, "Text: as C40"},
        {rep("AB*C>D\rE", 2335), 238, "X12: as C40"},
        {rep("@[]^!#$%&()", 2076), 240, "EDIFACT: latch and 519 groups"},
        {b256, 231, "Base256: latch, two length codewords, 1555 bytes"},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(count(c.data), datamtx200_maxdata);
        EXPECT_EQ(datacodewords(c.data).at(0), c.first);
        EXPECT_LT(count(c.data + c.data[0]), 0);
    }
}
