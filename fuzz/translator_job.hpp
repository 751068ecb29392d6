// How the translator fuzz targets turn arbitrary bytes into a job: the first
// line (up to its first LF, at most 300 bytes) is the KEVRA_INIT_CMD text,
// the rest is the print job, run in-process with messages off.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/run/xlator.hpp"

// The first line of the input; *rest is where the job starts.
inline std::string kv_fuzz_initline(const uint8_t* data, size_t size, size_t* rest) {
    size_t split = 0;
    while (split < size && split < 300 && data[split] != '\n') ++split;
    *rest = split < size ? split + 1 : size;
    return std::string(reinterpret_cast<const char*>(data), split);
}

// Runs the translator on `job` with `init` as KEVRA_INIT_CMD (a NUL in it,
// which the environment cannot carry, becomes a space).
inline void kv_fuzz_runjob(std::string init, const uint8_t* job, size_t n) {
    static std::FILE* sink = std::fopen("/dev/null", "w");
    for (char& c : init)
        if (c == '\0') c = ' ';
    setenv("KEVRA_INIT_CMD", init.c_str(), 1);
    setenv("KEVRA_VERBOSE", "Q", 1);
    std::string bytes(reinterpret_cast<const char*>(job), n);
    std::FILE* in =
        fmemopen(bytes.empty() ? nullptr : bytes.data(), bytes.empty() ? 1 : bytes.size(), "r");
    if (bytes.empty()) std::fgetc(in);
    xlator_run(in, sink, sink);
    std::fclose(in);
}
