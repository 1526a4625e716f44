// The solver's hint and check through the program's windows: one letter that one undo takes
// back, proposed letters drawn apart from the user's, and a doubted letter marked on the key
// row until it is cleared.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/alphabet_window.h"
#include "tests/windows/app_fixture.h"

namespace zam {
namespace {

using test::PressKey;
using test::Type;

class SolverCommands : public test::Zamenor {
protected:
    Control* Letters() { return static_cast<AlphabetView*>(Ws().KeyTable.view)->Surface(); }
    int Assigned() {
        return static_cast<int>(std::count_if(Ws().KeyTable.key.begin(),
                                               Ws().KeyTable.key.begin() + kSymbolCount,
                                               [](char c) { return c != kNoLetter; }));
    }
    // How many pixels of the key cell of the column show the colour.
    int PixelsOf(int column, COLORREF colour) {
        const auto pixels = test::CellPixels(Letters(), AlphabetCellRect(2, column));
        return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
    }
};

TEST_F(SolverCommands, TheHintGivesOneLetterDrawnApartAndTheCheckMarksAWrongOne) {
    Start();
    const std::string cipher = test::Encrypted(test::kPlain);
    LoadText(cipher + "\r\n");
    Control* form = app_->AlphabetWindow->Form;
    Type(form, cipher[0]);
    Type(form, test::kPlain[0]);  // the user's own
    const int own = SymbolColumn(cipher[0]);

    ClickButton(kBtnHint);
    ASSERT_EQ(Assigned(), 2);
    int hinted = 0;
    for (int column = 1; column <= kSymbolCount; ++column)
        hinted = column != own && Ws().KeyTable.key[column] != kNoLetter ? column : hinted;
    ASSERT_NE(hinted, 0);
    // Right, as the text was made: the letter that the cipher letter stands for.
    const size_t at = cipher.find(ColumnSymbol(hinted));
    EXPECT_EQ(Ws().KeyTable.key[hinted], test::kPlain[at]);
    EXPECT_NE(Hint().find("Подсказка"), std::string::npos);
    const COLORREF suggested = app_->Palette.Suggested();
    EXPECT_GT(PixelsOf(hinted, suggested), 0);
    EXPECT_EQ(PixelsOf(own, suggested), 0);

    PressKey(app_->CipherWindow->Form, 'Z', true);
    EXPECT_EQ(Assigned(), 1);
    PressKey(app_->PlainWindow->Form, 'H', true);  // Ctrl+H gives it again
    EXPECT_EQ(Assigned(), 2);

    // The check marks a planted wrong letter until it is cleared: right letters for the first
    // words, and О given Ы.
    Type(form, ColumnSymbol(hinted));
    Type(form, ' ');
    for (size_t i : {1, 2, 3, 4}) {
        Type(form, cipher[i]);
        Type(form, test::kPlain[i]);
    }
    Type(form, cipher[0]);
    Type(form, 'Ы');
    const int wrong = SymbolColumn(cipher[0]);
    Choose(kItemCheckKey);
    EXPECT_NE(Hint().find("Похоже, неверны: "), std::string::npos) << Hint();
    EXPECT_NE(Hint().find(std::string(1, cipher[0]) + "»Ы"), std::string::npos) << Hint();
    const COLORREF warning = app_->Palette[16];
    EXPECT_GT(PixelsOf(wrong, warning), 20);
    EXPECT_EQ(PixelsOf(SymbolColumn(cipher[1]), warning), 0);

    Type(form, cipher[0]);
    Type(form, ' ');  // cleared: the key changed, the marks go
    EXPECT_EQ(PixelsOf(wrong, warning), 0);
    Type(form, cipher[0]);
    Type(form, test::kPlain[0]);
    Choose(kItemCheckKey);
    EXPECT_NE(Hint().find("Ошибок не найдено"), std::string::npos) << Hint();
}

}  // namespace
}  // namespace zam
