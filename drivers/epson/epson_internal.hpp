// Operations shared between the emulation and the band output of the Epson
// driver.
#pragma once

#include <cstdint>

#include "drivers/epson/epson.hpp"

inline kv_epson_work* kv_epson_w(kv_glor* s) {
    return kv_drvwork<kv_epson_work>(s);
}

kv_status kv_epson_initinfo(kv_glor* s);
// Advances the paper n dots, printing the pending fields band by band.
kv_status kv_epson_plotnscroll(kv_glor* s, int32_t n);
// Moves the head to dot column p from the left margin.
kv_status kv_epson_sethpos(kv_glor* s, int32_t p);
kv_status kv_epson_startgline(kv_glor* s, int32_t n);
kv_status kv_epson_setvspace(kv_glor* s, int32_t n);
kv_status kv_epson_dumprow(kv_glor* s, int32_t column, int32_t x, int32_t w);
// The Epson band for the shared band loop.
extern const kv_bandops kv_epson_band;
