#include "preview/escp_page.hpp"

#include <algorithm>
#include <cstdint>

namespace {
constexpr int kWidestDots = 136 * 12; // 1/120 inch

struct Printer {
    bool pins24;
    EscpPage out;
    int x = 0;      // 1/120 inch
    int y = 0;      // pin rows
    int spacing;    // pin rows per line feed
    int pitch = 12; // 1/120 inch per character
    bool dblwide = false, dblwideline = false, condensed = false, elite = false;
    int pagetop = 0;
    int pagelen;    // pin rows
    // Paging for callers that take the job sheet by sheet: out then holds
    // the rows from paged.top down.
    PagedPaper paged;
    bool offpaper = false;

    explicit Printer(bool p24) : pins24(p24) { reset(); }
    int rowsperinch() const { return pins24 ? 180 : 72; }
    void reset() {
        spacing = rowsperinch() / 6;
        pagelen = 11 * rowsperinch();
        pitch = 12;
        dblwide = dblwideline = condensed = elite = false;
        pagetop = y;
    }
    int charwidth() const {
        int w = elite ? (condensed ? 6 : 10) : (condensed ? 7 : 12);
        if (dblwide || dblwideline) w *= 2;
        return w;
    }
    int right = 1, bottom = 1; // extent of the dots so far (bottom: from paged.top)
    // The bitmap grows by half again at a time (a tall symbol would otherwise
    // copy the page for every band); finish() and cut() trim it to the dots.
    void dot(int dx, int dy) {
        // No carriage prints wider than 136 pica columns; a head sent
        // further (ESC $ and ESC \ take any count) prints nothing there.
        if (dx >= kWidestDots) {
            if (!offpaper) out.problems.push_back("ink beyond the widest paper");
            offpaper = true;
            return;
        }
        Bitmap& b = out.page;
        const int row = dy - paged.top;
        if (dx >= b.width || row >= b.height)
            b.grow(dx >= b.width ? std::min(kWidestDots, dx + 1 + b.width / 2) : b.width,
                   row >= b.height ? row + 1 + b.height / 2 : b.height);
        b.set(dx, row);
        right = std::max(right, dx + 1);
        bottom = std::max(bottom, row + 1);
    }
    void turnpages() { paged.turn(out, y, pagetop, pagelen, right); }
    // The last sheets of a paged job; the whole job's page is cut to the
    // dots' extent instead.
    void finish() {
        if (paged.sink == nullptr) {
            if (right < out.page.width || bottom < out.page.height)
                out.page = out.page.crop(0, 0, right, bottom);
            out.endy = y;
            return;
        }
        paged.finish(out, y, pagetop, pagelen, right);
    }
};

// A byte as a reader of a message would want it.
std::string printable(int c) {
    if (c > 32 && c < 127) return std::string(1, static_cast<char>(c));
    static const char hex[] = "0123456789ABCDEF";
    return std::string("0x") + hex[(c >> 4) & 15] + hex[c & 15];
}

// Dots a bit-image mode puts in one inch across.
int hdensity(int mode) {
    switch (mode) {
    case 0: case 32: return 60;
    case 1: case 33: return 120;
    case 2: case 3: return 120;
    case 4: return 80;
    case 6: case 38: return 90;
    case 39: return 180;
    case 40: case 71: case 72: case 73: return 360;
    default: return 120;
    }
}
} // namespace

