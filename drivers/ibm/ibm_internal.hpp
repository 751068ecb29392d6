// Operations shared between the emulation and the band output of the IBM
// Proprinter driver.
#pragma once

#include <cstdint>

#include "drivers/ibm/ibm.hpp"

inline kv_ibm_work* kv_ibm_w(kv_glor* s) {
    return kv_drvwork<kv_ibm_work>(s);
}

kv_status kv_ibm_initinfo(kv_glor* s);
// End of a printed line: the line's double width (SO) ends.
void kv_ibm_onelinecancel(kv_glor* s);
// Advances the paper n dots, printing the pending fields band by band.
kv_status kv_ibm_plotnscroll(kv_glor* s, int32_t n);
// Moves the head to dot column p from the left margin.
kv_status kv_ibm_sethpos(kv_glor* s, int32_t p);
kv_status kv_ibm_startgline(kv_glor* s, int32_t n);
// Sets the printer's line spacing to n/216 inch.
kv_status kv_ibm_setvspace(kv_glor* s, int32_t n216);
kv_status kv_ibm_dumprow(kv_glor* s, int32_t column, int32_t x, int32_t w);
// The Proprinter band for the shared band loop.
extern const kv_bandops kv_ibm_band;
