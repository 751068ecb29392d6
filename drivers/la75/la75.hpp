// DEC LA75 driver: an impact printer that takes ANSI/DEC sequences and sixel
// graphics. The driver follows the print column (in character cells of the
// DECSHORP pitch), the line spacing (DECVERP), the page length and the
// vertical position, and when the paper advances past pending fields prints
// each field's band as a sixel string of 6 dot rows. The application's own
// sixel strings are followed too, so that fields can be printed between
// their rows.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "drivers/common/dec_parser.hpp"
#include "drivers/common/kit.hpp"
#include "drivers/common/sixel.hpp"

// The driver's private record in the state's work area.
struct kv_la75_work {
    kv_decparser parser;
};

// The band: one sixel row, two planes of up to 1716 band columns, one byte
// per column (bit 0 = top row). A band column is two sixel columns of the
// 1/144-inch grid, plane 0 then plane 1; plane 1 is written only for fields
// of nonzero density. A pin dot is 1/72 inch across, two sixel columns: plane
// 1's dot reaches into the next band column, so a region's last column keeps
// plane 1 blank and bars print at their width.
inline constexpr int32_t KV_LA75_BANDCOLS = 1716;
inline constexpr kv_bandgeom kv_la75_band = kv_sixelband(KV_LA75_BANDCOLS, 2, 1);
static_assert(kv_bandfits(kv_la75_band));

// DECSHORP pitch code -> characters per inch x 100 (LA75 programmer
// reference, horizontal pitch selections); 9 and 10 select nothing.
inline constexpr int32_t kv_la75_cpitable[] = {1000, 1000, 1200, 1320, 1650, 500,  600, 660,
                                               825,  0,    0,    1710, 855,  1800, 900};
static_assert(sizeof(kv_la75_cpitable) / sizeof(kv_la75_cpitable[0]) == 15);
// DECVERP code -> line spacing in dots of 1/72 inch (6, 6, 8, 12, 2, 3, 4
// lines per inch).
inline constexpr int32_t kv_la75_dpltable[] = {12, 12, 9, 6, 36, 24, 18};
static_assert(sizeof(kv_la75_dpltable) / sizeof(kv_la75_dpltable[0]) == 7);

// Printer strings of the driver.
inline constexpr char kv_la75_crlfqstr[] = "\r\n";
inline constexpr char kv_la75_csiqstr[] = "\x1b[";
inline constexpr char kv_la75_strqstr[] = "\x1b[!p";    // DECSTR: soft reset
inline constexpr char kv_la75_gstartqstr[] = "\x1bP0q"; // sixel graphics, 144 x 72 dpi

kv_status kv_la75_initprn(kv_glor* s);
kv_status kv_la75_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                            int32_t density);
kv_status kv_la75_qoutc(kv_glor* s, int32_t c);
// The end of the input: the pending fields are printed as far as they reach.
kv_status kv_la75_endinput(kv_glor* s);

// The driver's slots, for the program, the tests and the fuzz target.
inline constexpr kv_prnslots kv_la75_slots = {
    512,     kv_dec_lgetc, kv_std_lprintc,    kv_la75_initprn, kv_std_specialcmd, nullptr,
    nullptr, nullptr,      kv_la75_setregion, kv_la75_qoutc,   kv_la75_endinput,
};

// Internals shared by the emulation and the band output, and reachable by
// the tests.
inline kv_la75_work* kv_la75_w(kv_glor* s) {
    return kv_drvwork<kv_la75_work>(s);
}
kv_status kv_la75_initinfo(kv_glor* s);
// Advances the paper *n dots, printing the pending fields band by band; *n
// becomes the distance advanced.
kv_status kv_la75_plotnscroll(kv_glor* s, int32_t* n);
// Sends DECVERP for the table spacing nearest *n (the last on ties); *n
// becomes that spacing.
kv_status kv_la75_setvspace(kv_glor* s, int32_t* n);
// Moves the head to character column `col` at pitch code `p` (DECSHORP when
// p >= 0, CR, spaces).
kv_status kv_la75_sethpos(kv_glor* s, int32_t p, int32_t col);
// Sends band columns 0 .. w - 1 as a sixel string at column `col` of pitch
// `p`, `x` band columns to the right of it.
kv_status kv_la75_dumprow(kv_glor* s, int32_t p, int32_t col, int32_t x, int32_t w);
// The band loop's view of the driver.
extern const kv_bandops kv_la75_bandops;
