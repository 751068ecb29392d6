// PDF417 compaction: the data are cut into runs of text, bytes and digits,
// short runs are folded into their neighbours, and each run is encoded with
// its compaction mode (text sub-modes with shifts and latches, 6 bytes to 5
// codewords, 44 digits to 15 codewords).
#include <array>
#include <cstring>

#include "core/driver/kvalloc.hpp"
#include "core/matrix/pdf417_internal.hpp"

namespace {

// Class word of every byte (text sub-mode tables of the symbology).
constexpr std::array<int32_t, 256> make_texttypes() {
    std::array<int32_t, 256> t{};
    for (int32_t c = 0; c < 256; ++c) t[c] = PDF417_TT_BYTE | c;
    for (int32_t c = 'A'; c <= 'Z'; ++c) t[c] = PDF417_TT_ALPHA | (c - 'A');
    for (int32_t c = 'a'; c <= 'z'; ++c) t[c] = PDF417_TT_LOWER | (c - 'a');
    constexpr char punct[] = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";
    constexpr char mixed[] = "0123456789&\r\t,:#-.$/+%*=^";
    for (int32_t i = 0; punct[i] != '\0'; ++i)
        t[static_cast<uint8_t>(punct[i])] = PDF417_TT_PUNCT | i;
    for (int32_t i = 0; mixed[i] != '\0'; ++i) {
        int32_t& w = t[static_cast<uint8_t>(mixed[i])];
        // A character of both lists sits at the same position in each.
        w = (w & PDF417_TT_PUNCT) ? (w | PDF417_TT_MIXED) : (PDF417_TT_MIXED | i);
    }
    t[' '] = PDF417_TT_ALPHA | PDF417_TT_LOWER | PDF417_TT_MIXED | 26;
    return t;
}
constexpr std::array<int32_t, 256> texttypes = make_texttypes();
static_assert(texttypes[' '] == 0x71A);
static_assert(texttypes['\r'] == (PDF417_TT_MIXED | PDF417_TT_PUNCT | 11));
static_assert(texttypes['*'] == (PDF417_TT_MIXED | PDF417_TT_PUNCT | 22));
static_assert(texttypes['^'] == (PDF417_TT_MIXED | 24));
static_assert(texttypes['\''] == (PDF417_TT_PUNCT | 28));

// Bytes that text compaction can hold: space to tilde, TAB, LF and CR.
constexpr bool istext(uint8_t c) {
    return (c >= 0x20 && c <= 0x7E) || c == 9 || c == 10 || c == 13;
}
constexpr bool isdigit(uint8_t c) {
    return c >= '0' && c <= '9';
}

// Any byte beyond this many can never fit: no compaction packs more than
// three bytes into a codeword.
constexpr int32_t maxdata = 3 * PDF417_MAXCW;

int fail(pdf417_sym* sym, int32_t err) {
    sym->errcode = err;
    return 0;
}

} // namespace

int32_t pdf417_texttype(int32_t c) {
    return texttypes[static_cast<uint8_t>(c)];
}

void pdf417_safemove(void* dst, const void* src, size_t n) {
    if (n > 0) std::memmove(dst, src, n);
}

// ---------------------------------------------------------------- run list

int pdf417_runlist_init(pdf417_runlist* list) {
    list->count = 0;
    list->room = 0;
    list->runs = kv_newarray<pdf417_run>(16);
    if (!list->runs) return 0;
    list->room = 16;
    return 1;
}

int pdf417_runlist_add(pdf417_runlist* list, int32_t type, int32_t start, int32_t end) {
    if (list->count == list->room) {
        const int32_t room = list->room > 0 ? 2 * list->room : 16;
        std::unique_ptr<pdf417_run[]> grown = kv_newarray<pdf417_run>(static_cast<size_t>(room));
        if (!grown) return 0;
        if (list->count > 0)
            std::memcpy(grown.get(), list->runs.get(), sizeof(pdf417_run) * list->count);
        list->runs = std::move(grown);
        list->room = room;
    }
    list->runs[list->count++] = pdf417_run{type, start, end};
    return 1;
}

