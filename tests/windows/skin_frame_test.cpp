// Skinned forms with real windows: the frame, caption bar and caption buttons laid out for
// the window's size, hit testing, caption colours, fade and origins read back as pixels,
// maximise, roll-up, activation, closing and hiding, Tab, the shared bitmaps and leaks.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "skin/skin_bitmaps.h"
#include "skin/skinned_button.h"
#include "skin/skinned_form.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "tests/windows/window_driver.h"
#include "toolkit/application.h"
#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

using test::FreeAtExit;
using test::Pump;
using test::Surface;

class SkinFrame : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        StartFrameSkin();
    }
    void TearDown() override {
        FinishFrameSkin();
        ControlTest::TearDown();
    }
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

TEST_F(SkinFrame, CaptionBarFrameAndButtonsFollowTheWindowSize) {
    Control* form = NewSkinnedForm(nullptr, "Окно");
    FreeAtExit release(form);
    FrameRecord* f = FrameOf(form);
    ASSERT_NE(f, nullptr);
    form->SetPosition(40, 40)->SetSize(300, 200);
    // Read before the window exists, as the application lays out its content.
    EXPECT_EQ(f->CaptionRect.bottom, 24);
    EXPECT_EQ(AsBox(FrameClientRect(form)), (Box{3, 24, 297, 197}));

    test::ShowQuietly(form);
    EXPECT_EQ(AsBox(f->CaptionRect), (Box{3, 3, 297, 24}));
    EXPECT_EQ(AsBox(f->PieceRects[kPieceLeft]), (Box{0, 3, 3, 197}));
    EXPECT_EQ(AsBox(f->PieceRects[kPieceBottomRight]), (Box{297, 197, 300, 200}));
    // Sizeable: close at W - 22, maximise or restore at W - 41, minimise at W - 60.
    EXPECT_EQ(AsBox(f->CloseButton->BoundsRect()), (Box{278, 5, 295, 22}));
    EXPECT_EQ(AsBox(f->MaxButton->BoundsRect()), (Box{259, 5, 276, 22}));
    EXPECT_EQ(AsBox(f->RestoreButton->BoundsRect()), (Box{259, 5, 276, 22}));
    EXPECT_EQ(AsBox(f->MinButton->BoundsRect()), (Box{240, 5, 257, 22}));
    EXPECT_TRUE(IsWindowVisible(f->MaxButton->Handle()));
    EXPECT_FALSE(f->RestoreButton->Visible());

    form->SetSize(400, 250);
    EXPECT_EQ(AsBox(f->PieceRects[kPieceRight]), (Box{397, 3, 400, 247}));
    EXPECT_EQ(f->MinButton->Left(), 340);
    EXPECT_EQ(AsBox(FrameClientRect(form)), (Box{3, 24, 397, 247}));

    // Fixed: minimise takes the second place, and showing hides maximise and restore.
    f->Sizeable = 0;
    form->SetSize(320, 100);
    EXPECT_EQ(f->CloseButton->Left(), 298);
    EXPECT_EQ(f->MinButton->Left(), 279);
    form->SetVisible(false);
    form->SetVisible(true);
    EXPECT_FALSE(f->MaxButton->Visible());
    EXPECT_FALSE(f->RestoreButton->Visible());
    EXPECT_TRUE(f->MinButton->Visible());

    form->SetSize(320, 26);
    EXPECT_EQ(AsBox(FrameClientRect(form)), (Box{0, 0, 0, 0})) << "nothing below the caption";
}

TEST_F(SkinFrame, HitTestingDragsByTheCaptionAndSizesAtTheEdges) {
    Control* form = ShownSkinnedForm(300, 200);
    FreeAtExit release(form);
    EXPECT_EQ(HitAt(form, 2, 10), HTTOPLEFT);
    EXPECT_EQ(HitAt(form, 100, 2), HTTOP);
    EXPECT_EQ(HitAt(form, 298, 100), HTRIGHT);
    EXPECT_EQ(HitAt(form, 298, 190), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(form, 5, 198), HTBOTTOMLEFT);
    EXPECT_EQ(HitAt(form, 1, 100), HTLEFT);
    EXPECT_EQ(HitAt(form, 100, 10), HTCAPTION);
    EXPECT_EQ(HitAt(form, 100, 100), HTCLIENT);
    // Outside the window the default answer stands.
    EXPECT_EQ(HitAt(form, 400, 100), HTNOWHERE);

    // A fixed window drags but does not size.
    FrameOf(form)->Sizeable = 0;
    EXPECT_EQ(HitAt(form, 2, 10), HTCLIENT);
    EXPECT_EQ(HitAt(form, 100, 2), HTCLIENT);
    EXPECT_EQ(HitAt(form, 100, 10), HTCAPTION);
}

