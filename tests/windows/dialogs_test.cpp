// What the program shows in modal windows: message boxes under its window's title (the
// application tests read their Russian texts) and the exit-time memory report's box.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
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

namespace zam {
namespace {

using namespace test;

// Records what a message box showed, read back from the window as UTF-16, and closes it.
Step Reading(std::vector<std::wstring>& seen) {
    return [&seen](HWND box) {
        HWND icon = GetDlgItem(box, 0x440);
        const bool hasIcon =
            icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
        seen.push_back(WindowText(box) + L" | " + MessageText(box) +
                       (hasIcon ? L" | icon" : L""));
        PressButton(box, IDOK);
    };
}

std::wstring ExpectedReport(const std::wstring& bytes) {
    return L"В ходе выполнения программы возникла критическая ошибка,\rповлекшая за собой потерю " +
           bytes + L" байт памяти.\rЕсли ошибка повторится, свяжитесь в разработчиком.";
}

TEST(MessageBoxTest, CaptionTextAndIconAndAMemoryReportOnlyForLostBytes) {
    std::vector<std::wstring> seen;
    WindowDriver driver(std::vector<Step>(3, Reading(seen)));
    Control* app = NewForm(nullptr, "Zamenor - шифровка.txt");
    SetApplet(app);
    // The caption is the window's title when the box opens.
    SetWindowTextW(app->Handle(), L"Zamenor - новое имя.txt");
    ShowMessage("Пустая строка.");
    MessageBoxMessages().Show("Неверный формат файла.", MessageIcon::Error);
    Free(app);

    const int64_t start = LiveHeapBytes();
    ReportHeapLoss(start + 100);  // more taken before the record than is live now
    // Volatile: an unused new and delete pair may be left out by the optimiser.
    char* volatile lost = new char[24];
    ReportHeapLoss(start);
    delete[] lost;
    EXPECT_EQ(seen, (std::vector<std::wstring>{
                        L"Zamenor - новое имя.txt | Пустая строка.",
                        L"Zamenor - новое имя.txt | Неверный формат файла. | icon",
                        L"Критическая ошибка | " + ExpectedReport(L"24") + L" | icon",
                    }));
    EXPECT_TRUE(driver.Unexpected().empty());
    EXPECT_EQ(Widen(MemoryReportText(int64_t{1} << 40)), ExpectedReport(L"1099511627776"));
}

}  // namespace
}  // namespace zam
