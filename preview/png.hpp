// PNG files of pages, through libpng.
#pragma once

#include <string>

#include "preview/bitmap.hpp"

// Writes `page` (square dots at `dpi` per inch; 0 when unknown) to `path`,
// resampled to `outdpi` (0: as it is). At its own resolution the file is
// black and white, one bit a pixel; resampled, each pixel is the grey of
// the dots it covers. On failure returns false with the reason in `error`.
bool write_png(const std::string& path, const Bitmap& page, int dpi = 0, int outdpi = 0,
               std::string* error = nullptr);
