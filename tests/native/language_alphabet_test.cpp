#include <gtest/gtest.h>

#include <cstring>

#include "language/reference_data.h"
#include "workspace/alphabet.h"
#include "workspace/workspace.h"

namespace zam {
namespace {

using language::AlternationCell;
using language::ReferenceShare;

TEST(Alphabet, ColumnsFollowTheWorkingOrderNotByteOrder) {
    EXPECT_EQ(SymbolColumn('А'), 1);
    EXPECT_EQ(SymbolColumn('Щ'), 25);
    EXPECT_EQ(SymbolColumn('Ь'), 26);  // byte 0xDC
    EXPECT_EQ(SymbolColumn('Ы'), 27);  // byte 0xDB
    EXPECT_EQ(SymbolColumn('Я'), 30);
    EXPECT_EQ(SymbolColumn('_'), 31);
    EXPECT_EQ(SymbolColumn('?'), 32);
    for (const char outside : {' ', '7', 'Ъ', 'Й', 'Ё', 'а', 'A', '\0'}) {
        EXPECT_EQ(SymbolColumn(outside), -1) << static_cast<int>(outside);
    }
    for (int column = 1; column <= kColumnCount; ++column) {
        EXPECT_EQ(SymbolColumn(ColumnSymbol(column)), column);
    }
}

TEST(ReferenceData, SharesAreTheRussianTableInAlphabetOrder) {
    double sum = 0;
    for (int p = 1; p <= 31; ++p) sum += ReferenceShare(p);
    EXPECT_NEAR(sum, 100.0, 1e-3);
    EXPECT_FLOAT_EQ(ReferenceShare(31), 17.4f);
    EXPECT_FLOAT_EQ(ReferenceShare(14), 9.0f);  // О
    EXPECT_FLOAT_EQ(ReferenceShare(20), 0.2f);  // Ф
    EXPECT_FLOAT_EQ(ReferenceShare(26), 1.4f);  // Ь stands before Ы
    EXPECT_FLOAT_EQ(ReferenceShare(27), 1.6f);
    EXPECT_EQ(ReferenceShare(0), 0.0f);
    EXPECT_EQ(ReferenceShare(32), 0.0f);

    SubstitutionKey key;  // copies the table
    for (int p = 1; p <= 31; ++p) EXPECT_EQ(key.referenceFrequencies[p], ReferenceShare(p));
    EXPECT_EQ(key.key[32], ' ');
    EXPECT_EQ(key.alphabet[26], 'Ь');
}

TEST(ReferenceData, CombinationsComeInTheirThreeGroups) {
    EXPECT_STREQ(language::FrequentCombination(1), "ИИ");
    EXPECT_STREQ(language::FrequentCombination(4), "СС");
    EXPECT_STREQ(language::FrequentCombination(5), "СТ");
    EXPECT_STREQ(language::FrequentCombination(14), "КО");
    EXPECT_STREQ(language::FrequentCombination(15), "СТО");
    EXPECT_STREQ(language::FrequentCombination(20), "ОВА");
    EXPECT_STREQ(language::FrequentCombination(21), "");
    EXPECT_STREQ(language::FrequentCombination(0), "");
}

TEST(ReferenceData, AlternationCardKeepsItsQuirks) {
    EXPECT_STREQ(AlternationCell(0, 4), " ");  // a single blank, not empty
    EXPECT_STREQ(AlternationCell(0, 3), "Слева");
    EXPECT_STREQ(AlternationCell(26, 4), "Ы");  // usual Russian order here: Ы before Ь
    EXPECT_STREQ(AlternationCell(27, 4), "Ь");
    EXPECT_STREQ(AlternationCell(24, 4), "Ш");
    EXPECT_STREQ(AlternationCell(24, 6), "68");
    EXPECT_STREQ(AlternationCell(24, 7), "3");
    EXPECT_STREQ(AlternationCell(20, 5), "и, е, о, а, е, о, а");
    EXPECT_STREQ(AlternationCell(28, 7), "100");
    EXPECT_STREQ(AlternationCell(30, 1), "43");
    EXPECT_STREQ(AlternationCell(31, 1), "");
    EXPECT_STREQ(AlternationCell(1, 8), "");
    EXPECT_STREQ(AlternationCell(-1, 1), "");
    const int widths[] = {30, 30, 150, 20, 150, 30, 30};
    for (int c = 1; c <= 7; ++c) EXPECT_EQ(language::AlternationColumnWidth(c), widths[c - 1]);
    EXPECT_EQ(language::AlternationColumnWidth(8), 0);
    // Every letter row names its letter in the middle column.
    for (int row = 1; row <= 30; ++row) EXPECT_EQ(std::strlen(AlternationCell(row, 4)), 1u);
}

}  // namespace
}  // namespace zam
