// Generated data from mixed alphabets, so that the look-ahead switches
// modes at arbitrary points and runs end in every state: each string is
// printed through the field engine and must read back as exactly its bytes.
// The bulk is read by zxing at one dot per module; every 20th string is
// also printed rotated, enlarged and in bands, and read by both readers.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/driver/jerr.hpp"
#include "tests/matrix/datamatrix_testutil.hpp"
#include "tests/support/render.hpp"

using dmtest::printable;

namespace {
// Alphabets that favour each mode, plus bytes no packed mode has a value
// for in the middle of its runs.
const std::string alphabets[] = {
    "0123456789",
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123",
    "abcdefghijklmnopqrstuvwxyz 0123",
    "ABC*>\r 012XYZ",
    "@[\\]^!\"#$%&'()*+,-./:;<=>?ABC",
    "!\"#$%&'`{|}~\x7f\x01\x1f\t\n",
    std::string("\x80\x81\xc1\xe1\xfe\xff\x00\xa0", 8),
};
constexpr int nalphabets = sizeof alphabets / sizeof alphabets[0];

std::string generate(std::mt19937& rng) {
    size_t length = rng() % 61;
    if (rng() % 10 == 0) length = rng() % 301;
    if (rng() % 50 == 0) length = rng() % 601;
    std::string s;
    int a = static_cast<int>(rng() % nalphabets);
    while (s.size() < length) {
        if (rng() % 6 == 0) a = static_cast<int>(rng() % nalphabets); // switch alphabet
        const std::string& alphabet = alphabets[a];
        s += alphabet[rng() % alphabet.size()];
    }
    return s;
}
} // namespace

TEST(DataMatrixProperty, GeneratedDataReadsBack) {
    std::mt19937 rng(20240611);
    const char* const orientations[4] = {"OH", "OV", "OU", "OB"};
    const char* const subsets[4] = {"SA", "S5", "S6", "SM"};
    const char* const versions[4] = {nullptr, "05", "06", nullptr};
    int failures = 0;
    for (int i = 0; i < 3000 && failures < 10; ++i) {
        const std::string data = generate(rng);
        const int subset = rng() % 8 == 0 ? static_cast<int>(rng() % 4) : 0;
        const std::string expected =
            versions[subset] ? dmtest::macro(data, versions[subset]) : data;
        const bool sample = i % 20 == 0;
        const int module = sample ? 1 + static_cast<int>(rng() % 3) : 1;
        const int band = sample ? (rng() % 2 ? 8 : 6) : 0;
        const std::string commands = std::string("BDATAMATRIX R") + std::to_string(module) + " " +
                                     (sample ? orientations[rng() % 4] : "OH") + " " +
                                     subsets[subset];
        const RenderResult r = render_symbol(commands, escape_data(data), band);
        if (r.status != KV_SUCCESS || r.fields != 1) {
            ADD_FAILURE() << commands << ": status " << r.status << " for " << printable(data);
            ++failures;
            continue;
        }
        // 144x144 is read by zxing-cpp only (see the field tests).
        const bool largest = r.fieldwidth == 144 * module;
        const std::string z = dmtest::read_zxing(r.page, module, !sample);
        if (z != expected) {
            ADD_FAILURE() << commands << " band " << band << ": zxing read " << printable(z)
                          << " for " << printable(expected);
            ++failures;
        }
        if (sample && !largest) {
            const std::string d = dmtest::read_dmtx(r.page, module);
            if (d != expected) {
                ADD_FAILURE() << commands << " band " << band << ": libdmtx read " << printable(d)
                              << " for " << printable(expected);
                ++failures;
            }
        }
    }
    EXPECT_EQ(failures, 0);
}
