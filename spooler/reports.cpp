#include "spooler/reports.hpp"

namespace {

constexpr std::string_view kLineText = "At line number";

std::string_view trim_left(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// The CUPS prefix of a "%PRODUCT-S-MNEMONIC, message" report.
std::string_view report_prefix(std::string_view line) {
    const size_t dash = line.find('-');
    if (dash == std::string_view::npos || dash + 2 >= line.size() || line[dash + 2] != '-')
        return "WARNING: ";
    const char severity = line[dash + 1];
    if (severity == 'E' || severity == 'F') return "ERROR: ";
    if (severity == 'W') return "WARNING: ";
    if (line.substr(dash + 3).starts_with("SUMMARY"))
        return line.find("aborted") == std::string_view::npos ? "INFO: " : "ERROR: ";
    return "WARNING: ";
}

} // namespace

std::vector<std::string> ReportMapper::take(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string> out;
    const std::string_view body = trim_left(line);
    if (!pending_.empty() && body.starts_with(kLineText)) {
        out.push_back(pending_ + " " + std::string(body));
        pending_.clear();
        return out;
    }
    out = finish();
    if (line.starts_with("%")) {
        std::string report = std::string(report_prefix(line)) + std::string(line);
        if (line.find(kLineText) != std::string_view::npos)
            out.push_back(std::move(report));
        else
            pending_ = std::move(report);
    } else if (!body.empty()) {
        out.push_back("DEBUG: " + std::string(body));
    }
    return out;
}

std::vector<std::string> ReportMapper::finish() {
    std::vector<std::string> out;
    if (!pending_.empty()) out.push_back(std::move(pending_));
    pending_.clear();
    return out;
}
