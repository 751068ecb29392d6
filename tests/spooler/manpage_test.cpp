// The manual pages render without a single warning from groff or man.
#include <gtest/gtest.h>

#include "tests/spooler/spooler_support.hpp"

TEST(ManPages, RenderWithoutWarnings) {
    for (const char* page : {"man/kevra.1", "man/kevra_preview.1", "man/texttokevra.8"}) {
        SCOPED_TRACE(page);
        const std::string path = sh_quote(std::string(KEVRA_SOURCE_DIR) + "/" + page);
        if (shell("command -v groff && command -v man").exitcode != 0)
            GTEST_SKIP() << "groff-base and man-db are not installed";
        const ProcessResult groff = shell("groff -t -ww -man -Tutf8 -z " + path + " </dev/null");
        EXPECT_EQ(groff.exitcode, 0);
        EXPECT_EQ(groff.err, "");
        const ProcessResult man = shell("man --warnings -l " + path + " </dev/null",
                                        {{"MANWIDTH", "80"}, {"LC_ALL", "C.UTF-8"}});
        EXPECT_EQ(man.exitcode, 0);
        EXPECT_EQ(man.err, "");
        EXPECT_GT(man.out.size(), 2000u);
    }
}
