// The body of the DEC fuzz targets: a leading "!" on the first line (the
// KEVRA_INIT_CMD text, see translator_job.hpp) is taken off and turns on CR
// squeezing and LF holding, a leading "#" leaves out the reset at the start
// (so the pitch and spacing remembered from the job before are used).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/translator_job.hpp"

inline int dec_fuzz_one(const uint8_t* data, size_t size) {
    size_t rest = 0;
    std::string init = kv_fuzz_initline(data, size, &rest);
    bool squish = false, noreset = false;
    while (!init.empty() && (init[0] == '!' || init[0] == '#')) {
        (init[0] == '!' ? squish : noreset) = true;
        init.erase(0, 1);
    }
    setenv("KEVRA_SQUISH_CR", squish ? "y" : "n", 1);
    setenv("KEVRA_RESET_A", noreset ? "n" : "y", 1);
    kv_fuzz_runjob(init, data + rest, size - rest);
    return 0;
}
