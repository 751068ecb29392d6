#include "core/driver/unx.hpp"

#include <cctype>
#include <cstdlib>
#include <cstring>

void TranslateLogical(const char* name, char* buffer, size_t size, const char* dflt) {
    if (size == 0) return;
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') value = dflt != nullptr ? dflt : "";
    size_t n = std::strlen(value);
    if (n > size - 1) n = size - 1;
    std::memcpy(buffer, value, n);
    buffer[n] = '\0';
}

int kv_envxlate(const char* name, char* buffer, size_t size) {
    if (size < 1) return 1;
    buffer[0] = '\0';
    TranslateLogical(name, buffer, size, "");
    return 1;
}

char* strupr(char* text) {
    for (char* p = text; *p != '\0'; ++p)
        *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return text;
}
