// MaxiCode: our encoder beside libzint's on the same messages, in one run.
//
// "encode": data to the 33 x 30 module grid, nothing drawn (ours:
// maxicode_hexmapgen; libzint: ZBarcode_Encode, which fills encoded_data).
// "raster": the same plus drawing the symbol at about 300 x 300 dots in each
// library's own raster (ours: maxicode_imagepaint dot by dot into a 1-bit
// bitmap of 304 x 300 dots; libzint: ZBarcode_Encode_and_Buffer at scale 1,
// 299 x 298 pixels of 3 bytes).
//
// Messages: free text in mode 4, and a structured carrier message in mode 2
// (postal code, country and class of service in the primary message, which
// libzint takes as its `primary` field), alone and as symbol 2 of 3 of a
// structured append series. Before the timings the program checks that both
// libraries accept every message and prints how many modules their grids
// differ in (the mode 4 text leaves them a choice of code-set shifts), and
// after the table the ratio ours/libzint of each pair (below 1 = faster).
#include <benchmark/benchmark.h>
#include <zint.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "core/matrix/maxicode.hpp"

namespace {
struct Message {
    const char* name;
    int32_t mode;
    const char* postal;
    int32_t country;
    int32_t service;
    int32_t position; // of `total` in a structured append series
    int32_t total;
    const char* data; // the secondary message
};

const char* const free_text = "Invoice 4711, 12 boxes: 123456789012345678 to Hamburg/DE";
// The structured carrier message, secondary part only (libzint takes the
// primary fields separately).
const char* const secondary = "[)>\x1E"
                              "01\x1D"
                              "961Z00004951\x1DUPSN\x1D"
                              "06X610\x1D"
                              "159\x1D"
                              "1234567\x1D"
                              "1/1\x1D\x1DY\x1D"
                              "634 ALPHA DR\x1DPITTSBURGH\x1DPA";

const std::array<Message, 3> messages{{
    {"mode4", 4, "", 0, 0, 1, 1, free_text},
    {"mode2", 2, "152382802", 840, 1, 1, 1, secondary},
    {"mode2_append", 2, "152382802", 840, 1, 2, 3, secondary},
}};

bool ours(maxicode_sym* sym, const Message& m) {
    maxicode_open(sym);
    return maxicode_hexmapgen(sym, m.position, m.total, m.mode, m.postal, m.country, m.service,
                              m.data, -1) == 1;
}

// libzint's symbol set up for one message; ZBarcode_Clear keeps the options.
void zintsetup(zint_symbol* z, const Message& m) {
    z->symbology = BARCODE_MAXICODE;
    z->option_1 = m.mode;
    if (m.mode == 2 || m.mode == 3)
        std::snprintf(z->primary, sizeof z->primary, "%s%03d%03d", m.postal,
                      static_cast<int>(m.country), static_cast<int>(m.service));
    if (m.total > 1) {
        z->structapp.index = m.position;
        z->structapp.count = m.total;
    }
}

int zintencode(zint_symbol* z, const Message& m) {
    return ZBarcode_Encode(z, reinterpret_cast<const unsigned char*>(m.data),
                           static_cast<int>(std::strlen(m.data)));
}

// Our 1-bit raster of one symbol, rows of 38 bytes, most significant bit
// leftmost.
struct Raster {
    static constexpr int32_t wide = 304;
    static constexpr int32_t deep = 300;
    static constexpr int32_t rowbytes = (wide + 7) / 8;
    std::array<uint8_t, rowbytes * deep> bits{};
};

uint32_t plotdot(void* ctx, int32_t x, int32_t y, int32_t, int32_t) {
    auto* r = static_cast<Raster*>(ctx);
    if (x < 0 || y < 0 || x >= Raster::wide || y >= Raster::deep) return 0;
    r->bits[static_cast<size_t>(y) * Raster::rowbytes + static_cast<size_t>(x) / 8] |=
        static_cast<uint8_t>(0x80u >> (x % 8));
    return 1;
}

// One symbol each way: false when the library refused it.
struct Ours {
    maxicode_sym sym;
    Raster raster;
    bool encode(const Message& m) {
        const bool ok = ours(&sym, m);
        benchmark::DoNotOptimize(sym.grid);
        return ok;
    }
    bool draw(const Message& m) {
        raster.bits.fill(0);
        if (!ours(&sym, m)) return false;
        maxicode_setcallback(&sym, plotdot, &raster);
        const bool ok = maxicode_imagepaint(&sym) == 1;
        benchmark::DoNotOptimize(raster.bits.data());
        return ok;
    }
};

struct Zint {
    zint_symbol* z = ZBarcode_Create();
    Zint() = default;
    Zint(const Zint&) = delete;
    Zint& operator=(const Zint&) = delete;
    ~Zint() { ZBarcode_Delete(z); }
    bool encode(const Message& m) {
        ZBarcode_Clear(z);
        zintsetup(z, m);
        const bool ok = zintencode(z, m) < ZINT_ERROR;
        benchmark::DoNotOptimize(z->encoded_data);
        return ok;
    }
    bool draw(const Message& m) {
        ZBarcode_Clear(z);
        zintsetup(z, m);
        z->scale = 1.0f;
        const bool ok =
            ZBarcode_Encode_and_Buffer(z, reinterpret_cast<const unsigned char*>(m.data),
                                       static_cast<int>(std::strlen(m.data)), 0) < ZINT_ERROR;
        benchmark::DoNotOptimize(z->bitmap);
        return ok;
    }
};

template <class Lib> bool once(Lib& lib, const Message& m, bool raster) {
    const bool ok = raster ? lib.draw(m) : lib.encode(m);
    benchmark::ClobberMemory();
    return ok;
}

template <class Lib> void timed(benchmark::State& state, const Message& m, bool raster) {
    Lib lib;
    for (auto _ : state) {
        if (!once(lib, m, raster)) state.SkipWithError("the library refused the message");
    }
}

// After the table: both libraries timed in alternating rounds (processor
// time) on each message, so that the ratio survives a noisy machine.
double cpuseconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}
template <class Lib> double timedround(Lib& lib, const Message& m, bool raster, int reps) {
    const double t0 = cpuseconds();
    for (int i = 0; i < reps; ++i) once(lib, m, raster);
    return cpuseconds() - t0;
}
void ratios() {
    Ours ours;
    Zint zint;
    for (bool raster : {false, true}) {
        for (const Message& m : messages) {
            const int reps = raster ? 100 : 4000;
            double a = 0;
            double b = 0;
            for (int r = 0; r < 7; ++r) {
                a += timedround(ours, m, raster, reps);
                b += timedround(zint, m, raster, reps);
            }
            std::printf("%s %-12s ours %7.2f us, libzint %7.2f us, ratio ours/libzint %.2f\n",
                        raster ? "raster" : "encode", m.name, a / (7.0 * reps) * 1e6,
                        b / (7.0 * reps) * 1e6, a / b);
        }
    }
}

