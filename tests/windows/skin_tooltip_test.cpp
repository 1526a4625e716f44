// Hints over real buttons: the Russian text whatever the system code page, a hint that appears
// when the pointer rests on a button, a click that still reaches the button through it, and the
// tooltip window freed with its object.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "skin/tooltip.h"
#include "tests/windows/control_test_support.h"
#include "toolkit/control.h"

namespace zam {
namespace {

using test::Pump;
using SkinTooltip = test::ControlTest;

// What the tip shows now, when it is visible.
std::wstring ShownText(HWND tip) {
    wchar_t text[256] = {};
    if (IsWindowVisible(tip)) {
        GetWindowTextW(tip, text, 256);
    }
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

void MoveMouseInto(Control* control) {
    const Point p = control->ClientToScreen(Point{control->Width() / 2, control->Height() / 2});
    SetCursorPos(p.x, p.y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof move);
    Pump();
}

TEST_F(SkinTooltip, RestingOnAButtonShowsItsRussianHintAndClicksStillReachTheButton) {
    // An active form: without TTS_ALWAYSTIP the control shows hints only for its windows.
    Control* form = NewForm(nullptr, "Подсказки");
    test::FreeAtExit release(form);
    form->HasBorder(false);
    form->SetPosition(600, 300)->SetSize(240, 120);
    Control* open = NewChildControl(form, "BUTTON", WS_VISIBLE | BS_PUSHBUTTON);
    open->SetBoundsRect(Rect{10, 10, 90, 40});
    Control* save = NewChildControl(form, "BUTTON", WS_VISIBLE | BS_PUSHBUTTON);
    save->SetBoundsRect(Rect{130, 10, 210, 40});
    form->Show();
    UpdateWindow(form->Handle());
    Pump();
    int clicks = 0;
    open->OnClick = MakeEvent(
        &clicks, +[](void* n, Control*) { ++*static_cast<int*>(n); });

    HWND window = nullptr;
    {
        TADToolTip tip(form->Handle());
        window = tip.Handle();
        EXPECT_EQ(GetWindow(window, GW_OWNER), form->Handle());
        tip.AddTool(open->Handle(), "Открыть");
        tip.AddTool(save->Handle(), "Сохранить");
        tip.AddTool(nullptr, "Нет окна");
        EXPECT_EQ(SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0), 2);

        MoveMouseInto(open);
        EXPECT_TRUE(PumpUntil([&] { return ShownText(window) == L"Открыть"; }));
        INPUT click[2] = {};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, click, sizeof(INPUT));
        EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }, 1000));

        MoveMouseInto(save);
        EXPECT_TRUE(PumpUntil([&] { return ShownText(window) == L"Сохранить"; }));
    }
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace zam
