#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "solver/language_model.h"
#include "workspace/alphabet.h"

namespace zam::solver {
namespace {

// Symbol indices of a text in the program's alphabet ("_" the gap).
std::string Symbols(std::string_view text) {
    std::string out;
    for (char c : text) out += static_cast<char>(SymbolColumn(c) - 1);
    return out;
}

std::uint64_t Hash(std::string_view text) {
    std::uint64_t hash = kWordHashStart;
    for (char s : Symbols(text)) hash = WordHashStep(hash, s);
    return hash;
}

std::size_t Quad(std::string_view text) {
    const std::string s = Symbols(text);
    return static_cast<std::size_t>(QuadgramIndex(s[0], s[1], s[2], s[3]));
}

TEST(LanguageModel, ConditionalLevelsAreTheQuadgramLessItsLeadingTrigram) {
    const LanguageModel& model = WithGapModel();
    const std::string s = Symbols("_ЧТО");
    const std::size_t seen = Quad("_ЧТО");
    EXPECT_EQ(model.conditional[seen],
              model.quadgrams[seen] - model.trigrams[static_cast<std::size_t>(
                                          TrigramIndex(s[0], s[1], s[2]))]);
    EXPECT_GT(model.conditional[seen], -20);  // О after "_ЧТ" is all but certain
    EXPECT_LT(model.conditional[Quad("_ЧТЫ")], model.conditional[seen]);

    // After a trigram never seen every symbol costs the same, and dearly: otherwise a key could
    // hide any amount of nonsense behind one unseen trigram.
    EXPECT_EQ(model.conditional[Quad("ЖЖЖО")], model.conditional[Quad("ЖЖЖА")]);
    EXPECT_LT(model.conditional[Quad("ЖЖЖО")], -60);
    EXPECT_TRUE(LettersOnlyModel().conditional.empty());
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
