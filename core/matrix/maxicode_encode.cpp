// High-level encoding: the primary message and the code-set encoding of the
// secondary data into 6-bit codewords.
#include <cstring>

#include "core/matrix/maxicode.hpp"
#include "core/matrix/maxicode_tables.hpp"

namespace {
// Code sets by number.
enum : int { SET_A = 0, SET_B = 1, SET_C = 2, SET_D = 3, SET_E = 4 };

// Codewords that are not characters.
enum : uint8_t {
    CW_PAD = 33,
    CW_NS = 31,      // numeric shift: nine digits in the next five codewords
    CW_2SHIFTA = 56, // Set B
    CW_3SHIFTA = 57, // Set B
    CW_LATCHA = 58,  // Sets C, D, E
    CW_SHIFT = 59,   // Shift B in Set A, Shift A in Set B
    CW_SHIFTC = 60,  // Shift C (Lock-in C in Set C); 61, 62 for D and E
    CW_LATCH = 63,   // Latch B in Sets A, C, D, E; Latch A in Set B
    CW_APPEND = 33,  // opens the structured append codewords
};

// Structured append series: up to eight symbols.
constexpr int32_t MAXAPPEND = 8;

uint8_t value(int set, uint8_t byte) {
    return maxicode_sextabs[set][byte];
}
bool inset(int set, uint8_t byte) {
    return value(set, byte) < 64;
}
bool isdigit9(const uint8_t* p) {
    for (int i = 0; i < 9; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
    }
    return true;
}

// Bounded codeword output.
struct cwout {
    uint8_t* out;
    int32_t room;
    int32_t n = 0;
    bool overflow = false;

    bool has(int32_t count) const { return room - n >= count; }
    void put(uint8_t cw) {
        if (n < room)
            out[n++] = cw;
        else
            overflow = true;
    }
};

// Sets `count` bits of `v` from bit `from` into codeword `cw` at bit `at`.
void putbits(uint8_t* codewords, int32_t cw, int32_t at, uint32_t v, int32_t from, int32_t count) {
    const uint32_t bits = (v >> from) & ((1u << count) - 1u);
    codewords[cw] = static_cast<uint8_t>(codewords[cw] | (bits << at));
}

// Mode 2: the postal code as a number of up to nine digits and its length.
bool primary2(uint8_t* cw, const char* postal) {
    const size_t len = std::strlen(postal);
    if (len > 9) return false;
    uint32_t number = 0;
    for (size_t i = 0; i < len; ++i) {
        if (postal[i] < '0' || postal[i] > '9') return false;
        number = number * 10 + static_cast<uint32_t>(postal[i] - '0');
    }
    putbits(cw, 0, 4, number, 0, 2);
    for (int32_t k = 0; k < 4; ++k) putbits(cw, 1 + k, 0, number, 2 + 6 * k, 6);
    putbits(cw, 5, 0, number, 26, 4);
    const auto length = static_cast<uint32_t>(len);
    putbits(cw, 5, 4, length, 0, 2);
    putbits(cw, 6, 0, length, 2, 4);
    return true;
}

// Mode 3: six Set A characters; a shorter code is filled with spaces, as the
// standard asks (readers would show a filler of 0 as a control character).
// Lower-case letters stand for their capitals: postal codes do not tell case
// apart and Set A has no small letters.
bool primary3(uint8_t* cw, const char* postal) {
    const size_t len = std::strlen(postal);
    if (len > 6) return false;
    for (int32_t i = 0; i < 6; ++i) {
        uint8_t c = static_cast<size_t>(i) < len ? static_cast<uint8_t>(postal[i]) : ' ';
        if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 'a' + 'A');
        const uint8_t v = value(SET_A, c);
        if (v >= 64) return false;
        putbits(cw, 6 - i, 0, v, 2, 4);
        putbits(cw, 5 - i, 4, v, 0, 2);
    }
    return true;
}
} // namespace

