// A bit stream for the two-dimensional encoders: values appended most
// significant bit first into a byte buffer of fixed capacity, and read back
// bit by bit.
#pragma once

#include <algorithm>
#include <cstdint>

// Appends the low n (0..16) bits of `value` to the stream of *nbits bits in
// bytes[0 .. capbits / 8). 0 when they would not fit (nothing is written then).
inline int bitstream_append(uint8_t* bytes, int32_t capbits, int32_t* nbits, uint32_t value,
                            int n) {
    if (n <= 0) return 1;
    if (*nbits + n > capbits) return 0;
    int32_t pos = *nbits;
    *nbits += n;
    while (n > 0) {
        const int32_t byte = pos >> 3;
        const int used = pos & 7;
        if (used == 0) bytes[byte] = 0;
        const int take = std::min(8 - used, n);
        const uint32_t chunk = (value >> (n - take)) & ((1u << take) - 1u);
        bytes[byte] |= static_cast<uint8_t>(chunk << (8 - used - take));
        n -= take;
        pos += take;
    }
    return 1;
}

// Bit `pos` (0 or 1) of a stream written by bitstream_append.
inline int bitstream_bit(const uint8_t* bytes, int32_t pos) {
    return (bytes[pos >> 3] >> (7 - (pos & 7))) & 1;
}

// A stream with room for NBYTES bytes.
template <int32_t NBYTES> struct bitstream {
    static constexpr int32_t capacity = NBYTES * 8; // bits
    int32_t nbits = 0;
    uint8_t bytes[NBYTES];

    int put(uint32_t value, int n) { return bitstream_append(bytes, capacity, &nbits, value, n); }
    int bit(int32_t pos) const { return bitstream_bit(bytes, pos); }
};
