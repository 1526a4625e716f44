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
    for (const auto* table : {&model.conditional, &model.typeConditional}) {
        for (std::string_view context : {"_ЧТ", "ГИМ", "ЖЖЖ", "~~_", "~_Ы"}) {
            double sum = 0;
            for (std::size_t d = 0; d < 32; ++d) {
                sum += std::pow(10.0, (*table)[Context(context) + d] / 20.0);
            }
            EXPECT_NEAR(sum, 1.0, 0.1) << context;  // levels are rounded to twentieths
        }
    }
    EXPECT_GT(model.conditional[Quad("_ЧТО")], -20);  // О after "_ЧТ" is all but certain
    EXPECT_LT(model.conditional[Quad("_ЧТЫ")], model.conditional[Quad("_ЧТО")]);
    // Neither quadgram was ever counted: each reads as its shorter context says, not as a floor.
    EXPECT_GT(model.conditional[Quad("ГИМА")], model.conditional[Quad("ГИМЩ")]);
    // Words begin as the text shows: Ы all but never does, whatever the shorter contexts say.
    for (const auto* table : {&model.conditional, &model.typeConditional}) {
        EXPECT_GT((*table)[Context("~~_") + Symbols("П")[0]], -30);
        EXPECT_LT((*table)[Context("~~_") + Symbols("Ы")[0]], -80);
    }
    EXPECT_TRUE(LettersOnlyModel().conditional.empty());
    EXPECT_TRUE(LettersOnlyModel().typeConditional.empty());
}

TEST(LanguageModel, ListedWordsKnowTheirOwnAndTheirNgramLevels) {
    const LanguageModel& model = WithGapModel();
    const WordLevels* coffee = model.words.Find(Hash("КОФЕ"));
    const WordLevels* skin = model.words.Find(Hash("КОЖЕ"));
    ASSERT_NE(coffee, nullptr);
    ASSERT_NE(skin, nullptr);
    EXPECT_LT(coffee->word, 0);
    EXPECT_LT(coffee->chain, 0);
    // The commoner word has the rarer letter: its own level must outweigh its n-grams'.
    EXPECT_GT(coffee->word, skin->word);
    EXPECT_GT(coffee->word - coffee->chain, skin->word - skin->chain);
    EXPECT_EQ(model.words.Find(Hash("ЖЖЖЖ")), nullptr);
    EXPECT_EQ(LettersOnlyModel().words.Find(Hash("КОФЕ")), nullptr);
}

TEST(LanguageModel, StemsAreListedWordsLessOneToThreeLettersOfAtLeastFour) {
    const StemSet& stems = WithGapModel().stems;
    EXPECT_TRUE(stems.Contains(Hash("БУКАШК")));  // БУКАШКА, БУКАШКИ
    EXPECT_TRUE(stems.Contains(Hash("БУКАШ")));
    EXPECT_FALSE(stems.Contains(Hash("БУКАЗК")));
    EXPECT_FALSE(stems.Contains(Hash("БУК")));  // too short to say anything
    EXPECT_FALSE(stems.Contains(Hash("ЖЖЖЖ")));
}

}  // namespace
}  // namespace zam::solver
