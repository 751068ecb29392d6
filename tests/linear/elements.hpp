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

} // namespace linear_test
