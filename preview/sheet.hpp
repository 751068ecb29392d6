// One printed sheet as every printer language's renderer hands it to the
// preview: the printer's dots made square, and the text characters where the
// printer printed them, to be drawn in the built-in font.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "preview/bitmap.hpp"

struct SheetChar {
    int x; // left edge of the character's cell, in sheet dots
    int y; // top of the cell (where a capital's top stands)
    int w; // cell width in sheet dots; the glyph is drawn as wide
    char c;
};

struct Sheet {
    Bitmap ink;                        // the printer's graphics, square dots, (0, 0) the top left
    int dpi = 0;                       // dots per inch of `ink` in both directions
    int width = 0, height = 0;         // the paper in dots (at least the ink)
    std::vector<SheetChar> chars;      // every printable character, in print order
    std::vector<std::string> problems; // what the stream did that the printer would not expect
};

using SheetSink = std::function<void(Sheet&& sheet)>;

// The sheet as the paper shows it: the ink on a page of the paper's size,
// with each character's glyph drawn from the translator's own font,
// magnified to its cell.
Bitmap compose(const Sheet& sheet);

// Cell widths for characters recorded only by position: a character is as
// wide as the step to the next one on its line, at most `widest`; the last
// of a line gets `usual`.
void cell_widths(std::vector<SheetChar>& chars, int usual, int widest);
