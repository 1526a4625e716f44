// The bigram table's cells, colours and headings, and the phrase: what the user may type and
// which cells its highlight redraws.
#include <gtest/gtest.h>

#include "recording_display.h"
#include "workspace/bigram_table.h"
#include "workspace/colouring.h"
#include "workspace/phrase.h"

namespace zam {
namespace {

const int kA = SymbolColumn('А');
const int kB = SymbolColumn('Б');
const int kV = SymbolColumn('В');

TEST(BigramTable, CellsOverlapByOnePixelAndOnlyInnerCellsAreHit) {
    EXPECT_EQ(BigramCellRect(31, 31).bottom, 516);
    const struct {
        Point p;
        Cell cell;  // row, column
    } cases[] = {
        {{10, 40}, {}},      // a row heading
        {{18, 18}, {}},      // the corner
        {{19, 19}, {1, 1}},  // the corner's last pixel is the inner cell's first
        {{35, 35}, {1, 1}},  // shared by four cells: the lowest indexes
        {{515, 515}, {31, 31}}, {{516, 100}, {}},  // past the grid
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BigramCellAt(c.p), c.cell) << c.p.x << ", " << c.p.y;
    }
    EXPECT_EQ(BigramOf({kA, kB}), "АБ");  // row symbol first
}

class Bigrams : public ::testing::Test {
protected:
    void Load(std::string_view text) { testing::LoadCipherText(ws, text); }
    BigramCellLook Look(int column, int row) { return LookOfBigramCell(ws, palette, column, row); }

    Workspace ws;
    ColourPalette palette;
};

TEST_F(Bigrams, CountsTakeTheScaleFromTheRarestToTheMostFrequentPair) {
    Load("ААААБВ");  // АА 3, АБ 1, БВ 1
    EXPECT_EQ(Look(kA, kA).label, "3");
    EXPECT_EQ(Look(kA, kA).background, palette[16]);
    EXPECT_EQ(Look(kB, kA).background, palette[15]);
    EXPECT_EQ(Look(kA, kB).background, palette[3]);  // a pair that never occurs
    // The doubled letters' diagonal has the heavier outline, with or without a count.
    EXPECT_EQ(Look(kA, kA).outline, 2);
    EXPECT_EQ(Look(kB, kB).outline, 2);
    EXPECT_EQ(Look(0, kV).label, "В");
}

// What the user may type as a phrase: folded by the program, made of cipher symbols only; a key
// that would leave Enter without a phrase is refused at once.
TEST(Phrase, FoldedByTheProgramAndMadeOfCipherSymbolsOnly) {
    const struct {
        const char* typed;
        std::optional<std::string> phrase;
    } cases[] = {
        {"СтА_", "СТА_"},     {"", ""},
        {"AB", std::nullopt}, {"ЙО", std::nullopt},
        {"О ", std::nullopt}, {"О?", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PhraseFromEditText(c.typed), c.phrase) << c.typed;
    }
    // Typed Ё, Й and Ъ are the Е, И and Ь of the cipher alphabet.
    const std::string typed = "аЯ_ёЙъa ?";
    const std::string symbols = std::string("АЯ_ЕИЬ") + std::string(3, '\0');
    for (size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(PhraseSymbolOfTyped(typed[i]), symbols[i]) << i;
    }
}

}  // namespace
}  // namespace zam
