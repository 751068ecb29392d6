#include "preview/pcl_page.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// The printer keeps positions in 1/7200 inch: 24 per dot, 10 per decipoint.
constexpr int kUnitsPerInch = 7200;
constexpr int kUnitsPerDot = kUnitsPerInch / 300;
constexpr int kTopMargin = kUnitsPerInch / 2; // half an inch
constexpr int kTextLines = 60;                // lines in the text area by default
constexpr int kStackDepth = 20;               // cursor positions the stack holds

int todot(long long units) {
    // Floor, also for positions left of or above the page.
    return static_cast<int>(units >= 0 ? units / kUnitsPerDot
                                       : -((-units + kUnitsPerDot - 1) / kUnitsPerDot));
}

struct Value {
    double v = 0;
    bool sign = false; // written with + or -: a relative move
    bool any = false;  // digits were present
};

struct Printer {
    PclJob job;
    const std::string& in;
    size_t i = 0;

    long long x = 0, y = 0; // cursor, 1/7200 inch
    int hmi = kUnitsPerInch / 10;
    int vmi = kUnitsPerInch / 6;
    int top = kTopMargin;
    std::vector<std::pair<long long, long long>> stack;

    // Raster graphics.
    int resolution = 75;
    bool raster = false;
    int rasterleft = 0; // dots
    int rastery = 0;    // dots: top of the next row
    int compression = 0;
    // Rectangle size in dots.
    int rectw = 0, recth = 0;
    bool offpage = false;
    // Set for callers that take the job sheet by sheet: each ejected sheet
    // leaves the job record at once.
    const PclSheetSink* sink = nullptr;

    explicit Printer(const std::string& bytes) : in(bytes) {
        job.sheets.emplace_back();
        home();
    }

    PclSheet& sheet() { return job.sheets.back(); }
    void problem(const std::string& what) { job.problems.push_back(what); }
    int byte() { return i < in.size() ? static_cast<uint8_t>(in[i++]) : -1; }
    int peek() const { return i < in.size() ? static_cast<uint8_t>(in[i]) : -1; }

    // The first line's baseline lies three quarters of a line below the top margin.
    void home() {
        x = 0;
        y = top + vmi * 3 / 4;
    }
    void eject() {
        if (sink != nullptr) {
            (*sink)(std::move(job.sheets.back()), std::move(job.problems));
            job.sheets.back() = PclSheet();
            job.problems.clear();
        } else {
            job.sheets.emplace_back();
        }
        home();
    }
    void reset() {
        ++job.resets;
        if (sheet().marked) eject();
        hmi = kUnitsPerInch / 10;
        vmi = kUnitsPerInch / 6;
        top = kTopMargin;
        stack.clear();
        raster = false;
        resolution = 75;
        compression = 0;
        rectw = recth = 0;
        home();
    }
    void linefeed() {
        y += vmi;
        // Past the text area the printer skips to the next page.
        if (y > top + vmi * 3 / 4 + static_cast<long long>(kTextLines - 1) * vmi) eject();
    }
    void paint(int dx, int dy, int w, int h) {
        if (w <= 0 || h <= 0) return;
        if (dx < 0 || dy < 0 || dx + w > kPclPageWidth || dy + h > kPclPageHeight) {
            if (!offpage) problem("ink beyond the page");
            offpage = true;
        }
        sheet().ink.fill(dx, dy, w, h);
        sheet().marked = true;
    }
    void printchar(int c) {
        sheet().chars.push_back({todot(x), todot(y), static_cast<char>(c)});
        if (c != ' ') sheet().marked = true;
        x += hmi;
    }

    void startraster(int mode) {
        if (raster) return; // a second start inside raster graphics is ignored
        raster = true;
        rasterleft = mode == 1 ? todot(x) : 0;
        rastery = todot(y);
    }
    void endraster() {
        if (!raster) return;
        raster = false;
        x = static_cast<long long>(rasterleft) * kUnitsPerDot;
        y = static_cast<long long>(rastery) * kUnitsPerDot;
    }
    void rasterrow(int n) {
        if (!raster) {
            problem("raster row outside raster graphics");
            startraster(0);
        }
        if (compression != 0) problem("compressed raster rows are not modelled");
        int scale = 300 / resolution;
        for (int k = 0; k < n; ++k) {
            const int b = byte();
            if (b < 0) {
                problem("raster row cut short");
                return;
            }
            for (int bit = 0; bit < 8; ++bit)
                if (b & (0x80 >> bit))
                    paint(rasterleft + (8 * k + bit) * scale, rastery, scale, scale);
        }
        rastery += scale;
    }
    void skip(int n, const char* what) {
        if (i + static_cast<size_t>(n) > in.size()) {
            problem(std::string(what) + " cut short");
            i = in.size();
            return;
        }
        i += static_cast<size_t>(n);
    }

