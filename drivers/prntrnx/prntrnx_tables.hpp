// The Printronix driver's own 6 x 9 dot font, used to print text on lines
// that are sent as plot graphics: 96 glyphs for the codes 32 to 127, 18 bytes
// each. For each of 9 dot rows, top first, one byte of the odd-dot plane and
// one of the even-dot plane (half a dot to the right); bit 0 is the leftmost
// of the 6 dots of the cell.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int32_t KV_MVPFONT_FIRST = 32;
inline constexpr int32_t KV_MVPFONT_GLYPHS = 96;
inline constexpr int32_t KV_MVPFONT_ROWS = 9;
inline constexpr int32_t KV_MVPFONT_GLYPHBYTES = 2 * KV_MVPFONT_ROWS;

extern const std::array<uint8_t, KV_MVPFONT_GLYPHS * KV_MVPFONT_GLYPHBYTES> kv_mvpfont_map;

// The 18 bytes of a character's glyph; codes outside 32 .. 127 print as a space.
inline const uint8_t* kv_mvp_glyph(int32_t c) {
    const int32_t i = c >= KV_MVPFONT_FIRST && c < KV_MVPFONT_FIRST + KV_MVPFONT_GLYPHS
                          ? c - KV_MVPFONT_FIRST
                          : 0;
    return &kv_mvpfont_map[static_cast<size_t>(i * KV_MVPFONT_GLYPHBYTES)];
}
