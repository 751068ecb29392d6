#include "core/linear/two_of_five_postnet.hpp"

#include <algorithm>
#include <array>

namespace {
// Element classes: 0 narrow, 1 wide; bar first, alternating; 255 ends a list.

// The 2 of 5 digits: five elements, two of them wide (weights 1, 2, 4, 7 and
// parity; the published interleaved and industrial 2 of 5 patterns).
struct row6 {
    char c;
    uint8_t v[5];
};
constexpr row6 code25_table[] = {
    {'0', {0, 0, 1, 1, 0}}, {'1', {1, 0, 0, 0, 1}}, {'2', {0, 1, 0, 0, 1}}, {'3', {1, 1, 0, 0, 0}},
    {'4', {0, 0, 1, 0, 1}}, {'5', {1, 0, 1, 0, 0}}, {'6', {0, 1, 1, 0, 0}}, {'7', {0, 0, 0, 1, 1}},
    {'8', {1, 0, 0, 1, 0}}, {'9', {0, 1, 0, 1, 0}},
};
static_assert(std::size(code25_table) == 10);
static_assert(sizeof(row6) == 6);

constexpr uint8_t codei25_start[] = {0, 0, 0, 0, 255};
constexpr uint8_t codei25_stop[] = {1, 0, 0, 255};
constexpr uint8_t codes25_start[] = {1, 0, 1, 0, 0, 0, 255};
constexpr uint8_t codes25_stop[] = {1, 0, 0, 0, 1, 255};

// POSTNET digits: five bars, 1 full, 0 half; two full bars each (weights
// 7, 4, 2, 1, 0; USPS Publication 25).
constexpr row6 postnet_table[] = {
    {'0', {1, 1, 0, 0, 0}}, {'1', {0, 0, 0, 1, 1}}, {'2', {0, 0, 1, 0, 1}}, {'3', {0, 0, 1, 1, 0}},
    {'4', {0, 1, 0, 0, 1}}, {'5', {0, 1, 0, 1, 0}}, {'6', {0, 1, 1, 0, 0}}, {'7', {1, 0, 0, 0, 1}},
    {'8', {1, 0, 0, 1, 0}}, {'9', {1, 0, 1, 0, 0}},
};
static_assert(std::size(postnet_table) == 10);

int32_t digitvalue(int32_t c) {
    return (c >= '0' && c <= '9') ? c - '0' : -1;
}

// Standard 2 of 5 digits: each of the five classes as a bar followed by a
// narrow space. Row 0 drawn all as bars is the block of a bad character.
constexpr std::array<std::array<uint8_t, 11>, 10> buildstandard() {
    std::array<std::array<uint8_t, 11>, 10> t{};
    for (int d = 0; d < 10; ++d) {
        for (int i = 0; i < 5; ++i) {
            t[d][2 * i] = code25_table[d].v[i];
            t[d][2 * i + 1] = 0;
        }
        t[d][10] = 255;
    }
    return t;
}
constexpr auto kStandard = buildstandard();

// An interleaved pair: bars of the first digit, spaces of the second.
std::array<uint8_t, 11> interleave(int32_t first, int32_t second) {
    std::array<uint8_t, 11> list{};
    for (int i = 0; i < 5; ++i) {
        list[2 * i] = code25_table[first].v[i];
        list[2 * i + 1] = code25_table[second].v[i];
    }
    list[10] = 255;
    return list;
}

// A POSTNET character's elements: five class-0 bars, each followed by a
// class-1 space.
constexpr uint8_t kPostnetChar[] = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 255};
} // namespace

int32_t code25_cindex(int32_t c) {
    return digitvalue(c);
}
int32_t postnet_cindex(int32_t c) {
    return digitvalue(c);
}

void postnet_chkcalc(int32_t length, const char* data, char* out) {
    int32_t sum = 0;
    for (int32_t i = 0; i < length; ++i) {
        if (data[i] >= '0' && data[i] <= '9') sum += data[i] - '0';
    }
    const int32_t r = sum % 10;
    *out = static_cast<char>('0' + (r == 0 ? 0 : 10 - r));
}

kv_status kv_i25_cmap(kv_glor* s, kv_mapctx* m, int32_t firstdigit, int32_t seconddigit) {
    const int32_t a = code25_cindex(firstdigit);
    const int32_t b = code25_cindex(seconddigit);
    if (a < 0 || b < 0) return kv_badcmap(s, m, 10, interleave(0, 0).data());
    return kv_mapbarlist(s, m, 10, interleave(a, b).data());
}

