// A recording printer driver for tests: it remembers every byte given to
// qoutc, every region set and every call of the other slots, and passes
// bytes on unchanged so the output can be checked too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/driver/kvglor.hpp"

struct RecordedRegion {
    int32_t x, y, w, h, density;
    bool operator==(const RecordedRegion&) const = default;
};

struct Recorder {
    std::string qout;                 // bytes given to qoutc
    int initcalls = 0;
    int plotcalls = 0;
    std::vector<std::string> special; // texts given to specialcmd
    std::vector<RecordedRegion> regions;
    kv_status specialstatus = KV_SUCCESS;

    void clear() { *this = Recorder{}; }
};

// The one recorder the slots below write to.
Recorder& recorder();

kv_status rec_lgetc(kv_glor* s, int32_t* c);
kv_status rec_lprintc(kv_glor* s, int32_t c);
kv_status rec_initprn(kv_glor* s);
kv_status rec_specialcmd(kv_glor* s, char* text);
kv_status rec_lplotcode(kv_glor* s);
kv_status rec_setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h, int32_t density);
kv_status rec_qoutc(kv_glor* s, int32_t c);

// The recording driver's slots; prncode as given (lplotcode null unless asked).
kv_prnslots recorder_slots(int32_t prncode, bool withplot);
// Installs slots into a state the way kv_setprn does.
void install_slots(kv_glor* s, const kv_prnslots& slots);
