#include "preview/dec_page.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
constexpr int ESC = 27;

// DECSHORP: characters per inch x 100 for each pitch code (0 = 10 cpi);
// codes 9 and 10 select nothing.
constexpr int kCpi[] = {1000, 1000, 1200, 1320, 1650, 500,  600, 660,
                        825,  0,    0,    1710, 855,  1800, 900};
// DECVERP: lines per inch for each code (0 = 6 lpi).
constexpr int kLpi[] = {6, 6, 8, 12, 2, 3, 4};

struct Printer {
    DecPage out;
    const std::string& in;
    size_t i = 0;
    DecModel model;
    double x = 0, y = 0; // active position, page dots
    double cellw = 0;    // character cell width, page dots
    double lineh = 0;    // line spacing, page dots
    double pagelen = 0;  // page dots
    double pagetop = 0;
    bool pum = false; // positioning unit mode (CSI 11 h)
    int sizeunit = 2; // SSU: 2 decipoints, 7 pixels
    // Paging for callers that take the job sheet by sheet: out.page then
    // holds the rows from `sheettop` down, and each sheet leaves it as soon
    // as the paper has moved past its end.
    const DecSheetSink* sink = nullptr;
    int sheettop = 0;

    Printer(const std::string& bytes, DecModel m) : in(bytes), model(m) {
        out.model = m;
        out.page = Bitmap(1, 1);
        reset();
    }
    int hdpi() const { return dec_hdpi(model); }
    int vdpi() const { return dec_vdpi(model); }
    void reset() {
        cellw = hdpi() / 10.0;
        lineh = vdpi() / 6.0;
        pagelen = 11.0 * vdpi();
        pum = false;
        sizeunit = 2;
    }
    void problem(const std::string& what) {
        if (out.problems.size() < 20) out.problems.push_back(what);
    }
    int byte() { return i < in.size() ? static_cast<uint8_t>(in[i++]) : -1; }
    int peek() const { return i < in.size() ? static_cast<uint8_t>(in[i]) : -1; }

    void dot(int dx, int paper) {
        const int dy = paper - sheettop;
        if (dx < 0 || dy < 0) {
            problem("ink left of or above the page");
            return;
        }
        if (dx > 20 * hdpi() || dy > 200 * vdpi()) {
            problem("ink far beyond the page");
            return;
        }
        out.page.grow(std::max(out.page.width, dx + 1), std::max(out.page.height, dy + 1));
        out.page.set(dx, dy);
    }

    // The first top of form below the current sheet's top, in whole rows.
    int sheetend() const {
        const double len = pagelen > 0 ? pagelen : 11.0 * vdpi();
        const double pages = std::floor((sheettop - pagetop) / len);
        int end = static_cast<int>(std::lround(pagetop + (pages + 1) * len));
        while (end <= sheettop) end += static_cast<int>(std::lround(len));
        return end;
    }
    // Hands the rows above `end` to the sink as one sheet. A sheet cut short
    // by a new top of form is passed only when something printed on it.
    void cut(int end) {
        DecPage sheet;
        sheet.model = model;
        const int rows = end - sheettop;
        sheet.page = out.page.crop(0, 0, out.page.width, rows);
        for (const DecChar& c : out.chars)
            if (c.y < end) sheet.chars.push_back({c.x, c.y - sheettop, c.c});
        std::erase_if(out.chars, [&](const DecChar& c) { return c.y < end; });
        sheet.problems = std::move(out.problems);
        out.problems.clear();
        out.page = out.page.crop(0, rows, out.page.width, std::max(1, out.page.height - rows));
        sheettop = end;
        const double len = pagelen > 0 ? pagelen : 11.0 * vdpi();
        if (rows == static_cast<int>(std::lround(len)) || !sheet.chars.empty() ||
            sheet.page.ink().w > 0 || !sheet.problems.empty())
            (*sink)(std::move(sheet));
    }
    void turnpages() {
        while (y >= sheetend()) cut(sheetend());
    }
    void finish() {
        turnpages();
        while (!out.chars.empty() || out.page.ink().w > 0 || !out.problems.empty()) cut(sheetend());
    }

    // One size unit in page dots across (and down: the units are square).
    double unitdots() const {
        switch (sizeunit) {
        case 7:
            return 1.0; // the printer's pixel
        case 2:
            return hdpi() / 720.0; // computer decipoint
        case 8:
            return hdpi() / 723.0; // decipoint
        default:
            return hdpi() / 720.0;
        }
    }
    double across(int n) const { return pum ? n * unitdots() : n * cellw; }
    double down(int n) const { return pum ? n * unitdots() * vdpi() / hdpi() : n * lineh; }

