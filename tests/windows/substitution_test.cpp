// The substitution loop as the user works it: pointing at and selecting cipher letters in the
// text windows and the alphabet, assigning by click and by key, clearing, scrolling together,
// and a cryptogram broken from start to finish and saved.
#include <gtest/gtest.h>

#include <string>

#include "app/alphabet_window.h"
#include "app/text_window.h"
#include "skin/scroll_bar.h"
#include "tests/windows/app_fixture.h"
#include "toolkit/encoding.h"
#include "workspace/operations.h"

namespace zam {
namespace {

using test::Pump;

// "АБВ_ВБА" etc. as the user types them: one WM_CHAR of the UTF-16 character.
using test::Type;

class Substitution : public test::Zamenor {
protected:
    TextView& Cipher() { return *static_cast<TextView*>(Ws().CipherText.view); }
    TextView& Plain() { return *static_cast<TextView*>(Ws().PlainText.view); }
    AlphabetView& Letters() { return *static_cast<AlphabetView*>(Ws().KeyTable.view); }

    static Point Inside(const Rect& cell) { return {cell.left + 5, cell.top + 5}; }
    // A cell of the text as the view shows it now, scrolled.
    static Rect Shown(TextView& view, uint32_t position) {
        Rect cell = TextCellRect(static_cast<std::uint16_t>(position), 31);
        cell.top += view.SurfaceTop();
        cell.bottom += view.SurfaceTop();
        return cell;
    }
    void PointAt(TextView& view, uint32_t position) {
        Pointer(view.Surface(), WM_MOUSEMOVE, Inside(Shown(view, position)));
    }
    void PointAtLetter(int row, int column) {
        Pointer(Letters().Surface(), WM_MOUSEMOVE, Inside(AlphabetCellRect(row, column)));
    }
    void ClickLetter(int row, int column, UINT down = WM_LBUTTONDOWN) {
        PointAtLetter(row, column);
        Pointer(Letters().Surface(), down, Inside(AlphabetCellRect(row, column)));
    }
    // The colour the user sees inside a cell after the real paint.
    static COLORREF Seen(Control* surface, const Rect& cell) {
        return test::SeenOn(surface->WindowHandle(), cell.left + 2, cell.top + 2);
    }
    // Whether the window shows the right border line of a cell, or of a place further along
    // its line: there is a cell there.
    bool BorderRightOf(TextView& view, uint32_t position, int further = 0) {
        const Rect cell = Shown(view, position);
        return test::SeenOn(view.Surface()->WindowHandle(), cell.right - 1 + 16 * further,
                            cell.top + 8) == app_->Palette[1];
    }
};

TEST_F(Substitution, PointingAndClickingInTheTextWindowsThenAssigningAndClearingThroughTheAlphabet) {
    Start();
    // Nothing loaded: the pointer and the buttons change nothing.
    PointAt(Cipher(), 1);
    Pointer(Cipher().Surface(), WM_LBUTTONDOWN, Inside(TextCellRect(1, 31)), MK_LBUTTON);
    EXPECT_EQ(Ws().HoverPos, 0);
    EXPECT_EQ(LetterOf(Ws().SelectedLetter), kNoLetter);

    LoadText("АБВ_ВБА\r\n");
    PointAt(Cipher(), 2);
    EXPECT_EQ(Ws().CurrentLetter, "Б");
    EXPECT_EQ(Ws().HoverPos, 2);
    EXPECT_EQ(Seen(Cipher().Surface(), TextCellRect(6, 31)), app_->Palette[7]);
    PointAt(Cipher(), 1);

    // Left selects; a right click on the selected current letter keeps it; elsewhere drops it.
    Pointer(Cipher().Surface(), WM_LBUTTONDOWN, Inside(TextCellRect(1, 31)), MK_LBUTTON);
    EXPECT_EQ(Ws().SelectedLetter, "А");
    EXPECT_EQ(Hint(), "Алфавит  .: Заменим А :.");
    EXPECT_EQ(Seen(Plain().Surface(), TextCellRect(7, 31)), app_->Palette[9]);
    Pointer(Cipher().Surface(), WM_RBUTTONDOWN, Inside(TextCellRect(1, 31)), MK_RBUTTON);
    EXPECT_EQ(Ws().SelectedLetter, "А");
    PointAt(Cipher(), 3);
    Pointer(Cipher().Surface(), WM_RBUTTONDOWN, Inside(TextCellRect(3, 31)), MK_RBUTTON);
    EXPECT_EQ(LetterOf(Ws().SelectedLetter), kNoLetter);
    // A quick second click on the same cell comes as a double-click: it selects all the same.
    Pointer(Cipher().Surface(), WM_LBUTTONDBLCLK, Inside(TextCellRect(3, 31)), MK_LBUTTON);
    EXPECT_EQ(Ws().SelectedLetter, "В");

    // Leaving clears the current letter and the position under the pointer.
    SendMessageW(Cipher().Surface()->WindowHandle(), WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_EQ(LetterOf(Ws().CurrentLetter), kNoLetter);
    EXPECT_EQ(Ws().HoverPos, 0);

    LoadText("ЖЕЖЕ_ЕЖ\r\n");
    Control* letters = app_->AlphabetWindow->Form;
    // Typing a lower-case cipher letter selects it; "о" then assigns О to it.
    Type(letters, 'е');
    EXPECT_EQ(Ws().SelectedLetter, "Е");
    Type(app_->CipherWindow->Form, 'о');
    EXPECT_EQ(Ws().KeyTable.key[SymbolColumn('Е')], 'О');
    EXPECT_EQ(Ws().PlainText.text, " О О О ");  // the gap too is the user's to assign
    EXPECT_EQ(Hint(), "Алфавит ");

    // О is taken: pointing at it in row 3 names no free letter, and the click is refused with
    // a word in the hint line saying who holds it; Ж stays selected for another letter.
    Type(letters, 'ж');
    ClickLetter(3, SymbolColumn('О'));
    EXPECT_EQ(LetterOf(Ws().PlainLetter), kNoLetter);
    EXPECT_EQ(Ws().KeyTable.key[SymbolColumn('Ж')], kNoLetter);
    EXPECT_EQ(Hint(), "Алфавит  .: Буква О уже заменяет Е :.");
    EXPECT_EQ(Ws().SelectedLetter, "Ж");

    // Typed while in use: refused too, and said so.
    app_->Screen.SetAlphabetCaption(AlphabetBaseCaption());
    Type(letters, 'о');
    EXPECT_EQ(Hint(), "Алфавит  .: Буква О уже заменяет Е :.");
    EXPECT_EQ(Ws().KeyTable.key[SymbolColumn('Ж')], kNoLetter);

    // A free letter by click: assigned, selection dropped, pointer on the new key cell.
    ClickLetter(3, SymbolColumn('Т'));
    EXPECT_EQ(Ws().KeyTable.key[SymbolColumn('Ж')], 'Т');
    EXPECT_EQ(Hint(), "Алфавит ");
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(Letters().Surface()->WindowHandle(), &cursor);
    const Point keyCell = RectCenter(AlphabetCellRect(2, SymbolColumn('Ж')));
    EXPECT_EQ(cursor.x, keyCell.x + 1);
    EXPECT_EQ(cursor.y, keyCell.y + 1);
    // The pointer now rests on Ж's key cell: Ж is the current letter in the texts.
    EXPECT_EQ(Seen(Plain().Surface(), TextCellRect(1, 31)), app_->Palette[7]);

    // The space bar clears the selected letter; with nothing selected it does nothing.
    Type(letters, ' ');
    EXPECT_EQ(LetterOf(Ws().SelectedLetter), kNoLetter);
    EXPECT_EQ(Ws().KeyTable.key[SymbolColumn('Е')], 'О');
    Type(letters, 'е');
    Type(letters, ' ');
    EXPECT_EQ(Ws().KeyTable.key[SymbolColumn('Е')], kNoLetter);
    EXPECT_EQ(Ws().PlainText.text, "Т Т   Т");
    // Ё, Й, Ъ and Latin letters are not keys of the alphabet.
    for (char key : {'ё', 'й', 'Ъ', 'q', '1'})
        Type(letters, key);
    EXPECT_EQ(LetterOf(Ws().SelectedLetter), kNoLetter);
    // Column 32 of rows 1 and 2 is neither drawn nor pointed at.
    PointAtLetter(1, 32);
    EXPECT_EQ(LetterOf(Ws().CurrentLetter), kNoLetter);
    EXPECT_EQ(Seen(Letters().Surface(), AlphabetCellRect(1, 32)), app_->Palette[3]);
    // Right click drops; without a text no click does anything.
    Type(letters, 'ж');
    ClickLetter(1, 1, WM_RBUTTONDOWN);
    EXPECT_EQ(LetterOf(Ws().SelectedLetter), kNoLetter);
}

// The largest text is about 33,800 pixels tall: past the 16 bits of window messages.
TEST_F(Substitution, TheLargestTextScrollsTogetherToItsLastLine) {
    Start();
    std::string text;
    const std::string alphabet(Alphabet().substr(0, 31));
    while (text.size() < kMaxTextLength)
        text += alphabet;
    text.resize(kMaxTextLength);
    text.back() = 'Я';
    LoadText(text + "\r\n");
    EXPECT_TRUE(BorderRightOf(Cipher(), 31 * 9 + 1, 1));  // the top, as first seen
    Control* bar = Plain().Bar();
    ScrollBy(bar, 0, 100000);  // the thumb dragged to the bottom
    Pump();
    const int32_t bottom = -(Cipher().SurfaceHeight() - 167);
    EXPECT_EQ(Plain().SurfaceTop(), bottom);
    EXPECT_EQ(Cipher().SurfaceTop(), bottom);
    const ScrollBarRecord* thumb = ScrollBarOf(Cipher().Bar());
    EXPECT_EQ(thumb->ThumbRect.bottom, Cipher().Bar()->Height());
    // What scrolled into view is the end of the text: the last line's one cell, then nothing.
    EXPECT_TRUE(BorderRightOf(Cipher(), kMaxTextLength));
    EXPECT_FALSE(BorderRightOf(Cipher(), kMaxTextLength, 1));

    const Rect last = Shown(Plain(), kMaxTextLength);
    EXPECT_LT(last.bottom, 167);
    Pointer(Plain().Surface(), WM_MOUSEMOVE, Inside(last));
    EXPECT_EQ(Ws().HoverPos, kMaxTextLength);
    EXPECT_EQ(Ws().CurrentLetter, "Я");
    Pointer(Plain().Surface(), WM_LBUTTONDOWN, Inside(last), MK_LBUTTON);
    EXPECT_EQ(Ws().SelectedLetter, "Я");
    EXPECT_EQ(Seen(Cipher().Surface(), last), app_->Palette[9]);
    // A paint from the top of the window to the end of the text: nothing is skipped.
    InvalidateRect(Cipher().Surface()->WindowHandle(), nullptr, FALSE);
    EXPECT_EQ(Seen(Cipher().Surface(), Shown(Cipher(), 31 * 2110 + 30)),
              app_->Palette[9]);                                  // another Я
    EXPECT_EQ(Seen(Cipher().Surface(), last), app_->Palette[9]);  // the very last

    // Reopening a short text forgets the old position under the pointer.
    LoadText("АБ\r\n");
    EXPECT_EQ(Ws().HoverPos, 0);
    EXPECT_EQ(Cipher().SurfaceTop(), 0);
    // A longer text opened in its place is drawn afresh, in the text and in the alphabet.
    EXPECT_FALSE(BorderRightOf(Cipher(), 3));
    const COLORREF rare = Seen(Letters().Surface(), AlphabetCellRect(1, 2));
    LoadText("АААБВ\r\n");
    EXPECT_TRUE(BorderRightOf(Cipher(), 3));
    EXPECT_NE(Seen(Letters().Surface(), AlphabetCellRect(1, 2)), rare);
    SendMessageW(Plain().Surface()->WindowHandle(), WM_MOUSELEAVE, 0, 0);
    Pump();
}

}  // namespace
}  // namespace zam
