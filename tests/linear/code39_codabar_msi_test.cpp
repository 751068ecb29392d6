#include <gtest/gtest.h>

#include "core/driver/jerr.hpp"
#include "tests/support/decode.hpp"
#include "tests/support/render.hpp"

TEST(Code39, SmokeDecodes) {
    RenderResult r = render_symbol("BCODE39 H60", "HELLO123");
    ASSERT_EQ(r.status, KV_SUCCESS);
    auto d = decode_zxing(r.page, "Code39");
    ASSERT_EQ(d.size(), 1u) << r.page.rows();
    EXPECT_EQ(d[0].text, "HELLO123");
    auto z = decode_zbar(r.page);
    ASSERT_EQ(z.size(), 1u);
    EXPECT_EQ(z[0].text, "HELLO123");
}
