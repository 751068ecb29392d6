#include "core/driver/qstrops.hpp"

#include <cstring>

size_t qstr_len(const char* s) { return std::strlen(s + qstr_base); }

void qstr_setlen(char* s, size_t n) { s[qstr_base + n] = '\0'; }

char* qstr_cpy(char* dst, size_t cap, const char* src) {
    return qstr_subcpy(dst, cap, src, qstr_len(src));
}

char* qstr_subcpy(char* dst, size_t cap, const char* src, size_t n) {
    if (cap <= qstr_base) return dst;
    size_t len = qstr_len(src);
    if (n > len) n = len;
    if (n > cap - qstr_base - 1) n = cap - qstr_base - 1;
    std::memmove(dst + qstr_base, src + qstr_base, n);
    dst[qstr_base + n] = '\0';
    return dst;
}

char* qstr_catchr(char* s, size_t cap, char c) {
    size_t len = qstr_len(s);
    if (qstr_base + len + 1 < cap) {
        s[qstr_base + len] = c;
        s[qstr_base + len + 1] = '\0';
    }
    return s;
}

char* qstr_ins(char* s, size_t cap, const char* t, size_t pos) {
    size_t len = qstr_len(s);
    size_t tlen = qstr_len(t);
    if (tlen == 0 || cap <= qstr_base + len + 1) return s;
    if (pos > len) pos = len;
    size_t room = cap - qstr_base - 1 - len; // bytes that can still be added
    if (tlen > room) tlen = room;
    char* p = s + qstr_base;
    std::memmove(p + pos + tlen, p + pos, len - pos + 1);
    std::memmove(p + pos, t + qstr_base, tlen);
    return s;
}

char* qstr_del(char* s, size_t pos, size_t n) {
    size_t len = qstr_len(s);
    if (n == 0 || pos >= len) return s;
    if (n > len - pos) n = len - pos;
    char* p = s + qstr_base;
    std::memmove(p + pos, p + pos + n, len - pos - n + 1);
    return s;
}

int qstr_cmp(const char* a, const char* b) {
    const auto* pa = reinterpret_cast<const unsigned char*>(a + qstr_base);
    const auto* pb = reinterpret_cast<const unsigned char*>(b + qstr_base);
    for (; *pa != 0 && *pb != 0; ++pa, ++pb) {
        if (*pa != *pb) return *pa < *pb ? -1 : 1;
    }
    if (*pa == *pb) return 0;
    return *pa == 0 ? -1 : 1;
}

char* qstr_toupper(char* s) {
    for (char* p = s + qstr_base; *p != '\0'; ++p) {
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    }
    return s;
}

char* qstr_chopleading(char* s, char c) {
    size_t n = 0;
    const char* p = s + qstr_base;
    while (p[n] != '\0' && p[n] == c) ++n;
    return qstr_del(s, 0, n);
}

uint32_t qstr_toi(const char* s) {
    uint32_t value = 0;
    for (const char* p = s + qstr_base; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return 0;
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    }
    return value;
}

uint32_t qstr_countparms(const char* s, char sep) {
    const char* p = s + qstr_base;
    while (*p == ' ') ++p;
    while (*p != '\0' && *p == sep) ++p;
    uint32_t count = 0;
    bool inseparator = false;
    for (; *p != '\0'; ++p) {
        if (*p == sep) {
            if (!inseparator) {
                ++count;
                inseparator = true;
            }
        } else {
            inseparator = false;
        }
    }
    if (!inseparator) ++count;
    return count;
}

char* qstr_parse(char* s, char* token, size_t tokencap, char sep) {
    qstr_chopleading(s, ' ');
    qstr_chopleading(s, sep);
    const char* p = s + qstr_base;
    const char* end = std::strchr(p, sep);
    size_t n = end != nullptr && sep != '\0' ? static_cast<size_t>(end - p) : qstr_len(s);
    qstr_subcpy(token, tokencap, s, n);
    qstr_del(s, 0, end != nullptr && sep != '\0' ? n + 1 : n);
    return s;
}
