// Rendering one field into the band, and measuring it.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"
#include "core/fields/fieldmap.hpp"
#include "core/fields/rect.hpp"

// Draws the part of `f` inside `band` into the band bitmap; every rectangle
// reaches the region setter shifted by (originx, originy). A bad character
// does not stop the band.
kv_status kv_imageone(kv_glor* s, const kv_rect* band, kv_field* f, int32_t originx,
                      int32_t originy);
kv_status kv_fieldprep(kv_glor* s, const kv_rect* band, kv_mapctx* m, kv_field* f,
                       int32_t originx, int32_t originy, int sizing);
// Calls the mapper of the field's type; INTRNL for a type without one.
kv_status kv_dofmap(kv_glor* s, kv_mapctx* m);
// Sets the field's page width and depth.
kv_status kv_fsizecalc(kv_glor* s, kv_field* f);
