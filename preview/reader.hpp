// Reads back every symbol on a previewed page: each group of graphics is a
// symbol found, read with zxing-cpp and, for DataMatrix, libdmtx.
#pragma once

#include <string>
#include <vector>

#include "preview/bitmap.hpp"

struct FoundSymbol {
    double x = 0, y = 0; // top left of its graphics, inches from the paper's top left
    double w = 0, h = 0; // extent of its graphics in inches
    bool decoded = false;
    std::string format; // the reader's name of the symbology
    std::string text;   // decoded content
};

// `ink` holds the printer's graphics only, `page` the same sheet as the paper
// shows it (graphics and text), both at `dpi` square dots per inch. Graphics
// closer than a twelfth of an inch form one group (a bar code with its
// human-readable line); each group is read from `page`, so text printed over
// a symbol spoils it as it would for a scanner. A group that does not read
// is a symbol found, unless its every piece of ink fits in a character cell
// (text printed as graphics). Sorted top to bottom.
std::vector<FoundSymbol> read_symbols(const Bitmap& ink, const Bitmap& page, int dpi);

// `text` on one line: bytes outside printable ASCII, and the backslash, as \xHH.
std::string escape_text(const std::string& text);
