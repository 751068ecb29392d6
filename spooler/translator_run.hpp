// Runs one translator process for the filter: the job on its standard
// input, the printer stream straight to the filter's standard output, and its
// messages passed on as CUPS filter messages.
#pragma once

#include <string>
#include <vector>

struct TranslatorRun {
    bool completed = false; // the translator exited with 1, its plain success
    std::string problem;    // why not, as a CUPS ERROR: line
};

// From now on SIGTERM, the scheduler's way to cancel a job, is passed on to
// the running translator, and no further translator starts.
void forward_cancel_to_translators();

// `env` holds "NAME=value" strings.
TranslatorRun run_translator(const std::string& path, const std::vector<std::string>& env,
                             int infd);
