// kevra_epsonlq: the translator for Epson LQ (24-pin) printers.
#include "drivers/epson/epson.hpp"

const int32_t kv_printercode = 400;
const char* const kv_printername = "Epson LQ printer version.";
const kv_prnslots kv_prnentry = kv_epson_slots(kv_printercode);
