#include "preview/ibm_page.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
constexpr int kPin = kIbmRowsPerPin;

struct Printer {
    IbmPage out;
    int x = 0;              // 1/120 inch
    int y = 0;              // 1/216 inch
    int spacing = 36;       // 1/216 inch per line feed: 1/6 inch at power-on
    int storedspacing = 12; // ESC A n: n/72 inch, put into force by ESC 2
    int cell = 12;          // 1/120 inch per character: 10, 12 or 17.1 per inch
    bool dblline = false;   // SO: double width until the line ends
    bool dblcont = false;   // ESC W 1: double width until ESC W 0
    bool autolf = false;    // ESC 5 1: CR also feeds a line
    int pagetop = 0;
    int pagelen = 11 * kIbmRowsPerInch;
    std::vector<int> htabs;    // character columns, 0-based
    std::vector<int> vtabs;    // 1/216 inch below the top of form
    int width = 1, height = 1; // the page's extent so far
    // Paging for callers that take the job sheet by sheet: out then holds
    // the rows from paged.top down.
    PagedPaper paged;

    Printer() { defaulttabs(); }
    void defaulttabs() {
        htabs.clear();
        for (int c = 8; c <= 256; c += 8) htabs.push_back(c);
    }
    int charwidth() const { return (dblline || dblcont) ? 2 * cell : cell; }
    void endline() { dblline = false; }
    void linefeed() {
        y += spacing;
        endline();
    }
    // A pin dot at column dx, paper row dy: three rows of 1/216 inch.
    void dot(int dx, int paper) {
        const int dy = paper - paged.top;
        if (dx < 0 || dy < 0) return;
        // Grown by doubling the dimension that is too small, so a long job
        // costs few copies.
        int w = out.page.width, h = out.page.height;
        if (dx >= w) w = std::max(dx + 1, 2 * w);
        if (dy + kPin > h) h = std::max(dy + kPin, 2 * h);
        out.page.grow(w, h);
        width = std::max(width, dx + 1);
        height = std::max(height, dy + kPin);
        out.page.fill(dx, dy, 1, kPin);
    }
    void print(int c) {
        out.chars.push_back({x, y, static_cast<char>(c)});
        x += charwidth();
    }
};

// Dots per inch across of the bit-image commands: K normal, L dual, Y dual
// at normal speed, Z quadruple density.
int hdensity(int letter) {
    switch (letter) {
    case 'K':
        return 60;
    case 'Z':
        return 240;
    default:
        return 120;
    }
}