TEST_F(SkinFrame, MaximiseFillsTheWorkAreaAndStopsDraggingUntilRestored) {
    Control* form = ShownSkinnedForm(300, 200);
    FreeAtExit release(form);
    FrameRecord* f = FrameOf(form);
    int resized = 0;
    f->OnFrameResized = MakeEvent(
        static_cast<void*>(&resized), +[](void* count, Control*) { ++*static_cast<int*>(count); });

    f->MaxButton->Click();
    Pump();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(IsZoomed(form->Handle()));
    EXPECT_EQ(form->Height(), work.bottom - 1);
    const int32_t w = form->Width();
    EXPECT_EQ(f->Restored, 0);
    EXPECT_FALSE(f->MaxButton->Visible());
    EXPECT_TRUE(f->RestoreButton->Visible());
    EXPECT_EQ(f->RestoreButton->Left(), w - 41);
    EXPECT_EQ(HitAt(form, 100, 10), HTCLIENT);
    EXPECT_EQ(HitAt(form, 1, 100), HTCLIENT);
    EXPECT_GE(resized, 1);

    // Minimising leaves the restored/maximised state as it was.
    f->MinButton->Click();
    Pump();
    EXPECT_TRUE(IsIconic(form->Handle()));
    EXPECT_EQ(f->Restored, 0);
    EXPECT_TRUE(f->RestoreButton->Visible());

    f->RestoreButton->Click();
    Pump();
    EXPECT_FALSE(IsIconic(form->Handle()));
    EXPECT_TRUE(IsZoomed(form->Handle()));
    f->RestoreButton->Click();
    Pump();
    EXPECT_FALSE(IsZoomed(form->Handle()));
    EXPECT_EQ(form->Width(), 300);
    EXPECT_EQ(form->Height(), 200);
    EXPECT_EQ(f->Restored, 1);
    EXPECT_TRUE(f->MaxButton->Visible());
    EXPECT_FALSE(f->RestoreButton->Visible());
    EXPECT_EQ(HitAt(form, 100, 10), HTCAPTION);
}

TEST_F(SkinFrame, CaptionColoursFollowActivationAndTheFrameComesFromItsPieces) {
    Control* form = ShownSkinnedForm(300, 120);
    FreeAtExit release(form);
    FrameRecord* f = FrameOf(form);
    EXPECT_EQ(f->CaptionColor, kInactiveCaptionColor) << "not activated yet";

    Activate(form, WA_ACTIVE);
    EXPECT_EQ(f->CaptionColor, kActiveCaptionColor);
    auto active = Print(form);
    EXPECT_EQ(active->At(285, 12), kActiveCaptionColor);
    EXPECT_EQ(active->At(200, 20), kActiveCaptionColor);
    EXPECT_EQ(active->At(150, 80), kSkinFormColor);
    // Two-pixel pieces stretched over the three-pixel frame.
    EXPECT_EQ(active->At(0, 60), ResourcePixel(L"fb_l", 0, 0));
    EXPECT_EQ(active->At(2, 60), ResourcePixel(L"fb_l", 1, 0));
    EXPECT_EQ(active->At(299, 119), ResourcePixel(L"fb_br", 1, 1));

    Activate(form, WA_INACTIVE);
    EXPECT_EQ(Print(form)->At(285, 12), kInactiveCaptionColor);
    Activate(form, WA_CLICKACTIVE);
    EXPECT_EQ(Print(form)->At(285, 12), kActiveCaptionColor);
}

