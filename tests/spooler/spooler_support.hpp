// Helpers of the spooler tests: shell commands with a chosen environment, the
// sample invoice and what a reader finds on its printed page, and a private
// CUPS server.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/invoice.hpp"
#include "tests/support/process.hpp"

using EnvList = std::vector<std::pair<std::string, std::string>>;

std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& text);
// `text` quoted for the shell.
std::string sh_quote(std::string_view text);
// Runs a /bin/sh script (fed on its standard input, so the commands in it
// must take their own input from files) with the system's admin programs on
// PATH and the variables given.
ProcessResult shell(const std::string& script, const EnvList& env = {});

// A fresh directory under /tmp, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// What the readers find on a printed page, as "Format:text".
std::set<std::string> symbols_on_escp24(const std::string& printerstream);
std::set<std::string> symbols_on_pcl(const std::string& printerstream);

// The translator programs this build installs and packages, by printer word.
std::vector<std::string> packaged_printers();

// A CUPS scheduler of its own: configuration, spool, logs and its socket in a
// temporary directory, the filter and the programs taken from the build. It
// dies with the test process and is stopped and removed at the end.
class CupsServer {
  public:
    CupsServer();
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // Empty when the server answers; else why it could not be started.
    const std::string& failure() const { return failure_; }
    // A shell script run as a client of this server (CUPS_SERVER set).
    ProcessResult client(const std::string& script) const;
    // A queue whose device is the file out/<name>.prn.
    ProcessResult add_queue(const std::string& name, const std::string& ppd) const;
    // Submits a job; returns its id (0 when lp refused it).
    int print(const std::string& queue, const std::string& lpargs,
              std::string* lpoutput = nullptr) const;
    // Waits until no job of the queue is pending; false after `seconds`.
    bool wait_idle(const std::string& queue, int seconds) const;
    std::string output(const std::string& queue) const;
    std::string error_log() const;
    // The state word of a finished job, from the scheduler's log: "completed",
    // "aborted", "canceled", "stopped" or empty.
    std::string job_end(int jobid) const;

  private:
    TempDir dir_;
    int pid_ = -1;
    std::string failure_;
};
