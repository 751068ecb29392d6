// The field engine's side of PDF417 (field type 12): building the symbol
// when the field is made, its size, and painting it into a band.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"
#include "core/fields/fieldmap.hpp"

// Allocates and builds the field's symbol from its (escaped) text and
// parameters: MEMOVFL, IVCHK, STROVFL, IVBARC or the unmapped encoder status.
kv_status kv_fieldmake2_pdf417(kv_glor* s, kv_field* f);
// Paints the field's symbol through kv_callback_plotf; always succeeds.
kv_status kv_pdf417_map(kv_glor* s, kv_mapctx* m);
// Symbol-frame width and depth of the field's symbol, dots.
void kv_pdf417_imagesize(const kv_field* f, int32_t* wide, int32_t* deep);
