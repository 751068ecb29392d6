// Round trips: MaxiCode fields built and rendered by the real field engine,
// read back by zxing-cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include "core/driver/jerr.hpp"
#include "preview/decode.hpp"
#include "tests/support/render.hpp"

namespace {
// '|' as GS, '^' as RS and '@' as EOT, for readable structured messages.
std::string ctl(std::string text) {
    for (char& c : text) {
        if (c == '|') c = '\x1D';
        if (c == '^') c = '\x1E';
        if (c == '@') c = '\x04';
    }
    return text;
}

// The mode zxing reports (it gives it as the error-correction level).
std::string zxingmode(const Bitmap& b) {
    const Bitmap page = b.framed(16);
    std::vector<uint8_t> lum(page.dots.size());
    for (size_t i = 0; i < lum.size(); ++i) lum[i] = page.dots[i] ? 0 : 255;
    ZXing::ImageView image(lum.data(), page.width, page.height, ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setIsPure(true);
    hints.setFormats(ZXing::BarcodeFormat::MaxiCode);
    const ZXing::Result r = ZXing::ReadBarcode(image, hints);
    return r.isValid() ? r.ecLevel() : "unread";
}

struct Trip {
    std::string commands;
    std::string data;     // as the print job sends it (escapes included)
    std::string expected; // content as zxing presents it
    std::string mode;
    const char* why;
};

void roundtrip(const Trip& t) {
    SCOPED_TRACE(t.why);
    RenderResult r = render_symbol(t.commands, t.data);
    ASSERT_EQ(r.status, KV_SUCCESS);
    ASSERT_EQ(r.fields, 1);
    EXPECT_EQ(r.fieldwidth, 304);
    EXPECT_EQ(r.fielddepth, 300);
    const std::vector<Decoded> d = decode_zxing(r.page, "MaxiCode", /*pure=*/true);
    ASSERT_EQ(d.size(), 1u) << r.page.rows();
    EXPECT_EQ(d[0].bytes, t.expected);
    EXPECT_EQ(zxingmode(r.page), t.mode);
}
} // namespace

// zxing presents a structured carrier message as postal code, GS, country (3
// digits), GS, class of service (3 digits), GS, secondary message; after a
// "[)>" RS "01" GS yy header it puts these fields back behind the header, so
// a text in the transport format reads back exactly as it was sent.
TEST(MaxicodeDecode, StructuredCarrierMessages) {
    // '|' stands for GS, '^' for RS and '@' for EOT in data and expectations.
    const std::vector<Trip> trips = {
        {"BMAXICODE",
         "[)>\\x1E01\\x1D96152382802\\x1D840\\x1D001\\x1D1Z00004951\\x1DUPSN\\x1D06X610\\x1D159"
         "\\x1D1234567\\x1D1/1\\x1D\\x1DY\\x1D634 ALPHA DR\\x1DPITTSBURGH\\x1DPA\\x1E\\x04",
         ctl("[)>^01|96152382802|840|001|1Z00004951|UPSN|06X610|159|1234567|1/1||Y|634 ALPHA "
             "DR|PITTSBURGH|PA^@"),
         "2", "header form (sent with escapes), nine-digit postal code: mode 2"},
        {"BMAXICODE", ctl("[)>^01|96W1T1JY|826|001|LONDON"), ctl("[)>^01|96W1T1JY|826|001|LONDON"),
         "3", "header form, alphanumeric postal code: mode 3"},
        {"BMAXICODE", "123456789,840,001,Secondary message",
         ctl("123456789|840|001|Secondary message"), "2", "comma form, nine digits"},
        {"BMAXICODE", "AB12,276,5,Hallo Welt", ctl("AB12  |276|005|Hallo Welt"), "3",
         "comma form, short alphanumeric code: filled with spaces"},
        {"BMAXICODE", "sw1a1a,826,1,", ctl("SW1A1A|826|001|"), "3",
         "small letters read as capitals"},
        {"BMAXICODE", "12345,840,001,x", ctl("12345 |840|001|x"), "3",
         "automatic: five digits give mode 3"},
        {"BMAXICODE", "1234567,840,001,x", ctl("1234567|840|001|x"), "2",
         "automatic: seven digits give mode 2"},
        {"BMAXICODE S2", "01234,840,1,x", ctl("01234|840|001|x"), "2",
         "mode 2 asked: five digits, leading zero kept by the length"},
        {"BMAXICODE S3", "4711,40,20,x", ctl("4711  |040|020|x"), "3", "mode 3 asked"},
        {"BMAXICODE", "15238-2802,840,001,x", ctl("152382802|840|001|x"), "2", "hyphen skipped"},
        {"BMAXICODE", ctl("12345|840|001|x"), ctl("12345 |840|001|x"), "3",
         "GS as separator without the header"},
        {"BMAXICODE", "12345", ctl("12345 |000|000|"), "3", "postal code only"},
    };
    for (const Trip& t : trips) roundtrip(t);
}

TEST(MaxicodeDecode, FreeData) {
    const std::vector<Trip> trips = {
        {"BMAXICODE S4", "Hello, World! 0123456789 (A+b=c) {x|y} ~#$%",
         "Hello, World! 0123456789 (A+b=c) {x|y} ~#$%", "4", "Sets A and B, shifts and latches"},
        {"BMAXICODE S4", "ABCxDEFGabcdEFGHijKLMnOPqRs", "ABCxDEFGabcdEFGHijKLMnOPqRs", "4",
         "latch A, 2-shift A, 3-shift A, shift A, shift B"},
        {"BMAXICODE S4", "\xC0\xC1\xC2\xC3\xC4 \xE0\xE1\xE2\xE3\xE4 \xA9\xAE\xB1 \xFF\xDF",
         "\xC0\xC1\xC2\xC3\xC4 \xE0\xE1\xE2\xE3\xE4 \xA9\xAE\xB1 \xFF\xDF", "4",
         "lock-in C and D, shifts into C, D and E"},
        {"BMAXICODE S4", "a\\x01\\x02\\x03\\x04\\x1Fb\\x00c\\x1C\\x7F\\x80",
         "a\x01\x02\x03\x04\x1F" + std::string("b") + '\0' + "c\x1C\x7F\x80", "4",
         "lock-in E, byte 0 carried, latch B from E"},
        {"BMAXICODE S4", "ORDER 123456789012345678 X 987654321",
         "ORDER 123456789012345678 X 987654321", "4", "numeric shifts"},
        {"BMAXICODE S5", "Enhanced error correction 42", "Enhanced error correction 42", "5",
         "mode 5"},
        {"BMAXICODE S6", "Reader programming", "Reader programming", "6", "mode 6"},
    };
    for (const Trip& t : trips) roundtrip(t);
}

TEST(MaxicodeDecode, LongestMessages) {
    // Capacities: 93 codewords after the mode (mode 4), 77 (mode 5), 84
    // after the primary message (modes 2, 3); nine digits take six codewords.
    std::string digits;
    for (int i = 0; i < 138; ++i) digits += static_cast<char>('0' + (i * 7) % 10);
    const std::vector<Trip> trips = {
        {"BMAXICODE S4", std::string(93, 'M'), std::string(93, 'M'), "4", "93 Set A characters"},
        {"BMAXICODE S4", digits, digits, "4", "138 digits: 15 numeric shifts and 3 digits"},
        {"BMAXICODE S5", std::string(77, 'M'), std::string(77, 'M'), "5", "77 characters"},
        {"BMAXICODE S5", digits.substr(0, 113), digits.substr(0, 113), "5", "113 digits"},
        {"BMAXICODE", "123456789,840,001," + std::string(84, 'M'),
         ctl("123456789|840|001|") + std::string(84, 'M'), "2", "84 characters"},
    };
    for (const Trip& t : trips) roundtrip(t);

    struct Over {
        std::string commands, data;
        const char* why;
    };
    const std::vector<Over> overs = {
        {"BMAXICODE S4", std::string(94, 'M'), "94 characters"},
        {"BMAXICODE S4", digits + "0", "139 characters"},
        {"BMAXICODE S5", std::string(78, 'M'), "78 characters"},
        {"BMAXICODE S5", digits.substr(0, 114), "114 digits"},
        {"BMAXICODE", "123456789,840,001," + std::string(85, 'M'), "85 characters"},
        {"BMAXICODE S6", std::string(200, 'M'), "longer than the secondary message"},
    };
    for (const Over& o : overs) {
        SCOPED_TRACE(o.why);
        RenderResult r = render_symbol(o.commands, o.data);
        EXPECT_EQ(r.status, KV_STROVFL);
        EXPECT_EQ(r.fields, 0) << "nothing queued";
    }
}

TEST(MaxicodeDecode, MalformedPrimaryFieldsAreIvbarc) {
    struct Bad {
        std::string commands, data;
        const char* why;
    };
    const std::vector<Bad> bad = {
        {"BMAXICODE S3", "1234567,840,001,x", "seven digits in mode 3"},
        {"BMAXICODE S2", "AB123,840,001,x", "letters in mode 2"},
        {"BMAXICODE", "AB1234C,840,001,x", "letter in seventh place"},
        {"BMAXICODE", "12 45,840,001,x", "space in the postal code"},
        {"BMAXICODE", "1234567890,840,001,x", "ten-digit postal code"},
        {"BMAXICODE", "12345,8400,001,x", "four-digit country"},
        {"BMAXICODE", "12345,840,x01,x", "letter in the class of service"},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.why);
        RenderResult r = render_symbol(b.commands, b.data);
        EXPECT_EQ(r.status, KV_IVBARC);
        EXPECT_EQ(r.fields, 1) << "IVBARC still queues the field";
        EXPECT_EQ(r.fieldwidth, 304);
        // No symbol was built: only the bullseye is printed.
        EXPECT_EQ(r.page.width, 92);
        EXPECT_EQ(r.page.height, 92);
        EXPECT_TRUE(decode_zxing(r.page, "MaxiCode", true).empty());
    }
}

