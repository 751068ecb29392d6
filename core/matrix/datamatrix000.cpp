// DataMatrix ECC 000-140 symbols: base packing, CRC and length prefix,
// convolutional coding, placement through the fixed tables and random
// stream, finder.
#include "core/matrix/datamatrix000_internal.hpp"

#include <bit>
#include <cstring>

#include "core/matrix/bitstream.hpp"
#include "core/matrix/modbitmap.hpp"

// ---- Bit streams ---------------------------------------------------------

// The shared writer appends most significant bit first, at most 16 bits a
// call; the fields sent least significant bit first are reversed first.

int32_t datamtx_stuffbit(uint8_t* buffer, int32_t* cursor, int32_t bit) {
    if (buffer == nullptr || cursor == nullptr || *cursor < 0) return 0;
    return bitstream_append(buffer, datamtx000_maxbits, cursor, bit != 0 ? 1u : 0u, 1);
}

int32_t datamtx_fetchbit(const uint8_t* buffer, int32_t cursor) {
    if (buffer == nullptr || cursor < 0 || cursor >= datamtx000_maxbits) return 0;
    return bitstream_bit(buffer, cursor);
}

int32_t datamtx_stuffbits(uint8_t* buffer, int32_t* cursor, uint32_t value, int32_t count,
                          bool msbfirst) {
    if (buffer == nullptr || cursor == nullptr || *cursor < 0 || count < 0 || count > 32) return 0;
    uint32_t v = value;
    if (!msbfirst) {
        v = 0;
        for (int32_t j = 0; j < count; ++j) v |= (value >> j & 1) << (count - 1 - j);
    }
    while (count > 0) {
        const int32_t take = count < 16 ? count : 16;
        if (bitstream_append(buffer, datamtx000_maxbits, cursor, v >> (count - take), take) == 0)
            return 0;
        count -= take;
    }
    return 1;
}

// ---- Data ----------------------------------------------------------------

const datamtx000_base* datamtx000_basedef(int32_t base) {
    for (const datamtx000_base& b : datamtx_enc000lut)
        if (b.base == base) return &b;
    return nullptr;
}

namespace {
// Value of byte c in a base with a character list, or -1.
int32_t charvalue(const datamtx000_base& b, uint8_t c) {
    if (c == 0) return -1;
    const char* at = std::strchr(b.chars, c);
    return at == nullptr ? -1 : static_cast<int32_t>(at - b.chars);
}

bool holds(const datamtx000_base& b, uint8_t c) {
    if (b.chars != nullptr) return charvalue(b, c) >= 0;
    return c < b.base;
}
} // namespace

int32_t datamtx_enc000bestbase(const uint8_t* data, int32_t length) {
    for (const datamtx000_base& b : datamtx_enc000lut) {
        int32_t i = 0;
        while (i < length && holds(b, data[i])) ++i;
        if (i == length) return b.base;
    }
    return 256;
}

int32_t datamtx000_databits(const datamtx000_base* base, int32_t length) {
    const int32_t c = base->groupchars;
    const int32_t b = base->groupbits;
    return length / c * b + (length % c * b + c - 1) / c + 30;
}

uint16_t datamtx_crc16calc(uint16_t start, const uint8_t* data, int32_t length) {
    uint32_t crc = start;
    for (int32_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int32_t b = 0; b < 8; ++b) crc = (crc & 1) != 0 ? crc >> 1 ^ 0x8408u : crc >> 1;
    }
    return static_cast<uint16_t>(crc);
}

uint16_t datamtx_crc16seed(int32_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value), 0};
    return datamtx_crc16calc(0, bytes, 2);
}

// ---- Error correction ----------------------------------------------------

const datamtx000_eccxdef* datamtx_eccxdefp(int32_t type) {
    for (const datamtx000_eccxdef& d : datamtx_eccxdef_tab) {
        if (d.type == -1) break;
        if (d.type == type) return &d;
    }
    return nullptr;
}

