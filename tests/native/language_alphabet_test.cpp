#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>

#include "language/reference_data.h"
#include "workspace/alphabet.h"
#include "workspace/workspace.h"

namespace zam {
namespace {

using language::AlternationCell;
using language::ReferenceShare;

TEST(Alphabet, ColumnsFollowTheWorkingOrderNotByteOrder) {
    // Ь (byte 0xDC) stands before Ы (0xDB).
    for (const auto& [symbol, column] :
         {std::pair{'А', 1}, {'Щ', 25}, {'Ь', 26}, {'Ы', 27}, {'Я', 30}, {'_', 31}, {'?', 32}}) {
        EXPECT_EQ(SymbolColumn(symbol), column) << symbol;
    }
    for (const char outside : {' ', 'Ъ', 'Й', 'Ё', 'а', '\0'}) {
        EXPECT_EQ(SymbolColumn(outside), -1) << static_cast<int>(outside);
    }
}

// The tables are data; what a typo or a shifted row would spoil is their order and their sums.
TEST(ReferenceData, SharesCombinationsAndTheCardFollowTheWorkingOrder) {
    double sum = 0;
    for (int p = 1; p <= 31; ++p)
        sum += ReferenceShare(p);
    EXPECT_NEAR(sum, 100.0, 1e-3);
    // The gap, О, Ф, then Ь before Ы; nothing outside 1-31; the key starts with a copy.
    const std::pair<int, float> shares[] = {{31, 17.4f}, {26, 1.4f}, {27, 1.6f}, {32, 0.0f}};
    for (const auto& [column, share] : shares) {
        EXPECT_FLOAT_EQ(ReferenceShare(column), share) << column;
    }
    EXPECT_EQ(SubstitutionKey().referenceFrequencies[26], ReferenceShare(26));
    // The alternation card: a single blank at (0, 4); here Ы before Ь; nothing outside.
    const std::tuple<int, int, const char*> cells[] = {{0, 4, " "},   {26, 4, "Ы"}, {27, 4, "Ь"},
                                                       {30, 1, "43"}, {31, 1, ""},  {-1, 1, ""}};
    for (const auto& [row, column, text] : cells) {
        EXPECT_STREQ(AlternationCell(row, column), text) << row << ", " << column;
    }
}

}  // namespace
}  // namespace zam
