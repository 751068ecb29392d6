// kevra_ln03: the translator for DEC LN03+ laser printers (sixel graphics).
#include "drivers/ln03/ln03.hpp"

const int32_t kv_printercode = 640;
const char* const kv_printername = "DEC LN03+ printer version.";
const kv_prnslots kv_prnentry = kv_ln03_slots;
