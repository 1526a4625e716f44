// Skinned forms with real windows: the frame, caption bar and caption buttons laid out for
// the window's size, hit testing, caption colours and origins read back as pixels, roll-up,
// activation, closing and hiding, and leaks.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <memory>
#include <string_view>

#include "skin/skin_bitmaps.h"
#include "skin/skinned_button.h"
#include "skin/skinned_form.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "tests/windows/window_driver.h"
#include "toolkit/bitmap.h"
#include "toolkit/gdi.h"

namespace zam {
namespace {

using test::FreeAtExit;
using test::Pump;
using test::Surface;

class SkinFrame : public test::ControlTest {
    FrameSkinModule skin_;
};

using Box = std::array<int32_t, 4>;

Box AsBox(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

Control* ShownSkinnedForm(int32_t width, int32_t height, std::string_view caption = "Проба") {
    Control* form = NewSkinnedForm(nullptr, caption);
    form->SetPosition(40, 40)->SetSize(width, height);
    test::ShowQuietly(form);
    return form;
}

// The window drawn by WM_PRINT; a skinned form has no system frame, so these are window
// coordinates.
std::unique_ptr<Surface> Print(Control* control) {
    auto shot = std::make_unique<Surface>(control->Width(), control->Height(), RGB(1, 2, 3));
    SendMessageW(control->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(shot->Dc()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    return shot;
}

LRESULT HitAt(Control* form, int32_t x, int32_t y) {
    return SendMessageW(form->Handle(), WM_NCHITTEST, 0,
                        MAKELPARAM(form->Left() + x, form->Top() + y));
}

COLORREF ResourcePixel(const wchar_t* name, int x, int y) {
    OwnedBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    MemoryDC dc(nullptr);
    SelectGuard selected(dc.Get(), bitmap.Get());
    return GetPixel(dc.Get(), x, y);
}

void Activate(Control* form, WORD state, HWND other = nullptr) {
    SendMessageW(form->Handle(), WM_ACTIVATE, state, reinterpret_cast<LPARAM>(other));
}

TEST_F(SkinFrame, CaptionBarFrameButtonsAndHitTestingFollowTheWindowSizeAndKind) {
    Control* form = NewSkinnedForm(nullptr, "Окно");
    FreeAtExit release(form);
    FrameRecord* f = FrameOf(form);
    ASSERT_NE(f, nullptr);
    form->SetPosition(40, 40)->SetSize(300, 200);
    // Read before the window exists, as the application lays out its content.
    EXPECT_EQ(AsBox(FrameClientRect(form)), (Box{3, 24, 297, 197}));

    test::ShowQuietly(form);
    EXPECT_EQ(AsBox(f->CaptionRect), (Box{3, 3, 297, 24}));
    // Sizeable: close at W - 22, maximise or restore at W - 41, minimise at W - 60.
    EXPECT_EQ(AsBox(f->CloseButton->BoundsRect()), (Box{278, 5, 295, 22}));
    EXPECT_EQ(AsBox(f->RestoreButton->BoundsRect()), (Box{259, 5, 276, 22}));
    EXPECT_EQ(AsBox(f->MinButton->BoundsRect()), (Box{240, 5, 257, 22}));
    EXPECT_EQ(HitAt(form, 2, 10), HTTOPLEFT);
    EXPECT_EQ(HitAt(form, 298, 190), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(form, 100, 10), HTCAPTION);
    EXPECT_EQ(HitAt(form, 100, 100), HTCLIENT);
    EXPECT_EQ(HitAt(form, 400, 100), HTNOWHERE) << "outside, the default answer stands";
    form->SetSize(400, 250);
    EXPECT_EQ(f->MinButton->Left(), 340);

    // Fixed: minimise takes the second place, showing hides maximise and restore, and the
    // window drags but does not size.
    f->Sizeable = 0;
    form->SetSize(320, 100);
    EXPECT_EQ(f->CloseButton->Left(), 298);
    EXPECT_EQ(f->MinButton->Left(), 279);
    form->SetVisible(false);
    form->SetVisible(true);
    EXPECT_FALSE(f->MaxButton->Visible() || f->RestoreButton->Visible());
    EXPECT_EQ(HitAt(form, 2, 10), HTCLIENT);
    EXPECT_EQ(HitAt(form, 100, 10), HTCAPTION);

    form->SetSize(320, 26);
    EXPECT_EQ(AsBox(FrameClientRect(form)), (Box{0, 0, 0, 0})) << "nothing below the caption";
}

TEST_F(SkinFrame, WindowsOfTheFormKeepItsCaptionActive) {
    Control* form = ShownSkinnedForm(300, 120);
    FreeAtExit release(form);
    Control* owned = NewForm(form, "Своё");
    owned->SetPosition(400, 300)->SetSize(100, 60);
    // A real activation of a window the form owns.
    form->Show();
    owned->Show();
    Pump();
    ASSERT_EQ(GetActiveWindow(), owned->Handle());
    EXPECT_EQ(Print(form)->At(285, 12), kActiveCaptionColor);

    // Only a window of the form keeps it active.
    test::TestWindow stranger(L"Чужое");
    Activate(form, WA_ACTIVE);
    Activate(form, WA_INACTIVE, owned->Handle());
    EXPECT_EQ(FrameOf(form)->CaptionColor, kActiveCaptionColor);
    Activate(form, WA_INACTIVE, stranger.Handle());
    EXPECT_EQ(FrameOf(form)->CaptionColor, kInactiveCaptionColor);
}

TEST_F(SkinFrame, CaptionTextIconColoursAndFrameSitWhereTheyBelong) {
    Control* form = ShownSkinnedForm(300, 120, "Шифр");
    FreeAtExit release(form);
    auto shot = Print(form);

    // The inactive bar drawn by hand: icon at (6, 6), text at (25, 5) in Arial 16 bold italic.
    Surface expected(300, 120, RGB(1, 2, 3));
    OwnedBrush bar(CreateSolidBrush(kInactiveCaptionColor));
    const RECT barRect{3, 3, 297, 24};
    FillRect(expected.Dc(), &barRect, bar.Get());
    ASSERT_NE(form->Icon(), nullptr);
    DrawIconEx(expected.Dc(), 6, 6, form->Icon(), 16, 16, 0, nullptr, DI_NORMAL);
    OwnedFont font(CreateFontW(16, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, RUSSIAN_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                               DEFAULT_PITCH | FF_SWISS, L"Arial"));
    SelectGuard selected(expected.Dc(), font.Get());
    SetTextColor(expected.Dc(), kSkinFormColor);
    SetBkColor(expected.Dc(), kInactiveCaptionColor);
    TextOutW(expected.Dc(), 25, 5, L"Шифр", 4);
    int differences = 0;
    for (int32_t y = 3; y < 24; ++y) {
        for (int32_t x = 3; x < 297; ++x) {
            differences += shot->At(x, y) != expected.At(x, y);
        }
    }
    EXPECT_EQ(differences, 0);

    Activate(form, WA_ACTIVE);
    auto active = Print(form);
    EXPECT_EQ(active->At(285, 12), kActiveCaptionColor);
    // Two-pixel pieces stretched over the three-pixel frame.
    EXPECT_EQ(active->At(0, 60), ResourcePixel(L"fb_l", 0, 0));
    EXPECT_EQ(active->At(299, 119), ResourcePixel(L"fb_br", 1, 1));
    Activate(form, WA_INACTIVE);
    EXPECT_EQ(Print(form)->At(285, 12), kInactiveCaptionColor);
}

TEST_F(SkinFrame, DoubleClickOnTheCaptionRollsUpAndDown) {
    Control* form = ShownSkinnedForm(300, 200);
    FreeAtExit release(form);
    Control* shown = NewPanel(form, 2);
    NewPanel(form, 2);
    Control* hiddenBefore = NewPanel(form, 2);
    hiddenBefore->SetVisible(false);
    Pump();
    ASSERT_GT(form->ChildCount(), 4);
    HWND window = form->Handle();

    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(form->Height(), 200) << "outside the caption the double-click is passed on";
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 10));
    EXPECT_EQ(form->Height(), 27);
    EXPECT_FALSE(shown->Visible());

    // The system's caption double-click, in screen coordinates, unrolls.
    SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION,
                 MAKELPARAM(form->Left() + 100, form->Top() + 10));
    EXPECT_EQ(form->Height(), 200);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hiddenBefore->Visible()) << "hidden before the roll-up";
}

TEST_F(SkinFrame, ClosingHidesAFormThatAsksForItAndOtherwiseDestroysIt) {
    Control* keeper = ShownSkinnedForm(200, 100);
    FreeAtExit release(keeper);
    FrameOf(keeper)->CloseHides = 1;
    const int live = LiveControls();
    // The close button, Alt+F4, and a WM_CLOSE from anywhere.
    for (int way = 0; way < 6; ++way) {
        Control* form = way < 3 ? keeper : ShownSkinnedForm(200, 100);
        HWND window = form->Handle();
        if (way % 3 == 0) {
            FrameOf(form)->CloseButton->Click();
        } else if (way % 3 == 1) {
            EXPECT_EQ(SendMessageW(window, WM_SYSKEYDOWN, VK_F4, 1 << 29), 0);
        } else {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        Pump();
        EXPECT_FALSE(IsWindowVisible(window)) << way;
        EXPECT_EQ(IsWindow(window) != FALSE, way < 3) << way;
        EXPECT_EQ(LiveControls(), live) << "the form and its caption buttons go together";
        keeper->SetVisible(true);
    }
}

TEST_F(SkinFrame, FormsButtonsAndTheSharedBitmapsLeaveNothingBehind) {
    // Counted with the module stopped: the shared bitmaps keep transparency masks of their
    // own while it runs.
    FinishFrameSkin();
    const std::vector<int> before = test::LiveDrawingCounts();
    const int bitmaps = LiveBitmaps();

    // Nested starts share one set of bitmaps; the last finish frees it.
    StartFrameSkin();
    StartFrameSkin();
    EXPECT_EQ(LiveBitmaps(), bitmaps + 16);
    FinishFrameSkin();

    for (int i = 0; i < 4; ++i) {
        Control* form = ShownSkinnedForm(250, 140, "Окно с кнопками");
        AddBottomButtons(form, {"Да", "Нет"}, true);
        NewSkinnedButton(form, "btnLoad", 10, 2, 30);
        Activate(form, WA_ACTIVE);
        Print(form);
        SendMessageW(form->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 10));
        if (i % 2) {
            Free(form);
        } else {
            SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
        }
        Pump();
    }
    FinishFrameSkin();
    FinishFrameSkin();  // one too many changes nothing
    EXPECT_EQ(FrameSkinStarts(), 0);

    EXPECT_EQ(test::LiveDrawingCounts(), before);
    StartFrameSkin();  // for TearDown's finish
}

}  // namespace
}  // namespace zam
