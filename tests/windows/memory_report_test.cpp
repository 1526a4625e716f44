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
#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"
#include "toolkit/graphic_tool.h"
#include "toolkit/heap_count.h"
#include "toolkit/menu.h"
#include "toolkit/message_box.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

using test::Pump;
using test::ShowQuietly;
using MemoryReport = test::ControlTest;

const std::wstring kLine1 = L"В ходе выполнения программы возникла критическая ошибка,";
const std::wstring kLine3 = L"Если ошибка повторится, свяжитесь в разработчиком.";

std::wstring ExpectedText(const std::wstring& bytes) {
    return kLine1 + L"\rповлекшая за собой потерю " + bytes + L" байт памяти.\r" + kLine3;
}

TEST(MemoryReportText, ThreeLinesJoinedBySingleCarriageReturnsNameTheBytes) {
    EXPECT_EQ(Widen(MemoryReportText(24)), ExpectedText(L"24"));
    EXPECT_EQ(Widen(MemoryReportText(1)), ExpectedText(L"1"));
    // Past 32 bits: the count is a 64-bit one.
    EXPECT_EQ(Widen(MemoryReportText(int64_t{1} << 40)), ExpectedText(L"1099511627776"));
}

// What the box showed, read back from the window.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
    bool errorIcon = false;
    bool okButton = false;
    bool cancelButton = false;
};

test::Step Reading(SeenBox& seen) {
    return test::Inspecting(
        [&seen](HWND box) {
            seen.caption = test::WindowText(box);
            seen.text = test::ItemText(box, 0xFFFF);
            seen.owner = GetWindow(box, GW_OWNER);
            HWND icon = GetDlgItem(box, 0x440);
            const HICON shown =
                icon ? reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)) : nullptr;
            seen.errorIcon =
                shown && shown == LoadIconW(nullptr, MAKEINTRESOURCEW(32513));  // IDI_HAND
            auto visible = [box](int id) {
                HWND button = GetDlgItem(box, id);
                return button && IsWindowVisible(button);
            };
            seen.okButton = visible(IDOK);
            seen.cancelButton = visible(IDCANCEL);
        },
        [](HWND box) { test::PressButton(box, IDOK); });
}

TEST(MemoryReportBox, LostBytesShowTheErrorBoxWithTheirCount) {
    SeenBox seen;
    test::WindowDriver driver({Reading(seen)});
    const int64_t start = LiveHeapBytes();
    // Volatile: an unused new and delete pair may be left out by the optimiser.
    char* volatile lost = new char[24];
    ReportHeapLoss(start);
    delete[] lost;

    EXPECT_EQ(driver.Handled(), 1);
    EXPECT_TRUE(driver.Unexpected().empty());
    EXPECT_EQ(seen.caption, L"Критическая ошибка");
    EXPECT_EQ(seen.text, ExpectedText(L"24"));
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_TRUE(seen.errorIcon);
    EXPECT_TRUE(seen.okButton);
    EXPECT_FALSE(seen.cancelButton);
}

TEST(MemoryReportBox, NoLossShowsNothing) {
    test::WindowDriver driver({});
    const int64_t now = LiveHeapBytes();
    ReportHeapLoss(now);
    // More at the start than at the end: memory freed that was taken before the record.
    ReportHeapLoss(now + 100);
    EXPECT_EQ(driver.Handled(), 0);
    EXPECT_TRUE(driver.Unexpected().empty());
}

// ---- a session of the program's window pieces, made, used and freed ----

struct ToolbarButton {
    const char* name;
    int32_t left;
    const char* hint;
};
constexpr ToolbarButton kToolbar[] = {
    {"btnLoad", 18, "Открыть"},
    {"btnSave", 44, "Сохранить"},
    {"btnLocked", 148, "Шифротекст"},
    {"btnAlph", 174, "Алфавит"},
};

HBITMAP MenuBitmap(const char* name) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), Widen(name).c_str(), IMAGE_BITMAP, 0, 0, 0));
}

void CountClick(void* clicks, Control*) {
    ++*static_cast<int*>(clicks);
}

// The main menu as the application sets it up, skinned, on the strip form.
Menu* BuildMenu(Control* strip) {
    Menu* menu = NewMenu(strip, kMainMenuTemplate);
    SetItemBitmaps(MenuItem(menu, 1), MenuBitmap("mnuLoad"), nullptr);
    for (int i : {13, 14, 15, 17, 18}) {
        SetItemChecked(MenuItem(menu, i), true);
        SetItemBitmaps(MenuItem(menu, i), nullptr, MenuBitmap("mnuChecked"));
    }
    SetItemText(MenuItem(menu, 24), "биграммы");
    for (int i : {30, 31}) {
        SetItemBitmaps(MenuItem(menu, i), MenuBitmap("mnuRadio"), MenuBitmap("mnuRadioChecked"));
    }
    SetItemEnabled(MenuItem(menu, 8), false);
    SkinMenu(menu);
    return menu;
}

// Draws a popup item as the system asks the strip to, highlighted.
void DrawItemThroughStrip(Control* strip, MenuEntry* item, HDC dc) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = static_cast<UINT>(item->CommandId());
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = ODS_SELECTED;
    draw.hwndItem = reinterpret_cast<HWND>(item->ParentHandle());
    draw.hDC = dc;
    draw.rcItem = RECT{0, 0, 160, kMenuItemHeight};
    draw.itemData = static_cast<ULONG_PTR>(item->CommandId());
    SendMessageW(strip->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
}

// What the session saw, checked once everything is freed; nothing here holds heap memory.
struct SessionResult {
    bool editTextKept = false;
    bool formCaptionKept = false;
    int clicks = 0;
    int boxes = 0;
    int strayBoxes = 0;
    bool menuStyled = false;
    bool popupDrawn = false;
    bool canvasDrew = false;
};

