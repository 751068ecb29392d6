// DataMatrix ECC 000-140: the computed and transcribed tables against the
// published digests, the published streams and symbols module for module,
// the published capacities, the edge cases, and every type, base and size
// read back by the test reader, also with modules flipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/matrix/datamatrix000_internal.hpp"
#include "tests/matrix/datamatrix_testutil.hpp"
#include "tests/support/dm000_reader.hpp"
#include "tests/support/sha256.hpp"

using dmtest::printable;

namespace {
// A record built from `data` with an ECC 000-140 type.
struct Built : dmtest::built {
    Built(int32_t type, const std::string& data, int32_t reqsize = 0)
        : dmtest::built(data, 0, reqsize, type) {}
    Bitmap grid() const { return dmtest::symbolbitmap(sym); }
    // Module rows as '0'/'1' characters, each followed by a line feed.
    std::string rows() const {
        std::string s;
        for (int y = 0; y < sym.imageheight; ++y) {
            for (int x = 0; x < sym.imagewidth; ++x) s += datamtx_igetpt(&sym, x, y) ? '1' : '0';
            s += '\n';
        }
        return s;
    }
};

std::string joined(const std::vector<std::string>& rows) {
    std::string s;
    for (const std::string& r : rows) s += r + '\n';
    return s;
}

std::string repeated(const std::string& unit, size_t n) {
    std::string s;
    while (s.size() < n) s += unit;
    s.resize(n);
    return s;
}
} // namespace

TEST(DataMatrix000Tables, PlacementMatchesPublishedDigests) {
    struct Row {
        int n;
        const char* first; // the table's first entries
        const char* sha256;
    };
    // The standard's placement tables: first entries and digests as published.
    const Row rows[] = {
        {7, "2, 45, 10, 38, 24, 21",
         "3d8a349bd170c5ca04b8ca34e873ab590792228ce2f422f130ec5ff780c0d37a"},
        {9, "2, 19, 55, 10, 46, 28",
         "cd0ae3c5f61a3af7256d90cadde0f90252feaceb62a91258af6e1ea6a127aab1"},
        {11, "2, 26, 114, 70, 15, 103",
         "969008ff3fe6e1bab3beb872e270871612b91db997f751cfcb167e0cd7a790cf"},
        {13, "2, 159, 29, 133, 81, 16",
         "7890f8c49da613b590351cc16b6919dbf97a1c313f509498e740bccfc3730333"},
        {15, "2, 187, 37, 157, 97, 217",
         "eecccb30284f31d4b14868c0063a874cf7e11917608a78a3d0430799145d68de"},
        {17, "2, 69, 205, 35, 171, 103",
         "2d5dd51cb0728685be4f2aaca4342abb8af8cca3c0b48d86bc69f9863826b4e5"},
        {19, "2, 82, 234, 44, 348, 196",
         "b980af1a1c6bbd22d37909b55ccc00592a9bfd49ba84ff7108fcc3aea1a8eb9a"},
        {21, "2, 88, 424, 256, 46, 382",
         "6c469dfe411d641782aab9fae7b539dbcdc183201dc92621ddd0386744f3a986"},
        {23, "2, 102, 470, 286, 56, 424",
         "c901cdb6ad3215c4753b665d59a2fef23c850223a67ec484f6c2895d6cdd7e46"},
        {25, "2, 603, 103, 503, 303, 53",
         "180a3619b80904ed56842ad6c9b2c66dd34a218eda002455bbb083a95d623e7a"},
        {27, "2, 658, 118, 550, 334, 64",
         "1f76d0c5822daf725a4352b21633bef21ba956b0fffe1ed347ca71cafb789e4f"},
        {29, "2, 703, 123, 587, 355, 819",
         "a51178e4a7724317813fbdee86b8341e3dc9b0d17047e9dbb7569b50c71e401c"},
        {31, "2, 759, 139, 635, 387, 883",
         "0fef3a3b99a29c0604ee496f2c475048b54427fa4de8732676a29618adfd2ac1"},
        {33, "2, 265, 793, 133, 661, 397",
         "7a0ad957d7abc5a711a3dfdce3db478c593a0df728a19b53e389de1f0941fa48"},
        {35, "2, 290, 850, 150, 710, 430",
         "be906bf1575ffb5022091d5813579baa935c3959fc4daa6a3283bc3804f28b51"},
        {37, "2, 302, 894, 154, 1338, 746",
         "fce23e1e6c1efd72a1e901506a9dd01b0a086d38c387e589083a2eea6dad3cdc"},
        {39, "2, 328, 952, 172, 1420, 796",
         "a23c07fd88e69b3212e8f6296d446a5b7b8df40b3bae75fe9c4bb52fde9993ff"},
        {41, "2, 332, 1644, 988, 168, 1480",
         "663060e49e4bb85b2f896e6d665b27e1af63f9fc1b9bdf3859cc980e4065fb96"},
        {43, "2, 359, 1735, 1047, 187, 1563",
         "81415d325fe0a8ca9c0b148ff93c404797a195794824d0fae54a6bfef5bcfb0d"},
        {45, "2, 370, 1810, 1090, 190, 1630",
         "970dc785eb56927ae898a6657221bcb9581c9e5f4a15724ab4b2bd5bb61bf22a"},
        {47, "2, 398, 1902, 1150, 210, 1714",
         "2361f6a7c26dd3575097582386ecd1e614840acf2d4d7850fe7bbce36b678ce6"},
    };
    static_assert(std::size(rows) == datamtx000_ngrids);
    for (const Row& r : rows) {
        SCOPED_TRACE("inner size " + std::to_string(r.n));
        const int16_t* grid = datamtx_gridlutxtab[static_cast<size_t>(r.n - 7) / 2];
        std::string all;
        std::string first;
        for (int i = 0; i < r.n * r.n; ++i) {
            all += (i > 0 ? "," : "") + std::to_string(grid[i]);
            if (i < 6) first += (i > 0 ? ", " : "") + std::to_string(grid[i]);
        }
        EXPECT_EQ(first, r.first);
        EXPECT_EQ(sha256_hex(all), r.sha256);
    }
}

