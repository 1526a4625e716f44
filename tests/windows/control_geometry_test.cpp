// Geometry and states: stored values before the window exists, the size rules, centring on the
// screen and size limits. The frame styles show in the skinned forms' tests, whose hit tests and
// pixels assume the system draws no frame.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/windows/control_test_support.h"
#include "toolkit/control.h"

namespace zam {
namespace {

using test::AsBox;
using test::Box;
using test::FreeAtExit;

using ControlGeometry = test::ControlTest;

// The window's rectangle in its parent's client coordinates.
Box WindowBounds(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

uint32_t StyleOf(HWND window) {
    return static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE));
}

TEST_F(ControlGeometry, BoundsStatesCentringAndLimitsApplyWithOrWithoutAWindowAndOutliveIt) {
    Control* form = NewForm(nullptr, "Окно");
    FreeAtExit release(form);
    form->SetPosition(30, 40)->SetSize(200, 150);
    Control* panel = NewPanel(form, 2);
    panel->SetPosition(5, 6);
    Control* edit = NewEditBox(form, 0);
    edit->SetEnabled(false);
    edit->SetVisible(false);
    for (bool created : {false, true}) {
        SCOPED_TRACE(created);
        if (created) {
            ASSERT_EQ(WindowBounds(form->Handle()), (Box{30, 40, 230, 190}));
            ASSERT_NE(panel->WindowHandle(), nullptr) << "children are created with their parent";
        }
        // A size of 0 or less leaves that side alone.
        panel->SetSize(40, 30);
        panel->SetSize(0, 50);
        EXPECT_EQ(panel->Width(), 40);
        panel->SetSize(-1, -1);
        panel->SetSize(70, 0);
        EXPECT_EQ(AsBox(panel->BoundsRect()), (Box{5, 6, 75, 56}));
    }
    EXPECT_EQ(WindowBounds(panel->WindowHandle()), (Box{5, 6, 75, 56}));
    HWND editWindow = edit->WindowHandle();
    EXPECT_FALSE(StyleOf(editWindow) & WS_VISIBLE);
    EXPECT_FALSE(IsWindowEnabled(editWindow));
    edit->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(editWindow));
    edit->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(editWindow));

    // An owned form centres on the screen; size limits are served through WM_GETMINMAXINFO.
    Control* top = NewForm(form, "");
    top->HasBorder(false);
    top->SetSize(290, 161);
    top->CenterOnParent();
    EXPECT_EQ(top->Left(), (GetSystemMetrics(SM_CXSCREEN) - 290) / 2);
    EXPECT_EQ(top->Top(), (GetSystemMetrics(SM_CYSCREEN) - 161) / 2);

    form->SetSizeLimit(kMinWidth, 120);
    form->SetSizeLimit(kMinHeight, 90);
    MINMAXINFO info{};
    form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 120);
    EXPECT_EQ(info.ptMinTrackSize.y, 90);
    form->SetSize(20, 20);
    EXPECT_EQ(form->Height(), 90);

    HWND window = form->WindowHandle();
    SetWindowPos(window, nullptr, 50, 60, 210, 160, SWP_NOZORDER | SWP_NOACTIVATE);
    DestroyWindow(window);
    EXPECT_EQ(form->WindowHandle(), nullptr);
    EXPECT_EQ(AsBox(form->BoundsRect()), (Box{50, 60, 260, 220}));
}

}  // namespace
}  // namespace zam
