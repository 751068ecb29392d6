// MaxiCode internals reached by the tests.
#pragma once

#include <cstdint>

// Longest secondary message the field hook hands on, and the longest postal
// code.
inline constexpr int32_t KV_MAXI_SECONDARY = 138;
inline constexpr int32_t KV_MAXI_POSTAL = 9;

// The structured carrier message at the front of a field's text.
struct kv_maxiprimary {
    int32_t mode = 0;                     // 2 or 3 (or the mode asked for)
    char postal[KV_MAXI_POSTAL + 1] = {}; // without '-'
    int32_t country = 0;
    int32_t service = 0;
    int32_t header = 0; // 9 when "[)>" RS "01" GS and two characters open the message
    int32_t rest = 0;   // where the data after the class of service start
};

// Reads the postal code, country and class of service from the front of
// text[0..length) for mode 2, 3 or 0 (automatic). False when they break the
// rules (the field is then IVBARC).
bool kv_maxicode_primary(const char* text, int32_t length, int32_t mode, kv_maxiprimary* out);
