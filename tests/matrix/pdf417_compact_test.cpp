// PDF417 compaction at the codeword level: character classes, runs and
// their merging, text sub-modes, numeric and byte groups, and the codeword
// stream the automatic compaction builds. Expected codewords are worked by
// hand from the compaction rules or taken from the standard's examples.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/matrix/pdf417_internal.hpp"

namespace {

const uint8_t* bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}
int32_t len(const std::string& s) {
    return static_cast<int32_t>(s.size());
}

std::vector<int32_t> textcw(const std::string& s) {
    std::vector<int32_t> out(2 * s.size() + 4);
    const int32_t n =
        pdf417_textcompact(out.data(), bytes(s), len(s), static_cast<int32_t>(out.size()));
    out.resize(n < 0 ? 0 : n);
    return out;
}

// Codewords after the length descriptor, or {-errcode} on failure.
std::vector<int32_t> autocw(const std::string& s, int32_t options = 0) {
    pdf417_sym sym{};
    pdf417_open(&sym);
    sym.options = options;
    if (!pdf417_autocompact(&sym, bytes(s), len(s))) return {-sym.errcode};
    EXPECT_EQ(sym.codewords[0], sym.cwcount);
    return std::vector<int32_t>(sym.codewords + 1, sym.codewords + sym.cwcount);
}

// Runs as "T0-8 B8-9 ..." after segmentation and merging.
std::string runs(const std::string& s, int32_t options = 0) {
    pdf417_runlist list;
    EXPECT_TRUE(pdf417_runlist_init(&list));
    EXPECT_TRUE(pdf417_segment(&list, bytes(s), len(s), options));
    pdf417_mergeruns(&list);
    std::string out;
    for (int32_t i = 0; i < list.count; ++i) {
        const pdf417_run* r = pdf417_runlist_get(&list, i);
        if (!out.empty()) out += ' ';
        out += static_cast<char>(r->type) + std::to_string(r->start) + "-" + std::to_string(r->end);
    }
    pdf417_runlist_freeall(&list);
    return out;
}

std::vector<int32_t> concat(std::initializer_list<std::vector<int32_t>> parts) {
    std::vector<int32_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

TEST(Pdf417Compact, CharacterClasses) {
    struct Case {
        int c;
        int32_t cls;
    };
    // Text sub-mode tables: Alpha, Lower, Mixed, Punctuation positions.
    const Case cases[] = {
        {' ', 0x71A},   {'A', 0x100}, {'Z', 0x119},   {'a', 0x200},   {'z', 0x219},
        {'0', 0x400},   {'9', 0x409}, {'&', 0x40A},   {'\r', 0xC0B},  {'\t', 0xC0C},
        {',', 0xC0D},   {':', 0xC0E}, {'#', 0x40F},   {'-', 0xC10},   {'.', 0xC11},
        {'$', 0xC12},   {'/', 0xC13}, {'+', 0x414},   {'%', 0x415},   {'*', 0xC16},
        {'=', 0x417},   {'^', 0x418}, {';', 0x800},   {'~', 0x809},   {'!', 0x80A},
        {'\n', 0x80F},  {'"', 0x814}, {'|', 0x815},   {'(', 0x817},   {'}', 0x81B},
        {'\'', 0x81C},  {0, 0x1000},  {0x7F, 0x107F}, {0x80, 0x1080}, {0xFF, 0x10FF},
        {0x0B, 0x100B},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.c);
        EXPECT_EQ(pdf417_texttype(c.c), c.cls);
    }
    // Every byte from space to tilde is a text character of some sub-mode.
    for (int c = 0x20; c <= 0x7E; ++c) EXPECT_EQ(pdf417_texttype(c) & 0x1000, 0) << c;
}

