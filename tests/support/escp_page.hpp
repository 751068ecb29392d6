// Rebuilds the printed page from an ESC/P byte stream the way an Epson
// printer would print it: head movement by text, spacing and paper feeds,
// and the dots of the bit-image commands. Written from the printer language,
// independently of the driver, so the two can disagree.
#pragma once

#include <string>
#include <vector>

#include "tests/support/bitmap.hpp"

struct PrintedChar {
    int x;    // head position in 1/120 inch when the character printed
    int y;    // paper position in pin rows
    char c;
};

struct EscpPage {
    // Dots at 120 per inch across; down the page in pin rows: 1/180 inch on
    // a 24-pin printer, 1/72 inch on a 9-pin one.
    Bitmap page;
    std::vector<PrintedChar> chars;
    int formfeeds = 0;
    int endy = 0;                      // paper position in pin rows once every byte has printed
    std::vector<std::string> problems; // malformed or unexpected sequences met
    // Where the text printed on a given line (y of its baseline row) at column x.
    const PrintedChar* charat(int x, int y) const;
};

EscpPage rebuild_escp(const std::string& bytes, bool pins24);

// Square-dot version of an ESC/P page (360 dots per inch on 24 pins, 360 x 144
// scaled to 360 x 360 on 9 pins) for 2-D symbol decoding.
Bitmap escp_square(const EscpPage& p, bool pins24);
