// DataMatrix fields through the real command parser and field engine:
// parameters and errors of the construction hook, escapes, sizes, and
// symbols read back by both readers at every orientation, module size and
// band height.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/driver/jerr.hpp"
#include "core/fields/fieldmake.hpp"
#include "tests/matrix/datamatrix_testutil.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"
#include "tests/support/render.hpp"

using dmtest::printable;

namespace {
const char* const orientations[4] = {"OH", "OV", "OU", "OB"};

std::string digits(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>('0' + (i * 7 + i / 10) % 10);
    return s;
}

struct Readers {
    bool zxing = true;
    bool dmtx = true;
};

// Renders `data` with `commands` and checks that the readers give
// `expected`; returns the render for further checks.
RenderResult roundtrip(const std::string& commands, const std::string& data,
                       const std::string& expected, int module, int band = 0,
                       Readers readers = {}) {
    RenderResult r = render_symbol("BDATAMATRIX " + commands, data, band);
    EXPECT_EQ(r.status, KV_SUCCESS);
    EXPECT_EQ(r.fields, 1);
    if (readers.zxing) {
        EXPECT_EQ(printable(dmtest::read_zxing(r.page, module)), printable(expected)) << "zxing";
    }
    if (readers.dmtx) {
        EXPECT_EQ(printable(dmtest::read_dmtx(r.page, module)), printable(expected)) << "libdmtx";
    }
    return r;
}
} // namespace

// Every square size, reached with the W command (and data too long for the
// smaller sizes where W cannot reach). The 24 rows take every combination
// of orientation, module size (R) and band height (8 or 6 dot rows) once.
TEST(DataMatrixField, EverySizeEveryOrientation) {
    for (int i = 0; i < 24; ++i) {
        const datamtx200_symdef& e = datamtx200_symdeftab[i];
        const int size = e.width;
        const int module = 1 + (i / 4) % 3;
        const int band = (i / 12) % 2 != 0 ? 6 : 8;
        const std::string ornt = orientations[i % 4];
        std::string data = size < 14 ? digits(6) : "Size " + std::to_string(size);
        if (size == 120) data = digits(1700); // 850 codewords: more than 104x104 holds
        if (size == 132) data = digits(2200);
        if (size == 144) data = digits(2700);
        const int w = size > 99 ? 99 : size;
        const std::string commands =
            "W" + std::to_string(w) + " " + ornt + " R" + std::to_string(module);
        SCOPED_TRACE(commands + " band " + std::to_string(band) + ": " + std::to_string(size) +
                     "x" + std::to_string(size));
        // libdmtx reads 144x144 only with the check blocks in plain order,
        // not in the layout the generators and readers in use follow.
        Readers readers;
        readers.dmtx = size != 144;
        const RenderResult r = roundtrip(commands, data, data, module, band, readers);
        EXPECT_EQ(r.fieldwidth, size * module);
        EXPECT_EQ(r.fielddepth, size * module);
        const Bitmap::Box ink = r.page.ink();
        EXPECT_EQ(ink.w, size * module);
        EXPECT_EQ(ink.h, size * module);
    }
}

TEST(DataMatrixField, ModesAndSwitches) {
    struct Case {
        std::string data;
        std::vector<int32_t> modes; // entered from ASCII, in order
        const char* what;
    };
    constexpr int32_t C40 = DATAMTX_C40, TXT = DATAMTX_TEXT, X12 = DATAMTX_X12,
                      EDF = DATAMTX_EDIFACT, B256 = DATAMTX_B256;
    const std::string high = "\x80\x9f\xa0\xc1\xe9\xff\x81\x90";
    // C40, digits in ASCII, Text, EDIFACT, Base256, ASCII, X12, ASCII.
    const std::string all = "THE QUICK BROWN FOX " + digits(20) + "abcdefghijklmnop" +
                            "@[]^!#$%&()+,-./:;<=?" + high + high + "2024-06-30" +
                            "AB*CD>EF*GH>IJ*KL>" + "2024";
    const std::vector<Case> cases{
        {"2024-06-30 12:45:07", {}, "ASCII only: digit pairs and punctuation"},
        {"Hello 123", {TXT}, "'H' in ASCII, then Text is cheaper"},
        {"THE QUICK BROWN FOX 1234", {C40}, "C40"},
        {"the quick brown fox 1234", {TXT}, "Text"},
        {"ABC*DEF>GHI\rJKL*MNO>", {X12}, "X12"},
        {"@[]^!#$%&()+,-./:;<=>?@[]^", {EDF}, "EDIFACT"},
        {high + high + high, {B256}, "Base256"},
        {all, {C40, TXT, EDF, B256, X12}, "every mode"},
        {all + "THE QUICK BROWN FOX " + all,
         {C40, TXT, EDF, B256, X12, C40, TXT, EDF, B256, X12},
         "every mode twice"},
    };
    int module = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + printable(c.data));
        uint8_t cw[datamtx200_bufsize];
        const int32_t n = datamtx200_encode(cw, reinterpret_cast<const uint8_t*>(c.data.data()),
                                            static_cast<int32_t>(c.data.size()), 0, 0);
        ASSERT_GT(n, 0);
        EXPECT_EQ(dmtest::modetrace(std::vector<int>(cw, cw + n)), c.modes);
        roundtrip("R" + std::to_string(module), escape_data(c.data), c.data, module);
        module = module % 3 + 1;
    }
}

