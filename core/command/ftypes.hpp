// The selectable field types: their names and default parameter sets.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"

// Field type codes.
enum : int32_t {
    KV_FT_TEXT = 1,
    KV_FT_CODE39 = 2,
    KV_FT_CODE128 = 3,
    KV_FT_I2OF5 = 4,
    KV_FT_S2OF5 = 5,
    KV_FT_MSI = 6,
    KV_FT_CODABAR = 7,
    KV_FT_UPC = 8,
    KV_FT_EAN = 9,
    KV_FT_POSTNET = 10,
    KV_FT_RESERVED = 11,
    KV_FT_PDF417 = 12,
    KV_FT_MAXICODE = 13,
    KV_FT_AZTEC = 14,
    KV_FT_DATAMATRIX = 15,
};

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
