// Paints fields through the real field engine in tiles of any size and
// keeps count of how often each dot is set, so tests can see seams (dots
// never set), overlaps (dots set twice) and rectangles that leave their tile.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/driver/kvglor.hpp"
#include "core/fields/field.hpp"
#include "preview/bitmap.hpp"

struct TextPaint {
    int width = 0; // the field's page extents
    int height = 0;
    std::vector<int> hits; // times each dot was set
    int outside = 0;       // rectangles reaching outside the tile being drawn
    int calls = 0;         // region setter calls
    kv_status status = KV_SUCCESS;

    Bitmap bitmap() const;
    int overlaps() const; // dots set more than once
};

// A text field (type 1) of `text` at magnification `n` and `orientation`,
// measured, anchored at (0, 0).
std::unique_ptr<kv_field> make_textfield(kv_glor* s, const std::string& text, int n,
                                         int orientation = 0);

// Renders `f` with kv_imageone in tiles of tilew x tileh dots (0: the whole
// extent) covering its page rectangle.
TextPaint paint_field(kv_glor* s, kv_field* f, int tilew = 0, int tileh = 0);
