// The printer languages the preview renders, one row each: the name given
// to --printer (the translator program's name without "kevra_") and the
// renderer that turns that language's stream into sheets.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "preview/sheet.hpp"

using RenderFn = void (*)(const std::string& bytes, const SheetSink& sink);

struct PrinterLanguage {
    std::string_view name;    // --printer word
    std::string_view printer; // what it drives, for --help
    RenderFn render;          // the stream to sheets
};

std::span<const PrinterLanguage> printer_languages();
// The row of `name`, or null when no printer has that name.
const PrinterLanguage* find_language(std::string_view name);
