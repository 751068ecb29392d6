// The status of a two-dimensional encoder's failure, for the field hooks
// that build symbols.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"

// Status of a two-dimensional encoder's error number: 1 MEMOVFL, 3 IVCHK,
// 4 STROVFL, 7 IVBARC; any other number has no message of its own.
kv_status kv_encstatus(int32_t encerror);