    // One parameter of a parameterised sequence: ESC p g value letter.
    void apply(int p, int g, const Value& v, int letter) {
        const long long n = std::llround(v.v);
        const int count = n < 0 ? 0 : static_cast<int>(std::min<long long>(n, 1 << 30));
        auto move = [&](long long& axis, long long origin, double units) {
            const long long d = std::llround(v.v * units);
            axis = v.sign ? axis + d : origin + d;
        };
        if (p == '&' && g == 'f' && letter == 'S') {
            if (n == 0) {
                if (static_cast<int>(stack.size()) < kStackDepth)
                    stack.push_back({x, y});
                else
                    problem("cursor stack full");
            } else if (n == 1) {
                if (stack.empty()) {
                    problem("pop from an empty cursor stack");
                } else {
                    x = stack.back().first;
                    y = stack.back().second;
                    stack.pop_back();
                }
            }
        } else if (p == '*' && g == 'p' && letter == 'X') {
            move(x, 0, kUnitsPerDot);
        } else if (p == '*' && g == 'p' && letter == 'Y') {
            move(y, top, kUnitsPerDot);
        } else if (p == '&' && g == 'a' && letter == 'H') {
            move(x, 0, 10);
        } else if (p == '&' && g == 'a' && letter == 'V') {
            move(y, top, 10);
        } else if (p == '&' && g == 'a' && letter == 'C') {
            move(x, 0, hmi);
        } else if (p == '&' && g == 'a' && letter == 'R') {
            move(y, top + vmi * 3 / 4, vmi);
        } else if (p == '*' && g == 't' && letter == 'R') {
            if (n == 75 || n == 100 || n == 150 || n == 300)
                resolution = static_cast<int>(n);
            else
                problem("raster resolution " + std::to_string(n));
        } else if (p == '*' && g == 'r' && letter == 'A') {
            startraster(static_cast<int>(n));
        } else if (p == '*' && g == 'r' && (letter == 'B' || letter == 'C')) {
            endraster();
        } else if (p == '*' && g == 'b' && letter == 'W') {
            rasterrow(count);
        } else if (p == '*' && g == 'b' && letter == 'M') {
            compression = static_cast<int>(n);
        } else if (p == '*' && g == 'c' && letter == 'A') {
            rectw = count;
        } else if (p == '*' && g == 'c' && letter == 'B') {
            recth = count;
        } else if (p == '*' && g == 'c' && letter == 'H') {
            rectw = static_cast<int>(std::llround(v.v * 10 / kUnitsPerDot));
        } else if (p == '*' && g == 'c' && letter == 'V') {
            recth = static_cast<int>(std::llround(v.v * 10 / kUnitsPerDot));
        } else if (p == '*' && g == 'c' && letter == 'P') {
            if (n == 0)
                paint(todot(x), todot(y), rectw, recth);
            else
                problem("rectangle fill " + std::to_string(n) + " is not modelled");
        } else if ((p == '(' || p == ')') && g == 's' && letter == 'W') {
            skip(count, "font data");
        } else if (p == '(' && g == 's' && letter == 'H') {
            if (v.v > 0) hmi = static_cast<int>(std::lround(kUnitsPerInch / v.v));
        } else if (p == '&' && g == 'p' && letter == 'X') {
            for (int k = 0; k < count; ++k) {
                const int c = byte();
                if (c < 0) {
                    problem("transparent data cut short");
                    return;
                }
                printchar(c);
            }
        } else if (p == '&' && g == 'l' && letter == 'D') {
            if (n > 0) vmi = static_cast<int>(kUnitsPerInch / n);
        } else if (p == '&' && g == 'l' && letter == 'C') {
            vmi = static_cast<int>(std::llround(v.v * kUnitsPerInch / 48));
        } else if (p == '&' && g == 'l' && letter == 'E') {
            top = static_cast<int>(n) * vmi;
        } else if (p == '&' && g == 'k' && letter == 'H') {
            hmi = static_cast<int>(std::llround(v.v * kUnitsPerInch / 120));
        } else if (p == '&' && g == 'l' && letter == 'O') {
            if (n != 0) problem("orientation " + std::to_string(n) + " is not modelled");
        }
        // Anything else changes nothing this page model keeps.
    }

