// The whole translator with the DEC LA75 driver on arbitrary bytes (see
// dec_fuzz.hpp for the input's shape).
#include "drivers/la75/la75.hpp"
#include "fuzz/dec_fuzz.hpp"

const int32_t kv_printercode = 512;
const char* const kv_printername = "DEC impact printer version.";
const kv_prnslots kv_prnentry = kv_la75_slots;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return dec_fuzz_one(data, size);
}
