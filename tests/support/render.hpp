// Renders fields through the real field engine into a page bitmap, the way a
// band printer would (slice by slice) or a page printer (all at once), with a
// region setter that paints dots. The symbology under test is chosen and fed
// exactly as a print job would: a command body and a data text.
#pragma once

#include <string>
#include <utility>

#include "core/driver/kvglor.hpp"
#include "preview/bitmap.hpp"

struct RenderResult {
    Bitmap page;               // every queued field, cropped to the ink plus margin
    kv_status status = KV_SUCCESS; // what field construction returned
    int fields = 0;            // fields queued
    int fieldwidth = 0;        // page extents of the first (oldest) field
    int fielddepth = 0;
};

// Applies `commands` (a command body, e.g. "BCODE39 R3:1 OV"), builds the field
// of `data` with kv_fieldmake and renders every queued field. `band` > 0
// renders in slices of that many dot rows; 0 renders each field at once.
// `prncode` is the printer code the state pretends to be.
RenderResult render_symbol(const std::string& commands, const std::string& data, int band = 0,
                           int32_t prncode = 400, int margin = 0);

// The data as a print job writes it in a data sequence: every byte outside
// printable ASCII, and the backslash, as a \xHH escape.
std::string escape_data(const std::string& bytes);

// Renders the fields queued in `s` into a bitmap. Rectangles reach the region
// setter shifted by (ox + column, oy); the bitmap starts at the smaller of 0
// and the leftmost/topmost dot drawn, reported in `shift` if given.
Bitmap render_queue(kv_glor* s, int band, int ox, int oy, std::pair<int, int>* shift = nullptr);
