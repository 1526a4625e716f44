#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "app/cell_painter.h"
#include "tests/native/recording_display.h"
#include "tests/windows/drawing_test.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);

// What one painted cell left on the surface, read pixel by pixel. Wine smooths some glyphs
// (bold ones at this size), so ink is every pixel of the cell that is neither border, fill nor
// left as it was; the text colour itself must still show.
struct Census {
    int border = 0;      // outline pixels in the pen's colour (entry 1)
    int background = 0;  // pixels in the style's background
    int untouched = 0;   // pixels of the cell left as they were
    int ink = 0;
    int text = 0;     // ink in exactly the style's text colour
    int outside = 0;  // changed pixels outside the cell
    Rect inkBox{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
};

class CellPainter : public ::testing::Test {
protected:
    void SetUp() override {
        canvas->SetHandle(surface.Dc());
        PrepareCellCanvas(canvas, palette);
    }
    void TearDown() override { Free(canvas); }

    void UseScheme(Scheme scheme) {
        palette.Choose(scheme);
        PrepareCellCanvas(canvas, palette);
    }

    // Paints the cell on a fresh surface and sorts its pixels.
    Census Paint(const Rect& cell, const CellStyle& style) {
        surface.Fill(kUntouched);
        PaintCell(canvas, cell, style, palette);
        Census census;
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                const COLORREF pixel = surface.At(x, y);
                const bool inside =
                    x >= cell.left && x < cell.right && y >= cell.top && y < cell.bottom;
                const bool edge =
                    x == cell.left || x == cell.right - 1 || y == cell.top || y == cell.bottom - 1;
                if (!inside) {
                    census.outside += pixel != kUntouched;
                } else if (edge && pixel == palette[1]) {
                    ++census.border;
                } else if (pixel == style.background) {
                    ++census.background;
                } else if (pixel == kUntouched) {
                    ++census.untouched;
                } else {
                    ++census.ink;
                    census.text += pixel == style.text;
                    Rect& box = census.inkBox;
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                           std::max(box.bottom, y + 1)};
                }
            }
        }
        return census;
    }

    test::Surface surface{540, 60, kUntouched};
    Canvas* canvas = NewCanvas(nullptr);
    ColourPalette palette;
};

TEST_F(CellPainter, NeighbouringCellsShareTheirBorderLines) {
    const Census one = Paint(TextCellRect(1, 31), CellStyle{RGB(0, 200, 0), 0});
    EXPECT_EQ(one.border, 64);  // the whole 17 x 17 outline
    EXPECT_EQ(one.background, 15 * 15);
    EXPECT_EQ(one.outside, 0);

    // Line 1 ends with 31, line 2 starts with 32; 61 and 62 sit side by side below 31.
    surface.Fill(kUntouched);
    const COLORREF fills[] = {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0), RGB(40, 0, 0)};
    const int positions[] = {31, 32, 61, 62};
    for (int i = 0; i < 4; ++i)
        PaintCell(canvas, TextCellRect(positions[i], 31), CellStyle{fills[i], 0}, palette);
    const COLORREF pen = palette[1];
    EXPECT_EQ(surface.At(483, 3), pen);
    EXPECT_EQ(surface.At(491, 11), fills[0]);
    EXPECT_EQ(surface.At(491, 19), pen) << "31 above 62";
    EXPECT_EQ(surface.At(499, 19), pen);
    EXPECT_EQ(surface.At(500, 11), kUntouched) << "right edge is exclusive";
    EXPECT_EQ(surface.At(3, 19), pen);
    EXPECT_EQ(surface.At(11, 27), fills[1]);
    EXPECT_EQ(surface.At(11, 18), kUntouched) << "cell 1 was not painted";
    EXPECT_EQ(surface.At(20, 27), kUntouched);
    EXPECT_EQ(surface.At(475, 27), fills[2]);
    EXPECT_EQ(surface.At(483, 27), pen) << "61 beside 62";
    EXPECT_EQ(surface.At(491, 27), fills[3]);
    EXPECT_EQ(surface.At(491, 35), pen);
    EXPECT_EQ(surface.At(491, 36), kUntouched) << "bottom edge is exclusive";
}

TEST_F(CellPainter, HollowAndBorderlessCellsFromTheRules) {
    Workspace ws;  // nothing loaded: the plaintext view's cells are hollow
    const Census hollow = Paint(TextCellRect(5, 31), TextCellStyle(ws, palette, ws.PlainText, 5));
    EXPECT_EQ(hollow.border, 64);
    EXPECT_EQ(hollow.untouched, 15 * 15);
    EXPECT_EQ(hollow.outside, 0);

    // Column 32 of the working alphabet: its character alone, without a border or a fill.
    testing::LoadCipherText(ws, "АБВ");
    const CellStyle clear = AlphabetCellStyle(ws, palette, 1, kClearColumn);
    const Census glyphOnly = Paint(AlphabetCellRect(1, kClearColumn), clear);
    EXPECT_EQ(glyphOnly.border, 0);
    EXPECT_GT(glyphOnly.text, 5);
    EXPECT_EQ(glyphOnly.untouched + glyphOnly.ink, 17 * 17) << "only ink was drawn";
    EXPECT_EQ(glyphOnly.outside, 0);
    // The key row of that column holds a space: nothing at all.
    Paint(AlphabetCellRect(2, kClearColumn), AlphabetCellStyle(ws, palette, 2, kClearColumn));
    EXPECT_EQ(surface.Count(kUntouched), surface.Width() * surface.Height());
    // The free-letter row of column 32 is a normal cell.
    const CellStyle freeRow = AlphabetCellStyle(ws, palette, 3, kClearColumn);
    EXPECT_EQ(Paint(AlphabetCellRect(3, kClearColumn), freeRow).border, 64);
}

