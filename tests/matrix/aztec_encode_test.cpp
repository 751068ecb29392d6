// Aztec high-level encoding and bit stuffing, checked against code sequences
// worked out by hand from the character table of ISO/IEC 24778:
//   Upper:  P/S 0, SP 1, A..Z 2..27, L/L 28, M/L 29, D/L 30, B/S 31
//   Lower:  P/S 0, SP 1, a..z 2..27, M/L 29, D/L 30, B/S 31
//   Mixed:  P/S 0, SP 1, CR 14, L/L 28, U/L 29, P/L 30, B/S 31
//   Punct:  CR 1, CR LF 2, ". " 3, ", " 4, ": " 5, ! 6 ... - 18, . 19, U/L 31
//   Digit:  P/S 0, SP 1, 0..9 2..11, "," 12, "." 13, U/L 14, U/S 15 (4 bits)
// Expected sequences are written as value/width tokens.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/matrix/aztec_internal.hpp"

namespace {
// "30/5 3/4" -> "11110" "0011"; "x41*3" appends the byte 0x41 three times.
std::string codes(const std::string& tokens) {
    std::istringstream in(tokens);
    std::string tok;
    std::string out;
    while (in >> tok) {
        int value = 0;
        int width = 8;
        int times = 1;
        if (tok[0] == 'x') {
            const size_t star = tok.find('*');
            value = std::stoi(tok.substr(1, star - 1), nullptr, 16);
            if (star != std::string::npos) times = std::stoi(tok.substr(star + 1));
        } else {
            const size_t slash = tok.find('/');
            value = std::stoi(tok.substr(0, slash));
            width = std::stoi(tok.substr(slash + 1));
        }
        for (int t = 0; t < times; ++t)
            for (int b = width - 1; b >= 0; --b) out += ((value >> b) & 1) ? '1' : '0';
    }
    return out;
}

std::string bitstring(const aztec_bitbuf& b) {
    std::string s;
    for (int32_t i = 0; i < b.nbits; ++i) s += aztec_getbit(&b, i) ? '1' : '0';
    return s;
}

std::string encode(const std::string& data) {
    static aztec_bitbuf b;
    const int32_t n = aztec_encodebits(&b, reinterpret_cast<const uint8_t*>(data.data()),
                                       static_cast<int32_t>(data.size()));
    if (n < 0) return "overflow";
    return bitstring(b);
}

struct encodecase {
    const char* name;
    std::string data;
    const char* expected;
};

void check(const std::vector<encodecase>& cases) {
    for (const encodecase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(encode(c.data), codes(c.expected));
    }
}
} // namespace

// Every latch the encoder can be driven to, from each set to each other set.
// CR followed by four Mixed-set characters is the only way into Mixed, and
// four punctuation characters the way into Punct.
TEST(AztecHighLevel, LatchesBetweenEverySet) {
    check({
        {"upper to lower: L/L", "Aa", "2/5 28/5 2/5"},
        {"upper to mixed: M/L", "A\r    ", "2/5 29/5 14/5 1/5 1/5 1/5 1/5"},
        {"upper to punct: M/L P/L", "A!!!!", "2/5 29/5 30/5 6/5 6/5 6/5 6/5"},
        {"upper to digit: D/L", "A1", "2/5 30/5 3/4"},
        {"lower to upper: D/L then U/L", "aA", "28/5 2/5 30/5 14/4 2/5"},
        {"lower to mixed: M/L", "a\r    ", "28/5 2/5 29/5 14/5 1/5 1/5 1/5 1/5"},
        {"lower to punct: M/L P/L", "a!!!!", "28/5 2/5 29/5 30/5 6/5 6/5 6/5 6/5"},
        {"lower to digit: D/L", "a1", "28/5 2/5 30/5 3/4"},
        {"mixed to upper: U/L", "\r    A", "29/5 14/5 1/5 1/5 1/5 1/5 29/5 2/5"},
        {"mixed to lower: L/L", "\r    a", "29/5 14/5 1/5 1/5 1/5 1/5 28/5 2/5"},
        {"mixed to punct: P/L", "\r    !!!!", "29/5 14/5 1/5 1/5 1/5 1/5 30/5 6/5 6/5 6/5 6/5"},
        // The spaces see the digit after them and latch to Digit first.
        {"mixed to digit: U/L D/L", "\r    1", "29/5 14/5 29/5 30/5 1/4 1/4 1/4 1/4 3/4"},
        {"punct to upper: U/L", "!!!!A", "29/5 30/5 6/5 6/5 6/5 6/5 31/5 2/5"},
        {"punct to lower: U/L L/L", "!!!!a", "29/5 30/5 6/5 6/5 6/5 6/5 31/5 28/5 2/5"},
        {"punct to digit: U/L D/L", "!!!!1", "29/5 30/5 6/5 6/5 6/5 6/5 31/5 30/5 3/4"},
        {"digit to upper: U/L", "1A", "30/5 3/4 14/4 2/5"},
        {"digit to lower: U/L L/L", "1a", "30/5 3/4 14/4 28/5 2/5"},
        {"digit to mixed: U/L M/L", "1\r    ", "30/5 3/4 14/4 29/5 14/5 1/5 1/5 1/5 1/5"},
        {"digit to punct: U/L M/L P/L", "1!!!!", "30/5 3/4 14/4 29/5 30/5 6/5 6/5 6/5 6/5"},
    });
}

