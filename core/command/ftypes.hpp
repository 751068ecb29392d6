// The selectable field types: their names and default parameter sets.
#pragma once

#include <cstdint>

#include "core/driver/fieldtypes.hpp"
#include "core/driver/kvglor.hpp"

struct kv_ftypename {
    int32_t type;
    const char* name;
};

// The thirteen named types, ended by {0, nullptr}.
extern const kv_ftypename kv_ftypetable[];
// Default parameter sets, copied into the state's ftypes at initialisation.
extern const kv_ftype kv_defftypes[KV_NFTYPES];

// Code of the type named `name` (exact match), or 0.
int32_t kv_findftype(kv_glor* s, const char* name);
// Makes the parameter set of `type` current; INTRNL if there is none.
kv_status kv_selectftype(kv_glor* s, int32_t type);
