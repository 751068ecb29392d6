// ECC200 encodation: data bytes to data codewords in the six encodation
// modes (ASCII, C40, Text, X12, EDIFACT, Base256), chosen by look-ahead,
// with the header options, the end-of-data rules and the pads.
//
// How a symbol's data may end depends on the room left in the symbol: a
// reader takes the last codeword after a C40/Text/X12 group, and the last one
// or two after an EDIFACT group, as ASCII without any unlatch. So the end of
// the data is encoded knowing which symbol the codewords will land in.
#include <algorithm>
#include <array>
#include <cstring>

#include "core/matrix/datamatrix200_internal.hpp"

namespace {
// Codewords that may be written before an overflow is declared: a group or
// a Base256 length that crosses the largest capacity can still be undone by
// the end-of-data rules.
constexpr int32_t workcap = datamtx200_maxdata + 8;
static_assert(workcap <= datamtx200_bufsize);

constexpr uint8_t cw_upshift = 235;
constexpr uint8_t cw_latch_c40 = 230;
constexpr uint8_t cw_latch_b256 = 231;
constexpr uint8_t cw_latch_x12 = 238;
constexpr uint8_t cw_latch_text = 239;
constexpr uint8_t cw_latch_edifact = 240;
constexpr uint8_t cw_unlatch = 254;         // C40, Text, X12 back to ASCII
constexpr uint8_t cw_edifact_unlatch = 124; // EDIFACT value 31 alone in a codeword
constexpr uint8_t cw_pad = 129;
constexpr int32_t edifact_unlatch_value = 31;

bool isdigit8(uint8_t c) {
    return c >= '0' && c <= '9';
}

int32_t csetrow(int32_t mode) {
    switch (mode) {
    case DATAMTX_C40:
        return 0;
    case DATAMTX_TEXT:
        return 1;
    case DATAMTX_X12:
        return 2;
    case DATAMTX_EDIFACT:
        return 3;
    default:
        return -1;
    }
}

// Values a character takes in a packed mode, in order; 0 when it has none.
int32_t charvalues(int32_t mode, uint8_t c, int32_t* v) {
    int32_t k = 0;
    if (mode == DATAMTX_C40 || mode == DATAMTX_TEXT) {
        if (c >= 128) { // Shift 2, Upper Shift, then the character less 128
            v[k++] = 1;
            v[k++] = 30;
            c = static_cast<uint8_t>(c - 128);
        }
        const int32_t x = datamtx_csetindex(mode, c);
        if (x >= 256) v[k++] = (x >> 8) - 1;
        v[k++] = x & 255;
        return k;
    }
    const int32_t x = datamtx_csetindex(mode, c);
    if (x < 0) return 0;
    v[0] = x;
    return 1;
}

struct encoder {
    uint8_t* out;
    int32_t n = 0;
    bool overflow = false;
    const uint8_t* data;
    int32_t length;
    int32_t pos = 0;
    int32_t minsize;
    int32_t mode = DATAMTX_ASCII;
    int32_t runstart = 0; // first codeword after the current run's latch
    int32_t total = 0;    // values queued in the current packed run
    int32_t vals[8] = {}; // values not yet packed into codewords
    int32_t nvals = 0;
    // An explicit EDIFACT unlatch is read as such only with at least three
    // codewords from its group's start to the end of the symbol.
    int32_t edfguard = 0;
    int32_t asciiuntil = 0; // no look-ahead before this input position
    int32_t closing = -1;   // unlatch after the counted codewords, if any

    void emit(int32_t v) {
        if (n >= workcap) {
            overflow = true;
            return;
        }
        out[n++] = static_cast<uint8_t>(v);
    }

    // Data capacity of the symbol that `count` codewords land in; -1 when
    // none holds them.
    int32_t capacity(int32_t count) const {
        const datamtx200_symdef* e = datamtx200_symdeffit(std::max(count, edfguard), minsize);
        return e == nullptr ? -1 : e->data;
    }

