#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/windows/window_driver.h"
#include "toolkit/encoding.h"
#include "toolkit/message_box.h"
#include "toolkit/open_save_dialog.h"

namespace zam {
namespace {

using test::Accept;
using test::Cancel;
using test::CanNameFile;
using test::CurrentDirectoryScope;
using test::FileNameField;
using test::Inspecting;
using test::ItemText;
using test::TempDir;
using test::TestWindow;
using test::WindowDriver;
using test::WindowText;
using test::WriteBytes;

constexpr int kFileTypeCombo = 0x470;  // cmb1
constexpr const char* kNoUnicodeNames = "Wine cannot name non-ASCII files under this locale";

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
        seen.fileType = ItemText(dialog, kFileTypeCombo);
        seen.owner = GetWindow(dialog, GW_OWNER);
    };
}

// Owns the dialog for a test; Free runs even when an assertion returns early.
struct DialogHolder {
    OpenSaveDialog* dialog;
    ~DialogHolder() { Free(dialog); }
    OpenSaveDialog* operator->() const { return dialog; }
};

class OpenSaveDialogRun : public ::testing::Test {
protected:
    void SetUp() override { SetApplicationWindow(app_.Handle()); }
    void TearDown() override { SetApplicationWindow(nullptr); }

    TestWindow app_{L"Zamenor"};
    TempDir dir_;
    // A dialog that succeeds makes its directory the current one.
    CurrentDirectoryScope cwd_{std::filesystem::current_path()};
};

TEST_F(OpenSaveDialogRun, OpenShowsItsTextsInRussianAndReturnsTheChosenPath) {
    const std::filesystem::path file = dir_ / L"crypt.txt";
    WriteBytes(file, "АБВ\r\n");
    DialogHolder dialog{NewOpenSaveDialog("Выберите файл", "", 0)};
    dialog->InitialDirPath = dir_.Path();
    dialog->Filter = "Тексты (*.txt)|*.txt|Все файлы|*.*";
    dialog->FilterIndex = 2;

    SeenDialog seen;
    WindowDriver driver({Inspecting(Reading(seen), Accept(file.native()))});
    ASSERT_TRUE(Execute(dialog.dialog));
    EXPECT_EQ(seen.title, L"Выберите файл");
    EXPECT_EQ(seen.fileType, L"Все файлы");
    EXPECT_EQ(seen.fileName, L"");
    EXPECT_EQ(seen.owner, app_.Handle());  // no WndOwner: the application window
    EXPECT_EQ(dialog->FilePath, file);
    EXPECT_EQ(dialog->FileName, PathTo1251(file));
    EXPECT_EQ(dialog->FilterIndex, 2);
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST_F(OpenSaveDialogRun, CancelEmptiesTheNameThatWasPreloaded) {
    TestWindow owner(L"Другое окно");
    DialogHolder dialog{NewOpenSaveDialog("Сохранить", "", 0)};
    dialog->OpenDialog = 0;
    dialog->InitialDirPath = dir_.Path();
    dialog->FileName = "-шифр.txt";
    dialog->WndOwner = owner.Handle();

    SeenDialog seen;
    WindowDriver driver({Inspecting(Reading(seen), Cancel())});
    EXPECT_FALSE(Execute(dialog.dialog));
    EXPECT_EQ(seen.fileName, L"-шифр.txt");
    EXPECT_EQ(seen.owner, owner.Handle());
    EXPECT_EQ(dialog->FileName, "");
    EXPECT_TRUE(dialog->FilePath.empty());
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST_F(OpenSaveDialogRun, AnOwnerThatIsGoneDoesNotKeepTheDialogFromShowing) {
    HWND gone;
    {
        TestWindow owner(L"Закрытое окно");
        gone = owner.Handle();
    }
    const std::filesystem::path file = dir_ / L"a.txt";
    WriteBytes(file, "А\r\n");
    DialogHolder dialog{NewOpenSaveDialog("", "", 0)};
    dialog->WndOwner = gone;

    WindowDriver driver({Accept(file.native())});
    EXPECT_TRUE(Execute(dialog.dialog));
    EXPECT_EQ(dialog->FilePath, file);
}

TEST_F(OpenSaveDialogRun, NamesCp1251CannotSpellSurviveInThePathAndDirectory) {
    // Both the starting directory and the typed name hold a Greek letter: the dialog must
    // start in that directory (the name is relative) and hand back the name intact.
    const std::wstring kappa = L"\u03BA";
    if (!CanNameFile(dir_.Path(), kappa))
        GTEST_SKIP() << kNoUnicodeNames;
    TempDir greekDir(L"-" + kappa);
    DialogHolder dialog{NewOpenSaveDialog("Сохранить", "", 0)};
    dialog->OpenDialog = 0;
    dialog->InitialDirPath = greekDir.Path();
    dialog->InitialDir = PathTo1251(greekDir.Path());

    WindowDriver driver({Accept(kappa + L"_out.txt")});
    ASSERT_TRUE(Execute(dialog.dialog));
    EXPECT_EQ(dialog->FilePath, greekDir / (kappa + L"_out.txt"));
    EXPECT_EQ(dialog->FileName, PathTo1251(greekDir.Path()) + "\\?_out.txt");
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST_F(OpenSaveDialogRun, MultiSelectSeparatesTheChosenNamesWithCarriageReturns) {
    WriteBytes(dir_ / L"a.txt", "А\r\n");
    WriteBytes(dir_ / L"b.txt", "Б\r\n");
    DialogHolder dialog{NewOpenSaveDialog("", "", kDefaultDialogOptions | kDialogAllowMultiSelect)};
    dialog->InitialDirPath = dir_.Path();
    dialog->Filter = "Тексты|*.txt|Все|*.*";

    WindowDriver driver({Accept(L"\"a.txt\" \"b.txt\"")});
    ASSERT_TRUE(Execute(dialog.dialog));
    EXPECT_EQ(dialog->FileName, PathTo1251(dir_.Path()) + "\ra.txt\rb.txt");
    EXPECT_EQ(dialog->FilterIndex, 1);  // 0 went in: the dialog reports the type it used
    EXPECT_TRUE(driver.Unexpected().empty());
}

}  // namespace
}  // namespace zam
