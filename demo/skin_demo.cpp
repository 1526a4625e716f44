// Not shipped: one skinned window with every piece of the skin, for looking at. The frame and
// its caption buttons, a menu strip with the application's owner-drawn main menu, the toolbar
// with hints, a panel scrolled by skinned bars and the bottom buttons.
//
// scripts/skin_screenshot.sh drives it with the mouse; "--quit MS" ends it after MS
// milliseconds, should the script fail to.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>

#include "app/main_menu_template.h"
#include "skin/menu_skin.h"
#include "skin/scroll_bar.h"
#include "skin/skin_bitmaps.h"
#include "skin/skinned_button.h"
#include "skin/skinned_form.h"
#include "skin/tooltip.h"
#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/menu.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {


struct ToolbarButton {
    const char* name;
    int32_t left;
    const char* hint;
};
constexpr ToolbarButton kToolbar[] = {
    {"btnLoad", 18, "Открыть"},
    {"btnSave", 44, "Сохранить"},
    {"btnNew", 78, "Очистить"},
    {"btnFind", 113, "Фраза"},
    {"btnLocked", 148, "Шифротекст"},
    {"btnAlph", 174, "Алфавит"},
    {"btnUnLocked", 200, "Открытый текст"},
    {"btnGraph", 234, "График частот"},
    {"btnDbl", 260, "Биграммы"},
    {"btnInfo", 286, "Информация"},
};

constexpr COLORREF kToolbarColor = 0x5ECCFF;
constexpr COLORREF kPageColor = 0xF4FBFF;

struct Demo {
    Control* main = nullptr;
    Control* strip = nullptr;
    std::unique_ptr<TADToolTip> tips;
};
Demo demo;

HBITMAP MenuBitmap(const char* name) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), Widen(name).c_str(), IMAGE_BITMAP, 0, 0, 0));
}

// The main menu as the application sets it up: item bitmaps, check marks, the labelled
// separator, the radio pair and the two disabled items, then the skin.
void BuildMenu(Control* strip) {
    Menu* menu = NewMenu(strip, kMainMenuTemplate);
    SetItemBitmaps(MenuItem(menu, 1), MenuBitmap("mnuLoad"), nullptr);
    SetItemBitmaps(MenuItem(menu, 2), MenuBitmap("mnuSave"), nullptr);
    for (int i : {13, 14, 15, 17, 18, 19, 22, 23, 25, 26, 28}) {
        SetItemChecked(MenuItem(menu, i), true);
        SetItemBitmaps(MenuItem(menu, i), nullptr, MenuBitmap("mnuChecked"));
    }
    SetItemText(MenuItem(menu, 24), "биграммы");
    for (int i : {30, 31}) {
        SetItemBitmaps(MenuItem(menu, i), MenuBitmap("mnuRadio"), MenuBitmap("mnuRadioChecked"));
    }
    SetItemEnabled(MenuItem(menu, 8), false);
    SetItemEnabled(MenuItem(menu, 9), false);
    SetItemBitmaps(MenuItem(menu, 35), MenuBitmap("mnuWeb"), nullptr);
    SkinMenu(menu);
}

// The strip rides on the main window, below its caption.
void PlaceStrip(void*, Control* main) {
    if (!demo.strip) {
        return;
    }
    const Rect client = FrameClientRect(main);
    demo.strip->SetPosition(main->Left() + client.left, main->Top() + client.top + 2);
}

