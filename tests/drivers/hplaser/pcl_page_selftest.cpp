// The PCL page rebuilder on hand-written printer streams, so that the pages
// the driver tests rebuild rest on a model checked against the language.
#include <gtest/gtest.h>

#include <string>

#include "preview/pcl_page.hpp"

TEST(PclPage, TextMovesTheCursor) {
    const PclJob job = rebuild_pcl("AB\r\nC\tD\bE");
    EXPECT_TRUE(job.problems.empty());
    ASSERT_EQ(job.sheets.size(), 1u);
    const PclSheet& s = job.sheets[0];
    struct Want {
        int col, line;
        char c;
    };
    for (Want w :
         {Want{0, 0, 'A'}, Want{1, 0, 'B'}, Want{0, 1, 'C'}, Want{8, 1, 'D'}, Want{8, 1, 'E'}}) {
        SCOPED_TRACE(w.c);
        const PclChar* c = nullptr;
        for (const PclChar& k : s.chars)
            if (k.c == w.c) c = &k;
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->x, pcl_column(w.col));
        EXPECT_EQ(c->y, pcl_baseline(w.line));
    }
    // 10 characters and 6 lines per inch at 300 dots per inch.
    EXPECT_EQ(pcl_column(10) - pcl_column(0), 300);
    EXPECT_EQ(pcl_baseline(6) - pcl_baseline(0), 300);
}

TEST(PclPage, GraphicsLandAtTheCursor) {
    struct Case {
        const char* name;
        std::string pcl;
        Bitmap::Box ink;
    };
    const int b0 = pcl_baseline(0);
    const Case cases[] = {
        {"raster at 75 dpi: 4 x 4 dots per raster dot",
         "AB\x1b*t75R\x1b*r1A\x1b*b1W\x80\x1b*rB",
         {60, b0, 4, 4}},
        {"raster at 300 dpi, two rows",
         "AB\x1b*t300R\x1b*r1A\x1b*b1W\x01\x1b*b1W\x01\x1b*rB",
         {67, b0, 1, 2}},
        {"raster from the left margin", "AB\x1b*t150R\x1b*r0A\x1b*b1W\x80\x1b*rB", {0, b0, 2, 2}},
        {"relative move in dots, then a rectangle",
         "\x1b*p+10x-5Y\x1b*c20a30b0P",
         {10, b0 - 5, 20, 30}},
        {"sizes in decipoints", "\x1b&a720H\x1b*c72h144v0P", {300, b0, 30, 60}},
        {"absolute dots", "\x1b*p100x50Y\x1b*c1a1b0P", {100, 150 + 50, 1, 1}},
        {"push and pop restore the cursor",
         "\x1b&f0S\x1b*p+300X\x1b&f1S\x1b*c2a2b0P",
         {0, b0, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PclJob job = rebuild_pcl(c.pcl);
        EXPECT_TRUE(job.problems.empty());
        ASSERT_EQ(job.sheets.size(), 1u);
        const Bitmap::Box b = job.sheets[0].ink.ink();
        EXPECT_EQ(b.x, c.ink.x);
        EXPECT_EQ(b.y, c.ink.y);
        EXPECT_EQ(b.w, c.ink.w);
        EXPECT_EQ(b.h, c.ink.h);
    }
}

TEST(PclPage, PagesAndProblems) {
    EXPECT_EQ(rebuild_pcl("A\fB").sheets.size(), 2u);
    EXPECT_EQ(rebuild_pcl("A\033EB").sheets.size(),
              2u);                                      // reset prints the page
    EXPECT_EQ(rebuild_pcl("\033EA").sheets.size(), 1u); // an empty page stays
    EXPECT_EQ(rebuild_pcl("\033E").sheets.size(), 0u);
    const PclJob bad = rebuild_pcl("\x1b*b2W\x80");
    ASSERT_EQ(bad.problems.size(), 2u);
    EXPECT_EQ(bad.problems[0], "raster row outside raster graphics");
    EXPECT_EQ(bad.problems[1], "raster row cut short");
    EXPECT_EQ(rebuild_pcl("\x1b&f1S").problems.size(), 1u);
    EXPECT_EQ(rebuild_pcl("A\x1b").problems.size(), 1u);
}
