#include "core/linear/code128.hpp"

#include <array>

namespace {
// One row per symbol value: its byte in subsets A, B and C, then its six
// element classes (class c is c + 1 modules), bar first. Patterns of the
// Code 128 standard (ISO/IEC 15417, Table 1).
struct c128row {
    uint8_t a, b, c;
    uint8_t cls[6];
};

constexpr uint8_t kPatterns[107][6] = {
    {2, 1, 2, 2, 2, 2}, {2, 2, 2, 1, 2, 2}, {2, 2, 2, 2, 2, 1}, {1, 2, 1, 2, 2, 3},
    {1, 2, 1, 3, 2, 2}, {1, 3, 1, 2, 2, 2}, {1, 2, 2, 2, 1, 3}, {1, 2, 2, 3, 1, 2},
    {1, 3, 2, 2, 1, 2}, {2, 2, 1, 2, 1, 3}, {2, 2, 1, 3, 1, 2}, {2, 3, 1, 2, 1, 2},
    {1, 1, 2, 2, 3, 2}, {1, 2, 2, 1, 3, 2}, {1, 2, 2, 2, 3, 1}, {1, 1, 3, 2, 2, 2},
    {1, 2, 3, 1, 2, 2}, {1, 2, 3, 2, 2, 1}, {2, 2, 3, 2, 1, 1}, {2, 2, 1, 1, 3, 2},
    {2, 2, 1, 2, 3, 1}, {2, 1, 3, 2, 1, 2}, {2, 2, 3, 1, 1, 2}, {3, 1, 2, 1, 3, 1},
    {3, 1, 1, 2, 2, 2}, {3, 2, 1, 1, 2, 2}, {3, 2, 1, 2, 2, 1}, {3, 1, 2, 2, 1, 2},
    {3, 2, 2, 1, 1, 2}, {3, 2, 2, 2, 1, 1}, {2, 1, 2, 1, 2, 3}, {2, 1, 2, 3, 2, 1},
    {2, 3, 2, 1, 2, 1}, {1, 1, 1, 3, 2, 3}, {1, 3, 1, 1, 2, 3}, {1, 3, 1, 3, 2, 1},
    {1, 1, 2, 3, 1, 3}, {1, 3, 2, 1, 1, 3}, {1, 3, 2, 3, 1, 1}, {2, 1, 1, 3, 1, 3},
    {2, 3, 1, 1, 1, 3}, {2, 3, 1, 3, 1, 1}, {1, 1, 2, 1, 3, 3}, {1, 1, 2, 3, 3, 1},
    {1, 3, 2, 1, 3, 1}, {1, 1, 3, 1, 2, 3}, {1, 1, 3, 3, 2, 1}, {1, 3, 3, 1, 2, 1},
    {3, 1, 3, 1, 2, 1}, {2, 1, 1, 3, 3, 1}, {2, 3, 1, 1, 3, 1}, {2, 1, 3, 1, 1, 3},
    {2, 1, 3, 3, 1, 1}, {2, 1, 3, 1, 3, 1}, {3, 1, 1, 1, 2, 3}, {3, 1, 1, 3, 2, 1},
    {3, 3, 1, 1, 2, 1}, {3, 1, 2, 1, 1, 3}, {3, 1, 2, 3, 1, 1}, {3, 3, 2, 1, 1, 1},
    {3, 1, 4, 1, 1, 1}, {2, 2, 1, 4, 1, 1}, {4, 3, 1, 1, 1, 1}, {1, 1, 1, 2, 2, 4},
    {1, 1, 1, 4, 2, 2}, {1, 2, 1, 1, 2, 4}, {1, 2, 1, 4, 2, 1}, {1, 4, 1, 1, 2, 2},
    {1, 4, 1, 2, 2, 1}, {1, 1, 2, 2, 1, 4}, {1, 1, 2, 4, 1, 2}, {1, 2, 2, 1, 1, 4},
    {1, 2, 2, 4, 1, 1}, {1, 4, 2, 1, 1, 2}, {1, 4, 2, 2, 1, 1}, {2, 4, 1, 2, 1, 1},
    {2, 2, 1, 1, 1, 4}, {4, 1, 3, 1, 1, 1}, {2, 4, 1, 1, 1, 2}, {1, 3, 4, 1, 1, 1},
    {1, 1, 1, 2, 4, 2}, {1, 2, 1, 1, 4, 2}, {1, 2, 1, 2, 4, 1}, {1, 1, 4, 2, 1, 2},
    {1, 2, 4, 1, 1, 2}, {1, 2, 4, 2, 1, 1}, {4, 1, 1, 2, 1, 2}, {4, 2, 1, 1, 1, 2},
    {4, 2, 1, 2, 1, 1}, {2, 1, 2, 1, 4, 1}, {2, 1, 4, 1, 2, 1}, {4, 1, 2, 1, 2, 1},
    {1, 1, 1, 1, 4, 3}, {1, 1, 1, 3, 4, 1}, {1, 3, 1, 1, 4, 1}, {1, 1, 4, 1, 1, 3},
    {1, 1, 4, 3, 1, 1}, {4, 1, 1, 1, 1, 3}, {4, 1, 1, 3, 1, 1}, {1, 1, 3, 1, 4, 1},
    {1, 1, 4, 1, 3, 1}, {3, 1, 1, 1, 4, 1}, {4, 1, 1, 1, 3, 1}, {2, 1, 1, 4, 1, 2},
    {2, 1, 1, 2, 1, 4}, {2, 1, 1, 2, 3, 2}, {2, 3, 3, 1, 1, 1},
};

// Bytes of the values 96..106, whose characters are functions or subset
// changes, as {A, B, C}.
constexpr uint8_t kMarked[11][3] = {
    {0xB3, 0xB3, 0x60}, {0xB2, 0xB2, 0x61}, {0x80, 0x80, 0x62}, {0xE3, 0xE3, 0x63},
    {0xE2, 0xB4, 0xE2}, {0xB4, 0xE1, 0xE1}, {0xB1, 0xB1, 0xB1}, {0xC1, 0xC1, 0xC1},
    {0xC2, 0xC2, 0xC2}, {0xC3, 0xC3, 0xC3}, {0xD3, 0xD3, 0xD3},
};

constexpr std::array<c128row, 108> buildtable() {
    std::array<c128row, 108> t{};
    for (int v = 0; v < 107; ++v) {
        c128row& r = t[v];
        if (v < 96) {
            r.a = static_cast<uint8_t>(v < 64 ? v + 32 : v - 64);
            r.b = static_cast<uint8_t>(v + 32);
            r.c = static_cast<uint8_t>(v);
        } else {
            r.a = kMarked[v - 96][0];
            r.b = kMarked[v - 96][1];
            r.c = kMarked[v - 96][2];
        }
        for (int k = 0; k < 6; ++k) r.cls[k] = static_cast<uint8_t>(kPatterns[v][k] - 1);
    }
    return t; // row 107 stays empty
}
constexpr std::array<c128row, 108> code128_table = buildtable();
static_assert(code128_table[33].a == 'A' && code128_table[65].a == 1 && code128_table[65].b == 'a');

int32_t lower(int32_t c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }
bool isdigit8(int32_t c) { return c >= '0' && c <= '9'; }

void push(c128_reader* r, int32_t c) {
    if (r->stackcount < 2) r->stack[r->stackcount++] = static_cast<uint8_t>(c);
}
} // namespace

