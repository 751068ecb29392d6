// The PDF417 field hooks: how command parameters reach the encoder, escapes,
// and how encoder errors become statuses, through the real command parser
// and field construction.
#include <gtest/gtest.h>

#include <string>

#include "core/fields/fieldmake.hpp"
#include "core/matrix/pdf417_internal.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"

namespace {

struct Made {
    Harness h{recorder_slots(400, false)};
    kv_status status = KV_SUCCESS;
    Made(const std::string& commands, const std::string& data) {
        EXPECT_EQ(h.command(commands), KV_SUCCESS) << commands;
        std::string buf = data;
        status = kv_fieldmake(h.state.get(), 0, 0, 0, buf.c_str());
    }
    kv_field* field() { return h->fieldhead; }
    pdf417_sym* sym() {
        return field() != nullptr ? static_cast<pdf417_sym*>(field()->symbol.get()) : nullptr;
    }
};

} // namespace

TEST(Pdf417Field, DefaultParameters) {
    Made m("BPDF417", "ABCDEFGH");
    ASSERT_EQ(m.status, KV_SUCCESS);
    pdf417_sym* s = m.sym();
    ASSERT_NE(s, nullptr);
    // R3:1 by default: rows 3 dots high, modules 1 dot wide; H36 gives 12 rows.
    EXPECT_EQ(s->modwidth, 1);
    EXPECT_EQ(s->rowheight, 3);
    EXPECT_EQ(s->rows, 13); // 5 data codewords and level 2 need 13
    EXPECT_EQ(s->columns, 1);
    EXPECT_EQ(s->options, 0);
    EXPECT_EQ(s->ecclevel, 2);
    EXPECT_EQ(s->codewords[1], 1); // no latch before the leading text run
    EXPECT_EQ(m.field()->width, (1 + 4) * 17 + 1);
    EXPECT_EQ(m.field()->depth, 13 * 3);

    Made few("BPDF417", "AB");
    EXPECT_EQ(few.sym()->rows, 12); // the bar height asks for 12 rows of 3 dots
}

TEST(Pdf417Field, ParameterMapping) {
    struct Case {
        const char* commands;
        int32_t modwidth, rowheight, columns, options, minrows;
    };
    // R h:x gives rows h dots high and modules x dots wide; H / h rows at
    // least; W columns (user-given); S T truncates; K other than A stops
    // numeric runs inside mixed data.
    const Case cases[] = {
        {"BPDF417 R6:2", 2, 6, 1, 0, 6},
        {"BPDF417 R4:3 H80", 3, 4, 1, 0, 20},
        {"BPDF417 W7", 1, 3, 7, PDF417_OPT_USERCOLS, 12},
        {"BPDF417 ST", 1, 3, 1, PDF417_OPT_TRUNCATED, 12},
        {"BPDF417 KT", 1, 3, 1, PDF417_OPT_NONUMERIC, 12},
        {"BPDF417 KA", 1, 3, 1, 0, 12},
        {"BPDF417 KN W30 SF H9", 1, 3, 30, PDF417_OPT_NONUMERIC | PDF417_OPT_USERCOLS, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commands);
        Made m(c.commands, "Mapping 1234567890123");
        ASSERT_EQ(m.status, KV_SUCCESS);
        pdf417_sym* s = m.sym();
        EXPECT_EQ(s->modwidth, c.modwidth);
        EXPECT_EQ(s->rowheight, c.rowheight);
        EXPECT_EQ(s->columns, c.columns);
        EXPECT_EQ(s->options, c.options);
        EXPECT_GE(s->rows, c.minrows);
        EXPECT_EQ(m.field()->width, pdf417_imagewide(s));
        EXPECT_EQ(m.field()->depth, pdf417_imagedeep(s));
        bool numeric = false;
        for (int32_t i = 1; i < s->codewords[0]; ++i) numeric = numeric || s->codewords[i] == 902;
        EXPECT_EQ(numeric, !(c.options & PDF417_OPT_NONUMERIC));
    }

    // Error-correction level from C: the level used is never below it.
    for (int level = 0; level <= 8; ++level) {
        Made m("BPDF417 C" + std::to_string(level), "Level");
        ASSERT_EQ(m.status, KV_SUCCESS);
        EXPECT_GE(m.sym()->ecclevel, level);
    }
    // Aspect from A: a wide symbol gets more columns than a tall one.
    Made wide("BPDF417 A0.2", std::string(300, 'x'));
    Made tall("BPDF417 A4", std::string(300, 'x'));
    EXPECT_GT(wide.sym()->columns, tall.sym()->columns);
    EXPECT_EQ(wide.sym()->options & PDF417_OPT_USERCOLS, 0);
    // At 90 degrees the page extents swap.
    Made turned("BPDF417 OV", "ABCDEFGH");
    EXPECT_EQ(turned.field()->width, 13 * 3);
    EXPECT_EQ(turned.field()->depth, (1 + 4) * 17 + 1);
}

TEST(Pdf417Field, EscapesAreResolvedBeforeEncoding) {
    Made m("BPDF417", "\\x41\\x4\\\\\\x00Z");
    ASSERT_EQ(m.status, KV_SUCCESS);
    // A, byte 4, backslash, NUL, Z: the field keeps the resolved text.
    EXPECT_EQ(std::string(m.field()->text.get(), 3), "A\x04\\");
    EXPECT_EQ(m.field()->text[3], '\0');
    EXPECT_EQ(m.field()->text[4], 'Z');
    // Five data bytes: "A" and "\Z" are short texts beside the bytes, so
    // the whole message is one byte run.
    pdf417_sym* s = m.sym();
    EXPECT_EQ(s->codewords[1], 901);
    EXPECT_EQ(std::vector<int32_t>(s->codewords + 2, s->codewords + 7),
              (std::vector<int32_t>{'A', 4, '\\', 0, 'Z'}));
}

TEST(Pdf417Field, ErrorsBecomeStatuses) {
    // No data: IVBARC, and the field is still queued, empty.
    Made empty("BPDF417", "");
    EXPECT_EQ(empty.status, KV_IVBARC);
    ASSERT_NE(empty.field(), nullptr);
    EXPECT_EQ(empty.field()->width, 0);
    EXPECT_EQ(empty.field()->depth, 0);

    // Too long: STROVFL and nothing queued.
    Made over("BPDF417", std::string(1851, 'A'));
    EXPECT_EQ(over.status, KV_STROVFL);
    EXPECT_EQ(over.field(), nullptr);
    Made fits("BPDF417", std::string(1850, 'A'));
    EXPECT_EQ(fits.status, KV_SUCCESS);
    EXPECT_NE(fits.field(), nullptr);
}
