// The whole translator with the HP LaserJet+ driver, in-process, on arbitrary
// bytes. The first line of the input (up to its first LF, at most 300 bytes)
// becomes KEVRA_INIT_CMD; a leading "!" on it is taken off and turns on CR
// squeezing and LF holding, a leading "#" keeps form feeds (no reset). The
// rest is the print job.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/driver/xlator.hpp"
#include "drivers/hplaser/hplaser.hpp"

const int32_t kv_printercode = 768;
const char* const kv_printername = "HP LaserJet+ version.";
const kv_prnslots kv_prnentry = {
    kv_printercode,        kv_hplaser_lgetc,     kv_hplaser_lprintc, kv_hplaser_initprn,
    kv_hplaser_specialcmd, kv_hplaser_lplotcode, kv_hplaser_lrelpos, kv_hplaser_lsetrect,
    kv_hplaser_setregion,  kv_hplaser_qoutc,
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::FILE* sink = std::fopen("/dev/null", "w");
    size_t split = 0;
    while (split < size && split < 300 && data[split] != '\n') ++split;
    std::string init(reinterpret_cast<const char*>(data), split);
    bool squish = false, keepff = false;
    while (!init.empty() && (init[0] == '!' || init[0] == '#')) {
        (init[0] == '!' ? squish : keepff) = true;
        init.erase(0, 1);
    }
    for (char& c : init)
        if (c == '\0') c = ' ';
    setenv("KEVRA_INIT_CMD", init.c_str(), 1);
    setenv("KEVRA_VERBOSE", "Q", 1);
    setenv("KEVRA_SQUISH_CR", squish ? "y" : "n", 1);
    setenv("KEVRA_RESET_Z", keepff ? "n" : "y", 1);
    const size_t rest = split < size ? size - split - 1 : 0;
    std::string job(reinterpret_cast<const char*>(data) + size - rest, rest);
    std::FILE* in = fmemopen(job.empty() ? nullptr : job.data(), job.empty() ? 1 : job.size(), "r");
    if (job.empty()) std::fgetc(in);
    xlator_run(in, sink, sink);
    std::fclose(in);
    return 0;
}