    void linefeed(double d) {
        y += d;
        if (pagelen > 0 && y >= pagetop + pagelen) pagetop += pagelen;
    }
    void formfeed() {
        ++out.formfeeds;
        pagetop += pagelen > 0 ? pagelen : 11.0 * vdpi();
        if (y > pagetop) pagetop = std::ceil(y);
        y = pagetop;
        x = 0;
    }
    void vertical_to(double target) {
        // Above the active position: the printer goes on to the next page.
        if (target < y) {
            pagetop += pagelen;
            target += pagelen;
        }
        y = target;
    }

    void text(int c) {
        out.chars.push_back({static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)),
                             static_cast<char>(c)});
        x += cellw;
    }

    void control(int c) {
        switch (c) {
        case '\r':
            x = 0;
            break;
        case '\n':
            linefeed(lineh);
            break;
        case 11:
            linefeed(lineh);
            break; // VT without stops
        case '\f':
            formfeed();
            break;
        case 8:
            x = std::max(0.0, x - cellw);
            break;
        case 9:
            x = (std::floor(x / (8 * cellw) + 1e-9) + 1) * 8 * cellw;
            break;
        default:
            break;
        }
    }

    // Parameters of a control sequence up to its final byte.
    struct Seq {
        std::vector<int> params; // missing values as 0
        std::string inter;
        bool priv = false;
        int final = -1;
    };
    Seq readseq() {
        Seq q;
        int value = 0;
        bool any = false;
        while (true) {
            const int b = byte();
            if (b < 0) {
                problem("control sequence cut off");
                return q;
            }
            if (b >= '0' && b <= '9') {
                value = std::min(value * 10 + (b - '0'), 1000000);
                any = true;
            } else if (b == ';') {
                q.params.push_back(value);
                value = 0;
            } else if (b >= 0x3C && b <= 0x3F) {
                q.priv = true;
            } else if (b >= 0x20 && b <= 0x2F) {
                q.inter += static_cast<char>(b);
            } else if (b >= 0x40 && b <= 0x7E) {
                if (any || !q.params.empty()) q.params.push_back(value);
                q.final = b;
                return q;
            } else if (b < 0x20) {
                if (b == ESC || b == 24 || b == 26) {
                    problem("control sequence broken off");
                    --i;
                    return q;
                }
                control(b);
            }
        }
    }
    static int param(const Seq& q, size_t k, int dflt) {
        return k < q.params.size() && q.params[k] != 0 ? q.params[k] : dflt;
    }

    void csi() {
        const Seq q = readseq();
        if (q.final < 0) return;
        const int n = param(q, 0, 1); // ECMA-48: 0 or missing is the default 1
        if (!q.inter.empty()) {
            // SSU: select size unit.
            if (q.inter == " " && q.final == 'I') sizeunit = q.params.empty() ? 0 : q.params[0];
            // DECSTR: soft reset.
            if (q.inter == "!" && q.final == 'p') reset();
            return;
        }
        if (q.priv) return;
        switch (q.final) {
        case '`':
            x = across(n - 1);
            break; // HPA
        case 'a':
            x += across(n);
            break; // HPR
        case 'j':
            x = std::max(0.0, x - across(n));
            break; // HPB
        case 'd':
            vertical_to(pagetop + down(n - 1));
            break; // VPA
        case 'e':
            linefeed(down(n));
            break; // VPR
        case 'k':
            y = std::max(pagetop, y - down(n));
            break; // VPB
        case 'H':
        case 'f': // CUP, HVP
            vertical_to(pagetop + down(param(q, 0, 1) - 1));
            x = across(param(q, 1, 1) - 1);
            break;
        case 'h':
        case 'l':
            for (int p : q.params)
                if (p == 11) pum = q.final == 'h'; // PUM
            break;
        case 'w': { // DECSHORP
            const int code = q.params.empty() ? 0 : q.params[0];
            if (model == DecModel::LA75 && code >= 0 && code <= 14 && kCpi[code] > 0)
                cellw = hdpi() * 100.0 / kCpi[code];
            break;
        }
        case 'z': { // DECVERP
            const int code = q.params.empty() ? 0 : q.params[0];
            if (model == DecModel::LA75 && code >= 0 && code <= 6)
                lineh = static_cast<double>(vdpi()) / kLpi[code];
            break;
        }
        case 't': // DECSLPP
            if (!q.params.empty() && q.params[0] > 0) {
                pagelen = q.params[0] * lineh;
                pagetop = y;
            }
            break;
        default:
            break;
        }
    }

    // A string up to ST (or CAN, SUB, or an ESC that starts something else).
    void skipstring() {
        while (true) {
            const int b = byte();
            if (b < 0) {
                problem("string not terminated");
                return;
            }
            if (b == 24 || b == 26) return;
            if (b == ESC) {
                if (peek() == '\\') ++i;
                return;
            }
        }
    }

    // Sixel grid of the LA75 for a macro parameter, across, in page dots.
    double la75grid(int p1) const {
        if (p1 >= 2 && p1 <= 4) return 144.0 / 180.0;
        if (p1 == 9) return 2.0;
        return 1.0;
    }

    void sixel(const std::vector<int>& ps) {
        ++out.sixelstrings;
        const int p1 = ps.size() > 0 ? ps[0] : 0;
        const int p3 = ps.size() > 2 ? ps[2] : 0;
        double gridw = 0, pixelh = 0;
        if (model == DecModel::LA75) {
            gridw = la75grid(p1);
            pixelh = 1.0; // the pins are 1/72 inch apart
        } else {
            gridw = p3 > 0 ? p3 * unitdots() : 2.0;
            pixelh = gridw * (p1 == 9 ? 1.0 : 2.0);
        }
        // Graphics dots lie on the printer's dot grid: the string starts at
        // the dot nearest the head.
        const double left = std::round(x), top = std::round(y);
        double col = 0;    // sixel columns from the graphics left margin
        double rowtop = 0; // page dots from `top` to the current sixel row
        bool first = true;
        auto paint = [&](int bits, int count) {
            for (int k = 0; k < count; ++k, col += 1) {
                if (bits == 0) continue;
                const int x0 = static_cast<int>(std::floor(left + col * gridw + 1e-9));
                const int x1 =
                    std::max(x0 + 1, static_cast<int>(std::floor(left + (col + 1) * gridw + 1e-9)));
                for (int r = 0; r < 6; ++r) {
                    if (!(bits & (1 << r))) continue;
                    const int y0 = static_cast<int>(std::floor(top + rowtop + r * pixelh + 1e-9));
                    const int y1 = std::max(y0 + 1, static_cast<int>(std::floor(
                                                        top + rowtop + (r + 1) * pixelh + 1e-9)));
                    for (int yy = y0; yy < y1; ++yy)
                        for (int xx = x0; xx < x1; ++xx) dot(xx, yy);
                }
            }
        };
        auto number = [&]() {
            long v = 0;
            while (peek() >= '0' && peek() <= '9') v = std::min(v * 10 + (byte() - '0'), 1000000L);
            return static_cast<int>(v);
        };
        while (true) {
            const int b = byte();
            if (b < 0) {
                problem("sixel string not terminated");
                break;
            }
            if (b == ESC) {
                if (peek() == '\\') ++i;
                break;
            }
            if (b == 24) break; // CAN: leave sixel graphics
            if (b == 26) {
                paint(0, 1);
                continue;
            }                       // SUB: a blank sixel
            if (b < 0x20) continue; // other controls are ignored
            if (b >= 0x80) {
                problem("8-bit byte in sixel data");
                continue;
            }
            if (b >= 0x3F && b <= 0x7E) {
                paint(b - 0x3F, 1);
            } else if (b == '!') { // DECGRI
                int n = number();
                const int s = byte();
                if (s < 0x3F || s > 0x7E) {
                    problem("repeat without a sixel");
                    if (s >= 0) --i;
                    continue;
                }
                if (n == 0) n = 1;
                if (col + n > 20 * hdpi()) {
                    problem("sixel repeat beyond the page");
                    n = 1;
                }
                paint(s - 0x3F, n);
            } else if (b == '$') { // DECGCR
                col = 0;
            } else if (b == '-') { // DECGNL
                col = 0;
                rowtop += 6 * pixelh;
            } else if (b == '"') { // DECGRA: Pan ; Pad ; Ph ; Pv
                std::vector<int> ra;
                ra.push_back(number());
                while (peek() == ';') {
                    ++i;
                    ra.push_back(number());
                }
                if (!first) problem("raster attributes after sixel data");
                if (model == DecModel::LN03 && ra.size() >= 2 && ra[0] > 0 && ra[1] > 0)
                    pixelh = gridw * ra[0] / ra[1];
            } else if (b == '#') { // DECGCI: colour, ignored on paper
                number();
                while (peek() == ';') {
                    ++i;
                    number();
                }
            }
            if (b != '"') first = false;
        }
        x = left;
        y = top + rowtop;
    }

    void dcs() {
        std::vector<int> ps;
        int value = 0;
        bool any = false;
        while (true) {
            const int b = byte();
            if (b < 0) {
                problem("device control string cut off");
                return;
            }
            if (b >= '0' && b <= '9') {
                value = std::min(value * 10 + (b - '0'), 100000);
                any = true;
            } else if (b == ';') {
                ps.push_back(value);
                value = 0;
            } else if (b >= 0x40 && b <= 0x7E) {
                if (any || !ps.empty()) ps.push_back(value);
                if (b == 'q') {
                    sixel(ps);
                } else {
                    ++out.otherstrings;
                    skipstring();
                }
                return;
            } else if (b == ESC || b == 24 || b == 26) {
                problem("device control string broken off");
                --i;
                return;
            }
        }
    }

    void escape() {
        const int b = byte();
        switch (b) {
        case -1:
            problem("ESC at the end");
            return;
        case '[':
            csi();
            return;
        case 'P':
            dcs();
            return;
        case ']':
        case '^':
        case '_':
            skipstring();
            return;
        case '\\':
            return; // ST with nothing open
        case 'c':
            reset();
            return;
        default:
            break;
        }
        // Intermediates, then the final byte.
        int f = b;
        while (f >= 0x20 && f <= 0x2F) f = byte();
        if (f < 0x30 || f > 0x7E) problem("escape sequence broken off");
    }

    void run() {
        while (i < in.size()) {
            if (sink != nullptr) turnpages();
            const int c = byte();
            if (c == ESC) {
                escape();
            } else if (c < 0x20) {
                control(c);
            } else if (c >= 0x80 && c < 0xA0) {
                problem("8-bit control sent");
            } else if (c == 0x7F || c == 0xFF) {
                problem("DEL sent");
            } else {
                text(c);
            }
        }
        out.endx = x;
        out.endy = y;
        if (sink != nullptr) finish();
    }
};
} // namespace

