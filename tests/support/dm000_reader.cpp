#include "tests/support/dm000_reader.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/matrix/datamatrix000_tables.hpp"

namespace {
// The error-correction types: header as sent (least significant bit first)
// and convolutional code (n outputs, k inputs, memory m, masks by output,
// then input), as the standard defines them.
struct Code {
    int type;
    uint32_t header;
    int headerbits;
    int n, k, m;
    std::array<uint32_t, 12> masks;
};
constexpr std::array<Code, 5> kCodes = {{
    {0, 126, 7, 1, 1, 0, {1}},
    {50, 57358, 19, 4, 3, 3, {8, 1, 7, 3, 13, 0, 7, 4, 12, 12, 14, 13}},
    {80, 465934, 19, 3, 2, 11, {3442, 281, 1230, 2348, 2160, 3733}},
    {100, 523278, 19, 2, 1, 15, {42977, 55831}},
    {140, 517006, 19, 4, 1, 13, {8779, 9853, 15191, 15199}},
}};

// Character formats by format identifier 1 .. 6.
struct Format {
    int base;
    const char* chars; // null: the value is the byte
    int c, b;          // characters per group, bits per group
};
constexpr std::array<Format, 6> kFormats = {{
    {11, " 0123456789", 6, 21},
    {27, " ABCDEFGHIJKLMNOPQRSTUVWXYZ", 5, 24},
    {41, " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,-/", 4, 22},
    {37, " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 4, 21},
    {128, nullptr, 1, 7},
    {256, nullptr, 1, 8},
}};

using Bits = std::vector<uint8_t>;

bool randombit(int f) {
    return (datamtx_randstrm[static_cast<size_t>(f) / 8] >> (7 - f % 8) & 1) != 0;
}

// The finder: left column and bottom row dark, top row and right column
// alternating from the dark corners.
bool finderok(const Bitmap& g) {
    const int s = g.width;
    for (int i = 0; i < s; ++i) {
        if (!g.get(0, i) || !g.get(i, s - 1)) return false;
        if (g.get(i, 0) != (i % 2 == 0)) return false;
        if (g.get(s - 1, i) != ((s - 1 - i) % 2 == 0)) return false;
    }
    return true;
}

int parity(uint32_t v) {
    return std::popcount(v) & 1;
}

// Maximum-likelihood decoding of a rate k/n convolutional code over the
// trellis of the encoder's register contents, with Hamming distance as the
// branch metric. Survivors are merged by state as in any Viterbi decoder;
// when a code has more states than `keep`, only the best `keep` survive
// each step (which finds the sent path whenever errors are few).
Bits viterbi(const Code& code, const Bits& rx, int steps, int keep, int* distance) {
    struct Node {
        uint64_t state; // register i's last m inputs in bits i*m .. i*m + m - 1
        int metric;
        int parent; // index among the previous step's survivors
        uint8_t input;
    };
    const uint64_t regmask = (uint64_t{1} << code.m) - 1;
    const uint32_t branches = 1u << code.k;
    // Survivors are merged by state through an open-addressed table.
    size_t tablesize = 1;
    while (tablesize < 4 * static_cast<size_t>(keep) * branches) tablesize *= 2;
    std::vector<int> slot(tablesize);
    std::vector<uint32_t> stamp(tablesize, 0);
    std::vector<Node> alive = {{0, 0, -1, 0}};
    std::vector<Node> next;
    std::vector<size_t> stepstart;
    std::vector<int> parents;
    std::vector<uint8_t> inputs;
    for (int s = 0; s < steps; ++s) {
        const uint32_t generation = static_cast<uint32_t>(s) + 1;
        const uint8_t* want = rx.data() + static_cast<size_t>(s) * code.n;
        next.clear();
        for (size_t j = 0; j < alive.size(); ++j) {
            for (uint32_t u = 0; u < branches; ++u) {
                uint32_t full[3];
                uint64_t state = 0;
                for (int i = 0; i < code.k; ++i) {
                    const auto reg =
                        static_cast<uint32_t>(alive[j].state >> (i * code.m) & regmask);
                    full[i] = reg | (u >> i & 1) << code.m;
                    state |= static_cast<uint64_t>(full[i] >> 1) << (i * code.m);
                }
                int metric = alive[j].metric;
                for (int o = 0; o < code.n; ++o) {
                    uint32_t x = 0;
                    for (int i = 0; i < code.k; ++i) x ^= code.masks[o * code.k + i] & full[i];
                    metric += parity(x) != want[o];
                }
                size_t h = (state * 0x9E3779B97F4A7C15u >> 20) & (tablesize - 1);
                while (stamp[h] == generation && next[static_cast<size_t>(slot[h])].state != state)
                    h = (h + 1) & (tablesize - 1);
                const Node node{state, metric, static_cast<int>(j), static_cast<uint8_t>(u)};
                if (stamp[h] != generation) {
                    stamp[h] = generation;
                    slot[h] = static_cast<int>(next.size());
                    next.push_back(node);
                } else if (metric < next[static_cast<size_t>(slot[h])].metric) {
                    next[static_cast<size_t>(slot[h])] = node;
                }
            }
        }
        if (static_cast<int>(next.size()) > keep) {
            std::nth_element(
                next.begin(), next.begin() + keep, next.end(), [](const Node& a, const Node& b) {
                    return a.metric != b.metric ? a.metric < b.metric : a.state < b.state;
                });
            next.resize(static_cast<size_t>(keep));
        }
        stepstart.push_back(parents.size());
        for (const Node& n : next) {
            parents.push_back(n.parent);
            inputs.push_back(n.input);
        }
        alive.swap(next);
    }
    size_t best = 0;
    for (size_t j = 1; j < alive.size(); ++j)
        if (alive[j].metric < alive[best].metric) best = j;
    *distance = alive[best].metric;
    Bits out(static_cast<size_t>(steps) * code.k);
    size_t at = best;
    for (int s = steps - 1; s >= 0; --s) {
        const size_t e = stepstart[static_cast<size_t>(s)] + at;
        for (int i = 0; i < code.k; ++i)
            out[static_cast<size_t>(s) * code.k + i] = inputs[e] >> i & 1;
        at = static_cast<size_t>(parents[e]);
    }
    return out;
}

// Reads `count` bits from `at`, least or most significant first.
uint32_t take(const Bits& b, size_t& at, int count, bool msbfirst) {
    uint32_t v = 0;
    for (int j = 0; j < count; ++j) {
        const uint32_t bit = at < b.size() ? b[at] : 0;
        ++at;
        v |= bit << (msbfirst ? count - 1 - j : j);
    }
    return v;
}

uint16_t crc16(uint16_t crc, const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        for (int b = 0; b < 8; ++b) {
            const bool x = ((crc ^ (p[i] >> b)) & 1) != 0;
            crc = static_cast<uint16_t>(crc >> 1);
            if (x) crc ^= 0x8408;
        }
    }
    return crc;
}

// Unpacks the protected stream: format, CRC, length, character groups.
bool unpack(const Bits& prot, Dm000Read& r) {
    size_t at = 0;
    const uint32_t id = take(prot, at, 5, true) + 1;
    if (id < 1 || id > kFormats.size()) {
        r.problem = "format identifier " + std::to_string(id);
        return false;
    }
    const Format& f = kFormats[id - 1];
    r.base = f.base;
    const auto crc = static_cast<uint16_t>(take(prot, at, 16, false));
    const size_t length = take(prot, at, 9, false);
    const size_t need = 30 + length / f.c * f.b + (length % f.c * f.b + f.c - 1) / f.c;
    if (need > prot.size()) {
        r.problem = "length " + std::to_string(length) + " beyond the symbol";
        return false;
    }
    std::string data;
    for (size_t done = 0; done < length;) {
        const int j = static_cast<int>(std::min<size_t>(f.c, length - done));
        uint64_t v = take(prot, at, (j * f.b + f.c - 1) / f.c, false);
        for (int q = 0; q < j; ++q) {
            const uint64_t digit = v % static_cast<uint64_t>(f.base);
            v /= static_cast<uint64_t>(f.base);
            data += f.chars != nullptr ? f.chars[digit] : static_cast<char>(digit);
        }
        if (v != 0) {
            r.problem = "group value beyond the base";
            return false;
        }
        done += static_cast<size_t>(j);
    }
    const uint8_t seed[2] = {static_cast<uint8_t>(id), 0};
    const uint16_t want =
        crc16(crc16(0, seed, 2), reinterpret_cast<const uint8_t*>(data.data()), data.size());
    if (want != crc) {
        r.problem = "CRC mismatch";
        return false;
    }
    r.data = data;
    return true;
}
} // namespace

