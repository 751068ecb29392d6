// Reading printed linear symbols back as elements: run lengths along a row,
// bars with their tops and heights, and the page turned back upright.
#pragma once

#include <string>
#include <vector>

#include "preview/bitmap.hpp"

namespace linear_test {

// Widths of the alternating dark and light runs along row `y` (the middle
// row when negative), from the first dark dot to the last. Widths of 10 or
// more are written in parentheses.
inline std::string runs(const Bitmap& b, int y = -1) {
    if (y < 0) y = b.height / 2;
    int x = 0;
    int last = b.width - 1;
    while (x < b.width && !b.get(x, y)) ++x;
    while (last >= 0 && !b.get(last, y)) --last;
    std::string out;
    while (x <= last) {
        const bool dark = b.get(x, y);
        int n = 0;
        while (x <= last && b.get(x, y) == dark) ++n, ++x;
        out += n < 10 ? std::to_string(n) : "(" + std::to_string(n) + ")";
    }
    return out;
}

// The symbol as it would stand at orientation 0, from a page printed with
// the orientation command `o` ("OH", "OV", "OU", "OB").
inline Bitmap upright(const Bitmap& page, const std::string& o) {
    int turns = o == "OV" ? 3 : o == "OU" ? 2 : o == "OB" ? 1 : 0; // clockwise quarter turns
    Bitmap b = page;
    while (turns-- > 0) b = b.rotated90();
    return b;
}

struct Bar {
    int x, width, top, height;
    bool operator==(const Bar&) const = default;
};

// Every bar: a run of columns holding ink, with the rows its first column
// covers (first dark dot to last).
inline std::vector<Bar> bars(const Bitmap& b) {
    std::vector<Bar> out;
    const auto column = [&](int x, int* top, int* bottom) {
        *top = -1;
        for (int y = 0; y < b.height; ++y) {
            if (!b.get(x, y)) continue;
            if (*top < 0) *top = y;
            *bottom = y + 1;
        }
        return *top >= 0;
    };
    for (int x = 0; x < b.width;) {
        int top = 0, bottom = 0;
        if (!column(x, &top, &bottom)) {
            ++x;
            continue;
        }
        Bar bar{x, 0, top, bottom - top};
        int t = 0, u = 0;
        while (x < b.width && column(x, &t, &u)) ++x;
        bar.width = x - bar.x;
        out.push_back(bar);
    }
    return out;
}

// The published POSTNET digit patterns, F full bar and h half bar.
inline constexpr const char* kPostnet[10] = {"FFhhh", "hhhFF", "hhFhF", "hhFFh", "hFhhF",
                                             "hFhFh", "hFFhh", "FhhhF", "FhhFh", "FhFhh"};

// A whole POSTNET symbol's bars: frame bar, the digits, frame bar.
inline std::string postnet_bars(const std::string& digits) {
    std::string want = "F";
    for (char d : digits) want += kPostnet[d - '0'];
    return want + "F";
}

// The published MSI pattern at narrow 1 / wide 2, every element `scale` dots:
// start, digits as binary coded decimal (1 = wide bar + narrow space, 0 =
// narrow bar + wide space), stop.
inline std::string msipattern(const std::string& digits, int scale = 1) {
    std::string p = "21";
    for (char d : digits) {
        const int v = d - '0';
        for (int bit = 3; bit >= 0; --bit) p += (v >> bit) & 1 ? "21" : "12";
    }
    p += "121";
    for (char& c : p) c = static_cast<char>('0' + (c - '0') * scale);
    return p;
}

// Standard 2 of 5 at R3:1 from the published patterns (n narrow, w wide):
// start w n w n n n, each digit's bars with a narrow space after each, stop
// w n n n w. Every dot of a field is `scale` columns of the page.
inline std::string s25elements(const std::string& digits, int scale) {
    const char* const k25[10] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                 "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};
    std::string s = "313111";
    for (char d : digits)
        for (int k = 0; k < 5; ++k) s += std::string{k25[d - '0'][k] == 'w' ? '3' : '1', '1'};
    s += "31113";
    for (char& c : s) c = static_cast<char>('0' + (c - '0') * scale);
    return s;
}

} // namespace linear_test
