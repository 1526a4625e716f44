#include <gtest/gtest.h>

#include <string>

#include "app/document_commands.h"
#include "tests/windows/window_driver.h"
#include "toolkit/message_box.h"

namespace zam {
namespace {

using test::ItemText;
using test::PressButton;
using test::Step;
using test::TestWindow;
using test::WindowDriver;
using test::WindowText;

constexpr int kMessageText = 0xFFFF;
constexpr int kMessageIcon = 0x440;

// What a message box showed, read back from the window as UTF-16.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    bool icon = false;
};

Step Reading(SeenBox& seen, int button) {
    return [&seen, button](HWND box) {
        seen.caption = WindowText(box);
        seen.text = ItemText(box, kMessageText);
        HWND icon = GetDlgItem(box, kMessageIcon);
        seen.icon = icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
        PressButton(box, button);
    };
}

class MessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override { SetApplicationWindow(nullptr); }
};

TEST_F(MessageBoxTest, TextAndCaptionReachTheBoxAsRussianWhateverTheCodePage) {
    SeenBox titled, renamed, stale, untitled;
    WindowDriver driver({Reading(titled, IDOK), Reading(renamed, IDOK), Reading(stale, IDOK),
                         Reading(untitled, IDOK)});
    {
        TestWindow app(L"Zamenor - шифровка.txt");
        SetApplicationWindow(app.Handle());
        EXPECT_EQ(MessageBoxApp("Неверный формат файла.", MB_OK), IDOK);
        EXPECT_EQ(titled.text, L"Неверный формат файла.");
        EXPECT_EQ(titled.caption, L"Zamenor - шифровка.txt");

        // The caption is the window's title when the box opens.
        SetWindowTextW(app.Handle(), L"Zamenor - новое имя.txt");
        ShowMessage("Пустая строка.");
        EXPECT_EQ(renamed.text, L"Пустая строка.");
        EXPECT_EQ(renamed.caption, L"Zamenor - новое имя.txt");
    }
    // The window is gone but still registered: its stale handle lends no title.
    ShowMessage("Пустая строка.");
    EXPECT_EQ(stale.caption, L"");

    SetApplicationWindow(nullptr);
    ShowMessage("Пустая строка.");
    EXPECT_EQ(untitled.caption, L"");  // no application window: no title (not "Error")
    EXPECT_EQ(untitled.text, L"Пустая строка.");
    EXPECT_EQ(driver.Handled(), 4);
    EXPECT_TRUE(driver.Unexpected().empty());
}

TEST_F(MessageBoxTest, MessagesShowTheErrorIconOnlyForErrors) {
    TestWindow app(L"Zamenor");
    SetApplicationWindow(app.Handle());
    MessageBoxMessages messages;
    SeenBox plain, error;
    WindowDriver driver({Reading(plain, IDOK), Reading(error, IDOK)});

    messages.Show("Пустая строка.", MessageIcon::None);
    messages.Show("Неверный формат файла.", MessageIcon::Error);
    EXPECT_EQ(plain.text, L"Пустая строка.");
    EXPECT_FALSE(plain.icon);
    EXPECT_EQ(error.text, L"Неверный формат файла.");
    EXPECT_TRUE(error.icon);
    EXPECT_EQ(error.caption, L"Zamenor");
}

}  // namespace
}  // namespace zam
