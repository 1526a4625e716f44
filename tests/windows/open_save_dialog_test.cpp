#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/windows/window_driver.h"
#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/encoding.h"
#include "toolkit/message_box.h"
#include "toolkit/open_save_dialog.h"

namespace zam {
namespace {

using test::Accept;
using test::Cancel;
using test::Inspecting;
using test::TempDir;
using test::TestWindow;
using test::WindowDriver;
using test::WindowText;
using test::WriteBytes;

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
        seen.fileName = WindowText(test::FileNameField(dialog));
        seen.fileType = test::ItemText(dialog, 0x470);  // cmb1, the file type
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
    bool Run(std::vector<test::Step> steps) {
        WindowDriver driver(std::move(steps));
        const bool accepted = Execute(dialog_);
        EXPECT_TRUE(driver.Unexpected().empty());
        return accepted;
    }

    Control* app_ = NewForm(nullptr, "Zamenor");
    TempDir dir_;
    // A dialog that succeeds makes its directory the current one.
    test::CurrentDirectoryScope cwd_{std::filesystem::current_path()};
    OpenSaveDialog* dialog_ = nullptr;
};

TEST_F(OpenSaveDialogRun, OpenShowsItsTextsInRussianAndReturnsTheChosenPathOrSeveral) {
    const std::filesystem::path file = dir_ / L"crypt.txt";
    WriteBytes(file, "АБВ\r\n");
    WriteBytes(dir_ / L"b.txt", "Б\r\n");
    dialog_ = NewOpenSaveDialog("Выберите файл", "", 0);
    dialog_->InitialDirPath = dir_.Path();
    dialog_->Filter = "Тексты (*.txt)|*.txt|Все файлы|*.*";
    dialog_->FilterIndex = 2;
    SeenDialog seen;
    ASSERT_TRUE(Run({Inspecting(Reading(seen), Accept(file.native()))}));
    EXPECT_EQ(seen.title, L"Выберите файл");
    EXPECT_EQ(seen.fileType, L"Все файлы");
    EXPECT_EQ(seen.owner, app_->WindowHandle());  // no WndOwner: the application window
    EXPECT_EQ(dialog_->FilePath, file);
    EXPECT_EQ(dialog_->FileName, PathTo1251(file));
    EXPECT_EQ(dialog_->FilterIndex, 2);

    // Several names come back after their directory, separated by carriage returns.
    dialog_->Options |= kDialogAllowMultiSelect;
    dialog_->FilterIndex = 0;
    ASSERT_TRUE(Run({Accept(L"\"crypt.txt\" \"b.txt\"")}));
    EXPECT_EQ(dialog_->FileName, PathTo1251(dir_.Path()) + "\rcrypt.txt\rb.txt");
    EXPECT_EQ(dialog_->FilterIndex, 1);  // 0 went in: the dialog reports the type it used
}

TEST_F(OpenSaveDialogRun, CancelEmptiesThePreloadedNameAndAGoneOwnerStillShows) {
    TestWindow owner(L"Другое окно");
    dialog_ = NewOpenSaveDialog("Сохранить", "", 0);
    dialog_->OpenDialog = 0;
    dialog_->InitialDirPath = dir_.Path();
    dialog_->FileName = "-шифр.txt";
    dialog_->WndOwner = owner.Handle();
    SeenDialog seen;
    EXPECT_FALSE(Run({Inspecting(Reading(seen), Cancel())}));
    EXPECT_EQ(seen.fileName, L"-шифр.txt");
    EXPECT_EQ(seen.owner, owner.Handle());
    EXPECT_EQ(dialog_->FileName, "");
    EXPECT_TRUE(dialog_->FilePath.empty());

    HWND gone;
    {
        TestWindow closed(L"Закрытое окно");
        gone = closed.Handle();
    }
    dialog_->WndOwner = gone;
    EXPECT_TRUE(Run({Accept((dir_ / L"a.txt").native())}));
    EXPECT_EQ(dialog_->FilePath, dir_ / L"a.txt");
}

TEST_F(OpenSaveDialogRun, NamesCp1251CannotSpellSurviveInThePathAndDirectory) {
    // Both the starting directory and the typed name hold a Greek letter: the dialog must
    // start in that directory (the name is relative) and hand back the name intact.
    const std::wstring kappa = L"\u03BA";
    if (!test::CanNameFile(dir_.Path(), kappa))
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

}  // namespace
}  // namespace zam
