#include <gtest/gtest.h>

#include "workspace/text_stats.h"

namespace zam {
namespace {

CipherStats Build(std::string_view text) {
    CipherStats stats;
    BuildLetterStatistics(stats, text);
    BuildPairStatistics(stats, text);
    return stats;
}

const int A = 1, B = 2, GAP = 31;

TEST(TextStats, CountsRangesAndShares) {
    const CipherStats stats = Build("АААААБ");
    EXPECT_EQ(stats.letterMax, 5);
    EXPECT_EQ(stats.letterMin, 1);  // symbols that do not occur do not lower it
    EXPECT_EQ(stats.positions[A], (PositionList{1, 2, 3, 4, 5}));
    EXPECT_FLOAT_EQ(stats.share[A], 500.0f / 6);
    // The least frequent letter that occurs, also when the counts are one apart.
    EXPECT_EQ(Build("ВВВББ").letterMin, 2);
}

TEST(TextStats, PairsOverlapAndTheGapCountsLikeALetter) {
    const CipherStats stats = Build("ААА_Б_Б");
    EXPECT_EQ(stats.Pairs(A, A), (PositionList{1, 2}));
    EXPECT_EQ(stats.Pairs(GAP, B), (PositionList{4, 6}));
    EXPECT_EQ(stats.Pairs(B, GAP), (PositionList{5}));
    EXPECT_EQ(stats.pairMax, 2);
    EXPECT_EQ(stats.pairMin, 1);
    // Ъ and Ё have no column: they are left out of every list and are not counted.
    const CipherStats other = Build("СЪЕ_ЕЩЁ");
    EXPECT_EQ(other.positions[SymbolColumn('Е')], (PositionList{3, 5}));
    EXPECT_TRUE(other.Pairs(SymbolColumn('С'), SymbolColumn('Е')).empty());  // С Ъ Е is no pair
    EXPECT_NEAR(other.share[SymbolColumn('Е')], 200.0f / 7, 1e-3);
}

TEST(TextStats, ShortTextsAndTheLongestOneThatFitsSixteenBitPositions) {
    const CipherStats one = Build("Ж");
    EXPECT_EQ(one.pairMax, 0);
    EXPECT_FLOAT_EQ(one.share[7], 100.0f);
    const CipherStats stats = Build(std::string(kMaxTextLength, 'О'));
    EXPECT_EQ(stats.positions[14].back(), 65535);
    EXPECT_EQ(stats.pairMax, 65534);
    EXPECT_EQ(stats.Pairs(14, 14).back(), 65534);
}

}  // namespace
}  // namespace zam