TEST(DataMatrix000Tables, RandomStreamMatchesPublishedDigests) {
    const std::string bytes(datamtx_randstrm.begin(), datamtx_randstrm.end());
    std::string bits;
    for (int f = 0; f < datamtx000_maxbits; ++f)
        bits += datamtx_fetchbit(datamtx_randstrm.data(), f) ? '1' : '0';
    EXPECT_EQ(sha256_hex(bytes),
              "a3fea55450eb8c4e779c71fb08df806689f4a97455340fae8989e59c84ccfae3");
    EXPECT_EQ(sha256_hex(bits), "0a2cda2a43eb77b610ced7c58d8194b51986cd6de3ba128e73c19208f1e24d86");
}

TEST(DataMatrix000, CrcCheckValues) {
    struct Row {
        int formatid;
        const char* data;
        uint16_t crc; // published check value
    };
    const Row rows[] = {{3, "AB12-X", 0x7559}, {6, "ABC123", 0xA5E3}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.data);
        EXPECT_EQ(datamtx_crc16calc(datamtx_crc16seed(r.formatid),
                                    reinterpret_cast<const uint8_t*>(r.data),
                                    static_cast<int32_t>(std::string(r.data).size())),
                  r.crc);
    }
}

// The streams the standard prints before randomising: header, coded bits,
// zero fill (for type 0 the protected bits as they are).
TEST(DataMatrix000, PublishedStreamsBeforeRandomising) {
    struct Row {
        int32_t type;
        const char* data;
        int inner;
        const char* bits;
        const char* source;
    };
    const Row rows[] = {
        {50, "AB12-X", 11,
         "0111000000000111000000010101011111110101010101000000100001101101000010100011000000011101"
         "010100110101001100001001010000000",
         "worked example, base 41"},
        {0, "11111", 9,
         "011111100000110100001100001010100000001001011101111100000000000000000000000000000",
         "inner 9 x 9 stream, uncoded"},
        {50, "1", 9,
         "011100000000011100000000000110011100101101000011011000111000011011100011100000000",
         "inner 9 x 9 stream"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.source);
        const auto* data = reinterpret_cast<const uint8_t*>(r.data);
        const auto length = static_cast<int32_t>(std::string(r.data).size());
        const datamtx000_base* base = datamtx000_basedef(datamtx_enc000bestbase(data, length));
        ASSERT_NE(base, nullptr);
        EXPECT_EQ(datamtx000_innersize(r.type, base, length, 0), r.inner);
        uint8_t stream[datamtx000_streambytes];
        ASSERT_EQ(datamtx000_stream(stream, data, length, r.type, base, r.inner), 1);
        std::string bits;
        for (int f = 0; f < r.inner * r.inner; ++f) bits += datamtx_fetchbit(stream, f) ? '1' : '0';
        EXPECT_EQ(bits, r.bits);
    }
}

