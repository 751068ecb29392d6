#include "core/driver/report.hpp"

#include "core/driver/xbase.hpp"

kv_status kv_flagerr(kv_glor* s, kv_status code) {
    if (kv_ok(code) || kv_failed(s->status)) return code;
    s->status = code;
    const kv_errentry* e = kv_errmsg(kv_errtable, code);
    if (kv_isfacility(code))
        kv_showerr(s, code, s->lineno, e->severity, e->mnemonic, e->message);
    else
        s->stop = 1;
    return code;
}

kv_status kv_showerr(kv_glor*, kv_status, int32_t line, char severity, const char* mnemonic,
                     const char* message) {
    xlator_showerr(line, severity, mnemonic, message);
    return KV_SUCCESS;
}