// Punct to Mixed cannot be reached from data (CR is punctuation and ends up
// inside the run); the latch itself goes through Upper.
TEST(AztecHighLevel, PunctToMixedLatch) {
    aztec_bitbuf b;
    b.nbits = 0;
    ASSERT_EQ(aztec_latchset(&b, AZTEC_PUNCT, AZTEC_MIXED), 1);
    EXPECT_EQ(bitstring(b), codes("31/5 29/5"));
    ASSERT_EQ(aztec_latchset(&b, AZTEC_MIXED, AZTEC_MIXED), 1);
    EXPECT_EQ(b.nbits, 10) << "latching to the current set writes nothing";
}

TEST(AztecHighLevel, PunctuationShiftsAndRuns) {
    check({
        {"one: P/S", "A!", "2/5 0/5 6/5"},
        {"three: P/S each", "A!?!", "2/5 0/5 6/5 0/5 26/5 0/5 6/5"},
        {"four: latch, one code each", "A!?!#", "2/5 29/5 30/5 6/5 26/5 6/5 8/5"},
        {"pair as one code after P/S", "a, b", "28/5 2/5 0/5 4/5 3/5"},
        {"two pairs count as four characters", "A. . ", "2/5 29/5 30/5 3/5 3/5"},
        {"pair and two singles make four", "A: !!", "2/5 29/5 30/5 5/5 6/5 6/5"},
        {"CR LF pair", "A\r\nB", "2/5 0/5 2/5 3/5"},
        {"CR alone", "A\rB", "2/5 0/5 1/5 3/5"},
        {"run ends, back to Upper for a space", "!!!! A", "29/5 30/5 6/5 6/5 6/5 6/5 31/5 1/5 2/5"},
        {"P/S from digit is 4 bits", "1-2", "30/5 3/4 0/4 18/5 4/4"},
        {"point outside digit is punctuation", "A.5", "2/5 0/5 19/5 30/5 7/4"},
        {"comma and point inside digit", "1,5.2", "30/5 3/4 12/4 7/4 13/4 4/4"},
        {"punct run from digit", "1-,.,", "30/5 3/4 14/4 29/5 30/5 18/5 17/5 19/5 17/5"},
    });
}

