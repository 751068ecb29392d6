// Command letters: what each accepts, what it rejects, where the value goes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "core/command/ftypes.hpp"
#include "core/command/qparams.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"

namespace {
using Check = std::function<bool(kv_glor*)>;

const kv_ftype* typeset(kv_glor* s, int32_t type) {
    for (const kv_ftype& t : s->ftypes)
        if (t.type == type) return &t;
    return nullptr;
}
bool widths(kv_glor* s, int32_t type, std::initializer_list<int32_t> w) {
    const kv_ftype* t = typeset(s, type);
    int i = 0;
    for (int32_t v : w)
        if (t->widths[i++] != v) return false;
    return true;
}
} // namespace

TEST(Parameters, AcceptAndRejectRules) {
    struct Case {
        std::string body;
        kv_status status;
        Check check;
    };
    const Case cases[] = {
        // B: type names, upper-cased first
        {"bcode39", KV_SUCCESS, [](kv_glor* s) { return s->curtype->type == KV_FT_CODE39; }},
        {"BDATAMATRIX", KV_SUCCESS, [](kv_glor* s) { return s->curtype->type == KV_FT_DATAMATRIX; }},
        {"BCODE-39", KV_IVBAR, [](kv_glor* s) { return s->curtype->type == KV_FT_CODE39; }},
        {"B", KV_IVBAR, nullptr},
        // O
        {"OH", KV_SUCCESS, [](kv_glor* s) { return s->ornt == 0; }},
        {"ov", KV_SUCCESS, [](kv_glor* s) { return s->ornt == 90; }},
        {"OU", KV_SUCCESS, [](kv_glor* s) { return s->ornt == 180; }},
        {"OB", KV_SUCCESS, [](kv_glor* s) { return s->ornt == 270; }},
        {"O90", KV_IVORNT, [](kv_glor* s) { return s->ornt == 0; }},
        {"O", KV_IVORNT, nullptr},
        // D
        {"D3", KV_SUCCESS, [](kv_glor* s) { return s->density == 3; }},
        {"D", KV_SUCCESS, [](kv_glor* s) { return s->density == 0; }},
        {"D4", KV_IVDENS, [](kv_glor* s) { return s->density == 1; }},
        {"D-1", KV_IVNUM, [](kv_glor* s) { return s->density == 1; }},
        {"D4294967296", KV_IVDENS, [](kv_glor* s) { return s->density == 1; }}, // no wrap to 0
        // H, W
        {"H1", KV_SUCCESS, [](kv_glor* s) { return s->codeheight == 1; }},
        {"H9999", KV_SUCCESS, [](kv_glor* s) { return s->codeheight == 9999; }},
        {"H0", KV_IVHIT, [](kv_glor* s) { return s->codeheight == 36; }},
        {"H10000", KV_IVHIT, nullptr},
        {"H", KV_IVHIT, nullptr},
        {"H5x", KV_IVNUM, nullptr},
        {"W99", KV_SUCCESS, [](kv_glor* s) { return s->codewidth == 99; }},
        {"W100", KV_IVHIT, [](kv_glor* s) { return s->codewidth == 0; }},
        {"W", KV_SUCCESS, [](kv_glor* s) { return s->codewidth == 0; }},
        // C per type
        {"C1", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_CODE39)->check == 1; }},
        {"C2", KV_IVCHK, [](kv_glor* s) { return typeset(s, KV_FT_CODE39)->check == 0; }},
        {"C", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_CODE39)->check == 0; }},
        {"Cx", KV_IVNUM, nullptr},
        {"BUPC C0", KV_IVCHK, [](kv_glor* s) { return typeset(s, KV_FT_UPC)->check == 1; }},
        {"BCODABAR C1", KV_IVCHK, nullptr},
        {"BMSI C4", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_MSI)->check == 4; }},
        {"BMSI C5", KV_IVCHK, nullptr},
        {"BPDF417 C9", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_PDF417)->check == 9; }},
        {"BPDF417 C10", KV_IVCHK, nullptr},
        {"BAZTEC C99", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_AZTEC)->check == 99; }},
        {"BAZTEC C100", KV_IVCHK, nullptr},
        {"BDATAMATRIX C140", KV_SUCCESS,
         [](kv_glor* s) { return typeset(s, KV_FT_DATAMATRIX)->check == 140; }},
        {"BDATAMATRIX C150", KV_IVCHK, nullptr},
        {"BMAXICODE C1", KV_IVCHK, nullptr},
        // I
        {"BUPC I5", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_UPC)->indent == 5; }},
        {"I0", KV_IVHIT, nullptr},
        // S per type
        {"BEAN S13", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_EAN)->subtype == '3'; }},
        {"BEAN S3", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_EAN)->subtype == '3'; }},
        {"BEAN S18", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_EAN)->subtype == '8'; }},
        {"BEAN S28", KV_IVSUBS, nullptr},
        {"BUPC S13", KV_IVSUBS, nullptr},
        {"BUPC se", KV_SUCCESS, [](kv_glor* s) { return typeset(s, KV_FT_UPC)->subtype == 'E'; }},
        {"BCODE128 SC", KV_SUCCESS,
         [](kv_glor* s) { return typeset(s, KV_FT_CODE128)->subtype == 'C'; }},
        {"BCODE128 SD", KV_IVSUBS, nullptr},
        {"BCODE39 SA", KV_IVSUBS, nullptr},
        {"BMAXICODE S6", KV_SUCCESS, nullptr},
        {"BAZTEC SR", KV_SUCCESS, nullptr},
        {"BDATAMATRIX S5", KV_SUCCESS, nullptr},
        {"BPDF417 ST", KV_SUCCESS, nullptr},
        {"S", KV_IVSUBS, nullptr},
        // K: PDF417 only
        {"BPDF417 KT", KV_SUCCESS, [](kv_glor* s) { return s->compaction == 'T'; }},
        {"BPDF417 KX", KV_IVSUBS, [](kv_glor* s) { return s->compaction == 'A'; }},
        {"BCODE128 KT", KV_IVSUBS, [](kv_glor* s) { return s->compaction == 'A'; }},
        // R and A (widths), widest class first
        {"R3:1", KV_SUCCESS, [](kv_glor* s) { return widths(s, KV_FT_CODE39, {1, 1, 3, 3}); }},
        {"R2:1", KV_SUCCESS, [](kv_glor* s) { return widths(s, KV_FT_CODE39, {1, 1, 2, 2}); }},
        {"R3:1:2", KV_IVRAT, [](kv_glor* s) { return widths(s, KV_FT_CODE39, {1, 1, 3, 3}); }},
        {"R0:1", KV_IVRAT, nullptr},
        {"R3:x", KV_IVNUM, nullptr},
        {"R10000:1", KV_IVRAT, nullptr},
        {"A3:2:1:1", KV_SUCCESS, [](kv_glor* s) { return widths(s, KV_FT_CODE39, {1, 1, 3, 2}); }},
        {"A3:2", KV_IVRAT, nullptr},
        {"BCODE128 R4:3:2:1", KV_SUCCESS,
         [](kv_glor* s) { return widths(s, KV_FT_CODE128, {1, 1, 2, 2, 3, 3, 4, 4}); }},
        {"BCODE128 R8:6:4:2", KV_SUCCESS,
         [](kv_glor* s) { return widths(s, KV_FT_CODE128, {2, 2, 4, 4, 6, 6, 8, 8}); }},
        {"BAZTEC R3", KV_SUCCESS, [](kv_glor* s) { return widths(s, KV_FT_AZTEC, {3, 3}); }},
        {"BDATAMATRIX A2:3", KV_SUCCESS,
         [](kv_glor* s) { return widths(s, KV_FT_DATAMATRIX, {2, 3}); }},
        // A on PDF417: aspect
        {"BPDF417 A1.5", KV_SUCCESS, [](kv_glor* s) { return s->aspect == 1.5f; }},
        {"BPDF417 A2", KV_SUCCESS, [](kv_glor* s) { return s->aspect == 2.0f; }},
        {"BPDF417 A2:3", KV_SUCCESS, [](kv_glor* s) { return s->aspect == 1.5f; }},
        {"BPDF417 A0", KV_SUCCESS, [](kv_glor* s) { return s->aspect == 0.0f; }},
        {"BPDF417 A1.2.3", KV_IVNUM, [](kv_glor* s) { return s->aspect == 0.0f; }},
        {"BPDF417 A0:2", KV_IVRAT, nullptr},
        {"BPDF417 A1:2:3", KV_IVRAT, nullptr},
        // P, T
        {"P0", KV_SUCCESS, [](kv_glor* s) { return s->padflag == 0; }},
        {"P", KV_SUCCESS, [](kv_glor* s) { return s->padflag == 0; }},
        {"P2", KV_SUCCESS, [](kv_glor* s) { return s->padflag != 0; }},
        {"Pyes", KV_IVNUM, [](kv_glor* s) { return s->padflag == 1; }},
        {"T1", KV_SUCCESS, [](kv_glor* s) { return s->textopt != 0; }},
        {"T-1", KV_IVNUM, [](kv_glor* s) { return s->textopt == 0; }},
        // unknown letters; empty parameters do nothing
        {"J1", KV_IVCMD, nullptr},
        {"   ", KV_SUCCESS, nullptr},
        {"\"", KV_IVCMD, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        Harness h;
        EXPECT_EQ(h.command(c.body), c.status);
        if (c.check) {
            EXPECT_TRUE(c.check(h.state.get()));
        }
    }
}