int dec_hdpi(DecModel model) {
    return model == DecModel::LA75 ? 144 : 300;
}
int dec_vdpi(DecModel model) {
    return model == DecModel::LA75 ? 72 : 300;
}

int la75_columnx(int col, int pitchcode) {
    return static_cast<int>(std::lround(col * 14400.0 / kCpi[pitchcode]));
}

const DecChar* DecPage::charat(int x, int y) const {
    for (const DecChar& c : chars)
        if (c.x == x && c.y == y) return &c;
    return nullptr;
}

DecPage rebuild_dec(const std::string& bytes, DecModel model) {
    Printer p(bytes, model);
    p.run();
    return p.out;
}

Bitmap dec_square(const DecPage& p) {
    if (p.model == DecModel::LN03) return p.page;
    Bitmap b(p.page.width + 1, p.page.height * 2);
    for (int y = 0; y < p.page.height; ++y)
        for (int x = 0; x < p.page.width; ++x)
            if (p.page.get(x, y))
                for (int k = 0; k < 2; ++k) {
                    b.set(x, 2 * y + k);
                    b.set(x + 1, 2 * y + k);
                }
    return b;
}

void rebuild_dec(const std::string& bytes, DecModel model, const DecSheetSink& sink) {
    Printer p(bytes, model);
    p.sink = &sink;
    p.run();
}

namespace {
void render_dec(const std::string& bytes, DecModel model, const SheetSink& sink) {
    // The square page of dec_square: the LA75's rows doubled.
    const int dpi = dec_hdpi(model);
    const int down = dpi / dec_vdpi(model);
    rebuild_dec(bytes, model, [&](DecPage&& page) {
        Sheet s;
        s.dpi = dpi;
        s.ink = dec_square(page);
        s.width = dpi * 17 / 2; // paper 8.5 inches wide
        s.height = page.page.height * down;
        for (const DecChar& c : page.chars) s.chars.push_back({c.x, down * c.y, 0, c.c});
        // Ten characters per inch; double width at most twice that.
        cell_widths(s.chars, dpi / 10, dpi / 5);
        s.problems = std::move(page.problems);
        sink(std::move(s));
    });
}
} // namespace

void render_la75(const std::string& bytes, const SheetSink& sink) {
    render_dec(bytes, DecModel::LA75, sink);
}

void render_ln03(const std::string& bytes, const SheetSink& sink) {
    render_dec(bytes, DecModel::LN03, sink);
}
