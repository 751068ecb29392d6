// Element primitives: the only way mappers draw. A mapper works in the
// symbol's own upright frame; kv_setfregion turns each rectangle into band
// coordinates for the field's orientation and hands it to the driver's
// region setter.
#pragma once

#include <cstdint>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"
#include "core/fields/rect.hpp"

// One rendering (or measuring) pass over one field.
struct kv_mapctx {
    kv_glor* state = nullptr;
    kv_field* field = nullptr;
    int32_t sizing = 0;  // 1 while measuring: nothing is drawn
    int32_t originx = 0; // added to every rectangle handed to the region setter
    int32_t originy = 0;
    int32_t cursor = 0;  // running position along the symbol's x axis
    int32_t bartop = 0;
    int32_t barheight = 0;
    int32_t clipx = 0; // part of the field to draw, in the symbol frame
    int32_t clipy = 0;
    int32_t clipw = 0;
    int32_t cliph = 0;
    int32_t charpos = 0; // next data character
    int32_t charcount = 0;
};

// Per-character mapper of a linear symbology.
using kv_charmapper = kv_status (*)(kv_glor* s, kv_mapctx* m, int32_t c);

// Right edge of the clip window, computed without overflow.
inline int64_t kv_clipright(const kv_mapctx* m) {
    return static_cast<int64_t>(m->clipx) + m->clipw;
}

// The clip window as a rectangle, for kv_clip.
inline kv_rect kv_clipwindow(const kv_mapctx* m) {
    return {m->clipx, m->clipy, m->clipw, m->cliph};
}

kv_status kv_setfregion(kv_glor* s, kv_mapctx* m, int32_t x, int32_t y, int32_t w, int32_t h);
// Draws one element of `cls` (a space only advances the cursor).
kv_status kv_mapunit(kv_glor* s, kv_mapctx* m, int32_t cls, int isbar);
// Maps a list of element classes starting with a bar (count 0: up to 81); a
// byte of 5 or more ends the list. With alternate 0 every element is a bar.
kv_status kv_xmapbarlist(kv_glor* s, kv_mapctx* m, int32_t count, const uint8_t* list,
                         int alternate);
kv_status kv_mapbarlist(kv_glor* s, kv_mapctx* m, int32_t count, const uint8_t* list);
// Maps the list as one solid block; a measuring pass reports IVBARC.
kv_status kv_badcmap(kv_glor* s, kv_mapctx* m, int32_t count, const uint8_t* list);
// Maps the field's text from `charpos` while the cursor is left of the clip
// window's right edge. A positive `charwidth` (every character the same
// width) first skips the characters left of the clip window arithmetically.
kv_status kv_codexmap(kv_glor* s, kv_mapctx* m, kv_charmapper mapper, int32_t charwidth);
// 0..9 for a decimal digit, else -1.
int32_t kv_codenindex(int32_t c);

// Plot callback handed to the two-dimensional encoders with the map context
// as datum: clips the rectangle to the clip window and draws it.
kv_status kv_callback_plotf(void* mapctx, int32_t x, int32_t y, int32_t w, int32_t h);
