#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>

#include "solver/language_model.h"
#include "workspace/alphabet.h"

namespace zam::solver {
namespace {

// Symbol indices of a text in the program's alphabet ("_" the gap).
std::string Symbols(std::string_view text) {
    std::string out;
    for (char c : text)
        out += static_cast<char>(SymbolColumn(c) - 1);
    return out;
}

std::uint64_t Hash(std::string_view text) {
    std::uint64_t hash = kWordHashStart;
    for (char s : Symbols(text))
        hash = WordHashStep(hash, s);
    return hash;
}

std::size_t Quad(std::string_view text) {
    const std::string s = Symbols(text);
    return static_cast<std::size_t>(QuadgramIndex(s[0], s[1], s[2], s[3]));
}

// "~" stands for kOutside, what lies before a word's opening gap.
std::size_t Context(std::string_view text) {
    int index = 0;
    for (char c : text)
        index = index << kIndexBits | (c == '~' ? kOutside : SymbolColumn(c) - 1);
    return static_cast<std::size_t>(index) << kIndexBits;
}

TEST(LanguageModel, ConditionalLevelsAreSmoothedProbabilities) {
    const LanguageModel& model = WithGapModel();
    // Every context, counted or not, the start of a word included, shares out one whole.
    for (const auto* table : {&model.conditional, &model.typeConditional, &model.nameConditional}) {
        for (std::string_view context : {"_ЧТ", "ГИМ", "ЖЖЖ", "~~_", "~_Ы"}) {
            double sum = 0;
            for (std::size_t d = 0; d < 32; ++d) {
                sum += std::pow(10.0, (*table)[Context(context) + d] / 20.0);
            }
            EXPECT_NEAR(sum, 1.0, 0.1) << context;  // levels are rounded to twentieths
        }
    }
    EXPECT_GT(model.conditional[Quad("_ЧТО")], -20);  // О after "_ЧТ" is all but certain
    // Neither quadgram was ever counted: each reads as its shorter context says, not as a floor.
    EXPECT_GT(model.conditional[Quad("ГИМА")], model.conditional[Quad("ГИМЩ")]);
}

TEST(LanguageModel, LevelSumAddsShares) {
    EXPECT_EQ(LevelSum(-100, -100), -94);  // twice the share: log10(2) is six twentieths
    EXPECT_EQ(LevelSum(0, -30000), 0);     // far below: nothing to add
}

TEST(LanguageModel, StemsAreListedWordsLessOneToThreeLettersOfAtLeastFour) {
    const StemSet& stems = WithGapModel().stems;
    EXPECT_TRUE(stems.Contains(Hash("БУКАШК")));  // БУКАШКА, БУКАШКИ
    EXPECT_FALSE(stems.Contains(Hash("БУКАЗК")));
    EXPECT_FALSE(stems.Contains(Hash("БУК")));  // too short to say anything
}

}  // namespace
}  // namespace zam::solver
