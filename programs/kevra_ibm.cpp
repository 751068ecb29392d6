// kevra_ibm: the translator for IBM Proprinter (9-pin) printers.
#include "drivers/ibm/ibm.hpp"

const int32_t kv_printercode = 256;
const char* const kv_printername = "IBM Proprinter version.";
const kv_prnslots kv_prnentry = kv_ibm_slots;
static_assert(kv_ibm_slots.prncode == 256);
