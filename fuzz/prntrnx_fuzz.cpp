// The whole translator with the Printronix driver, in-process, on arbitrary
// bytes. The first line of the input (up to its first LF, at most 300 bytes)
// becomes KEVRA_INIT_CMD; the rest is the print job.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/driver/xlator.hpp"
#include "drivers/prntrnx/prntrnx.hpp"

const int32_t kv_printercode = 1024;
const char* const kv_printername = "Printronix version.";
const kv_prnslots kv_prnentry = {
    kv_printercode, kv_mvp_lgetc, kv_mvp_lprintc, kv_mvp_initprn,   kv_mvp_specialcmd,
    nullptr,        nullptr,      nullptr,        kv_mvp_setregion, kv_mvp_qoutc,
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::FILE* sink = std::fopen("/dev/null", "w");
    size_t split = 0;
    while (split < size && split < 300 && data[split] != '\n') ++split;
    std::string init(reinterpret_cast<const char*>(data), split);
    for (char& c : init)
        if (c == '\0') c = ' ';
    setenv("KEVRA_INIT_CMD", init.c_str(), 1);
    setenv("KEVRA_VERBOSE", "Q", 1);
    const size_t rest = split < size ? size - split - 1 : 0;
    std::string job(reinterpret_cast<const char*>(data) + size - rest, rest);
    std::FILE* in = fmemopen(job.empty() ? nullptr : job.data(), job.empty() ? 1 : job.size(), "r");
    if (job.empty()) std::fgetc(in);
    xlator_run(in, sink, sink);
    std::fclose(in);
    return 0;
}
