#include "core/command/qparams.hpp"

#include <cstdlib>
#include <cstring>

#include "core/command/ftypes.hpp"
#include "core/command/qdelims.hpp"
#include "core/driver/qstrops.hpp"

namespace {
// The value of a digit string that passed kv_numcheck, saturating instead of
// wrapping, so a huge number is out of every range rather than small.
uint32_t numvalue(const char* text) {
    uint64_t v = 0;
    for (const char* p = text + qstr_base; *p != '\0'; ++p) {
        v = v * 10 + static_cast<uint64_t>(*p - '0');
        if (v > 0xFFFFFFFFu) return 0xFFFFFFFFu;
    }
    return static_cast<uint32_t>(v);
}

// Checks a number and its range; on success stores it in *out.
kv_status rangedvalue(const char* value, uint32_t lo, uint32_t hi, kv_status rangeerr,
                      uint32_t* out) {
    kv_status st = kv_numcheck(value);
    if (kv_failed(st)) return st;
    uint32_t v = numvalue(value);
    if (v < lo || v > hi) return rangeerr;
    *out = v;
    return KV_SUCCESS;
}

int32_t clamp31(uint32_t v) { return v > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(v); }

int32_t curtypecode(const kv_glor* s) { return s->curtype != nullptr ? s->curtype->type : 0; }

// Element classes the current type uses.
int widthpairs(int32_t type) {
    switch (type) {
    case KV_FT_CODE128:
    case KV_FT_UPC:
    case KV_FT_EAN:
        return 4;
    case KV_FT_AZTEC:
    case KV_FT_DATAMATRIX:
        return 1;
    default:
        return 2;
    }
}

bool checkallowed(int32_t type, uint32_t v) {
    switch (type) {
    case KV_FT_CODE39:
    case KV_FT_CODE128:
    case KV_FT_I2OF5:
    case KV_FT_S2OF5:
        return v <= 1;
    case KV_FT_MSI:
        return v <= 4;
    case KV_FT_PDF417:
        return v <= 9;
    case KV_FT_AZTEC:
        return v <= 99;
    case KV_FT_DATAMATRIX:
        return v == 0 || v == 50 || v == 80 || v == 100 || v == 140 || v == 200;
    default:
        return false;
    }
}

const char* subsetletters(int32_t type) {
    switch (type) {
    case KV_FT_CODE128:
        return "ABC";
    case KV_FT_UPC:
        return "ABCE";
    case KV_FT_EAN:
        return "83";
    case KV_FT_PDF417:
        return "ATF";
    case KV_FT_MAXICODE:
        return "A23456";
    case KV_FT_AZTEC:
        return "ACFMR";
    case KV_FT_DATAMATRIX:
        return "AM56";
    default:
        return "";
    }
}
} // namespace

kv_status kv_numcheck(const char* text) {
    for (const char* p = text + qstr_base; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return KV_IVNUM;
    }
    return KV_SUCCESS;
}

kv_status kv_floatcheck(const char* text) {
    int points = 0;
    for (const char* p = text + qstr_base; *p != '\0'; ++p) {
        if (*p == '.') {
            if (++points > 1) return KV_IVNUM;
        } else if (*p < '0' || *p > '9') {
            return KV_IVNUM;
        }
    }
    return KV_SUCCESS;
}

kv_status kv_quseparm(kv_glor* s, char* parameter) {
    qstr_toupper(parameter);
    if (qstr_len(parameter) == 0) return KV_SUCCESS;
    const char letter = parameter[qstr_base];
    qstr_del(parameter, 0, 1);
    char* value = parameter;
    uint32_t v = 0;
    kv_status st = KV_SUCCESS;

    switch (letter) {
    case 'A':
        return curtypecode(s) == KV_FT_PDF417 ? kv_setcodeaspect(s, value)
                                              : kv_setcoderatio(s, value, 1);
    case 'B':
        return kv_setcurrentcode(s, value);
    case 'C':
        return kv_setcheckscheme(s, value);
    case 'D':
        st = rangedvalue(value, 0, 3, KV_IVDENS, &v);
        if (kv_ok(st)) s->density = static_cast<int32_t>(v);
        return st;
    case 'H':
        return kv_setcodeheight(s, value);
    case 'I':
        return kv_setcodeindent(s, value);
    case 'K':
        return kv_setcompaction(s, value);
    case 'O':
        return kv_setornt(s, value);
    case 'P':
        st = kv_numcheck(value);
        if (kv_ok(st)) s->padflag = clamp31(numvalue(value));
        return st;
    case 'Q':
        return kv_setdatadlm(s, value);
    case 'R':
        return kv_setcoderatio(s, value, 0);
    case 'S':
        return kv_setcodesubset(s, value);
    case 'T':
        st = kv_numcheck(value);
        if (kv_ok(st)) s->textopt = clamp31(numvalue(value));
        return st;
    case 'W':
        return kv_setcodewidth(s, value);
    case 'X':
        return kv_setcommanddlm(s, value);
    case 'Z':
        return s->specialcmd != nullptr ? s->specialcmd(s, value) : KV_SUCCESS;
    default:
        return KV_IVCMD;
    }
}

