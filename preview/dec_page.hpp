// Rebuilds the printed page from a byte stream for a DEC printer, the way the
// printer itself would print it: text in character cells at the DECSHORP
// pitch, lines at the DECVERP spacing (or the page printer's defaults),
// HPA/HPR/HPB/VPA/VPR/VPB and CUP moves in characters and lines or, in
// positioning unit mode, in the size unit of SSU; sixel strings with their
// grid size, raster attributes, repeats, graphics carriage returns and new
// lines. Written from the printer languages, not from the drivers, so the
// two can disagree.
//
// Resolutions assumed:
// - LA75 (impact, 9 pins 1/72 inch apart): text and paper motion in 1/72
//   inch; sixel data with macro parameter 0 or 1 (and 5 to 8, which fall
//   back to it) at 1/144 inch across and 1/72 inch down (aspect 2:1), with
//   2 to 4 at 1/180 across and 9 at 1/72 across, always 1/72 down: the
//   graphics-resolution table of the LA75 Plus Companion Printer's user
//   guide (table 6-1, "Graphics Pitch Fallbacks"). The page is kept at 144
//   dots per inch across and 72 down.
// - LN03+ (laser, 300 dots per inch): the page is kept at 300 x 300. A size
//   unit of 7 (SSU) is the printer's pixel, 1/300 inch; 2 is the computer
//   decipoint, 1/720 inch. The sixel grid size (third DCS parameter) is in
//   the current size unit; a pixel is as high as the raster attributes'
//   Pan/Pad times its width (Pan/Pad is vertical to horizontal, as DEC's
//   sixel documentation gives it), twice its width by default.
// Both printers: a sixel string starts at the active position (the top left
// of the current character cell); when it ends, the horizontal position is
// back where it began and the vertical position is where its graphics new
// lines left it (DEC PPL2: "State After Exiting Sixel Graphics Mode").
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "preview/bitmap.hpp"
#include "preview/sheet.hpp"

enum class DecModel { LA75, LN03 };

struct DecChar {
    int x; // page dots from the left margin to the cell's left edge
    int y; // page dots from the top of the first page to the cell's top
    char c;
};

struct DecPage {
    DecModel model = DecModel::LA75;
    Bitmap page; // LA75: 144 dots per inch across, 72 down; LN03+: 300 x 300
    std::vector<DecChar> chars;
    int formfeeds = 0;
    int sixelstrings = 0;              // sixel strings met
    int otherstrings = 0;              // device control strings other than sixel
    std::vector<std::string> problems; // malformed or unexpected input met
    double endx = 0, endy = 0;         // the active position at the end
    const DecChar* charat(int x, int y) const;
};

DecPage rebuild_dec(const std::string& bytes, DecModel model);

// The same job sheet by sheet, each as soon as the paper has left it: rows
// and characters counted from the sheet's top of form, the problems met
// while it printed. Sheets follow the page length (11 inches unless the
// job sets one); a sheet only the end of the job or a new top of form cuts
// short is passed when something printed on it.
using DecSheetSink = std::function<void(DecPage&& sheet)>;
void rebuild_dec(const std::string& bytes, DecModel model, const DecSheetSink& sink);

// The preview's renderers: LA75 sheets at 144 dots per inch (the rows of
// dec_square), LN03+ sheets at 300.
void render_la75(const std::string& bytes, const SheetSink& sink);
void render_ln03(const std::string& bytes, const SheetSink& sink);

// Page dots per inch across and down.
int dec_hdpi(DecModel model);
int dec_vdpi(DecModel model);
// Where character column `col` begins at an LA75 pitch code (DECSHORP), in
// page dots.
int la75_columnx(int col, int pitchcode);
// LN03+ text at its default 10 characters per inch and 6 lines per inch.
inline constexpr int kLn03ColumnDots = 30;
inline constexpr int kLn03LineDots = 50;

// A page with square dots for reading symbols: the LA75 page at 144 x 144,
// each impact dot as wide as a pin (two sixel columns); the LN03+ page as
// it is.
Bitmap dec_square(const DecPage& p);
