// The bigram window and the phrase dialog in the running program: the table as the user sees
// it after real paints, what a pointer move redraws, the selection and
// its menu switch, and a phrase highlighted and removed.
#include <gtest/gtest.h>

#include <string>

#include "app/bigram_window.h"
#include "app/commands.h"
#include "app/phrase_dialog.h"
#include "app/text_window.h"
#include "tests/windows/app_fixture.h"
#include "workspace/bigram_table.h"

namespace zam {
namespace {

using test::Pump;

constexpr COLORREF kProbe = RGB(1, 2, 3);  // a colour no rule gives

class BigramPhrase : public test::Zamenor {
protected:
    void StartWith(const std::string& text) {
        Start();
        // The graph and information windows start over the table.
        app_->GraphWindow->Form->Hide();
        app_->InfoWindow->Form->Hide();
        LoadText(text);
        Pump();
    }
    Control* Table() {
        return static_cast<BigramWindowRecord*>(app_->BigramWindow.get())->View->Surface();
    }
    auto& Dialog() { return *static_cast<PhraseDialogRecord*>(app_->PhraseDialog.get()); }

    // Column and row of the table; the point lies inside the cell, clear of its text.
    static Point In(int column, int row, int dx = 2, int dy = 2) {
        const Rect r = BigramCellRect(column, row);
        return {r.left + dx, r.top + dy};
    }
    void Hover(int column, int row, int dx = 8, int dy = 8) {
        Pointer(Table(), WM_MOUSEMOVE, In(column, row, dx, dy));
    }
    // What the user sees at a point after the real paint.
    static COLORREF Seen(Control* surface, Point p) {
        return test::SeenOn(surface->WindowHandle(), p.x, p.y);
    }
    // A pixel that only a redraw of its cell would take away.
    static void Mark(Control* surface, Point p) {
        HDC dc = GetDC(surface->WindowHandle());
        SetPixel(dc, p.x, p.y, kProbe);
        ReleaseDC(surface->WindowHandle(), dc);
    }
    COLORREF TextCell(uint16_t position) {
        const Rect r = TextCellRect(position, 31);
        return Seen(static_cast<TextView*>(Ws().CipherText.view)->Surface(), {r.left + 2, r.top + 2});
    }
    // Typed into the emptied box as the keyboard gives it.
    void TypeIn(Control* box, const std::wstring& typed) {
        SetWindowTextW(box->WindowHandle(), L"");
        for (const wchar_t c : typed)
            SendMessageW(box->WindowHandle(), WM_CHAR, c, 0);
        Pump();
    }
    void Key(Control* control, WPARAM key) {
        SendMessageW(control->WindowHandle(), WM_KEYDOWN, key, 0);
        Pump();
    }
    // As the user does: opens the dialog, which puts the caret in its box.
    void OpenDialog() {
        Choose(kItemSelectPhrase);
        ASSERT_TRUE(Dialog().Form->Visible());
        EXPECT_EQ(GetFocus(), Dialog().Edit->WindowHandle());
        Pump();
    }