kv_status kv_i25_map(kv_glor* s, kv_mapctx* m) {
    const int32_t* w = m->field->widths;
    const auto* text = reinterpret_cast<const uint8_t*>(m->field->text.get());
    kv_status st = kv_mapbarlist(s, m, 0, codei25_start);

    // An odd count is padded with a leading zero: pair p then holds the
    // characters 2p - 1 and 2p, the first pair '0' and the first character.
    const int32_t pad = m->charcount % 2;
    const int32_t pairs = (m->charcount + 1) / 2;
    int32_t p = 0;
    const int64_t pairwidth = 3LL * w[0] + 3LL * w[1] + 2LL * w[2] + 2LL * w[3];
    const int64_t gap = static_cast<int64_t>(m->clipx) - m->cursor;
    if (pairwidth > 0 && gap > pairwidth) {
        // Skip the pairs that end left of the clip window.
        const int64_t skip = std::min<int64_t>((gap - 1) / pairwidth, pairs);
        m->cursor += static_cast<int32_t>(skip * pairwidth);
        p = static_cast<int32_t>(skip);
    }
    for (; p < pairs && m->cursor < kv_clipright(m); ++p) {
        const int32_t i = 2 * p - pad;
        const int32_t first = i < 0 ? '0' : text[i];
        jerr_uperr(&st, kv_i25_cmap(s, m, first, text[i + 1]));
    }
    m->charpos = std::min(m->charcount, 2 * p - pad);
    if (kv_ok(st)) st = kv_mapbarlist(s, m, 0, codei25_stop);
    return st;
}

kv_status kv_s25_cmap(kv_glor* s, kv_mapctx* m, int32_t digit) {
    const int32_t d = code25_cindex(digit);
    if (d < 0) return kv_badcmap(s, m, 10, kStandard[0].data());
    return kv_mapbarlist(s, m, 10, kStandard[d].data());
}

kv_status kv_s25_map(kv_glor* s, kv_mapctx* m) {
    const int32_t* w = m->field->widths;
    // Three narrow bars, two wide bars, five narrow spaces.
    const int32_t charwidth = 3 * w[0] + 5 * w[1] + 2 * w[2];
    kv_status st = kv_mapbarlist(s, m, 0, codes25_start);
    if (kv_ok(st)) st = kv_codexmap(s, m, kv_s25_cmap, charwidth);
    if (kv_ok(st)) st = kv_mapbarlist(s, m, 0, codes25_stop);
    return st;
}

kv_status kv_pnet_cmap(kv_glor* s, kv_mapctx* m, int32_t halfheight, int32_t fullheight,
                       int32_t c) {
    if (c == '-' || c == ' ') return KV_SUCCESS;
    const int32_t d = postnet_cindex(c);
    kv_status st = KV_SUCCESS;
    if (d < 0) {
        // A block as wide as a digit, at full height.
        m->bartop = 0;
        m->barheight = fullheight;
        return kv_badcmap(s, m, 10, kPostnetChar);
    }
    for (int i = 0; i < 5; ++i) {
        const bool full = postnet_table[d].v[i] != 0;
        // Half bars stand on the same baseline as the full ones.
        m->bartop = full ? 0 : fullheight - halfheight;
        m->barheight = full ? fullheight : halfheight;
        jerr_uperr(&st, kv_mapunit(s, m, 0, 1));
        jerr_uperr(&st, kv_mapunit(s, m, 1, 0));
    }
    m->bartop = 0;
    m->barheight = fullheight;
    return st;
}

kv_status kv_pnet_map(kv_glor* s, kv_mapctx* m) {
    const int32_t full = m->field->height;
    const int32_t half = m->field->indent;
    const auto* text = reinterpret_cast<const uint8_t*>(m->field->text.get());
    m->bartop = 0;
    m->barheight = full;
    kv_status st = kv_mapunit(s, m, 0, 1);
    jerr_uperr(&st, kv_mapunit(s, m, 1, 0));
    for (; m->charpos < m->charcount && m->cursor < kv_clipright(m); ++m->charpos)
        jerr_uperr(&st, kv_pnet_cmap(s, m, half, full, text[m->charpos]));
    if (kv_ok(st)) st = kv_mapunit(s, m, 0, 1);
    return st;
}
