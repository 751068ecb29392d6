// Taking a run of plain bytes from the byte layer's read-ahead: the run stops
// at the first byte the driver does not call plain and at the first byte of
// either delimiter, wherever it falls in the bytes read ahead, and never runs
// past them.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include "core/driver/printops.hpp"
#include "core/driver/qstrops.hpp"
#include "core/driver/xbase.hpp"
#include "tests/support/harness.hpp"

namespace {
// Letters and digits plain; 2 marks digits to show any nonzero value counts.
constexpr std::array<uint8_t, 256> kPlain = [] {
    std::array<uint8_t, 256> t{};
    for (int c = 'a'; c <= 'z'; ++c) t[static_cast<size_t>(c)] = 1;
    for (int c = '0'; c <= '9'; ++c) t[static_cast<size_t>(c)] = 2;
    t['|'] = t['~'] = t['#'] = 1; // plain to the driver, but delimiters may claim them
    return t;
}();

// Printable ASCII and the upper half but for 0x80..0x9F: the shape of the
// drivers' tables, which lets the scan test eight bytes a word.
constexpr std::array<uint8_t, 256> kText = [] {
    std::array<uint8_t, 256> t{};
    for (int c = ' '; c <= '~'; ++c) t[static_cast<size_t>(c)] = 1;
    for (int c = 0xA0; c <= 0xFF; ++c) t[static_cast<size_t>(c)] = 1;
    return t;
}();

// The byte layer reading `in`, its first byte handed out, for one state.
struct Reader {
    std::string copy;
    std::FILE* f;
    Harness h;
    explicit Reader(const std::string& in) : copy(in) {
        f = fmemopen(copy.data(), copy.size(), "r");
        xbase_open(f, nullptr, nullptr);
        xbase_getctoxlate();
        h->xinfunc = kv_xinfunc;
        h->restart = 0; // as in the middle of a pass
    }
    ~Reader() {
        std::fclose(f);
        xbase_open(nullptr, nullptr, nullptr);
    }
    std::string take(const uint8_t* plain) {
        const uint8_t* run = nullptr;
        const size_t n = kv_ptakeplain(h.state.get(), plain, &run);
        return n == 0 ? "" : std::string(reinterpret_cast<const char*>(run), n);
    }
};

// The run taken after the byte layer has handed out the first byte of `in`.
std::string takerun(const std::string& in, const char* cmd, const char* data,
                    const uint8_t* plain = kPlain.data()) {
    Reader r(in);
    qstr_cpy(r.h->cmddlm, cmd);
    qstr_cpy(r.h->datadlm, data);
    return r.take(plain);
}

TEST(PlainRun, StopsAtTheFirstByteThatIsNotPlain) {
    struct Row {
        const char* name;
        std::string in; // the first byte is handed out before the run
        const char* cmd;
        const char* data;
        std::string run; // expected: the plain bytes after the first, up to the stop
    };
    const Row rows[] = {
        {"all plain, 9 bytes", "xabcdefgh1", "|", "~", "abcdefgh1"},
        {"all plain, 3 bytes", "xab9", "|", "~", "ab9"},
        {"nothing after the first", "x", "|", "~", ""},
        {"not plain at once", "x abc", "|", "~", ""},
        {"not plain 1st of a four", "xabcd efgh", "|", "~", "abcd"},
        {"not plain 2nd of a four", "xabcde fgh", "|", "~", "abcde"},
        {"not plain 3rd of a four", "xabcdef gh", "|", "~", "abcdef"},
        {"not plain 4th of a four", "xabcdefg h", "|", "~", "abcdefg"},
        {"command delimiter", "xab|H50|", "|", "~", "ab"},
        {"data delimiter in a four", "xabcdef~12~", "|", "~", "abcdef"},
        {"other delimiters free | and ~", "xa|b~c#d", "#", "%", "a|b~c"},
        {"a two-byte delimiter stops at its first", "xab|~cd", "|~", "~~", "ab"},
        {"upper case is not plain here", "x12345678Z", "|", "~", "12345678"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(takerun(r.in, r.cmd, r.data), r.run);
    }
}

// Text taken eight bytes a word stops exactly where the table does, wherever
// the stop falls in a word: the delimiters' first bytes above 'z' (left out
// of the word test's range), others (compared in it), bytes outside printable
// ASCII that the table refuses, and none at bytes the word test flags but the
// table takes ('}' below '~', 0xE9).
TEST(PlainRun, WordsStopWhereTheTableDoes) {
    const std::string pool = "The {quick} brown fox \xe9 jumps; ~0123| `z^# %";
    for (const auto& [cmd, data] :
         {std::pair{"|", "~"}, std::pair{"#", "%"}, std::pair{"}", "{"}, std::pair{"`", "^"}}) {
        std::string filler;
        for (int i = 0; filler.size() < 48; ++i) {
            const char c = pool[static_cast<size_t>(i) % pool.size()];
            if (c != cmd[0] && c != data[0]) filler.push_back(c);
        }
        for (const char stop : {'\n', '\x7f', '\x1b', '\x85', cmd[0], data[0]}) {
            for (size_t k = 0; k <= 40; ++k) {
                SCOPED_TRACE(std::string("delimiters ") + cmd + " " + data + ", stop byte " +
                             std::to_string(static_cast<uint8_t>(stop)) + " after " +
                             std::to_string(k));
                const std::string run = filler.substr(0, k);
                EXPECT_EQ(takerun("x" + run + stop + filler, cmd, data, kText.data()), run);
            }
        }
        SCOPED_TRACE(std::string("delimiters ") + cmd + " " + data + ", no stop");
        EXPECT_EQ(takerun("x" + filler, cmd, data, kText.data()), filler);
    }
}

// The scan table is kept between runs: a new delimiter or another driver
// table must still be honoured by the next run.
TEST(PlainRun, NewDelimitersAndTablesTakeEffect) {
    Reader r("xab#cd|efgh|ij#KL01");
    qstr_cpy(r.h->cmddlm, "|");
    qstr_cpy(r.h->datadlm, "~");
    EXPECT_EQ(r.take(kText.data()), "ab#cd");
    xbase_skiprun(1);
    qstr_cpy(r.h->cmddlm, "#"); // the | just stopped at is plain now
    EXPECT_EQ(r.take(kText.data()), "efgh|ij");
    xbase_skiprun(1);
    EXPECT_EQ(r.take(kPlain.data()), ""); // upper case is not plain there
    EXPECT_EQ(r.take(kText.data()), "KL01");
}
} // namespace
