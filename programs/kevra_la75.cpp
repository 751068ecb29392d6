// kevra_la75: the translator for DEC LA75 impact printers (sixel graphics).
#include "drivers/la75/la75.hpp"

const int32_t kv_printercode = 512;
const char* const kv_printername = "DEC impact printer version.";
const kv_prnslots kv_prnentry = kv_la75_slots;
