// Shared pieces of the benchmarks that run the programs as processes: timing a
// program on a file, the best of several runs, the run-count argument.
//
// Times are CPU seconds (user and system) of the process, not elapsed time:
// the machines these run on are shared, and a program waiting for a core it
// does not get should not count against it. The in-process references are
// timed the same way (cputime), so the ratios compare like with like.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace procbench {

// The programs in the order of the tables; a benchmark lists those not built
// as such, so the drivers join the tables as they are added.
constexpr const char* kPrograms[] = {"kevra_epsonlq", "kevra_epsonfx", "kevra_ibm",    "kevra_la75",
                                     "kevra_ln03",    "kevra_prntrnx", "kevra_hplaser"};
static_assert(std::size(kPrograms) == 7, "one row per translator program");

inline std::string program(const char* name) {
    return std::string(KEVRA_BINARY_DIR) + "/" + name;
}
inline bool built(const std::string& path) {
    return access(path.c_str(), X_OK) == 0;
}

inline long filesize(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (f == nullptr) return 0;
    std::fseek(f, 0, SEEK_END);
    const long n = std::ftell(f);
    std::fclose(f);
    return n;
}

// CPU seconds this process has used so far.
inline double cputime() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// CPU seconds of one run of `prog` with stdin from `in` and stdout to `out`;
// -1 when it cannot be started or is killed by a signal. The programs report
// their outcome in the exit status, which a timing does not judge.
inline double runprogram(const char* prog, const std::string& in, const char* out = "/dev/null") {
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(prog), nullptr};
    char env0[] = "KEVRA_VERBOSE=Q";
    char* envp[] = {env0, nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, prog, &fa, nullptr, argv, envp);
    posix_spawn_file_actions_destroy(&fa);
    if (spawned != 0) return -1;
    int status = 0;
    rusage ru{};
    if (wait4(pid, &status, 0, &ru) != pid || !WIFEXITED(status)) return -1;
    const auto secs = [](const timeval& tv) {
        return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) * 1e-6;
    };
    return secs(ru.ru_utime) + secs(ru.ru_stime);
}

// The least of `runs` timings; -1 as soon as one run fails.
template <class F> double best(int runs, F f) {
    double t = 1e30;
    for (int k = 0; k < runs; ++k) {
        const double one = f();
        if (one < 0) return -1;
        t = std::min(t, one);
    }
    return t;
}

// The run count from the one optional argument (`fallback` without one); 0
// when it is not a whole number from 1 to 1000, after printing the usage.
inline int parseruns(int argc, char** argv, int fallback) {
    int n = fallback;
    if (argc == 2) {
        char* end = nullptr;
        const long v = std::strtol(argv[1], &end, 10);
        n = *argv[1] != '\0' && *end == '\0' && v >= 1 && v <= 1000 ? static_cast<int>(v) : 0;
    } else if (argc > 2) {
        n = 0;
    }
    if (n == 0)
        std::fprintf(stderr, "usage: %s [runs]   (runs: a whole number from 1 to 1000)\n", argv[0]);
    return n;
}

// The load average, printed with every table: the figures are ratios to
// references from the same run, but the load says how noisy they may be.
inline void printload() {
    double l[3] = {0, 0, 0};
    if (getloadavg(l, 3) == 3)
        std::printf("load average %.2f %.2f %.2f on %ld cores\n", l[0], l[1], l[2],
                    sysconf(_SC_NPROCESSORS_ONLN));
}

} // namespace procbench
