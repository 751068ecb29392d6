// Band output of the Epson driver: pending fields are rendered eight dot rows
// at a time into the band bitmap and sent as bit-image graphics at each
// field's column while the paper advances.
#include <array>
#include <cstdint>

#include "core/driver/printops.hpp"
#include "core/fields/fieldqueue.hpp"
#include "core/fields/fieldrender.hpp"
#include "drivers/epson/epson_internal.hpp"

namespace {
constexpr int32_t ESC = 27;

uint8_t* plane(kv_glor* s, int p) { return s->bandmap + p * KV_EPSON_BANDCOLS; }

kv_status send(kv_glor* s, int32_t c) { return s->lprintc(s, c); }

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
} // namespace

void kv_epson_wrapvpos(kv_glor* s) {
    if (s->pagelen > 0 && s->vpos > s->pagelen) s->vpos = (s->vpos - 1) % s->pagelen + 1;
}

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
    kv_status st = send(s, '\r');
    int32_t rest = p < 0 ? 0 : p;
    if (s->pitch > 0) {
        while (rest >= s->pitch && kv_ok(st)) {
            st = send(s, ' ');
            rest -= s->pitch;
        }
    }
    jerr_uperr(&st, kv_epson_startgline(s, rest));
    for (int32_t i = 0; i < rest && kv_ok(st); ++i) st = sendcolumn(s, 0);
    s->hpos = p;
    return st;
}

kv_status kv_epson_dumprow(kv_glor* s, int32_t column, int32_t x, int32_t w) {
    kv_status st = kv_epson_sethpos(s, column + 2 * x);
    jerr_uperr(&st, kv_epson_startgline(s, 2 * w));
    const uint8_t* left = plane(s, 0);
    const uint8_t* right = plane(s, 1);
    for (int32_t c = 0; c < w && kv_ok(st); ++c) {
        st = sendcolumn(s, left[c]);
        if (kv_ok(st)) st = sendcolumn(s, right[c]);
    }
    return st;
}

kv_status kv_epson_plotnscroll(kv_glor* s, int32_t n) {
    kv_status st = KV_SUCCESS;
    if (n <= 0) return st;
    const int32_t hpos = s->hpos;
    int32_t spacing = s->linespace; // what the printer is set to
    for (int32_t advanced = 0; advanced < n && kv_ok(st);) {
        const int32_t step = n - advanced < KV_EPSON_BANDROWS ? n - advanced : KV_EPSON_BANDROWS;
        kv_fieldcursor cur;
        kv_fieldfirst(s, &cur);
        for (; cur.current != nullptr && kv_ok(st); kv_fieldnext(s, &cur)) {
            kv_field* f = cur.current;
            int32_t x = f->x;
            int32_t width = f->width;
            // A field reaching left of the margin is printed from the margin on.
            if (f->column + 2 * x < 0) {
                const int32_t cut = (-(f->column + 2 * x) + 1) / 2;
                x += cut;
                width -= cut;
            }
            const int32_t bottom = f->y + f->depth;
            kv_rect band{x, 0, width < KV_EPSON_BANDCOLS ? width : KV_EPSON_BANDCOLS,
                         bottom < KV_EPSON_BANDROWS ? bottom : KV_EPSON_BANDROWS};
            if (width > 0 && band.w > 0 && bottom > 0 && f->y < band.h) {
                kv_clearmap(s);
                st = kv_imageone(s, &band, f, -x, 0);
                if (kv_ok(st)) st = kv_epson_dumprow(s, f->column, x, band.w);
            }
        }
        kv_scrollall(s, step);
        if (kv_failed(st)) break;
        if (step != spacing) {
            st = kv_epson_setvspace(s, step);
            spacing = step;
        }
        jerr_uperr(&st, send(s, '\n'));
        s->vpos += step;
        advanced += step;
    }
    kv_epson_wrapvpos(s);
    if (spacing != s->linespace) jerr_uperr(&st, kv_epson_setvspace(s, s->linespace));
    jerr_uperr(&st, kv_epson_sethpos(s, hpos));
    return st;
}

kv_status kv_epson_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                             int32_t density) {
    const int32_t top = y < 0 ? 0 : y;
    const int32_t bottom = y + h > KV_EPSON_BANDROWS ? KV_EPSON_BANDROWS : y + h;
    const int32_t left = x < 0 ? 0 : x;
    const int32_t right = x + w > KV_EPSON_BANDCOLS ? KV_EPSON_BANDCOLS : x + w;
    if (top >= bottom || left >= right) return KV_SUCCESS;
    const uint8_t mask =
        static_cast<uint8_t>((0xFF >> top) & ~(0xFF >> bottom)); // rows top..bottom-1, bit 7 = row 0
    uint8_t* p0 = plane(s, 0);
    uint8_t* p1 = plane(s, 1);
    for (int32_t c = left; c < right; ++c) {
        p0[c] |= mask;
        if (density != 0) p1[c] |= mask;
    }
    return KV_SUCCESS;
}
