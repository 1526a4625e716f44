#pragma once
// Helpers shared by the control tests: pumping messages, frees at scope end, reading a
// window's pixels back through WM_PRINT, and a check that a test leaves no control behind.
#include <gtest/gtest.h>
#include <windows.h>

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
    void Release() { control_ = nullptr; }

private:
    Control* control_;
};

// The client area of a window drawn by WM_PRINT into a memory bitmap.
class Printed {
public:
    Printed(HWND window, int width, int height, LPARAM flags = PRF_CLIENT | PRF_ERASEBKGND) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc_), flags);
    }
    ~Printed() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Printed(const Printed&) = delete;
    Printed& operator=(const Printed&) = delete;

    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

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
