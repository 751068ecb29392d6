// IBM Proprinter driver: follows the Proprinter control language to know
// where the head is, and prints the pending fields as 8-pin bit-image bands
// whenever the paper advances.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "drivers/common/band.hpp"
#include "drivers/common/kit.hpp"

// Printer state the driver tracks besides the shared geometry.
struct kv_ibm_work {
    int32_t dblwide;       // bit 0: double width for the line (SO); 3: ESC W, 2 once its line ended
    int32_t condensed;     // condensed in force (3)
    int32_t lastwidth;     // width of the last printable character, for BS
    int32_t savedspace;    // line spacing stored by ESC A, put in force by ESC 2 (dots)
    int32_t spacing216;    // line spacing the application set, in 1/216 inch
    int32_t printer216;    // line spacing the printer has now, in 1/216 inch
    int32_t ntabs;         // horizontal tab stops in `tabstops`
    int32_t nvtabs;        // vertical tab stops in `vtabstops`
    int32_t tabstops[32];  // character columns from 0
    int32_t vtabstops[66]; // dots from the top of the page
};

// The band: two planes of 780 band columns, one byte per column, bit 7 = top
// pin. A band column is two dot columns at 120 per inch (plane 0 left, plane
// 1 right); plane 1 is marked only at nonzero density.
inline constexpr int32_t KV_IBM_BANDCOLS = 780;
inline constexpr int32_t KV_IBM_BANDROWS = 8;
inline constexpr kv_bandgeom kv_ibm_geom = {
    KV_IBM_BANDROWS, KV_IBM_BANDCOLS, 2, KV_BAND_COLUMNS, 8, 1};
static_assert(kv_bandfits(kv_ibm_geom));

// Reads and sends bytes the standard way; command Z means nothing here.
inline constexpr kv_lgetc_fn kv_ibm_lgetc = kv_std_lgetc;
inline constexpr kv_lprintc_fn kv_ibm_lprintc = kv_std_lprintc;
inline constexpr kv_specialcmd_fn kv_ibm_specialcmd = kv_std_specialcmd;
kv_status kv_ibm_initprn(kv_glor* s);
kv_status kv_ibm_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h, int32_t density);
kv_status kv_ibm_qoutc(kv_glor* s, int32_t c);
// The end of the input: the pending fields are printed as far as they reach.
kv_status kv_ibm_endinput(kv_glor* s);

// The driver entry record of the Proprinter build, printer code 256.
inline constexpr kv_prnslots kv_ibm_slots = {
    256,     kv_ibm_lgetc, kv_ibm_lprintc,   kv_ibm_initprn, kv_ibm_specialcmd, nullptr,
    nullptr, nullptr,      kv_ibm_setregion, kv_ibm_qoutc,   kv_ibm_endinput,
};
