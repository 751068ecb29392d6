#include "spooler/cups_options.hpp"

#include <cctype>

namespace {

bool is_space(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// A {...} collection, returned with its braces; quotes inside may hold braces.
std::string read_collection(std::string_view text, size_t& i) {
    const size_t start = i;
    int depth = 0;
    char quote = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            ++i;
        } else if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            ++i;
            break;
        }
    }
    return std::string(text.substr(start, i - start));
}

// A plain value up to the first white space outside quotes; quotes are
// removed and a backslash takes the next character literally.
std::string read_value(std::string_view text, size_t& i) {
    std::string value;
    char quote = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            value += text[++i];
        } else if (quote) {
            if (c == quote)
                quote = 0;
            else
                value += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (is_space(c)) {
            break;
        } else {
            value += c;
        }
    }
    return value;
}

} // namespace

std::vector<CupsOption> parse_cups_options(std::string_view text) {
    std::vector<CupsOption> options;
    size_t i = 0;
    while (true) {
        while (i < text.size() && is_space(text[i])) ++i;
        if (i >= text.size()) break;
        const size_t start = i;
        while (i < text.size() && text[i] != '=' && !is_space(text[i])) ++i;
        std::string name(text.substr(start, i - start));
        if (i >= text.size() || text[i] != '=') {
            if (name.size() > 2 && name.compare(0, 2, "no") == 0)
                options.emplace_back(name.substr(2), "false");
            else
                options.emplace_back(std::move(name), "true");
            continue;
        }
        ++i; // '='
        std::string value =
            i < text.size() && text[i] == '{' ? read_collection(text, i) : read_value(text, i);
        if (!name.empty()) options.emplace_back(std::move(name), std::move(value));
    }
    return options;
}

const std::string* find_cups_option(const std::vector<CupsOption>& options, std::string_view name) {
    const std::string* found = nullptr;
    for (const auto& [n, v] : options)
        if (n == name) found = &v;
    return found;
}
