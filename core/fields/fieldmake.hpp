// core/fields, layers 3-5: field primitives (3), scaled text (4), field engine (5).
// Field construction: a data sequence and the current parameters become a
// queued field (and optionally its human-readable line).
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/encstatus.hpp"
#include "core/fields/field.hpp"

// Builds and queues the field(s) for `data` (a qstr string) at the given
// print position. IVBARC still queues the field.
kv_status kv_fieldmake(kv_glor* s, int32_t pitch, int32_t hpos, int32_t hdots, const char* data);

// POSTNET: bar sizes and density for this printer and orientation (IVPNET when
// there is no row); no effect on other types.
kv_status kv_fixpnet(kv_glor* s, kv_field* f);

struct kv_pnetfix {
    int32_t prncode;
    int32_t orientation;
    int32_t density;
    int32_t tall;
    int32_t shortbar;
    int32_t width1;
    int32_t width0;
};
// Ends with a row whose printer code is -1.
extern const kv_pnetfix kv_pnetfix_list[];
