// The shared band loop driven by a neutral printer whose hooks write what
// they are asked to do into the output: "S<n>;" a spacing command, "R<x>,<w>:
// <mask>,<dark columns>;" a row (mask = every band byte ORed), "H<p>;" a head
// move, and the loop's own LF. This printer rounds every step up to its
// 6-dot band and sets the spacing before each slice, as sixel printers do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/driver/printops.hpp"
#include "core/fields/fieldmake.hpp"
#include "drivers/common/band.hpp"
#include "drivers/common/kit.hpp"
#include "tests/support/harness.hpp"

namespace {
constexpr kv_bandgeom kGeom{6, 64, 1, KV_BAND_COLUMNS, 6, 0};

kv_status initprn(kv_glor* s) {
    kv_initgeometry(s, 60, 72, 1, 12, 792, 12);
    return KV_SUCCESS;
}
kv_status setregion(kv_glor* s, int32_t x, int32_t y, int32_t w, int32_t h, int32_t density) {
    return kv_bandsetregion(s, kGeom, x, y, w, h, density);
}
kv_status dumprow(kv_glor* s, const kv_field*, int32_t x, int32_t w) {
    uint8_t mask = 0;
    int32_t dark = 0;
    const uint8_t* col = kv_bandplane(s, kGeom, 0);
    for (int32_t c = 0; c < w; ++c) {
        mask |= col[c];
        dark += col[c] != 0;
    }
    kv_status st = kv_send(s, 'R');
    jerr_uperr(&st, kv_lprintint(s, x));
    jerr_uperr(&st, kv_send(s, ','));
    jerr_uperr(&st, kv_lprintint(s, w));
    jerr_uperr(&st, kv_send(s, ':'));
    jerr_uperr(&st, kv_lprintint(s, mask));
    jerr_uperr(&st, kv_send(s, ','));
    jerr_uperr(&st, kv_lprintint(s, dark));
    return jerr_uperr(&st, kv_send(s, ';'));
}
kv_status respace(kv_glor* s, int32_t* n, int32_t* current) {
    *n = (*n + 5) / 6 * 6;
    *current = *n;
    kv_status st = kv_send(s, 'S');
    jerr_uperr(&st, kv_lprintint(s, *n));
    return jerr_uperr(&st, kv_send(s, ';'));
}
kv_status sethpos(kv_glor* s, int32_t p) {
    kv_status st = kv_send(s, 'H');
    jerr_uperr(&st, kv_lprintint(s, p));
    s->hpos = p;
    return jerr_uperr(&st, kv_send(s, ';'));
}
constexpr kv_bandops kOps{kGeom, 2, dumprow, respace, 1, sethpos};

constexpr kv_prnslots kSlots{1,       kv_std_lgetc, kv_std_lprintc, initprn,   kv_std_specialcmd,
                             nullptr, nullptr,      nullptr,        setregion, kv_send};

std::string str(int32_t v) {
    return std::to_string(v);
}
} // namespace

TEST(BandLoop, SlicesRoundedStepsAndTheHeadPutBack) {
    // Code 39 "A" 14 rows deep: 27 bar columns (published patterns of "*", "A",
    // "*": bars 1+1+3+3+1, 3+1+1+1+3, 1+1+3+3+1 at narrow 1, wide 3).
    Harness h(kSlots);
    h.command("H14");
    kv_glor* s = h.state.get();
    ASSERT_EQ(kv_fieldmake(s, 1, 0, 0, "A"), KV_SUCCESS);
    const int32_t w = s->fieldhead->width;
    const std::string row = "R0," + str(w) + ":";
    struct Step {
        const char* what;
        int32_t n;
        std::string out;
        int32_t advanced;
        int32_t vpos;
    };
    const Step steps[] = {
        {"one line: two full 6-row slices, spacing set first, restored after", 12,
         "S6;" + row + "63,27;\nS6;" + row + "63,27;\nS12;H0;", 12, 12},
        {"2 dots asked, a whole band advanced: the last two rows, then the field is gone", 2,
         "S6;" + row + "3,27;\nS12;H0;", 6, 18},
        {"nothing left: LF steps only", 6, "S6;\nS12;H0;", 6, 24},
        {"no distance: nothing at all", 0, "", 0, 24},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(st.what);
        h.output.clear();
        int32_t advanced = -1;
        EXPECT_EQ(kv_bandplot(s, kOps, st.n, &advanced), KV_SUCCESS);
        EXPECT_EQ(h.output, st.out);
        EXPECT_EQ(advanced, st.advanced);
        EXPECT_EQ(s->vpos, st.vpos);
    }
    EXPECT_EQ(s->fieldhead, nullptr);
}

TEST(BandLoop, FieldLeftOfTheMarginPrintsFromTheMargin) {
    // Started 4 band columns left of the margin at 2 head units a column: the
    // first 4 columns (the start character's first bar) are not printed.
    Harness h(kSlots);
    h.command("H6");
    kv_glor* s = h.state.get();
    ASSERT_EQ(kv_fieldmake(s, 1, 0, -4, "A"), KV_SUCCESS);
    const int32_t w = s->fieldhead->width;
    h.output.clear();
    EXPECT_EQ(kv_bandplot(s, kOps, 6), KV_SUCCESS);
    EXPECT_EQ(h.output, "S6;R0," + str(w - 4) + ":63,26;\nS12;H0;");
}

TEST(BandLoop, EndOfInputPrintsAsFarAsTheFieldsReach) {
    // Code 39 "A" 14 rows deep as above; this printer rounds every step up to
    // its 6-row band, so the paper may stop up to 5 rows below the field.
    struct Case {
        const char* what;
        int32_t height;             // 0: no field
        int32_t printed;            // rows the job's own paper motion printed first
        std::vector<int32_t> masks; // the slices the end of the input sends
        int32_t vpos;
    };
    const Case cases[] = {
        {"nothing pending: nothing sent", 0, 0, {}, 0},
        {"14 rows: two full slices and the last two rows", 14, 0, {63, 63, 3}, 18},
        {"6 rows printed by the job: only the other 8", 14, 6, {63, 3}, 18},
        {"the job printed it all: nothing more", 14, 14, {}, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h(kSlots);
        kv_glor* s = h.state.get();
        if (c.height > 0) {
            h.command("H" + str(c.height));
            ASSERT_EQ(kv_fieldmake(s, 1, 0, 0, "A"), KV_SUCCESS);
        }
        std::string expected;
        for (int32_t mask : c.masks)
            expected += "S6;R0," + str(s->fieldhead->width) + ":" + str(mask) + ",27;\n";
        if (!c.masks.empty()) expected += "S12;H0;";
        EXPECT_EQ(kv_bandplot(s, kOps, c.printed), KV_SUCCESS);
        h.output.clear();
        EXPECT_EQ(kv_bandendinput(s, kOps), KV_SUCCESS);
        EXPECT_EQ(h.output, expected);
        EXPECT_EQ(s->vpos, c.vpos);
        EXPECT_EQ(s->fieldhead, nullptr);
    }
}
