// Environment access and small C-string helpers of the run driver.
#pragma once

#include <cstddef>

// Copies the value of environment variable `name` into `buffer` (capacity
// `size` bytes, NUL included); an unset or empty variable copies `dflt`.
// Values longer than the buffer are cut to size - 1 bytes.
void TranslateLogical(const char* name, char* buffer, size_t size, const char* dflt);

// Empties `buffer` and fills it with the variable's value (empty when unset).
// Nothing happens when `size` is 0. Always returns 1.
int kv_envxlate(const char* name, char* buffer, size_t size);

// Upper-cases a NUL-terminated text in place and returns it.
char* strupr(char* text);