TEST_F(SkinFrame, ActiveCaptionTextFadesOutAndStopsShortOfTheButtons) {
    const std::string longCaption(60, '\xC6');  // "Ж" in Windows-1251: wide and solid
    Control* form = ShownSkinnedForm(300, 80, longCaption);
    FreeAtExit release(form);
    const int32_t barLeft = 3;
    const int32_t barWidth = 294;
    const int32_t fadeStart = barLeft + barWidth - 120;
    const int32_t cutStart = barLeft + barWidth - 60;
    auto faded = [](int32_t t) { return RGB(255 * t / 60, 153 * t / 60, 0); };

    Activate(form, WA_ACTIVE);
    auto active = Print(form);
    int fadedPixels = 0;
    int blackBeforeFade = 0;
    for (int32_t y = 3; y < 24; ++y) {
        for (int32_t x = 25; x < barLeft + barWidth; ++x) {
            const COLORREF pixel = active->At(x, y);
            if (x >= cutStart) {
                ASSERT_EQ(pixel, kActiveCaptionColor) << x << "," << y;
            } else if (x >= fadeStart) {
                const COLORREF expected = faded(x - fadeStart);
                ASSERT_TRUE(pixel == kActiveCaptionColor || pixel == expected) << x << "," << y;
                fadedPixels += pixel == expected && x > fadeStart;
            } else {
                blackBeforeFade += pixel == RGB(0, 0, 0);
            }
        }
    }
    EXPECT_GT(fadedPixels, 20);
    EXPECT_GT(blackBeforeFade, 100);

    // Inactive: the text runs on under the buttons, in its one colour.
    Activate(form, WA_INACTIVE);
    auto inactive = Print(form);
    int textUnderButtons = 0;
    for (int32_t y = 3; y < 24; ++y) {
        for (int32_t x = 25; x < barLeft + barWidth; ++x) {
            const COLORREF pixel = inactive->At(x, y);
            ASSERT_TRUE(pixel == kInactiveCaptionColor || pixel == kSkinFormColor) << x << "," << y;
            textUnderButtons += x >= cutStart && pixel == kSkinFormColor;
        }
    }
    EXPECT_GT(textUnderButtons, 20);
}

TEST_F(SkinFrame, CaptionTextAndIconSitAtTheirOrigins) {
    Control* form = ShownSkinnedForm(300, 80, "Шифр");
    FreeAtExit release(form);
    auto shot = Print(form);

    // The same bar drawn by hand: icon at (6, 6), text at (25, 5) in Arial 16 bold italic.
    Surface expected(300, 80, RGB(1, 2, 3));
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
    const std::wstring text = L"Шифр";
    TextOutW(expected.Dc(), 25, 5, text.c_str(), static_cast<int>(text.size()));

    int differences = 0;
    for (int32_t y = 3; y < 24; ++y) {
        for (int32_t x = 3; x < 297; ++x) {
            differences += shot->At(x, y) != expected.At(x, y);
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(shot->At(5, 10), kInactiveCaptionColor) << "nothing left of the icon";
}

TEST_F(SkinFrame, DoubleClickOnTheCaptionRollsUpAndDown) {
    Control* form = ShownSkinnedForm(300, 200);
    FreeAtExit release(form);
    FrameRecord* f = FrameOf(form);
    Control* shown = NewPanel(form, 2);
    Control* alsoShown = NewPanel(form, 2);
    Control* hiddenBefore = NewPanel(form, 2);
    hiddenBefore->SetVisible(false);
    Pump();
    ASSERT_GT(form->ChildCount(), 4);
    HWND window = form->Handle();

    // Outside the caption the double-click is passed on.
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(form->Height(), 200);

    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 10));
    EXPECT_EQ(form->Height(), 27);
    EXPECT_EQ(f->SavedHeight, 200);
    EXPECT_FALSE(shown->Visible());
    EXPECT_FALSE(alsoShown->Visible());
    EXPECT_TRUE(f->CloseButton->Visible());
    EXPECT_TRUE(f->MaxButton->Visible());

    // The system's caption double-click, in screen coordinates, unrolls.
    SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION,
                 MAKELPARAM(form->Left() + 100, form->Top() + 10));
    EXPECT_EQ(form->Height(), 200);
    EXPECT_TRUE(shown->Visible());
    EXPECT_TRUE(alsoShown->Visible());
    EXPECT_FALSE(hiddenBefore->Visible()) << "hidden before the roll-up";

    // A window that only happens to be caption high has no height to go back to.
    form->SetHeight(27);
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 10));
    EXPECT_EQ(form->Height(), 27);
}