    void asciichar(uint8_t c) {
        if (c >= 128) {
            emit(cw_upshift);
            emit(c - 127);
        } else {
            emit(c + 1);
        }
    }

    void digitpairs() {
        while (pos + 1 < length && isdigit8(data[pos]) && isdigit8(data[pos + 1])) {
            emit(130 + 10 * (data[pos] - '0') + (data[pos + 1] - '0'));
            pos += 2;
        }
    }

    // Encodes data[from .. length) in ASCII.
    void asciirest(int32_t from) {
        pos = from;
        while (pos < length && !overflow) {
            digitpairs();
            if (pos < length) asciichar(data[pos++]);
        }
    }

    static int32_t asciilen(const uint8_t* d, int32_t from, int32_t to) {
        int32_t a = 0;
        for (int32_t i = from; i < to;) {
            if (i + 1 < to && isdigit8(d[i]) && isdigit8(d[i + 1])) {
                i += 2;
                a += 1;
            } else {
                a += d[i++] >= 128 ? 2 : 1;
            }
        }
        return a;
    }

    void packgroups() {
        if (mode == DATAMTX_EDIFACT) {
            while (nvals >= 4) {
                const uint32_t w =
                    static_cast<uint32_t>(vals[0] << 18 | vals[1] << 12 | vals[2] << 6 | vals[3]);
                emit(w >> 16 & 255);
                emit(w >> 8 & 255);
                emit(w & 255);
                std::memmove(vals, vals + 4, sizeof vals[0] * (nvals - 4));
                nvals -= 4;
            }
            return;
        }
        while (nvals >= 3) {
            const int32_t w = 1600 * vals[0] + 40 * vals[1] + vals[2] + 1;
            emit(w >> 8);
            emit(w & 255);
            std::memmove(vals, vals + 3, sizeof vals[0] * (nvals - 3));
            nvals -= 3;
        }
    }

    // The pending EDIFACT values followed by the unlatch value, zero bits
    // up to the next codeword boundary.
    void edifactunlatch() {
        const int32_t groupstart = n;
        uint32_t acc = 0;
        int32_t bits = 0;
        for (int32_t i = 0; i <= nvals; ++i) {
            acc = acc << 6 | static_cast<uint32_t>(i < nvals ? vals[i] : edifact_unlatch_value);
            bits += 6;
            if (bits >= 8) {
                emit(acc >> (bits - 8) & 255);
                bits -= 8;
            }
        }
        if (bits > 0) emit(acc << (8 - bits) & 255);
        nvals = 0;
        edfguard = std::max(edfguard, groupstart + 3);
    }

    void closeb256() {
        const int32_t len = n - runstart - 1;
        if (len >= 250) {
            if (n >= workcap) {
                overflow = true;
                return;
            }
            std::memmove(out + runstart + 2, out + runstart + 1, static_cast<size_t>(len));
            ++n;
            out[runstart] = static_cast<uint8_t>(len / 250 + 249);
            out[runstart + 1] = static_cast<uint8_t>(len % 250);
        } else {
            out[runstart] = static_cast<uint8_t>(len);
        }
        datamtx_nstaterand(out, runstart, n - runstart, 255, 0);
    }

    // Leaves the current mode at a group boundary, back to ASCII.
    void closemode() {
        switch (mode) {
        case DATAMTX_B256:
            closeb256();
            break;
        case DATAMTX_EDIFACT:
            edifactunlatch();
            break;
        case DATAMTX_C40:
        case DATAMTX_TEXT:
        case DATAMTX_X12:
            emit(cw_unlatch);
            break;
        default:
            break;
        }
        mode = DATAMTX_ASCII;
    }

    void openmode(int32_t m) {
        total = 0;
        nvals = 0;
        switch (m) {
        case DATAMTX_B256:
            emit(cw_latch_b256);
            runstart = n;
            emit(0); // the field length, written when the field closes
            break;
        case DATAMTX_C40:
            emit(cw_latch_c40);
            break;
        case DATAMTX_TEXT:
            emit(cw_latch_text);
            break;
        case DATAMTX_X12:
            emit(cw_latch_x12);
            break;
        case DATAMTX_EDIFACT:
            emit(cw_latch_edifact);
            break;
        default:
            break;
        }
        if (m != DATAMTX_B256) runstart = n;
        mode = m;
    }