// Wine without a window manager raises a clicked window above the windows it owns, after
// activating it and without telling it; Windows never does. Once the main window is activated,
// the strip is put back on top when the queue is next idle.
void CALLBACK RaiseStrip(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (demo.strip && demo.strip->WindowHandle()) {
        SetWindowPos(demo.strip->WindowHandle(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

void KeepStripAbove(void*, Control*, Message& message, bool&) {
    if (message.Msg == WM_ACTIVATE && LOWORD(message.WParam) != WA_INACTIVE) {
        SetTimer(nullptr, 0, 50, RaiseStrip);
    }
}

// A page of ruled Russian lines, so that scrolling shows.
void PaintPage(void*, Control* page, HDC dc) {
    RECT all{0, 0, page->Width(), page->Height()};
    HBRUSH paper = CreateSolidBrush(kPageColor);
    FillRect(dc, &all, paper);
    DeleteObject(paper);
    LOGFONTW font{};
    font.lfHeight = -13;
    font.lfCharSet = RUSSIAN_CHARSET;
    wcscpy(font.lfFaceName, L"Arial");
    HFONT handle = CreateFontIndirectW(&font);
    HGDIOBJ old = SelectObject(dc, handle);
    SetBkMode(dc, TRANSPARENT);
    const std::wstring line =
        Widen("ЪЛХ ЖРЮЯ ФЦ ЮЖЩОЪЖР — ЕЬЛЯ ЖЙАКЕ ГЪЕ ЮТЦОЭ ЬЖЛ; шифрограмма, строка ");
    for (int row = 0; row * 20 < page->Height(); ++row) {
        const std::wstring text = line + std::to_wstring(row + 1);
        SetTextColor(dc, row % 5 == 0 ? RGB(200, 60, 0) : RGB(0, 0, 0));
        TextOutW(dc, 8, 4 + row * 20, text.c_str(), static_cast<int>(text.size()));
        MoveToEx(dc, 0, 21 + row * 20, nullptr);
        LineTo(dc, page->Width(), 21 + row * 20);
    }
    SelectObject(dc, old);
    DeleteObject(handle);
}

void EndDemo(void*, ToolkitObject*) {
    PostQuitMessage(0);
}

void CALLBACK Quit(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    EndMenu();
    PostQuitMessage(0);
}

void Build(Control* applet) {
    Control* main = NewSkinnedForm(applet, "Zamenor — скин");
    demo.main = main;
    FrameRecord* frame = FrameOf(main);
    frame->Sizeable = 0;
    main->SetSize(527, 330);
    main->SetPosition(40, 40);
    frame->MinButton->Show();
    main->OnDestroy = MakeEvent<ToolkitObject*>(nullptr, &EndDemo);
    const Rect client = FrameClientRect(main);
    const int32_t width = client.right - client.left;

    Control* bar = NewPanel(main, 2);
    bar->SetBoundsRect({client.left, client.top, client.right, client.top + 21});
    bar->SetColor(kSkinFormColor);
    Control* toolbar = NewPanel(main, 2);
    toolbar->SetBoundsRect({client.left, client.top + 22, client.right, client.top + 50});
    toolbar->SetColor(kToolbarColor);
    demo.tips = std::make_unique<TADToolTip>(nullptr);
    for (const ToolbarButton& b : kToolbar) {
        Control* button = NewSkinnedButton(toolbar, b.name, b.left, 2, 0);
        demo.tips->AddTool(button->Handle(), b.hint);
    }

    // A page larger than its viewport both ways, with a bar for each.
    Control* viewport = NewPanel(main, 2);
    viewport->SetBoundsRect({client.left + 10, client.top + 60,
                             client.left + width - 10 - kScrollBarThickness, client.top + 215});
    Control* page = NewPanel(viewport, 2);
    page->SetBoundsRect({0, 0, 900, 620});
    page->OnPaint = MakeEvent<Control*, HDC>(nullptr, &PaintPage);
    UpdateScrollBar(NewSkinnedScrollBar(page, kScrollVertical));
    UpdateScrollBar(NewSkinnedScrollBar(page, kScrollHorizontal));

    AddBottomButtons(main, {"Применить", "Закрыть"}, true);

    Control* strip = NewForm(main, "frmMenu");
    strip->HasBorder(false);
    strip->Border = 0;
    strip->SetSize(368, 18);
    demo.strip = strip;
    PlaceStrip(nullptr, main);
    main->OnMove = MakeEvent<Control*>(nullptr, &PlaceStrip);
    main->OnMessage = MakeEvent<Control*, Message&, bool&>(nullptr, &KeepStripAbove);
    BuildMenu(strip);

    main->Show();
    strip->Show();
}

// The number after the switch on the command line, or fallback without the switch.
int Switch(const wchar_t* name, int fallback) {
    const wchar_t* found = std::wcsstr(GetCommandLineW(), name);
    return found ? _wtoi(found + std::wcslen(name)) : fallback;
}

int Run() {
    const int quitAfter = Switch(L"--quit ", 0);
    FrameSkinModule frames;
    StartScrollBarSkin();
    Control* applet = NewForm(nullptr, "Zamenor");
    applet->SetPosition(0, 0)->SetSize(1, 1);
    Build(applet);
    if (quitAfter > 0) {
        SetTimer(nullptr, 0, static_cast<UINT>(quitAfter), Quit);
    }
    RunApplication(applet);
    // Made without owner as the application makes it, the tooltip outlives the forms.
    demo.tips.reset();
    FinishScrollBarSkin();
    return 0;
}

}  // namespace
}  // namespace zam

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return zam::Run();
}