// The look-ahead rules of spaces, upper-case letters met in Digit, and CR.
TEST(AztecHighLevel, DigitLookAhead) {
    check({
        {"worked example 123 A-45: U/S, Digit stays", "123 A-45",
         "30/5 3/4 4/4 5/4 1/4 15/4 2/5 0/4 18/5 6/4 7/4"},
        {"worked example 12A34: U/L, then D/L", "12A34", "30/5 3/4 4/4 14/4 2/5 30/5 5/4 6/4"},
        {"letter, punct, end: U/S", "1A-", "30/5 3/4 15/4 2/5 0/4 18/5"},
        {"letter, comma, end: U/S, comma in Digit", "1A,", "30/5 3/4 15/4 2/5 12/4"},
        {"letter, punct, space: U/S", "1A- ", "30/5 3/4 15/4 2/5 0/4 18/5 1/4"},
        {"letter, two punct, digit: U/S", "1A--2", "30/5 3/4 15/4 2/5 0/4 18/5 0/4 18/5 4/4"},
        {"letter, two punct, end: U/S", "1A--", "30/5 3/4 15/4 2/5 0/4 18/5 0/4 18/5"},
        {"letter, two punct, letter: U/L", "1A--B", "30/5 3/4 14/4 2/5 0/5 18/5 0/5 18/5 3/5"},
        {"letter, punct, letter: U/L", "1A-B", "30/5 3/4 14/4 2/5 0/5 18/5 3/5"},
        {"letter, three punct: U/L", "1A---2",
         "30/5 3/4 14/4 2/5 0/5 18/5 0/5 18/5 0/5 18/5 30/5 4/4"},
        {"letter then space: U/L", "1A 2", "30/5 3/4 14/4 2/5 30/5 1/4 4/4"},
        {"space before a digit latches to Digit", "A 1", "2/5 30/5 1/4 3/4"},
        {"every space of the run goes to Digit", "A  1", "2/5 30/5 1/4 1/4 3/4"},
        {"space before a letter stays in Upper", "A B", "2/5 1/5 3/5"},
        {"space in Digit stays in Digit", "1 A", "30/5 3/4 1/4 14/4 2/5"},
        {"space in Lower before a digit", "a 1", "28/5 2/5 30/5 1/4 3/4"},
    });
}

TEST(AztecHighLevel, CarriageReturnToMixed) {
    check({
        {"four Mixed characters follow", "\r@@@@", "29/5 14/5 31/5 4/5 x40*4"},
        {"only three follow: punctuation", "\r@@@", "0/5 1/5 31/5 3/5 x40*3"},
        {"four CRs follow: too much punctuation", "\r\r\r\r\r", "29/5 30/5 1/5 1/5 1/5 1/5 1/5"},
        {"three CRs and a space: Mixed", "\r\r\r\r ", "29/5 14/5 14/5 14/5 14/5 1/5"},
        {"LF counts as a Mixed character", "\r\n    ", "29/5 14/5 31/5 1/5 x0a 1/5 1/5 1/5 1/5"},
        {"CR LF as a pair otherwise", "\r\nAB", "0/5 2/5 2/5 3/5"},
    });
}

TEST(AztecHighLevel, BinaryRuns) {
    const std::string b31(31, '\x80');
    const std::string b32(32, '\xff');
    std::string b40;
    for (int i = 0; i < 40; ++i) b40 += static_cast<char>(i == 0 ? 0 : 0x80 + 3 * i);
    std::string b40codes = "31/5 0/5 9/11";
    for (unsigned char c : b40) b40codes += " " + std::to_string(c) + "/8";
    check({
        {"one byte", std::string("\x00", 1), "31/5 1/5 x00"},
        {"LF is binary", "\n", "31/5 1/5 x0a"},
        {"31 bytes: 5-bit length", b31, "31/5 31/5 x80*31"},
        {"32 bytes: 0 then 1 in 11 bits", b32, "31/5 0/5 1/11 xff*32"},
        {"worked example: 40 bytes, 0 then 9 in 11 bits", b40, b40codes.c_str()},
        {"from Lower, Lower stays", std::string("a\0b", 3), "28/5 2/5 31/5 1/5 x00 3/5"},
        {"from Mixed", "\r    ~", "29/5 14/5 1/5 1/5 1/5 1/5 31/5 1/5 x7e"},
        {"from Punct: U/L first", "!!!!\xe9", "29/5 30/5 6/5 6/5 6/5 6/5 31/5 31/5 1/5 xe9"},
        {"from Digit: U/L first", "1\x80", "30/5 3/4 14/4 31/5 1/5 x80"},
        // U/S B/S would leave readers disagreeing on the set after the run.
        {"from Digit before a digit: still U/L",
         "1\x80"
         "2",
         "30/5 3/4 14/4 31/5 1/5 x80 30/5 4/4"},
        {"symbols outside the text sets", "@\\^_`|~\x7f",
         "31/5 8/5 x40 x5c x5e x5f x60 x7c x7e x7f"},
    });
}

// A run longer than the length field can express continues in a second run.
TEST(AztecHighLevel, LongBinaryRunIsSplit) {
    const std::string data(2079, '\xa5');
    const std::string bits = encode(data);
    const std::string first = codes("31/5 0/5 2047/11");
    const std::string second = codes("31/5 1/5 xa5");
    ASSERT_EQ(bits.size(), first.size() + 2078 * 8 + second.size());
    EXPECT_EQ(bits.substr(0, first.size()), first);
    EXPECT_EQ(bits.substr(first.size() + 2078 * 8), second);
    EXPECT_EQ(bits.substr(first.size(), 8), codes("xa5"));
}