TEST(DataMatrix000, PublishedSymbolsModuleForModule) {
    struct Row {
        int32_t type;
        std::string data;
        int size;
        std::string sha256; // of the rows, each followed by a line feed
        const char* source;
    };
    const std::string annexq = joined({
        "1010101010101",
        "1110100110010",
        "1100101011011",
        "1101110010100",
        "1110111010101",
        "1011000011000",
        "1111010011011",
        "1001001111100",
        "1101011110011",
        "1011111010100",
        "1100100111101",
        "1001101101110",
        "1111111111111",
    });
    const Row rows[] = {
        {50, "AB12-X", 13, sha256_hex(annexq), "worked example"},
        {0, repeated("1234567890", 200), 31,
         "5e6ad0d7ef1b3efcc6b59c8f89a7ce81334c5349541cd9ce5138e9d0ecb3cb59",
         "printed symbol, 200 digits"},
        {0, repeated("1234567890", 300), 35,
         "069932551fee9c4a6643bdea91662ba9d7a6e6ea60742741854d155d858b7c51",
         "printed symbol, 300 digits"},
        {0, repeated("1234567890", 400), 41,
         "d70d2155dbe6bcaa8fd8496339c26127e7a70f6b6efc7ae448e311f0b883d818",
         "printed symbol, 400 digits"},
    };
    // The rows typed in above are the published symbol itself.
    EXPECT_EQ(sha256_hex(annexq),
              "3d447d6370302eeac7f7f5be8c7d997bde3c2d322dc37e472184ef8d5089f0d6");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.source);
        const Built b(r.type, r.data);
        ASSERT_EQ(b.ok, 1);
        EXPECT_EQ(b.sym.imagewidth, r.size);
        EXPECT_EQ(b.sym.imageheight, r.size);
        // Row by row where the rows are typed in, so a failure shows where.
        if (r.size == 13) {
            EXPECT_EQ(b.rows(), annexq);
        }
        EXPECT_EQ(sha256_hex(b.rows()), r.sha256);
        const Dm000Read got = dm000_read(b.grid());
        EXPECT_TRUE(got.ok) << got.problem;
        EXPECT_EQ(got.data, r.data);
    }
}

TEST(DataMatrix000, BaseChoice) {
    struct Row {
        std::string data;
        int32_t base;
        const char* why;
    };
    const Row rows[] = {
        {"", 11, "empty data"},
        {"   ", 11, "spaces only"},
        {"0 12 345", 11, "digits and spaces"},
        {"HELLO WORLD", 27, "capitals and spaces"},
        {"AB12 X9", 37, "digits and capitals"},
        {"12.5", 41, "a full stop among digits"},
        {"AB.CD", 41, "a full stop among capitals"},
        {"A,B-C/D", 41, "comma, hyphen, slash"},
        {"ABc", 128, "a lower-case letter"},
        {"A+B", 128, "a sign outside base 41"},
        {std::string("A\0B", 3), 128, "byte 0"},
        {"\x7f", 128, "DEL"},
        {"AB\x80", 256, "a byte of 128"},
        {"\xff 1", 256, "byte 255 first"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(printable(r.data) + ": " + r.why);
        EXPECT_EQ(datamtx_enc000bestbase(reinterpret_cast<const uint8_t*>(r.data.data()),
                                         static_cast<int32_t>(r.data.size())),
                  r.base);
    }
}

TEST(DataMatrix000, SizesAndErrors) {
    struct Row {
        int32_t type;
        std::string data;
        int32_t reqsize;
        int32_t error; // 0: the symbol is built
        int size;
        const char* why;
    };
    const Row rows[] = {
        {0, "", 0, DATAMTX_ERR_NONE, 9, "empty data with type 0: the smallest symbol"},
        {140, "", 0, DATAMTX_ERR_NONE, 17, "empty data with type 140 (published: from inner 15)"},
        {0, "1", 20, DATAMTX_ERR_NONE, 21, "requested 20: inner 18 made odd"},
        {80, "1", 21, DATAMTX_ERR_NONE, 21, "requested odd size kept"},
        {0, "1", 49, DATAMTX_ERR_NONE, 49, "largest requested size"},
        {0, "1", 50, DATAMTX_ERR_TOOLONG, 0, "requested size beyond 49"},
        {0, "1", -1, DATAMTX_ERR_PARAM, 0, "negative requested size"},
        {0, std::string(271, '\xff'), 0, DATAMTX_ERR_NONE, 49, "published capacity of 49 x 49"},
        {0, std::string(272, '\xff'), 0, DATAMTX_ERR_TOOLONG, 0, "one byte more"},
        {0, repeated("1234567890", 511), 0, DATAMTX_ERR_NONE, 45, "511 digits: the longest length"},
        {0, repeated("1234567890", 512), 0, DATAMTX_ERR_TOOLONG, 0,
         "512 digits fit 49 x 49 but not the 9-bit length field"},
        {0, repeated("1234567890", 596), 0, DATAMTX_ERR_TOOLONG, 0,
         "the capacity some tables list"},
        {120, "1", 0, DATAMTX_ERR_ECCTYPE, 0, "no such type"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.type) + " / " + r.why);
        const Built b(r.type, r.data, r.reqsize);
        EXPECT_EQ(b.ok, r.error == DATAMTX_ERR_NONE ? 1 : 0);
        EXPECT_EQ(b.sym.error, r.error);
        if (r.error != DATAMTX_ERR_NONE) continue;
        EXPECT_EQ(b.sym.imagewidth, r.size);
        const Dm000Read got = dm000_read(b.grid());
        EXPECT_TRUE(got.ok) << got.problem;
        EXPECT_EQ(got.ecctype, r.type);
        EXPECT_EQ(printable(got.data), printable(r.data));
    }
    datamtx_symbol sym;
    datamtx_open(&sym);
    sym.ecctype = 140;
    EXPECT_EQ(datamtx_imagecalc(&sym, nullptr, 3), 0);
    EXPECT_EQ(sym.error, DATAMTX_ERR_PARAM);
    datamtx_close(&sym);
}

