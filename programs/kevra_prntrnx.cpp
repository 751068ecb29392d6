// kevra_prntrnx: the translator for Printronix line-matrix printers (line
// printer language with plot graphics).
#include "drivers/prntrnx/prntrnx.hpp"

const int32_t kv_printercode = 1024;
const char* const kv_printername = "Printronix version.";
const kv_prnslots kv_prnentry = {
    kv_printercode, kv_mvp_lgetc, kv_mvp_lprintc, kv_mvp_initprn,   kv_mvp_specialcmd,
    nullptr,        nullptr,      nullptr,        kv_mvp_setregion, kv_mvp_qoutc,
};
