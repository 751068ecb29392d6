// Taking a run of plain bytes from the byte layer's read-ahead: the run stops
// at the first byte the driver does not call plain and at the first byte of
// either delimiter, wherever it falls in the bytes read ahead, and never runs
// past them.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

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

// The run taken after the byte layer has handed out the first byte of `in`.
std::string takerun(const std::string& in, const char* cmd, const char* data) {
    std::string copy = in;
    std::FILE* f = fmemopen(copy.data(), copy.size(), "r");
    xbase_open(f, nullptr, nullptr);
    xbase_getctoxlate();
    Harness h;
    h->xinfunc = kv_xinfunc;
    h->restart = 0; // as in the middle of a pass
    qstr_cpy(h->cmddlm, cmd);
    qstr_cpy(h->datadlm, data);
    const uint8_t* run = nullptr;
    const size_t n = kv_ptakeplain(h.state.get(), kPlain.data(), &run);
    std::string got = n == 0 ? "" : std::string(reinterpret_cast<const char*>(run), n);
    std::fclose(f);
    xbase_open(nullptr, nullptr, nullptr);
    return got;
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
} // namespace
