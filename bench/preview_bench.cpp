// Pages per second of kevra_preview's work on the sample invoice, for each
// printer language it renders: the page rebuilt from the printer stream, the
// same with the picture composed and written as PNG, and the symbols read
// back; beside it, in the same run, the translator program printing the same
// pages, so the figures compare with the step before them.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "preview/languages.hpp"
#include "preview/png.hpp"
#include "preview/reader.hpp"

namespace {
using clock_type = std::chrono::steady_clock;
constexpr int kPages = 20;
constexpr int kRuns = 3;

template <class F> double best(F f) {
    double t = 1e9;
    for (int k = 0; k < kRuns; ++k) {
        const auto t0 = clock_type::now();
        f();
        t = std::min(t, std::chrono::duration<double>(clock_type::now() - t0).count());
    }
    return t;
}

// Runs the translator on `in`, its stream to `out`; seconds taken.
double translate(const std::string& program, const std::string& in, const std::string& out) {
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    char env0[] = "KEVRA_VERBOSE=Q";
    char* envp[] = {env0, nullptr};
    const auto t0 = clock_type::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &fa, nullptr, argv, envp) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&fa);
    return std::chrono::duration<double>(clock_type::now() - t0).count();
}

std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}
} // namespace

int main() {
    const std::string dir = "/tmp/kevra_preview_bench." + std::to_string(getpid());
    mkdir(dir.c_str(), 0700);
    const std::string job = dir + "/job.txt";
    {
        const std::string invoice = slurp(KEVRA_SOURCE_DIR "/examples/invoice.txt");
        std::ofstream f(job, std::ios::binary);
        for (int k = 0; k < kPages; ++k) f << invoice; // each ends with a form feed
    }
    std::printf("%d invoices, one a page; pages per second (best of %d runs)\n\n", kPages, kRuns);
    std::printf("%-8s %12s %12s %14s %12s\n", "printer", "translate", "rebuild", "rebuild+PNG",
                "read");
    for (const PrinterLanguage& l : printer_languages()) {
        const std::string name(l.name);
        const std::string prn = dir + "/" + name + ".prn";
        const double tr = best([&] { translate(KEVRA_BINARY_DIR "/kevra_" + name, job, prn); });
        const std::string bytes = slurp(prn);
        int pages = 0;
        const double rebuild = best([&] {
            pages = 0;
            l.render(bytes, [&](Sheet&&) { ++pages; });
        });
        const double png = best([&] {
            l.render(bytes, [&](Sheet&& s) { write_png(dir + "/page.png", compose(s), s.dpi); });
        });
        // Reading is slow beside the rest: one page, timed once.
        Sheet first;
        bool have = false;
        l.render(bytes, [&](Sheet&& s) {
            if (!have) first = std::move(s);
            have = true;
        });
        const Bitmap page = compose(first);
        const auto t0 = clock_type::now();
        const std::vector<FoundSymbol> found = read_symbols(first.ink, page, first.dpi);
        const double read = std::chrono::duration<double>(clock_type::now() - t0).count();
        const auto decoded = std::count_if(found.begin(), found.end(),
                                           [](const FoundSymbol& f) { return f.decoded; });
        std::printf("%-8s %12.1f %12.1f %14.1f %12.2f   (%d pages, %td of %zu symbols read on "
                    "page 1)\n",
                    name.c_str(), kPages / tr, pages / rebuild, pages / png, 1 / read, pages,
                    decoded, found.size());
    }
    std::remove((dir + "/page.png").c_str());
    std::remove(job.c_str());
    for (const PrinterLanguage& l : printer_languages())
        std::remove((dir + "/" + std::string(l.name) + ".prn").c_str());
    rmdir(dir.c_str());
    return 0;
}
