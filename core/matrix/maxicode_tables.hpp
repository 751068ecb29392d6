// Fixed tables of the MaxiCode encoder: the code sets, the module sequence of
// the grid, and the dot images the symbol is painted with at 300 dpi.
#pragma once

#include <array>
#include <cstdint>

// Entries of a code set table above 63 name the first set, in the order A to
// E, that holds the byte.
enum : uint8_t {
    MAXICODE_MARK_A = 250,
    MAXICODE_MARK_B = 251,
    MAXICODE_MARK_C = 252,
    MAXICODE_MARK_D = 253,
    MAXICODE_MARK_E = 254,
};

extern const uint8_t maxicode_sextabA[256];
extern const uint8_t maxicode_sextabB[256];
extern const uint8_t maxicode_sextabC[256];
extern const uint8_t maxicode_sextabD[256];
extern const uint8_t maxicode_sextabE[256];
// The five code sets by number, 0 = Set A .. 4 = Set E.
extern const uint8_t* const maxicode_sextabs[5];

// Grid rows and columns; odd rows sit half a module to the right and have
// one module fewer (their last column holds no module).
inline constexpr int32_t MAXICODE_ROWS = 33;
inline constexpr int32_t MAXICODE_COLUMNS = 30;

// One entry per module, row by row: k > 0 shows bit k - 1 of the codeword
// stream (codeword (k - 1) / 6, most significant bit first); -1 is always
// dark; 0 is always light (bullseye area, light orientation modules, the
// missing last module of odd rows).
extern const int16_t maxicode_hexbits[MAXICODE_ROWS * MAXICODE_COLUMNS];

// The same map the other way round, for laying codewords on the grid, with
// row y held in a 32-bit word, column x at bit x. Most codewords fill two
// columns of three rows, two bits a row, the less significant one on the
// left: such a pair goes on as one piece. A piece takes the bits of
// codeword `codeword` from bit `shift` up under `mask` (1 or 3) and ORs them
// into row `at` / 32 from column `at` % 32 on. The pieces run row by row,
// those of row y from maxicode_piecerows[y] up to maxicode_piecerows[y + 1];
// maxicode_fixedrows holds the always-dark modules.
struct maxicode_piece {
    uint8_t codeword;
    uint8_t shift;
    uint8_t mask;
    uint16_t at;
};
inline constexpr int32_t MAXICODE_PIECES = 463; // 401 pairs, 62 single bits
extern const std::array<maxicode_piece, MAXICODE_PIECES> maxicode_pieces;
extern const std::array<uint16_t, MAXICODE_ROWS + 1> maxicode_piecerows;
extern const std::array<uint32_t, MAXICODE_ROWS> maxicode_fixedrows;

// Dot geometry of a symbol at one printer resolution.
struct maxicode_paintdsc {
    int32_t resolution; // dots per inch
    int32_t width;      // symbol, dots
    int32_t height;
    int32_t modwidth; // image of one module, dots
    int32_t modheight;
    int32_t colpitch;  // distance of neighbouring modules in a row
    int32_t rowpitch;  // distance of neighbouring rows
    int32_t oddoffset; // shift of odd rows to the right
};
extern const maxicode_paintdsc maxicode_paintdsc300;

// The bullseye at 300 dpi: 96 x 92 dots, 12 bytes a row, most significant bit
// first; placed at (97, 104) so that its centre is the centre of the module
// in row 16, column 14.
inline constexpr int32_t MAXICODE_BULLS_X = 97;
inline constexpr int32_t MAXICODE_BULLS_Y = 104;
inline constexpr int32_t MAXICODE_BULLS_WIDTH = 96;
inline constexpr int32_t MAXICODE_BULLS_HEIGHT = 92;
extern const std::array<uint8_t, 12 * MAXICODE_BULLS_HEIGHT> maxicode_bulls12;

// One dark hexagonal module at 300 dpi: 10 x 11 dots, 2 bytes a row, most
// significant bit first.
extern const std::array<uint8_t, 2 * 11> maxicode_black12;
