// Real cryptograms in: a newspaper's text through the file dialog, a drop and the clipboard,
// a refused text that changes nothing, and a cryptogram made from a plaintext.
#include <gtest/gtest.h>

#include <string>

#include "tests/windows/app_fixture.h"
#include "workspace/encryption.h"

namespace zam {
namespace {

using test::Accept;
using test::Cancel;
using test::PressKey;
using test::WindowDriver;

// Lower case, punctuation, a line break and Ё written for А: 25 letters, so Ё gets a letter
// of its own that the text leaves free.
const std::string kNewspaper =
    "\xD0\x9A\xD0\xBE\xD1\x82, \xD1\x91 \xC2\xAB\xD0\xB4\xD0\xBE\xD0\xBC\xC2\xBB!\r\n"
    "\xE2\x80\x94 \xD0\xA1\xD0\xBE\xD0\xBD.\r\n";  // "Кот, ё «дом»!" / "— Сон." in UTF-8

class TextsIn : public test::Zamenor {
protected:
    void PutOnClipboard(const std::wstring& text) {
        ASSERT_TRUE(OpenClipboard(app_->MainForm()->WindowHandle()));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        auto* chars = static_cast<wchar_t*>(GlobalLock(block));
        std::copy(text.c_str(), text.c_str() + text.size() + 1, chars);
        GlobalUnlock(block);
        SetClipboardData(CF_UNICODETEXT, block);
        CloseClipboard();
    }
};

TEST_F(TextsIn, ANewspapersTextOpensByDialogWithItsNotice) {
    test::WriteBytes(dir_ / L"paper.txt", kNewspaper);
    Start();
    std::wstring asked;
    {
        // A bare name: found only if the dialog starts in the current directory.
        WindowDriver driver({test::Inspecting(
            [&](HWND dialog) {
                asked = test::WindowText(dialog) + L" | " + test::ItemText(dialog, 0x470);
            },
            Accept(L"paper.txt"))});
        ClickButton(kBtnLoad);
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    EXPECT_EQ(asked, L"Выберите файл содержащий зашифрованный текст | CODE files (*.txt)");
    // Ё stands for a cipher letter of its own: Е is free in this text, so it shows as Е.
    EXPECT_EQ(Ws().CipherText.text, "КОТ_Е_ДОМ_СОН");
    EXPECT_EQ(Ws().PlainText.text, std::string(13, kNoLetter));
    EXPECT_EQ(Title(), L"Zamenor - paper.txt");
    EXPECT_NE(Hint().find("заменены на _"), std::string::npos) << Hint();
    EXPECT_NE(Hint().find("Ё шифровки показана как Е"), std::string::npos) << Hint();
}

TEST_F(TextsIn, ARefusedTextChangesNothing) {
    test::WriteBytes(dir_ / L"latin.txt", "Кот и пёс,\r\nи Quick\r\n");
    Start();
    LoadText("АБВ\r\n");
    Ws().KeyTable.key[1] = 'О';
    const std::string before = FormatResultFile(Ws());
    std::wstring said;
    {
        // The unsaved letter is asked about first; not saving it still does not lose it.
        WindowDriver driver({[](HWND box) { test::PressButton(box, IDNO); },
                             test::Inspecting(
                                 [&](HWND box) { said = test::MessageText(box); },
                                 [](HWND box) { test::PressButton(box, IDOK); })});
        test::Drop(app_->CipherWindow->Form, {dir_ / L"latin.txt"});
    }
    EXPECT_EQ(said, L"Символ «Q» в строке 2, позиции 3 — не русская буква.");
    EXPECT_EQ(FormatResultFile(Ws()), before);
    EXPECT_EQ(Title(), L"Zamenor - code.txt");
}

TEST_F(TextsIn, CtrlVOpensTheClipboardsText) {
    Start();
    PutOnClipboard(L"Кот и пёс.");
    PressKey(app_->CipherWindow->Form, 'V', true);
    EXPECT_EQ(Ws().CipherText.text, "КОТ_И_ПЕС");
    EXPECT_EQ(Title(), L"Zamenor - Из буфера обмена");
    // Nothing to paste: said, and the work stays.
    PutOnClipboard(L"");
    Choose(kItemPaste);
    EXPECT_EQ(Ws().CipherText.text, "КОТ_И_ПЕС");
    EXPECT_NE(Hint().find("нет текста"), std::string::npos);
}

TEST_F(TextsIn, EncryptingATextWritesTheCryptogramAndItsAnswerAndOpensIt) {
    test::WriteBytes(dir_ / L"text.txt", "Ёжик в тумане.\r\n");
    Start();
    std::wstring proposed;
    {
        WindowDriver driver(
            {Accept((dir_ / L"text.txt").wstring()),
             test::Inspecting(
                 [&](HWND dialog) { proposed = test::WindowText(test::FileNameField(dialog)); },
                 Accept((dir_ / L"puzzle.txt").wstring()))});
        Choose(kItemEncrypt);
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    EXPECT_EQ(proposed, L"text-шифр.txt");
    const std::string cryptogram = test::ReadBytes(dir_ / L"puzzle.txt");
    const std::string answer = test::ReadBytes(dir_ / L"puzzle-ответ.txt");
    ASSERT_EQ(cryptogram.size(), 15u);  // ЕЖИК_В_ТУМАНЕ and CR LF
    EXPECT_NE(answer.find("\r\nЕЖИК_В_ТУМАНЕ\r\n"), std::string::npos);
    // Opened, with an empty key, ready to be solved.
    EXPECT_EQ(Ws().CipherText.text + "\r\n", cryptogram);
    EXPECT_EQ(Title(), L"Zamenor - puzzle.txt");

    // A cancelled choice of place writes nothing.
    WindowDriver driver({Accept((dir_ / L"text.txt").wstring()), Cancel()});
    Choose(kItemEncrypt);
    EXPECT_FALSE(std::filesystem::exists(dir_ / L"text-шифр.txt"));
}

}  // namespace
}  // namespace zam
