// PDF417: our encoder beside a reference encoder (libzint) on the same
// messages in the same run, each from data bytes to the module grid, with
// the same error-correction level and column count. Prints the time ratio.
#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/matrix/pdf417.hpp"

namespace {

std::string text100() {
    std::string s = "Invoice 4711 for ACME Corp., 3 items at $12.50 each; "
                    "due 2024-03-31. Thank you for your business, Anna!";
    s.resize(100, '.');
    return s;
}

// Binary data: arbitrary bytes that are no text characters (controls and
// 127..255), so the whole message is one byte run for both encoders.
std::string bytes1000() {
    std::string s;
    uint32_t x = 2463534242u;
    while (s.size() < 1000) { // xorshift
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const uint8_t c = static_cast<uint8_t>(x & 0xFF);
        const bool text = (c >= 0x20 && c < 0x7F) || c == 9 || c == 10 || c == 13;
        if (!text) s += static_cast<char>(c);
    }
    return s;
}

// The module grid our encoder paints into: one byte per module.
struct Grid {
    int32_t width = 0;
    std::vector<uint8_t> cells;
};
uint32_t plot(void* ctx, int32_t x, int32_t y, int32_t w, int32_t) {
    auto* g = static_cast<Grid*>(ctx);
    std::memset(&g->cells[static_cast<size_t>(y) * g->width + x], 1, static_cast<size_t>(w));
    return 1;
}

bool encode_ours(pdf417_sym* sym, Grid* grid, const std::string& data) {
    pdf417_open(sym);
    sym->modwidth = 1;
    sym->rowheight = 1;
    sym->aspect = 0.0f;
    sym->columns = 0;
    if (!pdf417_gridcalc(sym, data.data(), static_cast<int32_t>(data.size()))) return false;
    grid->width = pdf417_imagewide(sym);
    grid->cells.assign(static_cast<size_t>(grid->width) * pdf417_imagedeep(sym), 0);
    pdf417_setcallback(sym, plot, grid);
    return pdf417_paintgrid(sym) != 0;
}

struct Case {
    const char* name;
    std::string data;
    int level = 0; // as our encoder chose it, handed to the reference
    int columns = 0;
};

std::vector<Case>& cases() {
    static std::vector<Case> c = {{"text100", text100()}, {"bytes1000", bytes1000()}};
    return c;
}

void BM_ours(benchmark::State& st, Case* c) {
    pdf417_sym sym{};
    Grid grid;
    for (auto _ : st) {
        if (!encode_ours(&sym, &grid, c->data)) st.SkipWithError("encode failed");
        benchmark::DoNotOptimize(grid.cells.data());
    }
}

void BM_libzint(benchmark::State& st, Case* c) {
    zint_symbol* z = ZBarcode_Create();
    for (auto _ : st) {
        ZBarcode_Clear(z);
        z->symbology = BARCODE_PDF417;
        z->input_mode = DATA_MODE;
        z->option_1 = c->level;
        z->option_2 = c->columns;
        if (ZBarcode_Encode(z, reinterpret_cast<const unsigned char*>(c->data.data()),
                            static_cast<int>(c->data.size())) >= ZINT_ERROR)
            st.SkipWithError(z->errtxt);
        benchmark::DoNotOptimize(z->encoded_data);
    }
    ZBarcode_Delete(z);
}

// Collects each benchmark's time per iteration to print the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> ns;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                ns[r.benchmark_name()] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    for (Case& c : cases()) {
        pdf417_sym sym{};
        Grid grid;
        if (!encode_ours(&sym, &grid, c.data)) {
            std::fprintf(stderr, "%s: encode failed (%d)\n", c.name, sym.errcode);
            return 1;
        }
        c.level = sym.ecclevel;
        c.columns = sym.columns;
        zint_symbol* z = ZBarcode_Create();
        z->symbology = BARCODE_PDF417;
        z->input_mode = DATA_MODE;
        z->option_1 = c.level;
        z->option_2 = c.columns;
        ZBarcode_Encode(z, reinterpret_cast<const unsigned char*>(c.data.data()),
                        static_cast<int>(c.data.size()));
        std::printf("%s: %zu bytes; ours %d x %d modules (%d columns, level %d), "
                    "libzint %d x %d modules\n",
                    c.name, c.data.size(), pdf417_imagewide(&sym), sym.rows, sym.columns,
                    sym.ecclevel, z->width, z->rows);
        ZBarcode_Delete(z);
        benchmark::RegisterBenchmark((std::string("pdf417/ours/") + c.name).c_str(), BM_ours, &c);
        benchmark::RegisterBenchmark((std::string("pdf417/libzint/") + c.name).c_str(), BM_libzint,
                                     &c);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const Case& c : cases()) {
        const auto ours = reporter.ns.find(std::string("pdf417/ours/") + c.name);
        const auto ref = reporter.ns.find(std::string("pdf417/libzint/") + c.name);
        if (ours != reporter.ns.end() && ref != reporter.ns.end() && ours->second > 0)
            std::printf("%s: ours %.2f us, libzint %.2f us, libzint/ours = %.2f\n", c.name,
                        ours->second / 1000.0, ref->second / 1000.0, ref->second / ours->second);
    }
    benchmark::Shutdown();
    return 0;
}
