// What the program shows in modal windows and the files it writes: message boxes in Russian
// under its window's title, the exit-time memory report's box (the application tests check
// that a whole session gives every byte back), the open and save dialogs run for real with
// names the code page cannot spell, and a save that must replace last time's file or leave
// one in use as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/document_commands.h"
#include "app/memory_report.h"
#include "tests/windows/window_driver.h"
#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/encoding.h"
#include "toolkit/heap_count.h"
#include "toolkit/message_box.h"
#include "toolkit/open_save_dialog.h"
#include "toolkit/wide_text.h"
#include "workspace/document_file.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

using namespace std::string_literals;
using namespace test;

std::wstring ExpectedText(const std::wstring& bytes) {
    return L"В ходе выполнения программы возникла критическая ошибка,\rповлекшая за собой потерю " +
           bytes + L" байт памяти.\rЕсли ошибка повторится, свяжитесь в разработчиком.";
}

TEST(MemoryReportBox, OnlyLostBytesShowAnOwnerlessErrorBoxNamingThemIn64Bits) {
    const auto read = [](HWND box) {
        EXPECT_EQ(WindowText(box), L"Критическая ошибка");
        EXPECT_EQ(ItemText(box, 0xFFFF), ExpectedText(L"24"));  // lines joined by bare CRs
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDCANCEL)));
    };
    WindowDriver driver({Inspecting(read, [](HWND box) { PressButton(box, IDOK); })});
    const int64_t start = LiveHeapBytes();
    ReportHeapLoss(start);
    ReportHeapLoss(start + 100);  // more taken before the record than is live now
    EXPECT_EQ(driver.Handled(), 0);

    // Volatile: an unused new and delete pair may be left out by the optimiser.
    char* volatile lost = new char[24];
    ReportHeapLoss(start);
    delete[] lost;
    EXPECT_EQ(driver.Handled(), 1);
    EXPECT_TRUE(driver.Unexpected().empty());
    EXPECT_EQ(Widen(MemoryReportText(int64_t{1} << 40)), ExpectedText(L"1099511627776"));
}

// Records what a message box showed, read back from the window as UTF-16, and closes it.
Step Reading(std::vector<std::wstring>& seen) {
    return [&seen](HWND box) {
        HWND icon = GetDlgItem(box, 0x440);
        const bool hasIcon =
            icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
        seen.push_back(WindowText(box) + L" | " + ItemText(box, 0xFFFF) +
                       (hasIcon ? L" | icon" : L""));
        PressButton(box, IDOK);
    };
}

TEST(MessageBoxTest, TextAndCaptionReachTheBoxAsRussianWhateverTheCodePage) {
    std::vector<std::wstring> seen;
    WindowDriver driver(std::vector<Step>(4, Reading(seen)));
    Control* app = NewForm(nullptr, "Zamenor - шифровка.txt");
    app->Handle();
    SetApplet(app);
    EXPECT_EQ(MessageBoxApp("Неверный формат файла.", MB_OK), IDOK);
    // The caption is the window's title when the box opens.
    SetWindowTextW(app->Handle(), L"Zamenor - новое имя.txt");
    ShowMessage("Пустая строка.");
    MessageBoxMessages().Show("Неверный формат файла.", MessageIcon::Error);
    // The application window gone: no title, and no stale handle lends one.
    Free(app);
    ShowMessage("Пустая строка.");
    SetApplet(nullptr);

    EXPECT_EQ(seen, (std::vector<std::wstring>{
                        L"Zamenor - шифровка.txt | Неверный формат файла.",
                        L"Zamenor - новое имя.txt | Пустая строка.",
                        L"Zamenor - новое имя.txt | Неверный формат файла. | icon",
                        L" | Пустая строка.",
                    }));
    EXPECT_TRUE(driver.Unexpected().empty());
}

// What the running dialog showed.
struct SeenDialog {
    std::wstring title;
    std::wstring fileName;
    std::wstring fileType;
    HWND owner = nullptr;
};

std::function<void(HWND)> Reading(SeenDialog& seen) {
    return [&seen](HWND dialog) {
        seen.title = WindowText(dialog);
        seen.fileName = WindowText(FileNameField(dialog));
        seen.fileType = ItemText(dialog, 0x470);  // cmb1, the file type
        seen.owner = GetWindow(dialog, GW_OWNER);
    };
}

// Runs real dialogs under an application window, in a fresh directory.
class OpenSaveDialogRun : public ::testing::Test {
protected:
    void SetUp() override {
        app_->Handle();
        SetApplet(app_);
    }
    void TearDown() override {
        Free(dialog_);
        SetApplet(nullptr);
        Free(app_);
    }
    // Runs the dialog through the steps; true when it was accepted.
    bool Run(std::vector<Step> steps) {
        WindowDriver driver(std::move(steps));
        const bool accepted = Execute(dialog_);
        EXPECT_TRUE(driver.Unexpected().empty());
        return accepted;
    }

