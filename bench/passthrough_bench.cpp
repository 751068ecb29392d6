// Pass-through speed of kevra_epsonlq on plain text beside a bare loop that
// only turns LF into CR LF (getc/putc, unlocked) and beside cat, all on the
// same generated file in the same run; and a job with one Code 39 per line.
// Prints a table of MB/s (or lines/s) and the ratios.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {
using clock_type = std::chrono::steady_clock;

std::string makefile(const std::string& path, int lines, bool barcodes) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    for (int i = 0; i < lines; ++i) {
        if (barcodes)
            std::fprintf(f, "Item %06d  |H20|~%06d~  qty 1  price 9.99\n", i, i);
        else
            std::fprintf(f, "%06d The quick brown fox jumps over the lazy dog; 0123456789 .,;:!?\n", i);
    }
    std::fclose(f);
    return path;
}

long filesize(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    std::fseek(f, 0, SEEK_END);
    long n = std::ftell(f);
    std::fclose(f);
    return n;
}

// Seconds for one run of `argv` with stdin from `in` and stdout to /dev/null.
double runprogram(const char* prog, const std::string& in) {
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(prog), nullptr};
    char env0[] = "KEVRA_VERBOSE=Q";
    char* envp[] = {env0, nullptr};
    const auto t0 = clock_type::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, prog, &fa, nullptr, argv, envp) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&fa);
    return std::chrono::duration<double>(clock_type::now() - t0).count();
}

// The reference: the least a filter must do, read and write every byte,
// turning LF into CR LF.
double runloop(const std::string& in) {
    const auto t0 = clock_type::now();
    std::FILE* i = std::fopen(in.c_str(), "r");
    std::FILE* o = std::fopen("/dev/null", "w");
    int c;
    while ((c = getc_unlocked(i)) != EOF) {
        if (c == '\n') putc_unlocked('\r', o);
        putc_unlocked(c, o);
    }
    std::fclose(i);
    std::fclose(o);
    return std::chrono::duration<double>(clock_type::now() - t0).count();
}

template <class F> double best(int runs, F f) {
    double t = 1e9;
    for (int k = 0; k < runs; ++k) t = std::min(t, f());
    return t;
}
} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    const std::string dir = KEVRA_BINARY_DIR;
    const std::string prog = dir + "/kevra_epsonlq";
    const std::string text = makefile("/tmp/kevra_bench_text.txt", 400000, false);
    const std::string codes = makefile("/tmp/kevra_bench_codes.txt", 20000, true);
    const double mb = filesize(text) / 1e6;

    const double tloop = best(runs, [&] { return runloop(text); });
    const double tcat = best(runs, [&] { return runprogram("cat", text); });
    const double tkv = best(runs, [&] { return runprogram(prog.c_str(), text); });
    const double tcodes = best(runs, [&] { return runprogram(prog.c_str(), codes); });

    std::printf("plain text, %.1f MB, best of %d runs\n", mb, runs);
    std::printf("  %-36s %8.1f MB/s\n", "cat", mb / tcat);
    std::printf("  %-36s %8.1f MB/s\n", "getc/putc loop, LF -> CR LF", mb / tloop);
    std::printf("  %-36s %8.1f MB/s   (%.2f x the loop)\n", "kevra_epsonlq pass-through", mb / tkv,
                tloop / tkv);
    std::printf("one Code 39 per line, 20000 lines\n");
    std::printf("  %-36s %8.0f lines/s\n", "kevra_epsonlq", 20000 / tcodes);
    std::remove(text.c_str());
    std::remove(codes.c_str());
    return 0;
}
