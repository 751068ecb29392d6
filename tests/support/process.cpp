#include "tests/support/process.hpp"

#include <cerrno>
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
    ProcessResult r;
    int inpipe[2], outpipe[2], errpipe[2];
    if (pipe(inpipe) != 0 || pipe(outpipe) != 0 || pipe(errpipe) != 0) return r;

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, inpipe[0], 0);
    if (stdoutpath.empty())
        posix_spawn_file_actions_adddup2(&fa, outpipe[1], 1);
    else
        posix_spawn_file_actions_addopen(&fa, 1, stdoutpath.c_str(), O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&fa, errpipe[1], 2);
    for (int fd : {inpipe[0], inpipe[1], outpipe[0], outpipe[1], errpipe[0], errpipe[1]})
        posix_spawn_file_actions_addclose(&fa, fd);

    std::vector<std::string> envstrings{"PATH=/usr/bin:/bin"};
    for (const auto& [k, v] : env) envstrings.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& e : envstrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argstrings{path};
    argstrings.insert(argstrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argstrings) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    int rc = posix_spawn(&pid, path.c_str(), &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
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
    if (input.empty()) {
        close(infd);
        infd = -1;
    }
    bool outopen = true, erropen = true;
    char buf[65536];
    while (outopen || erropen) {
        pollfd fds[3];
        int n = 0;
        int iout = -1, ierr = -1, iin = -1;
        if (outopen) { fds[n] = {outpipe[0], POLLIN, 0}; iout = n++; }
        if (erropen) { fds[n] = {errpipe[0], POLLIN, 0}; ierr = n++; }
        if (infd >= 0) { fds[n] = {infd, POLLOUT, 0}; iin = n++; }
        if (poll(fds, n, -1) < 0) {
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
        auto drain = [&](int idx, int fd, std::string& into, bool& open) {
            if (idx >= 0 && (fds[idx].revents & (POLLIN | POLLHUP | POLLERR))) {
                ssize_t got = read(fd, buf, sizeof buf);
                if (got > 0)
                    into.append(buf, static_cast<size_t>(got));
                else
                    open = false;
            }
        };
        drain(iout, outpipe[0], r.out, outopen);
        drain(ierr, errpipe[0], r.err, erropen);
    }
    if (infd >= 0) close(infd);
    close(outpipe[0]);
    close(errpipe[0]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    r.maxrsskb = usage.ru_maxrss;
    if (WIFEXITED(status)) r.exitcode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
    return r;
}
