// Skinned scroll bars under real windows: the layout and thumb arithmetic, both clamps, the
// degenerate lengths, track presses, arrow buttons and thumb drags through the system's mouse
// input, the painted pixels, keys handed to the form, and lifetimes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "skin/scroll_bar.h"
#include "tests/windows/control_test_support.h"
#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"
#include "toolkit/control.h"
#include "toolkit/gdi.h"

namespace zam {
namespace {

using test::ControlTest;
using test::Printed;
using test::Pump;

constexpr COLORREF kTrack = RGB(255, 245, 221);

::testing::AssertionResult RectIs(const Rect& actual, const Rect& expected) {
    if (actual.left == expected.left && actual.top == expected.top &&
        actual.right == expected.right && actual.bottom == expected.bottom) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << actual.left << ", " << actual.top << ", "
                                         << actual.right << ", " << actual.bottom << ")";
}

// A form with a viewport at (10, 10) holding a content panel, and a bar for them. The viewport
// is 100 across and viewLength along the bar; the content 100 across and contentLength along.
class Scene {
public:
    Scene(int32_t contentLength, int32_t viewLength, uint8_t orientation = kScrollVertical)
        : form(NewForm(nullptr, "Полосы")) {
        form->HasBorder(false);
        form->SetPosition(40, 40)->SetSize(420, 420);
        viewport = NewPanel(form, 2);
        content = NewPanel(viewport, 2);
        const bool vertical = orientation == kScrollVertical;
        viewport->SetBoundsRect(vertical ? Rect{10, 10, 110, 10 + viewLength}
                                         : Rect{10, 10, 10 + viewLength, 110});
        content->SetBoundsRect(vertical ? Rect{0, 0, 100, contentLength}
                                        : Rect{0, 0, contentLength, 100});
        bar = NewSkinnedScrollBar(content, orientation);
        test::ShowQuietly(form);
    }
    ~Scene() { Free(form); }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    ScrollBarRecord* Record() const { return ScrollBarOf(bar); }
    Rect Thumb() const { return Record()->ThumbRect; }

    Control* form;
    Control* viewport = nullptr;
    Control* content = nullptr;
    Control* bar = nullptr;
};

// A point of a control in screen coordinates.
POINT ScreenPoint(Control* control, int32_t x, int32_t y) {
    const Point p = control->ClientToScreen(Point{x, y});
    return POINT{p.x, p.y};
}

// The system's own mouse input, so that the async button state and the window under the
// cursor are what a user's hand would make them.
void MoveMouse(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;  // no distance: a move message at the new place
    SendInput(1, &move, sizeof move);
    Pump();
}

void LeftButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof input);
    Pump();
    Sleep(20);
    Pump();
}

void PressAt(POINT p) {
    MoveMouse(p);
    LeftButton(MOUSEEVENTF_LEFTDOWN);
}

void Release() {
    LeftButton(MOUSEEVENTF_LEFTUP);
}

// Only the cursor: the bar reads the press point from it, as from a real press.
void CursorTo(Control* control, int32_t x, int32_t y) {
    const POINT p = ScreenPoint(control, x, y);
    SetCursorPos(p.x, p.y);
}

// Pumps until the condition holds or a second has passed.
template <class Condition>
bool PumpUntil(Condition condition) {
    for (int i = 0; i < 100 && !condition(); ++i) {
        Sleep(10);
        Pump();
    }
    return condition();
}

// The resource picture, read with plain Win32 so the code under test does not check itself.
class Picture {
public:
    explicit Picture(const wchar_t* name)
        : bitmap_(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0,
                                                  0, LR_CREATEDIBSECTION))),
          dc_(CreateCompatibleDC(nullptr)),
          old_(SelectObject(dc_, bitmap_)) {}
    ~Picture() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ old_;
};

// Counts the pixels of a printed window that differ from what the picture function expects.
template <class Expected>
int Mismatches(const Printed& printed, int width, int height, Expected expected) {
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            wrong += printed.Pixel(x, y) != expected(x, y);
        }
    }
    return wrong;
}

using SkinScroll = ControlTest;

