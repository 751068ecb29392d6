// Printer streams written readably in tests: escape sequences by their letter
// and parameter values, control codes by name.
#pragma once

#include <initializer_list>
#include <string>

inline std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s.push_back(static_cast<char>(v));
    return s;
}

// ESC, its letter, then the parameter bytes.
inline std::string esc(char letter, std::initializer_list<int> params = {}) {
    return "\x1b" + std::string(1, letter) + bytes(params);
}

namespace ctl {
inline const std::string SO = "\x0e", SI = "\x0f", DC2 = "\x12", DC4 = "\x14", CAN = "\x18";
} // namespace ctl
