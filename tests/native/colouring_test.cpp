#include <gtest/gtest.h>

#include "recording_display.h"
#include "workspace/colouring.h"
#include "workspace/operations.h"

namespace zam {
namespace {

using Lines = std::vector<std::string>;

bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(CellGeometry, PositionsWrapAtThirtyOneCellsAndNeighboursShareBorders) {
    for (const auto& [position, column, line] :
         {std::tuple{31, 31, 1}, {32, 1, 2}, {62, 31, 2}, {65535, 1, 2115}}) {
        EXPECT_EQ(PlaceOf(position, 31).column, column) << position;
        EXPECT_EQ(PlaceOf(position, 31).line, line) << position;
    }
    EXPECT_TRUE(TextCellRect(1, 31) == (Rect{3, 3, 20, 20}));  // 17 x 17, borders shared
    EXPECT_TRUE(TextCellRect(62, 31) == (Rect{483, 19, 500, 36}));
    EXPECT_TRUE(AlphabetCellRect(3, 32) == (Rect{499, 35, 516, 52}));
}

// The point under the pointer, on both sides of every edge: shared border lines belong to the
// lower position, the margin and the blank rest of the last line to none, and the largest
// text's last line lies beyond 16 bits of pixels.
TEST(CellGeometry, PointsFindTheLowerPositionAndNothingPastTheText) {
    const struct {
        Point point;
        std::uint32_t length, position;
    } cases[] = {
        {{2, 10}, 100, 0},   {{19, 10}, 100, 1},
        {{20, 10}, 100, 2},  {{10, 20}, 100, 32},
        {{500, 10}, 100, 0}, {{40, 20}, 33, 0},
        {{24, 20}, 33, 33},  {{10, 16 * 2114 + 8}, 65535, 65535},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PositionAt(c.point, c.length, 31), c.position) << c.point.x << "," << c.point.y;
    }
}

TEST(Colours, BlendsRoundTiesToEvenAndStayAtTheEndsOfTheScale) {
    EXPECT_EQ(Blend(0x000066, 0x0000EE, 5, 5, 5), 0x0000EEu);  // equal ends: the high end
    EXPECT_EQ(Blend(0x000000, 0x030303, 1, 0, 2), 0x020202u);  // 1.5 rounds to 2
    // Far below the low end a letter absent from the text stays dark instead of wrapping round
    // to the colour of the commonest.
    EXPECT_EQ(Blend(0x000066, 0x0000EE, 0, 1, 2), 0x000000u);
    EXPECT_EQ(Blend(0x000066, 0x0000EE, 4, 1, 2), 0x0000FFu);
}

class Colouring : public ::testing::Test {
protected:
    void Load(std::string_view text) { testing::LoadCipherText(ws, text); }
    CellStyle Cipher(std::uint16_t p) { return TextCellStyle(ws, palette, ws.CipherText, p); }

