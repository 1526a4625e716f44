// Skinned forms with real windows: layout and hit testing on both sides of every edge, also at
// negative screen coordinates; the frame, caption and client area as painted; roll-up,
// closing, and what the forms and the shared bitmaps release.
#include <gtest/gtest.h>
#include <windows.h>

#include <string_view>
#include <vector>

#include "skin/skin_bitmaps.h"
#include "skin/skinned_button.h"
#include "skin/skinned_form.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "toolkit/bitmap.h"
#include "toolkit/gdi.h"

namespace zam {
namespace {

using test::AsBox;
using test::Box;
using test::FreeAtExit;
using test::Pump;
using test::SeenOn;

class SkinFrame : public test::ControlTest {
    FrameSkinModule skin_;
};

Control* ShownSkinnedForm(int32_t width, int32_t height, std::string_view caption = "Проба") {
    Control* form = NewSkinnedForm(nullptr, caption);
    form->SetPosition(40, 40)->SetSize(width, height);
    test::ShowQuietly(form);
    return form;
}

LRESULT HitAt(Control* form, int32_t x, int32_t y) {
    return SendMessageW(form->Handle(), WM_NCHITTEST, 0,
                        MAKELPARAM(form->Left() + x, form->Top() + y));
}

COLORREF ResourcePixel(const wchar_t* name, int x = 0, int y = 0) {
    OwnedBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    MemoryDC dc(nullptr);
    SelectGuard selected(dc.Get(), bitmap.Get());
    return GetPixel(dc.Get(), x, y);
}

void Activate(Control* form, WORD state, HWND other = nullptr) {
    SendMessageW(form->Handle(), WM_ACTIVATE, state, reinterpret_cast<LPARAM>(other));
}

TEST_F(SkinFrame, LayoutAndHitTestingOnBothSidesOfEveryEdgeAlsoLeftOfAndAboveTheScreen) {
    Control* form = NewSkinnedForm(nullptr, "Окно");
    FreeAtExit release(form);
    FrameRecord* f = FrameOf(form);
    form->SetPosition(40, 40)->SetSize(300, 200);
    // Read before the window exists, as the application lays out its content.
    EXPECT_EQ(AsBox(FrameClientRect(form)), (Box{3, 24, 297, 197}));
    test::ShowQuietly(form);
    EXPECT_EQ(AsBox(FrameClientRect(form)), (Box{3, 24, 297, 197}));
    EXPECT_EQ(AsBox(f->CaptionRect), (Box{3, 3, 297, 24}));
    // Sizeable: close at W - 22, maximise or restore at W - 41, minimise at W - 60.
    EXPECT_EQ(AsBox(f->CloseButton->BoundsRect()), (Box{278, 5, 295, 22}));
    EXPECT_EQ(AsBox(f->RestoreButton->BoundsRect()), (Box{259, 5, 276, 22}));
    EXPECT_EQ(AsBox(f->MinButton->BoundsRect()), (Box{240, 5, 257, 22}));

    // Grips 4 wide at each edge, corners 15 long; the caption to y 23.
    const struct {
        int32_t x, y;
        LRESULT hit;
    } probes[] = {
        {3, 100, HTLEFT},       {4, 100, HTCLIENT},        {296, 100, HTCLIENT},
        {297, 100, HTRIGHT},    {300, 100, HTNOWHERE},     {100, 3, HTTOP},
        {100, 4, HTCAPTION},    {100, 24, HTCLIENT},       {100, 197, HTBOTTOM},
        {2, 14, HTTOPLEFT},     {2, 15, HTLEFT},           {14, 2, HTTOPLEFT},
        {15, 2, HTTOP},         {286, 2, HTTOPRIGHT},      {298, 15, HTRIGHT},
        {2, 186, HTBOTTOMLEFT}, {286, 198, HTBOTTOMRIGHT}, {-1, 100, HTNOWHERE},
    };
    for (Point origin : {Point{40, 40}, Point{-400, -300}}) {
        form->SetPosition(origin.x, origin.y);
        Pump();
        for (const auto& p : probes)
            EXPECT_EQ(HitAt(form, p.x, p.y), p.hit) << origin.x << ": " << p.x << ", " << p.y;
    }

    // Fixed: minimise takes the second place, maximise and restore hide, and the window drags
    // but does not size.
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

TEST_F(SkinFrame, PaintedFrameCaptionAndClientMeetAtTheirEdgesFollowAResizeAndRollUp) {
    Control* form = ShownSkinnedForm(300, 200, "Шифр");
    FreeAtExit release(form);
    HWND window = form->Handle();
    // Two-pixel pieces stretched over the three-pixel frame: the frame's inner pixel is the
    // image's inner one.
    const COLORREF left = ResourcePixel(L"fb_l", 1, 0), top = ResourcePixel(L"fb_t", 0, 1);
    const COLORREF right = ResourcePixel(L"fb_r"), bottom = ResourcePixel(L"fb_b");
    const COLORREF corner = ResourcePixel(L"fb_br", 1, 1), bar = kInactiveCaptionColor;
    const COLORREF client = kSkinFormColor;
    struct Probe {
        int32_t x, y;
        COLORREF colour;
    };
    auto check = [window](const auto& probes) {
        for (const Probe& p : probes)
            EXPECT_EQ(SeenOn(window, p.x, p.y), p.colour) << p.x << ", " << p.y;
    };
    const Probe painted[] = {
        {2, 100, left},     {3, 100, client},   {296, 100, client}, {297, 100, right},
        {200, 2, top},      {200, 3, bar},      {200, 23, bar},     {200, 24, client},
        {100, 196, client}, {100, 197, bottom}, {299, 199, corner},
    };
    check(painted);
    // Grown by a real resize: the old right and bottom edges are client now, the new ones frame.
    form->SetSize(340, 230);
    const Probe grown[] = {
        {297, 100, client}, {336, 100, client}, {337, 100, right},  {100, 197, client},
        {100, 226, client}, {100, 227, bottom}, {339, 229, corner},
    };
    check(grown);

    // Activation repaints the caption in its colour.
    Activate(form, WA_ACTIVE);
    EXPECT_EQ(SeenOn(window, 200, 12), kActiveCaptionColor);
    Activate(form, WA_INACTIVE);
    EXPECT_EQ(SeenOn(window, 200, 12), bar);

    // The title in the inactive text colour right of the icon, and nothing more along the bar.
    int text = 0, beyond = 0;
    for (int32_t y = 3; y < 24; ++y) {
        for (int32_t x = 25; x < 250; ++x)
            (x < 80 ? text : beyond) += SeenOn(window, x, y) == kSkinFormColor;
    }
    EXPECT_GT(text, 40);
    EXPECT_EQ(beyond, 0);
    EXPECT_NE(SeenOn(window, 13, 13), bar) << "the icon";

    // A double click on the client's top edge rolls the form up to its caption; the system's
    // caption double click, in screen coordinates, unrolls it, leaving hidden what was hidden.
    Control* shown = NewPanel(form, 2);
    Control* hiddenBefore = NewPanel(form, 2);
    hiddenBefore->SetVisible(false);
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 23));
    EXPECT_EQ(form->Height(), 27);
    EXPECT_FALSE(shown->Visible());
    SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION,
                 MAKELPARAM(form->Left() + 100, form->Top() + 10));
    EXPECT_EQ(form->Height(), 230);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hiddenBefore->Visible());
}

