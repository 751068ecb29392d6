// Code 128 through the real field engine: the worked examples as exact
// element sequences, and round trips through two independent readers in
// every start subset, orientation and module width.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/driver/jerr.hpp"
#include "core/linear/code128.hpp"
#include "tests/linear/elements.hpp"
#include "tests/support/decode_zbar.hpp"
#include "tests/support/render.hpp"

using linear_test::runs;

namespace {
const char* const kOrientations[] = {"OH", "OV", "OU", "OB"};

// Module widths of the symbols used below, bar first, from the Code 128
// symbol character table (ISO/IEC 15417, Table 1).
const std::string START_A = "211412", START_B = "211214", START_C = "211232";
const std::string STOP = "2331112"; // 13 modules with its closing bar
const std::string SHIFT = "411311", CODE_B = "114131", CODE_C = "113141";
const std::string V1 = "222122", V12 = "112232", V19 = "221132", V33 = "111323", V34 = "131123",
                  V56 = "331121", V65 = "121124", V73 = "142112", V82 = "121241", V85 = "124211";

std::string concat(const std::vector<std::string>& parts) {
    std::string s;
    for (const std::string& p : parts) s += p;
    return s;
}
} // namespace

TEST(Code128, WorkedExamplesAsElementSequences) {
    struct Case {
        const char* commands;
        std::string data;
        kv_status status;
        std::string elements; // at one dot per module
        const char* source;
    };
    const Case cases[] = {
        {"SC C1", "1234", KV_SUCCESS, concat({START_C, V12, V34, V82, STOP}),
         "worked example: check (105 + 12 + 2*34) mod 103 = 82"},
        {"SC C0", "123", KV_SUCCESS, concat({START_C, V12, CODE_B, V19, STOP}),
         "a lone last digit in subset C: CODE B, then 3 by its subset-B value 19"},
        {"SC C1", "123", KV_SUCCESS, concat({START_C, V12, CODE_B, V19, V65, STOP}),
         "one check symbol over what is printed: (105 + 12 + 2*100 + 3*19) mod 103 = 65"},
        {"SB C0", "", KV_SUCCESS, concat({START_B, STOP}), "empty field"},
        {"SB C1", "", KV_SUCCESS, concat({START_B, V1, STOP}), "empty field: check 104 mod 103"},
        {"SB C0", "\x80\x09", KV_SUCCESS, concat({START_B, SHIFT, V73, STOP}),
         "SHIFT, then TAB by its subset-A value 9 + 64"},
        {"SB C1",
         "X\xE3"
         "12",
         KV_SUCCESS, concat({START_B, V56, CODE_C, V12, V85, STOP}),
         "CODE C inside subset B; check 85 (104+56+2*99+3*12 = 394) written in subset C"},
        {"SA C0", "a", KV_SUCCESS, concat({START_A, V65, STOP}),
         "a lower-case letter in subset A takes its subset-B value"},
        // The bad byte is an 11-module block that joins the bars on either side.
        {"SB C0",
         "A\x01"
         "B",
         KV_IVBARC, concat({START_B, V33, "(12)", V34.substr(1), STOP}), "a byte no column holds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.commands) + ": " + c.source);
        RenderResult r = render_symbol(std::string("BCODE128 H10 ") + c.commands, c.data);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(runs(r.page), c.elements);
        int modules = 0;
        for (char ch : c.elements) modules += ch == '(' ? 0 : ch - '0';
        if (c.status == KV_SUCCESS) {
            EXPECT_EQ(r.fieldwidth, modules);
        }
    }
}

TEST(Code128, ReaderFollowsSubsetsShiftsAndDigitPairs) {
    // Symbol by symbol: the subset each is looked up in and its lookup value.
    struct Case {
        int32_t start;
        std::string data;
        std::string symbols; // "subset:value" per symbol, the end marker last
    };
    const Case cases[] = {
        {'B',
         "a\x80\x09"
         "b",
         "b:194 b:97 b:128 a:9 b:98 b:211"},
        {'A',
         "\x80"
         "a\x80"
         "b",
         "a:193 a:128 b:97 a:128 b:98 a:211"},
        {'B',
         "\xE3"
         "12\xE1"
         "x",
         "b:194 b:227 c:12 c:225 a:120 a:211"},
        // A lone digit in subset C is read in B after a code change the
        // reader supplies, and a CODE C returns when data follow.
        {'C', "123", "c:195 c:12 c:226 b:51 b:211"},
        {'C', "1x", "c:195 c:226 b:49 b:227 c:255 c:211"},
        {'C',
         "1\xB1"
         "23",
         "c:195 c:226 b:49 b:227 c:177 c:23 c:211"},
        // A change to A or B written after the digit is printed before it.
        {'C',
         "12345\xE1"
         "A",
         "c:195 c:12 c:34 c:225 a:53 a:65 a:211"},
        {'C', "1\xE2", "c:195 c:226 b:49 b:211"},
        {'B',
         "A\xE3"
         "123",
         "b:194 b:65 b:227 c:12 c:226 b:51 b:211"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        c128_reader r;
        c128_open(&r, c.start, static_cast<int32_t>(c.data.size()), c.data.c_str());
        std::string got;
        int32_t subset = 0, value = 0;
        while (c128_next(&r, &subset, &value)) {
            if (!got.empty()) got += ' ';
            got += std::string(1, static_cast<char>(subset)) + ":" + std::to_string(value);
        }
        EXPECT_EQ(got, c.symbols);
    }
}

TEST(Code128, DecodesInEverySubsetOrientationAndWidth) {
    struct Data {
        const char* subset;
        std::string in;
        std::string out;
    };
    const Data data[] = {
        {"SA", "HELLO 128", "HELLO 128"},
        {"SA",
         "TAB\x09"
         "END",
         "TAB\tEND"},
        {"SB", "Code 128!", "Code 128!"},
        {"SC", "0123456789", "0123456789"},
        // Odd digit counts: the last digit in subset B; the check symbols of
        // 489, 279, 289, 299, 309 and 319 are 16 (the digit 0 in subset B),
        // 98 (SHIFT), 99 (CODE C), 100 (FNC4), 101 (CODE A) and 102 (FNC1).
        {"SC", "1", "1"},
        {"SC", "123", "123"},
        {"SC", "489", "489"},
        {"SC", "279", "279"},
        {"SC", "289", "289"},
        {"SC", "299", "299"},
        {"SC", "309", "309"},
        {"SC", "319", "319"},
        {"SC",
         "12345\xE2"
         "ab",
         "12345ab"},
        {"SB",
         "A\xE3"
         "123",
         "A123"},
        {"SC",
         "12\xE2"
         "ab",
         "12ab"},
        {"SB",
         "ab\xE3"
         "123456",
         "ab123456"},
        {"SA",
         "AB\xE2"
         "cd",
         "ABcd"},
        {"SB",
         "ab\x80\x09"
         "cd",
         "ab\tcd"},
        {"SA",
         "AB\x80"
         "cD",
         "ABcD"},
    };
    const char* const widths[] = {"R4:3:2:1", "R8:6:4:2", "R12:9:6:3"};
    for (const Data& d : data) {
        for (const char* o : kOrientations) {
            for (const char* w : widths) {
                const std::string cmd =
                    std::string("BCODE128 H40 C1 ") + d.subset + " " + o + " " + w;
                SCOPED_TRACE(cmd + " " + d.out);
                RenderResult r = render_symbol(cmd, d.in);
                ASSERT_EQ(r.status, KV_SUCCESS);
                auto zx = decode_zxing(r.page, "Code128");
                ASSERT_EQ(zx.size(), 1u);
                EXPECT_EQ(zx[0].text, d.out);
                // zbar, the second reader, is not reliable at one dot per module.
                if (w == widths[0]) continue;
                auto zb = decode_zbar(r.page);
                ASSERT_EQ(zb.size(), 1u);
                EXPECT_EQ(zb[0].format, "CODE-128");
                EXPECT_EQ(zb[0].text, d.out);
            }
        }
    }
}

TEST(Code128, WithoutCheckTheDataCarriesItsOwn) {
    // C0 appends nothing: a readable symbol needs the check in the data, and
    // is then the same symbol C1 prints.
    for (const char* o : kOrientations) {
        SCOPED_TRACE(o);
        RenderResult own = render_symbol(std::string("BCODE128 H30 SC C0 ") + o, "123482");
        RenderResult added = render_symbol(std::string("BCODE128 H30 SC C1 ") + o, "1234");
        EXPECT_EQ(own.page.dots, added.page.dots);
        EXPECT_EQ(decode_zxing(own.page, "Code128").at(0).text, "1234");
        RenderResult none = render_symbol(std::string("BCODE128 H30 SB C0 ") + o, "ABC");
        EXPECT_TRUE(decode_zxing(none.page, "Code128").empty()); // C reads as a wrong check
    }
}

TEST(Code128, BandsGiveTheSamePage) {
    for (const char* o : kOrientations) {
        const std::string cmd = std::string("BCODE128 H37 SB R8:6:4:2 ") + o;
        SCOPED_TRACE(cmd);
        RenderResult whole = render_symbol(cmd, "Band\xE3"
                                                "0123");
        for (int band : {8, 6}) {
            RenderResult sliced = render_symbol(cmd,
                                                "Band\xE3"
                                                "0123",
                                                band);
            EXPECT_EQ(sliced.page.width, whole.page.width);
            EXPECT_EQ(sliced.page.dots, whole.page.dots) << "band " << band;
        }
        EXPECT_EQ(decode_zxing(whole.page, "Code128").at(0).text, "Band0123");
    }
}