int32_t datamtx_eccexpandbitc(int32_t type, int32_t bits) {
    const datamtx000_eccxdef* d = datamtx_eccxdefp(type);
    if (d == nullptr || bits <= 0) return 0;
    return (d->m + (bits - 1) / d->k + 1) * d->n;
}

int32_t datamtx_eccxcalc(uint8_t* out, int32_t* out_cursor, const uint8_t* in, int32_t in_cursor,
                         int32_t type, int32_t bits) {
    const datamtx000_eccxdef* d = datamtx_eccxdefp(type);
    if (d == nullptr || out_cursor == nullptr || bits < 0 || in_cursor < 0 ||
        *out_cursor + datamtx_eccexpandbitc(type, bits) > datamtx000_maxbits)
        return 0;
    // Register i holds input i's last m + 1 bits, the newest in bit m.
    uint32_t reg[3] = {};
    const int32_t steps = (bits + d->k - 1) / d->k + d->m;
    int32_t next = 0;
    for (int32_t s = 0; s < steps; ++s) {
        for (int32_t i = 0; i < d->k; ++i, ++next) {
            if (next < bits && datamtx_fetchbit(in, in_cursor + next) != 0) reg[i] |= 1u << d->m;
        }
        for (int32_t o = 0; o < d->n; ++o) {
            uint32_t x = 0;
            for (int32_t i = 0; i < d->k; ++i)
                x ^= static_cast<uint32_t>(d->masks[o * d->k + i]) & reg[i];
            datamtx_stuffbit(out, out_cursor, datamtx_countbits(x) & 1);
        }
        for (int32_t i = 0; i < d->k; ++i) reg[i] >>= 1;
    }
    return 1;
}

// ---- Symbol --------------------------------------------------------------

namespace {
int32_t headerbits(int32_t type) {
    return type == 0 ? 7 : 19;
}

// The prefix (format, CRC, length) and the data groups, least significant
// bit first except the format.
int32_t stuffdata(uint8_t* out, int32_t* cursor, const uint8_t* data, int32_t length,
                  const datamtx000_base* base) {
    const uint16_t crc = datamtx_crc16calc(datamtx_crc16seed(base->formatid), data, length);
    int32_t ok = datamtx_stuffbits(out, cursor, static_cast<uint32_t>(base->formatid - 1), 5, true);
    ok &= datamtx_stuffbits(out, cursor, crc, 16, false);
    ok &= datamtx_stuffbits(out, cursor, static_cast<uint32_t>(length), 9, false);
    const int32_t c = base->groupchars;
    for (int32_t at = 0; at < length && ok != 0; at += c) {
        const int32_t j = length - at < c ? length - at : c;
        uint32_t value = 0;
        for (int32_t q = j - 1; q >= 0; --q) {
            const uint8_t ch = data[at + q];
            value = value * static_cast<uint32_t>(base->base) +
                    static_cast<uint32_t>(base->chars != nullptr ? charvalue(*base, ch) : ch);
        }
        ok &= datamtx_stuffbits(out, cursor, value, (j * base->groupbits + c - 1) / c, false);
    }
    return ok;
}
} // namespace

int32_t datamtx000_innersize(int32_t type, const datamtx000_base* base, int32_t length,
                             int32_t reqsize) {
    const int32_t total =
        datamtx_eccexpandbitc(type, datamtx000_databits(base, length)) + headerbits(type);
    int32_t inner = datamtx_isqrt(total - 1) + 1; // the least n with n * n >= total
    if (reqsize - 2 > inner) inner = reqsize - 2;
    if (inner % 2 == 0) ++inner;
    if (inner < datamtx000_mininner) inner = datamtx000_mininner;
    return inner > datamtx000_maxinner ? 0 : inner;
}