int32_t c128_open(c128_reader* r, int32_t subsetletter, int32_t length, const char* data) {
    *r = c128_reader{};
    r->subset = lower(subsetletter);
    r->length = length;
    r->data = reinterpret_cast<const uint8_t*>(data);
    if (length == 0) push(r, C128_END);
    push(r, (lower(subsetletter) - 'a' + 'A') + 128);
    return 1;
}

int32_t c128_close(c128_reader*) { return 1; }

int32_t c128_getc(c128_reader* r, int32_t* out) {
    if (r->stackcount > 0) {
        *out = r->stack[--r->stackcount];
        return 1;
    }
    if (r->pos < r->length) {
        *out = r->data[r->pos++];
        if (r->pos == r->length) push(r, C128_END);
        return 1;
    }
    return 0;
}

int32_t c128_peek(c128_reader* r, int32_t* out) {
    if (r->stackcount > 0) {
        *out = r->stack[r->stackcount - 1];
        return 1;
    }
    if (r->pos < r->length) {
        *out = r->data[r->pos];
        return 1;
    }
    return 0;
}

namespace {
// A digit with no digit after it in subset C cannot be printed there (a pair
// symbol would read back with a 0 added): it is printed in subset B after a
// code change. When the data themselves change to A or B next, that change is
// printed first and the digit follows in the new subset. Otherwise, when data
// follow, a CODE C after the digit returns to subset C, so every later byte
// is read in the subset the data were written for. `next` is the byte after
// the digit (the end marker at the end of the data). The change is returned
// as this symbol; the digit is pushed back to be read next.
int32_t c128_lonedigit(c128_reader* r, int32_t digit, int32_t next, int32_t* subsetout,
                       int32_t* valueout) {
    if (next == 0xE1 || next == 0xE2) {
        c128_getc(r, &next);
        r->subset = next == 0xE1 ? 'a' : 'b';
    } else {
        if (next == C128_END)
            r->lonelast = 1;
        else
            push(r, 0xE3);
        next = 0xE2;
        r->subset = 'b';
    }
    push(r, digit);
    *subsetout = 'c';
    *valueout = next;
    return 1;
}
} // namespace

