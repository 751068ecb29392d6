#include "tests/support/process.hpp"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef KEVRA_BINARY_DIR
#define KEVRA_BINARY_DIR "."
#endif

std::string program_path(const std::string& name) {
    return std::string(KEVRA_BINARY_DIR) + "/" + name;
}

ProcessResult run_process(const std::string& path, const std::string& input,
                          const std::vector<std::pair<std::string, std::string>>& env,
                          const std::string& stdoutpath) {
    return run_process(path, {}, input, env, stdoutpath);
}

ProcessResult run_process(const std::string& path, const std::vector<std::string>& args,
                          const std::string& input,
                          const std::vector<std::pair<std::string, std::string>>& env,
                          const std::string& stdoutpath) {
    ProcessOptions o;
    o.args = args;
    o.env = env;
    o.stdoutpath = stdoutpath;
    return run_process_with(path, input, o);
}

namespace {
// Makes `fd` the child's descriptor `target` opened on `path`, or closed:
// opening /dev/null first makes the close valid whatever the parent holds.
void setupstream(posix_spawn_file_actions_t* fa, int target, int pipefd, const std::string& path,
                 bool closed, int flags) {
    if (closed) {
        posix_spawn_file_actions_addopen(fa, target, "/dev/null", flags, 0);
        posix_spawn_file_actions_addclose(fa, target);
    } else if (!path.empty()) {
        posix_spawn_file_actions_addopen(fa, target, path.c_str(), flags, 0);
    } else {
        posix_spawn_file_actions_adddup2(fa, pipefd, target);
    }
}
} // namespace

ProcessResult run_process_with(const std::string& path, const std::string& input,
                               const ProcessOptions& o) {
    ProcessResult r;
    int inpipe[2], outpipe[2], errpipe[2];
    if (pipe(inpipe) != 0 || pipe(outpipe) != 0 || pipe(errpipe) != 0) return r;

    if (o.stdinnonblocking) fcntl(inpipe[0], F_SETFL, O_NONBLOCK);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    setupstream(&fa, 0, inpipe[0], o.stdinpath, o.stdinclosed, O_RDONLY);
    setupstream(&fa, 1, outpipe[1], o.stdoutpath, o.stdoutclosed, O_WRONLY);
    posix_spawn_file_actions_adddup2(&fa, errpipe[1], 2);
    for (int fd : {inpipe[0], inpipe[1], outpipe[0], outpipe[1], errpipe[0], errpipe[1]})
        posix_spawn_file_actions_addclose(&fa, fd);

    std::vector<std::string> envstrings{"PATH=/usr/bin:/bin"};
    for (const auto& [k, v] : o.env) envstrings.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& e : envstrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argstrings{path};
    argstrings.insert(argstrings.end(), o.args.begin(), o.args.end());
    std::vector<char*> argv;
    for (auto& a : argstrings) argv.push_back(a.data());
    argv.push_back(nullptr);

    // The program starts with SIGPIPE at its default action, as from a shell
    // or a spooler, not ignored as in this process.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    int rc = posix_spawn(&pid, path.c_str(), &fa, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    posix_spawnattr_destroy(&attr);
    close(inpipe[0]);
    close(outpipe[1]);
    close(errpipe[1]);
    if (rc != 0) {
        close(inpipe[1]);
        close(outpipe[0]);
        close(errpipe[0]);
        return r;
    }

    std::signal(SIGPIPE, SIG_IGN);
    fcntl(inpipe[1], F_SETFL, O_NONBLOCK);
    size_t written = 0;
    int infd = inpipe[1];
    if (input.empty() || !o.stdinpath.empty() || o.stdinclosed) {
        close(infd);
        infd = -1;
    }
    if (o.inputdelayms > 0) usleep(static_cast<useconds_t>(o.inputdelayms) * 1000u);
    bool outopen = true, erropen = true;
    char buf[65536];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(o.timeoutms);
    while (outopen || erropen) {
        pollfd fds[3];
        int n = 0;
        int iout = -1, ierr = -1, iin = -1;
        if (outopen) { fds[n] = {outpipe[0], POLLIN, 0}; iout = n++; }
        if (erropen) { fds[n] = {errpipe[0], POLLIN, 0}; ierr = n++; }
        if (infd >= 0) { fds[n] = {infd, POLLOUT, 0}; iin = n++; }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            r.timedout = true;
            break;
        }
        const int ready = poll(fds, n, static_cast<int>(left.count()));
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (iin >= 0 && (fds[iin].revents & (POLLOUT | POLLERR | POLLHUP))) {
            ssize_t w = write(infd, input.data() + written, input.size() - written);
            if (w > 0) written += static_cast<size_t>(w);
            if (w < 0 && errno != EAGAIN) written = input.size();
            if (written >= input.size()) {
                close(infd);
                infd = -1;
            }
        }
        auto drain = [&](int idx, int fd, std::string& into, bool& open, long limit) {
            if (idx >= 0 && (fds[idx].revents & (POLLIN | POLLHUP | POLLERR))) {
                size_t want = sizeof buf;
                if (limit >= 0 && static_cast<size_t>(limit) - into.size() < want)
                    want = static_cast<size_t>(limit) - into.size();
                ssize_t got = want > 0 ? read(fd, buf, want) : 0;
                if (got > 0)
                    into.append(buf, static_cast<size_t>(got));
                else
                    open = false;
                // A reader that stops: closing its end makes further writes fail.
                if (limit >= 0 && into.size() >= static_cast<size_t>(limit)) open = false;
            }
        };
        drain(iout, outpipe[0], r.out, outopen, o.outlimit);
        if (!outopen && outpipe[0] >= 0) {
            close(outpipe[0]);
            outpipe[0] = -1;
        }
        drain(ierr, errpipe[0], r.err, erropen, -1);
    }
    if (infd >= 0) close(infd);
    if (outpipe[0] >= 0) close(outpipe[0]);
    close(errpipe[0]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    r.maxrsskb = usage.ru_maxrss;
    if (WIFEXITED(status)) r.exitcode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
    return r;
}
