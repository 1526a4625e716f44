// Skinned scroll bars under real windows: layout and thumb arithmetic, both clamps, track
// presses, arrows and thumb drags through the system's mouse input, and degenerate lengths.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "skin/scroll_bar.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "toolkit/control.h"

namespace zam {
namespace {

using test::AsBox;
using test::Box;
using test::Mouse;

// A form with a viewport at (10, 10), 100 wide and viewLength high, holding a content panel 100
// wide and contentLength high, and a vertical bar for them.
class Scene {
public:
    Scene(int32_t contentLength, int32_t viewLength) : form(NewForm(nullptr, "Полосы")) {
        form->HasBorder(false);
        form->SetPosition(40, 40)->SetSize(420, 420);
        Control* viewport = NewPanel(form, 2);
        content = NewPanel(viewport, 2);
        viewport->SetBoundsRect(Rect{10, 10, 110, 10 + viewLength});
        content->SetBoundsRect(Rect{0, 0, 100, contentLength});
        bar = NewSkinnedScrollBar(content, kScrollVertical);
        test::ShowQuietly(form);
    }
    ~Scene() { Free(form); }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    ScrollBarRecord* Record() const { return ScrollBarOf(bar); }
    Rect Thumb() const { return Record()->ThumbRect; }
    void PressEnd() const {
        SendMessageW(Record()->EndButton->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    }

    Control* form;
    Control* content = nullptr;
    Control* bar = nullptr;
};

// A press on the track: the bar reads the press point from the cursor, as from a real press.
void TrackPress(Control* bar, int32_t y) {
    const Point p = bar->ClientToScreen(Point{8, y});
    SetCursorPos(p.x, p.y);
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, y));
    bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(8, y));
}

// The bars' shared bitmaps are counted too.
using SkinScroll = test::DrawingTest;

TEST_F(SkinScroll, BarAndButtonsSitBesideTheViewportWithTheThumbInProportionAndClamped) {
    Scene scene(1000, 232);
    // Track 200 long under the start button, the end button below it.
    EXPECT_EQ(AsBox(scene.bar->BoundsRect()), (Box{110, 26, 126, 226}));
    EXPECT_EQ(AsBox(scene.Record()->StartButton->BoundsRect()), (Box{110, 10, 126, 26}));
    EXPECT_EQ(AsBox(scene.Record()->EndButton->BoundsRect()), (Box{110, 226, 126, 242}));
    EXPECT_EQ(AsBox(scene.Thumb()), (Box{0, 0, 16, 46}));  // 232 x 200 / 1000

    // Scrolling stops at the origin (the far end is the substitution tests') and moves only
    // along the bar.
    ScrollBy(scene.bar, 0, -100000);
    EXPECT_EQ(scene.content->Top(), 0);
    ScrollBy(scene.bar, 77, 0);
    EXPECT_EQ(scene.content->Left(), 0);

    // Content shorter than the viewport: both clamps meet and the near edge wins.
    Scene shorter(100, 232);
    EXPECT_EQ(AsBox(shorter.Thumb()), (Box{0, 0, 16, 200}));
    ScrollBy(shorter.bar, 0, 10);
    EXPECT_EQ(shorter.content->Top(), 0);
}

TEST_F(SkinScroll, TrackPressesArrowsAndThumbDragsMoveTheContentUpToItsEnds) {
    Scene scene(1000, 232);
    TrackPress(scene.bar, 120);  // below the thumb: 1000 x 120 / 200 = 600 down
    EXPECT_EQ(scene.content->Top(), -600);
    EXPECT_EQ(scene.Thumb().top, 120);
    TrackPress(scene.bar, 30);  // above it: back up
    EXPECT_EQ(scene.content->Top(), -150);
    TrackPress(scene.bar, 199);  // the far-edge clamp holds the bottom at the viewport's
    EXPECT_EQ(scene.content->Top(), -768);

    // Arrows step ten thumb pixels: a real press steps once, without repeat.
    Control* start = scene.Record()->StartButton;
    SendMessageW(start->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(scene.content->Top(), -718);
    for (int i = 0; i < 20; ++i)
        SendMessageW(start->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(scene.content->Top(), 0);
    Mouse(MOUSEEVENTF_LEFTDOWN, scene.Record()->EndButton, 8, 8);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(scene.content->Top(), -50);

    // The thumb follows the system's mouse until the release.
    Mouse(MOUSEEVENTF_LEFTDOWN, scene.bar, 8, 20);
    ASSERT_TRUE(ScrollThumbDragActive());
    EXPECT_EQ(scene.content->Top(), -50) << "a press inside the thumb moves nothing";
    for (int step = 1; step <= 4; ++step)
        Mouse(0, scene.bar, 8, 20 + 10 * step);
    EXPECT_EQ(scene.content->Top(), -250);  // 40 thumb pixels of 200 for 1000
    Mouse(MOUSEEVENTF_LEFTUP);
    Mouse(0, scene.bar, 8, 100);
    EXPECT_EQ(scene.content->Top(), -250) << "the release ended the drag";

    // A drag that runs on past the bar's end, beside and below it, still takes the thumb to
    // the end; the release there ends it.
    Mouse(MOUSEEVENTF_LEFTDOWN, scene.bar, 8, 60);
    ASSERT_TRUE(ScrollThumbDragActive());
    Mouse(0, scene.bar, 40, 260);
    Mouse(0, scene.bar, 40, 400);
    EXPECT_EQ(scene.content->Top(), 232 - 1000);
    Mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SkinScroll, DegenerateLengthsAndABarOutlivingItsContentNeverCrash) {
    // No content, then a bar too short for any track: nothing to divide by, nothing moves.
    for (int32_t content : {0, 1000}) {
        Scene scene(content, content ? 20 : 232);
        ScrollBy(scene.bar, 0, 10);
        scene.PressEnd();
        EXPECT_EQ(scene.content->Top(), 0) << content;
    }
    Scene scene(1000, 232);
    Free(scene.content);
    UpdateScrollBar(scene.bar);
    scene.PressEnd();
    UpdateWindow(scene.bar->Handle());
}

}  // namespace
}  // namespace zam
