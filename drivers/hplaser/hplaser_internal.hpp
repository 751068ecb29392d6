// Operations shared between the emulation and the field output of the HP
// LaserJet+ driver, and reachable by its tests.
#pragma once

#include <cstdint>

#include "drivers/hplaser/hplaser.hpp"

inline kv_hplaser_work* kv_hplaser_w(kv_glor* s) {
    return kv_drvwork<kv_hplaser_work>(s);
}

kv_status kv_hplaser_initinfo(kv_glor* s);
// Reads a byte through lgetc and sends it through lprintc. A read that meets
// the end of the input sends nothing: the byte it returns was never input.
kv_status kv_hplaser_lgetnprintc(kv_glor* s, int32_t* c);
// Sends the line feeds held back so far; the CR and LF counters restart.
kv_status kv_hplaser_sendheld(kv_glor* s);
// Takes one byte of an escape sequence (already sent) and moves the stepper on.
void kv_hplaser_escfeed(kv_hplaser_work* w, int32_t b);
// Reads and sends bytes until the escape sequence being stepped over is done
// or the input ends.
kv_status kv_hplaser_stepesc(kv_glor* s);
// Sends `rows` band rows as raster rows of the bytes holding `w` band dots.
kv_status kv_hplaser_dumprow(kv_glor* s, int32_t w, int32_t rows);
// Printer dots per band dot for a field density: 4 at density 0 .. 1 at 3.
inline int32_t kv_hplaser_scale(int32_t density) {
    if (density < 0) density = 0;
    return 4 - (density < 3 ? density : 3);
}
