// core/command, layer 6 (command interpreter): sequences, delimiters, parameters.
// The command stream: the loop of one pass over the print stream, the
// recognition of command and data sequences between their delimiters, and the
// replacement of every sequence by as many spaces as it occupied.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/command/qdelims.hpp"
#include "core/driver/kvglor.hpp"

// The pass: every input byte to a sequence or to the driver until the input
// ends; then the driver's endinput slot, when it has one.
kv_status kv_qthrough(kv_glor* s);
kv_status kv_initqthrough(kv_glor* s);

// 1 when c (just read) opens delimiter d; the rest of d is then consumed. A
// doubled single-character delimiter is consumed as one ordinary byte (0).
int kv_triggercheck(kv_glor* s, const char* d, int32_t c);
// Reads a sequence body up to and including its closing delimiter d into
// buffer (capacity bufcap). Fails with STROVFL when `limit` bytes would be
// exceeded; `consumed` counts every byte read; `closed` (if given) tells
// whether the closing delimiter was found (it may be the input's last byte).
kv_status kv_qreaduntil(kv_glor* s, const char* d, int quoting, char* buffer, size_t bufcap,
                        int32_t limit, int32_t* consumed, int* closed);
kv_status kv_qcommand(kv_glor* s);
kv_status kv_qdata(kv_glor* s);
kv_status kv_qusecommands(kv_glor* s, char* body);
// Sends n spaces through qoutc while padding is on.
kv_status kv_qoutpad(kv_glor* s, int32_t n);
