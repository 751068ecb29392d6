// kevra_hplaser: the translator for HP LaserJet+ (PCL) page printers.
#include "drivers/hplaser/hplaser.hpp"

const int32_t kv_printercode = 768;
const char* const kv_printername = "HP LaserJet+ version.";
const kv_prnslots kv_prnentry = kv_hplaser_slots;