    Value value() {
        Value v;
        int c = peek();
        double sign = 1;
        if (c == '+' || c == '-') {
            v.sign = true;
            sign = c == '-' ? -1 : 1;
            ++i;
        }
        while ((c = peek()) >= '0' && c <= '9') {
            v.v = v.v * 10 + (c - '0');
            v.any = true;
            ++i;
        }
        if (peek() == '.') {
            ++i;
            double scale = 0.1;
            while ((c = peek()) >= '0' && c <= '9') {
                v.v += (c - '0') * scale;
                scale /= 10;
                v.any = true;
                ++i;
            }
        }
        v.v *= sign;
        return v;
    }

    void escape() {
        const int c = byte();
        if (c < 0) {
            problem("ESC at the end of the stream");
            return;
        }
        if (c >= 48 && c <= 126) { // two-character sequence
            if (c == 'E')
                reset();
            else if (c == '=')
                y += vmi / 2;
            return;
        }
        if (c < 33 || c > 47) {
            problem("ESC followed by a control");
            --i; // the control acts on its own
            return;
        }
        const int p = c;
        int g = 0;
        if (peek() >= 96 && peek() <= 126) g = byte();
        for (;;) {
            const Value v = value();
            const int t = byte();
            if (t < 0) {
                problem("escape sequence cut short");
                return;
            }
            if (t >= 96 && t <= 126) {
                apply(p, g, v, t - 32);
                continue;
            }
            if (t >= 64 && t <= 94) {
                apply(p, g, v, t);
                return;
            }
            problem("malformed escape sequence");
            --i;
            return;
        }
    }

    void run() {
        while (i < in.size()) {
            const int c = byte();
            switch (c) {
            case 27:
                escape();
                break;
            case '\r':
                x = 0;
                break;
            case '\n':
                linefeed();
                break;
            case '\f':
                eject();
                break;
            case '\b':
                x = std::max(0LL, x - hmi);
                break;
            case '\t':
                x = (x / (8LL * hmi) + 1) * 8 * hmi;
                break;
            default:
                if ((c >= 32 && c < 127) || c >= 160) printchar(c);
                break;
            }
        }
        if (sink != nullptr && (sheet().marked || !job.problems.empty()))
            (*sink)(std::move(job.sheets.back()), std::move(job.problems));
        else if (!sheet().marked)
            job.sheets.pop_back();
        job.cursorx = todot(x);
        job.cursory = todot(y);
    }
};
} // namespace

const PclChar* PclSheet::charat(int x, int y) const {
    for (const PclChar& c : chars)
        if (c.x == x && c.y == y) return &c;
    return nullptr;
}

PclJob rebuild_pcl(const std::string& bytes) {
    Printer p(bytes);
    p.run();
    return std::move(p.job);
}

void rebuild_pcl(const std::string& bytes, const PclSheetSink& sink) {
    Printer p(bytes);
    p.sink = &sink;
    p.run();
}

int pcl_column(int col) {
    return todot(static_cast<long long>(col) * (kUnitsPerInch / 10));
}

int pcl_baseline(int line) {
    const int vmi = kUnitsPerInch / 6;
    return todot(kTopMargin + vmi * 3 / 4 + static_cast<long long>(line) * vmi);
}

void render_hplaser(const std::string& bytes, const SheetSink& sink) {
    rebuild_pcl(bytes, [&](PclSheet&& page, std::vector<std::string>&& problems) {
        Sheet s;
        s.dpi = 300;
        s.width = kPclPageWidth;
        s.height = kPclPageHeight;
        // The font's capitals stand seven of its nine rows above the
        // baseline; a pixel is a sixth of the cell.
        for (const PclChar& c : page.chars)
            s.chars.push_back({c.x, c.y - 7 * kPclColumnDots / 6, 0, c.c});
        cell_widths(s.chars, kPclColumnDots, 2 * kPclColumnDots);
        s.ink = std::move(page.ink);
        s.problems = std::move(problems);
        sink(std::move(s));
    });
}
