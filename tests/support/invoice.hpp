// The bundled sample job, examples/invoice.txt, and what its printed page
// must show: one place for every test that prints it.
#pragma once

#include <set>
#include <string>
#include <vector>

std::string invoice_path();

// What the readers find on the invoice's page, as "Format:text".
const std::set<std::string>& invoice_symbols();

// Where each symbol's data sequence stands in the job: line and column of
// its opening tilde, counted from 0.
struct InvoiceSymbol {
    const char* symbol; // "Format:text"
    int line;
    int column;
};
const std::vector<InvoiceSymbol>& invoice_layout();
