// The bigram table's cells, colours and headings, and the phrase: what the user may type and
// which cells its highlight redraws.
#include <gtest/gtest.h>

#include "recording_display.h"
#include "workspace/bigram_table.h"
#include "workspace/colouring.h"
#include "workspace/phrase.h"

namespace zam {
namespace {

using Lines = std::vector<std::string>;

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
        {{10, 40}, {}},             // a row heading
        {{40, 10}, {}},             // a column heading
        {{18, 18}, {}},             // the corner
        {{19, 19}, {1, 1}},         // the corner's last pixel is the inner cell's first
        {{35, 35}, {1, 1}},         // shared by four cells: the lowest indexes
        {{36, 36}, {2, 2}},
        {{515, 515}, {31, 31}},
        {{516, 100}, {}},           // past the grid
        {{100, -5}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BigramCellAt(c.p), c.cell) << c.p.x << ", " << c.p.y;
    }
    EXPECT_EQ(BigramOf({kA, kB}), "АБ");  // row symbol first
    EXPECT_EQ(BigramOf({}), "");
}

class Bigrams : public ::testing::Test {
protected:
    void Load(std::string_view text) { testing::LoadCipherText(ws, text); }
    BigramCellLook Look(int column, int row) { return LookOfBigramCell(ws, palette, column, row); }

    Workspace ws;
    ColourPalette palette;
    testing::RecordingDisplay display{ws};
};

TEST_F(Bigrams, CountsTakeTheScaleFromTheRarestToTheMostFrequentPair) {
    Load("ААААБВ");  // АА 3, АБ 1, БВ 1
    EXPECT_EQ(Look(kA, kA).label, "3");
    EXPECT_EQ(Look(kA, kA).background, palette[16]);
    EXPECT_EQ(Look(kB, kA).background, palette[15]);
    EXPECT_EQ(Look(kB, kA).text, palette[4]);
    // A pair that never occurs: no text, the plain background.
    EXPECT_EQ(Look(kA, kB).label, "");
    EXPECT_EQ(Look(kA, kB).background, palette[3]);
    // The doubled letters' diagonal has the heavier outline, with or without a count.
    EXPECT_EQ(Look(kA, kA).outline, 2);
    EXPECT_EQ(Look(kB, kB).outline, 2);
    EXPECT_EQ(Look(kB, kA).outline, 1);
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
    EXPECT_EQ(Look(0, 0).label, "");
    for (int i = 1; i <= kSymbolCount; ++i) {
        EXPECT_EQ(ColumnHeadingStep(ws, i), 3);
        EXPECT_EQ(RowHeadingStep(ws, i), 3);
    }
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

TEST(Phrase, FoldedByTheProgramAndMadeOfCipherSymbolsOnly) {
    const struct {
        const char* typed;
        std::optional<std::string> phrase;
    } cases[] = {
        {"ста", "СТА"},       {"я", "Я"},          {"СтА_", "СТА_"},   {"", ""},
        {"AB", std::nullopt}, {"ЙО", std::nullopt}, {"О ", std::nullopt}, {"ъ", std::nullopt},
        {"ё", std::nullopt},  {"О?", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PhraseFromEditText(c.typed), c.phrase) << c.typed;
    }
    EXPECT_EQ(FoldPhraseByte('\xFF'), '\xDF');  // я -> Я whatever the code page
    EXPECT_EQ(FoldPhraseByte('\x9F'), '\x9F');
}

TEST(Phrase, TypedKeysBecomeCipherSymbolsOrNothing) {
    // Letters fold; Ё, Й and Ъ in either case are the Е, И and Ь of the cipher alphabet.
    const std::string typed = "аЯ_ёЁйЙъЪ";
    const std::string symbols = "АЯ_ЕЕИИЬЬ";
    for (size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(PhraseSymbolOfTyped(typed[i]), symbols[i]) << i;
    }
    // Whatever would leave Enter without a phrase is refused at once.
    for (const char refused : std::string("aZ1 ?-\xAB\x98")) {
        EXPECT_EQ(PhraseSymbolOfTyped(refused), 0) << static_cast<int>(refused);
    }
    EXPECT_EQ(PhraseSymbolOfTyped('\0'), 0);
}

TEST_F(Bigrams, PhrasesOfEveryLengthAreRedrawnInsideTheText) {
    Load("АБАВ");
    ws.PlainLetter = " ";
    // One letter: drawn and removed like any phrase.
    RedrawOverlayOccurrences(ws, display, "", "А");
    EXPECT_EQ(display.log, (Lines{"cell C 1", "cell P 1", "cell C 3", "cell P 3"}));
    display.log.clear();
    ws.HilitePhrase = false;
    RedrawOverlayOccurrences(ws, display, "А", "");
    EXPECT_EQ(display.log.size(), 4u);
    display.log.clear();
    ws.HilitePhrase = true;
    // Longer than the text, or as long: no stretch fits, and nothing outside it is touched.
    RedrawOverlayOccurrences(ws, display, "АБАВА", "АБАВАБАВ");
    EXPECT_TRUE(display.log.empty());

    // The overlay test at the first and last positions.
    ws.Phrase = "А";
    EXPECT_EQ(TextCellStyle(ws, palette, ws.CipherText, 1).background, palette[13]);
    EXPECT_EQ(TextCellStyle(ws, palette, ws.CipherText, 2).background, palette[3]);
    ws.Phrase = "АБ";
    EXPECT_EQ(TextCellStyle(ws, palette, ws.CipherText, 1).background, palette[13]);
    ws.Phrase = "АВ";
    EXPECT_EQ(TextCellStyle(ws, palette, ws.CipherText, 4).background, palette[13]);
    EXPECT_EQ(TextCellStyle(ws, palette, ws.CipherText, 1).background, palette[3]);
}

}  // namespace
}  // namespace zam