void RunSession(SessionResult& result) {
    StartFrameSkin();
    StartScrollBarSkin();
    Control* applet = NewForm(nullptr, "Zamenor");
    applet->SetPosition(0, 0)->SetSize(1, 1);
    SetApplicationWindow(applet->Handle());

    Control* main = NewSkinnedForm(applet, "Zamenor — проба");
    FrameOf(main)->Sizeable = 0;
    main->SetPosition(40, 40)->SetSize(527, 330);
    const Rect client = FrameClientRect(main);
    Control* toolbar = NewPanel(main, 2);
    toolbar->SetBoundsRect({client.left, client.top + 22, client.right, client.top + 50});
    toolbar->SetColor(kSkinFormColor);
    auto tips = std::make_unique<TADToolTip>(nullptr);
    Control* first = nullptr;
    for (const ToolbarButton& b : kToolbar) {
        Control* button = NewSkinnedButton(toolbar, b.name, b.left, 2, 0);
        first = first ? first : button;
        tips->AddTool(button->Handle(), b.hint);
    }
    first->OnClick = MakeEvent<Control*>(&result.clicks, &CountClick);

    Control* viewport = NewPanel(main, 2);
    viewport->SetBoundsRect(
        {client.left + 10, client.top + 60, client.right - 30, client.top + 215});
    Control* page = NewPanel(viewport, 2);
    page->SetBoundsRect({0, 0, 900, 620});
    Control* bar = NewSkinnedScrollBar(page, kScrollVertical);
    Control* edit = NewEditBox(main, kEditMultiline);
    edit->SetBoundsRect({client.left + 10, client.top + 220, client.left + 200, client.top + 250});
    AddBottomButtons(main, {"Применить", "Закрыть"}, true);

    Control* strip = NewForm(main, "frmMenu");
    strip->HasBorder(false);
    strip->SetPosition(main->Left() + client.left, main->Top() + client.top + 2)->SetSize(368, 18);
    Menu* menu = BuildMenu(strip);
    result.menuStyled = CurrentMenuStyle() != nullptr;

    ShowQuietly(main);
    ShowQuietly(strip);
    UpdateScrollBar(bar);
    ScrollBy(bar, 0, 40);
    main->SetSize(540, 340);  // lays the bottom buttons out again
    RedrawWindow(main->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    DrawMenuBar(strip->Handle());
    Pump();

    {
        test::Surface surface(200, 60);
        DrawItemThroughStrip(strip, MenuItem(menu, 1), surface.Dc());
        DrawItemThroughStrip(strip, MenuItem(menu, 30), surface.Dc());
        result.popupDrawn = surface.Count(RGB(255, 255, 255)) < 200 * 60;
    }
    // A menu command: the radio item of the second scheme.
    SendMessageW(strip->Handle(), WM_COMMAND, MAKEWPARAM(MenuItem(menu, 31)->CommandId(), 0), 0);

    Canvas* canvas = page->Canvas();
    canvas->Brush()->SetColor(RGB(255, 251, 244));
    canvas->FillRect({0, 0, 200, 40});
    canvas->Font()->SetColor(RGB(200, 60, 0));
    canvas->TextOut(8, 4, "ЪЛХ ЖРЮЯ ФЦ — шифрограмма");
    canvas->MoveTo(0, 21);
    canvas->LineTo(200, 21);
    result.canvasDrew = canvas->TextExtent("шифрограмма").cx > 0;
    canvas->Release();
    Bitmap* picture = NewBitmap(64, 32);
    picture->GetCanvas()->TextOut(2, 2, "Ёж");
    Free(picture);

    const char* const russian = "Съешь же ещё этих мягких французских булок";
    edit->SetCaption(russian);
    result.editTextKept = edit->Caption() == russian;
    main->SetCaption("Zamenor — шифровка.txt");
    result.formCaptionKept = main->Caption() == "Zamenor — шифровка.txt";
    first->Click();
    Pump();

    {
        test::WindowDriver driver({[](HWND box) { test::PressButton(box, IDOK); }});
        MessageBoxApp("Неверный формат файла.", MB_OK | MB_ICONERROR);
        result.boxes = driver.Handled();
        result.strayBoxes = static_cast<int>(driver.Unexpected().size());
    }

    // The order of the program's shutdown: the tooltip made without owner outlives the forms,
    // the shared bitmaps go after the last form, the window classes last.
    Free(applet);
    Pump();
    tips.reset();
    SetApplicationWindow(nullptr);
    FinishScrollBarSkin();
    FinishFrameSkin();
    ReleaseUnusedWindowClasses();
    Pump();
}

TEST_F(MemoryReport, ASkinnedSessionGivesBackEveryByteItTook) {
    Pump();
    const int64_t start = LiveHeapBytes();
    SessionResult result;
    RunSession(result);
    const int64_t end = LiveHeapBytes();

    EXPECT_EQ(end - start, 0) << "bytes kept after everything was freed";
    EXPECT_EQ(CurrentMenuStyle(), nullptr);
    EXPECT_EQ(FrameSkinStarts(), 0);
    EXPECT_TRUE(result.editTextKept);
    EXPECT_TRUE(result.formCaptionKept);
    EXPECT_EQ(result.clicks, 1);
    EXPECT_EQ(result.boxes, 1);
    EXPECT_EQ(result.strayBoxes, 0);
    EXPECT_TRUE(result.menuStyled);
    EXPECT_TRUE(result.popupDrawn);
    EXPECT_TRUE(result.canvasDrew);
}

}  // namespace
}  // namespace zam