TEST_F(SkinFrame, WindowsOfTheFormKeepItsCaptionActive) {
    Control* form = ShownSkinnedForm(300, 120);
    FreeAtExit release(form);
    FrameRecord* f = FrameOf(form);
    Control* owned = NewForm(form, "Своё");
    owned->SetPosition(400, 300)->SetSize(100, 60);

    // Real activations: the form, then a window it owns, then one of its own kind.
    form->Show();
    Pump();
    ASSERT_EQ(GetActiveWindow(), form->Handle());
    EXPECT_EQ(f->CaptionColor, kActiveCaptionColor);
    owned->Show();
    Pump();
    ASSERT_EQ(GetActiveWindow(), owned->Handle());
    EXPECT_EQ(Print(form)->At(285, 12), kActiveCaptionColor);
    Control* other = ShownSkinnedForm(100, 60);
    FreeAtExit releaseOther(other);
    form->Show();
    Pump();
    other->Show();
    Pump();
    ASSERT_EQ(GetActiveWindow(), other->Handle());
    EXPECT_EQ(Print(form)->At(285, 12), kInactiveCaptionColor);

    // The rule itself: only a window of the form keeps it active.
    test::TestWindow stranger(L"Чужое");
    Activate(form, WA_ACTIVE);
    Activate(form, WA_INACTIVE, owned->Handle());
    EXPECT_EQ(f->CaptionColor, kActiveCaptionColor);
    Activate(form, WA_INACTIVE, stranger.Handle());
    EXPECT_EQ(f->CaptionColor, kInactiveCaptionColor);
    Activate(form, WA_ACTIVE);
    Activate(form, WA_INACTIVE, nullptr);
    EXPECT_EQ(f->CaptionColor, kInactiveCaptionColor);
}

TEST_F(SkinFrame, ClosingHidesAFormThatAsksForItAndOtherwiseDestroysIt) {
    Control* keeper = ShownSkinnedForm(200, 100);
    FreeAtExit release(keeper);
    FrameOf(keeper)->CloseHides = 1;
    HWND kept = keeper->Handle();
    const int live = LiveControls();
    // The close button, Alt+F4, and a WM_CLOSE from anywhere.
    for (int way = 0; way < 6; ++way) {
        Control* form = way < 3 ? keeper : ShownSkinnedForm(200, 100);
        HWND window = form->Handle();
        int destroyed = 0;
        form->OnDestroy = MakeEvent(
            static_cast<void*>(&destroyed),
            +[](void* count, ToolkitObject*) { ++*static_cast<int*>(count); });
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
        EXPECT_EQ(destroyed, way < 3 ? 0 : 1) << way;
        EXPECT_EQ(LiveControls(), live) << "the form and its caption buttons go together";
        keeper->OnDestroy = {};
        keeper->SetVisible(true);
    }
    EXPECT_EQ(keeper->Handle(), kept);
    // Other system keys are swallowed and change nothing.
    EXPECT_EQ(SendMessageW(kept, WM_SYSKEYDOWN, 'X', 1 << 29), 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(kept));
}