int pdf417_runlist_del(pdf417_runlist* list, int32_t index) {
    if (index < 0 || index >= list->count) return 0;
    pdf417_safemove(&list->runs[index], &list->runs[index + 1],
                    sizeof(pdf417_run) * (list->count - index - 1));
    --list->count;
    return 1;
}

pdf417_run* pdf417_runlist_get(pdf417_runlist* list, int32_t index) {
    if (list == nullptr || index < 0 || index >= list->count) return nullptr;
    return &list->runs[index];
}

void pdf417_runlist_freeall(pdf417_runlist* list) {
    list->runs.reset();
    list->count = 0;
    list->room = 0;
}

int32_t pdf417_runlistel_type(const pdf417_run* run) {
    return run->type;
}
int32_t pdf417_runlistel_len(const pdf417_run* run) {
    return run->end - run->start;
}

void pdf417_runlist_gube(const pdf417_runlist* list, const uint8_t* data, std::FILE* out) {
    std::fprintf(out, "runlist (len=%d) :\n", list->count);
    for (int32_t i = 0; i < list->count; ++i) {
        const pdf417_run& r = list->runs[i];
        std::fprintf(out, "  %c (%d..%d)", static_cast<char>(r.type), r.start, r.end);
        if (data != nullptr)
            std::fprintf(out, " : [%.*s]", r.end - r.start,
                         reinterpret_cast<const char*>(data + r.start));
        std::fputc('\n', out);
    }
}

// ---------------------------------------------------------------- runs

int pdf417_segment(pdf417_runlist* list, const uint8_t* d, int32_t length, int32_t options) {
    int32_t b = 0;
    while (b < length) {
        // [b, end) is mixed data, [end, stop) a numeric run (possibly empty).
        int32_t end = length;
        int32_t stop = length;
        if (!(options & PDF417_OPT_NONUMERIC)) {
            int32_t count = 0;
            bool numeric = false;
            end = b;
            for (int32_t i = b; i < length; ++i) {
                if (isdigit(d[i])) {
                    ++count;
                    continue;
                }
                if (count >= 13) {
                    end = i - count;
                    stop = i;
                    numeric = true;
                    break;
                }
                count = 0;
                end = i + 1;
            }
            if (!numeric) end = count >= 13 ? length - count : length;
        }
        for (int32_t i = b; i < end;) {
            const bool text = istext(d[i]);
            int32_t j = i + 1;
            while (j < end && istext(d[j]) == text) ++j;
            if (!pdf417_runlist_add(list, text ? 'T' : 'B', i, j)) return 0;
            i = j;
        }
        if (stop > end && !pdf417_runlist_add(list, 'N', end, stop)) return 0;
        b = stop;
    }
    return 1;
}

// Each merge rule is meant to be applied until nothing changes, starting
// again from the first run after every merge. A merge only lengthens runs and
// never makes another candidate ineligible, so the result is the closure of
// the rule, which one pass over the list reaches in linear time.
void pdf417_mergeruns(pdf417_runlist* list) {
    pdf417_run* r = list->runs.get();
    const auto len = [](const pdf417_run& x) { return x.end - x.start; };

    // a. T, one byte, T -> T when the two texts hold more than 2 characters.
    int32_t w = 0;
    for (int32_t i = 0; i < list->count; ++i) {
        r[w++] = r[i];
        while (w >= 3 && r[w - 1].type == 'T' && r[w - 2].type == 'B' && len(r[w - 2]) == 1 &&
               r[w - 3].type == 'T' && len(r[w - 3]) + len(r[w - 1]) > 2) {
            r[w - 3].end = r[w - 1].end;
            w -= 2;
        }
    }
    list->count = w;

    // b. A text run of 5 or more absorbs neighbouring texts and single bytes:
    // every chain of such runs that holds one becomes one text run.
    // c. A byte run absorbs neighbouring byte runs and texts shorter than 5:
    // every chain of such runs that holds a byte run becomes one byte run.
    const auto collapse = [&](auto member, auto seed, int32_t type) {
        int32_t out = 0;
        for (int32_t i = 0; i < list->count;) {
            if (!member(r[i])) {
                r[out++] = r[i++];
                continue;
            }
            int32_t j = i;
            bool seeded = false;
            for (; j < list->count && member(r[j]); ++j) seeded = seeded || seed(r[j]);
            if (seeded) {
                r[out++] = pdf417_run{type, r[i].start, r[j - 1].end};
            } else {
                for (int32_t k = i; k < j; ++k) r[out++] = r[k];
            }
            i = j;
        }
        list->count = out;
    };
    collapse([&](const pdf417_run& x) { return x.type == 'T' || (x.type == 'B' && len(x) == 1); },
             [&](const pdf417_run& x) { return x.type == 'T' && len(x) >= 5; }, 'T');
    collapse([&](const pdf417_run& x) { return x.type == 'B' || (x.type == 'T' && len(x) < 5); },
             [&](const pdf417_run& x) { return x.type == 'B'; }, 'B');
}