int32_t datamtx000_stream(uint8_t* stream, const uint8_t* data, int32_t length, int32_t type,
                          const datamtx000_base* base, int32_t inner) {
    const datamtx000_eccxdef* d = datamtx_eccxdefp(type);
    if (d == nullptr || base == nullptr || length < 0 || length > datamtx000_maxlength) return 0;
    const int32_t bits = datamtx000_databits(base, length);
    if (inner < datamtx000_mininner || inner > datamtx000_maxinner ||
        datamtx_eccexpandbitc(type, bits) + headerbits(type) > inner * inner)
        return 0;
    std::memset(stream, 0, datamtx000_streambytes);
    int32_t cursor = 0;
    datamtx_stuffbits(stream, &cursor, static_cast<uint32_t>(d->header), headerbits(type), false);
    uint8_t prot[datamtx000_streambytes] = {};
    int32_t pcursor = 0;
    if (stuffdata(prot, &pcursor, data, length, base) == 0) return 0;
    return datamtx_eccxcalc(stream, &cursor, prot, 0, type, bits);
}

int32_t datamtx000_placeall(datamtx_symbol* sym, const uint8_t* stream, int32_t inner) {
    if (sym == nullptr) return 0;
    if (stream == nullptr || inner < datamtx000_mininner || inner > datamtx000_maxinner ||
        inner % 2 == 0) {
        sym->error = DATAMTX_ERR_PARAM;
        return 0;
    }
    if (datamtx_imagealloc(sym, inner + 2, inner + 2) == 0) return 0;
    uint8_t shown[datamtx000_streambytes];
    for (int32_t i = 0; i < datamtx000_streambytes; ++i)
        shown[i] = static_cast<uint8_t>(stream[i] ^ datamtx_randstrm[static_cast<size_t>(i)]);
    const int16_t* grid = datamtx_gridlutxtab[(inner - datamtx000_mininner) / 2];
    const modbitmap bitmap = datamtx_bitmap(sym);
    for (int32_t r = 0; r < inner; ++r) {
        for (int32_t c = 0; c < inner; ++c) {
            if (bitstream_bit(shown, grid[r * inner + c]) != 0) bitmap.set(c + 1, r + 1);
        }
    }
    datamtx_iplotfinder(sym, 0, 0, inner + 2, inner + 2);
    return 1;
}

int32_t datamtx000_imagecalc(datamtx_symbol* sym, const uint8_t* data, int32_t length) {
    if (sym == nullptr) return 0;
    sym->error = DATAMTX_ERR_NONE;
    if (datamtx_eccxdefp(sym->ecctype) == nullptr) {
        sym->error = DATAMTX_ERR_ECCTYPE;
        return 0;
    }
    if (data == nullptr && length != 0) {
        sym->error = DATAMTX_ERR_PARAM;
        return 0;
    }
    if (length < 0) length = static_cast<int32_t>(std::strlen(reinterpret_cast<const char*>(data)));
    // Module sizes are bounded so that every dot position of the painted
    // symbol fits 32 bits.
    constexpr int32_t maxmodule = 1 << 20;
    if (sym->reqsize < 0 || sym->modwidth < 1 || sym->modheight < 1 || sym->modwidth > maxmodule ||
        sym->modheight > maxmodule) {
        sym->error = DATAMTX_ERR_PARAM;
        return 0;
    }
    // The length field has 9 bits: a longer message would carry a wrong
    // length, so it is refused like one too large for the largest symbol.
    if (length > datamtx000_maxlength) {
        sym->error = DATAMTX_ERR_TOOLONG;
        return 0;
    }
    const datamtx000_base* base = datamtx000_basedef(datamtx_enc000bestbase(data, length));
    const int32_t inner = datamtx000_innersize(sym->ecctype, base, length, sym->reqsize);
    uint8_t stream[datamtx000_streambytes];
    if (inner == 0 || datamtx000_stream(stream, data, length, sym->ecctype, base, inner) == 0) {
        sym->error = DATAMTX_ERR_TOOLONG;
        return 0;
    }
    return datamtx000_placeall(sym, stream, inner);
}

// ---- Shared arithmetic ---------------------------------------------------

int32_t datamtx_isqrt(int32_t value) {
    if (value <= 0) return 0;
    int64_t r = 0;
    while ((r + 1) * (r + 1) <= value) ++r;
    return static_cast<int32_t>(r);
}

int32_t datamtx_countbits(uint32_t value) {
    return std::popcount(value);
}
