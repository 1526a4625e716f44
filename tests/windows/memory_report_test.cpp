// The exit-time memory report: its text, the box it shows for lost bytes and none otherwise,
// and a whole skinned window session that must give back every byte it took, so that a clean
// run of the program ends without the box.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/main_menu_template.h"
#include "app/memory_report.h"
#include "skin/menu_skin.h"
#include "skin/scroll_bar.h"
#include "skin/skin_bitmaps.h"
#include "skin/skinned_button.h"
#include "skin/skinned_form.h"
#include "skin/tooltip.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "tests/windows/window_driver.h"
#include "toolkit/heap_count.h"
#include "toolkit/menu.h"
#include "toolkit/message_box.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

using namespace test;

std::wstring ExpectedText(const std::wstring& bytes) {
    return L"В ходе выполнения программы возникла критическая ошибка,\rповлекшая за собой потерю " +
           bytes + L" байт памяти.\rЕсли ошибка повторится, свяжитесь в разработчиком.";
}

TEST(MemoryReportText, ThreeLinesJoinedBySingleCarriageReturnsNameA64BitCount) {
    EXPECT_EQ(Widen(MemoryReportText(int64_t{1} << 40)), ExpectedText(L"1099511627776"));
}

TEST(MemoryReportBox, OnlyLostBytesShowAnOwnerlessErrorBoxNamingThem) {
    const auto read = [](HWND box) {
        EXPECT_EQ(WindowText(box), L"Критическая ошибка");
        EXPECT_EQ(ItemText(box, 0xFFFF), ExpectedText(L"24"));
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        const HWND icon = GetDlgItem(box, 0x440);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)),
                  LoadIconW(nullptr, MAKEINTRESOURCEW(32513)));  // IDI_HAND
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDOK)));
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
}

HBITMAP MenuBitmap(const char* name) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), Widen(name).c_str(), IMAGE_BITMAP, 0, 0, 0));
}

// The program's window pieces made, used and freed in its order. The check inside allocates only
// when it fails.
void RunSession() {
    StartFrameSkin();
    StartScrollBarSkin();
    Control* applet = NewForm(nullptr, "Zamenor");
    Control* main = NewSkinnedForm(applet, "Zamenor — проба");
    main->SetPosition(40, 40)->SetSize(527, 330);
    Control* toolbar = NewPanel(main, 2);
    toolbar->SetBoundsRect({3, 46, 524, 74});
    auto tips = std::make_unique<TADToolTip>(nullptr);
    Control* load = NewSkinnedButton(toolbar, "btnLoad", 18, 2, 0);
    tips->AddTool(load->Handle(), "Открыть");
    tips->AddTool(NewSkinnedButton(toolbar, "btnAlph", 44, 2, 0)->Handle(), "Алфавит");
    Control* viewport = NewPanel(main, 2);
    viewport->SetBoundsRect({13, 84, 494, 239});
    Control* page = NewPanel(viewport, 2);
    page->SetBoundsRect({0, 0, 900, 620});
    Control* bar = NewSkinnedScrollBar(page, kScrollVertical);
    Control* edit = NewEditBox(main, kEditMultiline);
    edit->SetBoundsRect({13, 244, 203, 274});
    AddBottomButtons(main, {"Применить", "Закрыть"}, true);

    Control* strip = NewForm(main, "frmMenu");
    strip->HasBorder(false);
    strip->SetPosition(43, 66)->SetSize(368, 18);
    Menu* menu = NewMenu(strip, kMainMenuTemplate);
    SetItemBitmaps(MenuItem(menu, 1), MenuBitmap("mnuLoad"), nullptr);
    SetItemText(MenuItem(menu, 24), "биграммы");
    for (int i : {30, 31}) {
        SetItemBitmaps(MenuItem(menu, i), MenuBitmap("mnuRadio"), MenuBitmap("mnuRadioChecked"));
    }
    SkinMenu(menu);

    ShowQuietly(main);
    ShowQuietly(strip);
    UpdateScrollBar(bar);
    ScrollBy(bar, 0, 40);
    main->SetSize(540, 340);  // lays the bottom buttons out again
    RedrawWindow(main->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    DrawMenuBar(strip->Handle());
    Pump();
    Surface surface(200, 60);
    for (int i : {1, 30}) {
        DrawPopupItem(MenuItem(menu, i),
                      {surface.Dc(), {0, 0, 160, kMenuItemHeight}, ODA_DRAWENTIRE, ODS_SELECTED});
    }
    SendMessageW(strip->Handle(), WM_COMMAND, MAKEWPARAM(MenuItem(menu, 31)->CommandId(), 0), 0);

    Canvas* canvas = page->Canvas();
    canvas->Brush()->SetColor(RGB(255, 251, 244));
    canvas->FillRect({0, 0, 200, 40});
    canvas->TextOut(8, 4, "ЪЛХ ЖРЮЯ ФЦ — шифрограмма");
    canvas->Release();
    Bitmap* picture = NewBitmap(64, 32);
    picture->GetCanvas()->TextOut(2, 2, "Ёж");
    Free(picture);
    edit->SetCaption("Съешь же ещё этих мягких французских булок");
    main->SetCaption("Zamenor — шифровка.txt");
    load->Click();
    {
        WindowDriver driver({[](HWND box) { PressButton(box, IDOK); }});
        MessageBoxApp("Неверный формат файла.", MB_OK | MB_ICONERROR);
        EXPECT_EQ(driver.Handled(), 1);
    }

    // The tooltip made without owner outlives the forms, the shared bitmaps go after the last
    // form, the window classes last.
    Free(applet);
    Pump();
    tips.reset();
    FinishScrollBarSkin();
    FinishFrameSkin();
    ReleaseUnusedWindowClasses();
    Pump();
}

using MemoryReport = ControlTest;

TEST_F(MemoryReport, ASkinnedSessionGivesBackEveryByteItTook) {
    Pump();
    const int64_t start = LiveHeapBytes();
    RunSession();
    EXPECT_EQ(LiveHeapBytes() - start, 0) << "bytes kept after everything was freed";
    EXPECT_EQ(CurrentMenuStyle(), nullptr);
    EXPECT_EQ(FrameSkinStarts(), 0);
}

}  // namespace
}  // namespace zam
