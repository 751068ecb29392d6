#include "core/command/qdelims.hpp"

#include <cstring>

#include "core/driver/qstrops.hpp"

namespace {
inline int32_t dbyte(const char* d, size_t i) { return kv_dlmbyte(d, i); }
} // namespace

kv_status kv_setcommanddlm(kv_glor* s, char* value) { return kv_setxxxdlm(s, s->cmddlm, value); }

kv_status kv_setdatadlm(kv_glor* s, char* value) { return kv_setxxxdlm(s, s->datadlm, value); }

namespace {
// Whether `value` as the new `target` delimiter could open and close its
// sequences beside the other delimiter.
kv_status dlmworks(const kv_glor* s, const char* target, const char* value) {
    const bool command = target == s->cmddlm;
    // A command body reads a double quote as the start of a quoted part, so a
    // command delimiter that begins with one would never close its sequence
    // and the rest of the job would vanish into it.
    if (command && dbyte(value, 0) == '"') return KV_IVDLM;
    // The data delimiter is tried first: when it begins the command delimiter,
    // every command opens a data sequence instead (or prints as an escaped
    // delimiter), and no command could ever set the delimiters right again.
    const char* cmd = command ? value : s->cmddlm;
    const char* data = command ? s->datadlm : value;
    const size_t datalen = qstr_len(data);
    if (datalen <= qstr_len(cmd) && std::memcmp(cmd + qstr_base, data + qstr_base, datalen) == 0)
        return KV_IVDLM;
    return KV_SUCCESS;
}
} // namespace

kv_status kv_setxxxdlm(kv_glor* s, char* target, char* value) {
    size_t len = qstr_len(value);
    if (len > 1 && value[qstr_base] == '"' && value[qstr_base + len - 1] == '"') {
        qstr_setlen(value, len - 1);
        qstr_del(value, 0, 1);
    }
    if (qstr_len(value) == 0) return KV_IVDLM;
    if (qstr_cmp(value, target) == 0) return KV_SUCCESS;
    kv_status st = kv_validatedlm(s, value);
    if (kv_ok(st)) st = dlmworks(s, target, value);
    if (kv_ok(st)) qstr_cpy(target, KV_DLMMAX + 1, value);
    return st;
}

kv_status kv_validatedlm(kv_glor* s, const char* value) {
    size_t len = qstr_len(value);
    if (len < 1 || len > static_cast<size_t>(KV_DLMMAX)) return KV_IVDLM;
    if (qstr_cmp(value, s->cmddlm) == 0 || qstr_cmp(value, s->datadlm) == 0) return KV_IVDLM;
    for (size_t i = 0; i < len; ++i) {
        int32_t c = dbyte(value, i);
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r')
            return KV_IVDLM;
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return KV_IVDLM;
    }
    return KV_SUCCESS;
}
