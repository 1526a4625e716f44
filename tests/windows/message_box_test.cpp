#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/document_commands.h"
#include "tests/windows/window_driver.h"
#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/message_box.h"

namespace zam {
namespace {

// Records what a message box showed, read back from the window as UTF-16, and closes it.
test::Step Reading(std::vector<std::wstring>& seen) {
    return [&seen](HWND box) {
        HWND icon = GetDlgItem(box, 0x440);
        const bool hasIcon =
            icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
        seen.push_back(test::WindowText(box) + L" | " + test::ItemText(box, 0xFFFF) +
                       (hasIcon ? L" | icon" : L""));
        test::PressButton(box, IDOK);
    };
}

TEST(MessageBoxTest, TextAndCaptionReachTheBoxAsRussianWhateverTheCodePage) {
    std::vector<std::wstring> seen;
    test::WindowDriver driver(std::vector<test::Step>(5, Reading(seen)));
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
    ShowMessage("Пустая строка.");  // no application window: no title (not "Error")

    EXPECT_EQ(seen, (std::vector<std::wstring>{
                        L"Zamenor - шифровка.txt | Неверный формат файла.",
                        L"Zamenor - новое имя.txt | Пустая строка.",
                        L"Zamenor - новое имя.txt | Неверный формат файла. | icon",
                        L" | Пустая строка.",
                        L" | Пустая строка.",
                    }));
    EXPECT_TRUE(driver.Unexpected().empty());
}

}  // namespace
}  // namespace zam
