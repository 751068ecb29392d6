// Tables of the DataMatrix ECC 000-140 encoder: the character bases, the
// convolutional codes, the module placement of every inner size (computed)
// and the fixed random bit stream.
#pragma once

#include <array>
#include <cstdint>

// One character base: the characters it holds (value = position), the
// format identifier sent for it, and how many characters pack into how many
// bits. Bases 128 and 256 carry bytes as they are (no character list).
struct datamtx000_base {
    int32_t base; // 11, 27, 37, 41, 128 or 256
    const char* chars;
    int32_t formatid;
    int32_t groupchars;
    int32_t groupbits;
};
inline constexpr int32_t datamtx000_nbases = 6;
// In ascending order of base.
extern const std::array<datamtx000_base, datamtx000_nbases> datamtx_enc000lut;

// One error-correction type: its header value and the convolutional code
// with n outputs, k inputs, memory m and the generator masks by output, then
// by input (mask[o * k + i]).
struct datamtx000_eccxdef {
    int32_t type; // -1 ends the table
    int32_t header;
    int32_t n;
    int32_t k;
    int32_t m;
    int32_t masks[12];
};
inline constexpr int32_t datamtx000_neccxdefs = 6;
extern const std::array<datamtx000_eccxdef, datamtx000_neccxdefs> datamtx_eccxdef_tab;

// Inner sizes (the symbol without its finder): odd, 7 to 47.
inline constexpr int32_t datamtx000_mininner = 7;
inline constexpr int32_t datamtx000_maxinner = 47;
inline constexpr int32_t datamtx000_ngrids = (datamtx000_maxinner - datamtx000_mininner) / 2 + 1;
// Bits a symbol can show: the largest inner area.
inline constexpr int32_t datamtx000_maxbits = datamtx000_maxinner * datamtx000_maxinner;

// Module placement of inner size N, datamtx_gridlutxtab[(N - 7) / 2]: N x N
// entries, row by row from the top inner row, each the index of the stream
// bit that module shows.
extern const std::array<const int16_t*, datamtx000_ngrids> datamtx_gridlutxtab;

// The fixed random bit stream, most significant bit of each byte first.
inline constexpr int32_t datamtx000_randbytes = 278;
extern const std::array<uint8_t, datamtx000_randbytes> datamtx_randstrm;