// ---------------------------------------------------------------- modes

int32_t pdf417_textcompact(int32_t* out, const uint8_t* d, int32_t length, int32_t room) {
    enum { ALPHA, LOWER, MIXED, PUNCT };
    constexpr int32_t bit[4] = {PDF417_TT_ALPHA, PDF417_TT_LOWER, PDF417_TT_MIXED, PDF417_TT_PUNCT};
    int32_t sub = ALPHA;
    int32_t pend[8]; // sub-mode values not yet paired
    int32_t np = 0;
    int32_t n = 0;
    for (int32_t i = 0;; ++i) {
        const bool end = i >= length;
        const int32_t cls = end ? 0 : texttypes[d[i]];
        if ((np & 1) && (end || (cls & PDF417_TT_BYTE))) {
            pend[np++] = 29; // filler; in Punctuation it latches back to Alpha
            if (sub == PUNCT) sub = ALPHA;
        }
        for (int32_t k = 0; k + 1 < np; k += 2, ++n) {
            if (n < room) out[n] = 30 * pend[k] + pend[k + 1];
        }
        if (np & 1) pend[0] = pend[np - 1];
        np &= 1;
        if (end) break;

        if (cls & PDF417_TT_BYTE) {
            if (n + 2 <= room) {
                out[n] = PDF417_CW_BYTESHIFT;
                out[n + 1] = cls & 0xFF;
            }
            n += 2;
            continue;
        }
        if (!(cls & bit[sub]) && sub == PUNCT) {
            pend[np++] = 29;
            sub = ALPHA;
        }
        if (!(cls & bit[sub])) {
            const auto follows = [&](int32_t mask) {
                return i + 2 < length && (texttypes[d[i + 1]] & mask) &&
                       (texttypes[d[i + 2]] & mask);
            };
            if (cls & PDF417_TT_MIXED) {
                pend[np++] = 28;
                sub = MIXED;
            } else if (cls & PDF417_TT_PUNCT) {
                if (follows(PDF417_TT_PUNCT)) {
                    if (sub != MIXED) pend[np++] = 28;
                    pend[np++] = 25;
                    sub = PUNCT;
                } else {
                    pend[np++] = 29; // shift for this character only
                }
            } else if (sub == LOWER) { // an upper-case letter
                if (follows(PDF417_TT_ALPHA)) {
                    pend[np++] = 28; // to Mixed
                    pend[np++] = 28; // to Alpha
                    sub = ALPHA;
                } else {
                    pend[np++] = 27; // shift for this character only
                }
            } else if (sub == MIXED) {
                const bool lower = (cls & PDF417_TT_LOWER) != 0;
                pend[np++] = lower ? 27 : 28;
                sub = lower ? LOWER : ALPHA;
            } else { // Alpha, a lower-case letter
                pend[np++] = 27;
                sub = LOWER;
            }
        }
        pend[np++] = cls & 0xFF;
    }
    return n > room ? -n : n;
}

int32_t pdf417_numcompact44(int32_t* out, const uint8_t* digits, int32_t length) {
    if (length < 0) length = 0;
    if (length > 44) length = 44;
    // "1" followed by the digits, as base-900 digits, least significant first.
    uint32_t v[16] = {1};
    int32_t m = 1;
    for (int32_t i = 0; i < length; ++i) {
        uint32_t carry = static_cast<uint32_t>(digits[i] - '0');
        if (carry > 9) carry = 0;
        for (int32_t j = 0; j < m; ++j) {
            const uint32_t x = v[j] * 10 + carry;
            v[j] = x % 900;
            carry = x / 900;
        }
        if (carry != 0 && m < 16) v[m++] = carry;
    }
    const int32_t count = length / 3 + 1;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t j = count - 1 - i;
        out[i] = j < m ? static_cast<int32_t>(v[j]) : 0;
    }
    return count;
}

