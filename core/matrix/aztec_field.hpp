// The field engine's side of Aztec symbols: building the encoder for a field,
// its image size and painting it into the band.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"
#include "core/fields/fieldmap.hpp"

// Creates the field's encoder from the current parameters and its (escaped)
// text, and draws the symbol.
kv_status kv_fieldmake2_aztec(kv_glor* s, kv_field* f);
// Paints the field's symbol through kv_callback_plotf; always succeeds.
kv_status kv_aztec_map(kv_glor* s, kv_mapctx* m);
// Symbol-frame width and depth in dots (0 without a symbol).
void kv_aztec_imagesize(const kv_field* f, int32_t* wide, int32_t* deep);