TEST(MaxicodeDecode, BandsAndOrientations) {
    const std::string data = "[)>\\x1E01\\x1D96123456789\\x1D840\\x1D001\\x1DBANDS";
    const RenderResult whole = render_symbol("BMAXICODE OH", data);
    ASSERT_EQ(whole.status, KV_SUCCESS);
    ASSERT_EQ(decode_zxing(whole.page, "MaxiCode", true).size(), 1u);

    // Slices of 8 dot rows, as the dot-matrix drivers render, give the same
    // dots.
    const RenderResult banded = render_symbol("BMAXICODE OH", data, 8);
    EXPECT_EQ(banded.page.rows(), whole.page.rows());

    // Rotated fields are the upright symbol turned: extents swap at 90 and
    // 270 degrees.
    for (const char* o : {"OV", "OU", "OB"}) {
        SCOPED_TRACE(o);
        const RenderResult r = render_symbol(std::string("BMAXICODE ") + o, data, 8);
        ASSERT_EQ(r.status, KV_SUCCESS);
        const bool across = std::string(o) != "OU";
        EXPECT_EQ(r.fieldwidth, across ? 300 : 304);
        EXPECT_EQ(r.fielddepth, across ? 304 : 300);
        Bitmap turned = r.page;
        int turns = 0;
        while (turns < 4 && turned.rows() != whole.page.rows()) {
            turned = turned.rotated90();
            ++turns;
        }
        EXPECT_LT(turns, 4) << "no rotation gives the upright symbol";
        EXPECT_NE(turns, 0);
    }
}
