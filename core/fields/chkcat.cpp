#include "core/fields/chkcat.hpp"

#include <cstring>

#include "core/driver/fieldtypes.hpp"
#include "core/driver/qstrops.hpp"
#include "core/linear/code128.hpp"
#include "core/linear/code39_codabar_msi.hpp"
#include "core/linear/two_of_five_postnet.hpp"
#include "core/linear/upc_ean.hpp"

namespace {
using checkfn = void (*)(int32_t, const char*, char*);

// Computes one check character over the whole text and appends it.
void appendcheck(char* text, size_t cap, checkfn fn) {
    char c = 0;
    fn(static_cast<int32_t>(qstr_len(text)), text, &c);
    qstr_catchr(text, cap, c);
}

void msichecks(char* text, size_t cap, int32_t check) {
    switch (check) {
    case 1: appendcheck(text, cap, codemsi_chkcalc10); break;
    case 2: appendcheck(text, cap, codemsi_chkcalc10); appendcheck(text, cap, codemsi_chkcalc10); break;
    case 3: appendcheck(text, cap, codemsi_chkcalc11); appendcheck(text, cap, codemsi_chkcalc10); break;
    case 4: appendcheck(text, cap, codemsi_chkcalc10); appendcheck(text, cap, codemsi_chkcalc11); break;
    default: break;
    }
}

void upcchecks(char* text, size_t cap, int32_t subtype) {
    if (subtype == 'b' || subtype == 'B') return;
    if ((subtype == 'e' || subtype == 'E') && qstr_len(text) <= 12) {
        // UPC-E: the digit of the equivalent UPC-A number.
        char upca[16];
        qstr_cpy(upca, text);
        kv_upc_chkprep(upca);
        char c = 0;
        upc_chkcalc(static_cast<int32_t>(qstr_len(upca)), upca, &c);
        qstr_catchr(text, cap, c);
        return;
    }
    appendcheck(text, cap, upc_chkcalc);
}
} // namespace

kv_status kv_chkcat(kv_glor*, char* text, size_t cap, int32_t check, int32_t type,
                    int32_t subtype) {
    if (check == 0) return KV_SUCCESS;
    switch (type) {
    case KV_FT_CODE39: appendcheck(text, cap, code39_chkcalc); break;
    case KV_FT_CODE128: kv_c128_chkcat(subtype, static_cast<int32_t>(qstr_len(text)), text, cap); break;
    // Weight 3 falls on the digit next to the check digit, as readers expect
    // whatever the length (counted from the left it is wrong for even lengths).
    case KV_FT_I2OF5:
    case KV_FT_S2OF5: appendcheck(text, cap, ean_chkcalc); break;
    case KV_FT_MSI: msichecks(text, cap, check); break;
    case KV_FT_UPC: upcchecks(text, cap, subtype); break;
    case KV_FT_EAN: appendcheck(text, cap, ean_chkcalc); break;
    case KV_FT_POSTNET: appendcheck(text, cap, postnet_chkcalc); break;
    default: break;
    }
    return KV_SUCCESS;
}

void kv_c128_chkcat(int32_t subsetletter, int32_t length, char* text, size_t cap) {
    c128_reader r;
    c128_open(&r, subsetletter, length, text);
    int32_t subset = 0;
    int32_t value = 0;
    int32_t position = 0;
    int32_t sum = 0;
    while (c128_next(&r, &subset, &value) && value != C128_END) {
        const int32_t v = code128_cindex(subset, value);
        if (v >= 0) sum = (sum + v * (position == 0 ? 1 : position)) % 103;
        ++position;
    }
    const int32_t check = sum % 103;
    // After a lone last digit the reader is in subset B by its own code change;
    // written out, the change keeps the check from pairing with the digit.
    if (r.lonelast) qstr_catchr(text, cap, static_cast<char>(0xE2));
    switch (r.subset) {
    case 'a': {
        int32_t c = Code128Access('a', check);
        if (c == 0) c = Code128Access('b', check);
        qstr_catchr(text, cap, static_cast<char>(c));
        break;
    }
    case 'b': qstr_catchr(text, cap, static_cast<char>(Code128Access('b', check))); break;
    case 'c':
        if (check < 100) {
            qstr_catchr(text, cap, static_cast<char>('0' + check / 10));
            qstr_catchr(text, cap, static_cast<char>('0' + check % 10));
        } else {
            qstr_catchr(text, cap, static_cast<char>(Code128Access('c', check)));
        }
        break;
    default: break;
    }
    c128_close(&r);
}

void kv_upc_a2e(char* text) {
    const size_t len = qstr_len(text);
    if (len != 11 && len != 12) return;
    const char* d = text + qstr_base;
    char e[6];
    if (d[5] != '0') {
        const char v[6] = {d[1], d[2], d[3], d[4], d[5], d[10]};
        std::memcpy(e, v, 6);
    } else if (d[4] != '0') {
        const char v[6] = {d[1], d[2], d[3], d[4], d[10], '4'};
        std::memcpy(e, v, 6);
    } else if (d[3] == '0' || d[3] == '1' || d[3] == '2') {
        const char v[6] = {d[1], d[2], d[8], d[9], d[10], d[3]};
        std::memcpy(e, v, 6);
    } else {
        const char v[6] = {d[1], d[2], d[3], d[9], d[10], '3'};
        std::memcpy(e, v, 6);
    }
    char out[9];
    out[0] = d[0];
    std::memcpy(out + 1, e, 6);
    size_t n = 7;
    if (len == 12) out[n++] = d[11];
    out[n] = '\0';
    std::memcpy(text + qstr_base, out, n + 1);
}

void kv_upc_expand(char* text) {
    const size_t len = qstr_len(text);
    if (len != 7 && len != 8) return;
    const char* d = text + qstr_base;
    const char d0 = d[0], e1 = d[1], e2 = d[2], e3 = d[3], e4 = d[4], e5 = d[5], e6 = d[6];
    char a[11];
    switch (e6) {
    case '0': case '1': case '2': {
        const char v[11] = {d0, e1, e2, e6, '0', '0', '0', '0', e3, e4, e5};
        std::memcpy(a, v, 11);
        break;
    }
    case '3': {
        const char v[11] = {d0, e1, e2, e3, '0', '0', '0', '0', '0', e4, e5};
        std::memcpy(a, v, 11);
        break;
    }
    case '4': {
        const char v[11] = {d0, e1, e2, e3, e4, '0', '0', '0', '0', '0', e5};
        std::memcpy(a, v, 11);
        break;
    }
    default: {
        const char v[11] = {d0, e1, e2, e3, e4, e5, '0', '0', '0', '0', e6};
        std::memcpy(a, v, 11);
        break;
    }
    }
    char out[13];
    std::memcpy(out, a, 11);
    size_t n = 11;
    if (len == 8) out[n++] = d[7];
    out[n] = '\0';
    std::memcpy(text + qstr_base, out, n + 1);
}

void kv_upc_chkprep(char* text) {
    kv_upc_a2e(text);
    kv_upc_expand(text);
}
