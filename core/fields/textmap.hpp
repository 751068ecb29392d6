// Scaled text: the human-readable line under or beside a symbol, drawn from
// the built-in 6 x 9 font magnified by the symbol's narrow bar width.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/fieldmap.hpp"

// What the scaler's plot routine draws into: the field being rendered and
// the status collected from the region calls.
struct kv_textblit {
    kv_glor* state = nullptr;
    kv_mapctx* mapctx = nullptr;
    kv_status status = KV_SUCCESS;
};

// The 27-byte glyph of `code`; codes outside 32..127 give the space.
const uint8_t* FontAddr(const kv_glor* state, int32_t code);
// Mapper of text fields: draws the part of the line inside the clip window.
kv_status kv_text_map(kv_glor* state, kv_mapctx* mapctx);
// The scaler's plot routine for text (`target` is a kv_textblit).
void kv_textsetfregion(void* target, int32_t x, int32_t y, int32_t w, int32_t h);
