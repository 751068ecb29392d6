// The preview's renderers on any bytes: the first byte chooses the printer
// language, the rest is the stream. Every sheet is composed with its text,
// as kevra_preview draws it; nothing may crash, hang or grow without bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "preview/languages.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto languages = printer_languages();
    const PrinterLanguage& l = languages[data[0] % languages.size()];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    l.render(bytes, [](Sheet&& s) { (void)compose(s); });
    return 0;
}
