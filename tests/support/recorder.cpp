#include "tests/support/recorder.hpp"

#include "core/driver/printops.hpp"

Recorder& recorder() {
    static Recorder r;
    return r;
}

kv_status rec_lgetc(kv_glor* s, int32_t* c) {
    *c = 0;
    if (kv_breakall(s)) return KV_SUCCESS;
    return kv_pgetc(s, c);
}

kv_status rec_lprintc(kv_glor* s, int32_t c) { return kv_pprintc(s, c); }

kv_status rec_initprn(kv_glor* s) {
    ++recorder().initcalls;
    s->pitch = 12;
    s->linespace = 10;
    return KV_SUCCESS;
}

kv_status rec_specialcmd(kv_glor*, char* text) {
    recorder().special.emplace_back(text);
    return recorder().specialstatus;
}

kv_status rec_lplotcode(kv_glor*) {
    ++recorder().plotcalls;
    return KV_SUCCESS;
}

kv_status rec_setregion(kv_glor*, int32_t x, int32_t y, int32_t w, int32_t h, int32_t density) {
    recorder().regions.push_back({x, y, w, h, density});
    return KV_SUCCESS;
}

kv_status rec_qoutc(kv_glor* s, int32_t c) {
    recorder().qout.push_back(static_cast<char>(c));
    if (c >= 32 && c < 127) s->hpos += s->pitch;
    if (c == '\r') s->hpos = 0;
    return s->lprintc(s, c);
}

kv_prnslots recorder_slots(int32_t prncode, bool withplot) {
    return kv_prnslots{prncode,        rec_lgetc, rec_lprintc, rec_initprn,   rec_specialcmd,
                       withplot ? rec_lplotcode : nullptr, nullptr, nullptr, rec_setregion,
                       rec_qoutc};
}

void install_slots(kv_glor* s, const kv_prnslots& e) { kv_installslots(s, e); }
