#include "core/linear/upc_ean.hpp"

#include <array>
#include <cstring>

namespace {
// Left-hand odd set (number set A) of the UPC/EAN digits, ISO/IEC 15420:
// four element classes, space first; class c is c + 1 modules.
struct upcrow {
    char c;
    uint8_t cls[4];
};
constexpr upcrow upc_table[] = {
    {'0', {2, 1, 0, 0}}, {'1', {1, 1, 1, 0}}, {'2', {1, 0, 1, 1}}, {'3', {0, 3, 0, 0}},
    {'4', {0, 0, 2, 1}}, {'5', {0, 1, 2, 0}}, {'6', {0, 0, 0, 3}}, {'7', {0, 2, 0, 1}},
    {'8', {0, 1, 0, 2}}, {'9', {2, 0, 0, 1}},
};
static_assert(std::size(upc_table) == 10);

// Parity of the six left-hand digits of EAN-13 by the leading digit, bit n
// for the n-th digit, set = even set B (ISO/IEC 15420, the leading digit's
// combinations of sets A and B).
constexpr int32_t upc_13_rptytable[] = {0x00, 0x34, 0x2C, 0x1C, 0x32, 0x26, 0x0E, 0x2A, 0x1A, 0x16};
static_assert(std::size(upc_13_rptytable) == 10);
// Parity of the six UPC-E digits by the check digit, number system 0, set
// bit = even set (ISO/IEC 15420, UPC-E parity patterns); number system 1 is
// its inverse.
constexpr int32_t upc_e_rptytable[] = {0x07, 0x0B, 0x13, 0x23, 0x0D, 0x19, 0x31, 0x15, 0x25, 0x29};
static_assert(std::size(upc_e_rptytable) == 10);
constexpr int32_t upc_1_inversion = 0x3F;

// Templates: ! guard, # centre guard, . single bar, o/O odd set, e/E
// right-hand set, d/D parity from the mask, i a digit carried only by the
// parity. Lower-case letters draw shortened bars.
struct upcvariant {
    char subtype;
    const char* templ;
};
constexpr upcvariant upc_variants[] = {
    {'a', "!Oooooo#eeeeeE!"}, {'b', "!Oooooo#eeeeeE!"}, {'c', "!Ooooooo#eeeeeeE!"},
    {'e', "i!dddddd#.i"},     {'8', "!oooo#eeee!"},     {'3', "i!dddddd#eeeeee!"},
};

constexpr uint8_t kGuard[] = {0, 0, 0, 255};

int32_t lower(int32_t c) {
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}
bool isletter(int32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Weighted modulo-10 check digit; `fromright` counts the weight-3 positions
// from the last character.
char mod10check(int32_t length, const char* data, bool fromright) {
    int32_t sum = 0;
    for (int32_t i = 0; i < length; ++i) {
        const char c = data[i];
        if (c < '0' || c > '9') continue;
        const int32_t pos = fromright ? length - 1 - i : i;
        sum += (pos % 2 == 0 ? 3 : 1) * (c - '0');
    }
    const int32_t r = sum % 10;
    return static_cast<char>('0' + (r == 0 ? 0 : 10 - r));
}

// Maps `n` classes alternating bar and space, optionally starting with a
// space and optionally in reverse order.
kv_status mapelements(kv_glor* s, kv_mapctx* m, const uint8_t* cls, int n, bool barfirst,
                      bool reversed) {
    kv_status st = KV_SUCCESS;
    for (int i = 0; i < n; ++i) {
        const int isbar = (i % 2 == 0) == barfirst ? 1 : 0;
        jerr_uperr(&st, kv_mapunit(s, m, cls[reversed ? n - 1 - i : i], isbar));
    }
    return st;
}
} // namespace

const char* UPCLookup(int32_t subtype) {
    for (const upcvariant& v : upc_variants) {
        if (v.subtype == subtype) return v.templ;
    }
    return nullptr;
}

int32_t UPCParity(int32_t kind, int32_t index) {
    if (kind == '1') return upc_1_inversion;
    if (index < 0 || index > 9) return -1;
    if (kind == '3') return upc_13_rptytable[index];
    if (kind == 'e') return upc_e_rptytable[index];
    return -1;
}

int32_t upc_cindex(int32_t c) {
    return (c >= '0' && c <= '9') ? c - '0' : -1;
}

int32_t upc_open(upc_reader* r, int32_t subtype, int32_t length, const char* data) {
    *r = upc_reader{};
    r->subtype = lower(subtype);
    r->length = length;
    r->data = data;
    r->templ = UPCLookup(r->subtype);
    if (r->templ == nullptr) return 0;
    r->tlength = static_cast<int32_t>(std::strlen(r->templ));
    const auto digit = [&](int32_t i) {
        return i < length ? upc_cindex(static_cast<uint8_t>(data[i])) : -1;
    };
    if (r->subtype == '3') {
        r->mask = digit(0) >= 0 ? UPCParity('3', digit(0)) : 0;
    } else if (r->subtype == 'e') {
        if (length > 7 && digit(7) >= 0) r->mask = UPCParity('e', digit(7));
        if (length > 0 && data[0] == '1') r->mask ^= UPCParity('1', 0);
    }
    return 1;
}

int32_t upc_next(upc_reader* r, int32_t* charout, int32_t* parityout, int32_t* shortout) {
    for (;;) {
        *parityout = UPC_ODD;
        *shortout = 0;
        if (r->tpos >= r->tlength) {
            // Past the template every data character is one too many.
            if (r->pos >= r->length) return 0;
            ++r->pos;
            *charout = '?';
            return 1;
        }
        const int32_t t = static_cast<uint8_t>(r->templ[r->tpos++]);
        *shortout = (t >= 'a' && t <= 'z') ? 1 : 0;
        if (t == 'd' || t == 'D') {
            if (r->dcount < 31 && ((r->mask >> r->dcount) & 1)) *parityout = UPC_EVEN;
            ++r->dcount;
        } else if (t == 'e' || t == 'E') {
            *parityout = UPC_RIGHT;
        }
        if (!isletter(t)) {
            *charout = t;
            return 1;
        }
        if (r->pos >= r->length) {
            if (t == 'i') continue;
            *charout = t; // a missing digit: drawn as a character without a pattern
            return 1;
        }
        const int32_t c = static_cast<uint8_t>(r->data[r->pos++]);
        const bool isdigit = upc_cindex(c) >= 0;
        if (t == 'i' && isdigit) continue;
        *charout = isdigit ? c : '?';
        return 1;
    }
}

int32_t upc_close(upc_reader*) {
    return 1;
}

void upc_chkcalc(int32_t length, const char* data, char* out) {
    *out = mod10check(length, data, false);
}

void ean_chkcalc(int32_t length, const char* data, char* out) {
    *out = mod10check(length, data, true);
}

kv_status kv_upc_cmap(kv_glor* s, kv_mapctx* m, int32_t c, int32_t parity) {
    static constexpr uint8_t kNarrow[5] = {0, 0, 0, 0, 0};
    switch (c) {
    case '!':
        return kv_mapbarlist(s, m, 3, kGuard);
    case '#':
        return mapelements(s, m, kNarrow, 5, false, false);
    case '.':
        return kv_mapunit(s, m, 0, 1);
    default:
        break;
    }
    const int32_t d = upc_cindex(c);
    if (d < 0) return kv_badcmap(s, m, 4, upc_table[0].cls);
    const uint8_t* cls = upc_table[d].cls;
    switch (parity) {
    case UPC_RIGHT:
        return mapelements(s, m, cls, 4, true, false);
    case UPC_EVEN:
        return mapelements(s, m, cls, 4, false, true);
    default:
        return mapelements(s, m, cls, 4, false, false);
    }
}

kv_status kv_upc_map(kv_glor* s, kv_mapctx* m) {
    const kv_field* f = m->field;
    upc_reader r;
    if (!upc_open(&r, f->subtype, m->charcount, f->text.get())) return KV_SUCCESS;
    kv_status st = KV_SUCCESS;
    int32_t c = 0;
    int32_t parity = 0;
    int32_t shortened = 0;
    while (m->cursor < kv_clipright(m) && upc_next(&r, &c, &parity, &shortened)) {
        m->barheight = shortened ? f->height - f->indent : f->height;
        jerr_uperr(&st, kv_upc_cmap(s, m, c, parity));
    }
    m->barheight = f->height;
    upc_close(&r);
    return st;
}
