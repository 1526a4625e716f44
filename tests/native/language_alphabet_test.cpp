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
    for (const char outside : {' ', '7', 'Ъ', 'Й', 'Ё', 'а', 'A', '\0'}) {
        EXPECT_EQ(SymbolColumn(outside), -1) << static_cast<int>(outside);
    }
    for (int column = 1; column <= kColumnCount; ++column) {
        EXPECT_EQ(SymbolColumn(ColumnSymbol(column)), column);
    }
}

TEST(ReferenceData, SharesAreTheRussianTableInAlphabetOrder) {
    double sum = 0;
    for (int p = 1; p <= 31; ++p)
        sum += ReferenceShare(p);
    EXPECT_NEAR(sum, 100.0, 1e-3);
    // The gap, О, Ф, then Ь before Ы; nothing outside 1-31.
    const std::pair<int, float> shares[] = {{31, 17.4f}, {14, 9.0f}, {20, 0.2f}, {26, 1.4f},
                                            {27, 1.6f},  {0, 0.0f},  {32, 0.0f}};
    for (const auto& [column, share] : shares) {
        EXPECT_FLOAT_EQ(ReferenceShare(column), share) << column;
    }

    SubstitutionKey key;  // copies the table
    for (int p = 1; p <= 31; ++p)
        EXPECT_EQ(key.referenceFrequencies[p], ReferenceShare(p));
    EXPECT_EQ(key.key[32], ' ');
    EXPECT_EQ(key.alphabet[26], 'Ь');
}

TEST(ReferenceData, CombinationsComeInTheirThreeGroups) {
    const std::pair<int, const char*> combinations[] = {
        {1, "ИИ"}, {4, "СС"}, {5, "СТ"}, {14, "КО"}, {15, "СТО"}, {20, "ОВА"}, {21, ""}, {0, ""}};
    for (const auto& [index, text] : combinations) {
        EXPECT_STREQ(language::FrequentCombination(index), text) << index;
    }
}

TEST(ReferenceData, AlternationCardKeepsItsQuirks) {
    // A single blank, not empty, at (0, 4); the usual Russian order here: Ы before Ь.
    const std::tuple<int, int, const char*> cells[] = {
        {0, 4, " "},    {0, 3, "Слева"}, {26, 4, "Ы"}, {27, 4, "Ь"},
        {24, 4, "Ш"},   {24, 6, "68"},   {24, 7, "3"}, {20, 5, "и, е, о, а, е, о, а"},
        {28, 7, "100"}, {30, 1, "43"},   {31, 1, ""},  {1, 8, ""},
        {-1, 1, ""}};
    for (const auto& [row, column, text] : cells) {
        EXPECT_STREQ(AlternationCell(row, column), text) << row << ", " << column;
    }
    const int widths[] = {30, 30, 150, 20, 150, 30, 30};
    for (int c = 1; c <= 7; ++c)
        EXPECT_EQ(language::AlternationColumnWidth(c), widths[c - 1]);
    EXPECT_EQ(language::AlternationColumnWidth(8), 0);
    // Every letter row names its letter in the middle column.
    for (int row = 1; row <= 30; ++row)
        EXPECT_EQ(std::strlen(AlternationCell(row, 4)), 1u);
}

}  // namespace
}  // namespace zam
