#include "core/linear/two_of_five_postnet.hpp"

void postnet_chkcalc(int32_t length, const char* data, char* out) {
    int32_t sum = 0;
    for (int32_t i = 0; i < length; ++i) {
        if (data[i] >= '0' && data[i] <= '9') sum += data[i] - '0';
    }
    const int32_t r = sum % 10;
    *out = static_cast<char>('0' + (r == 0 ? 0 : 10 - r));
}
