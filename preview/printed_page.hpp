// A printed page as the page rebuilders of the dot-matrix printer languages
// produce it: the dots, where each character printed, and what the stream did
// that a printer would not expect.
#pragma once

#include <functional>
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

// The square-dot ink of a page (360 per inch, a 1/120-inch column 3 dots
// wide) with each dot as wide as the pin prints it: every dot grows `grow`
// dots to its left and to its right (the page one dot wider for the last).
// A 9-pin head's dot is about 1/72 inch across, 5 dots: grow 1. A 24-pin
// head's (0.2 mm) is about its column.
inline constexpr int kNinePinGrow = 1;
Bitmap pin_ink(const Bitmap& ink, int grow);

// The paper of a rebuilder that hands the job over sheet by sheet: the
// page record holds the rows from `top` down, and each sheet leaves it as
// soon as the paper has moved past the sheet's end (the paper never moves
// back). Rows and characters of a sheet count from its top of form.
struct PagedPaper {
    using Sink = std::function<void(PrintedPage&& sheet)>;
    const Sink* sink = nullptr;
    int top = 0; // paper position of the current sheet's top

    // The first top of form below the current sheet's top, for forms of
    // `pagelen` rows starting at `pagetop`; a form of no length never ends.
    int sheetend(int pagetop, int pagelen) const;
    // Hands the rows above `end` (`width` dots wide) to the sink as one
    // sheet. A sheet cut short by a new top of form is passed only when
    // something printed on it.
    void cut(PrintedPage& paper, int end, int pagelen, int width);
    // Cuts every sheet the head at `y` has left.
    void turn(PrintedPage& paper, int y, int pagetop, int pagelen, int width);
    // At the end of the job: the sheets left, up to the last that holds
    // something.
    void finish(PrintedPage& paper, int y, int pagetop, int pagelen, int width);
};
