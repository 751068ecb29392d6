// Runs a program as a print spooler would: input on stdin, printer stream
// from stdout, messages from stderr, configured by the environment.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct ProcessResult {
    std::string out;
    std::string err;
    int exitcode = -1; // exit status, or -1 when killed by a signal
    int signal = 0;
    long maxrsskb = 0; // peak resident size of the program
};

// Runs `path` with exactly the environment given (plus PATH), feeding `input`.
// `stdoutpath` (if set) is opened as the program's standard output instead of
// a pipe, e.g. /dev/full.
ProcessResult run_process(const std::string& path, const std::string& input,
                          const std::vector<std::pair<std::string, std::string>>& env = {},
                          const std::string& stdoutpath = "");

// The same with command-line arguments after the program's name.
ProcessResult run_process(const std::string& path, const std::vector<std::string>& args,
                          const std::string& input,
                          const std::vector<std::pair<std::string, std::string>>& env = {},
                          const std::string& stdoutpath = "");

// Directory of the built programs (set by the build).
std::string program_path(const std::string& name);
