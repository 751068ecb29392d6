#include "tests/support/invoice.hpp"

std::string invoice_path() {
    return std::string(KEVRA_SOURCE_DIR) + "/examples/invoice.txt";
}

const std::vector<InvoiceSymbol>& invoice_layout() {
    // The data sequences of examples/invoice.txt with the check characters
    // their commands ask for (C1 on Code 39; EAN-13 always has one), at the
    // line and column where the job's text holds them.
    static const std::vector<InvoiceSymbol> layout = {
        {"Code39:INV4711%", 2, 44},
        {"Codabar:A40012B", 6, 57},
        {"Code39:HB-M8-40", 12, 60},
        {"EAN-13:4006381333931", 15, 58},
        {"Code128:WS-430-200", 19, 61},
        {"Code39:SHIP00428", 24, 38},
        {"DataMatrix:4711|NW|156.00|2026-12-07", 24, 67},
        {"PDF417:ACME 4711 NORTHWIND 156.00 EUR 2026-12-07", 39, 39},
    };
    return layout;
}

const std::set<std::string>& invoice_symbols() {
    static const std::set<std::string> symbols = [] {
        std::set<std::string> s;
        for (const InvoiceSymbol& i : invoice_layout()) s.insert(i.symbol);
        return s;
    }();
    return symbols;
}
