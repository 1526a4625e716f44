#include <gtest/gtest.h>

#include <numeric>

#include "workspace/text_stats.h"

namespace zam {
namespace {

CipherStats Build(std::string_view text) {
    CipherStats stats;
    BuildLetterStatistics(stats, text);
    BuildPairStatistics(stats, text);
    return stats;
}

const int A = 1, B = 2, V = 3, GAP = 31;

TEST(TextStats, CountsRangesAndShares) {
    const CipherStats stats = Build("АААААБ");
    EXPECT_EQ(stats.letterMax, 5);
    EXPECT_EQ(stats.letterMin, 1);  // symbols that do not occur do not lower it
    EXPECT_EQ(stats.positions[A], (PositionList{1, 2, 3, 4, 5}));
    EXPECT_EQ(stats.positions[B], (PositionList{6}));
    EXPECT_TRUE(stats.positions[V].empty());
    EXPECT_FLOAT_EQ(stats.share[A], 500.0f / 6);
    EXPECT_EQ(stats.share[V], 0.0f);
    // The least frequent letter that occurs, also when the counts are one apart.
    EXPECT_EQ(Build("ВВВББ").letterMin, 2);
}

TEST(TextStats, PairsOverlapAndTheGapCountsLikeALetter) {
    const CipherStats stats = Build("ААА_Б_Б");
    EXPECT_EQ(stats.Pairs(A, A), (PositionList{1, 2}));
    EXPECT_EQ(stats.Pairs(A, GAP), (PositionList{3}));
    EXPECT_EQ(stats.Pairs(GAP, B), (PositionList{4, 6}));
    EXPECT_EQ(stats.Pairs(B, GAP), (PositionList{5}));
    EXPECT_EQ(stats.positions[GAP], (PositionList{4, 6}));
    EXPECT_EQ(stats.pairMax, 2);
    EXPECT_EQ(stats.pairMin, 1);
}

TEST(TextStats, SharesOfACipherTextAddUpToOneHundred) {
    const CipherStats stats = Build("СЪЕШЬ_ЖЕ_ЕЩЁ_ЭТИХ_МЯГКИХ_ФРАНЦУЗСКИХ_БУЛОК");
    // Ъ and Ё have no column: they are left out of every list and are not counted.
    float sum = 0;
    size_t counted = 0;
    for (int c = 1; c <= 31; ++c) {
        sum += stats.share[c];
        counted += stats.positions[c].size();
    }
    EXPECT_EQ(counted, 40u);
    EXPECT_NEAR(sum, 100.0f * 40 / 42, 1e-3);
    EXPECT_EQ(stats.positions[SymbolColumn('С')].front(), 1);
    EXPECT_TRUE(stats.Pairs(SymbolColumn('С'), SymbolColumn('Е')).empty());  // С Ъ Е is no pair
}

TEST(TextStats, ShortTextsAndTheLongestOneThatFitsSixteenBitPositions) {
    const CipherStats one = Build("Ж");
    EXPECT_EQ(one.pairMax, 0);
    EXPECT_EQ(one.pairMin, 0);
    EXPECT_EQ(one.letterMin, 1);
    EXPECT_FLOAT_EQ(one.share[7], 100.0f);
    const CipherStats empty = Build("");
    EXPECT_EQ(empty.letterMin + empty.letterMax + empty.pairMin + empty.pairMax, 0);

    const CipherStats stats = Build(std::string(kMaxTextLength, 'О'));
    EXPECT_EQ(stats.letterMax, 65535);
    EXPECT_EQ(stats.positions[14].back(), 65535);
    EXPECT_EQ(stats.pairMax, 65534);
    EXPECT_EQ(stats.Pairs(14, 14).back(), 65534);
}

TEST(TextStats, ClearEmptiesListsAndSharesButKeepsTheRanges) {
    CipherStats stats = Build("АБАБ");
    stats.Clear();
    EXPECT_TRUE(stats.positions[A].empty());
    EXPECT_TRUE(stats.Pairs(A, B).empty());
    EXPECT_EQ(stats.share[A], 0.0f);
    EXPECT_EQ(stats.letterMax, 2);
    EXPECT_EQ(stats.pairMax, 2);
}

}  // namespace
}  // namespace zam