    Control* app_ = NewForm(nullptr, "Zamenor");
    TempDir dir_;
    // A dialog that succeeds makes its directory the current one.
    CurrentDirectoryScope cwd_{std::filesystem::current_path()};
    OpenSaveDialog* dialog_ = nullptr;
};

TEST_F(OpenSaveDialogRun, TextsShowInRussianUnderTheApplicationAndCancelEmptiesTheName) {
    const std::filesystem::path file = dir_ / L"crypt.txt";
    WriteBytes(file, "АБВ\r\n");
    dialog_ = NewOpenSaveDialog("Выберите файл", "", 0);
    dialog_->InitialDirPath = dir_.Path();
    dialog_->Filter = "Тексты (*.txt)|*.txt|Все файлы|*.*";
    dialog_->FilterIndex = 2;
    SeenDialog seen;
    ASSERT_TRUE(Run({Inspecting(Reading(seen), Accept(file.native()))}));
    EXPECT_EQ(seen.title, L"Выберите файл");
    EXPECT_EQ(seen.fileType, L"Все файлы");
    EXPECT_EQ(seen.owner, app_->WindowHandle());
    EXPECT_EQ(dialog_->FilePath, file);
    EXPECT_EQ(dialog_->FileName, PathTo1251(file));

    dialog_->OpenDialog = 0;
    dialog_->FileName = "-шифр.txt";
    dialog_->FilePath.clear();  // the name the program proposes, as it sets it
    EXPECT_FALSE(Run({Inspecting(Reading(seen), Cancel())}));
    EXPECT_EQ(seen.fileName, L"-шифр.txt");
    EXPECT_EQ(dialog_->FileName, "");
    EXPECT_TRUE(dialog_->FilePath.empty());
}

TEST_F(OpenSaveDialogRun, NamesCp1251CannotSpellSurviveInThePathAndDirectory) {
    // Both the starting directory and the typed name hold a Greek letter: the dialog must
    // start in that directory (the name is relative) and hand back the name intact.
    const std::wstring kappa = L"\u03BA";
    if (!CanNameFile(dir_.Path(), kappa))
        GTEST_SKIP() << "Wine cannot name non-ASCII files under this locale";
    TempDir greekDir(L"-" + kappa);
    dialog_ = NewOpenSaveDialog("Сохранить", "", 0);
    dialog_->OpenDialog = 0;
    dialog_->InitialDirPath = greekDir.Path();
    dialog_->InitialDir = PathTo1251(greekDir.Path());

    ASSERT_TRUE(Run({Accept(kappa + L"_out.txt")}));
    EXPECT_EQ(dialog_->FilePath, greekDir / (kappa + L"_out.txt"));
    EXPECT_EQ(dialog_->FileName, PathTo1251(greekDir.Path()) + "\\?_out.txt");
}

TEST(OpenSaveDialog, FiltersAndNamesAreSafelyTerminated) {
    EXPECT_EQ(DialogFilter("Тексты (*.txt)|*.txt|Все|*.*"),
              L"Тексты (*.txt)\0*.txt\0Все\0*.*\0\0"s);
    // A description without its pattern must not send the dialog past the end.
    EXPECT_EQ(DialogFilter("Тексты"), L"Тексты\0\0"s);

    std::vector<wchar_t> buffer = FileNameBuffer(std::string(300, 'x'), kFileBufferSize);
    ASSERT_EQ(buffer.size(), kFileBufferSize);
    EXPECT_EQ(std::wstring(buffer.data()), std::wstring(kFileBufferSize - 1, L'x'));
    EXPECT_EQ(std::wstring(FileNameBuffer("-шифр.txt", 16).data()), L"-шифр.txt");
}

class NoMessages : public Messages {
public:
    void Show(std::string_view text, MessageIcon) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

size_t EntriesIn(const std::filesystem::path& dir) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir),
                                             std::filesystem::directory_iterator()));
}

// Replacing a file goes through a rename over it, which Windows refuses unless asked to
// replace; a save over last time's result file must still work, and a file in use must be
// reported and kept as it was.
TEST(FileReplace, ASaveReplacesAnExistingFileOrReportsOneInUseAndLeavesNoTemporaryFile) {
    TempDir dir;
    const auto target = dir / L"-\u0436.txt";
    WriteBytes(target, std::string(5000, 'x'));
    Workspace ws;
    ws.CipherText.text = "ЖА";
    ws.PlainText.text = "О ";
    NoMessages messages;
    ASSERT_TRUE(SaveDocument(ws, messages, target));
    const std::string saved = FormatResultFile(ws);
    EXPECT_EQ(ReadBytes(target), saved);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
    EXPECT_TRUE(messages.shown.empty());

    // Open without FILE_SHARE_DELETE: nothing may replace the file while this handle lives.
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ws.PlainText.text = "  ";
    EXPECT_FALSE(SaveDocument(ws, messages, target));
    CloseHandle(held);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(ReadBytes(target), saved);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace zam