// The standard's table of the most bytes each inner size holds: that many
// give the size, one more the next (or no symbol after 47).
TEST(DataMatrix000, PublishedByteCapacities) {
    struct Row {
        int32_t type;
        int from; // inner size of the first entry
        std::vector<int> capacity;
    };
    const Row rows[] = {
        {0, 7, {1,   5,   10,  16,  23,  31,  40,  50,  61,  73, 86,
                100, 115, 131, 148, 166, 185, 205, 226, 248, 271}},
        {50, 9, {0,  4,  9,  14,  20,  27,  34,  42,  51,  61,
                 72, 83, 95, 108, 121, 135, 150, 166, 183, 200}},
        {80, 11, {2, 6, 10, 16, 22, 28, 36, 44, 52, 62, 72, 82, 94, 106, 118, 132, 146, 160, 176}},
        {100, 11, {0, 3, 7, 11, 15, 20, 26, 32, 38, 45, 53, 61, 69, 78, 88, 98, 108, 119, 131}},
        {140, 15, {1, 3, 5, 7, 10, 13, 16, 20, 24, 28, 32, 36, 41, 46, 51, 57, 63}},
    };
    for (const Row& r : rows) {
        for (size_t i = 0; i < r.capacity.size(); ++i) {
            const int inner = r.from + 2 * static_cast<int>(i);
            SCOPED_TRACE("type " + std::to_string(r.type) + ", inner " + std::to_string(inner));
            const Built fits(r.type, std::string(static_cast<size_t>(r.capacity[i]), '\x81'));
            EXPECT_EQ(fits.sym.imagewidth, inner + 2);
            const Built over(r.type, std::string(static_cast<size_t>(r.capacity[i]) + 1, '\x81'));
            EXPECT_EQ(over.sym.imagewidth, inner == 47 ? 0 : inner + 4);
        }
    }
}

