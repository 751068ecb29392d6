#include "preview/reader.hpp"

#include <algorithm>

#include "preview/decode.hpp"

namespace {
// White added around each group, a fifteenth of an inch: the paper around a
// symbol is its quiet zone, and the group's box ends at its outer bars.
constexpr int kQuietDivisor = 15;
// DataMatrix symbols are at most four times as long as high (16 x 48
// modules and the like); libdmtx searches only groups of that shape, and
// only so long.
constexpr int kDmtxMaxAspect = 5;
constexpr int kDmtxTimeoutMs = 2000;

std::vector<Decoded> decode_group(const Bitmap& page, const Bitmap::Box& b, int dpi,
                                  bool textlike = false) {
    const Bitmap crop = page.crop(b.x, b.y, b.w, b.h);
    std::vector<Decoded> read = decode_zxing(crop, "", false, dpi / kQuietDivisor);
    const int longer = std::max(b.w, b.h), shorter = std::max(1, std::min(b.w, b.h));
    if (read.empty() && !textlike && longer <= kDmtxMaxAspect * shorter)
        read = decode_dmtx(crop, dpi / kQuietDivisor, kDmtxTimeoutMs);
    return read;
}

Bitmap::Box join(const Bitmap::Box& a, const Bitmap::Box& b) {
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
    return {x0, y0, x1 - x0, y1 - y0};
}

bool near(const Bitmap::Box& a, const Bitmap::Box& b, int reach) {
    return a.x - reach < b.x + b.w && b.x - reach < a.x + a.w && a.y - reach < b.y + b.h &&
           b.y - reach < a.y + a.h;
}

// Text printed as graphics (the Printronix program draws the text of a
// line that a symbol reaches in its own dot font) is no symbol: a group
// whose every connected piece of ink fits in a character cell of 1/10 by
// 1/8 inch is taken for text. Any symbol has a longer piece: a bar as tall
// as the symbol, a finder pattern or a bullseye.
bool glyph_sized_pieces(const Bitmap& ink, const Bitmap::Box& b, int dpi) {
    const int cellw = std::max(1, dpi / 10), cellh = std::max(1, dpi / 8);
    Bitmap left = ink.crop(b.x, b.y, b.w, b.h);
    std::vector<std::pair<int, int>> todo;
    for (int y = 0; y < left.height; ++y)
        for (int x = 0; x < left.width; ++x) {
            if (!left.get(x, y)) continue;
            // One piece, eight-connected, cleared as it is measured.
            int x0 = x, x1 = x, y0 = y, y1 = y;
            left.set(x, y, false);
            todo.assign(1, {x, y});
            while (!todo.empty()) {
                const auto [px, py] = todo.back();
                todo.pop_back();
                x0 = std::min(x0, px);
                x1 = std::max(x1, px);
                y0 = std::min(y0, py);
                y1 = std::max(y1, py);
                if (x1 - x0 >= cellw || y1 - y0 >= cellh) return false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (left.get(px + dx, py + dy)) {
                            left.set(px + dx, py + dy, false);
                            todo.push_back({px + dx, py + dy});
                        }
            }
        }
    return true;
}

struct Group {
    Bitmap::Box box;
    bool textlike; // glyph_sized_pieces
    std::vector<Decoded> read;
};

// A group no reader knows may be a piece of a symbol read next to it: the
// wide spaces of a PDF417 stop pattern printed with large modules part it
// from the rest. It belongs to that symbol when the two together read as
// the same symbol again and the reader finds that symbol reaching into the
// piece: a symbol that merely stands near one that reads is still reported.
bool part_of_neighbour(const Bitmap& page, const Group& g, const std::vector<Group>& groups,
                       int dpi) {
    for (const Group& other : groups) {
        if (other.read.empty() || !near(g.box, other.box, dpi / 4)) continue;
        const Bitmap::Box both = join(g.box, other.box);
        const Bitmap::Box piece{g.box.x - both.x, g.box.y - both.y, g.box.w, g.box.h};
        for (const Decoded& d : decode_group(page, both, dpi))
            for (const Decoded& known : other.read)
                if (d.format == known.format && d.text == known.text &&
                    (d.at.w == 0 || near(d.at, piece, 1)))
                    return true;
    }
    return false;
}
} // namespace

std::vector<FoundSymbol> read_symbols(const Bitmap& ink, const Bitmap& page, int dpi) {
    std::vector<Group> groups;
    for (const Bitmap::Box& b : ink_regions(ink, std::max(1, dpi / 12))) {
        // Text printed as graphics is worth a look by zxing-cpp (a symbol
        // too small to tell from text may still read), not libdmtx's long
        // search.
        const bool textlike = glyph_sized_pieces(ink, b, dpi);
        groups.push_back({b, textlike, decode_group(page, b, dpi, textlike)});
    }
    std::vector<FoundSymbol> found;
    const double inch = dpi;
    for (const Group& g : groups) {
        FoundSymbol where;
        where.x = g.box.x / inch;
        where.y = g.box.y / inch;
        where.w = g.box.w / inch;
        where.h = g.box.h / inch;
        if (g.read.empty() && !g.textlike && !part_of_neighbour(page, g, groups, dpi))
            found.push_back(where);
        for (const Decoded& d : g.read) {
            FoundSymbol s = where;
            s.decoded = true;
            s.format = d.format;
            s.text = d.text;
            found.push_back(s);
        }
    }
    return found;
}

std::string escape_text(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        if (c >= 32 && c < 127 && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}
