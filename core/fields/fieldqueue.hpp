// The field queue: pending fields, newest first, from creation until the
// paper has moved past them.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"

struct kv_fieldcursor {
    kv_field* current = nullptr;
    kv_field* previous = nullptr;  // the field before `current` in queue order
    kv_field* following = nullptr; // current->next as read on arrival
};

kv_status kv_fieldadd(kv_glor* s, kv_field* f);
kv_status kv_fieldfirst(kv_glor* s, kv_fieldcursor* c);
kv_status kv_fieldnext(kv_glor* s, kv_fieldcursor* c);
// Deletes `current` (and its encoder state); the cursor moves to `following`.
kv_status kv_fielddel(kv_glor* s, kv_fieldcursor* c);
kv_status kv_fielddelall(kv_glor* s);
// Moves every field up by `dots`; fields wholly above the band are deleted.
kv_status kv_scrollall(kv_glor* s, int32_t dots);
// Dots the paper must still advance for every pending field to be printed.
kv_status kv_maxleft(kv_glor* s, int32_t* out);
kv_status kv_clearmap(kv_glor* s);
// Frees a field that is not (or no longer) in the queue.
void kv_fieldfree(kv_field* f);
