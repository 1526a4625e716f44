#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "app/document_commands.h"
#include "tests/windows/window_driver.h"
#include "toolkit/message_box.h"
#include "workspace/document_file.h"

namespace zam {
namespace {

using test::Accept;
using test::Cancel;
using test::Inspecting;
using test::ReadBytes;
using test::WindowDriver;
using test::WindowText;
using test::WriteBytes;

// Counts what the workspace asked of the windows; there are no views.
class RecordingDisplay : public Display {
public:
    void DrawTextCell(const TextObject&, std::uint16_t) override { ++calls; }
    void DrawAlphabetCell(int, int) override { ++calls; }
    void DrawMarker(MarkerKind, char) override { ++calls; }
    void DrawGraph(bool) override { ++calls; }
    void SetAlphabetCaption(std::string_view) override { ++calls; }
    void SetMainTitle(std::string_view title) override {
        ++calls;
        titles.emplace_back(title);
    }
    std::span<View* const> Views() override { return {}; }
    void InvalidateGraphSurface() override { ++calls; }

    int calls = 0;
    std::vector<std::string> titles;
};

class RecordingMessages : public Messages {
public:
    void Show(std::string_view text, MessageIcon) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

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
            seen.fileName = WindowText(test::FileNameField(dialog));
            seen.fileType = test::ItemText(dialog, 0x470);  // cmb1, the file type
            seen.mainFormEnabled = IsWindowEnabled(mainForm_.Handle()) != FALSE;
        };
    }
    bool Open(Workspace& ws) { return OpenCommand(ws, display_, messages_, mainForm_.Handle()); }
    bool Save(Workspace& ws) { return SaveCommand(ws, messages_, mainForm_.Handle()); }

    test::TempDir dir_;
    test::CurrentDirectoryScope cwd_{dir_.Path()};
    test::TestWindow mainForm_{L"Zamenor"};
    RecordingDisplay display_;
    RecordingMessages messages_;
};

TEST_F(DocumentCommands, OpenSaveAndReopenGiveTheWorkBackByteForByte) {
    WriteBytes(dir_ / L"crypt.txt", "абв_Где\r\nШифротекст:\r\n");
    Workspace ws;
    SeenDialog open;
    SeenDialog save;
    const std::filesystem::path saved = dir_ / L"result.txt";
    {
        // A bare name: found only if the dialog starts in the current directory.
        WindowDriver driver({Inspecting(Reading(open), Accept(L"crypt.txt")),
                             Inspecting(Reading(save), Accept(saved.native()))});
        ASSERT_TRUE(Open(ws));
        EXPECT_EQ(ws.CipherText.text, "АБВ_ГДЕ");
        EXPECT_EQ(ws.DocName, "crypt.txt");
        EXPECT_EQ(display_.titles.back(), "Zamenor - crypt.txt");
        EXPECT_TRUE(IsWindowEnabled(mainForm_.Handle()));

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

    Workspace reopened;
    WindowDriver driver({Accept(saved.native())});
    ASSERT_TRUE(Open(reopened));
    EXPECT_EQ(reopened.CipherText.text, ws.CipherText.text);
    EXPECT_EQ(reopened.PlainText.text, ws.PlainText.text);
    EXPECT_TRUE(std::equal(reopened.KeyTable.key.begin(), reopened.KeyTable.key.end(),
                           ws.KeyTable.key.begin()));
    EXPECT_EQ(reopened.DocName, "result.txt");
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(DocumentCommands, CancelledDialogsAndAnEmptyWorkspaceChangeNothing) {
    WriteBytes(dir_ / L"crypt.txt", "АБВ\r\n");
    Workspace ws;
    ASSERT_TRUE(OpenDocument(ws, display_, messages_, dir_ / L"crypt.txt"));
    ws.KeyTable.key[2] = 'Е';
    const Workspace before = ws;
    const int callsBefore = display_.calls;

    // Any window beyond the two would be cancelled and named: saving an empty workspace
    // shows no dialog.
    WindowDriver driver({Cancel(), Cancel()});
    EXPECT_FALSE(Open(ws));
    EXPECT_FALSE(Save(ws));
    Workspace empty;
    EXPECT_FALSE(Save(empty));
    EXPECT_EQ(driver.Handled(), 2);
    EXPECT_TRUE(driver.Unexpected().empty());
    EXPECT_EQ(ws.CipherText.text, before.CipherText.text);
    EXPECT_EQ(ws.KeyTable.key[2], 'Е');
    EXPECT_EQ(ws.DocName, before.DocName);
    EXPECT_EQ(display_.calls, callsBefore);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_TRUE(IsWindowEnabled(mainForm_.Handle()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()), {}), 1);
}

TEST_F(DocumentCommands, AFileNameCp1251CannotSpellOpensAndSaves) {
    const std::wstring kappa = L"\u03BA";
    if (!test::CanNameFile(dir_.Path(), kappa)) {
        GTEST_SKIP() << "Wine cannot name non-ASCII files under this locale";
    }
    WriteBytes(dir_ / (kappa + L"_test.txt"), "ЖЗИ\r\n");

    Workspace ws;
    SeenDialog save;
    // The proposed name is saved as it stands: it must keep the letter 1251 cannot spell.
    const test::Step pressSave = [](HWND dialog) { test::PressButton(dialog, IDOK); };
    WindowDriver driver({Accept(kappa + L"_test.txt"), Inspecting(Reading(save), pressSave)});
    ASSERT_TRUE(Open(ws));
    EXPECT_EQ(ws.CipherText.text, "ЖЗИ");
    EXPECT_EQ(ws.DocName, "?_test.txt");
    EXPECT_EQ(display_.titles.back(), "Zamenor - ?_test.txt");

    ASSERT_TRUE(Save(ws));
    EXPECT_EQ(save.fileName, L"-" + kappa + L"_test.txt");
    EXPECT_EQ(ReadBytes(dir_ / (L"-" + kappa + L"_test.txt")), FormatResultFile(ws));
    EXPECT_TRUE(driver.Unexpected().empty());
    EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
}  // namespace zam
