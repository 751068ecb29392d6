// Status codes, the first-failure merge rule and the translator's error table.
//
// Every operation returns a 32-bit status: odd is success (1 plain success),
// even is failure. Failures whose bits 9..14 read 32 belong to the translator
// facility and are reported with a message; any other failure is fatal and
// silent.
#pragma once

#include <cstdint>

using kv_status = uint32_t;

inline constexpr kv_status KV_SUCCESS = 1;

inline constexpr kv_status KV_MEMOVFL = 0x4040;
inline constexpr kv_status KV_STROVFL = 0x410C;
inline constexpr kv_status KV_IVBARC = 0x4080;
inline constexpr kv_status KV_IVNUM = 0x4124;
inline constexpr kv_status KV_IVCMD = 0x4104;
inline constexpr kv_status KV_IVHIT = 0x4110;
inline constexpr kv_status KV_IVRAT = 0x4114;
inline constexpr kv_status KV_IVBAR = 0x4108;
inline constexpr kv_status KV_IVSUBS = 0x4118;
inline constexpr kv_status KV_IVDLM = 0x411C;
inline constexpr kv_status KV_IVDENS = 0x4120;
inline constexpr kv_status KV_IVCHK = 0x4144;
inline constexpr kv_status KV_IVORNT = 0x4148;
inline constexpr kv_status KV_IVPNET = 0x414C;
inline constexpr kv_status KV_INTRNL = 0x4140;
inline constexpr kv_status KV_SYSIO = 0x4150;
inline constexpr kv_status KV_IVPRN = 0x40C0;
// An encoder failure without a mapping of its own; not in the table, so it is
// reported with the table's fallback text.
inline constexpr kv_status KV_ENCUNKNOWN = 16460;

constexpr bool kv_ok(kv_status s) { return (s & 1u) != 0; }
constexpr bool kv_failed(kv_status s) { return (s & 1u) == 0; }
// True for codes of the translator facility (0x4000..0x41FF).
constexpr bool kv_isfacility(kv_status s) { return ((s >> 9) & 0x3Fu) == 32; }

// Merges `code` into `*status`: a success status takes the code, a failure is
// kept (the first failure wins). Returns the resulting status.
inline kv_status jerr_uperr(kv_status* status, kv_status code) {
    if (kv_ok(*status)) *status = code;
    return *status;
}

struct kv_errentry {
    uint32_t code;
    char severity;
    const char* mnemonic;
    const char* message;
};

// The table ends with an entry of code 0, the fallback for unknown codes.
extern const kv_errentry kv_errtable[];

// First entry of `table` whose code equals `code`, else the closing entry.
const kv_errentry* kv_errmsg(const kv_errentry* table, kv_status code);
