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
    long maxrsskb = 0;     // peak resident size of the program
    bool timedout = false; // killed because it ran past the time allowed
};

// How the program's standard streams are set up.
struct ProcessOptions {
    std::vector<std::string> args; // command-line arguments after the program's name
    std::vector<std::pair<std::string, std::string>> env; // exactly these (plus PATH)
    std::string stdinpath;     // opened as standard input instead of the pipe (a directory, ...)
    bool stdinclosed = false;  // standard input is no open descriptor at all
    std::string stdoutpath;    // opened as standard output instead of a pipe (/dev/full, ...)
    bool stdoutclosed = false; // standard output is no open descriptor at all
    bool stdinnonblocking = false; // the input pipe is handed over non-blocking
    int inputdelayms = 0;          // the input is written only after this long
    long outlimit = -1;        // the reader of standard output closes it after this many bytes
    int timeoutms = 60000;     // the program is killed after this long
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
// The same with the arguments and standard streams set up as `options` say.
ProcessResult run_process_with(const std::string& path, const std::string& input,
                               const ProcessOptions& options);

// Directory of the built programs (set by the build).
std::string program_path(const std::string& name);
