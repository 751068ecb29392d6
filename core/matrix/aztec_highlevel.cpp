// High-level encoding: one pass over the data with fixed latch and shift
// choices and a few look-ahead rules, written into a bit stream.
#include <algorithm>

#include "core/matrix/aztec_internal.hpp"
#include "core/matrix/aztec_tables.hpp"

namespace {
// Latch and shift codes (ISO/IEC 24778 character table). Codes written in Digit are
// 4 bits, every other code 5.
constexpr uint32_t PS = 0;   // P/S in Upper, Lower, Mixed and Digit
constexpr uint32_t LL = 28;  // L/L from Upper and Mixed
constexpr uint32_t ML = 29;  // M/L from Upper and Lower
constexpr uint32_t DL = 30;  // D/L from Upper and Lower
constexpr uint32_t BS = 31;  // B/S from Upper, Lower and Mixed
constexpr uint32_t MUL = 29; // U/L from Mixed
constexpr uint32_t PL = 30;  // P/L from Mixed
constexpr uint32_t PUL = 31; // U/L from Punct
constexpr uint32_t DUL = 14; // U/L from Digit
constexpr uint32_t DUS = 15; // U/S from Digit

struct latchcode {
    uint8_t value;
    uint8_t bits;
};
struct latchseq {
    uint8_t count;
    latchcode codes[3];
};

// The only set transitions the encoder writes, by [from][to].
constexpr latchseq latches[5][5] = {
    // from Upper
    {{0, {}}, {1, {{LL, 5}}}, {1, {{ML, 5}}}, {2, {{ML, 5}, {PL, 5}}}, {1, {{DL, 5}}}},
    // from Lower
    {{2, {{DL, 5}, {DUL, 4}}}, {0, {}}, {1, {{ML, 5}}}, {2, {{ML, 5}, {PL, 5}}}, {1, {{DL, 5}}}},
    // from Mixed
    {{1, {{MUL, 5}}}, {1, {{LL, 5}}}, {0, {}}, {1, {{PL, 5}}}, {2, {{MUL, 5}, {DL, 5}}}},
    // from Punct
    {{1, {{PUL, 5}}},
     {2, {{PUL, 5}, {LL, 5}}},
     {2, {{PUL, 5}, {ML, 5}}},
     {0, {}},
     {2, {{PUL, 5}, {DL, 5}}}},
    // from Digit
    {{1, {{DUL, 4}}},
     {2, {{DUL, 4}, {LL, 5}}},
     {2, {{DUL, 4}, {ML, 5}}},
     {3, {{DUL, 4}, {ML, 5}, {PL, 5}}},
     {0, {}}},
};
static_assert(sizeof latches / sizeof latches[0] == 5);

const aztec_charinfo& info(uint8_t c) {
    return aztec_chars[c];
}

bool punctat(const uint8_t* d, int32_t n, int32_t i) {
    return i < n && info(d[i]).cls == AZTEC_CL_PUNCT;
}

// Length of the run of punctuation starting at i, a pair counting as its two
// characters; counting stops at `limit`.
int32_t punctrun(const uint8_t* d, int32_t n, int32_t i, int32_t limit) {
    int32_t k = 0;
    while (i < n && k < limit && info(d[i]).cls == AZTEC_CL_PUNCT) {
        const int32_t step = (i + 1 < n && aztec_pairvalue(d[i], d[i + 1]) != 0) ? 2 : 1;
        k += step;
        i += step;
    }
    return k;
}

// Whether an upper-case letter at i, met while Digit is current, is better
// written after U/S: punctuation follows, and then the text soon returns to
// the Digit set rather than to letters or more punctuation.
bool digitshiftupper(const uint8_t* d, int32_t n, int32_t i) {
    if (!punctat(d, n, i + 1)) return false;
    if (i + 2 >= n || info(d[i + 2]).digitset) return true;
    if (!punctat(d, n, i + 2)) return false;
    if (i + 3 >= n) return true;
    const aztec_charclass c3 = info(d[i + 3]).cls;
    return c3 != AZTEC_CL_UPPER && c3 != AZTEC_CL_PUNCT;
}

// Whether a CR at i is written in Mixed: the text after it begins with at
// least four Mixed-set characters and with at most three punctuation
// characters.
bool crtomixed(const uint8_t* d, int32_t n, int32_t i) {
    if (i + 4 >= n) return false;
    for (int32_t j = i + 1; j <= i + 4; ++j) {
        if (!info(d[j]).mixed) return false;
    }
    int32_t p = 0;
    for (int32_t j = i + 1; j < n && p < 4 && info(d[j]).cls == AZTEC_CL_PUNCT; ++j) ++p;
    return p <= 3;
}

class encoder {
  public:
    encoder(aztec_bitbuf* b, const uint8_t* d, int32_t n) : b_(b), d_(d), n_(n) {}

    bool run() {
        while (i_ < n_) {
            if (!step()) return false;
        }
        return true;
    }

