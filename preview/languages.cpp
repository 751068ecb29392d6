#include "preview/languages.hpp"

#include <array>

#include "preview/dec_page.hpp"
#include "preview/escp_page.hpp"
#include "preview/ibm_page.hpp"
#include "preview/pcl_page.hpp"
#include "preview/prntrnx_page.hpp"

namespace {
// One row per translator program, in the README's order; a language joins by
// naming its renderer here.
constexpr std::array kLanguages{
    PrinterLanguage{"epsonlq", "Epson LQ and compatible 24-pin printers (ESC/P)", render_epsonlq},
    PrinterLanguage{"epsonfx", "Epson MX/FX/RX and compatible 9-pin printers (ESC/P)",
                    render_epsonfx},
    PrinterLanguage{"ibm", "IBM Proprinter and compatible 9-pin printers", render_ibm},
    PrinterLanguage{"la75", "DEC LA75 and compatible impact printers (sixel graphics)",
                    render_la75},
    PrinterLanguage{"ln03", "DEC LN03+ laser printers", render_ln03},
    PrinterLanguage{"prntrnx", "Printronix line-matrix printers (plot graphics)", render_prntrnx},
    PrinterLanguage{"hplaser", "HP LaserJet+ and compatible PCL page printers", render_hplaser},
};
static_assert(kLanguages.size() == 7, "one row per translator program");
} // namespace

std::span<const PrinterLanguage> printer_languages() {
    return kLanguages;
}

const PrinterLanguage* find_language(std::string_view name) {
    for (const PrinterLanguage& l : kLanguages)
        if (l.name == name) return &l;
    return nullptr;
}