TEST_F(SkinScroll, BarAndButtonsSitBesideTheViewportWithTheThumbInProportion) {
    {
        Scene scene(1000, 232);
        // Track 200 long under the start button, the end button below it.
        EXPECT_TRUE(RectIs(scene.bar->BoundsRect(), {110, 26, 126, 226}));
        EXPECT_TRUE(RectIs(scene.Record()->StartButton->BoundsRect(), {110, 10, 126, 26}));
        EXPECT_TRUE(RectIs(scene.Record()->EndButton->BoundsRect(), {110, 226, 126, 242}));
        EXPECT_TRUE(RectIs(scene.Thumb(), {0, 0, 16, 46}));  // 232 x 200 / 1000
        EXPECT_EQ(scene.Record()->Content, scene.content);
        EXPECT_EQ(scene.Record()->Orientation, kScrollVertical);

        scene.content->SetTop(-500);
        UpdateScrollBar(scene.bar);
        EXPECT_TRUE(RectIs(scene.Thumb(), {0, 100, 16, 146}));
        // An offset past the end keeps the thumb inside the track.
        scene.content->SetTop(-990);
        UpdateScrollBar(scene.bar);
        EXPECT_TRUE(RectIs(scene.Thumb(), {0, 154, 16, 200}));
        // The viewport grows: bar and buttons follow.
        scene.viewport->SetHeight(332);
        scene.content->SetTop(0);
        UpdateScrollBar(scene.bar);
        EXPECT_TRUE(RectIs(scene.bar->BoundsRect(), {110, 26, 126, 326}));
        EXPECT_TRUE(RectIs(scene.Record()->EndButton->BoundsRect(), {110, 326, 126, 342}));
        EXPECT_TRUE(RectIs(scene.Thumb(), {0, 0, 16, 99}));  // 332 x 300 / 1000
    }
    {
        Scene scene(1000, 232, kScrollHorizontal);
        EXPECT_TRUE(RectIs(scene.bar->BoundsRect(), {26, 110, 226, 126}));
        EXPECT_TRUE(RectIs(scene.Record()->StartButton->BoundsRect(), {10, 110, 26, 126}));
        EXPECT_TRUE(RectIs(scene.Record()->EndButton->BoundsRect(), {226, 110, 242, 126}));
        scene.content->SetLeft(-500);
        UpdateScrollBar(scene.bar);
        EXPECT_TRUE(RectIs(scene.Thumb(), {100, 0, 146, 16}));
    }
}

TEST_F(SkinScroll, ScrollingStopsAtBothEndsAndOnlyAlongTheBar) {
    Scene scene(1000, 232);
    ScrollBy(scene.bar, 0, 10);
    EXPECT_EQ(scene.content->Top(), -50);  // 1000 x 10 / 200
    EXPECT_TRUE(RectIs(scene.Thumb(), {0, 10, 16, 56}));
    ScrollBy(scene.bar, 0, 100000);  // the bottom meets the viewport's bottom
    EXPECT_EQ(scene.content->Top(), 232 - 1000);
    EXPECT_TRUE(RectIs(scene.Thumb(), {0, 153, 16, 199}));
    ScrollBy(scene.bar, 0, -100000);  // the origin does not pass the viewport's
    EXPECT_EQ(scene.content->Top(), 0);
    ScrollBy(scene.bar, 77, 0);  // across a vertical bar: nothing
    EXPECT_EQ(scene.content->Top(), 0);
    EXPECT_EQ(scene.content->Left(), 0);

    Scene across(1000, 232, kScrollHorizontal);
    ScrollBy(across.bar, 10, 99);
    EXPECT_EQ(across.content->Left(), -50);
    EXPECT_EQ(across.content->Top(), 0);
}

TEST_F(SkinScroll, ContentNoLargerThanTheViewportFillsTheTrackAndNeverMoves) {
    for (int32_t length : {232, 100}) {
        SCOPED_TRACE(length);
        Scene scene(length, 232);
        EXPECT_TRUE(RectIs(scene.Thumb(), {0, 0, 16, 200}));
        // Pulled down by the far-edge rule, pushed back by the near-edge rule, which wins.
        ScrollBy(scene.bar, 0, 10);
        EXPECT_EQ(scene.content->Top(), 0);
        ScrollBy(scene.bar, 0, -10);
        EXPECT_EQ(scene.content->Top(), 0);
        EXPECT_TRUE(RectIs(scene.Thumb(), {0, 0, 16, 200}));
    }
}

