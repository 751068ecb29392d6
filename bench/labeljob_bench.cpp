// What users feel: a job of 10,000 labels, each a few lines of text with a
// Code 128 and a 30-character DataMatrix, through the HP and Epson LQ programs
// as processes; labels per second and CPU time per label beside libzint
// encoding and rasterising the same two symbols in-process
// (ZBarcode_Encode_and_Buffer), and beside cat over the same job.
//
//   labeljob_bench [runs]     best of `runs` timings of each (default 3)
#include <zint.h>

#include <cstdio>
#include <string>

#include "procbench.hpp"

namespace {
using namespace procbench;

constexpr int kLabels = 10000;

// The two symbols' data on label `i`: a shipment code for the Code 128 and a
// 30-character record for the DataMatrix, each different on every label.
std::string linear(int i) {
    char b[32];
    std::snprintf(b, sizeof b, "SHP%07d", i);
    return b;
}
std::string matrix(int i) {
    char b[40];
    std::snprintf(b, sizeof b, "OR4711|NW|%06d|156.00|261207", i);
    return b;
}
static_assert(sizeof("OR4711|NW|000000|156.00|261207") - 1 == 30, "a 30-character record");

// One label a page: address lines, the Code 128 beside the order line, the
// DataMatrix below it, then a form feed.
std::string makejob(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    for (int i = 0; i < kLabels; ++i) {
        std::fprintf(f, "|BCODE128 SB H40|\n");
        std::fprintf(f, "ACME HARDWARE SUPPLY                 Label %06d\n", i);
        std::fprintf(f, "Ship to: Northwind Traders, 12 Harbour Road, Portsmouth\n");
        std::fprintf(f, "Order 4711   ~%s~\n\n\n\n", linear(i).c_str());
        std::fprintf(f, "|BDATAMATRIX R3|Record ~%s~\n\n\n\n\n\n\f", matrix(i).c_str());
    }
    std::fclose(f);
    return path;
}

// The reference: libzint encoding both symbols of every label and drawing
// each into its pixel buffer.
double runzint() {
    const double t0 = cputime();
    zint_symbol* z = ZBarcode_Create();
    for (int i = 0; i < kLabels; ++i) {
        const std::string a = linear(i);
        const std::string b = matrix(i);
        ZBarcode_Clear(z);
        z->symbology = BARCODE_CODE128;
        z->height = 40;
        if (ZBarcode_Encode_and_Buffer(z, reinterpret_cast<const unsigned char*>(a.data()),
                                       static_cast<int>(a.size()), 0) >= ZINT_ERROR)
            return -1;
        ZBarcode_Clear(z);
        z->symbology = BARCODE_DATAMATRIX;
        z->option_3 = DM_SQUARE;
        z->scale = 1.5F; // three pixels a module, as R3
        if (ZBarcode_Encode_and_Buffer(z, reinterpret_cast<const unsigned char*>(b.data()),
                                       static_cast<int>(b.size()), 0) >= ZINT_ERROR)
            return -1;
    }
    ZBarcode_Delete(z);
    return cputime() - t0;
}

void row(const char* name, double t, double tref) {
    if (t < 0) {
        std::printf("  %-32s failed\n", name);
        return;
    }
    std::printf("  %-32s %9.0f labels/s %8.1f us/label   %6.2f x libzint's time\n", name,
                kLabels / t, t / kLabels * 1e6, t / tref);
}
} // namespace

int main(int argc, char** argv) {
    const int runs = parseruns(argc, argv, 3);
    if (runs == 0) return 2;
    const std::string job = makejob("/tmp/kevra_bench_labels.txt");
    printload();
    const double tzint = best(runs, runzint);
    const double tcat = best(runs, [&] { return runprogram("cat", job); });
    std::printf("%d labels (Code 128 and 30-character DataMatrix each), %.1f MB, best of %d runs, "
                "CPU time\n",
                kLabels, static_cast<double>(filesize(job)) / 1e6, runs);
    row("libzint encode and buffer", tzint, tzint);
    row("cat", tcat, tzint);
    for (const char* name : {"kevra_hplaser", "kevra_epsonlq"}) {
        const std::string prog = program(name);
        if (!built(prog)) {
            std::printf("  %-32s not built\n", name);
            continue;
        }
        row(name, best(runs, [&] { return runprogram(prog.c_str(), job); }), tzint);
    }
    std::remove(job.c_str());
    return 0;
}
