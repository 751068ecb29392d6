#include "tests/support/render.hpp"

#include <algorithm>
#include <vector>

#include "core/fields/fieldmake.hpp"
#include "core/fields/fieldqueue.hpp"
#include "core/fields/fieldrender.hpp"
#include "preview/reader.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"

namespace {
struct Rect {
    int x, y, w, h;
};
std::vector<Rect>* painted = nullptr;

kv_status paint_region(kv_glor*, int32_t x, int32_t y, int32_t w, int32_t h, int32_t) {
    painted->push_back({x, y, w, h});
    return KV_SUCCESS;
}
} // namespace

Bitmap render_queue(kv_glor* s, int band, int ox, int oy, std::pair<int, int>* shift) {
    std::vector<Rect> rects;
    painted = &rects;
    kv_setregion_fn saved = s->setregion;
    s->setregion = paint_region;
    for (kv_field* f = s->fieldhead; f != nullptr; f = f->next) {
        const int top = f->y;
        const int bottom = f->y + f->depth;
        const int step = band > 0 ? band : std::max(1, bottom - top);
        for (int y = top; y < bottom; y += step) {
            const kv_rect r{f->x, y, f->width, step};
            kv_imageone(s, &r, f, ox + f->column, oy);
        }
    }
    s->setregion = saved;
    painted = nullptr;
    // The page spans from (0, 0), or from the leftmost/topmost dot when
    // something was drawn above or left of it.
    int x0 = 0, y0 = 0, x1 = 1, y1 = 1;
    for (const Rect& r : rects) {
        x0 = std::min(x0, r.x);
        y0 = std::min(y0, r.y);
        x1 = std::max(x1, r.x + r.w);
        y1 = std::max(y1, r.y + r.h);
    }
    Bitmap page(x1 - x0, y1 - y0);
    for (const Rect& r : rects) page.fill(r.x - x0, r.y - y0, r.w, r.h);
    if (shift != nullptr) *shift = {x0, y0};
    return page;
}

RenderResult render_symbol(const std::string& commands, const std::string& data, int band,
                           int32_t prncode, int margin) {
    RenderResult r;
    Harness h(recorder_slots(prncode, false));
    h.command(commands);
    std::string buf = data;
    r.status = kv_fieldmake(h.state.get(), 0, 0, 0, buf.c_str());
    for (kv_field* f = h->fieldhead; f != nullptr; f = f->next) {
        ++r.fields;
        r.fieldwidth = f->width;
        r.fielddepth = f->depth;
    }
    // Leave room for fields placed left of or above the anchor (text lines).
    Bitmap page = render_queue(h.state.get(), band, 0, 0, nullptr);
    Bitmap::Box box = page.ink();
    if (box.w > 0)
        r.page = page.crop(box.x - margin, box.y - margin, box.w + 2 * margin, box.h + 2 * margin);
    return r;
}

std::string escape_data(const std::string& bytes) { return escape_text(bytes); }
