// Rebuilds the printed page from the byte stream of a line-matrix printer in
// its line printer language with plot graphics: text lines at 10 characters
// per inch and 6 (or, after ACK, 8) lines per inch, elongated (BS) and
// expanded (SO .. SI) characters; plot lines of 6 dots a byte (bit 0 the
// leftmost dot, bit 6 set in every data byte), ENQ for the odd dots and EOT
// for the even dots half a dot to their right, an odd line advancing the
// paper one dot row (1/72 inch) and an even line not at all; FF to the next
// top of form. Written from the printer language, independently of the
// driver, so the two can disagree.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "preview/bitmap.hpp"
#include "preview/sheet.hpp"

struct PlotterChar {
    int col; // character column (0 = left margin); expanded characters take two
    int y;   // dot row of the top of the text line
    char c;
    bool expanded;
    bool elongated;
};

struct PlotterPage {
    // Dots across in half dots (120 per inch: a dot is two half dots wide),
    // down the paper in dot rows (72 per inch). Pages follow each other.
    Bitmap page;
    std::vector<PlotterChar> chars;
    int formfeeds = 0;
    int textlines = 0;                 // text lines printed (a line feed with characters)
    int plotlines = 0;                 // odd-dot plot lines (each one dot row)
    int rows = 0;                      // dot rows the paper advanced in all
    std::vector<std::string> problems; // what the printer could not print as sent
    // The character printed at column `col` on the text line whose top is `y`.
    const PlotterChar* charat(int col, int y) const;
    // The characters of the text line at `y`, spaces where none printed.
    std::string line(int y) const;
    // The page with every character drawn as a simple filled cell (5 x 7 dots,
    // wider and taller for expanded and elongated characters).
    Bitmap withcells() const;
};

// `columns` is the printer's line width in characters (and plot bytes): what
// lies beyond it is reported as a problem. `pagerows` is the form length.
PlotterPage rebuild_plotter(const std::string& bytes, int columns = 132, int pagerows = 792);

// The same job sheet by sheet, each as soon as the paper has left it: rows
// and characters counted from the sheet's top of form, `rows` the form
// length, the problems met while it printed. The last sheet is passed when
// something printed on it.
using PlotterSheetSink = std::function<void(PlotterPage&& sheet)>;
void rebuild_plotter(const std::string& bytes, int columns, int pagerows,
                     const PlotterSheetSink& sink);

// The preview's renderer of the line-matrix printer: sheets at 360 square
// dots per inch, lines of up to 165 characters.
void render_prntrnx(const std::string& bytes, const SheetSink& sink);

// Square-dot version of the page (360 per inch) for decoding.
Bitmap plotter_square(const PlotterPage& p);
