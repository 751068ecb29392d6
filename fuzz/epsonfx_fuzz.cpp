// The whole translator with the Epson MX/FX/RX (9-pin) driver, in-process, on
// arbitrary bytes: the 9-pin build sends its bands one byte a column and
// spaces its lines in 1/72 inch, so it is fuzzed apart from the 24-pin one.
// The first line of the input (up to its first LF, at most 300 bytes) becomes
// KEVRA_INIT_CMD; the rest is the print job.
#include <cstddef>
#include <cstdint>
#include <string>

#include "drivers/epson/epson.hpp"
#include "fuzz/translator_job.hpp"

const int32_t kv_printercode = 384;
const char* const kv_printername = "Epson MX/FX/RX printer version.";
const kv_prnslots kv_prnentry = kv_epson_slots(kv_printercode);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t rest = 0;
    const std::string init = kv_fuzz_initline(data, size, &rest);
    kv_fuzz_runjob(init, data + rest, size - rest);
    return 0;
}
