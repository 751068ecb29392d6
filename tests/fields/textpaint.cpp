#include "tests/fields/textpaint.hpp"

#include <algorithm>

#include "core/command/ftypes.hpp"
#include "core/driver/qstrops.hpp"
#include "core/fields/fieldrender.hpp"

namespace {
struct Canvas {
    TextPaint* paint;
    int tx, ty, tw, th; // the tile being drawn
};
Canvas* canvas = nullptr;

kv_status paint_region(kv_glor*, int32_t x, int32_t y, int32_t w, int32_t h, int32_t) {
    TextPaint& p = *canvas->paint;
    ++p.calls;
    if (w <= 0 || h <= 0 || x < canvas->tx || y < canvas->ty || x + w > canvas->tx + canvas->tw ||
        y + h > canvas->ty + canvas->th)
        ++p.outside;
    for (int yy = std::max(y, 0); yy < std::min(y + h, p.height); ++yy)
        for (int xx = std::max(x, 0); xx < std::min(x + w, p.width); ++xx)
            ++p.hits[static_cast<size_t>(yy) * p.width + xx];
    return KV_SUCCESS;
}
} // namespace

Bitmap TextPaint::bitmap() const {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.set(x, y, hits[static_cast<size_t>(y) * width + x] > 0);
    return b;
}

int TextPaint::overlaps() const {
    return static_cast<int>(std::count_if(hits.begin(), hits.end(), [](int h) { return h > 1; }));
}

std::unique_ptr<kv_field> make_textfield(kv_glor* s, const std::string& text, int n,
                                         int orientation) {
    auto f = std::make_unique<kv_field>();
    f->type = KV_FT_TEXT;
    f->orientation = orientation;
    f->widths[0] = n;
    f->textwidth = 6 * n;
    f->textdepth = 9 * n;
    f->textcap = text.size() + 1;
    f->text = std::make_unique<char[]>(f->textcap);
    std::copy(text.begin(), text.end(), f->text.get());
    kv_fsizecalc(s, f.get());
    return f;
}

TextPaint paint_field(kv_glor* s, kv_field* f, int tilew, int tileh) {
    TextPaint p;
    p.width = f->width;
    p.height = f->depth;
    p.hits.assign(static_cast<size_t>(p.width) * p.height, 0);
    if (tilew <= 0) tilew = std::max(p.width, 1);
    if (tileh <= 0) tileh = std::max(p.height, 1);
    kv_setregion_fn saved = s->setregion;
    s->setregion = paint_region;
    for (int y = 0; y < p.height; y += tileh) {
        for (int x = 0; x < p.width; x += tilew) {
            Canvas c{&p, x, y, tilew, tileh};
            canvas = &c;
            const kv_rect tile{f->x + x, f->y + y, tilew, tileh};
            jerr_uperr(&p.status, kv_imageone(s, &tile, f, -f->x, -f->y));
            canvas = nullptr;
        }
    }
    s->setregion = saved;
    return p;
}
