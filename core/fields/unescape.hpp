// Backslash escapes in two-dimensional symbol data.
#pragma once

#include <cstdint>

// Resolves the escapes of buffer[0..length) in place and returns the new
// length; a NUL follows the result when it is shorter than the input.
int32_t kv_unescapestr(char* buffer, int32_t length);
