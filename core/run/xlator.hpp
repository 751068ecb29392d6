// core/run, layer 7 (run driver): ties command stream, field engine and driver slots together.
// The run driver: process entry, passes over the print stream, environment
// configuration, banner and summary.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/driver/kvglor.hpp"

inline constexpr const char* VersionNumber = "7.1.0 Y2K Compliant";

// The process's translator state.
kv_glor* xlator_state();

// Clears the seven configuration words, copies them from `config` when it is
// not null and marks initialisation pending. Always succeeds.
kv_status xlator_init(const int32_t* config);
// One pass of the translator over the print stream.
kv_status xlator_main();
// The whole run over the given streams: banner, passes, summary. Returns the
// final status.
kv_status xlator_run(std::FILE* in, std::FILE* out, std::FILE* err);
// xlator_run over the standard streams.
kv_status jmain();