// Closing hides a form that asks for it and otherwise destroys it with its buttons; nested
// starts share one set of frame bitmaps, and the last finish frees it. Counted with the module
// stopped: the shared bitmaps keep transparency masks of their own while it runs.
TEST_F(SkinFrame, ClosingHidesOrDestroysAndFormsButtonsAndTheSharedBitmapsLeaveNothingBehind) {
    FinishFrameSkin();
    const std::vector<int> before = test::LiveDrawingCounts();
    StartFrameSkin();
    StartFrameSkin();
    std::vector<HGDIOBJ> handles;
    for (int32_t piece = 0; piece < kFramePieceCount; ++piece)
        handles.push_back(FramePieceBitmap(piece)->Handle());
    FinishFrameSkin();
    Control* keeper = ShownSkinnedForm(200, 100);
    FrameOf(keeper)->CloseHides = 1;
    const int live = LiveControls();
    // The close button, Alt+F4, and a WM_CLOSE from anywhere.
    for (int way = 0; way < 6; ++way) {
        Control* form = keeper;
        if (way >= 3) {
            form = ShownSkinnedForm(250, 140, "Окно с кнопками");
            AddBottomButtons(form, {"Да", "Нет"}, true);
            NewSkinnedButton(form, "btnLoad", 10, 2, 30);
            SendMessageW(form->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 10));
        }
        HWND window = form->Handle();
        Activate(form, WA_ACTIVE);
        UpdateWindow(window);
        handles.push_back(FrameOf(form)->CaptionBitmap->Handle());
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
        EXPECT_EQ(LiveControls(), live) << "the form and its buttons go together";
        keeper->SetVisible(true);
    }
    Free(keeper);
    FinishFrameSkin();
    FinishFrameSkin();  // one too many changes nothing
    EXPECT_EQ(FrameSkinStarts(), 0);
    EXPECT_EQ(test::LiveDrawingCounts(), before);
    // Asked of the system, not of the toolkit's own counts.
    for (HGDIOBJ handle : handles)
        EXPECT_EQ(GetObjectType(handle), 0u) << handle;
    StartFrameSkin();  // for TearDown's finish
}

}  // namespace
}  // namespace zam
