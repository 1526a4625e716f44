#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/document_commands.h"
#include "tests/native/recording_display.h"
#include "tests/windows/window_driver.h"
#include "toolkit/message_box.h"
#include "workspace/document_file.h"

namespace zam {
namespace {

using namespace test;

// What the command's dialog showed, and the main form's state while it ran.
struct SeenDialog {
    std::wstring title;
    std::wstring fileName;
    std::wstring fileType;
    bool mainFormEnabled = true;
};

class DocumentCommands : public ::testing::Test {
protected:
    std::function<void(HWND)> Reading(SeenDialog& seen) {
        return [this, &seen](HWND dialog) {
            seen.title = WindowText(dialog);
            seen.fileName = WindowText(FileNameField(dialog));
            seen.fileType = ItemText(dialog, 0x470);  // cmb1, the file type
            seen.mainFormEnabled = IsWindowEnabled(mainForm_.Handle()) != FALSE;
        };
    }
    bool Open(Workspace& ws) { return OpenCommand(ws, display_, display_, mainForm_.Handle()); }
    bool Save(Workspace& ws) { return SaveCommand(ws, display_, display_, mainForm_.Handle()); }

    TempDir dir_;
    CurrentDirectoryScope cwd_{dir_.Path()};
    TestWindow mainForm_{L"Zamenor"};
    Workspace ws_;  // names the views in the log; the tests open their own
    testing::RecordingDisplay display_{ws_};
};

TEST_F(DocumentCommands, OpenAndSaveRunTheirDialogsOverADisabledMainForm) {
    WriteBytes(dir_ / L"crypt.txt", "абв_Где\r\nШифротекст:\r\n");
    Workspace ws;
    SeenDialog open, save;
    const std::filesystem::path saved = dir_ / L"result.txt";
    {
        // A bare name: found only if the dialog starts in the current directory.
        WindowDriver driver({Inspecting(Reading(open), Accept(L"crypt.txt")),
                             Inspecting(Reading(save), Accept(saved.native()))});
        ASSERT_TRUE(Open(ws));
        EXPECT_EQ(ws.CipherText.text, "АБВ_ГДЕ");
        EXPECT_EQ(display_.title, "Zamenor - crypt.txt");

        ws.KeyTable.key[1] = 'О';
        ws.KeyTable.key[32] = 'Я';  // the clearing column is saved too
        ws.PlainText.text = "О      ";
        ASSERT_TRUE(Save(ws));
        EXPECT_TRUE(driver.Unexpected().empty());
    }
    EXPECT_EQ(open.title, L"Выберите файл содержащий зашифрованный текст");
    EXPECT_EQ(open.fileType, L"CODE files (*.txt)");
    EXPECT_FALSE(open.mainFormEnabled);
    EXPECT_EQ(save.title, L"Выберите файл для сохранения");
    EXPECT_EQ(save.fileType, L"DeCODE files (*.txt)");
    EXPECT_EQ(save.fileName, L"-crypt.txt");
    EXPECT_EQ(ReadBytes(saved), FormatResultFile(ws));
    EXPECT_TRUE(IsWindowEnabled(mainForm_.Handle()));
    EXPECT_TRUE(display_.messages.empty());
}

TEST_F(DocumentCommands, CancelledDialogsAndAnEmptyWorkspaceChangeNothing) {
    WriteBytes(dir_ / L"crypt.txt", "АБВ\r\n");
    Workspace ws;
    ASSERT_TRUE(OpenDocument(ws, display_, display_, dir_ / L"crypt.txt"));
    ws.KeyTable.key[2] = 'Е';
    const Workspace before = ws;

    // Any window beyond the two would be cancelled and named: saving an empty workspace
    // shows no dialog.
    WindowDriver driver({Cancel(), Cancel()});
    EXPECT_FALSE(Open(ws));
    EXPECT_FALSE(Save(ws));
    Workspace empty;
    EXPECT_FALSE(Save(empty));
    EXPECT_EQ(driver.Handled(), 2);
    EXPECT_TRUE(driver.Unexpected().empty());
    EXPECT_EQ(FormatResultFile(ws), FormatResultFile(before));
    EXPECT_TRUE(IsWindowEnabled(mainForm_.Handle()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1);
}

TEST_F(DocumentCommands, AFileNameCp1251CannotSpellOpensAndSaves) {
    const std::wstring kappa = L"\u03BA";
    if (!CanNameFile(dir_.Path(), kappa)) {
        GTEST_SKIP() << "Wine cannot name non-ASCII files under this locale";
    }
    WriteBytes(dir_ / (kappa + L"_test.txt"), "ЖЗИ\r\n");

    Workspace ws;
    SeenDialog save;
    // The proposed name is saved as it stands: it must keep the letter 1251 cannot spell.
    const Step pressSave = [](HWND dialog) { PressButton(dialog, IDOK); };
    WindowDriver driver({Accept(kappa + L"_test.txt"), Inspecting(Reading(save), pressSave)});
    ASSERT_TRUE(Open(ws));
    EXPECT_EQ(ws.CipherText.text, "ЖЗИ");
    EXPECT_EQ(display_.title, "Zamenor - ?_test.txt");

    ASSERT_TRUE(Save(ws));
    EXPECT_EQ(save.fileName, L"-" + kappa + L"_test.txt");
    EXPECT_EQ(ReadBytes(dir_ / (L"-" + kappa + L"_test.txt")), FormatResultFile(ws));
    EXPECT_TRUE(driver.Unexpected().empty());
}

}  // namespace
}  // namespace zam
