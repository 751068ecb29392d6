// The whole translator with the IBM Proprinter driver, in-process, on
// arbitrary bytes. The first line of the input (up to its first LF, at most
// 300 bytes) becomes KEVRA_INIT_CMD; the rest is the print job.
#include <cstddef>
#include <cstdint>
#include <string>

#include "drivers/ibm/ibm.hpp"
#include "fuzz/translator_job.hpp"

const int32_t kv_printercode = 256;
const char* const kv_printername = "IBM Proprinter version.";
const kv_prnslots kv_prnentry = kv_ibm_slots;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t rest = 0;
    const std::string init = kv_fuzz_initline(data, size, &rest);
    kv_fuzz_runjob(init, data + rest, size - rest);
    return 0;
}
