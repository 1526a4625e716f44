#include <gtest/gtest.h>

#include <algorithm>
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

std::uint16_t Ending(std::string_view text) {
    return EndingCodeOf(Symbols(text));
}

TEST(LanguageModel, StemsKnowTheirEndingsAndWhichEndingsGoTogether) {
    const LanguageModel& model = WithGapModel();
    // Each ending with the level of the word it makes.
    const auto forms = model.stems.Of(Hash("БУКАШК"));
    for (std::string_view word : {"БУКАШКА", "БУКАШКИ"}) {
        const auto at =
            std::find(forms.endings.begin(), forms.endings.end(), Ending(word.substr(6)));
        ASSERT_NE(at, forms.endings.end()) << word;
        EXPECT_EQ(forms.levels[static_cast<std::size_t>(at - forms.endings.begin())],
                  model.words.Find(Hash(word))->word);
    }
    EXPECT_TRUE(model.stems.Of(Hash("БУКАЗК")).endings.empty());
    EXPECT_TRUE(model.stems.Of(Hash("БУК")).endings.empty());  // too short to say anything
    // A noun's stem met with -Ы is met with -У too; a verb's with -ТЬ seldom with -НУ.
    const int nounForm = model.endingPairs.Find(EndingPairHash(Ending("У"), Ending("Ы")), -30000);
    const int otherForm =
        model.endingPairs.Find(EndingPairHash(Ending("НУ"), Ending("ТЬ")), -30000);
    EXPECT_GT(nounForm, -20);  // more than a tenth
    EXPECT_EQ(otherForm, -30000);
    // A participle is met beside few of the verbs, but its ending seldom without theirs.
    EXPECT_NE(model.endingPairs.Find(EndingPairHash(Ending("МАЯ"), Ending("Т")), -30000), -30000);
}

}  // namespace
}  // namespace zam::solver
