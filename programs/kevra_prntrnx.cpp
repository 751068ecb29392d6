// kevra_prntrnx: the translator for Printronix line-matrix printers (line
// printer language with plot graphics).
#include "drivers/prntrnx/prntrnx.hpp"

const int32_t kv_printercode = 1024;
const char* const kv_printername = "Printronix version.";
const kv_prnslots kv_prnentry = kv_mvp_slots;
