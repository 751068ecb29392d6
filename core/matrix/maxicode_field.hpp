// The field engine's side of MaxiCode (field type 13): building the symbol
// from a field's data and painting it into the band.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"
#include "core/fields/fieldmap.hpp"

// Allocates and builds the symbol into field->symbol. The subset letter picks
// the mode ('2' to '6'; anything else chooses 2 or 3 from the postal code).
// MEMOVFL, IVBARC (malformed primary fields; the field keeps an empty
// symbol), STROVFL (the data do not fit).
kv_status kv_fieldmake2_maxicode(kv_glor* s, kv_field* f);
// Paints the field's symbol through kv_callback_plotf; always succeeds.
kv_status kv_maxicode_map(kv_glor* s, kv_mapctx* m);
// The symbol's size in dots (0 x 0 without a symbol).
void kv_maxicode_imagesize(const kv_field* f, int32_t* wide, int32_t* deep);
