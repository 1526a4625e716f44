#include <gtest/gtest.h>

#include <string>

#include "app/document_commands.h"
#include "tests/windows/window_driver.h"
#include "toolkit/message_box.h"

namespace zam {
namespace {

using test::TestWindow;

// What a message box showed, read back from the window as UTF-16.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    bool icon = false;
};

test::Step Reading(SeenBox& seen) {
    return [&seen](HWND box) {
        seen.caption = test::WindowText(box);
        seen.text = test::ItemText(box, 0xFFFF);  // the static text
        HWND icon = GetDlgItem(box, 0x440);
        seen.icon = icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
        test::PressButton(box, IDOK);
    };
}

TEST(MessageBoxTest, TextAndCaptionReachTheBoxAsRussianWhateverTheCodePage) {
    SeenBox titled, renamed, error, stale, untitled;
    test::WindowDriver driver(
        {Reading(titled), Reading(renamed), Reading(error), Reading(stale), Reading(untitled)});
    {
        TestWindow app(L"Zamenor - шифровка.txt");
        SetApplicationWindow(app.Handle());
        EXPECT_EQ(MessageBoxApp("Неверный формат файла.", MB_OK), IDOK);
        // The caption is the window's title when the box opens.
        SetWindowTextW(app.Handle(), L"Zamenor - новое имя.txt");
        ShowMessage("Пустая строка.");
        MessageBoxMessages().Show("Неверный формат файла.", MessageIcon::Error);
    }
    // The window is gone but still registered: its stale handle lends no title.
    ShowMessage("Пустая строка.");
    SetApplicationWindow(nullptr);
    ShowMessage("Пустая строка.");  // no application window: no title (not "Error")

    EXPECT_EQ(titled.text, L"Неверный формат файла.");
    EXPECT_EQ(titled.caption, L"Zamenor - шифровка.txt");
    EXPECT_FALSE(titled.icon);
    EXPECT_EQ(renamed.text, L"Пустая строка.");
    EXPECT_EQ(renamed.caption, L"Zamenor - новое имя.txt");
    EXPECT_TRUE(error.icon);
    EXPECT_EQ(stale.caption, L"");
    EXPECT_EQ(untitled.caption, L"");
    EXPECT_EQ(untitled.text, L"Пустая строка.");
    EXPECT_EQ(driver.Handled(), 5);
    EXPECT_TRUE(driver.Unexpected().empty());
}

}  // namespace
}  // namespace zam