TEST_F(SkinScroll, ZeroLengthContentOrBarShowsAFullOrEmptyThumbWithoutDividingByZero) {
    {
        Scene scene(0, 232);  // no content: a full thumb
        EXPECT_TRUE(RectIs(scene.Thumb(), {0, 0, 16, 200}));
        ScrollBy(scene.bar, 0, 10);
        EXPECT_EQ(scene.content->Top(), 0);
        UpdateWindow(scene.bar->Handle());
    }
    for (int32_t view : {32, 20, 0}) {
        SCOPED_TRACE(view);
        Scene scene(1000, view);  // a track of no length: an empty thumb on an empty bar
        EXPECT_EQ(scene.bar->Height(), 0);
        EXPECT_TRUE(RectIs(scene.Thumb(), {0, 0, 16, 0}));
        ScrollBy(scene.bar, 0, 10);
        ScrollBy(scene.bar, 0, -10);
        EXPECT_EQ(scene.content->Top(), 0);
        SendMessageW(scene.Record()->EndButton->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        UpdateWindow(scene.bar->Handle());
        Pump();
    }
    Scene flat(0, 0, kScrollHorizontal);
    EXPECT_EQ(flat.bar->Width(), 0);
    ScrollBy(flat.bar, 10, 0);
    EXPECT_EQ(flat.content->Left(), 0);
}

TEST_F(SkinScroll, ATrackPressBringsTheThumbsLeadingEdgeToThePoint) {
    Scene scene(1000, 232);
    // Below the thumb: 1000 x 120 / 200 = 600 pixels down, so the thumb starts at 120.
    CursorTo(scene.bar, 8, 120);
    scene.bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 120));
    scene.bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(8, 120));
    EXPECT_EQ(scene.content->Top(), -600);
    EXPECT_EQ(scene.Thumb().top, 120);
    // Above it: back up to 30.
    CursorTo(scene.bar, 8, 30);
    scene.bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 30));
    scene.bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(8, 30));
    EXPECT_EQ(scene.content->Top(), -150);
    EXPECT_EQ(scene.Thumb().top, 30);
    // Near the end the far-edge clamp holds the content's bottom at the viewport's.
    CursorTo(scene.bar, 8, 199);
    scene.bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    scene.bar->Perform(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(scene.content->Top(), -768);
    // Inside the thumb a press starts a drag and moves nothing.
    const Rect thumb = scene.Thumb();
    CursorTo(scene.bar, 8, thumb.top + 3);
    scene.bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(ScrollThumbDragActive());
    EXPECT_EQ(scene.content->Top(), -768);
    scene.bar->Perform(WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(ScrollThumbDragActive());
}

TEST_F(SkinScroll, ArrowsStepTenThumbPixelsUpToTheEndsAndShowThePressedImage) {
    Scene scene(1000, 232);
    Control* start = scene.Record()->StartButton;
    Control* end = scene.Record()->EndButton;
    EXPECT_EQ(start->Border, -1);
    EXPECT_EQ(end->Border, -2);
    SendMessageW(start->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);  // already at 0
    EXPECT_EQ(scene.content->Top(), 0);

    // A real press: one step of 1000 x 10 / 200, the pressed image while the button is down.
    const Picture normal(L"sbbtn");
    const Picture pressed(L"sbbtn_p");
    PressAt(ScreenPoint(end, 8, 8));
    EXPECT_EQ(scene.content->Top(), -50);
    {
        Printed shown(end->Handle(), 16, 16);
        EXPECT_EQ(Mismatches(shown, 16, 16, [&](int x, int y) { return pressed.At(x, y); }), 0);
    }
    Release();
    EXPECT_EQ(scene.content->Top(), -50);  // no repeat
    {
        Printed shown(end->Handle(), 16, 16);
        EXPECT_EQ(Mismatches(shown, 16, 16, [&](int x, int y) { return normal.At(x, y); }), 0);
    }
    // The images differ, so the two checks above tell them apart.
    int differing = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            differing += normal.At(x, y) != pressed.At(x, y);
        }
    }
    EXPECT_GT(differing, 0);

    // A quick second press (a double-click to the system) is one more step.
    PressAt(ScreenPoint(end, 8, 8));
    Release();
    PressAt(ScreenPoint(end, 8, 8));
    Release();
    EXPECT_EQ(scene.content->Top(), -150);

    for (int i = 0; i < 20; ++i) {
        SendMessageW(end->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    }
    EXPECT_EQ(scene.content->Top(), -768);  // the bottom never rises above the viewport's
    SendMessageW(start->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(scene.content->Top(), -718);

    Scene across(1000, 232, kScrollHorizontal);
    SendMessageW(across.Record()->EndButton->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(across.content->Left(), -50);
    SendMessageW(across.Record()->StartButton->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(across.content->Left(), 0);
}

TEST_F(SkinScroll, DraggingTheThumbFollowsTheMouseUntilReleaseOrLeave) {
    Scene scene(1000, 232);
    const POINT grip = ScreenPoint(scene.bar, 8, 20);
    PressAt(grip);
    ASSERT_TRUE(ScrollThumbDragActive());
    for (int step = 1; step <= 4; ++step) {
        MoveMouse(POINT{grip.x, grip.y + 10 * step});
    }
    EXPECT_EQ(scene.content->Top(), -200);  // 40 thumb pixels of 200 for 1000
    EXPECT_TRUE(RectIs(scene.Thumb(), {0, 40, 16, 86}));
    MoveMouse(POINT{grip.x, grip.y + 30});
    EXPECT_EQ(scene.content->Top(), -150);
    Release();
    EXPECT_FALSE(ScrollThumbDragActive());
    MoveMouse(POINT{grip.x, grip.y + 60});  // released: moves change nothing
    EXPECT_EQ(scene.content->Top(), -150);

    // Leaving the bar ends the drag even with the button still down.
    PressAt(ScreenPoint(scene.bar, 8, 40));
    ASSERT_TRUE(ScrollThumbDragActive());
    MoveMouse(ScreenPoint(scene.bar, 40, 40));
    EXPECT_TRUE(PumpUntil([] { return !ScrollThumbDragActive(); }));
    MoveMouse(ScreenPoint(scene.bar, 8, 100));
    EXPECT_EQ(scene.content->Top(), -150);
    Release();

    // A release the bar never saw: with the button up, moves change nothing.
    scene.bar->AttachMessageHandler(+[](Control*, Message& m) { return m.Msg == WM_LBUTTONUP; });
    PressAt(ScreenPoint(scene.bar, 8, 40));
    Release();
    ASSERT_TRUE(ScrollThumbDragActive());
    MoveMouse(ScreenPoint(scene.bar, 8, 60));
    EXPECT_EQ(scene.content->Top(), -150);
}

TEST_F(SkinScroll, PaintDrawsTheThumbPiecesOnTheTrackColour) {
    const Picture top(L"sbv_t");
    const Picture middle(L"sbv_m");
    const Picture bottom(L"sbv_b");
    Scene scene(1000, 232);
    scene.content->SetTop(-500);
    UpdateScrollBar(scene.bar);  // thumb at 100..146
    const Printed shown(scene.bar->Handle(), 16, 200);
    EXPECT_EQ(Mismatches(shown, 16, 200,
                         [&](int x, int y) {
                             if (y < 100 || y >= 146)
                                 return kTrack;
                             if (y < 102)
                                 return top.At(x, y - 100);
                             if (y >= 144)
                                 return bottom.At(x, y - 144);
                             return middle.At(x, 0);
                         }),
              0);

    const Picture left(L"sbh_l");
    const Picture across(L"sbh_m");
    const Picture right(L"sbh_r");
    Scene flat(1000, 232, kScrollHorizontal);
    const Printed shownFlat(flat.bar->Handle(), 200, 16);
    EXPECT_EQ(Mismatches(shownFlat, 200, 16,
                         [&](int x, int y) {
                             if (x >= 46)
                                 return kTrack;
                             if (x < 2)
                                 return left.At(x, y);
                             if (x >= 44)
                                 return right.At(x - 44, y);
                             return across.At(0, y);
                         }),
              0);

    // A thumb shorter than its two caps: the caps do not spill onto the track around it.
    Scene tall(40000, 232);
    tall.content->SetTop(-20000);
    UpdateScrollBar(tall.bar);
    const Rect thumb = tall.Thumb();
    ASSERT_EQ(thumb.bottom - thumb.top, 1);
    const Printed shownTall(tall.bar->Handle(), 16, 200);
    EXPECT_EQ(shownTall.Pixel(8, thumb.top - 1), kTrack);
    EXPECT_EQ(shownTall.Pixel(8, thumb.top + 1), kTrack);
}

TEST_F(SkinScroll, KeysPressedOnTheBarReachTheForm) {
    Scene scene(1000, 232);
    std::string log;
    scene.form->OnKeyDown = MakeEvent(
        &log, +[](void* l, Control*, int32_t& key, uint32_t) {
            static_cast<std::string*>(l)->append("D").append(std::to_string(key));
        });
    scene.form->OnChar = MakeEvent(
        &log, +[](void* l, Control*, int32_t& key, uint32_t) {
            static_cast<std::string*>(l)->append("C").append(std::to_string(key));
        });
    SendMessageW(scene.bar->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(scene.bar->Handle(), WM_CHAR, 0x0416, 0);  // Ж: 1251 code 0xC6
    EXPECT_EQ(log, "D34C198");
}

TEST_F(SkinScroll, BadInputAndEarlyFreesNeverCrash) {
    EXPECT_EQ(NewSkinnedScrollBar(nullptr, kScrollVertical), nullptr);
    Control* lone = NewForm(nullptr, "Одна");
    Control* child = NewPanel(lone, 2);
    EXPECT_EQ(NewSkinnedScrollBar(child, kScrollVertical), nullptr);  // no grandparent
    Control* grandchild = NewPanel(child, 2);
    EXPECT_EQ(NewSkinnedScrollBar(grandchild, 2), nullptr);
    UpdateScrollBar(nullptr);
    ScrollBy(nullptr, 1, 1);
    UpdateScrollBar(child);  // not a bar
    ScrollBy(child, 1, 1);
    EXPECT_EQ(ScrollBarOf(child), nullptr);
    Free(lone);

    {
        Scene scene(1000, 232);
        Free(scene.content);  // the bar outlives its content
        EXPECT_EQ(scene.Record()->Content, nullptr);
        UpdateScrollBar(scene.bar);
        ScrollBy(scene.bar, 0, 10);
        SendMessageW(scene.Record()->EndButton->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        UpdateWindow(scene.bar->Handle());
    }
    {
        Scene scene(1000, 232);
        Control* end = scene.Record()->EndButton;
        Free(scene.bar);  // the buttons outlive their bar: they find nothing to scroll
        SendMessageW(end->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
        InvalidateRect(end->Handle(), nullptr, FALSE);
        UpdateWindow(end->Handle());
        EXPECT_EQ(scene.content->Top(), 0);
    }
    {
        Scene scene(1000, 232);
        Free(scene.Record()->StartButton);
        EXPECT_EQ(scene.Record()->StartButton, nullptr);
        UpdateScrollBar(scene.bar);
        ScrollBy(scene.bar, 0, 10);
        EXPECT_EQ(scene.content->Top(), -50);
    }
}

TEST_F(SkinScroll, BarsReleaseEverythingAndTheBitmapsGoWithTheLastBar) {
    const int bitmaps = LiveBitmaps();
    const GdiCounts gdi = LiveGdiCounts();
    for (int round = 0; round < 3; ++round) {
        Scene scene(1000, 232);
        Control* across = NewSkinnedScrollBar(scene.content, kScrollHorizontal);
        ASSERT_NE(across, nullptr);
        EXPECT_EQ(LiveBitmaps(), bitmaps + 8);  // loaded once for both bars
        ScrollBy(scene.bar, 0, 30);
        Printed shown(scene.bar->Handle(), 16, 200);
        Pump();
    }
    EXPECT_EQ(LiveBitmaps(), bitmaps);
    const GdiCounts after = LiveGdiCounts();
    EXPECT_EQ(after.objects, gdi.objects);
    EXPECT_EQ(after.memoryDcs, gdi.memoryDcs);
    EXPECT_EQ(after.windowDcs, gdi.windowDcs);

    // A program-wide start keeps them across bars.
    StartScrollBarSkin();
    { Scene scene(1000, 232); }
    EXPECT_EQ(LiveBitmaps(), bitmaps + 8);
    FinishScrollBarSkin();
    EXPECT_EQ(LiveBitmaps(), bitmaps);
    FinishScrollBarSkin();  // one finish too many changes nothing
    EXPECT_EQ(LiveBitmaps(), bitmaps);
}

}  // namespace
}  // namespace zam