void run(Printer& p, const std::string& bytes) {
    p.out.page = Bitmap(1, 1);
    size_t i = 0;
    auto byte = [&]() -> int { return i < bytes.size() ? static_cast<uint8_t>(bytes[i++]) : -1; };
    auto count = [&](const char* what) -> int {
        const int lo = byte(), hi = byte();
        if (hi < 0) {
            p.out.problems.push_back(std::string(what) + " count cut short");
            return 0;
        }
        return lo | (hi << 8);
    };
    // An ascending list ended by NUL or by a byte not greater than the one
    // before it.
    auto list = [&]() {
        std::vector<int> v;
        for (int prev = 0;;) {
            const int b = byte();
            if (b < 0) {
                p.out.problems.push_back("tab list cut short");
                break;
            }
            if (b <= prev) break;
            v.push_back(b);
            prev = b;
        }
        return v;
    };

    auto image = [&](int letter, int columns) {
        const int density = hdensity(letter);
        for (int c = 0; c < columns; ++c) {
            const int v = byte();
            if (v < 0) {
                p.out.problems.push_back("bit image cut short");
                return;
            }
            const int cx = p.x + c * 120 / density;
            for (int pin = 0; pin < 8; ++pin)
                if (v & (0x80 >> pin)) p.dot(cx, p.y + kPin * pin); // bit 7 is the top pin
        }
        p.x += columns * 120 / density;
    };

    while (i < bytes.size()) {
        if (p.paged.sink != nullptr) p.paged.turn(p.out, p.y, p.pagetop, p.pagelen, p.width);
        const int c = byte();
        // Codes 128 to 159 are the control codes again in the default
        // character set.
        switch (c >= 128 && c < 160 ? c - 128 : c) {
        case '\r':
            p.x = 0;
            if (p.autolf) p.y += p.spacing;
            p.endline();
            break;
        case '\n':
            p.linefeed();
            break;
        case '\v': {
            // To the next vertical tab stop below; a line feed without one.
            const auto next = std::find_if(p.vtabs.begin(), p.vtabs.end(),
                                           [&](int t) { return p.pagetop + t > p.y; });
            if (next == p.vtabs.end()) {
                p.linefeed();
            } else {
                p.y = p.pagetop + *next;
                p.endline();
            }
            break;
        }
        case '\f':
            p.pagetop += p.pagelen;
            if (p.y > p.pagetop) p.pagetop = p.y; // a page already passed
            p.y = p.pagetop;
            p.x = 0;
            p.endline();
            ++p.out.formfeeds;
            break;
        case 8:
            p.x = std::max(0, p.x - p.charwidth());
            break;
        case 9: {
            const int w = p.charwidth();
            const auto next =
                std::find_if(p.htabs.begin(), p.htabs.end(), [&](int t) { return t * w > p.x; });
            if (next != p.htabs.end()) p.x = *next * w;
            break;
        }
        case 14:
            p.dblline = true;
            break;
        case 15:
            p.cell = 7;
            break; // condensed, 17.1 per inch
        case 18:
            p.cell = 12;
            break; // 10 per inch
        case 20:
            p.dblline = false;
            break;
        case 24:
            p.x = 0;
            p.endline();
            break; // the line is cancelled
        case 27: {
            const int e = byte();
            switch (e) {
            case '0':
                p.spacing = 27;
                break; // 1/8 inch
            case '1':
                p.spacing = 21;
                break; // 7/72 inch
            case '2':
                p.spacing = kPin * p.storedspacing;
                break;
            case '3':
                p.spacing = byte();
                break;
            case 'A':
                p.storedspacing = byte();
                break;
            case 'J':
                p.y += std::max(0, byte());
                break;
            case '4':
                p.pagetop = p.y;
                break;
            case '5':
                p.autolf = (byte() & 1) != 0;
                break;
            case 'C': {
                const int n = byte();
                p.pagelen = n > 0 ? n * p.spacing : byte() * kIbmRowsPerInch;
                p.pagetop = p.y;
                break;
            }
            case ':':
                p.cell = 10;
                break; // 12 per inch
            case 'W':
                p.dblcont = (byte() & 1) != 0;
                break;
            case 'K':
            case 'L':
            case 'Y':
            case 'Z':
                image(e, count("bit image"));
                break;
            case '\\': {
                // Characters from the all-characters chart: each prints.
                const int n = count("ESC \\");
                for (int k = 0; k < n && i < bytes.size(); ++k) p.print(byte());
                break;
            }
            case '^':
                p.print(byte());
                break;
            case '=': {
                const int n = count("ESC =");
                if (bytes.size() - i < static_cast<size_t>(n))
                    p.out.problems.push_back("ESC = cut short");
                i = std::min(bytes.size(), i + static_cast<size_t>(n));
                break;
            }
            case 'D': {
                p.htabs.clear();
                for (int b : list()) p.htabs.push_back(b - 1);
                break;
            }
            case 'B': {
                p.vtabs.clear();
                for (int b : list()) p.vtabs.push_back((b - 1) * p.spacing);
                break;
            }
            case 'R':
                p.defaulttabs();
                break;
            case '-':
            case 'I':
            case 'N':
            case 'P':
            case 'Q':
            case 'S':
            case 'U':
            case '_':
                byte();
                break;
            case 'X':
                byte();
                byte();
                p.out.problems.push_back("margins set");
                break;
            case -1:
                p.out.problems.push_back("ESC at the end");
                break;
            default:
                break; // no parameter
            }
            break;
        }
        default:
            if ((c >= 32 && c < 127) || c >= 160) p.print(c);
            break;
        }
    }
    if (p.paged.sink != nullptr) {
        p.paged.finish(p.out, p.y, p.pagetop, p.pagelen, p.width);
        return;
    }
    p.out.page = p.out.page.crop(0, 0, p.width, p.height);
    p.out.endy = p.y;
}
} // namespace

IbmPage rebuild_ibm(const std::string& bytes) {
    Printer p;
    run(p, bytes);
    return std::move(p.out);
}

Bitmap ibm_square(const Bitmap& page) {
    Bitmap pins(page.width, (page.height + kPin - 1) / kPin);
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x)
            if (page.get(x, y)) pins.set(x, y / kPin);
    return pins.scaled(3, 5);
}

Bitmap ibm_inked(const Bitmap& page) {
    Bitmap b(page.width + 1, page.height);
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x)
            if (page.get(x, y)) b.fill(x, y, 2, 1);
    return b;
}

namespace {
// Paper 8.5 inches wide, in the square dots of ibm_square.
constexpr int kIbmSquareDpi = 360;
constexpr int kIbmPaperWidth = kIbmSquareDpi * 17 / 2;
// 1/216-inch rows to square dots.
int squarerow(int y) {
    return y * kIbmSquareDpi / kIbmRowsPerInch;
}
} // namespace

void rebuild_ibm(const std::string& bytes, const IbmSheetSink& sink) {
    Printer p;
    p.paged.sink = &sink;
    run(p, bytes);
}

void render_ibm(const std::string& bytes, const SheetSink& sink) {
    rebuild_ibm(bytes, [&](IbmPage&& page) {
        Sheet s;
        s.dpi = kIbmSquareDpi;
        s.ink = pin_ink(ibm_square(page.page), kNinePinGrow);
        s.width = kIbmPaperWidth;
        s.height = squarerow(page.endy);
        for (const PrintedChar& c : page.chars)
            s.chars.push_back({3 * c.x, squarerow(c.y), 0, c.c});
        // Ten characters per inch; double width at most twice that.
        cell_widths(s.chars, 3 * 12, 3 * 24);
        s.problems = std::move(page.problems);
        sink(std::move(s));
    });
}