namespace {
void run(Printer& p, const std::string& bytes) {
    const bool pins24 = p.pins24;
    p.out.page = Bitmap(1, 1);
    size_t i = 0;
    auto more = [&](size_t n) { return i + n <= bytes.size(); };
    auto byte = [&]() -> int { return i < bytes.size() ? static_cast<uint8_t>(bytes[i++]) : -1; };

    auto image = [&](int mode, int columns) {
        const int perColumn = mode >= 32 ? 3 : 1;
        for (int c = 0; c < columns; ++c) {
            if (!more(perColumn)) {
                p.out.problems.push_back("bit image cut short");
                i = bytes.size();
                return;
            }
            // Column position in 1/120 inch (fractional densities round down).
            const int cx = p.x + c * 120 / hdensity(mode);
            for (int b = 0; b < perColumn; ++b) {
                const int v = byte();
                for (int bit = 0; bit < 8; ++bit) {
                    if (!(v & (0x80 >> bit))) continue;
                    const int pin = b * 8 + bit;
                    if (perColumn == 3) {
                        p.dot(cx, p.y + pin);
                    } else if (pins24) {
                        // 8-dot graphics on 24 pins: dots 1/60 inch apart.
                        for (int k = 0; k < 3; ++k) p.dot(cx, p.y + 3 * pin + k);
                    } else {
                        p.dot(cx, p.y + pin);
                    }
                }
            }
        }
        p.x += columns * 120 / hdensity(mode);
    };

    while (i < bytes.size()) {
        if (p.paged.sink != nullptr) p.turnpages();
        const int c = byte();
        switch (c) {
        case '\r': p.x = 0; p.dblwideline = false; break;
        case '\n': p.y += p.spacing; p.dblwideline = false; break;
        case '\f':
            // To the top of the page after the one the head is on, also when
            // line feeds have already carried it past a page end.
            while (p.y >= p.pagetop + p.pagelen) p.pagetop += p.pagelen;
            p.pagetop += p.pagelen;
            p.y = p.pagetop;
            p.x = 0;
            ++p.out.formfeeds;
            break;
        case 8: p.x = std::max(0, p.x - p.charwidth()); break;
        case 9: p.x = (p.x / (8 * p.pitch) + 1) * 8 * p.pitch; break;
        case 14: p.dblwideline = true; break;
        case 15: p.condensed = true; break;
        case 18: p.condensed = false; break;
        case 20: p.dblwideline = false; break;
        case 27: {
            const int e = byte();
            switch (e) {
            case '@': p.reset(); break;
            case 'A': { int n = byte(); p.spacing = pins24 ? 3 * n : n; break; }
            case '3': { int n = byte(); p.spacing = pins24 ? n : n / 3; break; }
            case '0': p.spacing = p.rowsperinch() / 8; break;
            case '2': p.spacing = p.rowsperinch() / 6; break;
            case 'J': { int n = byte(); p.y += pins24 ? n : n / 3; break; }
            case 'C': {
                int n = byte();
                const int len = n > 0 ? n * p.spacing : byte() * p.rowsperinch();
                // A form of no length is refused, as the printer does.
                if (len <= 0) { p.out.problems.push_back("form length 0"); break; }
                p.pagelen = len;
                p.pagetop = p.y;
                break;
            }
            case '*': {
                int m = byte(), lo = byte(), hi = byte();
                if (hi < 0) { p.out.problems.push_back("ESC * cut short"); break; }
                image(m, lo | (hi << 8));
                break;
            }
            case 'K': case 'L': case 'Y': case 'Z': {
                int lo = byte(), hi = byte();
                if (hi < 0) { p.out.problems.push_back("bit image cut short"); break; }
                image(e == 'K' ? 0 : e == 'L' ? 1 : e == 'Y' ? 2 : 3, lo | (hi << 8));
                break;
            }
            case '$': { int lo = byte(), hi = byte(); p.x = 2 * (lo | (hi << 8)); break; }
            case '\\': {
                int lo = byte(), hi = byte();
                p.x += static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
                break;
            }
            case 'W': p.dblwide = (byte() & 1) != 0; break;
            case 'M': p.elite = true; break;
            case 'P': p.elite = false; break;
            case 14: p.dblwideline = true; break;
            case 15: p.condensed = true; break;
            case '!': {
                int n = byte();
                p.elite = n & 1; p.condensed = n & 4; p.dblwide = n & 32;
                break;
            }
            case ' ': case '%': case '-': case '/': case ':': case 'N': case 'Q': case 'R':
            case 'S': case 'U': case 'V': case 'l': case 'p': case 's': case 'x': byte(); break;
            case '?': byte(); byte(); break;
            case -1: p.out.problems.push_back("ESC at the end of the stream"); break;
            case 'D': case 'b': {
                int prev = -1;
                for (int k = 0; k < 70 && i < bytes.size(); ++k) {
                    int v = byte();
                    if (v <= prev) break;
                    prev = v;
                }
                break;
            }
            default: p.out.problems.push_back("unknown escape ESC " + printable(e)); break;
            }
            break;
        }
        default:
            if ((c >= 32 && c < 127) || c >= 160) {
                p.out.chars.push_back({p.x, p.y, static_cast<char>(c)});
                p.x += p.charwidth();
            }
            break;
        }
    }
    p.finish();
}
} // namespace

EscpPage rebuild_escp(const std::string& bytes, bool pins24) {
    Printer p(pins24);
    run(p, bytes);
    return std::move(p.out);
}

void rebuild_escp(const std::string& bytes, bool pins24, const EscpSheetSink& sink) {
    Printer p(pins24);
    p.paged.sink = &sink;
    run(p, bytes);
}

Bitmap escp_square(const EscpPage& p, bool pins24) {
    return pins24 ? p.page.scaled(3, 2) : p.page.scaled(3, 5);
}

namespace {
// Paper 8.5 inches wide, in the square dots of escp_square.
constexpr int kEscpSquareDpi = 360;
constexpr int kEscpPaperWidth = kEscpSquareDpi * 17 / 2;

void render_escp(const std::string& bytes, bool pins24, const SheetSink& sink) {
    const int down = pins24 ? 2 : 5; // pin rows to square dots (escp_square)
    rebuild_escp(bytes, pins24, [&](EscpPage&& page) {
        Sheet s;
        s.dpi = kEscpSquareDpi;
        s.ink = pins24 ? escp_square(page, true) : pin_ink(escp_square(page, false), kNinePinGrow);
        s.width = kEscpPaperWidth;
        s.height = page.page.height * down;
        for (const PrintedChar& c : page.chars) s.chars.push_back({3 * c.x, down * c.y, 0, c.c});
        // Pica is 12/120 inch a character; double width at most twice that.
        cell_widths(s.chars, 3 * 12, 3 * 24);
        s.problems = std::move(page.problems);
        sink(std::move(s));
    });
}
} // namespace

void render_epsonlq(const std::string& bytes, const SheetSink& sink) {
    render_escp(bytes, true, sink);
}

void render_epsonfx(const std::string& bytes, const SheetSink& sink) {
    render_escp(bytes, false, sink);
}
