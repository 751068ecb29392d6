// kevra_hplaser: the translator for HP LaserJet+ (PCL) page printers.
#include "drivers/hplaser/hplaser.hpp"

const int32_t kv_printercode = 768;
const char* const kv_printername = "HP LaserJet+ version.";
const kv_prnslots kv_prnentry = {
    kv_printercode,        kv_hplaser_lgetc,     kv_hplaser_lprintc, kv_hplaser_initprn,
    kv_hplaser_specialcmd, kv_hplaser_lplotcode, kv_hplaser_lrelpos, kv_hplaser_lsetrect,
    kv_hplaser_setregion,  kv_hplaser_qoutc,
};
