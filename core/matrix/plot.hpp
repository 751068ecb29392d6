// core/matrix, layer 2 (2-D encoders, Galois, module bitmap, bit stream); *_field hooks: layer 4.
// The plot callback through which the two-dimensional encoders paint: one
// call per dark rectangle, in dots, in the symbol's own upright frame. The
// result is a status code (odd = success).
#pragma once

#include <cstdint>

using kv_plotfn = uint32_t (*)(void* context, int32_t x, int32_t y, int32_t w, int32_t h);