namespace {
// Messages of each base: a prefix that forces the base, then characters of
// its set in a scattered order.
struct BaseMessages {
    int32_t base;
    std::string prefix;
    std::string set;
    std::string make(size_t length) const {
        std::string s = prefix.substr(0, length);
        for (size_t i = s.size(); i < length; ++i) s += set[(i * 7 + i / 3) % set.size()];
        return s;
    }
};

std::vector<BaseMessages> basemessages() {
    std::string ascii, bytes;
    for (int c = 0; c < 256; ++c) (c < 128 ? ascii : bytes) += static_cast<char>(c);
    return {
        {11, "1", " 0123456789"},
        {27, "A", " ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {37, "A1", " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"},
        {41, "A.", " ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,-/"},
        {128, "a", ascii},
        {256, "\xff", ascii + bytes},
    };
}

// The longest message of `m` (from `length` on) that still fits `size`
// when that size is requested; -1 when not even `length` fits.
int fullest(int32_t type, const BaseMessages& m, int length, int size) {
    auto fits = [&](int n) {
        return Built(type, m.make(static_cast<size_t>(n)), size).sym.imagewidth == size;
    };
    if (!fits(length)) return -1;
    while (length < datamtx000_maxlength && fits(length + 1)) ++length;
    return length;
}
} // namespace

// For every type and base, the fullest symbol of every size it reaches
// reads back exactly; the smallest sizes reached are the published ones.
TEST(DataMatrix000, EveryTypeBaseAndSizeReadsBack) {
    struct Row {
        int32_t type;
        int smallest; // symbol size of the published capacity table's first entry
    };
    const Row rows[] = {{0, 9}, {50, 11}, {80, 13}, {100, 13}, {140, 17}};
    for (const Row& r : rows) {
        for (const BaseMessages& m : basemessages()) {
            int length = 0;
            int smallest = 0;
            for (int size = 9; size <= 49; size += 2) {
                SCOPED_TRACE("type " + std::to_string(r.type) + ", base " + std::to_string(m.base) +
                             ", size " + std::to_string(size));
                const int n = fullest(r.type, m, length, size);
                if (n < 0) continue;
                length = n;
                if (smallest == 0) smallest = size;
                const std::string data = m.make(static_cast<size_t>(n));
                const Built b(r.type, data, size);
                const Dm000Read got = dm000_read(b.grid());
                ASSERT_TRUE(got.ok) << got.problem;
                EXPECT_EQ(got.ecctype, r.type);
                EXPECT_EQ(got.corrected, 0);
                if (data.size() >= m.prefix.size()) {
                    EXPECT_EQ(got.base, m.base);
                }
                EXPECT_EQ(printable(got.data), printable(data));
            }
            EXPECT_EQ(smallest, r.smallest) << "type " << r.type << ", base " << m.base;
        }
    }
}

// Modules flipped anywhere in the coded area are corrected by every type
// with a convolutional code; the decoder reports exactly the flips. Type 0
// has no correction: one flipped data module fails the CRC.
TEST(DataMatrix000, FlippedModulesAreCorrected) {
    struct Row {
        int32_t type;
        int flips;
        int n, k, m; // the code, for the extent of the coded area
    };
    const Row rows[] = {
        {50, 2, 4, 3, 3}, {80, 4, 3, 2, 11}, {100, 6, 2, 1, 15}, {140, 8, 4, 1, 13}};
    uint32_t seed = 12345;
    auto random = [&seed](uint32_t below) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % below;
    };
    const std::vector<BaseMessages> bases = basemessages();
    for (const Row& r : rows) {
        int length = 0;
        for (int size = 9; size <= 49; size += 2) {
            const BaseMessages& m = bases[static_cast<size_t>(size / 2) % bases.size()];
            const int n = fullest(r.type, m, 0, size);
            if (n < 0) continue;
            length = n;
            SCOPED_TRACE("type " + std::to_string(r.type) + ", size " + std::to_string(size));
            const std::string data = m.make(static_cast<size_t>(length));
            const Built b(r.type, data, size);
            Bitmap g = b.grid();
            const int inner = size - 2;
            const int16_t* grid = datamtx_gridlutxtab[static_cast<size_t>(inner - 7) / 2];
            // Bits past the last whole output group are read by no decoder.
            const int covered = 19 + (inner * inner - 19) / r.n * r.n;
            std::vector<int> flipped;
            while (static_cast<int>(flipped.size()) < r.flips) {
                const int at = static_cast<int>(random(static_cast<uint32_t>(inner * inner)));
                if (grid[at] >= covered) continue;
                if (std::find(flipped.begin(), flipped.end(), at) != flipped.end()) continue;
                flipped.push_back(at);
                g.set(at % inner + 1, at / inner + 1, !g.get(at % inner + 1, at / inner + 1));
            }
            const Dm000Read got = dm000_read(g);
            ASSERT_TRUE(got.ok) << got.problem;
            EXPECT_EQ(got.corrected, r.flips);
            EXPECT_EQ(printable(got.data), printable(data));
        }
    }
    const Built plain(0, "0123456789");
    Bitmap g = plain.grid();
    const int16_t* grid = datamtx_gridlutxtab[0];
    int at = 0;
    while (grid[at] != 40) ++at; // a data bit
    g.set(at % 7 + 1, at / 7 + 1, !g.get(at % 7 + 1, at / 7 + 1));
    const Dm000Read got = dm000_read(g);
    EXPECT_FALSE(got.ok);
}
