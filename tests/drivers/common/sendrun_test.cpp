// A run of graphics bytes reaches the printer unchanged whichever way it goes:
// in one write through the byte layer, through a capturing output function,
// or byte by byte through a driver's own lprintc slot, which must still see
// every byte and stop at its first failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/driver/printops.hpp"
#include "core/driver/xbase.hpp"
#include "drivers/common/kit.hpp"
#include "tests/support/harness.hpp"

namespace {
// Every byte the wrapping slot is handed, and how many it accepts before it
// fails (-1: all of them).
std::string g_seen;
int g_failafter = -1;

kv_status wrapping_lprintc(kv_glor* s, int32_t c) {
    if (g_failafter >= 0 && static_cast<int>(g_seen.size()) >= g_failafter) return KV_SYSIO;
    g_seen.push_back(static_cast<char>(c));
    return kv_std_lprintc(s, c);
}

// NUL, 0xFF and the delimiters go on as data: a graphics run is never text.
const std::string kRun("\x00\xff|~\r\n\x1b*A", 9);

TEST(SendRun, EveryByteOnceAndTheFirstFailureStops) {
    struct Row {
        const char* name;
        bool wrapped;    // a driver slot in place of the standard one
        int failafter;   // bytes the slot accepts before failing (-1: all)
        std::string out; // expected printer bytes
        bool ok;
    };
    const Row rows[] = {
        {"standard slot", false, -1, kRun, true},
        {"wrapped slot sees every byte", true, -1, kRun, true},
        {"wrapped slot fails at the fourth byte", true, 3, kRun.substr(0, 3), false},
        {"wrapped slot fails at once", true, 0, "", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Harness h;
        g_seen.clear();
        g_failafter = r.failafter;
        if (r.wrapped)
            h->lprintc = wrapping_lprintc;
        else
            h->lprintc = kv_std_lprintc;
        const kv_status st =
            kv_sendrun(h.state.get(), reinterpret_cast<const uint8_t*>(kRun.data()), kRun.size());
        EXPECT_EQ(kv_ok(st), r.ok);
        EXPECT_EQ(h.output, r.out);
        if (r.wrapped) {
            EXPECT_EQ(g_seen, r.out);
        }
    }
}

// The one-write path: the standard slot and output function hand the run to
// the byte layer's stream whole.
TEST(SendRun, ThroughTheByteLayerInOneWrite) {
    char* buf = nullptr;
    size_t len = 0;
    std::FILE* out = open_memstream(&buf, &len);
    ASSERT_NE(out, nullptr);
    xbase_open(nullptr, out, nullptr);
    Harness h;
    h->lprintc = kv_std_lprintc;
    h->xoutfunc = kv_xoutfunc;
    h->xoutarg = h.state.get();
    EXPECT_TRUE(kv_ok(
        kv_sendrun(h.state.get(), reinterpret_cast<const uint8_t*>(kRun.data()), kRun.size())));
    xbase_flush();
    EXPECT_EQ(std::string(buf, len), kRun);
    xbase_open(nullptr, nullptr, nullptr);
    std::fclose(out);
    std::free(buf);
}
} // namespace
