// Rebuilds the printed pages from a PCL byte stream the way a LaserJet prints
// them: text moves the cursor at 10 characters per inch and 6 lines per inch,
// cursor moves, pushes and pops place it, raster graphics and filled
// rectangles put ink on a 300-dot-per-inch page. Written from the printer
// language, independently of the driver, so the two can disagree.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "preview/bitmap.hpp"
#include "preview/sheet.hpp"

// Page geometry in dots (300 per inch), letter paper, portrait. x is measured
// from the left edge of the logical page, y from its top.
inline constexpr int kPclPageWidth = 2550;
inline constexpr int kPclPageHeight = 3300;
inline constexpr int kPclColumnDots = 30; // 10 characters per inch
inline constexpr int kPclLineDots = 50;   // 6 lines per inch

// The cursor in dots when a text character printed: x at the cell's left
// edge, y on the baseline.
struct PclChar {
    int x;
    int y;
    char c;
};

struct PclSheet {
    Bitmap ink{kPclPageWidth, kPclPageHeight};
    std::vector<PclChar> chars;
    bool marked = false; // ink or a visible character: the printer ejects it
    const PclChar* charat(int x, int y) const;
};

struct PclJob {
    std::vector<PclSheet> sheets;      // every page printed, in order
    int resets = 0;                    // ESC E met
    std::vector<std::string> problems; // malformed or unexpected sequences met
    int cursorx = 0, cursory = 0;      // where the cursor ended, in dots
};

PclJob rebuild_pcl(const std::string& bytes);

// The same job sheet by sheet, each as it is ejected, with the problems met
// since the one before; the sheet left at the end follows when it is marked.
using PclSheetSink = std::function<void(PclSheet&& sheet, std::vector<std::string>&& problems)>;
void rebuild_pcl(const std::string& bytes, const PclSheetSink& sink);

// Default text layout: where column `col` starts, and the baseline of line
// `line` (0 = the first line below the top margin).
int pcl_column(int col);
int pcl_baseline(int line);

// The preview's renderer of the page printer: sheets at 300 dots per inch.
void render_hplaser(const std::string& bytes, const SheetSink& sink);
