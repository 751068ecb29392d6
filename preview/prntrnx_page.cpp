#include "preview/prntrnx_page.hpp"

#include <algorithm>
#include <cstdint>

namespace {
constexpr int EOT = 4, ENQ = 5, ACK = 6, BS = 8, LF = 10, FF = 12, CR = 13, SO = 14, SI = 15;

struct Printer {
    PlotterPage out;
    int columns;
    int pagerows;
    int y = 0;       // dot row of the paper under the print line
    int pagetop = 0; // dot row of the current top of form
    // The line being assembled.
    std::vector<PlotterChar> line;
    int col = 0;
    bool expanded = false, lpi8 = false, elongated = false;
    // Paging for callers that take the job sheet by sheet: out.page then
    // holds the rows from `sheettop` down, and each sheet leaves it as soon
    // as the paper has moved past its end.
    const PlotterSheetSink* sink = nullptr;
    int sheettop = 0;

    Printer(int c, int p) : columns(c), pagerows(p) {}

    void dot(int halfx, int paper) {
        const int row = paper - sheettop;
        if (row >= out.page.height || halfx >= out.page.width)
            out.page.grow(std::max(out.page.width, halfx + 1),
                          std::max(2 * out.page.height, row + 1));
        out.page.set(halfx, row);
    }
    // Only the first few of a sheet: a stream of garbage would otherwise
    // heap up one per byte.
    void problem(std::string what) {
        if (out.problems.size() < 20) out.problems.push_back(std::move(what));
    }
    void advance(int n) {
        y += n;
        out.rows += n;
    }
    // A line feed or form feed prints the characters collected.
    void printline() {
        for (PlotterChar& c : line) {
            c.y = y;
            c.elongated = elongated;
            out.chars.push_back(c);
        }
        if (!line.empty()) ++out.textlines;
        line.clear();
    }
    void endline() {
        col = 0;
        expanded = lpi8 = elongated = false;
    }
    void linefeed() {
        printline();
        advance((lpi8 ? 9 : 12) * (elongated ? 2 : 1));
        endline();
    }
    void formfeed() {
        printline();
        endline();
        ++out.formfeeds;
        // The next top of form below the paper's position (the current one
        // when the paper stands exactly on it).
        while (pagetop + pagerows <= y) pagetop += pagerows;
        if (y != pagetop) {
            out.rows += pagetop + pagerows - y;
            y = pagetop + pagerows;
        } else {
            out.rows += pagerows;
            y += pagerows;
        }
        pagetop = y;
    }

    // Hands the sheet below `sheettop` to the sink: its rows, the characters
    // printed on it and the problems met while it printed.
    void cut() {
        const int end = sheettop + pagerows;
        PlotterPage sheet;
        sheet.page = out.page.crop(0, 0, out.page.width, pagerows);
        for (const PlotterChar& c : out.chars) {
            if (c.y >= end) continue;
            sheet.chars.push_back(c);
            sheet.chars.back().y -= sheettop;
        }
        std::erase_if(out.chars, [&](const PlotterChar& c) { return c.y < end; });
        sheet.problems = std::move(out.problems);
        out.problems.clear();
        sheet.rows = pagerows;
        out.page =
            out.page.crop(0, pagerows, out.page.width, std::max(1, out.page.height - pagerows));
        sheettop = end;
        (*sink)(std::move(sheet));
    }
    // Every sheet the paper has left.
    void turnpages() {
        while (y >= sheettop + pagerows) cut();
    }
    // At the end of the job: the sheets left, up to the last that holds
    // something.
    void finish() {
        turnpages();
        while (!out.chars.empty() || out.page.ink().w > 0 || !out.problems.empty()) cut();
    }
};
} // namespace

const PlotterChar* PlotterPage::charat(int col, int y) const {
    for (const PlotterChar& c : chars)
        if (c.col == col && c.y == y) return &c;
    return nullptr;
}

std::string PlotterPage::line(int y) const {
    std::string s;
    for (const PlotterChar& c : chars) {
        if (c.y != y) continue;
        if (s.size() <= static_cast<size_t>(c.col)) s.resize(static_cast<size_t>(c.col) + 1, ' ');
        s[static_cast<size_t>(c.col)] = c.c;
    }
    return s;
}

Bitmap PlotterPage::withcells() const {
    Bitmap b = page;
    for (const PlotterChar& c : chars) {
        const int w = c.expanded ? 2 : 1, h = c.elongated ? 2 : 1;
        b.grow(std::max(b.width, 12 * (c.col + w)), std::max(b.height, c.y + 7 * h));
        if (c.c != ' ') b.fill(12 * c.col, c.y, 10 * w, 7 * h);
    }
    return b;
}

