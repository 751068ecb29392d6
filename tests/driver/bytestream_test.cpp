// Byte streams: the byte layer's LF -> CR LF and line count, the push-back
// stack, decimal output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/driver/cfifo.hpp"
#include "core/driver/printops.hpp"
#include "core/driver/xbase.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/recorder.hpp"

namespace {
// Reads everything the byte layer delivers for `input`.
std::string deliver(const std::string& input, int* lines) {
    std::string copy = input;
    std::FILE* in = fmemopen(copy.data(), copy.size(), "r");
    xbase_open(in, nullptr, nullptr);
    std::string got;
    for (;;) {
        int c = xbase_getctoxlate();
        if (xbase_breakall()) break;
        got.push_back(static_cast<char>(c));
    }
    *lines = xbase_record()->lineno;
    std::fclose(in);
    return got;
}
// Reads `input` with a text read ('t', LF as CR LF) or a raw read ('r', as
// it stands) for each letter of `reads`, until the layer stops.
std::string mixed(const std::string& input, const std::string& reads, int* lines) {
    std::string copy = input;
    std::FILE* in = fmemopen(copy.data(), copy.size(), "r");
    xbase_open(in, nullptr, nullptr);
    std::string got;
    for (char r : reads) {
        const int c = r == 'r' ? xbase_getraw() : xbase_getctoxlate();
        if (xbase_breakall()) break;
        got.push_back(static_cast<char>(c));
    }
    *lines = xbase_record()->lineno;
    std::fclose(in);
    return got;
}
} // namespace

TEST(ByteLayer, RawReadsTakeTheInputAsItStands) {
    struct Case {
        const char* name;
        std::string input;
        std::string reads;
        std::string got;
        int lines; // every LF taken counts once, however it was read
    };
    const Case cases[] = {
        {"text only: LF as CR LF", "a\nb", "tttt", "a\r\nb", 2},
        {"a raw LF gains no CR", "a\nb", "trt", "a\nb", 2},
        {"every byte raw", "x\n|\n", "rrrr", "x\n|\n", 3},
        {"raw after the CR of a text LF: that LF, once", "\n\n", "trtt", "\r\n\r\n", 3},
        {"a CR of the input stays", "\r\n", "rtt", "\r\r\n", 2},
        {"raw at the end of the input stops", "z", "rrr", "z", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int lines = 0;
        EXPECT_EQ(mixed(c.input, c.reads, &lines), c.got);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(Translator, RawReadsTakePushedBackBytesFirst) {
    Harness h;
    h.run(""); // initialise
    std::string input = "\nq";
    std::FILE* in = fmemopen(input.data(), input.size(), "r");
    xbase_open(in, nullptr, nullptr);
    kv_glor* s = h.state.get();
    s->xinfunc = kv_xinfunc;
    s->xinarg = s;
    s->stop = 0;
    kv_pungetc(s, '\n');
    kv_pungetc(s, 'y');
    EXPECT_EQ(s->lineno, 0);
    std::string got;
    for (int i = 0; i < 4; ++i) {
        int32_t c = 0;
        if (i == 3)
            kv_pgetc(s, &c);
        else
            kv_prawgetc(s, &c);
        got.push_back(static_cast<char>(c));
    }
    // y and LF from the stack, then the input's LF raw (no CR), then text.
    EXPECT_EQ(got, "y\n\nq");
    EXPECT_EQ(s->lineno, 2);
    std::fclose(in);
}

TEST(ByteLayer, LineFeedArrivesAsCrLfAndLinesAreCounted) {
    int lines = 0;
    EXPECT_EQ(deliver("AB\n", &lines), "AB\r\n");
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(deliver("\r\n", &lines), "\r\r\n");
    EXPECT_EQ(deliver("x", &lines), "x");
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(deliver(std::string("\0\xff\n\n", 4), &lines), std::string("\0\xff\r\n\r\n", 6));
    EXPECT_EQ(lines, 3);
}

TEST(ByteLayer, FifoIsARingOf2048) {
    cfifo f;
    cfifo_open(&f);
    EXPECT_EQ(cfifo_getc(&f), 0);
    for (int i = 0; i < 2050; ++i) cfifo_putc(&f, i & 0xFF);
    EXPECT_EQ(f.count, 2048); // the two extra bytes were dropped
    for (int i = 0; i < 2000; ++i) EXPECT_EQ(cfifo_getc(&f), i & 0xFF);
    for (int i = 0; i < 100; ++i) cfifo_putc(&f, 0xA5);
    EXPECT_EQ(f.count, 148);
    for (int i = 2000; i < 2048; ++i) EXPECT_EQ(cfifo_getc(&f), i & 0xFF);
    EXPECT_EQ(cfifo_getc(&f), 0xA5);
}

TEST(Translator, PushBackIsLastInFirstOutAndKeepsTheLineCount) {
    Harness h;
    h.run(""); // initialise
    h.input = "q";
    h.inpos = 0;
    h->stop = 0;
    kv_glor* s = h.state.get();
    int32_t c = 0;
    kv_pungetc(s, 'x');
    kv_pungetc(s, 'y');
    kv_pungetc(s, '\n');
    EXPECT_EQ(s->lineno, 0);
    kv_pgetc(s, &c);
    EXPECT_EQ(c, '\n');
    EXPECT_EQ(s->lineno, 1);
    kv_pgetc(s, &c);
    EXPECT_EQ(c, 'y');
    kv_pgetc(s, &c);
    EXPECT_EQ(c, 'x');
    kv_pgetc(s, &c);
    EXPECT_EQ(c, 'q');
    for (int i = 0; i < 40; ++i) kv_pungetc(s, 'a' + (i % 26));
    EXPECT_EQ(s->ungetcount, 32); // the 33rd and later are dropped
    s->ungetcount = 0;
    kv_pgetc(s, &c); // end of input: 0, and the translator stops
    EXPECT_EQ(c, 0);
    EXPECT_NE(kv_breakall(s), 0);
    kv_pungetc(s, 'z'); // nothing is pushed back once stopped
    EXPECT_EQ(s->ungetcount, 0);
}

TEST(Translator, PrintintSendsPlainDecimalDigits) {
    Harness h;
    h.run("");
    struct Case {
        int32_t n;
        const char* digits;
    };
    for (const Case& c : {Case{0, "0"}, Case{1200, "1200"}, Case{7, "7"}, Case{65535, "65535"}}) {
        h.output.clear();
        kv_lprintint(h.state.get(), c.n);
        EXPECT_EQ(h.output, c.digits);
    }
    h.output.clear();
    kv_lprintqstr(h.state.get(), "\x1b*p");
    EXPECT_EQ(h.output, "\x1b*p");
}
