// Rebuilds the printed page from a Proprinter byte stream the way the printer
// would print it: head movement by text, tabs and bit images, paper feeds in
// 1/216 inch, and the dots of the bit-image commands. Written from the
// printer language, independently of the driver, so the two can disagree.
#pragma once

#include <string>

#include "preview/printed_page.hpp"
#include "preview/sheet.hpp"

// Down the page the unit is 1/216 inch, the printer's finest feed; a pin dot
// (1/72 inch) covers three rows. Across, 1/120 inch.
using IbmPage = PrintedPage;
inline constexpr int kIbmRowsPerPin = 3;
inline constexpr int kIbmRowsPerInch = 216;

IbmPage rebuild_ibm(const std::string& bytes);

// The same job sheet by sheet, each as soon as the paper has left it: rows
// and characters counted from the sheet's top of form, the problems met
// while it printed. Sheets follow the form length (ESC C, 11 inches at
// power-on; ESC 4 and a form feed set a new top of form); a sheet only the
// end of the job or a new top of form cuts short is passed when something
// printed on it.
using IbmSheetSink = PagedPaper::Sink;
void rebuild_ibm(const std::string& bytes, const IbmSheetSink& sink);

// The preview's renderer of the Proprinter: sheets at 360 square dots per
// inch.
void render_ibm(const std::string& bytes, const SheetSink& sink);

// Square-dot version of (part of) a Proprinter page, 360 x 360 dots per inch,
// for 2-D symbol decoding: each pin row once, then 120 x 72 scaled by 3 x 5.
// The part should start on a pin row (y a multiple of kIbmRowsPerPin).
Bitmap ibm_square(const Bitmap& page);

// The page with each dot as wide as the pin makes it: a pin dot is about
// 1/72 inch across, so it covers the next 1/120-inch column as well, and
// dots printed every other column touch.
Bitmap ibm_inked(const Bitmap& page);
