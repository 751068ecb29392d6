// The field queue and the per-field rendering pass: scrolling, retirement,
// clipping, the four orientations, the plot callback.
#include <gtest/gtest.h>

#include <vector>

#include "core/driver/kvalloc.hpp"
#include "core/fields/fieldmap.hpp"
#include "core/fields/fieldqueue.hpp"
#include "core/fields/fieldrender.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"
#include "tests/support/render.hpp"

namespace {
kv_field* makefield(int32_t y, int32_t depth) {
    kv_field* f = kv_new<kv_field>();
    f->y = y;
    f->depth = depth;
    f->width = 10;
    return f;
}

int queuelength(kv_glor* s) {
    int n = 0;
    for (kv_field* f = s->fieldhead; f != nullptr; f = f->next) ++n;
    return n;
}
} // namespace

TEST(FieldQueue, ScrollRetiresFieldsWhollyAboveTheBand) {
    Harness h;
    kv_glor* s = h.state.get();
    kv_fieldadd(s, makefield(0, 20));
    kv_fieldadd(s, makefield(5, 10));
    kv_fieldadd(s, nullptr); // ignored
    int32_t left = -1;
    kv_maxleft(s, &left);
    EXPECT_EQ(left, 20);
    kv_scrollall(s, 14);
    EXPECT_EQ(queuelength(s), 2); // 5 + 10 - 14 = 1 dot still to print
    kv_scrollall(s, 1);
    EXPECT_EQ(queuelength(s), 1); // exactly its bottom: gone
    kv_maxleft(s, &left);
    EXPECT_EQ(left, 5);
    kv_scrollall(s, 5);
    EXPECT_EQ(queuelength(s), 0);
    kv_maxleft(s, &left);
    EXPECT_EQ(left, 0);
}

TEST(FieldQueue, CursorDeletionRelinks) {
    Harness h;
    kv_glor* s = h.state.get();
    kv_field* a = makefield(0, 1);
    kv_field* b = makefield(0, 2);
    kv_field* c = makefield(0, 3);
    kv_fieldadd(s, a);
    kv_fieldadd(s, b);
    kv_fieldadd(s, c); // queue: c b a
    kv_fieldcursor cur;
    kv_fieldfirst(s, &cur);
    kv_fieldnext(s, &cur); // at b
    kv_fielddel(s, &cur);  // middle
    EXPECT_EQ(cur.current, a);
    EXPECT_EQ(s->fieldhead, c);
    EXPECT_EQ(c->next, a);
    kv_fieldfirst(s, &cur);
    kv_fielddel(s, &cur); // head
    EXPECT_EQ(s->fieldhead, a);
    kv_fielddelall(s);
    EXPECT_EQ(s->fieldhead, nullptr);
    kv_fieldfirst(s, &cur);
    kv_fielddel(s, &cur); // nothing to delete
}