TEST(DataMatrixField, Escapes) {
    // Byte 0 and bytes 128..255 reach the symbol through escapes.
    std::string every;
    for (int c = 0; c < 256; ++c) every += static_cast<char>(c);
    struct Case {
        std::string text; // as written in the print job
        std::string bytes;
        const char* what;
    };
    const std::vector<Case> cases{
        {"A\\x00B", std::string("A\0B", 3), "byte 0 inside ASCII"},
        {"\\x00", std::string(1, '\0'), "byte 0 alone"},
        {"\\x80\\xff\\xFe\\x81", "\x80\xff\xfe\x81", "high bytes, either case of hex digit"},
        {"back\\\\slash\\n", "back\\slash\n", "doubled backslash and a letter escape"},
        {escape_data(every), every, "every byte"},
        {escape_data(every) + escape_data(every), every + every, "every byte twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        roundtrip("R2", c.text, c.bytes, 2);
    }
}

TEST(DataMatrixField, EscapesCutTheText) {
    Harness h(recorder_slots(400, false));
    ASSERT_EQ(h.command("BDATAMATRIX"), KV_SUCCESS);
    std::string data = "A\\x41\\x00Z";
    ASSERT_EQ(kv_fieldmake(h.state.get(), 0, 0, 0, data.c_str()), KV_SUCCESS);
    ASSERT_NE(h->fieldhead, nullptr);
    const char* text = h->fieldhead->text.get();
    EXPECT_EQ(std::string(text, 4), std::string("AA\0Z", 4));
    EXPECT_EQ(text[4], '\0');
}

TEST(DataMatrixField, SubsetsAreHeaders) {
    const std::string data = "0123456789ABCDEF";
    roundtrip("S5", data, dmtest::macro(data, "05"), 1);
    roundtrip("S6", data, dmtest::macro(data, "06"), 1);
    roundtrip("SM", data, data, 1); // reader programming: the data read as they are
    roundtrip("S5 SA", data, data, 1);
}

TEST(DataMatrixField, Parameters) {
    struct Case {
        std::string commands;
        std::string data;
        kv_status status;
        int width; // field width in dots, 0 when nothing is queued
        const char* why;
    };
    const std::vector<Case> cases{
        {"", "123456", KV_SUCCESS, 10, "defaults: ECC 200, module 1, no minimum"},
        {"C200", "123456", KV_SUCCESS, 10, "explicit ECC 200"},
        {"W30", "123456", KV_SUCCESS, 32, "three codewords, not narrower than 30"},
        {"R3", "123456", KV_SUCCESS, 30, "three dots per module"},
        {"R2 W20", "", KV_SUCCESS, 40, "empty data in a 20x20 symbol"},
        {"", "", KV_SUCCESS, 10, "empty data: the smallest symbol"},
        {"C0", "123456", KV_SUCCESS, 11, "ECC 000: 51 bits uncoded in 9 x 9 inside the finder"},
        {"C50", "123456", KV_SUCCESS, 13, "ECC 050"},
        {"C80", "123456", KV_SUCCESS, 15, "ECC 080"},
        {"C100", "123456", KV_SUCCESS, 15, "ECC 100"},
        {"C140", "123456", KV_SUCCESS, 19, "ECC 140"},
        {"C140 W20", "123456", KV_SUCCESS, 21, "ECC 140, requested size made odd"},
        {"C0 R2", "", KV_SUCCESS, 18, "ECC 000, empty data, two dots per module"},
        {"C0", digits(512), KV_STROVFL, 0, "ECC 000: 512 characters exceed the length field"},
        {"C140", std::string(73, 'x'), KV_STROVFL, 0, "ECC 140: 73 seven-bit bytes, one more than 49 x 49 holds"},
        {"", digits(3117), KV_STROVFL, 0, "one digit more than 144x144 holds"},
        {"", std::string(2400, 'x'), KV_STROVFL, 0, "more Text than 144x144 holds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commands + ": " + c.why);
        const RenderResult r = render_symbol("BDATAMATRIX " + c.commands, c.data);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.fields, c.width > 0 ? 1 : 0);
        EXPECT_EQ(r.fieldwidth, c.width);
    }
}

TEST(DataMatrixField, EmptyDataReads) {
    const RenderResult r = render_symbol("BDATAMATRIX R2", "");
    ASSERT_EQ(r.status, KV_SUCCESS);
    EXPECT_EQ(r.fieldwidth, 20);
    // zxing reports an empty symbol; a symbol of pads is still a symbol.
    const std::vector<Decoded> z = decode_zxing(r.page, "DataMatrix");
    ASSERT_EQ(z.size(), 1u);
    EXPECT_EQ(z[0].bytes, "");
}

// The largest message of each mode that 144x144 holds, printed and read
// (zxing-cpp: see EverySizeEveryOrientation), and one character more.
TEST(DataMatrixField, LargestMessages) {
    auto rep = [](const std::string& s, size_t n) {
        std::string out;
        while (out.size() < n) out += s;
        out.resize(n);
        return out;
    };
    std::string b256(1555, '\0');
    for (size_t i = 0; i < b256.size(); ++i) b256[i] = static_cast<char>(128 + (i * 37) % 128);
    struct Case {
        std::string data;
        const char* what;
    };
    const std::vector<Case> cases{
        {digits(3116), "ASCII digits"},
        {rep("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ", 2335), "C40"},
        {rep("abcdefghijklmnopqrstuvwxyz0123456789 ", 2335), "Text"},
        {rep("AB*C>D\rE", 2335), "X12"},
        {rep("@[]^!#$%&()", 2076), "EDIFACT"},
        {b256, "Base256"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RenderResult r =
            roundtrip("", escape_data(c.data), c.data, 1, 8, Readers{true, false});
        EXPECT_EQ(r.fieldwidth, 144);
        const RenderResult over = render_symbol("BDATAMATRIX", escape_data(c.data + c.data[0]));
        EXPECT_EQ(over.status, KV_STROVFL);
        EXPECT_EQ(over.fields, 0);
    }
}