TEST(AztecHighLevel, BufferLimit) {
    // Runs of 2078 and 418 bytes: 21 + 16624 + 21 + 3344 = 20010 bits, past 19968.
    EXPECT_EQ(encode(std::string(2496, '\xff')), "overflow");
    // 3993 upper-case letters: 19965 bits fit; one more does not.
    EXPECT_EQ(encode(std::string(3993, 'Q')).size(), 19965u);
    EXPECT_EQ(encode(std::string(3994, 'Q')), "overflow");
}

TEST(AztecHighLevel, StuffBitsAppendsMostSignificantFirst) {
    aztec_bitbuf b;
    b.nbits = 0;
    std::fill(std::begin(b.bytes), std::end(b.bytes), 0xAA); // stale bytes are cleared
    ASSERT_EQ(aztec_stuffbits(&b, 0x5, 3), 1);
    ASSERT_EQ(aztec_stuffbits(&b, 0x1FF, 9), 1);
    ASSERT_EQ(aztec_stuffbits(&b, 0x0, 6), 1);
    EXPECT_EQ(bitstring(b), "101"
                            "111111111"
                            "000000");
    b.nbits = AZTEC_MAXBITS - 3;
    EXPECT_EQ(aztec_stuffbits(&b, 0, 4), 0);
    EXPECT_EQ(b.nbits, AZTEC_MAXBITS - 3) << "a refused write leaves the stream";
    EXPECT_EQ(aztec_stuffbits(&b, 7, 3), 1);
    EXPECT_EQ(b.nbits, AZTEC_MAXBITS);
}

// Codewords with bit stuffing; expectations worked out by hand from the rule:
// w - 1 equal leading bits force the last bit to the opposite value and push
// the data bit on; the last word is filled with ones, and an all-ones last
// word ends in 0.
TEST(AztecStuffing, CutIntoCodewords) {
    struct row {
        const char* name;
        const char* bits;
        int32_t w;
        std::vector<uint16_t> words;
    } rows[] = {
        {"no stuffing",
         "010100"
         "101011",
         6,
         {0x14, 0x2B}},
        {"five zeros then a pushed bit",
         "010100"
         "000000"
         "001011",
         6,
         {0x14, 0x01, 0x05, 0x3E}},
        {"ones throughout",
         "111111"
         "111111",
         6,
         {0x3E, 0x3E, 0x3E}},
        {"ends with exactly w-1 zeros",
         "010101"
         "00000",
         6,
         {0x15, 0x01}},
        {"short last word filled with ones",
         "010101"
         "10",
         6,
         {0x15, 0x2F}},
        {"short last word of ones ends in 0",
         "010101"
         "111",
         6,
         {0x15, 0x3E}},
        // 0000000|0 1111111|1: 00000001, 01111111, then 1 and fill: 11111110.
        {"8-bit words",
         "00000000"
         "11111111",
         8,
         {0x01, 0x7F, 0xFE}},
        // 11 zeros, 11 ones, then 10 and fill ones.
        {"12-bit words",
         "000000000001"
         "111111111110",
         12,
         {0x001, 0xFFE, 0xBFF}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        aztec_bitbuf b;
        b.nbits = 0;
        for (const char* p = r.bits; *p != 0; ++p) aztec_stuffbits(&b, *p == '1', 1);
        uint16_t words[32] = {};
        const int32_t n = aztec_cutwords(&b, r.w, words, 32);
        ASSERT_EQ(n, static_cast<int32_t>(r.words.size()));
        for (int32_t i = 0; i < n; ++i) EXPECT_EQ(words[i], r.words[i]) << "word " << i;
    }
}

TEST(AztecStuffing, TooManyWords) {
    aztec_bitbuf b;
    b.nbits = 0;
    for (int i = 0; i < 8; ++i) aztec_stuffbits(&b, 0x15, 6);
    uint16_t words[8];
    EXPECT_EQ(aztec_cutwords(&b, 6, words, 8), 8);
    EXPECT_EQ(aztec_cutwords(&b, 6, words, 7), -1);
}
