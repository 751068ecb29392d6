// Rebuilds the printed page from an ESC/P byte stream the way an Epson
// printer would print it: head movement by text, spacing and paper feeds,
// and the dots of the bit-image commands. Written from the printer language,
// independently of the driver, so the two can disagree.
#pragma once

#include <string>

#include "tests/support/printed_page.hpp"

// Down the page in pin rows: 1/180 inch on a 24-pin printer, 1/72 inch on a
// 9-pin one.
using EscpPage = PrintedPage;

EscpPage rebuild_escp(const std::string& bytes, bool pins24);

// Square-dot version of an ESC/P page (360 dots per inch on 24 pins, 360 x 144
// scaled to 360 x 360 on 9 pins) for 2-D symbol decoding.
Bitmap escp_square(const EscpPage& p, bool pins24);
