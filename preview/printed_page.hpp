// A printed page as the page rebuilders of the dot-matrix printer languages
// produce it: the dots, where each character printed, and what the stream did
// that a printer would not expect.
#pragma once

#include <string>
#include <vector>

#include "preview/bitmap.hpp"

struct PrintedChar {
    int x; // head position in 1/120 inch when the character printed
    int y; // paper position (the rebuilder's vertical unit)
    char c;
};

struct PrintedPage {
    Bitmap page; // dots at 120 per inch across; down the page in the rebuilder's unit
    std::vector<PrintedChar> chars;
    int formfeeds = 0;
    int endy = 0;                      // paper position once every byte has printed
    std::vector<std::string> problems; // malformed or unexpected sequences met
    // Where the text printed on a given line (y of its top) at column x.
    const PrintedChar* charat(int x, int y) const;
};
