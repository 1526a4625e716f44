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
    EXPECT_LT(model.conditional[Quad("_ЧТЫ")], model.conditional[Quad("_ЧТО")]);
    // Neither quadgram was ever counted: each reads as its shorter context says, not as a floor.
    EXPECT_GT(model.conditional[Quad("ГИМА")], model.conditional[Quad("ГИМЩ")]);
    // Words begin as the text shows: Ы all but never does, whatever the shorter contexts say.
    for (const auto* table : {&model.conditional, &model.typeConditional}) {
        EXPECT_GT((*table)[Context("~~_") + Symbols("П")[0]], -30);
        EXPECT_LT((*table)[Context("~~_") + Symbols("Ы")[0]], -80);
    }
    // Names end as patronymics and surnames do, far more often than rare words.
    EXPECT_GT(model.nameConditional[Quad("ЬИЧ_")], model.typeConditional[Quad("ЬИЧ_")]);
    EXPECT_GT(model.nameConditional[Quad("ЬИЧ_")], model.nameConditional[Quad("ЬИХ_")]);
    EXPECT_TRUE(LettersOnlyModel().conditional.empty());
    EXPECT_TRUE(LettersOnlyModel().typeConditional.empty());
    EXPECT_TRUE(LettersOnlyModel().nameConditional.empty());
}

TEST(LanguageModel, LevelSumAddsShares) {
    EXPECT_EQ(LevelSum(-100, -100), -94);  // twice the share: log10(2) is six twentieths
    EXPECT_EQ(LevelSum(-100, -120), LevelSum(-120, -100));
    EXPECT_EQ(LevelSum(-100, -120), -99);
    EXPECT_EQ(LevelSum(-100, -400), -100);  // far below: nothing to add
    EXPECT_EQ(LevelSum(0, -30000), 0);
}

TEST(LanguageModel, PairTablesWeighNeighbours) {
    const LanguageModel& model = WithGapModel();
    // A pair met often enough is listed; its level says how much likelier the second word is
    // after the first than alone.
    EXPECT_GT(model.pairs.Find(PairHash(Hash("ЭТО"), Hash("ВРЕМЯ")), -999), 0);
    EXPECT_EQ(model.pairs.Find(PairHash(Hash("ЖЖЖ"), Hash("ВРЕМЯ")), -999), -999);
    // Any other pair: the first word's last two letters ask for the case of the second.
    const auto suffixes = [&](std::string_view first, std::string_view second) {
        return model.suffixes.Find(SuffixPairHash(Hash(first), Hash(second)), 0);
    };
    EXPECT_GT(suffixes("МУ", "ИЮ"), 0);  // ВЗАИМНОМУ УДОВОЛЬСТВИЮ
    EXPECT_GT(suffixes("МУ", "ИЮ"), suffixes("МУ", "ИЯ"));
    // After a preposition of one letter, by the last letter of the next word.
    EXPECT_GT(model.endings.Find(EndingHash(Hash("К"), Symbols("Ю")[0]), -999),
              model.endings.Find(EndingHash(Hash("К"), Symbols("Я")[0]), -999));
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
