// Pass-through speed of every built program on plain text beside a bare loop
// that only turns LF into CR LF (getc/putc, unlocked) and beside cat, all on
// the same generated file in the same run; and a job with one Code 39 per line.
// Prints a table of MB/s (or lines/s) and the ratios.
//
//   passthrough_bench [runs]     best of `runs` timings of each (default 5)
#include <cstdio>
#include <string>

#include "procbench.hpp"

namespace {
using namespace procbench;

std::string makefile(const std::string& path, int lines, bool barcodes) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    for (int i = 0; i < lines; ++i) {
        if (barcodes)
            std::fprintf(f, "Item %06d  |H20|~%06d~  qty 1  price 9.99\n", i, i);
        else
            std::fprintf(f, "%06d The quick brown fox jumps over the lazy dog; 0123456789 .,;:!?\n",
                         i);
    }
    std::fclose(f);
    return path;
}

// The reference: the least a filter must do, read and write every byte,
// turning LF into CR LF.
double runloop(const std::string& in) {
    const double t0 = cputime();
    std::FILE* i = std::fopen(in.c_str(), "r");
    std::FILE* o = std::fopen("/dev/null", "w");
    int c;
    while ((c = getc_unlocked(i)) != EOF) {
        if (c == '\n') putc_unlocked('\r', o);
        putc_unlocked(c, o);
    }
    std::fclose(i);
    std::fclose(o);
    return cputime() - t0;
}
} // namespace

int main(int argc, char** argv) {
    const int runs = parseruns(argc, argv, 5);
    if (runs == 0) return 2;
    const std::string text = makefile("/tmp/kevra_bench_text.txt", 400000, false);
    const std::string codes = makefile("/tmp/kevra_bench_codes.txt", 20000, true);
    const double mb = static_cast<double>(filesize(text)) / 1e6;

    printload();
    const double tloop = best(runs, [&] { return runloop(text); });
    const double tcat = best(runs, [&] { return runprogram("cat", text); });
    std::printf("plain text, %.1f MB, best of %d runs, CPU time\n", mb, runs);
    std::printf("  %-30s %8.1f MB/s   %5.2f x the loop\n", "cat", mb / tcat, tloop / tcat);
    std::printf("  %-30s %8.1f MB/s   %5.2f x the loop\n", "getc/putc loop, LF -> CR LF",
                mb / tloop, 1.0);
    for (const char* name : kPrograms) {
        const std::string prog = program(name);
        if (!built(prog)) {
            std::printf("  %-30s not built\n", name);
            continue;
        }
        const double t = best(runs, [&] { return runprogram(prog.c_str(), text); });
        if (t < 0)
            std::printf("  %-30s failed\n", name);
        else
            std::printf("  %-30s %8.1f MB/s   %5.2f x the loop\n", name, mb / t, tloop / t);
    }
    std::printf("one Code 39 per line, 20000 lines\n");
    for (const char* name : kPrograms) {
        const std::string prog = program(name);
        if (!built(prog)) continue;
        const double t = best(runs, [&] { return runprogram(prog.c_str(), codes); });
        if (t < 0)
            std::printf("  %-30s failed\n", name);
        else
            std::printf("  %-30s %8.0f lines/s\n", name, 20000 / t);
    }
    std::remove(text.c_str());
    std::remove(codes.c_str());
    return 0;
}
