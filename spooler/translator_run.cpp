#include "spooler/translator_run.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

#include "spooler/reports.hpp"

namespace {

// What the SIGTERM handler needs: the running translator (0 when none runs)
// and whether the job was cancelled.
volatile sig_atomic_t g_child = 0;
volatile sig_atomic_t g_cancelled = 0;

void forward_term(int) {
    g_cancelled = 1;
    if (g_child > 0) kill(static_cast<pid_t>(g_child), SIGTERM);
}

void emit(const std::vector<std::string>& lines) {
    for (const std::string& l : lines) std::fprintf(stderr, "%s\n", l.c_str());
    std::fflush(stderr);
}

// Reads the translator's standard error to its end, line by line.
void pass_reports(int fd) {
    ReportMapper mapper;
    std::string line;
    char buf[4096];
    while (true) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        for (ssize_t i = 0; i < n; ++i) {
            if (buf[i] != '\n') {
                line += buf[i];
                continue;
            }
            emit(mapper.take(line));
            line.clear();
        }
    }
    if (!line.empty()) emit(mapper.take(line));
    emit(mapper.finish());
}

std::string describe_status(const std::string& path, int status) {
    if (WIFSIGNALED(status))
        return "ERROR: " + path + " was ended by signal " + std::to_string(WTERMSIG(status)) + ".";
    return "ERROR: " + path + " failed with exit status " + std::to_string(WEXITSTATUS(status)) +
           " (1 means a completed translation).";
}

} // namespace

TranslatorRun run_translator(const std::string& path, const std::vector<std::string>& env,
                             int infd) {
    TranslatorRun result;
    int errpipe[2];
    if (pipe(errpipe) != 0) {
        result.problem = "ERROR: cannot create a pipe for the translator's messages.";
        return result;
    }
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (infd != 0) posix_spawn_file_actions_adddup2(&fa, infd, 0);
    posix_spawn_file_actions_adddup2(&fa, errpipe[1], 2);
    posix_spawn_file_actions_addclose(&fa, errpipe[0]);
    posix_spawn_file_actions_addclose(&fa, errpipe[1]);

    std::vector<std::string> envcopy = env;
    std::vector<char*> envp;
    for (std::string& e : envcopy) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string prog = path;
    char* argv[] = {prog.data(), nullptr};

    // SIGTERM waits while the translator starts, so that it is either
    // forwarded to it or seen before it starts; the translator itself starts
    // with the filter's usual signal mask.
    sigset_t term, oldmask;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    sigprocmask(SIG_BLOCK, &term, &oldmask);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setsigmask(&attr, &oldmask);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK);

    pid_t pid = 0;
    const int rc =
        g_cancelled ? ECANCELED : posix_spawn(&pid, path.c_str(), &fa, &attr, argv, envp.data());
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&fa);
    close(errpipe[1]);
    if (rc == 0) g_child = pid;
    sigprocmask(SIG_SETMASK, &oldmask, nullptr);
    if (rc != 0) {
        close(errpipe[0]);
        result.problem =
            rc == ECANCELED ? "ERROR: the job was cancelled." : "ERROR: cannot run " + path + ".";
        return result;
    }
    pass_reports(errpipe[0]);
    close(errpipe[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    g_child = 0;

    result.completed = WIFEXITED(status) && WEXITSTATUS(status) == 1;
    if (!result.completed) result.problem = describe_status(path, status);
    return result;
}

void forward_cancel_to_translators() {
    struct sigaction term = {};
    term.sa_handler = forward_term;
    sigemptyset(&term.sa_mask);
    sigaction(SIGTERM, &term, nullptr);
}
