// What the program shows in modal windows and the files it writes: message boxes in Russian
// under its window's title, the exit-time memory report's box (the application tests check
// that a whole session gives every byte back; the open and save dialogs are run by the document
// command tests), and a save that must replace last time's file or leave one in use as it was.
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
#include "toolkit/heap_count.h"
#include "toolkit/message_box.h"
#include "toolkit/wide_text.h"
#include "workspace/document_file.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

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

}  // namespace
}  // namespace zam
