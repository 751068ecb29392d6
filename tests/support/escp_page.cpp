#include "tests/support/escp_page.hpp"

#include <algorithm>
#include <cstdint>

namespace {
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
    int right = 1, bottom = 1; // extent of the dots so far
    // The bitmap grows by half again at a time (a tall symbol would otherwise
    // copy the page for every band); finish() cuts it to the dots' extent.
    void dot(int dx, int dy) {
        Bitmap& b = out.page;
        if (dx >= b.width || dy >= b.height)
            b.grow(dx >= b.width ? dx + 1 + b.width / 2 : b.width,
                   dy >= b.height ? dy + 1 + b.height / 2 : b.height);
        b.set(dx, dy);
        right = std::max(right, dx + 1);
        bottom = std::max(bottom, dy + 1);
    }
    void finish() {
        if (right < out.page.width || bottom < out.page.height)
            out.page = out.page.crop(0, 0, right, bottom);
    }
};

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

EscpPage rebuild_escp(const std::string& bytes, bool pins24) {
    Printer p(pins24);
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
        const int c = byte();
        switch (c) {
        case '\r': p.x = 0; p.dblwideline = false; break;
        case '\n': p.y += p.spacing; p.dblwideline = false; break;
        case '\f':
            p.pagetop += p.pagelen;
            if (p.y > p.pagetop) p.pagetop = p.y; // a page already passed
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
                if (n > 0) p.pagelen = n * p.spacing;
                else p.pagelen = byte() * p.rowsperinch();
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
            case 'D': case 'b': {
                int prev = -1;
                for (int k = 0; k < 70 && i < bytes.size(); ++k) {
                    int v = byte();
                    if (v <= prev) break;
                    prev = v;
                }
                break;
            }
            default: break;
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
    p.out.endy = p.y;
    return p.out;
}

Bitmap escp_square(const EscpPage& p, bool pins24) {
    return pins24 ? p.page.scaled(3, 2) : p.page.scaled(3, 5);
}
