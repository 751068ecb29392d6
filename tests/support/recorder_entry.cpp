// The recording driver as the build's driver, for tests that run the whole
// translator (and for the test program run as a process).
#include "tests/support/recorder.hpp"

const int32_t kv_printercode = 9999;
const char* const kv_printername = "Recording test printer version.";
const kv_prnslots kv_prnentry = {kv_printercode, rec_lgetc,   rec_lprintc, rec_initprn,
                                 rec_specialcmd, rec_lplotcode, nullptr,   nullptr,
                                 rec_setregion,  rec_qoutc};
