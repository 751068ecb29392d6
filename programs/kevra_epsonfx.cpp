// kevra_epsonfx: the translator for Epson MX/FX/RX (9-pin) printers.
#include "drivers/epson/epson.hpp"

const int32_t kv_printercode = 384;
const char* const kv_printername = "Epson MX/FX/RX printer version.";
const kv_prnslots kv_prnentry = kv_epson_slots(kv_printercode);
