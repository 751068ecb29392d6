// Field-side hooks of DataMatrix fields (type 15): building the symbol from
// a field's data and parameters, its size, and painting it into a band.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"
#include "core/fields/fieldmap.hpp"

// Builds the field's symbol into `symbol` from its text (escapes resolved,
// the text cut to the resolved length) and parameters.
kv_status kv_fieldmake2_datamtx(kv_glor* s, kv_field* f);
// Paints the field's symbol through kv_callback_plotf. Always succeeds.
kv_status kv_datamtx_map(kv_glor* s, kv_mapctx* m);
// Symbol-frame width and depth of the field's symbol, in dots.
void kv_datamtx_imagesize(const kv_field* f, int32_t* wide, int32_t* deep);