  private:
    bool put(uint32_t v, int bits) { return aztec_stuffbits(b_, v, bits) != 0; }
    // A code in the current set: 4 bits in Digit, 5 otherwise.
    bool putcur(uint32_t v) { return put(v, cur_ == AZTEC_DIGIT ? 4 : 5); }
    bool latch(int32_t to) {
        if (aztec_latchset(b_, cur_, to) == 0) return false;
        cur_ = to;
        return true;
    }

    bool step() {
        const uint8_t c = d_[i_];
        const aztec_charinfo& ci = info(c);
        if (cur_ == AZTEC_PUNCT && ci.cls != AZTEC_CL_PUNCT && !latch(AZTEC_UPPER)) return false;
        switch (ci.cls) {
        case AZTEC_CL_BINARY:
            return binary();
        case AZTEC_CL_LOWER:
            ++i_;
            return latch(AZTEC_LOWER) && put(ci.value, 5);
        case AZTEC_CL_UPPER:
            if (cur_ == AZTEC_DIGIT && digitshiftupper(d_, n_, i_)) {
                ++i_;
                return put(DUS, 4) && put(ci.value, 5);
            }
            ++i_;
            return latch(AZTEC_UPPER) && put(ci.value, 5);
        case AZTEC_CL_DIGIT:
            ++i_;
            return latch(AZTEC_DIGIT) && put(ci.value, 4);
        case AZTEC_CL_SPACE:
            return space();
        case AZTEC_CL_PUNCT:
            if (cur_ == AZTEC_DIGIT && (c == ',' || c == '.')) {
                ++i_;
                return put(c == ',' ? AZTEC_DIGIT_COMMA : AZTEC_DIGIT_POINT, 4);
            }
            if (c == '\r' && (cur_ == AZTEC_MIXED || crtomixed(d_, n_, i_))) {
                ++i_;
                return latch(AZTEC_MIXED) && put(AZTEC_MIXED_CR, 5);
            }
            return punctuation();
        }
        return false;
    }

    // A run of bytes outside the text sets, after B/S with its length. Digit
    // has no B/S: the encoder latches to Upper first. (After U/S B/S readers
    // disagree on the set that follows the run, so U/S is never used here.)
    bool binary() {
        int32_t end = i_ + 1;
        while (end < n_ && end - i_ < AZTEC_MAXBINRUN && info(d_[end]).cls == AZTEC_CL_BINARY)
            ++end;
        const int32_t len = end - i_;
        if (cur_ == AZTEC_DIGIT && !latch(AZTEC_UPPER)) return false;
        if (!put(BS, 5)) return false;
        if (len < 32) {
            if (!put(static_cast<uint32_t>(len), 5)) return false;
        } else if (!put(0, 5) || !put(static_cast<uint32_t>(len - 31), 11)) {
            return false;
        }
        for (; i_ < end; ++i_) {
            if (!put(d_[i_], 8)) return false;
        }
        return true;
    }

    // A space goes to Digit when Digit is current or a digit follows the run
    // of spaces; otherwise it is written in the current set.
    bool space() {
        if (i_ >= spaceend_) {
            spaceend_ = i_;
            while (spaceend_ < n_ && d_[spaceend_] == ' ') ++spaceend_;
        }
        const bool digitnext = spaceend_ < n_ && info(d_[spaceend_]).cls == AZTEC_CL_DIGIT;
        ++i_;
        if ((digitnext || cur_ == AZTEC_DIGIT) && !latch(AZTEC_DIGIT)) return false;
        return putcur(1);
    }

    // Fewer than four punctuation characters are each written after P/S; a
    // longer run latches to Punct and is written whole, pairs as one code.
    bool punctuation() {
        if (cur_ != AZTEC_PUNCT && punctrun(d_, n_, i_, 4) < 4) {
            if (!putcur(PS)) return false;
            return putpunct();
        }
        if (!latch(AZTEC_PUNCT)) return false;
        while (punctat(d_, n_, i_)) {
            if (!putpunct()) return false;
        }
        return true;
    }

    // One Punct code: the pair at i if there is one, else the character.
    bool putpunct() {
        if (i_ + 1 < n_) {
            const uint8_t pv = aztec_pairvalue(d_[i_], d_[i_ + 1]);
            if (pv != 0) {
                i_ += 2;
                return put(pv, 5);
            }
        }
        return put(info(d_[i_++]).value, 5);
    }

    aztec_bitbuf* b_;
    const uint8_t* d_;
    int32_t n_;
    int32_t i_ = 0;
    int32_t cur_ = AZTEC_UPPER;
    int32_t spaceend_ = 0; // end of the run of spaces last looked past
};
} // namespace

int aztec_latchset(aztec_bitbuf* b, int32_t from, int32_t to) {
    if (from < 0 || from > 4 || to < 0 || to > 4) return 0;
    const latchseq& s = latches[from][to];
    for (int k = 0; k < s.count; ++k) {
        if (aztec_stuffbits(b, s.codes[k].value, s.codes[k].bits) == 0) return 0;
    }
    return 1;
}

int32_t aztec_encodebits(aztec_bitbuf* b, const uint8_t* data, int32_t length) {
    b->nbits = 0;
    if (data == nullptr || length <= 0) return 0;
    encoder e(b, data, length);
    if (!e.run()) return -1;
    return b->nbits;
}
