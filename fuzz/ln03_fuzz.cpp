// The whole translator with the DEC LN03+ driver on arbitrary bytes (see
// dec_fuzz.hpp for the input's shape).
#include "drivers/ln03/ln03.hpp"
#include "fuzz/dec_fuzz.hpp"

const int32_t kv_printercode = 640;
const char* const kv_printername = "DEC LN03+ printer version.";
const kv_prnslots kv_prnentry = kv_ln03_slots;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return dec_fuzz_one(data, size);
}