kv_status kv_setcurrentcode(kv_glor* s, char* value) {
    if (qstr_len(value) == 0) return KV_IVBAR;
    int32_t type = kv_findftype(s, value);
    if (type == 0) return KV_IVBAR;
    return kv_selectftype(s, type);
}

kv_status kv_setcheckscheme(kv_glor* s, char* value) {
    kv_status st = kv_numcheck(value);
    if (kv_failed(st)) return st;
    uint32_t v = numvalue(value);
    if (s->curtype == nullptr || !checkallowed(s->curtype->type, v)) return KV_IVCHK;
    s->curtype->check = static_cast<int32_t>(v);
    return KV_SUCCESS;
}

kv_status kv_setcodeheight(kv_glor* s, char* value) {
    uint32_t v = 0;
    kv_status st = rangedvalue(value, 1, 9999, KV_IVHIT, &v);
    if (kv_ok(st)) s->codeheight = static_cast<int32_t>(v);
    return st;
}

kv_status kv_setcodeindent(kv_glor* s, char* value) {
    uint32_t v = 0;
    kv_status st = rangedvalue(value, 1, 9999, KV_IVHIT, &v);
    if (kv_ok(st) && s->curtype != nullptr) s->curtype->indent = static_cast<int32_t>(v);
    return st;
}

kv_status kv_setcodewidth(kv_glor* s, char* value) {
    uint32_t v = 0;
    kv_status st = rangedvalue(value, 0, 99, KV_IVHIT, &v);
    if (kv_ok(st)) s->codewidth = static_cast<int32_t>(v);
    return st;
}

kv_status kv_setcompaction(kv_glor* s, char* value) {
    if (curtypecode(s) != KV_FT_PDF417 || qstr_len(value) != 1 ||
        std::strchr("AETBN", value[qstr_base]) == nullptr)
        return KV_IVSUBS;
    s->compaction = value[qstr_base];
    return KV_SUCCESS;
}

kv_status kv_setornt(kv_glor* s, char* value) {
    if (qstr_len(value) != 1) return KV_IVORNT;
    switch (value[qstr_base]) {
    case 'H':
        s->ornt = 0;
        return KV_SUCCESS;
    case 'V':
        s->ornt = 90;
        return KV_SUCCESS;
    case 'U':
        s->ornt = 180;
        return KV_SUCCESS;
    case 'B':
        s->ornt = 270;
        return KV_SUCCESS;
    default:
        return KV_IVORNT;
    }
}

kv_status kv_setcodesubset(kv_glor* s, char* value) {
    const int32_t type = curtypecode(s);
    char letter = 0;
    if (qstr_len(value) == 1)
        letter = value[qstr_base];
    else if (qstr_len(value) == 2 && type == KV_FT_EAN && value[qstr_base] == '1')
        letter = value[qstr_base + 1];
    else
        return KV_IVSUBS;
    if (letter == '\0' || std::strchr(subsetletters(type), letter) == nullptr) return KV_IVSUBS;
    s->curtype->subtype = static_cast<uint8_t>(letter);
    return KV_SUCCESS;
}

kv_status kv_setcodeaspect(kv_glor* s, char* value) {
    if (qstr_countparms(value, ':') > 2) return KV_IVRAT;
    float previous = 1.0f;
    float current = 1.0f;
    uint32_t count = qstr_countparms(value, ':');
    for (uint32_t i = 0; i < count; ++i) {
        char number[KV_CMDBUF];
        qstr_parse(value, number, ':');
        if (kv_failed(kv_floatcheck(number))) return KV_IVNUM;
        previous = current;
        current = std::strtof(number, nullptr);
    }
    if (!(previous > 0.0f)) return KV_IVRAT;
    s->aspect = current / previous;
    return KV_SUCCESS;
}

kv_status kv_setcoderatio(kv_glor* s, char* value, int all) {
    if (s->curtype == nullptr) return KV_IVRAT;
    const int pairs = widthpairs(s->curtype->type);
    const int wanted = all ? 2 * pairs : pairs;
    if (qstr_countparms(value, ':') != static_cast<uint32_t>(wanted)) return KV_IVRAT;

    int32_t numbers[8] = {};
    for (int i = 0; i < wanted; ++i) {
        char number[KV_CMDBUF];
        qstr_parse(value, number, ':');
        if (kv_failed(kv_numcheck(number))) return KV_IVNUM;
        uint32_t v = numvalue(number);
        if (v < 1 || v > 9999) return KV_IVRAT;
        numbers[i] = static_cast<int32_t>(v);
    }
    // Widest class first: the i-th number (or pair) belongs to class pairs-1-i.
    for (int i = 0; i < pairs; ++i) {
        const int cls = pairs - 1 - i;
        const int32_t bar = all ? numbers[2 * i] : numbers[i];
        const int32_t space = all ? numbers[2 * i + 1] : numbers[i];
        s->curtype->widths[2 * cls] = bar;
        s->curtype->widths[2 * cls + 1] = space;
    }
    return KV_SUCCESS;
}
