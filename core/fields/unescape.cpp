#include "core/fields/unescape.hpp"

namespace {
int hexvalue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int letterescape(char c) {
    switch (c) {
    case 'a': case 'A': return 7;
    case 'b': case 'B': return 8;
    case 'f': case 'F': return 12;
    case 'n': case 'N': return 10;
    case 'r': case 'R': return 13;
    case 't': case 'T': return 9;
    case 'v': case 'V': return 11;
    default: return -1;
    }
}
} // namespace

int32_t kv_unescapestr(char* buffer, int32_t length) {
    int32_t in = 0;
    int32_t out = 0;
    while (in < length) {
        char c = buffer[in++];
        if (c != '\\' || in >= length) {
            buffer[out++] = c; // ordinary byte, or a trailing backslash
            continue;
        }
        char e = buffer[in++];
        if (e == '\0') continue; // backslash NUL: both dropped
        int v = letterescape(e);
        if (v >= 0) {
            buffer[out++] = static_cast<char>(v);
        } else if ((e == 'x' || e == 'X') && in < length && hexvalue(buffer[in]) >= 0) {
            int value = hexvalue(buffer[in++]);
            if (in < length && hexvalue(buffer[in]) >= 0) value = value * 16 + hexvalue(buffer[in++]);
            buffer[out++] = static_cast<char>(value);
        } else {
            buffer[out++] = e; // \x without digits gives x; any other escaped byte itself
        }
    }
    if (out < length) buffer[out] = '\0';
    return out;
}
