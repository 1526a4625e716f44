// Grid cells painted into memory and read back pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

#include "app/cell_painter.h"
#include "tests/native/recording_display.h"
#include "tests/windows/drawing_test.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);

bool operator==(const Rect& a, const Rect& b) {
    return std::tie(a.left, a.top, a.right, a.bottom) == std::tie(b.left, b.top, b.right, b.bottom);
}

class CellPainting : public ::testing::Test {
protected:
    // Paints the cell on a fresh surface and returns the box of the pixels that changed. Wine
    // smooths some glyphs (bold ones at this size), so ink is told by change, not by colour.
    Rect Paint(const Rect& cell, const CellStyle& style) {
        surface.Fill(kUntouched);
        painter.Paint(surface.Dc(), cell, style, palette[1]);
        Rect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) {
                if (surface.At(x, y) != kUntouched) {
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                           std::max(box.bottom, y + 1)};
                }
            }
        }
        return box;
    }
    int Changed() const { return surface.Width() * surface.Height() - surface.Count(kUntouched); }

    test::Surface surface{540, 60, kUntouched};
    ColourPalette palette;
    CellPainter painter;
};

TEST_F(CellPainting, HollowAndBorderlessCellsFromTheRules) {
    Workspace ws;  // nothing loaded: the plaintext view's cells are hollow
    EXPECT_TRUE(Paint(TextCellRect(5, 31), TextCellStyle(ws, palette, ws.PlainText, 5)) ==
                TextCellRect(5, 31));
    EXPECT_EQ(surface.Count(palette[1]), 64);  // the whole 17 x 17 outline in the pen
    EXPECT_EQ(Changed(), 64);

    // Column 32 of the working alphabet: its character alone, without a border or a fill.
    testing::LoadCipherText(ws, "АБВ");
    const Rect cell = AlphabetCellRect(1, kClearColumn);
    const CellStyle clear = AlphabetCellStyle(ws, palette, 1, kClearColumn);
    const Rect ink = Paint(cell, clear);
    EXPECT_GT(surface.Count(clear.text), 5);
    EXPECT_TRUE(ink.left > cell.left && ink.top > cell.top && ink.right < cell.right - 1 &&
                ink.bottom < cell.bottom - 1);
    // The key row of that column holds a space: nothing at all.
    Paint(AlphabetCellRect(2, kClearColumn), AlphabetCellStyle(ws, palette, 2, kClearColumn));
    EXPECT_EQ(Changed(), 0);
    // The free-letter row of column 32 is a normal cell.
    Paint(AlphabetCellRect(3, kClearColumn), AlphabetCellStyle(ws, palette, 3, kClearColumn));
    EXPECT_EQ(surface.Count(palette[1]), 64);
}

TEST_F(CellPainting, TheCharacterIsCentredInsideTheBorderAndBoldIsHeavier) {
    const Rect cell = TextCellRect(40, 31);  // inner centre (139, 26)
    for (const char letter : {'Ж', 'I', 'ы'}) {
        SCOPED_TRACE(letter);
        // Without the border only the character changes pixels.
        CellStyle style{RGB(0, 0, 90), RGB(250, 250, 0), true, false, false, letter};
        const Rect ink = Paint(cell, style);
        EXPECT_GT(surface.Count(style.text), 5);
        EXPECT_NEAR((ink.left + ink.right) / 2.0, 139.5, 1.5);
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 26.5, 3.0);
        const int regular = Changed();
        style.bold = true;
        Paint(cell, style);
        EXPECT_GT(surface.Count(style.text), 0);
        EXPECT_GT(Changed(), regular * 3 / 2);
    }
}

TEST_F(CellPainting, ACellCopiedFromTheCacheLooksAsOneDrawnAfresh) {
    // One painter draws each look in turn, so later looks may come from its cache; a painter
    // that never drew before must see every one the same.
    const Rect cell = TextCellRect(40, 31);
    const CellStyle base{RGB(0, 0, 90), RGB(250, 250, 0), true, true, false, 'Ж'};
    std::vector<CellStyle> looks(6, base);
    looks[1].bold = true;
    looks[2].glyph = 'Ы';
    looks[3].background = RGB(0, 90, 0);
    looks[4].text = RGB(250, 0, 0);
    for (size_t i = 0; i < looks.size() + 1; ++i) {
        SCOPED_TRACE(i);
        // The last look differs from the first by its border alone.
        const COLORREF border = i < looks.size() ? palette[1] : RGB(0, 0, 255);
        const CellStyle& style = looks[i % looks.size()];
        surface.Fill(kUntouched);
        painter.Paint(surface.Dc(), cell, style, border);
        test::Surface fresh{540, 60, kUntouched};
        CellPainter{}.Paint(fresh.Dc(), cell, style, border);
        EXPECT_TRUE(surface.Pixels() == fresh.Pixels());
    }
}

TEST_F(CellPainting, RealCellsOfBothSchemesLeaveTheContextAsTheyFoundIt) {
    Workspace ws;
    testing::LoadCipherText(ws, "АБВГДЕ");  // no letter assigned: bold cells
    ws.PlainLetter = std::string(1, ' ');   // a letter is pointed at: the letter rules apply
    ws.Phrase = "БВГ";
    ws.HiliteCurrent = false;  // only the cell under the pointer is marked
    ws.HoverPos = 4;
    const HGDIOBJ font = GetCurrentObject(surface.Dc(), OBJ_FONT);
    const HGDIOBJ brush = GetCurrentObject(surface.Dc(), OBJ_BRUSH);
    SetTextColor(surface.Dc(), RGB(1, 1, 1));
    SetBkMode(surface.Dc(), OPAQUE);
    // In the phrase in the black scheme, under the pointer in the yellow one.
    for (const auto& [scheme, position, background] :
         {std::tuple{Scheme::Black, 2, 13}, {Scheme::Yellow, 4, 7}}) {
        palette.Choose(scheme);
        const CellStyle style = TextCellStyle(ws, palette, ws.CipherText, position);
        ASSERT_EQ(style.background, palette[background]);
        // Right and bottom edges are exclusive: nothing past the cell changed.
        EXPECT_TRUE(Paint(TextCellRect(position, 31), style) == TextCellRect(position, 31));
        EXPECT_EQ(surface.Count(palette[1]), 64);
        EXPECT_GT(surface.Count(style.background), 100);
        EXPECT_GT(surface.Count(style.text), 5);

        // The context's own objects and colours are back: a canvas drawing on it next finds
        // what it selected.
        EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_FONT), font);
        EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_BRUSH), brush);
        EXPECT_EQ(GetTextColor(surface.Dc()), RGB(1, 1, 1));
        EXPECT_EQ(GetBkMode(surface.Dc()), OPAQUE);
    }
    // A cell without a border is drawn straight on the context, not copied from the cache.
    Paint(AlphabetCellRect(1, kClearColumn), AlphabetCellStyle(ws, palette, 1, kClearColumn));
    EXPECT_GT(Changed(), 5);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_FONT), font);
}

}  // namespace
}  // namespace zam
