// Job options as the CUPS scheduler hands them to a filter: one string of
// name=value pairs separated by white space.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

using CupsOption = std::pair<std::string, std::string>;

// Splits an option string the way the CUPS library reads it: values may be
// quoted ('...' or "...") or carry backslash escapes; a bare name means
// name=true and a bare "noname" means name=false; a {...} collection value is
// kept whole. Options come back in order; a later one overrides an earlier.
std::vector<CupsOption> parse_cups_options(std::string_view text);

// The value of the last option called `name`, or nullptr.
const std::string* find_cups_option(const std::vector<CupsOption>& options, std::string_view name);
