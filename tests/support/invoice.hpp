// The bundled sample job, examples/invoice.txt, and the symbols a reader
// finds on its printed page.
#pragma once

#include <set>
#include <string>

#ifdef KEVRA_SOURCE_DIR
inline std::string invoice_path() {
    return std::string(KEVRA_SOURCE_DIR) + "/examples/invoice.txt";
}
#endif

// The data sequences of the invoice with the check characters their commands
// ask for (C1 on Code 39; EAN-13 always has one), as "Format:text".
inline const std::set<std::string>& invoice_symbols() {
    static const std::set<std::string> symbols = {
        "Code39:INV4711%",
        "Codabar:A40012B",
        "Code39:HB-M8-40",
        "EAN-13:4006381333931",
        "Code128:WS-430-200",
        "Code39:SHIP00428",
        "DataMatrix:4711|NW|156.00|2026-12-07",
        "PDF417:ACME 4711 NORTHWIND 156.00 EUR 2026-12-07",
    };
    return symbols;
}
