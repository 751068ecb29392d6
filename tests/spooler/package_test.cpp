// The Debian package made by cpack: its file list and fields, and its
// programs and filter run from where `dpkg -x` unpacked them.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/spooler/spooler_support.hpp"

namespace {

// The regular files a package of this build must hold, and no others.
std::set<std::string> expected_files() {
    std::set<std::string> files = {
        "./usr/lib/cups/filter/texttokevra",
        "./usr/share/man/man1/kevra.1",
        "./usr/share/man/man8/texttokevra.8",
        "./usr/share/doc/kevra/examples/kevra-interface",
    };
    for (const std::string& w : packaged_printers()) {
        files.insert("./usr/bin/kevra_" + w);
        files.insert("./usr/share/ppd/kevra/kevra-" + w + ".ppd");
        files.insert("./usr/share/man/man1/kevra_" + w + ".1");
    }
    return files;
}

// Regular files of `dpkg-deb -c` output (permissions first, path last).
std::set<std::string> regular_files(const std::string& listing) {
    std::set<std::string> files;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with("-")) files.insert(line.substr(line.rfind(' ') + 1));
    return files;
}

} // namespace

TEST(Package, DebianPackageInstallsAndRuns) {
#ifdef KEVRA_SPOOLER_SANITIZED
    GTEST_SKIP() << "the package is checked in the plain build only";
#endif
    if (shell("command -v dpkg-deb && command -v dpkg-shlibdeps").exitcode != 0)
        GTEST_SKIP() << "dpkg-dev is not installed";
    TempDir dir;
    const std::string d = sh_quote(dir.path());
    const ProcessResult cpack =
        shell(std::string(KEVRA_CPACK) + " --config " KEVRA_BUILD_ROOT "/CPackConfig.cmake" +
              " -G DEB -B " + d + " </dev/null >" + d + "/cpack.log 2>&1 && ls " + d + "/*.deb");
    ASSERT_EQ(cpack.exitcode, 0) << read_file(dir.path() + "/cpack.log");
    const std::string deb = cpack.out.substr(0, cpack.out.find('\n'));

    const ProcessResult list = shell("dpkg-deb -c " + sh_quote(deb));
    ASSERT_EQ(list.exitcode, 0);
    EXPECT_EQ(regular_files(list.out), expected_files()) << list.out;

    const ProcessResult fields =
        shell("dpkg-deb -f " + sh_quote(deb) + " Package Version Architecture Depends Suggests");
    SCOPED_TRACE(fields.out);
    EXPECT_NE(fields.out.find("Package: kevra\n"), std::string::npos);
    EXPECT_NE(fields.out.find("Version: 7.1.0\n"), std::string::npos);
    for (const char* dep : {"libc6", "libstdc++6", "libgcc-s1"})
        EXPECT_NE(fields.out.find(dep), std::string::npos) << dep;
    EXPECT_NE(fields.out.find("Suggests: cups-daemon"), std::string::npos);

    const std::string root = dir.path() + "/root";
    ASSERT_EQ(shell("dpkg -x " + sh_quote(deb) + " " + sh_quote(root)).exitcode, 0);
    const std::string job = read_file(invoice_path());
    for (const std::string& w : packaged_printers()) {
        SCOPED_TRACE(w);
        const ProcessResult r = run_process(root + "/usr/bin/kevra_" + w, job);
        EXPECT_EQ(r.exitcode, 1);
        EXPECT_NE(r.err.find("Translation completed."), std::string::npos);
        if (w == "epsonlq") {
            EXPECT_EQ(symbols_on_escp24(r.out), invoice_symbols());
        } else if (w == "hplaser") {
            EXPECT_EQ(symbols_on_pcl(r.out), invoice_symbols());
        }
    }

    // CUPS's own PPD checker passes each packaged PPD, and finds its filter
    // where the package put it.
    for (const std::string& w : packaged_printers()) {
        const ProcessResult check =
            shell("cupstestppd -R " + sh_quote(root) + " " +
                  sh_quote(root + "/usr/share/ppd/kevra/kevra-" + w + ".ppd") + " </dev/null");
        EXPECT_EQ(check.exitcode, 0) << check.out;
    }

    // The unpacked filter finds the unpacked program by its own location.
    const ProcessResult filtered =
        shell(sh_quote(root + "/usr/lib/cups/filter/texttokevra") + " 1 u t 1 '' " +
                  sh_quote(invoice_path()) + " </dev/null",
              {{"PPD", root + "/usr/share/ppd/kevra/kevra-hplaser.ppd"}});
    EXPECT_EQ(filtered.exitcode, 0) << filtered.err;
    EXPECT_EQ(symbols_on_pcl(filtered.out), invoice_symbols());

    // Each program's manual page leads to the shared one.
    const ProcessResult man = shell("man --warnings -M " + sh_quote(root + "/usr/share/man") +
                                        " kevra_hplaser </dev/null",
                                    {{"MANWIDTH", "80"}, {"LC_ALL", "C.UTF-8"}});
    EXPECT_EQ(man.exitcode, 0) << man.err;
    EXPECT_NE(man.out.find("KEVRA_RESET_Z"), std::string::npos);
}