TEST(FieldRender, RectanglesLandInTheBandForEachOrientation) {
    // A 10 x 4 symbol-frame rectangle at (2, 1) in a field of 30 x 8 (at 0 or
    // 180 degrees; 8 x 30 on the page at 90 and 270).
    struct Case {
        int32_t orientation;
        RecordedRegion expected;
    };
    const Case cases[] = {
        {0, {2, 1, 10, 4, 1}},
        {90, {8 - (1 + 4), 2, 4, 10, 1}},
        {180, {30 - (2 + 10), 8 - (1 + 4), 10, 4, 1}},
        {270, {1, 30 - (2 + 10), 4, 10, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        Harness h;
        h.run("");
        kv_field f;
        f.orientation = c.orientation;
        f.density = 1;
        const bool turned = c.orientation == 90 || c.orientation == 270;
        f.width = turned ? 8 : 30;
        f.depth = turned ? 30 : 8;
        kv_mapctx m;
        const kv_rect all{0, 0, 1000, 1000};
        kv_fieldprep(h.state.get(), &all, &m, &f, 0, 0, 0);
        recorder().regions.clear();
        kv_callback_plotf(&m, 2, 1, 10, 4);
        ASSERT_EQ(recorder().regions.size(), 1u);
        EXPECT_EQ(recorder().regions[0], c.expected);
    }
}

TEST(FieldRender, ClipWindowIsTheBandInTheSymbolFrame) {
    // The same band slice must select the same symbol-frame window that the
    // rectangle mapping sends back to it, in every orientation.
    for (int32_t orientation : {0, 90, 180, 270}) {
        SCOPED_TRACE(orientation);
        Harness h;
        h.run("");
        kv_field f;
        f.orientation = orientation;
        const bool turned = orientation == 90 || orientation == 270;
        f.width = turned ? 8 : 30;
        f.depth = turned ? 30 : 8;
        f.y = -3; // three rows already printed
        kv_mapctx m;
        const kv_rect band{0, 0, 100, 4};
        kv_fieldprep(h.state.get(), &band, &m, &f, 0, 0, 0);
        recorder().regions.clear();
        // Fill the whole clip window; it must come back as page rows 0..3.
        kv_callback_plotf(&m, -100, -100, 1000, 1000);
        ASSERT_EQ(recorder().regions.size(), 1u);
        const RecordedRegion& r = recorder().regions[0];
        EXPECT_EQ(r.y, 0);
        EXPECT_EQ(r.h, 4);
        EXPECT_EQ(r.x, 0);
        EXPECT_EQ(r.w, f.width);
    }
}

TEST(FieldRender, TouchingBandsDrawNothingAndBandsTileWithoutSeams) {
    Harness h;
    h.run("");
    kv_field f;
    f.width = 10;
    f.depth = 8;
    kv_mapctx m;
    const kv_rect below{0, 8, 100, 8}; // touches the field's bottom edge
    kv_fieldprep(h.state.get(), &below, &m, &f, 0, 0, 0);
    recorder().regions.clear();
    kv_callback_plotf(&m, 0, 0, 10, 8);
    EXPECT_TRUE(recorder().regions.empty());

    // A rotated Code 39 drawn at once and in slices of 3, 6 and 8 rows.
    for (const char* o : {"OH", "OV", "OU", "OB"}) {
        SCOPED_TRACE(o);
        const std::string cmd = std::string("BCODE39 H13 ") + o;
        Bitmap whole = render_symbol(cmd, "AB12").page;
        for (int band : {3, 6, 8}) EXPECT_EQ(render_symbol(cmd, "AB12", band).page.rows(), whole.rows());
    }
}

TEST(FieldRender, ExtentsSwapWhenTurned) {
    const RenderResult up = render_symbol("BCODE39 H40", "XYZ");
    const RenderResult side = render_symbol("BCODE39 H40 OV", "XYZ");
    const RenderResult down = render_symbol("BCODE39 H40 OU", "XYZ");
    EXPECT_EQ(up.fielddepth, 40);
    EXPECT_EQ(up.fieldwidth, side.fielddepth);
    EXPECT_EQ(up.fielddepth, side.fieldwidth);
    EXPECT_EQ(up.fieldwidth, down.fieldwidth);
    EXPECT_EQ(up.page.width, up.fieldwidth - 1); // the last element is the gap after the stop
    EXPECT_EQ(side.page.height, up.fieldwidth - 1);
}

TEST(FieldRender, PlotCallbackRefusesAContextWithoutState) {
    kv_mapctx m;
    EXPECT_EQ(kv_callback_plotf(nullptr, 0, 0, 1, 1), 0u);
    EXPECT_EQ(kv_callback_plotf(&m, 0, 0, 1, 1), 0u);
    Harness h;
    h.run("");
    kv_field f;
    f.width = f.depth = 10;
    const kv_rect all{0, 0, 10, 10};
    kv_fieldprep(h.state.get(), &all, &m, &f, 0, 0, 0);
    recorder().regions.clear();
    EXPECT_EQ(kv_callback_plotf(&m, 0, 0, 0, 5), KV_SUCCESS);
    EXPECT_EQ(kv_callback_plotf(&m, 20, 20, 5, 5), KV_SUCCESS); // outside the clip
    EXPECT_TRUE(recorder().regions.empty());
}
