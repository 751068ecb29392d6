// PDF417 symbols printed by the real field engine and read back by an
// independent reader: every compaction path, every error-correction level,
// column counts, aspect ratios, sizes, the four orientations and rendering
// in bands. The decoded bytes must equal the data exactly.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "preview/decode.hpp"
#include "tests/support/render.hpp"

using namespace std::string_literals;

namespace {

std::string byte_range(int from, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>((from + i) & 0xFF);
    return s;
}

// Bytes no text run can hold: 128..255 over and over.
std::string high_bytes(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>(0x80 + i % 128);
    return s;
}

// Renders `bytes` with `commands` and expects one PDF417 symbol reading
// back as exactly those bytes.
void expect_roundtrip(const std::string& commands, const std::string& bytes, int band = 0) {
    SCOPED_TRACE(commands + " band " + std::to_string(band));
    RenderResult r = render_symbol(commands, escape_data(bytes), band);
    ASSERT_EQ(r.status, KV_SUCCESS);
    const std::vector<Decoded> d = decode_zxing(r.page, "PDF417");
    ASSERT_EQ(d.size(), 1u) << r.page.width << "x" << r.page.height;
    EXPECT_EQ(d[0].bytes, bytes);
}

struct Message {
    const char* what;
    std::string bytes;
};

const std::vector<Message>& messages() {
    static const std::vector<Message> m = {
        {"upper-case text", "PDF417 ROUND TRIP"},
        {"all four text sub-modes, shifts and latches",
         "Hello, World! ab;<>{}CD e=mc^2 #42 (x|y) ~ok~ 'q' \"Z\"\n\tEnd. aBc aBCD 1a1A A;B"},
        {"12 digits inside text", "Order 123456789012 ok"},
        {"13 digits inside text", "Order 1234567890123 ok"},
        {"7 digits", "1234567"},
        {"8 digits", "12345678"},
        {"44 digits", std::string("12345678901234567890123456789012345678901234")},
        {"100 digits", std::string(50, '0') + "98765432109876543210987654321098765432109876543210"},
        {"one byte", std::string(1, '\0')},
        {"6 bytes", "\x00\x80\xff\x01\x7f\xfe"s},
        {"12 bytes", byte_range(0xF4, 12)},
        {"13 bytes", byte_range(0x80, 13)},
        {"bytes folded into text", "Text with \x00 a NUL\x1b and \xe9t\xe9"s},
        {"single byte between letters", "a\x01"
                                        "b ab\x02"
                                        "c"s},
        {"text, bytes, digits", "Part \x01\x02\x03 no 00012345678901234 \xc0\xc1!"s},
    };
    return m;
}

} // namespace

TEST(Pdf417RoundTrip, MessagesAtEveryOrientation) {
    for (const Message& m : messages()) {
        SCOPED_TRACE(m.what);
        for (const char* o : {"OH", "OV", "OU", "OB"})
            expect_roundtrip(std::string("BPDF417 ") + o, m.bytes);
    }
}

TEST(Pdf417RoundTrip, MessagesInBands) {
    for (const Message& m : messages()) {
        SCOPED_TRACE(m.what);
        for (int band : {8, 24}) {
            for (const char* o : {"OH", "OV", "OU", "OB"})
                expect_roundtrip(std::string("BPDF417 ") + o, m.bytes, band);
        }
    }
}

TEST(Pdf417RoundTrip, EveryErrorCorrectionLevel) {
    const std::string data = "Error correction level test 0123456789";
    for (int level = 0; level <= 9; ++level) {
        expect_roundtrip("BPDF417 C" + std::to_string(level), data);
        expect_roundtrip("BPDF417 OV C" + std::to_string(level), data, 8);
    }
}

TEST(Pdf417RoundTrip, ColumnCounts) {
    const std::string data = "Columns: " + byte_range(0xA0, 20) + " 0123456789012345 lower UPPER";
    for (int columns = 1; columns <= 30; ++columns)
        expect_roundtrip("BPDF417 W" + std::to_string(columns), data, columns % 2 ? 24 : 0);
}

TEST(Pdf417RoundTrip, AspectRatiosAndSizes) {
    const std::string data(200, 'q');
    for (const char* c : {"BPDF417 A0.25", "BPDF417 A0.5", "BPDF417 A1", "BPDF417 A3:2",
                          "BPDF417 A4 OV", "BPDF417 A0.1 OB"})
        expect_roundtrip(c, data, 8);
    // Rows h dots high, modules x dots wide (R h:x).
    for (const char* c : {"BPDF417 R2:1", "BPDF417 R4:2", "BPDF417 R6:3 OU", "BPDF417 R9:1",
                          "BPDF417 R5:4 H200 W4"})
        expect_roundtrip(c, "Sizes " + byte_range(0xC8, 9), 24);
}

TEST(Pdf417RoundTrip, TruncatedAndCompaction) {
    for (const char* c : {"BPDF417 ST", "BPDF417 ST OV", "BPDF417 ST W6 OB"})
        expect_roundtrip(c, "Truncated symbol 1234567890123 \x01\x02", 8);
    // Compaction letters other than A keep digits inside mixed data in text.
    for (const char* c : {"BPDF417 KE", "BPDF417 KT", "BPDF417 KB", "BPDF417 KN"})
        expect_roundtrip(c, "Invoice 00012345678901234 paid", 0);
}

TEST(Pdf417RoundTrip, LargestMessagesAndOneMore) {
    struct Limit {
        const char* what;
        std::string fits;
        char more;
    };
    // Data codewords at most 926 (level 0 needs 2 of the 928 cells): 1108
    // bytes (184 groups and 4 bytes), 1850 letters, 2710 digits (61 groups
    // of 44 and 26 more).
    const Limit limits[] = {
        {"bytes", high_bytes(1108), '\x80'},
        {"text", std::string(1850, 'K'), 'K'},
        {"digits", std::string(2710, '7'), '7'},
    };
    for (const Limit& l : limits) {
        SCOPED_TRACE(l.what);
        expect_roundtrip("BPDF417", l.fits);
        RenderResult over = render_symbol("BPDF417", escape_data(l.fits + l.more));
        EXPECT_EQ(over.status, KV_STROVFL);
        EXPECT_EQ(over.fields, 0);
    }
}

// Random messages built from runs of every character class, so that
// sub-mode changes, shifts, byte shifts and run merges meet in every order.
TEST(Pdf417RoundTrip, RandomMixedMessages) {
    const std::vector<std::string> classes = {
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", "0123456789",
        "&\r\t,:#-.$/+%*=^",          ";<>@[\\]_`~!\n\"|()?{}'",    " ",
        "\x00\x01\x1b\x7f"s,          "\x80\x9f\xc3\xe9\xff"};
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int round = 0; round < 300; ++round) {
        std::string data;
        const uint32_t runs = 1 + next(12);
        for (uint32_t r = 0; r < runs; ++r) {
            const std::string& cls = classes[next(static_cast<uint32_t>(classes.size()))];
            for (uint32_t n = 1 + next(r % 3 == 0 ? 16 : 4); n > 0; --n)
                data += cls[next(static_cast<uint32_t>(cls.size()))];
        }
        SCOPED_TRACE("round " + std::to_string(round) + ": " + escape_data(data));
        expect_roundtrip("BPDF417", data);
    }
}