    // A character without an X12 or EDIFACT value: the run ends before it
    // and it is encoded in ASCII. X12 can leave only between groups, so the
    // characters of a part group are taken back and encoded in ASCII too;
    // EDIFACT packs them with its unlatch value.
    void leaveforbad() {
        const int32_t bad = pos;
        if (total == nvals) {
            // Nothing of the run has been written: drop its latch.
            pos -= nvals;
            n = runstart - 1;
        } else if (mode == DATAMTX_X12) {
            pos -= nvals;
            emit(cw_unlatch);
        } else {
            edifactunlatch();
        }
        nvals = 0;
        total = 0;
        mode = DATAMTX_ASCII;
        asciiuntil = bad + 1;
    }

    void encodechar() {
        const uint8_t c = data[pos];
        switch (mode) {
        case DATAMTX_ASCII:
            asciichar(c);
            ++pos;
            return;
        case DATAMTX_B256:
            emit(c);
            ++pos;
            return;
        default:
            break;
        }
        const int32_t k = charvalues(mode, c, vals + nvals);
        if (k == 0) {
            leaveforbad();
            return;
        }
        nvals += k;
        total += k;
        ++pos;
        packgroups();
    }

    // End of data in C40, Text or X12. A part group of two C40/Text values
    // is completed with Shift 1. Other part groups are avoided by taking
    // whole characters back (values of one character never split between
    // the packed run and ASCII) and encoding them in ASCII after the run.
    void finishtriplets() {
        int32_t t = total;
        int32_t p = pos;
        int32_t v[4];
        while (t % 3 == 1 || (t % 3 == 2 && mode == DATAMTX_X12)) {
            --p;
            t -= charvalues(mode, data[p], v);
        }
        n = runstart + 2 * (t / 3);
        nvals = 0;
        if (t == 0) {
            n = runstart - 1; // the run holds nothing: drop its latch
        } else {
            if (t % 3 == 2) {
                // The last two values of the run, from the characters before p.
                int32_t k = charvalues(mode, data[p - 1], v);
                int32_t last[2];
                if (k >= 2) {
                    last[0] = v[k - 2];
                    last[1] = v[k - 1];
                } else {
                    last[1] = v[0];
                    k = charvalues(mode, data[p - 2], v);
                    last[0] = v[k - 1];
                }
                const int32_t w = 1600 * last[0] + 40 * last[1] + 0 + 1;
                emit(w >> 8);
                emit(w & 255);
            }
            if (p == length) {
                // A lone codeword left in the symbol is read as ASCII: it
                // takes a pad, not the unlatch.
                if (capacity(n) - n >= 2) closing = cw_unlatch;
            } else if (asciilen(data, p, length) == 1 && capacity(n + 1) == n + 1) {
                // Exactly one codeword left: read as ASCII, no unlatch.
            } else {
                emit(cw_unlatch);
            }
        }
        mode = DATAMTX_ASCII;
        asciirest(p);
    }

    // End of data in EDIFACT.
    void finishedifact() {
        const int32_t p = nvals;
        if (p == 0) {
            if (capacity(n) - n >= 3) closing = cw_edifact_unlatch;
        } else if (total == p) {
            n = runstart - 1; // only these characters: no EDIFACT run at all
            nvals = 0;
            asciirest(pos - p);
        } else {
            const int32_t a = asciilen(data, pos - p, length);
            const int32_t cap = capacity(n + a);
            if (a <= 2 && cap >= 0 && cap <= n + 2) {
                // One or two codewords left after the last group are read
                // as ASCII without an unlatch.
                nvals = 0;
                asciirest(pos - p);
            } else {
                edifactunlatch();
            }
        }
        mode = DATAMTX_ASCII;
    }

