// Check characters appended to a field's text at construction, and the UPC-A
// to UPC-E rewriting.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/driver/kvglor.hpp"

// Appends the check characters of `check` for this type to `text` (capacity
// `cap`, room for at least four more characters). Always succeeds.
kv_status kv_chkcat(kv_glor* s, char* text, size_t cap, int32_t check, int32_t type,
                    int32_t subtype);
// Appends the Code 128 check character for the given start subset letter.
void kv_c128_chkcat(int32_t subsetletter, int32_t length, char* text, size_t cap);

// UPC-A (11 or 12 digits) to UPC-E (7 or 8) by zero suppression, in place.
void kv_upc_a2e(char* text);
// UPC-E (7 or 8 digits) back to UPC-A, in place (text holds 13 bytes at least).
void kv_upc_expand(char* text);
// Either form to the canonical UPC-A number.
void kv_upc_chkprep(char* text);