TEST_F(SkinFrame, TabMovesToTheNextWindowOfTheSameParent) {
    Control* owner = NewForm(nullptr, "Владелец");
    FreeAtExit release(owner);
    owner->HasBorder(false);
    owner->SetPosition(600, 600)->SetSize(100, 50);
    test::ShowQuietly(owner);
    Control* first = NewSkinnedForm(owner, "Первое");
    first->SetPosition(40, 40)->SetSize(150, 80);
    Control* panel = NewPanel(owner, 2);
    Control* hidden = NewSkinnedForm(owner, "Скрытое");
    hidden->Handle();
    Control* second = NewSkinnedForm(owner, "Второе");
    second->SetPosition(200, 40)->SetSize(150, 80);
    test::ShowQuietly(first);
    test::ShowQuietly(second);
    Pump();
    ASSERT_TRUE(panel->WindowHandle());
    ASSERT_FALSE(panel->TabStop);

    first->Show();
    Pump();
    ASSERT_EQ(GetForegroundWindow(), first->Handle());
    SendMessageW(first->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(GetForegroundWindow(), second->Handle()) << "the panel and the hidden form skipped";
    SendMessageW(second->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(GetForegroundWindow(), first->Handle()) << "wrapped round";
}

TEST_F(SkinFrame, FormsButtonsAndTheSharedBitmapsLeaveNothingBehind) {
    // Counted with the module stopped: the shared bitmaps keep transparency masks of their
    // own while it runs.
    FinishFrameSkin();
    ASSERT_EQ(FrameSkinStarts(), 0);
    const GdiCounts gdi = LiveGdiCounts();
    const int bitmaps = LiveBitmaps();
    const int canvases = LiveCanvases();
    const int tools = LiveGraphicTools();
    const int controls = LiveControls();

    // Nested starts share one set of bitmaps; the last finish frees it.
    StartFrameSkin();
    EXPECT_EQ(LiveBitmaps(), bitmaps + 16);
    StartFrameSkin();
    EXPECT_EQ(FrameSkinStarts(), 2);
    EXPECT_EQ(LiveBitmaps(), bitmaps + 16);
    FinishFrameSkin();
    ASSERT_NE(FramePieceBitmap(kPieceLeft), nullptr);
    EXPECT_EQ(CaptionButtonImage(kCaptionRestore, 1)->Width(), 13);
    EXPECT_EQ(FramePieceBitmap(kFramePieceCount), nullptr);
    EXPECT_EQ(CaptionButtonImage(0, 2), nullptr);

    for (int i = 0; i < 10; ++i) {
        Control* form = ShownSkinnedForm(250, 140, "Окно с кнопками");
        FrameRecord* f = FrameOf(form);
        AddBottomButtons(form, {"Да", "Нет"}, true);
        NewSkinnedButton(form, "btnLoad", 10, 2, 30);
        NewSkinnedButton(form, "btnClose", 40, 3, 30);
        form->SetSize(260, 150);
        Activate(form, WA_ACTIVE);
        UpdateWindow(form->Handle());
        Print(form);
        SendMessageW(form->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 10));
        SendMessageW(f->MinButton->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        Pump();
        if (i % 2) {
            Free(form);
        } else {
            SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
        }
        Pump();
    }
    FinishFrameSkin();
    EXPECT_EQ(FramePieceBitmap(kPieceLeft), nullptr);
    FinishFrameSkin();  // one too many changes nothing
    EXPECT_EQ(FrameSkinStarts(), 0);

    const GdiCounts after = LiveGdiCounts();
    EXPECT_EQ(after.objects, gdi.objects);
    EXPECT_EQ(after.memoryDcs, gdi.memoryDcs);
    EXPECT_EQ(after.windowDcs, gdi.windowDcs);
    EXPECT_EQ(after.icons, gdi.icons);
    EXPECT_EQ(LiveBitmaps(), bitmaps);
    EXPECT_EQ(LiveCanvases(), canvases);
    EXPECT_EQ(LiveGraphicTools(), tools);
    EXPECT_EQ(LiveControls(), controls);
    StartFrameSkin();  // for TearDown's finish
}

TEST_F(SkinFrame, BadInputChangesNothingAndNeverCrashes) {
    Control* plain = NewForm(nullptr, "Простая");
    FreeAtExit release(plain);
    EXPECT_EQ(FrameOf(plain), nullptr);
    AddBottomButtons(plain, {"Да", "Нет"}, true);
    AddBottomButtons(nullptr, {"Да", "Нет"}, false);
    EXPECT_EQ(plain->ChildCount(), 0);
    EXPECT_EQ(AsBox(FrameClientRect(nullptr)), (Box{0, 0, 0, 0}));

    // Without the shared bitmaps a form still works; it draws no pieces.
    FinishFrameSkin();
    Control* bare = ShownSkinnedForm(200, 100);
    Print(bare);
    Free(bare);
    StartFrameSkin();

    // A caption button freed on its own is left out of the layout.
    Control* form = ShownSkinnedForm(200, 100);
    FreeAtExit releaseForm(form);
    FrameRecord* f = FrameOf(form);
    Free(f->MinButton);
    form->SetSize(220, 120);
    SendMessageW(form->Handle(), WM_SHOWWINDOW, TRUE, 0);
    EXPECT_EQ(f->CloseButton->Left(), 198);

    // A caption bar of no width.
    form->SetSize(4, 4);
    Activate(form, WA_ACTIVE);
    Print(form);
}

}  // namespace
}  // namespace zam
