// Aztec encoding, data to module grid: our encoder beside libzint on the same
// messages in the same run, so the ratio survives a noisy machine.
//
//   build-bench/bench/aztec_bench --benchmark_min_time=0.5
//
// After the Google Benchmark table the program prints the ratio ours/libzint
// for each message length (below 1 = faster than libzint).
#include <benchmark/benchmark.h>
#include <zint.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "core/matrix/aztec.hpp"

namespace {
// Business text of the kind a print job carries: letters of both cases,
// digits, spaces and punctuation, in a pattern that does not repeat quickly.
std::string message(size_t length) {
    static const char* const words[] = {"Invoice", "4711,",       "total", "EUR",     "1.234,56",
                                        "due",     "31.12.2024;", "ref:",  "PO-9981", "Widget",
                                        "(blue)",  "qty",         "12",    "@",       "3.50",
                                        "each.",   "Ship",        "to:",   "ACME",    "Corp.",
                                        "Dock",    "7",           "Bay",   "B!"};
    std::string s;
    size_t i = 0;
    while (s.size() < length) {
        if (!s.empty()) s += ' ';
        s += words[(i * 7 + i / 24) % 24];
        ++i;
    }
    s.resize(length);
    return s;
}

bool ours(const std::string& m) {
    aztec_state st;
    aztec_open(&st);
    const int ok = aztec_imagecalc(&st, m.data(), static_cast<int32_t>(m.size()));
    benchmark::DoNotOptimize(st.map.get());
    aztec_close(&st);
    return ok != 0;
}

bool theirs(zint_symbol* z, const std::string& m) {
    ZBarcode_Clear(z);
    z->symbology = BARCODE_AZTEC;
    z->option_1 = 2; // 23 % error correction, our default
    const int rc =
        ZBarcode_Encode(z, reinterpret_cast<const unsigned char*>(m.data()), int(m.size()));
    benchmark::DoNotOptimize(z->encoded_data);
    return rc < ZINT_ERROR;
}

void BM_kevra_aztec(benchmark::State& state) {
    const std::string m = message(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        if (!ours(m)) state.SkipWithError("encoder failed");
    }
}

void BM_zint_aztec(benchmark::State& state) {
    const std::string m = message(static_cast<size_t>(state.range(0)));
    zint_symbol* z = ZBarcode_Create();
    for (auto _ : state) {
        if (!theirs(z, m)) state.SkipWithError("libzint failed");
    }
    ZBarcode_Delete(z);
}

BENCHMARK(BM_kevra_aztec)->Arg(100)->Arg(1500);
BENCHMARK(BM_zint_aztec)->Arg(100)->Arg(1500);

// Interleaved timing of both encoders, for the ratio.
template <class F> double seconds(F&& f, int reps) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void ratios() {
    zint_symbol* z = ZBarcode_Create();
    for (size_t len : {size_t{100}, size_t{1500}}) {
        const std::string m = message(len);
        const int reps = len < 500 ? 2000 : 200;
        double a = 0;
        double b = 0;
        for (int round = 0; round < 5; ++round) {
            a += seconds([&] { ours(m); }, reps);
            b += seconds([&] { theirs(z, m); }, reps);
        }
        std::printf("aztec %4zu chars: ours %.1f us, libzint %.1f us, ratio ours/libzint %.2f\n",
                    len, a / (5.0 * reps) * 1e6, b / (5.0 * reps) * 1e6, a / b);
    }
    ZBarcode_Delete(z);
}
} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ratios();
    return 0;
}
