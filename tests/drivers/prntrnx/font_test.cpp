// The Printronix driver's own plot font: storage layout, distinct legible
// glyphs, and the font sheet in docs/ printed by the real driver and rebuilt
// from its bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "drivers/prntrnx/prntrnx.hpp"
#include "drivers/prntrnx/prntrnx_tables.hpp"
#include "preview/png.hpp"
#include "tests/support/harness.hpp"
#include "preview/prntrnx_page.hpp"

namespace {
// The glyph on the half-dot grid: 13 half dots a row, '#' where ink falls.
std::string shape(int c) {
    std::string s;
    const uint8_t* g = kv_mvp_glyph(c);
    for (int r = 0; r < KV_MVPFONT_ROWS; ++r) {
        std::string row(13, '.');
        for (int b = 0; b < 6; ++b) {
            if (g[2 * r] & (1 << b)) row[2 * b] = row[2 * b + 1] = '#';
            if (g[2 * r + 1] & (1 << b)) row[2 * b + 1] = row[2 * b + 2] = '#';
        }
        s += row;
    }
    return s;
}

bool inkinrows(int c, int first, int last) {
    const uint8_t* g = kv_mvp_glyph(c);
    for (int r = first; r <= last; ++r)
        if (g[2 * r] != 0 || g[2 * r + 1] != 0) return true;
    return false;
}

constexpr kv_prnslots kSlots = kv_mvp_slots;
} // namespace

TEST(PrntrnxFont, StorageFormat) {
    EXPECT_EQ(kv_mvpfont_map.size(), 96u * 18u);
    // The capital A and the underscore as the printer's plot font has them.
    const uint8_t a[18] = {0x04, 0x00, 0x00, 0x06, 0x0A, 0x00, 0x00, 0x09, 0x1F,
                           0x00, 0x11, 0x00, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00};
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(kv_mvp_glyph('A')[i], a[i]) << i;
        EXPECT_EQ(kv_mvp_glyph('_')[i], i == 16 ? 0x3F : 0) << i;
    }
    // Codes outside 32 .. 127 print as a space.
    EXPECT_EQ(kv_mvp_glyph(31), kv_mvp_glyph(' '));
    EXPECT_EQ(kv_mvp_glyph(200), kv_mvp_glyph(' '));
    for (int c = 32; c < 128; ++c) {
        SCOPED_TRACE(c);
        for (int i = 0; i < 18; ++i) {
            const uint8_t b = kv_mvp_glyph(c)[i];
            EXPECT_EQ(b & 0xC0, 0) << "six dots a byte";
            // The sixth column (and the even dot that would reach into the
            // next cell) is the gap between characters; only "_" joins.
            if (c != '_') {
                EXPECT_EQ(b & 0x20, 0);
            }
        }
    }
}

TEST(PrntrnxFont, GlyphsAreDistinctAndSitOnTheirLines) {
    std::set<std::string> shapes;
    int halfdots = 0;
    for (int c = 32; c < 128; ++c) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c)));
        EXPECT_TRUE(shapes.insert(shape(c)).second) << "looks like another glyph";
        for (int r = 0; r < 9; ++r) halfdots += kv_mvp_glyph(c)[2 * r + 1] != 0;
    }
    EXPECT_GE(halfdots, 50) << "the even plane rounds the diagonals";
    const std::string descending = "gjpqy,;_";
    for (int c = 33; c < 127; ++c) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c)));
        EXPECT_EQ(inkinrows(c, 7, 8), descending.find(static_cast<char>(c)) != std::string::npos);
    }
    const std::string tall = "bdfhijklt";
    for (int c = 'a'; c <= 'z'; ++c) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c)));
        EXPECT_EQ(inkinrows(c, 0, 1), tall.find(static_cast<char>(c)) != std::string::npos);
        EXPECT_TRUE(inkinrows(c, 2, 2)) << "x-height of five rows";
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        SCOPED_TRACE(std::string(1, static_cast<char>(c)));
        EXPECT_TRUE(inkinrows(c, 0, 0) && inkinrows(c, 6, 6)) << "capitals fill rows 0 to 6";
    }
}

// Writes docs/prntrnx-font-sheet.png when KEVRA_WRITE_DOCS names a directory
// (scripts/docs.sh): the whole font, sixteen characters a line, printed by the
// driver on lines that a field keeps in graphics (the field itself starts
// past the last cell, so it draws nothing) and rebuilt from the printer bytes,
// each dot row five pixels tall and each half dot three pixels wide.
TEST(PrntrnxFontDocs, FontSheet) {
    std::string job = "|BCODE39 H120|" + std::string(21, '\t') + "~A~\r";
    for (int first = 32; first < 128; first += 16) {
        std::string line = "  ";
        for (int c = first; c < first + 16; ++c) {
            line += static_cast<char>(c);
            if (c == '|' || c == '~') line += static_cast<char>(c); // a delimiter, doubled
        }
        job += line + "\n";
    }
    Harness h(kSlots);
    const std::string out = h.run(job + "\n\n\n\n", true);
    const PlotterPage page = rebuild_plotter(out);
    EXPECT_TRUE(page.problems.empty());
    EXPECT_TRUE(page.chars.empty()) << "every line drawn as dots";
    const Bitmap::Box ink = page.page.ink();
    EXPECT_EQ(ink.x, 24) << "two cells in";
    EXPECT_EQ(ink.h, 5 * 12 + 9);
    const Bitmap sheet = page.page.crop(ink.x, ink.y, ink.w, ink.h).framed(8).scaled(3, 5);
    const char* dir = std::getenv("KEVRA_WRITE_DOCS");
    if (dir == nullptr || *dir == '\0') return;
    EXPECT_TRUE(write_png(std::string(dir) + "/prntrnx-font-sheet.png", sheet));
}