TEST(Pdf417Compact, RunListOperations) {
    pdf417_runlist list;
    ASSERT_TRUE(pdf417_runlist_init(&list));
    for (int32_t i = 0; i < 40; ++i) ASSERT_TRUE(pdf417_runlist_add(&list, 'T', i, i + 1));
    EXPECT_EQ(list.count, 40);
    EXPECT_GE(list.room, 40); // grew past the first 16 by doubling
    EXPECT_TRUE(pdf417_runlist_del(&list, 0));
    EXPECT_TRUE(pdf417_runlist_del(&list, 38)); // the last one
    EXPECT_FALSE(pdf417_runlist_del(&list, 38));
    EXPECT_EQ(list.count, 38);
    EXPECT_EQ(pdf417_runlist_get(&list, 0)->start, 1);
    EXPECT_EQ(pdf417_runlist_get(&list, 37)->start, 38);
    EXPECT_EQ(pdf417_runlist_get(&list, 38), nullptr);
    EXPECT_EQ(pdf417_runlist_get(&list, -1), nullptr);
    EXPECT_EQ(pdf417_runlist_get(nullptr, 0), nullptr);
    EXPECT_EQ(pdf417_runlistel_type(pdf417_runlist_get(&list, 3)), 'T');
    EXPECT_EQ(pdf417_runlistel_len(pdf417_runlist_get(&list, 3)), 1);

    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    pdf417_runlist list2;
    ASSERT_TRUE(pdf417_runlist_init(&list2));
    ASSERT_TRUE(pdf417_runlist_add(&list2, 'T', 0, 3));
    ASSERT_TRUE(pdf417_runlist_add(&list2, 'N', 3, 5));
    pdf417_runlist_gube(&list2, bytes("abc12"), out);
    pdf417_runlist_gube(&list2, nullptr, out);
    std::fclose(out);
    EXPECT_STREQ(text, "runlist (len=2) :\n  T (0..3) : [abc]\n  N (3..5) : [12]\n"
                       "runlist (len=2) :\n  T (0..3)\n  N (3..5)\n");
    std::free(text);
    pdf417_runlist_freeall(&list);
    EXPECT_EQ(list.count, 0);
}