    const int a = SymbolColumn('А'), b = SymbolColumn('Б'), v = SymbolColumn('В');
    const int o = SymbolColumn('О');
};

TEST_F(BigramPhrase, CountsScaleColoursAndTheDoubledLetterOutline) {
    StartWith("АБВГОО\r\n");  // five pairs, once each
    const ColourPalette& palette = app_->Palette;
    EXPECT_EQ(Seen(Table(), In(a, b)), palette[3]) << "БА never occurs: an empty cell";
    EXPECT_EQ(Seen(Table(), In(b, a)), palette[16]) << "equal counts all take entry 16";
    // The diagonal's outline is two pixels deep, the others' one.
    EXPECT_EQ(Seen(Table(), In(o, o, 1, 8)), palette[1]);
    EXPECT_EQ(Seen(Table(), In(o, o, 2, 8)), palette[16]);
    EXPECT_EQ(Seen(Table(), In(b, a, 1, 8)), palette[16]);
    EXPECT_EQ(Seen(Table(), In(a, a, 1, 8)), palette[1]) << "a diagonal cell without a count";
    EXPECT_EQ(Seen(Table(), In(0, 0)), palette[3]) << "the corner is never the selection";
}

TEST_F(BigramPhrase, PointerAndClicksRedrawWhatChangesAndTheMenuSwitchDropsTheSelection) {
    StartWith("АБАВ\r\n");
    const ColourPalette& palette = app_->Palette;
    // Nothing hovered yet: the first move must not redraw the corner as a cell.
    Mark(Table(), In(0, 0));
    Hover(b, a);
    EXPECT_EQ(Ws().BigramHoverCell, (Cell{a, b}));
    EXPECT_EQ(Ws().CurrentBigram, "АБ");
    EXPECT_EQ(Seen(Table(), In(0, 0)), kProbe);
    EXPECT_EQ(Seen(Table(), In(b, 0)), palette[7]);
    EXPECT_EQ(TextCell(2), palette[7]) << "the pair's cells in the ciphertext";

    // One cell along the row both column headings change.
    Hover(v, a);
    EXPECT_EQ(Seen(Table(), In(b, 0)), palette[3]);
    EXPECT_EQ(Seen(Table(), In(b, a)), palette[16]);
    EXPECT_EQ(TextCell(4), palette[7]);

    SendMessageW(Table()->WindowHandle(), WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_EQ(Ws().CurrentBigram, "");
    EXPECT_EQ(Seen(Table(), In(v, 0)), palette[3]);

    Hover(v, a);
    Pointer(Table(), WM_LBUTTONDOWN, In(v, a, 8, 8), MK_LBUTTON);
    EXPECT_EQ(Ws().BigramSelectedCell, (Cell{a, v}));
    EXPECT_EQ(Ws().SelectedBigram, "АВ");
    EXPECT_EQ(TextCell(3), palette[11]);
    Hover(b, a);
    // A full repaint keeps the selection's headings and the hover's.
    InvalidateRect(Table()->WindowHandle(), nullptr, FALSE);
    EXPECT_EQ(Seen(Table(), In(v, 0)), palette[11]);
    EXPECT_EQ(Seen(Table(), In(b, 0)), palette[7]);

    // The menu item drops the selection and redraws it plain; switched off, a click still
    // selects but draws nothing as selected.
    Choose(kItemHiliteSelectedBigram);
    EXPECT_EQ(Ws().SelectedBigram, "");
    EXPECT_EQ(Seen(Table(), In(v, a)), palette[16]);
    EXPECT_EQ(TextCell(3), palette[3]);
    Pointer(Table(), WM_LBUTTONDOWN, In(b, a, 8, 8), MK_LBUTTON);
    EXPECT_EQ(Ws().BigramSelectedCell, (Cell{a, b}));
    EXPECT_EQ(Seen(Table(), In(b, a)), palette[7]);
    // Switched on again, a right click on another cell drops the selection.
    Choose(kItemHiliteSelectedBigram);
    Pointer(Table(), WM_LBUTTONDOWN, In(b, a, 8, 8), MK_LBUTTON);
    Hover(v, a);
    Pointer(Table(), WM_RBUTTONDOWN, In(v, a, 8, 8), MK_RBUTTON);
    EXPECT_EQ(Ws().BigramSelectedCell, Cell{});
    EXPECT_EQ(Seen(Table(), In(b, 0)), palette[3]);
}

TEST_F(BigramPhrase, TypedPhraseIsHighlightedUntilEscapeAndTheTextStays) {
    StartWith("СТАЛО_СТАРО\r\n");
    const ColourPalette& palette = app_->Palette;
    OpenDialog();
    Control* edit = Dialog().Edit;
    // The box refuses Latin, digits, spaces and marks, takes lower case as the cipher has it,
    // and still takes Backspace.
    TypeIn(edit, L"сzт1 а?о\b");
    EXPECT_EQ(edit->Caption(), "СТА");
    Key(edit, VK_RETURN);
    EXPECT_FALSE(Dialog().Form->Visible());
    EXPECT_EQ(Ws().Phrase, "СТА");
    for (uint16_t p : {1, 3, 7, 9})
        EXPECT_EQ(TextCell(p), palette[13]) << p;
    EXPECT_EQ(TextCell(4), palette[3]);

    // Opened again, the box still holds the text; ё and й are typed as the alphabet has them. A
    // phrase of symbols the cipher lacks changes nothing and the dialog stays to mend it; Escape
    // removes the highlight.
    OpenDialog();
    EXPECT_EQ(edit->Caption(), "СТА");
    TypeIn(edit, L"ёй");
    EXPECT_EQ(edit->Caption(), "ЕИ");
    SetWindowTextW(edit->WindowHandle(), L"ЙО");
    Key(edit, VK_RETURN);
    EXPECT_TRUE(Dialog().Form->Visible());
    EXPECT_EQ(Ws().Phrase, "СТА");
    Key(edit, VK_ESCAPE);
    EXPECT_FALSE(Dialog().Form->Visible());
    EXPECT_EQ(Ws().Phrase, "");
    EXPECT_EQ(TextCell(7), palette[3]);
}

}  // namespace
}  // namespace zam