// Both libraries accept the message; the number of modules in which their
// grids differ, as the run's context.
void comparegrids(const Message& m) {
    maxicode_sym sym;
    zint_symbol* z = ZBarcode_Create();
    zintsetup(z, m);
    std::string note;
    if (!ours(&sym, m) || zintencode(z, m) >= ZINT_ERROR || z->rows != 33 || z->width != 30) {
        note = "an encoder refused the message";
    } else {
        int differ = 0;
        for (int32_t y = 0; y < 33; ++y)
            for (int32_t x = 0; x < 30; ++x)
                differ +=
                    maxicode_igetpt(&sym, x, y) != ((z->encoded_data[y][x / 8] >> (x % 8)) & 1);
        note = differ == 0 ? "identical" : std::to_string(differ) + " modules differ";
    }
    benchmark::AddCustomContext(std::string("grids ") + m.name, note);
    ZBarcode_Delete(z);
}
} // namespace

int main(int argc, char** argv) {
    for (bool raster : {false, true}) {
        for (const Message& m : messages) {
            if (!raster) comparegrids(m);
            const std::string n = std::string(raster ? "raster/" : "encode/") + m.name;
            benchmark::RegisterBenchmark((n + "/ours").c_str(), timed<Ours>, m, raster);
            benchmark::RegisterBenchmark((n + "/zint").c_str(), timed<Zint>, m, raster);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ratios();
    return 0;
}
