// Epson ESC/P driver, shared by the 24-pin (LQ) and 9-pin (MX/FX/RX) builds:
// follows the printer language to know where the head is, and prints the
// pending fields as bit-image bands whenever the paper advances.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "drivers/common/band.hpp"
#include "drivers/common/kit.hpp"

// Printer state the driver tracks besides the shared geometry.
struct kv_epson_work {
    int32_t dblwide;    // double width in force (SO, ESC SO: 1; ESC W, ESC !: 3)
    int32_t condensed;  // condensed in force (3)
    int32_t lqunits;    // ESC \ distances are in 1/180 inch
    int32_t elite;      // 12 characters per inch
    int32_t lastwidth;  // width of the last printable character, for BS
    int32_t extraspace; // dots added after each character (ESC SP)
    int32_t gmode_k;    // bit-image modes that ESC K, L, Y, Z stand for
    int32_t gmode_l;
    int32_t gmode_y;
    int32_t gmode_z;
    int32_t ntabs;  // horizontal tab stops stored in `tabstops`
    int32_t nvtabs; // vertical tab stops last given (only counted)
    int32_t tabstops[32];
};

// The band: two planes of 780 band columns, one byte per column, bit 7 = top
// row. A band column is two dot columns (plane 0 left, plane 1 right).
inline constexpr int32_t KV_EPSON_BANDCOLS = 780;
inline constexpr int32_t KV_EPSON_BANDROWS = 8;
inline constexpr kv_bandgeom kv_epson_geom = {
    KV_EPSON_BANDROWS, KV_EPSON_BANDCOLS, 2, KV_BAND_COLUMNS, 8, 1};
static_assert(kv_bandfits(kv_epson_geom));

// Reads and sends bytes the standard way; command Z means nothing here.
inline constexpr kv_lgetc_fn kv_epson_lgetc = kv_std_lgetc;
inline constexpr kv_lprintc_fn kv_epson_lprintc = kv_std_lprintc;
inline constexpr kv_specialcmd_fn kv_epson_specialcmd = kv_std_specialcmd;
kv_status kv_epson_initprn(kv_glor* s);
kv_status kv_epson_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                             int32_t density);
kv_status kv_epson_qoutc(kv_glor* s, int32_t c);
// The end of the input: the pending fields are printed as far as they reach.
kv_status kv_epson_endinput(kv_glor* s);

// The driver entry record of the Epson builds: printer code 400 (LQ, 24-pin)
// or 384 (MX/FX/RX, 9-pin).
constexpr kv_prnslots kv_epson_slots(int32_t prncode) {
    return {
        prncode, kv_epson_lgetc, kv_epson_lprintc,   kv_epson_initprn, kv_epson_specialcmd, nullptr,
        nullptr, nullptr,        kv_epson_setregion, kv_epson_qoutc,   kv_epson_endinput};
}

// True on the 24-pin build.
inline bool kv_epson_is24pin(const kv_glor* s) {
    return s->prncode == 400 || s->prncode == 401;
}
