// The field record: one queued bar code, two-dimensional symbol or line of
// human-readable text, with its position, extent, parameters and data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Owning handle of a two-dimensional encoder state: `release` closes the
// encoder and frees its state.
struct kv_symbolfree {
    void (*release)(void*) = nullptr;
    void operator()(void* p) const noexcept {
        if (release != nullptr) release(p);
    }
};
using kv_symbolptr = std::unique_ptr<void, kv_symbolfree>;

struct kv_field {
    kv_field* next = nullptr; // next (older) field in the queue
    int32_t pitch = 0;        // character cell width at creation
    int32_t column = 0;       // print position (hpos) at creation
    int32_t x = 0;            // left edge, dots from `column`
    int32_t y = 0;            // top edge, dots below the top of the current band
    int32_t width = 0;        // page extent across the paper, dots
    int32_t depth = 0;        // page extent along the paper, dots
    int32_t orientation = 0;  // 0, 90, 180, 270
    int32_t density = 0;      // handed unchanged to the region setter
    int32_t type = 0;
    int32_t subtype = 0;
    char compaction = 0;
    int32_t widths[8] = {}; // {bar, space} for element classes 0..3
    float aspect = 0.0f;
    int32_t codewidth = 0;
    int32_t height = 0;
    int32_t indent = 0;
    kv_symbolptr symbol;   // encoder state of a two-dimensional field
    int32_t textwidth = 0; // text fields: one character cell
    int32_t textdepth = 0;
    size_t textcap = 0;    // capacity of `text`, terminator included
    std::unique_ptr<char[]> text;
};

// Copies every member but the link, the encoder state and the text.
void kv_fieldcopyhead(kv_field* dst, const kv_field* src);
