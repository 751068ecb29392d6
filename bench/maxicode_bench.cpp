// MaxiCode: our encoder beside libzint's on the same messages, in one run.
// Both build the module grid from the data; ours also paints the symbol at
// 300 dpi in a separate figure.
#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstring>

#include "core/matrix/maxicode.hpp"

namespace {
const char* const free_text = "Invoice 4711, 12 boxes: 123456789012345678 to Hamburg/DE";
// The structured carrier message, secondary part only (zint takes the
// primary fields separately).
const char* const secondary = "[)>\x1E"
                              "01\x1D"
                              "961Z00004951\x1DUPSN\x1D"
                              "06X610\x1D"
                              "159\x1D"
                              "1234567\x1D"
                              "1/1\x1D\x1DY\x1D"
                              "634 ALPHA DR\x1DPITTSBURGH\x1DPA";

void ours_mode4(benchmark::State& state) {
    maxicode_sym sym;
    for (auto _ : state) {
        maxicode_open(&sym);
        benchmark::DoNotOptimize(maxicode_hexmapgen(&sym, 1, 1, 4, "", 0, 0, free_text, -1));
        benchmark::ClobberMemory();
    }
}

void zint_mode4(benchmark::State& state) {
    zint_symbol* z = ZBarcode_Create();
    for (auto _ : state) {
        ZBarcode_Clear(z);
        z->symbology = BARCODE_MAXICODE;
        z->option_1 = 4;
        benchmark::DoNotOptimize(ZBarcode_Encode(z,
                                                 reinterpret_cast<const unsigned char*>(free_text),
                                                 static_cast<int>(std::strlen(free_text))));
    }
    ZBarcode_Delete(z);
}

void ours_mode2(benchmark::State& state) {
    maxicode_sym sym;
    for (auto _ : state) {
        maxicode_open(&sym);
        benchmark::DoNotOptimize(
            maxicode_hexmapgen(&sym, 1, 1, 2, "152382802", 840, 1, secondary, -1));
        benchmark::ClobberMemory();
    }
}

void zint_mode2(benchmark::State& state) {
    zint_symbol* z = ZBarcode_Create();
    for (auto _ : state) {
        ZBarcode_Clear(z);
        z->symbology = BARCODE_MAXICODE;
        z->option_1 = 2;
        std::strcpy(z->primary, "152382802840001");
        benchmark::DoNotOptimize(ZBarcode_Encode(z,
                                                 reinterpret_cast<const unsigned char*>(secondary),
                                                 static_cast<int>(std::strlen(secondary))));
    }
    ZBarcode_Delete(z);
}

// Painting one symbol dot by dot into a counter (what one band costs before
// clipping).
void ours_paint(benchmark::State& state) {
    maxicode_sym sym;
    maxicode_open(&sym);
    maxicode_hexmapgen(&sym, 1, 1, 4, "", 0, 0, free_text, -1);
    long dots = 0;
    maxicode_setcallback(
        &sym,
        [](void* ctx, int32_t, int32_t, int32_t, int32_t) -> uint32_t {
            ++*static_cast<long*>(ctx);
            return 1;
        },
        &dots);
    for (auto _ : state) benchmark::DoNotOptimize(maxicode_imagepaint(&sym));
    state.counters["dots"] = static_cast<double>(dots) / static_cast<double>(state.iterations());
}
} // namespace

BENCHMARK(ours_mode4);
BENCHMARK(zint_mode4);
BENCHMARK(ours_mode2);
BENCHMARK(zint_mode2);
BENCHMARK(ours_paint);
BENCHMARK_MAIN();
