// The delimiters of command and data sequences and the sizes of the
// sequences between them: setting and validating a delimiter, reading its
// bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/driver/qstrops.hpp"

inline constexpr int32_t KV_CMDLIMIT = 254; // bytes a command sequence may consume
inline constexpr size_t KV_CMDBUF = 256;
inline constexpr int32_t KV_DATALIMIT = 4096; // bytes a data sequence may consume
inline constexpr size_t KV_DATABUF = 4096;

// Byte i of delimiter d. Delimiter bytes and input bytes compare as unsigned
// values, so a delimiter byte above 127 matches the same input byte.
inline int32_t kv_dlmbyte(const char* d, size_t i) {
    return static_cast<uint8_t>(d[qstr_base + i]);
}

kv_status kv_setcommanddlm(kv_glor* s, char* value);
kv_status kv_setdatadlm(kv_glor* s, char* value);
kv_status kv_setxxxdlm(kv_glor* s, char* target, char* value);
kv_status kv_validatedlm(kv_glor* s, const char* value);
