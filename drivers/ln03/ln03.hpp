// DEC LN03+ driver: a page printer that takes ANSI/DEC sequences and sixel
// graphics. It keeps no print position: each field is printed as soon as it
// is made, at the printer's active position, as one sixel string moved to in
// pixel units and moved back from. The byte emulation parses DEC sequences
// only to pass them on whole, to follow the application's positioning unit
// mode and size unit (so the driver's own switches are undone exactly), and
// to thin out carriage returns and line feeds on request.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "drivers/common/dec_parser.hpp"
#include "drivers/common/kit.hpp"
#include "drivers/common/sixel.hpp"

// The driver's private record in the state's work area.
struct kv_ln03_work {
    kv_decparser parser;
    int32_t unitcode; // size unit in force: '2' (decipoints) or '7' (pixels)
    int32_t pumset;   // the application has switched positioning unit mode on
    // While fields are sent: how far the active position has been moved from
    // where the application left it, in pixels, and the current field's scale.
    int64_t movedx;
    int64_t movedy;
    int32_t scale;
};

// The band: one sixel row of up to 3300 columns, one byte per column, bit 0
// = top row.
inline constexpr int32_t KV_LN03_BANDCOLS = 3300;
inline constexpr kv_bandgeom kv_ln03_band = kv_sixelband(KV_LN03_BANDCOLS, 1);
static_assert(kv_bandfits(kv_ln03_band));

// Printer strings of the driver.
inline constexpr char kv_ln03_crlfqstr[] = "\r\n";
inline constexpr char kv_ln03_csiqstr[] = "\x1b[";
inline constexpr char kv_ln03_strqstr[] = "\x1b[!p";       // DECSTR: soft reset
inline constexpr char kv_ln03_gstartqstr[] = "\x1bP0;0;";  // sixel introducer; grid size follows
inline constexpr char kv_ln03_gendqstr[] = "\x1b\\";       // ST
inline constexpr char kv_ln03_setpumqstr[] = "\x1b[11h";   // PUM on
inline constexpr char kv_ln03_resetpumqstr[] = "\x1b[11l"; // PUM off

kv_status kv_ln03_initprn(kv_glor* s);
kv_status kv_ln03_lplotcode(kv_glor* s);
kv_status kv_ln03_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                            int32_t density);
kv_status kv_ln03_qoutc(kv_glor* s, int32_t c);

// The driver's ten slots, for the program, the tests and the fuzz target.
inline constexpr kv_prnslots kv_ln03_slots = {
    640,     kv_dec_lgetc, kv_std_lprintc,    kv_ln03_initprn, kv_std_specialcmd, kv_ln03_lplotcode,
    nullptr, nullptr,      kv_ln03_setregion, kv_ln03_qoutc,
};

// Internals reachable by the tests.
inline kv_ln03_work* kv_ln03_w(kv_glor* s) {
    return kv_drvwork<kv_ln03_work>(s);
}
kv_status kv_ln03_initinfo(kv_glor* s);
// Hands one byte to the sequence parser, past the line-feed holding.
kv_status kv_ln03_dispatch(kv_glor* s, int32_t c);
// Relative move of the active position: HPR/HPB and VPR/VPB.
kv_status kv_ln03_relpos(kv_glor* s, int32_t dx, int32_t dy);
// Sends band columns 0 .. w - 1 as one run-length encoded sixel row.
kv_status kv_ln03_dumprow(kv_glor* s, int32_t w);
// Printer dots per band dot for a field density: 4 at density 0 .. 1 at 3.
inline int32_t kv_ln03_scale(int32_t density) {
    if (density < 0) density = 0;
    return 4 - (density < 3 ? density : 3);
}
