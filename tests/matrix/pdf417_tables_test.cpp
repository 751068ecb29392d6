// PDF417 fixed data: the transcribed codeword patterns against the published
// digest, and the computed error-correction coefficients against entries of
// the published coefficient table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/matrix/pdf417_tables.hpp"
#include "tests/support/sha256.hpp"

TEST(Pdf417Tables, PatternsMatchPublishedDigest) {
    std::string values;
    for (int c = 0; c < 3; ++c) {
        for (int w = 0; w < 929; ++w) {
            if (!values.empty()) values += ',';
            values += std::to_string(pdf417_codetable[c][w]);
        }
    }
    // Digest of the 2787 values in file order, from the patterns file header.
    EXPECT_EQ(sha256_hex(values),
              "e45711d5390cb57b0a1c1476de009ded9ebe3b0895db365fa21c12e1314d9ff5");
}

// Every pattern is 4 bars and 4 spaces of 1..6 modules, bar first, and its
// bar widths identify its cluster: (b1 - b2 + b3 - b4 + 9) mod 9 = 0, 3, 6.
TEST(Pdf417Tables, PatternsBelongToTheirCluster) {
    std::set<uint32_t> seen;
    for (int c = 0; c < 3; ++c) {
        for (int w = 0; w < 929; ++w) {
            const uint32_t p = pdf417_codetable[c][w];
            SCOPED_TRACE("cluster " + std::to_string(3 * c) + " codeword " + std::to_string(w));
            std::vector<int> widths;
            int bit = 1;
            for (int m = 16; m >= 0; --m) {
                const int v = (p >> m) & 1;
                if (widths.empty() || v != bit) widths.push_back(0);
                bit = v;
                ++widths.back();
            }
            ASSERT_EQ(widths.size(), 8u);
            ASSERT_EQ((p >> 16) & 1, 1u);
            for (int e : widths) ASSERT_TRUE(e >= 1 && e <= 6);
            EXPECT_EQ((widths[0] - widths[2] + widths[4] - widths[6] + 9) % 9, 3 * c);
            seen.insert(p);
        }
    }
    EXPECT_EQ(seen.size(), 3u * 929u);
}

TEST(Pdf417Tables, EccCoefficientsMatchPublishedTable) {
    struct Row {
        int level;
        size_t index;
        std::vector<uint16_t> values;
    };
    // Entries of the published coefficient table (constant term first).
    const Row rows[] = {
        {0, 0, {27, 917}},
        {1, 0, {522, 568, 723, 809}},
        {2, 0, {237, 308, 436, 284, 646, 653, 428, 379}},
        {3, 0, {274, 562, 232, 755, 599, 524, 801, 132, 295, 116, 442, 428, 295, 42, 176, 65}},
        {4, 0, {361, 575, 922, 525, 176, 586, 640, 321, 536, 742, 677, 742, 687, 284, 193, 517,
                273, 494, 263, 147, 593, 800, 571, 320, 803, 133, 231, 390, 685, 330, 63,  410}},
        {5, 0, {539, 422, 6, 93, 862, 771, 453, 106, 610, 287, 107, 505}},
        {5, 59, {381, 843, 623, 264, 543}},
        {6, 0, {521, 310, 864, 547, 858}},
        {6, 124, {801, 4, 108, 539}},
        {7, 0, {524, 894, 75, 766, 882, 857, 74, 204, 82, 586}},
        {7, 254, {497, 10}},
        {8, 0, {352, 77, 373, 504, 35, 599, 428, 207, 409, 574}},
        {8, 509, {121, 303, 263}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("level " + std::to_string(row.level) + " from " + std::to_string(row.index));
        const uint16_t* table = pdf417_ecc_table(row.level);
        ASSERT_NE(table, nullptr);
        for (size_t i = 0; i < row.values.size(); ++i)
            EXPECT_EQ(table[row.index + i], row.values[i]) << "entry " << row.index + i;
    }
    EXPECT_EQ(pdf417_ecc_table(-1), nullptr);
    EXPECT_EQ(pdf417_ecc_table(9), nullptr);
    EXPECT_EQ(pdf417_ecc_table8.size(), 512u);
}