int32_t maxicode_sexcode(uint8_t* out, int32_t room, const uint8_t* data, int32_t length) {
    if (out == nullptr || room < 0 || length < 0 || (data == nullptr && length > 0)) return -1;
    cwout o{out, room};
    int set = SET_A;
    int32_t i = 0;
    while (i < length && !o.overflow) {
        if (length - i >= 9 && isdigit9(data + i)) {
            if (!o.has(6)) {
                o.overflow = true;
                break;
            }
            uint32_t number = 0;
            for (int k = 0; k < 9; ++k) number = number * 10 + (data[i + k] - '0');
            o.put(CW_NS);
            for (int k = 4; k >= 0; --k) o.put(static_cast<uint8_t>((number >> (6 * k)) & 63u));
            i += 9;
            continue;
        }
        const uint8_t c = data[i];
        const uint8_t v = value(set, c);
        if (v < 64) {
            o.put(v);
            ++i;
        } else if (v == MAXICODE_MARK_B) {
            // Only Set A sends a byte of Set B with a shift; it pays when the
            // next byte is back in Set A (or not in Set B either).
            if (set == SET_A && i + 1 < length &&
                (inset(SET_A, data[i + 1]) || !inset(SET_B, data[i + 1]))) {
                o.put(CW_SHIFT);
                o.put(value(SET_B, c));
                ++i;
            } else {
                o.put(CW_LATCH);
                set = SET_B;
            }
        } else if (v == MAXICODE_MARK_A) {
            if (set == SET_B) {
                int32_t count = 0;
                while (count < 4 && i + count < length && inset(SET_A, data[i + count]) &&
                       !inset(SET_B, data[i + count]))
                    ++count;
                if (count == 4) {
                    o.put(CW_LATCH);
                    set = SET_A;
                } else {
                    static constexpr uint8_t shifts[3] = {CW_SHIFT, CW_2SHIFTA, CW_3SHIFTA};
                    o.put(shifts[count - 1]);
                }
                for (int32_t k = 0; k < count; ++k) o.put(value(SET_A, data[i + k]));
                i += count;
            } else {
                o.put(CW_LATCHA);
                set = SET_A;
            }
        } else {
            // Sets C, D and E are entered by a shift per byte, or locked in by
            // the shift sent twice when four bytes of the set follow.
            const int target = v - MAXICODE_MARK_A;
            if (target < SET_C || target > SET_E) return -1; // no set holds the byte
            const auto shift = static_cast<uint8_t>(CW_SHIFTC + (target - SET_C));
            int32_t count = 0;
            while (count < 4 && i + count < length && inset(target, data[i + count])) ++count;
            if (!o.has(2)) {
                o.overflow = true;
                break;
            }
            if (count == 4) {
                o.put(shift);
                o.put(shift);
                set = target;
            } else {
                for (int32_t k = 0; k < count; ++k) {
                    o.put(shift);
                    o.put(value(target, data[i + k]));
                }
                i += count;
            }
        }
    }
    if (o.overflow) return o.n > 0 ? -o.n : -1;
    // Padding (33) is a character in Sets C, D and E: latch back to B.
    if (set >= SET_C && o.n < room) o.put(CW_LATCH);
    return o.n;
}

int32_t maxicode_encode(uint8_t* codewords, int32_t position, int32_t total, int32_t mode,
                        int32_t service, const char* postal, int32_t country, const char* secondary,
                        int32_t length) {
    if (codewords == nullptr || mode < 2 || mode > 6) return -1;
    if (total < 1 || total > MAXAPPEND || position < 1 || position > total) return -1;
    if (secondary == nullptr && length != 0) return -1;
    if (length < 0) length = static_cast<int32_t>(std::strlen(secondary));

    const int32_t area = mode == 5 ? MAXICODE_DATAWORDS_EEC : MAXICODE_DATAWORDS;
    std::memset(codewords, 0, static_cast<size_t>(area));
    codewords[0] = static_cast<uint8_t>(mode & 0x0F);

    int32_t n = 1;
    if (mode == 2 || mode == 3) {
        if (postal == nullptr || country < 0 || country > 999 || service < 0 || service > 999)
            return -1;
        const auto c = static_cast<uint32_t>(country);
        const auto s = static_cast<uint32_t>(service);
        putbits(codewords, 6, 4, c, 0, 2);
        putbits(codewords, 7, 0, c, 2, 6);
        putbits(codewords, 8, 0, c, 8, 2);
        putbits(codewords, 8, 2, s, 0, 4);
        putbits(codewords, 9, 0, s, 4, 6);
        if (!(mode == 2 ? primary2(codewords, postal) : primary3(codewords, postal))) return -1;
        n = 10;
    }
    if (total > 1) {
        if (area - n < 2) return -1;
        codewords[n++] = CW_APPEND;
        codewords[n++] = static_cast<uint8_t>((position - 1) * 8 + (total - 1));
    }
    const int32_t used = maxicode_sexcode(codewords + n, area - n,
                                          reinterpret_cast<const uint8_t*>(secondary), length);
    if (used < 0) return -1;
    n += used;
    for (int32_t k = n; k < area; ++k) codewords[k] = CW_PAD;
    return n;
}
