// texttokevra: the CUPS filter for text queues of the KEVRA translators.
// Called by the scheduler as: texttokevra job-id user title copies options [file].
// The queue's PPD names the printer (*KevraPrinter), which chooses the
// translator program; job options set its variables; the printer stream goes
// to standard output and the exit status is 0 only for a completed
// translation of every copy.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "spooler/filter_config.hpp"
#include "spooler/translator_run.hpp"

extern char** environ;

#ifndef KEVRA_FILTER_BINDIR
#define KEVRA_FILTER_BINDIR "/usr/bin"
#endif

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "ERROR: %s\n", message.c_str());
    return 1;
}

bool read_file(const char* path, std::string& text) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::ostringstream s;
    s << f.rdbuf();
    text = s.str();
    return true;
}

// Where the translator programs are: KEVRA_BINDIR when set, else the
// directory chosen at build time. A relative one is taken from where the
// filter itself is installed, so a package can be installed under any prefix.
std::string program_dir() {
    const char* env = std::getenv("KEVRA_BINDIR");
    if (env && *env) return env;
    const std::string built = KEVRA_FILTER_BINDIR;
    if (!built.empty() && built.front() == '/') return built;
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return built;
    std::string dir(self, static_cast<size_t>(n));
    dir.erase(dir.rfind('/'));
    return dir + "/" + built;
}

// The filter's environment with the job's translator variables set.
std::vector<std::string> child_env(const TranslatorEnv& settings) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view entry(*e);
        bool replaced = false;
        for (const auto& [name, value] : settings.variables)
            replaced |= entry.starts_with(name + "=");
        if (!replaced) env.emplace_back(entry);
    }
    for (const auto& [name, value] : settings.variables) env.push_back(name + "=" + value);
    return env;
}

// A descriptor of the job that can be read again for each copy: the named
// file, or standard input copied to an unlinked temporary file when it is a
// pipe and more than one copy is wanted.
int open_job(const char* path, int copies) {
    if (path) return open(path, O_RDONLY | O_CLOEXEC);
    if (copies == 1 || lseek(0, 0, SEEK_CUR) >= 0) return 0;
    const char* tmpdir = std::getenv("TMPDIR");
    std::string name = std::string(tmpdir && *tmpdir ? tmpdir : "/tmp") + "/texttokevra.XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) return -1;
    unlink(name.c_str());
    char buf[65536];
    ssize_t n;
    while ((n = read(0, buf, sizeof buf)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || write(fd, buf, static_cast<size_t>(n)) != n) {
            close(fd);
            return -1;
        }
    }
    return lseek(fd, 0, SEEK_SET) == 0 ? fd : -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 6 || argc > 7) {
        std::fputs("Usage: texttokevra job-id user title copies options [file]\n", stderr);
        return 1;
    }
    char* end = nullptr;
    const long copies = std::strtol(argv[4], &end, 10);
    if (end == argv[4] || *end || copies < 1 || copies > 9999)
        return fail(std::string("bad number of copies \"") + argv[4] + "\".");

    const char* ppdpath = std::getenv("PPD");
    std::string ppd;
    if (!ppdpath || !read_file(ppdpath, ppd))
        return fail("the queue has no readable PPD file naming its printer (*KevraPrinter).");
    const std::string word = ppd_keyword(ppd, "KevraPrinter");
    const KevraPrinter* printer = find_printer(word);
    if (!printer) return fail("the PPD names no known printer (*KevraPrinter: \"" + word + "\").");
    const std::string program = program_dir() + "/" + std::string(printer->program);
    if (access(program.c_str(), X_OK) != 0)
        return fail("the " + std::string(printer->model) + " translator " + program +
                    " is not installed.");

    const TranslatorEnv settings = translator_env(parse_cups_options(argv[5]));
    for (const std::string& w : settings.warnings) std::fprintf(stderr, "%s\n", w.c_str());
    const std::vector<std::string> env = child_env(settings);

    const int fd = open_job(argc == 7 ? argv[6] : nullptr, static_cast<int>(copies));
    if (fd < 0) return fail(std::string("cannot read the job: ") + std::strerror(errno) + ".");
    forward_cancel_to_translators();
    for (long copy = 0; copy < copies; ++copy) {
        if (copy > 0 && lseek(fd, 0, SEEK_SET) < 0) return fail("cannot read the job again.");
        const TranslatorRun run = run_translator(program, env, fd);
        if (!run.completed) {
            std::fprintf(stderr, "%s\n", run.problem.c_str());
            return 1;
        }
    }
    return 0;
}
