// HP LaserJet+ (PCL) driver. A page printer keeps its own cursor, so the
// driver tracks no position: every field is drawn as soon as it is made, at
// the printer's cursor, as raster graphics or as filled rectangles (rules),
// between a cursor push and a pop. The byte emulation only steps over escape
// sequences, so that the data blocks inside them are never taken for
// delimiters or controls, and optionally thins out carriage returns and line
// feeds.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "drivers/common/band.hpp"
#include "drivers/common/kit.hpp"

// Where the escape-sequence stepper stands between two bytes.
enum kv_hplaser_escstate : int32_t {
    KV_HPESC_NONE = 0, // not inside a sequence
    KV_HPESC_START,    // ESC passed: the next byte tells the kind of sequence
    KV_HPESC_GROUP,    // parameterised character passed: the group byte follows
    KV_HPESC_SIGN,     // a value field begins: sign, digit or its letter
    KV_HPESC_DIGITS,   // inside the value's digits
    KV_HPESC_FRACTION, // after the value's decimal point
    KV_HPESC_DATA,     // inside a data block
};

// The driver's private record in the state's work area.
struct kv_hplaser_work {
    int32_t rulemode; // nonzero: fields are drawn as rectangles (command ZR<n>)
    int32_t rulex;    // cursor, in band dots from the field's corner, while
    int32_t ruley;    // a field is drawn as rectangles

    // The escape sequence being stepped over; kept here so that a sequence
    // cut by the end of one run of input resumes with the next.
    int32_t escstate;  // kv_hplaser_escstate
    int32_t escp;      // parameterised character ("*", "&", "(", ...)
    int32_t escg;      // group character ("b", "p", "s", ...)
    int32_t escvalue;  // the value field's digits, saturating above any count
    int32_t escdigits; // how many digits the value field had (saturating)
    int32_t escdata;   // bytes of the data block still to pass
    int32_t escmore;   // a parameter follows the data block (lower-case letter)
    int32_t stepping;  // the stepper is reading: lgetc must not enter it again
};

// The band: 8 rows of 413 bytes (3304 dots), one bit per dot, bit 7 leftmost.
inline constexpr int32_t KV_HPLASER_BANDROWS = 8;
inline constexpr int32_t KV_HPLASER_ROWBYTES = 413;
inline constexpr int32_t KV_HPLASER_BANDDOTS = 8 * KV_HPLASER_ROWBYTES;
// Widest raster a field is sent with, in band dots.
inline constexpr int32_t KV_HPLASER_MAXWIDTH = 3300;
inline constexpr kv_bandgeom kv_hplaser_geom = {
    KV_HPLASER_BANDROWS, KV_HPLASER_BANDDOTS, 1, KV_BAND_ROWS, 8, 1};
static_assert(kv_bandfits(kv_hplaser_geom) &&
              kv_bandrowbytes(kv_hplaser_geom) == KV_HPLASER_ROWBYTES);

// PCL strings of the driver.
inline constexpr char kv_hplaser_resetqstr[] = "\033E";       // printer reset
inline constexpr char kv_hplaser_cpushqstr[] = "\x1b&f0S";    // push the cursor
inline constexpr char kv_hplaser_cpopqstr[] = "\x1b&f1S";     // pop the cursor
inline constexpr char kv_hplaser_gdensityqstr[] = "\x1b*t";   // raster resolution: dpi "R"
inline constexpr char kv_hplaser_strasterqstr[] = "\x1b*r1A"; // raster at the cursor
inline constexpr char kv_hplaser_graphcmdqstr[] = "\x1b*b";   // one row: count "W" bytes
inline constexpr char kv_hplaser_ndrasterqstr[] = "\x1b*rB";  // end raster graphics
inline constexpr char kv_hplaser_rectqstra[] = "\x1b*c";      // rectangle: w "a" h "b" "0P"

kv_status kv_hplaser_lgetc(kv_glor* s, int32_t* c);
// Every byte is sent, also after the end of the input: the only bytes sent
// then are ones that were read before it (padding of a sequence closed by the
// last byte, a delimiter that opened nothing).
inline constexpr kv_lprintc_fn kv_hplaser_lprintc = kv_std_lprintc;
kv_status kv_hplaser_initprn(kv_glor* s);
kv_status kv_hplaser_specialcmd(kv_glor* s, char* text);
kv_status kv_hplaser_lplotcode(kv_glor* s);
kv_status kv_hplaser_lrelpos(kv_glor* s, int32_t dx, int32_t dy);
kv_status kv_hplaser_lsetrect(kv_glor* s, int32_t width, int32_t height);
kv_status kv_hplaser_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h,
                               int32_t density);
kv_status kv_hplaser_qoutc(kv_glor* s, int32_t c);

// The driver entry record of the HP LaserJet+ build (printer code 768).
inline constexpr kv_prnslots kv_hplaser_slots = {
    768,
    kv_hplaser_lgetc,
    kv_hplaser_lprintc,
    kv_hplaser_initprn,
    kv_hplaser_specialcmd,
    kv_hplaser_lplotcode,
    kv_hplaser_lrelpos,
    kv_hplaser_lsetrect,
    kv_hplaser_setregion,
    kv_hplaser_qoutc,
};
