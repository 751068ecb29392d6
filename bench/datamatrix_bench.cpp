// DataMatrix ECC200: data to module grid, our encoder beside libzint on the
// same messages in the same run. libzint is run twice: with its default
// (minimal) encodation and with FAST_MODE, which uses the same look-ahead
// algorithm as ours. No library encodes ECC 000-140, so the ECC 140 encoder
// is measured beside our own ECC 200 on the same 100-character message.
#include <benchmark/benchmark.h>
#include <zint.h>

#include <cstdint>
#include <string>

#include "core/matrix/datamatrix.hpp"

namespace {
std::string message(int which) {
    switch (which) {
    case 0:
        return "Hello 123";
    case 1: {
        static const std::string words = "The quick brown fox jumps over the lazy dog, "
                                         "then rests; order 42 ships on Monday. ";
        std::string s;
        while (s.size() < 500) s += words;
        return s.substr(0, 500);
    }
    default: {
        std::string s;
        uint32_t x = 12345;
        for (int i = 0; i < 1500; ++i) {
            x = x * 1103515245u + 12345u;
            s += static_cast<char>('0' + (x >> 16) % 10);
        }
        return s;
    }
    }
}

const char* label(int which) {
    return which == 0 ? "hello123" : which == 1 ? "text500" : "digits1500";
}

void BM_kevra(benchmark::State& st) {
    const std::string m = message(static_cast<int>(st.range(0)));
    st.SetLabel(label(static_cast<int>(st.range(0))));
    datamtx_symbol sym;
    for (auto _ : st) {
        datamtx_open(&sym);
        sym.ecctype = 200;
        const int32_t ok = datamtx_imagecalc(&sym, reinterpret_cast<const uint8_t*>(m.data()),
                                             static_cast<int32_t>(m.size()));
        if (ok == 0) st.SkipWithError("encode failed");
        benchmark::DoNotOptimize(sym.image.get());
        datamtx_close(&sym);
    }
}

void BM_kevra_ecc(benchmark::State& st) {
    // Capitals and spaces: ECC 140 holds 100 of them (base 27) in 49 x 49.
    std::string m;
    while (m.size() < 100) m += "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG ";
    m.resize(100);
    const auto ecctype = static_cast<int32_t>(st.range(0));
    st.SetLabel("text100 ecc" + std::to_string(ecctype));
    datamtx_symbol sym;
    for (auto _ : st) {
        datamtx_open(&sym);
        sym.ecctype = ecctype;
        const int32_t ok = datamtx_imagecalc(&sym, reinterpret_cast<const uint8_t*>(m.data()),
                                             static_cast<int32_t>(m.size()));
        if (ok == 0) st.SkipWithError("encode failed");
        benchmark::DoNotOptimize(sym.image.get());
        datamtx_close(&sym);
    }
}

void zintrun(benchmark::State& st, int mode) {
    const std::string m = message(static_cast<int>(st.range(0)));
    st.SetLabel(label(static_cast<int>(st.range(0))));
    zint_symbol* z = ZBarcode_Create();
    for (auto _ : st) {
        ZBarcode_Clear(z);
        z->symbology = BARCODE_DATAMATRIX;
        z->input_mode = mode;
        z->option_3 = DM_SQUARE;
        if (ZBarcode_Encode(z, reinterpret_cast<const unsigned char*>(m.data()),
                            static_cast<int>(m.size())) >= ZINT_ERROR)
            st.SkipWithError("zint failed");
        benchmark::DoNotOptimize(z->encoded_data);
    }
    ZBarcode_Delete(z);
}

void BM_zint(benchmark::State& st) {
    zintrun(st, DATA_MODE);
}
void BM_zint_fast(benchmark::State& st) {
    zintrun(st, DATA_MODE | FAST_MODE);
}
} // namespace

BENCHMARK(BM_kevra)->DenseRange(0, 2);
BENCHMARK(BM_zint_fast)->DenseRange(0, 2);
BENCHMARK(BM_zint)->DenseRange(0, 2);
BENCHMARK(BM_kevra_ecc)->Arg(200)->Arg(140);

BENCHMARK_MAIN();