namespace {
void run(Printer& p, const std::string& bytes) {
    const int columns = p.columns;
    p.out.page = Bitmap(2 * 6 * columns + 2, 64);
    size_t i = 0;
    auto plotline = [&](bool even) {
        if (!p.line.empty()) p.problem("plot line while text waits to print");
        int n = 0;
        for (;;) {
            if (i >= bytes.size()) {
                p.problem("plot line cut off");
                return;
            }
            const int b = static_cast<uint8_t>(bytes[i++]);
            if (b == LF) break;
            if (b < 64 || b > 127) {
                p.problem("byte " + std::to_string(b) + " in plot data");
                continue;
            }
            if (n >= columns) {
                // The printer has no hammer there.
                if (n == columns) p.problem("plot line wider than the printer");
                ++n;
                continue;
            }
            for (int bit = 0; bit < 6; ++bit) {
                if (!(b & (1 << bit))) continue;
                const int d = 6 * n + bit; // dot column
                p.dot(2 * d + (even ? 1 : 0), p.y);
                p.dot(2 * d + (even ? 2 : 1), p.y);
            }
            ++n;
        }
        if (!even) {
            ++p.out.plotlines;
            p.advance(1);
        }
    };
    while (i < bytes.size()) {
        if (p.sink != nullptr) p.turnpages();
        const int c = static_cast<uint8_t>(bytes[i++]);
        switch (c) {
        case ENQ:
            plotline(false);
            break;
        case EOT:
            plotline(true);
            break;
        case CR:
            p.col = 0;
            break;
        case LF:
            p.linefeed();
            break;
        case FF:
            p.formfeed();
            break;
        case ACK:
            p.lpi8 = true;
            break;
        case BS:
            p.elongated = true;
            break;
        case SO:
            p.expanded = true;
            break;
        case SI:
            p.expanded = false;
            break;
        default:
            if (c < 32 || c == 127) {
                p.problem("control " + std::to_string(c));
                break;
            }
            if (p.col >= columns) {
                p.problem("text beyond the line");
            } else {
                // Overprinting keeps both characters; the layout check looks
                // at what stands in each column.
                p.line.push_back({p.col, 0, static_cast<char>(c), p.expanded, false});
            }
            p.col += p.expanded ? 2 : 1;
            break;
        }
    }
    if (!p.line.empty()) p.problem("text left unprinted at the end");
    if (p.sink != nullptr) p.finish();
}
} // namespace

PlotterPage rebuild_plotter(const std::string& bytes, int columns, int pagerows) {
    Printer p(columns, pagerows);
    run(p, bytes);
    // Only the rows the paper reached.
    p.out.page = p.out.page.crop(0, 0, p.out.page.width, std::max(1, p.y));
    return std::move(p.out);
}

void rebuild_plotter(const std::string& bytes, int columns, int pagerows,
                     const PlotterSheetSink& sink) {
    Printer p(columns, pagerows);
    p.sink = &sink;
    run(p, bytes);
}

Bitmap plotter_square(const PlotterPage& p) {
    return p.page.scaled(3, 5);
}

namespace {
// The square dots of plotter_square: a half dot is three of them across, a
// dot row five down.
constexpr int kSquareDpi = 360;
constexpr int kSquareAcross = 3, kSquareDown = 5;
// A character cell at 10 per inch is six dots (twelve half dots) wide.
constexpr int kCellSquare = 12 * kSquareAcross;
// The widest line of these printers, in characters; paper at least 8.5
// inches wide.
constexpr int kWidestLine = 165;
constexpr int kLetterWidth = kSquareDpi * 17 / 2;
constexpr int kFormRows = 11 * 72;
} // namespace

void render_prntrnx(const std::string& bytes, const SheetSink& sink) {
    rebuild_plotter(bytes, kWidestLine, kFormRows, [&](PlotterPage&& page) {
        Sheet s;
        s.dpi = kSquareDpi;
        // Only as wide as the ink: the page record is as wide as the line.
        const Bitmap::Box ink = page.page.ink();
        page.page = page.page.crop(0, 0, std::max(1, ink.x + ink.w), page.page.height);
        s.ink = plotter_square(page);
        s.width = std::max(kLetterWidth, s.ink.width);
        s.height = page.rows * kSquareDown;
        for (const PlotterChar& c : page.chars) {
            const int w = c.expanded ? 2 * kCellSquare : kCellSquare;
            s.chars.push_back({c.col * kCellSquare, c.y * kSquareDown, w, c.c});
            s.width = std::max(s.width, c.col * kCellSquare + w);
        }
        s.problems = std::move(page.problems);
        sink(std::move(s));
    });
}
