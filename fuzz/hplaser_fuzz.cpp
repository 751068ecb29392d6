// The whole translator with the HP LaserJet+ driver, in-process, on arbitrary
// bytes. The first line of the input (up to its first LF, at most 300 bytes)
// becomes KEVRA_INIT_CMD; a leading "!" on it is taken off and turns on CR
// squeezing and LF holding, a leading "#" keeps form feeds (no reset). The
// rest is the print job.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "drivers/hplaser/hplaser.hpp"
#include "fuzz/translator_job.hpp"

const int32_t kv_printercode = 768;
const char* const kv_printername = "HP LaserJet+ version.";
const kv_prnslots kv_prnentry = kv_hplaser_slots;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t rest = 0;
    std::string init = kv_fuzz_initline(data, size, &rest);
    bool squish = false, keepff = false;
    while (!init.empty() && (init[0] == '!' || init[0] == '#')) {
        (init[0] == '!' ? squish : keepff) = true;
        init.erase(0, 1);
    }
    setenv("KEVRA_SQUISH_CR", squish ? "y" : "n", 1);
    setenv("KEVRA_RESET_Z", keepff ? "n" : "y", 1);
    kv_fuzz_runjob(init, data + rest, size - rest);
    return 0;
}
