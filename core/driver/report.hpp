// Reporting failures: each facility failure once, with its message and the
// input line; any other failure stops the translation silently.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"

// Reports `code` unless it is a success or a failure is already recorded in
// the state's `status`. Returns `code`.
kv_status kv_flagerr(kv_glor* s, kv_status code);
kv_status kv_showerr(kv_glor* s, kv_status code, int32_t line, char severity,
                     const char* mnemonic, const char* message);