    Workspace ws;
    ColourPalette palette;
    testing::RecordingDisplay display{ws};
};

TEST_F(Colouring, CurrentAndSelectedLettersAndThePointerWithTheLetterSwitchOff) {
    Load("ЖАЖ");
    ws.CurrentLetter = "Ж";
    ws.SelectedLetter = "Ж";
    Reset(ws, display, false);
    ws.CurrentLetter = "Ж";  // PlainLetter is still empty: the letter rules stay silent
    EXPECT_EQ(Cipher(1).background, palette[3]);

    ws.PlainLetter = " ";
    EXPECT_EQ(Cipher(1).background, palette[7]);
    ws.SelectedLetter = "Ж";
    EXPECT_EQ(Cipher(3).background, palette[9]);
    EXPECT_EQ(Cipher(3).text, palette[10]);

    // With the letter switch off only the cell under the pointer is marked.
    ws.SelectedLetter.clear();
    ws.HiliteCurrent = false;
    ws.PlainLetter = " ";
    ws.CurrentLetter = "Ж";
    ws.HoverPos = 3;
    EXPECT_EQ(Cipher(1).background, palette[3]);
    EXPECT_EQ(Cipher(3).background, palette[7]);
    EXPECT_EQ(AlphabetCellStyle(ws, palette, 1, SymbolColumn('Ж')).background, palette[7]);
    EXPECT_EQ(PositionBackground(ws, palette, 4), palette[3]);  // beyond the text
}

TEST_F(Colouring, OverlaysYieldToTheSelectionAndThePointer) {
    Load("АБВГД");
    ws.PlainLetter = " ";
    ws.Phrase = "БВГ";
    EXPECT_EQ(Cipher(1).background, palette[3]);
    EXPECT_EQ(Cipher(2).background, palette[13]);
    ws.SelectedLetter = "В";
    EXPECT_EQ(Cipher(3).background, palette[9]);  // the selected letter keeps its colours
    ws.HoverPos = 4;
    EXPECT_EQ(Cipher(4).background, palette[3]);  // the cell under the pointer: no overlay
    ws.SelectedBigram = "БВ";
    EXPECT_EQ(Cipher(2).background, palette[11]);  // the selected bigram comes last
    ws.HiliteSelectedBigram = false;
    EXPECT_EQ(Cipher(2).background, palette[13]);

    // An overlay as long as the text never shows; one ending at the last character does.
    ws.Phrase = "АБВГД";
    ws.Phrase = "ГД";
    EXPECT_EQ(Cipher(5).background, palette[13]);
}

// Bold marks cipher letters without an assignment; the plaintext view is bold throughout.
TEST_F(Colouring, AlphabetRowsAndGlyphs) {
    Load("ЖЖЖАБ");
    ws.KeyTable.key[SymbolColumn('Ж')] = 'О';
    ws.PlainText.text = "ООО  ";
    EXPECT_FALSE(Cipher(1).bold);
    EXPECT_TRUE(Cipher(4).bold);
    EXPECT_EQ(Cipher(6).glyph, 0);
    EXPECT_EQ(TextCellStyle(ws, palette, ws.PlainText, 1).glyph, 'О');

    const int zh = SymbolColumn('Ж'), o = SymbolColumn('О'), v = SymbolColumn('В');
    // Row 1: the share scale from letterMin to letterMax, unclamped below it.
    EXPECT_EQ(AlphabetCellStyle(ws, palette, 1, zh).background, palette[16]);
    EXPECT_EQ(AlphabetCellStyle(ws, palette, 1, v).background,
              Blend(palette[15], palette[16], 0, 1, 3));
    // Row 2 scales the chosen letter's reference share; row 3 hides letters in use.
    EXPECT_EQ(AlphabetCellStyle(ws, palette, 2, zh).background,
              Blend(palette[15], palette[16], 9.0f, 0.2f, 17.5f));
    EXPECT_EQ(AlphabetCellStyle(ws, palette, 2, zh).glyph, 'О');
    EXPECT_EQ(AlphabetCellStyle(ws, palette, 3, o).glyph, 0);
    EXPECT_EQ(AlphabetCellStyle(ws, palette, 3, v).glyph, 'В');
    ws.PlainLetter = "В";
    EXPECT_EQ(AlphabetCellStyle(ws, palette, 3, v).background, palette[7]);
}

TEST_F(Colouring, OverlayRedrawsEveryOccurrenceInBothViewsInsideTheText) {
    Load("АБАБВ");
    RedrawOverlayOccurrences(ws, display, "  ", "БАБВ");
    EXPECT_EQ(display.log, (Lines{"cell C 2", "cell P 2", "cell C 3", "cell P 3", "cell C 4",
                                  "cell P 4", "cell C 5", "cell P 5"}));
    display.log.clear();
    // Longer than the text, or as long: no stretch fits, and nothing outside it is touched.
    RedrawOverlayOccurrences(ws, display, "АБАБВА", "АБАБВАБ");
    ws.HilitePhrase = false;
    RedrawOverlayOccurrences(ws, display, "ААА", "БАБВ");
    EXPECT_TRUE(display.log.empty());
}

}  // namespace
}  // namespace zam
