// MaxiCode from arbitrary bytes: the first byte picks the mode (0 automatic),
// the rest is a field's data. Parsing, encoding and painting must stay inside
// their buffers whatever the data.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/matrix/maxicode.hpp"
#include "core/matrix/maxicode_internal.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 512) return 0;
    const int32_t asked = data[0] % 7 < 2 ? 0 : data[0] % 7;
    const char* text = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<int32_t>(size - 1);

    kv_maxiprimary primary;
    const char* secondary = text;
    int32_t seclen = length;
    if (asked < 4) {
        if (!kv_maxicode_primary(text, length, asked, &primary)) return 0;
        secondary = text + primary.rest;
        seclen = length - primary.rest;
    } else {
        primary.mode = asked;
    }
    maxicode_sym sym;
    maxicode_open(&sym);
    if (!maxicode_hexmapgen(&sym, 1, 1, primary.mode, primary.postal, primary.country,
                            primary.service, secondary, seclen))
        return 0;
    maxicode_setcallback(
        &sym,
        [](void*, int32_t x, int32_t y, int32_t, int32_t) -> uint32_t {
            return x >= 0 && y >= 0 && x < 304 && y < 300 ? 1u : 0u;
        },
        nullptr);
    if (!maxicode_imagepaint(&sym)) __builtin_trap(); // a dot outside the symbol
    // One band of it, as a band printer paints it: the last byte places the
    // band anywhere from above the symbol to below it.
    const int32_t top = data[size - 1] * 2 - 100;
    if (!maxicode_imagepaintrows(&sym, top, top + 1 + data[size - 1] % 64)) __builtin_trap();
    return 0;
}
