// Turns the translator's messages on standard error into CUPS filter
// messages: one line each, with the prefix that tells the scheduler how to
// log it, and the input line number joined to the report it belongs to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A report of a bad command or bar code ("%KEVRA-I-IVCMD, ...") means an item
// is missing from the page, so it becomes a WARNING: (logged by a scheduler
// at its default log level); "E" and "F" reports and an aborted translation
// become ERROR:, the completed summary INFO:, the banner DEBUG:.
class ReportMapper {
  public:
    // One line of the translator's standard error, without its newline; gives
    // the CUPS lines completed by it.
    std::vector<std::string> take(std::string_view line);
    // At the end of the translator's output: whatever is still held.
    std::vector<std::string> finish();

  private:
    std::string pending_; // a report waiting for its "At line number" line
};
