// The built-in text font: 96 glyphs for the codes 32 to 127, 6 x 9 pixels
// each, rows from the top, 3 bytes a row, 4 bits a pixel (left pixel of a
// pair in the low half of the byte). A pixel is a shape code of the scaler
// (sblit.hpp): empty, full, or one of four half cells that smooth slanted
// strokes and round corners when the font is magnified. The sixth column is
// blank; rows 7 and 8 hold descenders.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int32_t KV_FONT_FIRST = 32;
inline constexpr int32_t KV_FONT_GLYPHS = 96;
inline constexpr int32_t KV_FONT_WIDTH = 6;
inline constexpr int32_t KV_FONT_HEIGHT = 9;
inline constexpr int32_t KV_FONT_ROWBYTES = 3;
inline constexpr int32_t KV_FONT_GLYPHBYTES = KV_FONT_ROWBYTES * KV_FONT_HEIGHT;

extern const std::array<uint8_t, KV_FONT_GLYPHS * KV_FONT_GLYPHBYTES> kv_font_map;
