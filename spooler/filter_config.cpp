#include "spooler/filter_config.hpp"

#include <algorithm>
#include <cctype>

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// "y", "n", or empty for a value that is no boolean.
std::string_view switch_value(std::string_view value) {
    const std::string v = lower(value);
    for (const char* yes : {"true", "yes", "on", "1", "y"})
        if (v == yes) return "y";
    for (const char* no : {"false", "no", "off", "0", "n"})
        if (v == no) return "n";
    return {};
}

} // namespace

const KevraPrinter* find_printer(std::string_view word) {
    const auto it = std::find_if(kKevraPrinters.begin(), kKevraPrinters.end(),
                                 [&](const KevraPrinter& p) { return p.word == word; });
    return it == kKevraPrinters.end() ? nullptr : &*it;
}

std::string ppd_keyword(std::string_view ppdtext, std::string_view keyword) {
    size_t pos = 0;
    while (pos < ppdtext.size()) {
        size_t end = ppdtext.find('\n', pos);
        if (end == std::string_view::npos) end = ppdtext.size();
        std::string_view line = ppdtext.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() < keyword.size() + 2 || line[0] != '*' ||
            line.substr(1, keyword.size()) != keyword || line[keyword.size() + 1] != ':')
            continue;
        std::string_view value = trim(line.substr(keyword.size() + 2));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return {};
}

TranslatorEnv translator_env(const std::vector<CupsOption>& options) {
    TranslatorEnv env;
    for (const TranslatorOption& t : kTranslatorOptions) {
        const std::string* value = find_cups_option(options, t.option);
        if (!value) continue;
        if (t.kind == OptionKind::Text) {
            env.variables.emplace_back(t.variable, *value);
            continue;
        }
        const std::string_view sw = switch_value(*value);
        if (sw.empty())
            env.warnings.push_back("WARNING: option " + std::string(t.option) + "=" + *value +
                                   " ignored: the value must be yes or no.");
        else
            env.variables.emplace_back(t.variable, sw);
    }
    return env;
}
