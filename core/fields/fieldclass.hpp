// What the field engine knows of each field type: the mapper that draws it
// and, for two-dimensional symbols, the construction hook and the encoder's
// image size.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"
#include "core/fields/fieldmap.hpp"

struct kv_fieldclass {
    int32_t type;
    kv_status (*map)(kv_glor* s, kv_mapctx* m);
    // Two-dimensional types: builds the encoder state into field->symbol.
    kv_status (*make2)(kv_glor* s, kv_field* f);
    // Two-dimensional types: symbol-frame width and depth in dots.
    void (*imagesize)(const kv_field* f, int32_t* wide, int32_t* deep);
};

// The entry of `type`, or null for a type the engine cannot draw.
const kv_fieldclass* kv_fieldclassof(int32_t type);