TEST_F(CellPainter, TheCharacterIsCentredInsideTheBorderAndBoldIsHeavier) {
    const Rect cell = TextCellRect(40, 31);  // inner centre (139, 26)
    for (const char letter : {'Ж', 'I', 'ы'}) {
        CellStyle style{RGB(0, 0, 90), RGB(250, 250, 0), true, true, false, letter};
        const Census regular = Paint(cell, style);
        EXPECT_GT(regular.text, 5) << letter;
        EXPECT_EQ(regular.outside, 0) << letter;
        EXPECT_EQ(regular.border, 64) << letter;
        EXPECT_EQ(regular.background + regular.ink, 15 * 15) << letter;
        EXPECT_NEAR((regular.inkBox.left + regular.inkBox.right) / 2.0, 139.5, 1.5) << letter;
        EXPECT_NEAR((regular.inkBox.top + regular.inkBox.bottom) / 2.0, 26.5, 3.0) << letter;
        style.bold = true;
        const Census bold = Paint(cell, style);
        EXPECT_GT(bold.text, 0) << letter;
        EXPECT_GT(bold.ink, regular.ink * 3 / 2) << letter;
        EXPECT_EQ(bold.outside, 0) << letter;
    }
}

TEST_F(CellPainter, PaintingLeavesTheRestingBrushAndFont) {
    for (const Scheme scheme : {Scheme::Black, Scheme::Yellow}) {
        UseScheme(scheme);
        Paint(TextCellRect(2, 31), CellStyle{RGB(9, 9, 9), RGB(200, 0, 0), false, true, true, 'Щ'});
        EXPECT_EQ(canvas->Brush()->Color(), palette[3]);
        EXPECT_EQ(canvas->Brush()->BrushStyle(), kBrushSolid);
        EXPECT_EQ(canvas->Font()->Color(), palette[4]);
        EXPECT_EQ(canvas->Font()->FontStyle(), 0);
        EXPECT_EQ(canvas->Font()->FontName(), "Arial");
        EXPECT_EQ(canvas->Font()->FontHeight(), 14);
        EXPECT_EQ(canvas->Pen()->Color(), palette[1]);

        canvas->FillRect({100, 0, 110, 10});
        EXPECT_EQ(surface.At(105, 5), palette[3]);
        surface.Fill(kUntouched);
        canvas->TextOut(200, 0, "Ш");
        EXPECT_GT(surface.Count(palette[4]), 10) << "text in entry 4";
        EXPECT_EQ(surface.At(200, 0), palette[3]) << "on an opaque entry 3 background";
    }
}

TEST_F(CellPainter, HighlightsOfRealCellsReachThePixelsInBothSchemes) {
    Workspace ws;
    testing::LoadCipherText(ws, "АБВГДЕ");
    ws.PlainLetter = " ";
    ws.Phrase = "БВГ";
    ws.SelectedLetter = "В";
    ws.HiliteCurrent = false;  // only the cell under the pointer is marked
    ws.HoverPos = 4;
    struct Expected {
        int position;
        int background;
        int text;
    };
    for (const Scheme scheme : {Scheme::Black, Scheme::Yellow}) {
        UseScheme(scheme);
        // Plain, in the phrase, selected inside the phrase, under the pointer inside it.
        for (const Expected e : {Expected{1, 3, 4}, {2, 13, 14}, {3, 9, 10}, {4, 7, 8}}) {
            const CellStyle style = TextCellStyle(ws, palette, ws.CipherText, e.position);
            ASSERT_EQ(style.background, palette[e.background]) << e.position;
            ASSERT_EQ(style.text, palette[e.text]) << e.position;
            const Census census = Paint(TextCellRect(e.position, 31), style);
            EXPECT_EQ(census.border, 64) << e.position;
            EXPECT_EQ(census.background + census.ink, 15 * 15) << e.position;
            EXPECT_GT(census.background, 100) << e.position;
            EXPECT_GT(census.text, 5) << e.position;
            EXPECT_EQ(census.outside, 0) << e.position;
        }
        // The pointed-at letter's alphabet cell takes the pointer's colours too.
        ws.CurrentLetter = "Г";
        const int column = SymbolColumn('Г');
        const Census alpha =
            Paint(AlphabetCellRect(1, column), AlphabetCellStyle(ws, palette, 1, column));
        EXPECT_GT(alpha.background, 150);
        EXPECT_EQ(surface.At(16 * (column - 1) + 4, 4), palette[7]);
        ws.CurrentLetter.clear();
    }
}

}  // namespace
}  // namespace zam