int32_t pdf417_numcompact(int32_t* out, const uint8_t* digits, int32_t length) {
    int32_t n = 0;
    for (int32_t i = 0; i < length; i += 44) {
        const int32_t group = length - i < 44 ? length - i : 44;
        n += pdf417_numcompact44(out + n, digits + i, group);
    }
    return n;
}

int32_t pdf417_bincompact6(int32_t* out, const uint8_t* bytes) {
    uint64_t v = 0;
    for (int32_t i = 0; i < 6; ++i) v = (v << 8) | bytes[i];
    for (int32_t i = 4; i >= 0; --i) {
        out[i] = static_cast<int32_t>(v % 900);
        v /= 900;
    }
    return 5;
}

int32_t pdf417_bincompact(int32_t* out, const uint8_t* bytes, int32_t length) {
    int32_t n = 0;
    int32_t i = 0;
    for (; i + 6 <= length; i += 6) n += pdf417_bincompact6(out + n, bytes + i);
    for (; i < length; ++i) out[n++] = bytes[i];
    return n;
}

int32_t pdf417_numcompactlen(int32_t n) {
    if (n <= 0) return 0;
    return 15 * (n / 44) + (n % 44 == 0 ? 0 : (n % 44) / 3 + 1);
}

int32_t pdf417_bincompactlen(int32_t n) {
    if (n <= 0) return 0;
    return 5 * (n / 6) + n % 6;
}

// ---------------------------------------------------------------- driver

int pdf417_autocompact(pdf417_sym* sym, const uint8_t* data, int32_t length) {
    if (length > maxdata) return fail(sym, PDF417_ERR_TOOLONG);
    pdf417_runlist list;
    if (!pdf417_runlist_init(&list) || !pdf417_segment(&list, data, length, sym->options))
        return fail(sym, PDF417_ERR_MEMORY);
    pdf417_mergeruns(&list);

    if (list.count == 1 && list.runs[0].type == 'T' && pdf417_runlistel_len(&list.runs[0]) > 7) {
        bool digits = true;
        for (int32_t i = list.runs[0].start; i < list.runs[0].end && digits; ++i)
            digits = isdigit(data[i]);
        if (digits) list.runs[0].type = 'N';
    }

    int32_t* cw = sym->codewords;
    int32_t n = 1; // codeword 0 is the length descriptor
    for (int32_t k = 0; k < list.count; ++k) {
        const pdf417_run& run = list.runs[k];
        const uint8_t* p = data + run.start;
        const int32_t len = run.end - run.start;
        const int32_t room = PDF417_MAXCW - n;
        switch (run.type) {
        case 'T': {
            // Text is the mode a symbol starts in; later text runs latch back.
            if (n > 1) {
                if (room < 1) return fail(sym, PDF417_ERR_TOOLONG);
                cw[n++] = PDF417_CW_TEXT;
            }
            const int32_t got = pdf417_textcompact(cw + n, p, len, PDF417_MAXCW - n);
            if (got < 0) return fail(sym, PDF417_ERR_TOOLONG);
            n += got;
            break;
        }
        case 'N':
            if (pdf417_numcompactlen(len) + 1 > room) return fail(sym, PDF417_ERR_TOOLONG);
            cw[n++] = PDF417_CW_NUMERIC;
            n += pdf417_numcompact(cw + n, p, len);
            break;
        default:
            if (pdf417_bincompactlen(len) + 1 > room) return fail(sym, PDF417_ERR_TOOLONG);
            cw[n++] = len % 6 == 0 ? PDF417_CW_BYTE6 : PDF417_CW_BYTE;
            n += pdf417_bincompact(cw + n, p, len);
            break;
        }
    }
    sym->cwcount = n;
    cw[0] = n;
    return 1;
}
