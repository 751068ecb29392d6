#include "core/linear/upc_ean.hpp"

namespace {
// Weighted modulo-10 check digit; `fromright` counts the weight-3 positions
// from the last character.
char mod10check(int32_t length, const char* data, bool fromright) {
    int32_t sum = 0;
    for (int32_t i = 0; i < length; ++i) {
        const char c = data[i];
        if (c < '0' || c > '9') continue;
        const int32_t pos = fromright ? length - 1 - i : i;
        sum += (pos % 2 == 0 ? 3 : 1) * (c - '0');
    }
    const int32_t r = sum % 10;
    return static_cast<char>('0' + (r == 0 ? 0 : 10 - r));
}
} // namespace

void upc_chkcalc(int32_t length, const char* data, char* out) { *out = mod10check(length, data, false); }

void ean_chkcalc(int32_t length, const char* data, char* out) { *out = mod10check(length, data, true); }