Dm000Read dm000_read(const Bitmap& g, int keep) {
    Dm000Read r;
    r.size = g.width;
    const int n = g.width - 2;
    if (g.width != g.height || n < 7 || n > 47 || n % 2 == 0) {
        r.problem = "no symbol size";
        return r;
    }
    if (!finderok(g)) {
        r.problem = "finder";
        return r;
    }
    // The stream: bit f is the module showing it, the random bit removed.
    const int16_t* grid = datamtx_gridlutxtab[static_cast<size_t>(n - 7) / 2];
    Bits stream(static_cast<size_t>(n) * n);
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int f = grid[row * n + col];
            stream[static_cast<size_t>(f)] = g.get(col + 1, row + 1) != randombit(f);
        }
    }
    // The nearest header names the type.
    const Code* code = nullptr;
    int best = 99;
    for (const Code& c : kCodes) {
        int d = 0;
        for (int j = 0; j < c.headerbits; ++j)
            d += stream[static_cast<size_t>(j)] != (c.header >> j & 1);
        if (d < best) {
            best = d;
            code = &c;
        }
    }
    if (best > (code->headerbits == 7 ? 1 : 3)) {
        r.problem = "header";
        return r;
    }
    r.ecctype = code->type;
    const Bits coded(stream.begin() + code->headerbits, stream.end());
    Bits prot;
    int distance = 0;
    if (code->type == 0) {
        prot = coded;
    } else {
        // The zero fill continues the code's zero tail, so the whole area
        // is decoded as one message followed by zeros.
        prot = viterbi(*code, coded, static_cast<int>(coded.size()) / code->n, keep, &distance);
    }
    r.corrected = best + distance;
    r.ok = unpack(prot, r);
    return r;
}

Bitmap dm000_modules(const Bitmap& page) {
    const Bitmap::Box box = page.ink();
    if (box.w == 0 || box.h == 0) return {};
    int runs = 0;
    for (int x = box.x; x < box.x + box.w; ++x)
        if (page.get(x, box.y) && !page.get(x - 1, box.y)) ++runs;
    const int size = 2 * runs - 1;
    Bitmap g(size, size);
    for (int row = 0; row < size; ++row) {
        for (int col = 0; col < size; ++col) {
            const int x = box.x + static_cast<int>((col + 0.5) * box.w / size);
            const int y = box.y + static_cast<int>((row + 0.5) * box.h / size);
            g.set(col, row, page.get(x, y));
        }
    }
    return g;
}
