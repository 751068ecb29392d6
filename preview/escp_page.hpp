// Rebuilds the printed page from an ESC/P byte stream the way an Epson
// printer would print it: head movement by text, spacing and paper feeds,
// and the dots of the bit-image commands. Written from the printer language,
// independently of the driver, so the two can disagree.
#pragma once

#include <functional>
#include <string>

#include "preview/printed_page.hpp"
#include "preview/sheet.hpp"

// Down the page in pin rows: 1/180 inch on a 24-pin printer, 1/72 inch on a
// 9-pin one.
using EscpPage = PrintedPage;

EscpPage rebuild_escp(const std::string& bytes, bool pins24);

// The same job sheet by sheet, each as soon as the paper has left it: rows
// and characters counted from the sheet's top of form, the problems met
// while it printed. Sheets follow the form length (ESC C, 11 inches by
// default); a sheet only the end of the job or a new top of form cuts short
// is passed when something printed on it.
using EscpSheetSink = std::function<void(EscpPage&& sheet)>;
void rebuild_escp(const std::string& bytes, bool pins24, const EscpSheetSink& sink);

// Square-dot version of an ESC/P page (360 dots per inch on 24 pins, 360 x 144
// scaled to 360 x 360 on 9 pins) for 2-D symbol decoding.
Bitmap escp_square(const EscpPage& p, bool pins24);

// The preview's renderers of the 24-pin and 9-pin printers: sheets at 360
// square dots per inch.
void render_epsonlq(const std::string& bytes, const SheetSink& sink);
void render_epsonfx(const std::string& bytes, const SheetSink& sink);
