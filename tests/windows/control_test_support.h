#pragma once
// Helpers shared by the control tests: pumping messages, frees at scope end, reading a
// window's pixels, the system's mouse, and a check that a test leaves no control behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>

#include "toolkit/control.h"

namespace zam::test {

// Dispatches everything queued, paints included, without touching the toolkit's loop state.
inline void Pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Creates the window and shows it without activating it: under Wine without a window manager
// an activated window costs about two seconds when it goes (Wine waits for a manager).
inline void ShowQuietly(Control* control) {
    control->Handle();
    control->SetVisible(true);
    UpdateWindow(control->Handle());
    Pump();
}

// A pixel of the window as it shows after its real paint. Read from the window's own context:
// Wine hands a window's picture to the screen a little later, so a read of the screen may
// still find the picture from before.
inline COLORREF SeenOn(HWND window, int x, int y) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

// Frees the control when the scope ends (it may already be gone: pass nothing then).
class FreeAtExit {
public:
    explicit FreeAtExit(Control* control) : control_(control) {}
    ~FreeAtExit() { Free(control_); }
    FreeAtExit(const FreeAtExit&) = delete;
    FreeAtExit& operator=(const FreeAtExit&) = delete;

private:
    Control* control_;
};

// A rectangle as one comparable value, so that a failure prints all four sides.
using Box = std::array<int32_t, 4>;

inline Box AsBox(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The system's own mouse input, so that the async button state and the window under the
// cursor are what a user's hand would make them. With a control, the cursor goes to (x, y) of
// its client area first; no flag is a move to the cursor's place.
inline void Mouse(DWORD flag, Control* control = nullptr, int32_t x = 0, int32_t y = 0) {
    if (control) {
        const Point p = control->ClientToScreen(Point{x, y});
        SetCursorPos(p.x, p.y);
    }
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag ? flag : MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    Pump();
    Sleep(20);
    Pump();
}

// Fails the test when it leaves controls alive.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override { liveAtStart_ = LiveControls(); }
    void TearDown() override {
        Pump();
        EXPECT_EQ(LiveControls(), liveAtStart_) << "controls left alive";
    }

private:
    int liveAtStart_ = 0;
};

}  // namespace zam::test
