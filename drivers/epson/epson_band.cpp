// Band output of the Epson driver: pending fields are rendered eight dot rows
// at a time into the band bitmap and sent as bit-image graphics at each
// field's column while the paper advances.
#include <array>
#include <cstdint>

#include "drivers/common/kit.hpp"
#include "drivers/epson/epson_internal.hpp"

namespace {
constexpr int32_t ESC = 27;

constexpr auto send = kv_send;

// A band byte (bit 7 = top row) as three 24-pin bytes, top first: every band
// row fills three consecutive pins.
constexpr std::array<std::array<uint8_t, 3>, 256> buildtriples() {
    constexpr uint8_t top[8] = {0xE0, 0x1C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00};
    constexpr uint8_t mid[8] = {0x00, 0x00, 0x80, 0x70, 0x0E, 0x01, 0x00, 0x00};
    constexpr uint8_t bot[8] = {0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x38, 0x07};
    std::array<std::array<uint8_t, 3>, 256> t{};
    for (int b = 0; b < 256; ++b) {
        for (int row = 0; row < 8; ++row) {
            if (b & (0x80 >> row)) {
                t[b][0] |= top[row];
                t[b][1] |= mid[row];
                t[b][2] |= bot[row];
            }
        }
    }
    return t;
}
constexpr auto kTriples = buildtriples();
static_assert(kTriples[0x80][0] == 0xE0 && kTriples[0x80][1] == 0 && kTriples[0x80][2] == 0);
static_assert(kTriples[0x01][2] == 0x07 && kTriples[0xFF][1] == 0xFF);

kv_status sendcolumn(kv_glor* s, uint8_t b) {
    if (!kv_epson_is24pin(s)) return send(s, b);
    kv_status st = KV_SUCCESS;
    for (uint8_t t : kTriples[b]) {
        st = send(s, t);
        if (kv_failed(st)) break;
    }
    return st;
}
// The band loop's hooks: the field's slice at its column, ESC A spacing
// sent only when the step differs from what the printer has, and the head
// put back by CR, spaces and empty graphics columns.
kv_status dumpfield(kv_glor* s, const kv_field* f, int32_t x, int32_t w) {
    return kv_epson_dumprow(s, f->column, x, w);
}

kv_status respace(kv_glor* s, int32_t* n, int32_t* current) {
    if (*n == *current) return KV_SUCCESS;
    *current = *n;
    return kv_epson_setvspace(s, *n);
}
} // namespace

const kv_bandops kv_epson_band = {kv_epson_geom, 2, dumpfield, respace, 0, kv_epson_sethpos};

kv_status kv_epson_setvspace(kv_glor* s, int32_t n) {
    kv_status st = send(s, ESC);
    jerr_uperr(&st, send(s, 'A'));
    jerr_uperr(&st, send(s, n));
    return st;
}

kv_status kv_epson_startgline(kv_glor* s, int32_t n) {
    if (n == 0) return KV_SUCCESS;
    kv_status st = send(s, ESC);
    if (kv_epson_is24pin(s)) {
        jerr_uperr(&st, send(s, '*'));
        jerr_uperr(&st, send(s, 33));
    } else if (kv_epson_w(s)->gmode_l == 1) {
        jerr_uperr(&st, send(s, 'L'));
    } else {
        jerr_uperr(&st, send(s, '*'));
        jerr_uperr(&st, send(s, 1));
    }
    jerr_uperr(&st, send(s, n & 255));
    jerr_uperr(&st, send(s, (n >> 8) & 255));
    return st;
}

kv_status kv_epson_sethpos(kv_glor* s, int32_t p) {
    // A 24-pin graphics column is three bytes.
    return kv_headto(s, p, kv_epson_startgline, kv_epson_is24pin(s) ? 3 : 1);
}

kv_status kv_epson_dumprow(kv_glor* s, int32_t column, int32_t x, int32_t w) {
    kv_status st = kv_epson_sethpos(s, column + 2 * x);
    jerr_uperr(&st, kv_epson_startgline(s, 2 * w));
    const uint8_t* left = kv_bandplane(s, kv_epson_geom, 0);
    const uint8_t* right = kv_bandplane(s, kv_epson_geom, 1);
    for (int32_t c = 0; c < w && kv_ok(st); ++c) {
        st = sendcolumn(s, left[c]);
        if (kv_ok(st)) st = sendcolumn(s, right[c]);
    }
    return st;
}

kv_status kv_epson_plotnscroll(kv_glor* s, int32_t n) {
    return kv_bandplot(s, kv_epson_band, n);
}

kv_status kv_epson_endinput(kv_glor* s) {
    return kv_bandendinput(s, kv_epson_band);
}

kv_status kv_epson_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                             int32_t density) {
    return kv_bandsetregion(s, kv_epson_geom, x, y, w, h, density);
}
