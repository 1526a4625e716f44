// Hints over real buttons: the Russian text whatever the system code page, a hint that appears
// when the pointer rests on a button, a click that still reaches the button through it, and the
// tooltip window freed with its object.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cwchar>

#include "skin/tooltip.h"
#include "tests/windows/control_test_support.h"
#include "toolkit/control.h"

namespace zam {
namespace {

using test::Pump;
using SkinTooltip = test::ControlTest;

// Whether the tip shows this text within four seconds.
bool Shows(HWND tip, const wchar_t* expected) {
    wchar_t text[256] = {};
    for (int waited = 0; waited < 4000; waited += 10) {
        if (IsWindowVisible(tip) && GetWindowTextW(tip, text, 256) && wcscmp(text, expected) == 0)
            return true;
        Sleep(10);
        Pump();
    }
    return false;
}

// The system's mouse input, so that the tip sees what a hand would make.
void Mouse(DWORD flags, Control* over = nullptr) {
    if (over) {
        const Point p = over->ClientToScreen(Point{over->Width() / 2, over->Height() / 2});
        SetCursorPos(p.x, p.y);
    }
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
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

        Mouse(MOUSEEVENTF_MOVE, open);
        EXPECT_TRUE(Shows(window, L"Открыть"));
        Mouse(MOUSEEVENTF_LEFTDOWN);
        Mouse(MOUSEEVENTF_LEFTUP);
        for (int waited = 0; waited < 1000 && clicks == 0; waited += 10) {
            Sleep(10);
            Pump();
        }
        EXPECT_EQ(clicks, 1);
        Mouse(MOUSEEVENTF_MOVE, save);
        EXPECT_TRUE(Shows(window, L"Сохранить"));
    }
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace zam
