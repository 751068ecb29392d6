// The body of the DEC fuzz targets: the whole translator, in-process, on
// arbitrary bytes. The first line of the input (up to its first LF, at most
// 300 bytes) becomes KEVRA_INIT_CMD; a leading "!" on it is taken off and
// turns on CR squeezing and LF holding, a leading "#" leaves out the reset at
// the start (so remembered pitch and spacing are used). The rest is the job.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/driver/xlator.hpp"

inline int dec_fuzz_one(const uint8_t* data, size_t size) {
    static std::FILE* sink = std::fopen("/dev/null", "w");
    size_t split = 0;
    while (split < size && split < 300 && data[split] != '\n') ++split;
    std::string init(reinterpret_cast<const char*>(data), split);
    bool squish = false, noreset = false;
    while (!init.empty() && (init[0] == '!' || init[0] == '#')) {
        (init[0] == '!' ? squish : noreset) = true;
        init.erase(0, 1);
    }
    for (char& c : init)
        if (c == '\0') c = ' ';
    setenv("KEVRA_INIT_CMD", init.c_str(), 1);
    setenv("KEVRA_VERBOSE", "Q", 1);
    setenv("KEVRA_SQUISH_CR", squish ? "y" : "n", 1);
    setenv("KEVRA_RESET_A", noreset ? "n" : "y", 1);
    const size_t rest = split < size ? size - split - 1 : 0;
    std::string job(reinterpret_cast<const char*>(data) + size - rest, rest);
    std::FILE* in = fmemopen(job.empty() ? nullptr : job.data(), job.empty() ? 1 : job.size(), "r");
    if (job.empty()) std::fgetc(in);
    xlator_run(in, sink, sink);
    std::fclose(in);
    return 0;
}