TEST(Parameters, EachTypeKeepsItsOwnSet) {
    Harness h;
    ASSERT_EQ(h.command("BCODE39 R3:1 C1 BCODE128 R8:6:4:2 SC BCODE39"), KV_SUCCESS);
    EXPECT_TRUE(widths(h.state.get(), KV_FT_CODE39, {1, 1, 3, 3}));
    EXPECT_EQ(h->curtype->check, 1);
    ASSERT_EQ(h.command("R2:1 BCODE128"), KV_SUCCESS);
    EXPECT_EQ(h->curtype->subtype, 'C');
    EXPECT_EQ(h->curtype->widths[6], 8);
    ASSERT_EQ(h.command("BCODE39"), KV_SUCCESS);
    EXPECT_EQ(h->curtype->widths[2], 2);
}

TEST(Parameters, EveryParameterOfABodyAppliesAndTheFirstFailureIsKept) {
    Harness h;
    EXPECT_EQ(h.command("H0 D2 O90 H77"), KV_IVHIT);
    EXPECT_EQ(h->density, 2);
    EXPECT_EQ(h->codeheight, 77);
    EXPECT_EQ(h->ornt, 0);
}

TEST(Parameters, DefaultsAndTheTypeTable) {
    Harness h;
    h.run("");
    EXPECT_EQ(h->curtype, &h->ftypes[0]);
    EXPECT_EQ(h->codeheight, 36);
    EXPECT_EQ(h->density, 1);
    EXPECT_EQ(h->compaction, 'A');
    Harness page(recorder_slots(768, false));
    page.run("");
    EXPECT_EQ(page->density, 0);

    struct Row {
        const char* name;
        int32_t type, subtype, check, indent;
    };
    const Row rows[] = {
        {"CODE39", 2, 0, 0, 0},    {"CODE128", 3, 'B', 1, 0}, {"I2OF5", 4, 0, 0, 0},
        {"S2OF5", 5, 0, 0, 0},     {"MSI", 6, 0, 0, 0},       {"CODABAR", 7, 0, 0, 0},
        {"UPC", 8, 'A', 1, 0},     {"EAN", 9, '8', 1, 0},     {"POSTNET", 10, 0, 1, 3},
        {"PDF417", 12, 0, 9, 0},   {"MAXICODE", 13, 'A', 1, 0}, {"AZTEC", 14, 'A', 23, 0},
        {"DATAMATRIX", 15, 'A', 200, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(kv_findftype(h.state.get(), r.name), r.type);
        const kv_ftype* t = typeset(h.state.get(), r.type);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->subtype, r.subtype);
        EXPECT_EQ(t->check, r.check);
        EXPECT_EQ(t->indent, r.indent);
    }
    EXPECT_EQ(kv_findftype(h.state.get(), "code39"), 0); // names match exactly
    EXPECT_EQ(kv_selectftype(h.state.get(), 11), KV_SUCCESS); // reserved: has a set, no name
    EXPECT_EQ(kv_selectftype(h.state.get(), 1), KV_INTRNL);
}

TEST(Parameters, NumberChecks) {
    EXPECT_EQ(kv_numcheck(""), KV_SUCCESS);
    EXPECT_EQ(kv_numcheck("0123"), KV_SUCCESS);
    EXPECT_EQ(kv_numcheck("1 "), KV_IVNUM);
    EXPECT_EQ(kv_floatcheck("1.5"), KV_SUCCESS);
    EXPECT_EQ(kv_floatcheck(".5"), KV_SUCCESS);
    EXPECT_EQ(kv_floatcheck("1..5"), KV_IVNUM);
    EXPECT_EQ(kv_floatcheck("1e5"), KV_IVNUM);
}
