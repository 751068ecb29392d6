// What the CUPS filter decides before it runs a translator: which program
// serves the queue, and which of the translator's variables the job's
// options set.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "spooler/cups_options.hpp"

// One translator program and the printer word a queue's PPD names it by.
struct KevraPrinter {
    std::string_view word;    // value of the PPD keyword *KevraPrinter
    std::string_view program; // program name in the install's bin directory
    std::string_view model;   // printer family, for messages
};

// The seven translator programs, one per printer language.
inline constexpr std::array<KevraPrinter, 7> kKevraPrinters{{
    {"epsonlq", "kevra_epsonlq", "Epson LQ"},
    {"epsonfx", "kevra_epsonfx", "Epson MX/FX/RX"},
    {"ibm", "kevra_ibm", "IBM Proprinter"},
    {"la75", "kevra_la75", "DEC LA75"},
    {"ln03", "kevra_ln03", "DEC LN03+"},
    {"prntrnx", "kevra_prntrnx", "Printronix"},
    {"hplaser", "kevra_hplaser", "HP LaserJet+"},
}};
static_assert(kKevraPrinters.size() == 7, "one entry per translator program");

// The printer for a PPD's word, or nullptr for a word no program serves.
const KevraPrinter* find_printer(std::string_view word);

// The value of a main keyword in PPD text (`*Keyword: "value"` or
// `*Keyword: value`), without quotes; empty when the keyword is absent.
std::string ppd_keyword(std::string_view ppdtext, std::string_view keyword);

// Job options that configure the translator, and the variable each sets.
enum class OptionKind { Text, Switch };
struct TranslatorOption {
    std::string_view option;   // CUPS job option name
    std::string_view variable; // translator environment variable
    OptionKind kind;
};
inline constexpr std::array<TranslatorOption, 4> kTranslatorOptions{{
    {"kevra-init", "KEVRA_INIT_CMD", OptionKind::Text},
    {"kevra-reset", "KEVRA_RESET_A", OptionKind::Switch},
    {"kevra-reset-ff", "KEVRA_RESET_Z", OptionKind::Switch},
    {"kevra-squish-cr", "KEVRA_SQUISH_CR", OptionKind::Switch},
}};
static_assert(kTranslatorOptions.size() == 4, "one entry per configurable variable");

struct TranslatorEnv {
    std::vector<std::pair<std::string, std::string>> variables; // to set for the translator
    std::vector<std::string> warnings; // CUPS messages about options that were not understood
};

// The variables the job's options set. A switch takes the CUPS boolean
// spellings (true/false, yes/no, on/off, 1/0) and becomes "y" or "n"; any
// other value is reported and leaves the translator's default in force.
TranslatorEnv translator_env(const std::vector<CupsOption>& options);