TEST(Pdf417Compact, SegmentationAndMerging) {
    struct Case {
        const char* why;
        std::string data;
        int32_t options;
        const char* runs;
    };
    const Case cases[] = {
        {"all text", "ABCDEFGH", 0, "T0-8"},
        {"12 digits stay in the text", "AB123456789012CD", 0, "T0-16"},
        {"13 digits inside text are numeric", "AB1234567890123CD", 0, "T0-2 N2-15 T15-17"},
        {"leading and trailing digit runs", "1234567890123AB1234567890123", 0,
         "N0-13 T13-15 N15-28"},
        {"no numeric runs with option 2", "AB1234567890123CD", PDF417_OPT_NONUMERIC, "T0-17"},
        {"byte between texts of 3 characters joins them",
         std::string("ab\x01"
                     "c"),
         0, "T0-4"},
        {"byte between single letters absorbs them",
         std::string("a\x01"
                     "b"),
         0, "B0-3"},
        {"long text absorbs neighbouring single bytes",
         std::string("\x01"
                     "ABCDE\x02"),
         0, "T0-7"},
        {"long text keeps a two-byte run",
         std::string("\x01\x02"
                     "ABCDE"),
         0, "B0-2 T2-7"},
        {"byte run absorbs short texts",
         std::string("AB\x01\x02"
                     "CD\x03\x04"
                     "EF"),
         0, "B0-10"},
        {"numeric runs stay apart",
         std::string("\x01\x02"
                     "1234567890123\x03\x04"),
         0, "B0-2 N2-15 B15-17"},
        {"high bytes are bytes", std::string("\x80\xff\xfe"), 0, "B0-3"},
        {"TAB LF CR are text", "A\tB\nC\rD", 0, "T0-7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(runs(c.data, c.options), c.runs);
    }
}

// The merge passes applied literally: after any change, start again from
// the first run. A slow model of the rule for the fast merge.
namespace {
std::vector<pdf417_run> literal_merge(std::vector<pdf417_run> r) {
    const auto L = [](const pdf417_run& x) { return x.end - x.start; };
    const auto b1 = [&](const pdf417_run& x) { return x.type == 'B' && L(x) == 1; };
    bool changed = true;
    while (changed) { // pass a
        changed = false;
        for (size_t i = 1; i + 1 < r.size() && !changed; ++i) {
            if (b1(r[i]) && r[i - 1].type == 'T' && r[i + 1].type == 'T' &&
                L(r[i - 1]) + L(r[i + 1]) > 2) {
                r[i - 1].end = r[i + 1].end;
                r.erase(r.begin() + i, r.begin() + i + 2);
                changed = true;
            }
        }
    }
    const auto pass = [&](auto self, auto absorbable, int32_t type) {
        bool again = true;
        while (again) {
            again = false;
            for (size_t i = 0; i < r.size() && !again; ++i) {
                if (!self(r[i])) continue;
                if (i > 0 && absorbable(r[i - 1])) {
                    r[i - 1] = {type, r[i - 1].start, r[i].end};
                    r.erase(r.begin() + i);
                    --i;
                    again = true;
                }
                if (i + 1 < r.size() && absorbable(r[i + 1])) {
                    r[i] = {type, r[i].start, r[i + 1].end};
                    r.erase(r.begin() + i + 1);
                    again = true;
                }
            }
        }
    };
    pass([&](const pdf417_run& x) { return x.type == 'T' && L(x) >= 5; },
         [&](const pdf417_run& x) { return x.type == 'T' || b1(x); }, 'T');
    pass([&](const pdf417_run& x) { return x.type == 'B'; },
         [&](const pdf417_run& x) { return x.type == 'B' || (x.type == 'T' && L(x) < 5); }, 'B');
    return r;
}
} // namespace

TEST(Pdf417Compact, MergingReachesTheRestartRule) {
    std::mt19937 rng(417);
    const char alphabet[] = {'A', 'b', '1', ' ', '\x01', '\x80'};
    for (int round = 0; round < 3000; ++round) {
        std::string s(1 + rng() % 40, ' ');
        // Runs of one class with random lengths, so long and short runs mix.
        for (size_t i = 0; i < s.size();) {
            const char c = alphabet[rng() % 6];
            for (size_t n = 1 + rng() % 7; n > 0 && i < s.size(); --n) s[i++] = c;
        }
        pdf417_runlist list;
        ASSERT_TRUE(pdf417_runlist_init(&list));
        ASSERT_TRUE(pdf417_segment(&list, bytes(s), len(s), round % 5 == 0 ? 2 : 0));
        std::vector<pdf417_run> before(list.runs.get(), list.runs.get() + list.count);
        pdf417_mergeruns(&list);
        const std::vector<pdf417_run> expect = literal_merge(before);
        ASSERT_EQ(static_cast<size_t>(list.count), expect.size()) << "round " << round;
        for (size_t i = 0; i < expect.size(); ++i) {
            EXPECT_EQ(list.runs[i].type, expect[i].type) << "round " << round;
            EXPECT_EQ(list.runs[i].start, expect[i].start) << "round " << round;
            EXPECT_EQ(list.runs[i].end, expect[i].end) << "round " << round;
        }
    }
}

TEST(Pdf417Compact, TextSubModes) {
    struct Case {
        const char* why;
        std::string data;
        std::vector<int32_t> cw;
    };
    // Worked by hand: values are paired as 30 x first + second; 27 ll/as,
    // 28 ml/al, 29 ps/pal and filler, 25 pl, 913 byte shift.
    const Case cases[] = {
        {"upper case pairs", "ABCDEFGH", {1, 63, 125, 187}},
        {"odd count ends with filler", "ABC", {1, 89}},
        {"latch to lower", "abc", {810, 32}},
        {"alpha shift for one capital", "aBc", {810, 811, 89}},
        {"via mixed back to alpha before two more capitals", "aBCD", {810, 868, 32, 119}},
        {"capital then space counts as alpha", "aB C", {810, 868, 56, 89}},
        {"punctuation latch before three", "A;<>", {28, 750, 32}},
        {"punctuation shift for one", "A;B", {29, 1}},
        {"punctuation latch from mixed needs no ml", "1;<>a", {841, 750, 32, 897, 29}},
        {"mixed to lower", "1a", {841, 810}},
        {"mixed to alpha", "1A", {841, 840}},
        {"line feed is punctuation only", "A\nB", {29, 451}},
        {"byte shift after an even count",
         std::string("ABCD\x80"
                     "EF"),
         {1, 63, 913, 128, 125}},
        {"byte shift in punctuation: filler latches to alpha",
         std::string("AB;<>\x80"
                     "CD"),
         {1, 865, 1, 89, 913, 128, 63}},
        {"byte shift after an odd count in lower",
         std::string("ab\x01"
                     "c"),
         {810, 59, 913, 1, 89}},
        {"NUL as a byte", std::string("A\0B", 3), {29, 913, 0, 59}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(textcw(c.data), c.cw);
    }
}

TEST(Pdf417Compact, TextLimit) {
    int32_t out[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    // 8 letters need 4 codewords; with room for 3 the count is negated and
    // nothing is written past the room.
    EXPECT_EQ(pdf417_textcompact(out, bytes("ABCDEFGH"), 8, 3), -4);
    EXPECT_EQ(out[2], 125);
    EXPECT_EQ(out[3], -1);
    EXPECT_EQ(pdf417_textcompact(out, bytes("ABCDEFGH"), 8, 4), 4);
    // A byte shift is written only when both its codewords fit.
    int32_t out2[4] = {-1, -1, -1, -1};
    EXPECT_EQ(pdf417_textcompact(out2, bytes("AB\x80"), 3, 2), -3);
    EXPECT_EQ(out2[0], 1);
    EXPECT_EQ(out2[1], -1);
}

TEST(Pdf417Compact, NumericAndByteGroups) {
    int32_t out[32];
    // Standard's numeric example: 000213298174000 -> 1 624 434 632 282 200.
    EXPECT_EQ(pdf417_numcompact(out, bytes("000213298174000"), 15), 6);
    EXPECT_EQ(std::vector<int32_t>(out, out + 6),
              (std::vector<int32_t>{1, 624, 434, 632, 282, 200}));
    // 44 nines: 1 followed by 44 nines in base 900 (worked by hand).
    const std::string nines(44, '9');
    EXPECT_EQ(pdf417_numcompact44(out, bytes(nines), 44), 15);
    EXPECT_EQ(std::vector<int32_t>(out, out + 15),
              (std::vector<int32_t>{874, 223, 532, 264, 888, 236, 358, 185, 93, 795, 72, 289, 146,
                                    822, 199}));
    // 45 digits: a full group of 15 and one digit "1d" -> 1 codeword.
    EXPECT_EQ(pdf417_numcompact(out, bytes(nines + "7"), 45), 16);
    EXPECT_EQ(out[15], 17);
    EXPECT_EQ(pdf417_numcompact44(out, bytes("12345678"), 8), 3);
    EXPECT_EQ(std::vector<int32_t>(out, out + 3), (std::vector<int32_t>{138, 628, 478}));

    // Standard's byte example: "alcool" -> 163 238 432 766 244.
    EXPECT_EQ(pdf417_bincompact6(out, bytes("alcool")), 5);
    EXPECT_EQ(std::vector<int32_t>(out, out + 5), (std::vector<int32_t>{163, 238, 432, 766, 244}));
    const std::string ff(6, '\xff');
    pdf417_bincompact6(out, bytes(ff));
    EXPECT_EQ(std::vector<int32_t>(out, out + 5), (std::vector<int32_t>{429, 11, 71, 222, 855}));
    // 13 bytes: two groups of 5 codewords and the last byte as itself.
    EXPECT_EQ(pdf417_bincompact(out, bytes("alcoolalcoolZ"), 13), 11);
    EXPECT_EQ(out[5], 163);
    EXPECT_EQ(out[10], 'Z');

    struct Len {
        int32_t n, num, bin;
    };
    const Len lens[] = {{0, 0, 0},    {1, 1, 1},    {2, 1, 2},    {3, 2, 3},   {5, 2, 5},
                        {6, 3, 5},    {7, 3, 6},    {12, 5, 10},  {13, 5, 11}, {43, 15, 36},
                        {44, 15, 37}, {45, 16, 38}, {88, 30, 74}, {-3, 0, 0}};
    for (const Len& l : lens) {
        SCOPED_TRACE(l.n);
        EXPECT_EQ(pdf417_numcompactlen(l.n), l.num);
        EXPECT_EQ(pdf417_bincompactlen(l.n), l.bin);
    }
}

TEST(Pdf417Compact, AutomaticCompaction) {
    const std::vector<int32_t> n13 = {902, 17, 110, 836, 811, 223}; // 1 1234567890123 in base 900
    struct Case {
        const char* why;
        std::string data;
        int32_t options;
        std::vector<int32_t> cw;
    };
    const Case cases[] = {
        {"leading text run has no latch 900", "ABCDEFGH", 0, {1, 63, 125, 187}},
        {"13 digits inside text: 902, then 900 back to text", "AB1234567890123CD", 0,
         concat({{1}, n13, {900, 63}})},
        {"12 digits stay in text", "AB123456789012CD", 0, {1, 841, 63, 125, 187, 249, 1, 88, 63}},
        {"8 digits alone are numeric", "12345678", 0, {902, 138, 628, 478}},
        {"8 digits are numeric even with option 2",
         "12345678",
         PDF417_OPT_NONUMERIC,
         {902, 138, 628, 478}},
        {"7 digits stay text", "1234567", 0, {841, 63, 125, 187}},
        {"byte folded into text: 913",
         std::string("ab\x01"
                     "c"),
         0,
         {810, 59, 913, 1, 89}},
        {"letters folded into bytes: 901",
         std::string("a\x01"
                     "b"),
         0,
         {901, 97, 1, 98}},
        {"lower-case text", "alcoolalcool", 0, {810, 332, 434, 330, 332, 434, 359}},
        {"text after bytes latches 900",
         std::string("\x80\x81"
                     "ABCDE"),
         0,
         {901, 128, 129, 900, 1, 63, 149}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(autocw(c.data, c.options), c.cw);
    }
}

TEST(Pdf417Compact, ByteRunLatches) {
    // 12 bytes use 924 and two groups of 5; 13 bytes 901, 10 + 1 codewords.
    std::string twelve, thirteen;
    for (int i = 0; i < 12; ++i) twelve += static_cast<char>(0x80 + i);
    thirteen = twelve + '\x8c';
    const auto c12 = autocw(twelve);
    ASSERT_EQ(c12.size(), 11u);
    EXPECT_EQ(c12[0], 924);
    EXPECT_EQ(std::vector<int32_t>(c12.begin() + 1, c12.begin() + 6),
              (std::vector<int32_t>{215, 318, 502, 193, 33}));
    EXPECT_EQ(std::vector<int32_t>(c12.begin() + 6, c12.end()),
              (std::vector<int32_t>{225, 403, 472, 113, 519}));
    const auto c13 = autocw(thirteen);
    ASSERT_EQ(c13.size(), 12u);
    EXPECT_EQ(c13[0], 901);
    EXPECT_EQ(c13[11], 0x8c);
    EXPECT_EQ(autocw(std::string(6, '\x80'))[0], 924);
    EXPECT_EQ(autocw(std::string(1, '\x80')), (std::vector<int32_t>{901, 128}));
}

TEST(Pdf417Compact, OverflowIsReported) {
    // 928 codewords at most, so 927 after the descriptor: 1854 letters fit,
    // one more does not.
    EXPECT_EQ(autocw(std::string(1854, 'A')).size(), 927u);
    EXPECT_EQ(autocw(std::string(1855, 'A')), (std::vector<int32_t>{-PDF417_ERR_TOOLONG}));
    // Numeric and byte runs are checked before they are written.
    EXPECT_EQ(autocw(std::string(2784, '1')), (std::vector<int32_t>{-PDF417_ERR_TOOLONG}));
    EXPECT_EQ(autocw(std::string(1200, '\x80')), (std::vector<int32_t>{-PDF417_ERR_TOOLONG}));
    // Far too long for any compaction.
    EXPECT_EQ(autocw(std::string(100000, 'A')), (std::vector<int32_t>{-PDF417_ERR_TOOLONG}));
}
