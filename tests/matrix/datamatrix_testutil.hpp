// Helpers shared by the DataMatrix tests: symbols as bitmaps, the two
// readers at a resolution they can read, printable data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/matrix/datamatrix.hpp"
#include "core/matrix/datamatrix200_internal.hpp"
#include "preview/bitmap.hpp"
#include "preview/decode.hpp"
#include "preview/reader.hpp"

namespace dmtest {

// The symbol's module grid, `scale` dots per module.
inline Bitmap symbolbitmap(const datamtx_symbol& s, int scale = 1) {
    Bitmap b(s.imagewidth * scale, s.imageheight * scale);
    for (int y = 0; y < s.imageheight; ++y)
        for (int x = 0; x < s.imagewidth; ++x)
            if (datamtx_igetpt(&s, x, y)) b.fill(x * scale, y * scale, scale, scale);
    return b;
}

// The readers need more than one dot per module, and libdmtx's detector
// misses some small symbols at exactly two: a page is enlarged by a whole
// factor to at least `mindots` dots per module first (which cannot hide a
// wrong module, it only repeats every dot).
inline Bitmap readable(const Bitmap& page, int dotspermodule, int mindots) {
    const int factor = (mindots + dotspermodule - 1) / dotspermodule;
    return factor > 1 ? page.scaled(factor, factor) : page;
}

// What the one symbol on the page reads as, or "<none>"/"<n symbols>".
inline std::string one(const std::vector<Decoded>& d) {
    if (d.size() != 1) return d.empty() ? "<none>" : "<" + std::to_string(d.size()) + " symbols>";
    return d[0].bytes;
}

inline std::string read_zxing(const Bitmap& page, int dotspermodule, bool pure = false) {
    return one(decode_zxing(readable(page, dotspermodule, 2), "DataMatrix", pure));
}

// libdmtx's detector also misses an occasional rotated symbol at one
// particular resolution; it gets a second look at the next whole factor.
inline std::string read_dmtx(const Bitmap& page, int dotspermodule) {
    const std::vector<Decoded> first = decode_dmtx(readable(page, dotspermodule, 3));
    if (!first.empty()) return one(first);
    const int factor = (3 + dotspermodule - 1) / dotspermodule + 1;
    return one(decode_dmtx(page.scaled(factor, factor)));
}

// The decoded form of data carried behind a Macro 05 or 06 header.
inline std::string macro(const std::string& data, const char* version) {
    return std::string("[)>\x1e") + version + "\x1d" + data + "\x1e\x04";
}

// Data with bytes outside printable ASCII written as \xNN.
inline std::string printable(const std::string& s) {
    const std::string out = escape_text(s);
    return out.size() > 120 ? out.substr(0, 120) + "...(" + std::to_string(s.size()) + ")" : out;
}

// The data codewords the encoder gives for `data` (symbol at least `minsize`
// wide), up to the chosen symbol's capacity; empty when the data do not fit.
inline std::vector<int> datacodewords(const std::string& data, int32_t options = 0,
                                      int32_t minsize = 0) {
    uint8_t cw[datamtx200_bufsize];
    const int32_t n = datamtx200_encode(cw, reinterpret_cast<const uint8_t*>(data.data()),
                                        static_cast<int32_t>(data.size()), options, minsize);
    const datamtx200_symdef* e = n < 0 ? nullptr : datamtx200_symdeffit(n, minsize);
    if (e == nullptr) return {};
    return std::vector<int>(cw, cw + e->data);
}

// The encodation modes a symbol's data codewords enter, in order, walked
// the way a reader does: latches from ASCII; C40, Text and X12 pairs up to
// 254 or the last codeword; EDIFACT groups up to the unlatch value or the
// last two codewords; Base256 fields by their (de-randomised) length.
inline std::vector<int32_t> modetrace(const std::vector<int>& cw) {
    std::vector<int32_t> modes;
    const size_t n = cw.size();
    size_t i = 0;
    while (i < n) {
        const int c = cw[i++];
        int32_t mode = -1;
        switch (c) {
        case 129:
            return modes; // pad: end of data
        case 235:
            ++i;
            continue; // Upper Shift and its character
        case 230:
            mode = DATAMTX_C40;
            break;
        case 231:
            mode = DATAMTX_B256;
            break;
        case 238:
            mode = DATAMTX_X12;
            break;
        case 239:
            mode = DATAMTX_TEXT;
            break;
        case 240:
            mode = DATAMTX_EDIFACT;
            break;
        default:
            continue;
        }
        modes.push_back(mode);
        if (mode == DATAMTX_B256) {
            auto derand = [&](size_t at) {
                return (cw[at] - ((149 * (int(at) + 1)) % 255 + 1) + 256) % 256;
            };
            if (i >= n) break;
            int len = derand(i++);
            if (len == 0) return modes;
            if (len >= 250 && i < n) len = 250 * (len - 249) + derand(i++);
            i += static_cast<size_t>(len);
        } else if (mode == DATAMTX_EDIFACT) {
            while (n - i >= 3) {
                const uint32_t w = static_cast<uint32_t>(cw[i] << 16 | cw[i + 1] << 8 | cw[i + 2]);
                int k = 0;
                while (k < 4 && (w >> (18 - 6 * k) & 63) != 31) ++k;
                if (k < 4) {
                    i += static_cast<size_t>((6 * k + 6 + 7) / 8);
                    break;
                }
                i += 3;
            }
        } else {
            while (n - i >= 2 && cw[i] != 254) i += 2;
            if (i < n && cw[i] == 254) ++i;
        }
    }
    return modes;
}

// A record built from `data` with error-correction type 200 or another.
struct built {
    datamtx_symbol sym;
    int32_t ok = 0;
    built(const std::string& data, int32_t options = 0, int32_t reqsize = 0,
          int32_t ecctype = 200) {
        datamtx_open(&sym);
        sym.ecctype = ecctype;
        sym.options = options;
        sym.reqsize = reqsize;
        ok = datamtx_imagecalc(&sym, reinterpret_cast<const uint8_t*>(data.data()),
                               static_cast<int32_t>(data.size()));
    }
    ~built() { datamtx_close(&sym); }
    built(const built&) = delete;
    built& operator=(const built&) = delete;
};

} // namespace dmtest
