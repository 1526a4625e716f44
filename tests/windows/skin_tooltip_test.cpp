// Hints over real buttons: the tool record the control keeps, the Russian text whatever the
// system code page, a hint that appears when the pointer rests on a button and a click that
// still reaches the button through it.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "skin/tooltip.h"
#include "tests/windows/control_test_support.h"
#include "toolkit/control.h"

namespace zam {
namespace {

using test::ControlTest;
using test::Pump;

using SkinTooltip = ControlTest;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The tool's text as the control keeps it.
std::wstring ToolText(HWND tip, HWND tool) {
    wchar_t text[256] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = tool;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    return text;
}

// What the tip shows now, when it is visible.
std::wstring ShownText(HWND tip) {
    if (!IsWindowVisible(tip)) {
        return L"";
    }
    wchar_t text[256] = {};
    GetWindowTextW(tip, text, 256);
    return text;
}

template <class Condition>
bool PumpUntil(Condition condition, int milliseconds = 4000) {
    for (int waited = 0; waited < milliseconds && !condition(); waited += 10) {
        Sleep(10);
        Pump();
    }
    return condition();
}

void MoveMouse(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
    Pump();
}

POINT Inside(Control* control) {
    const Point p = control->ClientToScreen(Point{control->Width() / 2, control->Height() / 2});
    return POINT{p.x, p.y};
}

// An active borderless form with two push buttons: without TTS_ALWAYSTIP the control shows
// hints only for windows of the active window.
class ButtonForm {
public:
    ButtonForm() : form(NewForm(nullptr, "Подсказки")) {
        form->HasBorder(false);
        form->SetPosition(600, 300)->SetSize(240, 120);
        open = NewChildControl(form, "BUTTON", WS_VISIBLE | BS_PUSHBUTTON);
        open->SetBoundsRect(Rect{10, 10, 90, 40});
        save = NewChildControl(form, "BUTTON", WS_VISIBLE | BS_PUSHBUTTON);
        save->SetBoundsRect(Rect{130, 10, 210, 40});
        form->Show();
        UpdateWindow(form->Handle());
        Pump();
    }
    ~ButtonForm() { Free(form); }
    ButtonForm(const ButtonForm&) = delete;
    ButtonForm& operator=(const ButtonForm&) = delete;

    Control* form;
    Control* open;
    Control* save;
};

TEST_F(SkinTooltip, AddToolRegistersTheWindowWithItsRussianHint) {
    ButtonForm buttons;
    HWND window = nullptr;
    {
        TADToolTip tip(nullptr);
        window = tip.Handle();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ClassOf(window), L"tooltips_class32");
        EXPECT_EQ(tip.Owner(), nullptr);
        tip.AddTool(buttons.open->Handle(), "Открыть");
        tip.AddTool(buttons.save->Handle(), "Открытый текст");
        tip.AddTool(nullptr, "Нет окна");
        EXPECT_EQ(SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0), 2);

        TOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = buttons.open->Handle();
        info.uId = reinterpret_cast<UINT_PTR>(buttons.open->Handle());
        ASSERT_TRUE(SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(info.uFlags, static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT));
        EXPECT_EQ(info.hinst, GetModuleHandleW(nullptr));
        // The W record keeps Russian whatever the system code page is.
        EXPECT_EQ(ToolText(window, buttons.open->Handle()), L"Открыть");
        EXPECT_EQ(ToolText(window, buttons.save->Handle()), L"Открытый текст");
    }
    EXPECT_FALSE(IsWindow(window));  // the tooltip window goes with the object

    // An owner window becomes the tooltip's owner.
    TADToolTip owned(buttons.form->Handle());
    EXPECT_EQ(owned.Owner(), buttons.form->Handle());
    EXPECT_EQ(GetWindow(owned.Handle(), GW_OWNER), buttons.form->Handle());
}

TEST_F(SkinTooltip, RestingOnAButtonShowsItsHintAndClicksStillReachTheButton) {
    ButtonForm buttons;
    int clicks = 0;
    buttons.open->OnClick = MakeEvent(
        &clicks, +[](void* n, Control*) { ++*static_cast<int*>(n); });
    TADToolTip tip(nullptr);
    tip.AddTool(buttons.open->Handle(), "Открыть");
    tip.AddTool(buttons.save->Handle(), "Сохранить");
    HWND window = tip.Handle();

    MoveMouse(Inside(buttons.open));
    EXPECT_TRUE(PumpUntil([&] { return ShownText(window) == L"Открыть"; }))
        << "shown: " << IsWindowVisible(window);
    TOOLINFOW current{};
    current.cbSize = sizeof current;
    ASSERT_TRUE(SendMessageW(window, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(current.hwnd, buttons.open->Handle());

    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 1000));

    MoveMouse(Inside(buttons.save));
    EXPECT_TRUE(PumpUntil([&] { return ShownText(window) == L"Сохранить"; }));

    // Away from the buttons the hint goes.
    MoveMouse(POINT{buttons.form->Left() + 120, buttons.form->Top() + 100});
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }));
}

}  // namespace
}  // namespace zam
