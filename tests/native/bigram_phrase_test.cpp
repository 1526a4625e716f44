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
    const Rect corner = BigramCellRect(0, 0);
    EXPECT_EQ(corner.left, 3);
    EXPECT_EQ(corner.right, 20);
    EXPECT_EQ(BigramCellRect(31, 31).bottom, 516);
    const struct {
        Point p;
        Cell cell;  // row, column
    } cases[] = {
        {{10, 40}, {}},      // a row heading
        {{18, 18}, {}},      // the corner
        {{19, 19}, {1, 1}},  // the corner's last pixel is the inner cell's first
        {{35, 35}, {1, 1}},  // shared by four cells: the lowest indexes
        {{36, 36}, {2, 2}}, {{515, 515}, {31, 31}}, {{516, 100}, {}},  // past the grid
        {{100, -5}, {}},
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
    // A pair that never occurs: no text, the plain background.
    EXPECT_EQ(Look(kA, kB).label, "");
    EXPECT_EQ(Look(kA, kB).background, palette[3]);
    // The doubled letters' diagonal has the heavier outline, with or without a count.
    EXPECT_EQ(Look(kA, kA).outline, 2);
    EXPECT_EQ(Look(kB, kB).outline, 2);
    EXPECT_EQ(Look(kB, 0).label, "Б");
    EXPECT_EQ(Look(0, kV).label, "В");

    Load("АБВГ");  // every pair once: all at the high end
    EXPECT_EQ(Look(kB, kA).background, palette[16]);
    EXPECT_EQ(Look(kV, kB).background, palette[16]);
}

TEST_F(Bigrams, NoCellIsNeverHoveredOrSelectedAndHeadingsFollowTheState) {
    Load("АБВ");
    // Nothing hovered or selected is (0, 0): the corner and the headings stay plain.
    EXPECT_EQ(Look(0, 0).background, palette[3]);
    EXPECT_EQ(ColumnHeadingStep(ws, kA), 3);
    EXPECT_EQ(RowHeadingStep(ws, kA), 3);
    ws.BigramSelectedCell = {kA, kB};
    ws.BigramHoverCell = {kV, kB};
    const struct {
        bool switchOn;
        int cell, hoverCell, column, rowSelected, rowHovered;
    } cases[] = {{true, 11, 7, 11, 11, 7}, {false, 3, 7, 7, 3, 7}};
    for (const auto& c : cases) {
        ws.HiliteSelectedBigram = c.switchOn;
        EXPECT_EQ(BigramCellStep(ws, {kA, kB}), c.cell);
        EXPECT_EQ(BigramCellStep(ws, {kV, kB}), c.hoverCell);
        EXPECT_EQ(ColumnHeadingStep(ws, kB), c.column);
        EXPECT_EQ(RowHeadingStep(ws, kA), c.rowSelected);
        EXPECT_EQ(RowHeadingStep(ws, kV), c.rowHovered);
        EXPECT_EQ(Look(kB, 0).background, palette[c.column]);
    }
    // A hovered or selected cell shows its step's colours, count or not.
    // The selection while the switch is off: its count's colour.
    EXPECT_EQ(Look(kB, kA).background, palette[16]);
    ws.HiliteSelectedBigram = true;
    EXPECT_EQ(Look(kB, kA).background, palette[11]);
    EXPECT_EQ(Look(kB, kA).text, palette[12]);
    EXPECT_EQ(Look(kB, kA).label, "1");
}

// What the user may type as a phrase: folded by the program, made of cipher symbols only; a key
// that would leave Enter without a phrase is refused at once.
TEST(Phrase, FoldedByTheProgramAndMadeOfCipherSymbolsOnly) {
    const struct {
        const char* typed;
        std::optional<std::string> phrase;
    } cases[] = {
        {"ста", "СТА"},       {"СтА_", "СТА_"},     {"", ""},
        {"AB", std::nullopt}, {"ЙО", std::nullopt}, {"О ", std::nullopt},
        {"ё", std::nullopt},  {"О?", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PhraseFromEditText(c.typed), c.phrase) << c.typed;
    }
    EXPECT_EQ(FoldPhraseByte('\xFF'), '\xDF');  // я -> Я whatever the code page
    EXPECT_EQ(FoldPhraseByte('\x9F'), '\x9F');
    // Typed Ё, Й and Ъ in either case are the Е, И and Ь of the cipher alphabet.
    const std::string typed = "аЯ_ёЁйЙъЪaZ1 ?-\xAB\x98";
    const std::string symbols = std::string("АЯ_ЕЕИИЬЬ") + std::string(9, '\0');
    for (size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(PhraseSymbolOfTyped(typed[i]), symbols[i]) << i;
    }
}

}  // namespace
}  // namespace zam
