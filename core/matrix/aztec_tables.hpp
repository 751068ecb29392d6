// Aztec character sets: how the encoder classes every byte and the code value
// each character has in its own set.
#pragma once

#include <array>
#include <cstdint>

// The encoder's character classes. Every byte that is not a letter, digit,
// space or punctuation character is written in a binary run.
enum aztec_charclass : uint8_t {
    AZTEC_CL_BINARY,
    AZTEC_CL_LOWER,
    AZTEC_CL_UPPER,
    AZTEC_CL_DIGIT,
    AZTEC_CL_SPACE,
    AZTEC_CL_PUNCT,
};

struct aztec_charinfo {
    aztec_charclass cls;
    uint8_t value; // code value in the character's set (Punct for CR)
    bool mixed;    // in the Mixed set, or a space
    bool digitset; // in the Digit set: space, digits, comma, point
};

// Code values of the Punct set, ISO/IEC 24778 character table, codes 6 to 30 (single
// characters; codes 1 to 5 are CR and the pairs).
inline constexpr char aztec_punctchars[] = "!\"#$%&'()*+,-./:;<=>?[]{}";
static_assert(sizeof aztec_punctchars - 1 == 25);

// Control characters and symbols of the Mixed set, ISO/IEC 24778 character table,
// codes 2 to 27.
inline constexpr uint8_t aztec_mixedchars[] = {1,   2,    3,   4,   5,   6,   7,   8,  9,
                                               10,  11,   12,  13,  27,  28,  29,  30, 31,
                                               '@', '\\', '^', '_', '`', '|', '~', 127};
static_assert(sizeof aztec_mixedchars == 26);

constexpr std::array<aztec_charinfo, 256> aztec_makecharinfo() {
    std::array<aztec_charinfo, 256> t{};
    for (auto& e : t) e = {AZTEC_CL_BINARY, 0, false, false};
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = {AZTEC_CL_UPPER, uint8_t(c - 'A' + 2), false, false};
    for (int c = 'a'; c <= 'z'; ++c) t[c] = {AZTEC_CL_LOWER, uint8_t(c - 'a' + 2), false, false};
    for (int c = '0'; c <= '9'; ++c) t[c] = {AZTEC_CL_DIGIT, uint8_t(c - '0' + 2), false, true};
    t[' '] = {AZTEC_CL_SPACE, 1, true, true};
    t['\r'] = {AZTEC_CL_PUNCT, 1, false, false};
    for (int i = 0; aztec_punctchars[i] != 0; ++i)
        t[static_cast<uint8_t>(aztec_punctchars[i])] = {AZTEC_CL_PUNCT, uint8_t(6 + i), false,
                                                        false};
    t[','].digitset = true;
    t['.'].digitset = true;
    for (uint8_t c : aztec_mixedchars) t[c].mixed = true;
    return t;
}

inline constexpr std::array<aztec_charinfo, 256> aztec_chars = aztec_makecharinfo();

// Digit-set values of comma and point; Mixed-set value of CR.
inline constexpr uint8_t AZTEC_DIGIT_COMMA = 12;
inline constexpr uint8_t AZTEC_DIGIT_POINT = 13;
inline constexpr uint8_t AZTEC_MIXED_CR = 14;

// Punct value of the pair c1 c2 (CR LF 2, ". " 3, ", " 4, ": " 5), or 0.
constexpr uint8_t aztec_pairvalue(uint8_t c1, uint8_t c2) {
    if (c1 == '\r' && c2 == '\n') return 2;
    if (c2 != ' ') return 0;
    switch (c1) {
    case '.':
        return 3;
    case ',':
        return 4;
    case ':':
        return 5;
    default:
        return 0;
    }
}
