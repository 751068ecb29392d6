#include "core/matrix/maxicode_field.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/driver/kvalloc.hpp"
#include "core/driver/qstrops.hpp"
#include "core/fields/unescape.hpp"
#include "core/matrix/maxicode.hpp"
#include "core/matrix/maxicode_internal.hpp"

namespace {
constexpr char GS = 0x1D;
// "[)>" RS "01" GS: the message header of a transport-format text.
constexpr char HEADER[] = "[)>\x1E"
                          "01\x1D";
constexpr int32_t HEADERLEN = 7;
// The header and the two-digit year that follows it stay in the secondary
// message.
constexpr int32_t HEADERKEEP = 9;

void releasesym(void* p) {
    auto* sym = static_cast<maxicode_sym*>(p);
    maxicode_close(sym);
    kv_delete(sym);
}

bool isdigitc(char c) {
    return c >= '0' && c <= '9';
}
bool isletter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A country code or class of service: up to three digits to the separator.
bool number3(const char* text, int32_t length, int32_t* pos, char sep, int32_t* value) {
    int32_t digits = 0;
    int32_t v = 0;
    while (*pos < length && text[*pos] != sep) {
        const char c = text[(*pos)++];
        if (!isdigitc(c) || ++digits > 3) return false;
        v = v * 10 + (c - '0');
    }
    if (*pos < length) ++*pos; // the separator
    *value = v;
    return true;
}
} // namespace

bool kv_maxicode_primary(const char* text, int32_t length, int32_t mode, kv_maxiprimary* out) {
    *out = kv_maxiprimary{};
    int32_t pos = 0;
    char sep = ',';
    if (length > HEADERKEEP - 1 && std::memcmp(text, HEADER, HEADERLEN) == 0) {
        out->header = HEADERKEEP;
        pos = HEADERKEEP;
        sep = GS;
    }

    // The postal code: digits, or letters and digits within six characters
    // for an alphanumeric (mode 3) code. Longer numeric codes need mode 2.
    int32_t count = 0;
    while (pos < length && text[pos] != sep && text[pos] != GS) {
        const char c = text[pos++];
        if (c == '-') continue;
        if (count == KV_MAXI_POSTAL) return false;
        if (isdigitc(c)) {
            if (count >= 6) {
                if (mode == 3) return false;
                if (mode == 0) mode = 2;
            }
        } else if (isletter(c)) {
            if (mode == 0) mode = 3;
            if (mode != 3 || count >= 6) return false;
        } else {
            return false;
        }
        out->postal[count++] = c;
    }
    if (pos < length) {
        if (text[pos] == GS) sep = GS;
        ++pos;
    }
    if (mode == 0) mode = 3;
    out->mode = mode;

    if (!number3(text, length, &pos, sep, &out->country)) return false;
    if (!number3(text, length, &pos, sep, &out->service)) return false;
    out->rest = pos;
    return true;
}

kv_status kv_fieldmake2_maxicode(kv_glor*, kv_field* f) {
    auto* sym = kv_new<maxicode_sym>();
    if (sym == nullptr) return KV_MEMOVFL;
    f->symbol = kv_symbolptr(sym, kv_symbolfree{releasesym});
    const int32_t asked = f->subtype >= '2' && f->subtype <= '6' ? f->subtype - '0' : 0;
    maxicode_open(sym);

    char* text = f->text.get();
    // The escapes may leave NUL bytes in the data: they are carried as data
    // (Set E holds byte 0), so the length counts from here on.
    const int32_t length = kv_unescapestr(text, static_cast<int32_t>(qstr_len(text)));
    text[length] = '\0';

    char secondary[KV_MAXI_SECONDARY + 1];
    int32_t seclen = 0;
    kv_maxiprimary primary;
    const char* rest = text;
    int32_t restlen = length;
    if (asked >= 4) {
        primary.mode = asked;
    } else {
        if (!kv_maxicode_primary(text, length, asked, &primary)) return KV_IVBARC;
        std::memcpy(secondary, text, static_cast<size_t>(primary.header));
        seclen = primary.header;
        rest = text + primary.rest;
        restlen = length - primary.rest;
    }
    if (restlen > KV_MAXI_SECONDARY - seclen) return KV_STROVFL;
    std::memcpy(secondary + seclen, rest, static_cast<size_t>(restlen));
    seclen += restlen;
    secondary[seclen] = '\0';

    if (!maxicode_hexmapgen(sym, 1, 1, primary.mode, primary.postal, primary.country,
                            primary.service, secondary, seclen))
        return sym->error == MAXICODE_EBITMAP ? KV_MEMOVFL : KV_STROVFL;
    return KV_SUCCESS;
}

kv_status kv_maxicode_map(kv_glor*, kv_mapctx* m) {
    auto* sym = static_cast<maxicode_sym*>(m->field->symbol.get());
    // The symbol is drawn once per band: dot rows outside the clip window
    // would be cut away, so they are not even visited.
    const int64_t bottom = int64_t{m->clipy} + m->cliph;
    if (maxicode_setcallback(sym, kv_callback_plotf, m))
        maxicode_imagepaintrows(
            sym, m->clipy, static_cast<int32_t>(std::clamp<int64_t>(bottom, INT32_MIN, INT32_MAX)));
    return KV_SUCCESS;
}

void kv_maxicode_imagesize(const kv_field* f, int32_t* wide, int32_t* deep) {
    const auto* sym = static_cast<const maxicode_sym*>(f->symbol.get());
    *wide = maxicode_imagewide(sym);
    *deep = maxicode_imagedeep(sym);
}