    void finish() {
        switch (mode) {
        case DATAMTX_B256:
            closeb256();
            break;
        case DATAMTX_C40:
        case DATAMTX_TEXT:
        case DATAMTX_X12:
            finishtriplets();
            break;
        case DATAMTX_EDIFACT:
            finishedifact();
            break;
        default:
            break;
        }
        mode = DATAMTX_ASCII;
    }

    void run(int32_t options) {
        if (options & DATAMTX_OPT_MACRO05)
            emit(236);
        else if (options & DATAMTX_OPT_MACRO06)
            emit(237);
        else if (options & DATAMTX_OPT_READERPROG)
            emit(234);
        while (pos < length && !overflow) {
            if (mode == DATAMTX_ASCII) {
                digitpairs();
                if (pos >= length) break;
            }
            if (nvals == 0 && pos >= asciiuntil) {
                const int32_t m = datamtx_lookaheadJ(data + pos, length - pos, mode);
                if (m != mode) {
                    closemode();
                    openmode(m);
                }
                if (mode == DATAMTX_ASCII) {
                    digitpairs();
                    if (pos >= length) break;
                }
            }
            encodechar();
        }
        if (!overflow) finish();
    }
};
} // namespace

int32_t datamtx_csetindex(int32_t mode, int32_t c) {
    const int32_t row = csetrow(mode);
    if (row < 0 || c < 0 || c > 127) return -1;
    return datamtx_csettab[row][c];
}

void datamtx_nstaterand(uint8_t* codewords, int32_t first, int32_t count, int32_t states,
                        int32_t inverse) {
    if (codewords == nullptr || first < 0 || (states != 255 && states != 253)) return;
    for (int32_t i = first; i < first + count; ++i) {
        const int32_t r = (149 * (i + 1)) % states + 1;
        int32_t t = codewords[i];
        if (states == 255) {
            t = inverse ? t - r : t + r;
            t = t < 0 ? t + 256 : (t > 255 ? t - 256 : t);
        } else {
            t = inverse ? t - r : t + r;
            t = t < 1 ? t + 254 : (t > 254 ? t - 254 : t);
        }
        codewords[i] = static_cast<uint8_t>(t);
    }
}

const char* datamtx200_encname(int32_t mode) {
    switch (mode) {
    case DATAMTX_ASCII:
        return "ascii";
    case DATAMTX_B256:
        return "b256";
    case DATAMTX_EDIFACT:
        return "edf";
    case DATAMTX_TEXT:
        return "text";
    case DATAMTX_C40:
        return "c40";
    case DATAMTX_X12:
        return "x12";
    default:
        return "??";
    }
}

int32_t datamtx_leastofexceptn(const int32_t* values, int32_t count, int32_t skip) {
    int32_t least = -1;
    for (int32_t i = 0; i < count; ++i) {
        if (i == skip) continue;
        if (least < 0 || values[i] < least) least = values[i];
    }
    return least;
}

namespace {
constexpr int32_t roundup12(int32_t v) {
    return (v + 11) / 12 * 12;
}

// What the look-ahead asks of a byte, as bits.
enum : uint8_t {
    LA_DIGIT = 1,
    LA_C40 = 2,      // one C40 value: space, digit, capital
    LA_TEXT = 4,     // one Text value: space, digit, small letter
    LA_X12 = 8,      // in the X12 set
    LA_X12TERM = 16, // CR, '*', '>'
    LA_EDIFACT = 32,
};
constexpr std::array<uint8_t, 256> makeclasses() {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        const bool digit = c >= '0' && c <= '9';
        const bool upper = c >= 'A' && c <= 'Z';
        const bool lower = c >= 'a' && c <= 'z';
        const bool term = c == 13 || c == '*' || c == '>';
        uint8_t v = 0;
        if (digit) v |= LA_DIGIT;
        if (c == ' ' || digit || upper) v |= LA_C40 | LA_X12;
        if (c == ' ' || digit || lower) v |= LA_TEXT;
        if (term) v |= LA_X12 | LA_X12TERM;
        if (c >= 32 && c <= 94) v |= LA_EDIFACT;
        t[c] = v;
    }
    return t;
}
constexpr std::array<uint8_t, 256> laclass = makeclasses();
} // namespace