int32_t c128_next(c128_reader* r, int32_t* subsetout, int32_t* valueout) {
    *subsetout = r->subset;
    int32_t c = 0;
    if (!c128_getc(r, &c)) return 0;
    int32_t value = c;
    if (r->subset == 'c' && c < 128) {
        int32_t next = C128_END; // stays so when nothing follows
        const bool paired = c128_peek(r, &next) && isdigit8(next);
        if (isdigit8(c) && !paired) return c128_lonedigit(r, c, next, subsetout, valueout);
        // A digit pair; a byte that is no digit has no value in subset C.
        value = isdigit8(c) ? 10 * (c - '0') : 0xFF;
        if (value != 0xFF && paired) {
            c128_getc(r, &next);
            value += next - '0';
        }
    }
    if (r->shift) {
        r->shift = 0;
        r->subset = r->subset == 'a' ? 'b' : 'a';
    }
    switch (c) {
    case C128_SHIFT:
        if (r->subset == 'a' || r->subset == 'b') {
            r->shift = 1;
            r->subset = r->subset == 'a' ? 'b' : 'a';
        } else {
            r->shift = 0;
        }
        break;
    case 0xC1: case 0xE1: r->subset = 'a'; break;
    case 0xC2: case 0xE2: r->subset = 'b'; break;
    case 0xC3: case 0xE3: r->subset = 'c'; break;
    default: break;
    }
    *valueout = value;
    return 1;
}

int32_t code128_cindex(int32_t subsetletter, int32_t byte) {
    const int32_t set = lower(subsetletter);
    for (int32_t v = 0; v < 108; ++v) {
        const c128row& r = code128_table[v];
        if ((set == 'a' && (r.a == byte || (v <= 95 && r.b == byte))) ||
            (set == 'b' && r.b == byte) || (set == 'c' && r.c == byte))
            return v;
    }
    return -1;
}

int32_t Code128Access(int32_t subsetletter, int32_t value) {
    if (value < 0 || value > 107) return -1;
    const c128row& r = code128_table[value];
    switch (subsetletter) {
    case 'a': return r.a;
    case 'b': return r.b;
    case 'c': return r.c;
    default: return -1;
    }
}

const uint8_t* code128_pattern(int32_t value) {
    return code128_table[value >= 0 && value < 108 ? value : 107].cls;
}

kv_status kv_c128_cmap(kv_glor* s, kv_mapctx* m, int32_t subset, int32_t value) {
    const int32_t v = code128_cindex(subset, value);
    if (v < 0) return kv_badcmap(s, m, 6, code128_pattern(0));
    kv_status st = kv_mapbarlist(s, m, 6, code128_pattern(v));
    // The stop pattern is 13 modules: its six elements and a final 2-module bar.
    if (value == C128_END) jerr_uperr(&st, kv_mapunit(s, m, 1, 1));
    return st;
}

kv_status kv_c128_map(kv_glor* s, kv_mapctx* m) {
    const int32_t start = m->field->subtype != 0 ? m->field->subtype : 'B';
    c128_reader r;
    c128_open(&r, start, m->charcount, m->field->text.get());
    kv_status st = KV_SUCCESS;
    int32_t subset = 0;
    int32_t value = 0;
    while (m->cursor < kv_clipright(m) && c128_next(&r, &subset, &value))
        jerr_uperr(&st, kv_c128_cmap(s, m, subset, value));
    c128_close(&r);
    return st;
}