int32_t datamtx_lookaheadJ(const uint8_t* data, int32_t length, int32_t current) {
    constexpr int32_t A = DATAMTX_ASCII, B = DATAMTX_B256, E = DATAMTX_EDIFACT, T = DATAMTX_TEXT,
                      C = DATAMTX_C40, X = DATAMTX_X12;
    // Costs in twelfths of a codeword, indexed by mode.
    int32_t cost[6];
    if (current < A || current > X) current = A;
    if (current == A) {
        cost[A] = 0;
        cost[B] = 15;
        cost[E] = cost[T] = cost[C] = cost[X] = 12;
    } else {
        cost[A] = 12;
        cost[B] = 27;
        cost[E] = cost[T] = cost[C] = cost[X] = 24;
        cost[current] = 0;
    }
    for (int32_t i = 0; i < length; ++i) {
        const uint8_t c = data[i];
        const uint8_t k = laclass[c];
        const bool ext = c >= 128;
        if (k & LA_DIGIT)
            cost[A] += 6;
        else
            cost[A] = roundup12(cost[A]) + (ext ? 24 : 12);
        cost[C] += ext ? 32 : (k & LA_C40 ? 8 : 16);
        cost[T] += ext ? 32 : (k & LA_TEXT ? 8 : 16);
        cost[X] += ext ? 52 : (k & LA_X12 ? 8 : 40);
        cost[E] += ext ? 51 : (k & LA_EDIFACT ? 9 : 39);
        cost[B] += 12;
        if (i < 3) continue;

        if (cost[A] < datamtx_leastofexceptn(cost, 6, A)) return A;
        if (cost[B] < datamtx_leastofexceptn(cost, 6, B)) return B;
        if (cost[E] + 1 < datamtx_leastofexceptn(cost, 6, E)) return E;
        if (cost[T] + 1 < datamtx_leastofexceptn(cost, 6, T)) return T;
        if (cost[C] + 1 < datamtx_leastofexceptn(cost, 6, C)) return C;
        const int32_t c1 = cost[C] + 1;
        if (c1 < cost[A] && c1 < cost[B] && c1 < cost[E] && c1 < cost[T]) {
            if (cost[C] == cost[X]) {
                for (int32_t j = i + 1; j < length && (laclass[data[j]] & LA_X12); ++j) {
                    if (laclass[data[j]] & LA_X12TERM) return X;
                }
            }
            return C;
        }
        if (cost[X] + 1 < datamtx_leastofexceptn(cost, 6, X)) return X;
    }
    for (int32_t& v : cost) v = roundup12(v);
    if (cost[A] <= datamtx_leastofexceptn(cost, 6, A)) return A;
    for (const int32_t m : {B, E, T, X}) {
        if (cost[m] < datamtx_leastofexceptn(cost, 6, m)) return m;
    }
    return C;
}

int32_t datamtx200_encode(uint8_t* out, const uint8_t* data, int32_t length, int32_t options,
                          int32_t minsize) {
    if (out == nullptr || length < 0 || (data == nullptr && length > 0)) return -1;
    // No mode packs more than two characters into a codeword.
    if (length > 2 * datamtx200_maxdata) return -(datamtx200_maxdata + 1);

    encoder e;
    e.out = out;
    e.data = data;
    e.length = length;
    e.minsize = minsize;
    e.run(options);
    const int32_t count = std::max(e.n, e.edfguard);
    if (e.overflow || count > datamtx200_maxdata) return -std::max(count, 1);

    int32_t at = e.n;
    if (e.closing >= 0) out[at++] = static_cast<uint8_t>(e.closing);
    if (at < datamtx200_maxdata) {
        out[at] = cw_pad;
        std::memcpy(out + at + 1, datamtx200_padtab.data() + at + 1,
                    static_cast<size_t>(datamtx200_maxdata - at - 1));
    }
    return count;
}
