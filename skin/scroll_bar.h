#pragma once
// Skinned scroll bars: a flat panel with a bitmap thumb beside a viewport panel V, and two
// square arrow buttons at its ends. The content panel C is V's child; scrolling moves C inside
// V and the bar shows which part is visible. Bar and buttons are children of V's parent P.
#include <windows.h>

#include <cstdint>

#include "toolkit/control.h"
#include "toolkit/geometry.h"
#include "toolkit/object.h"
#include "toolkit/weak_ref.h"

namespace zam {

enum ScrollOrientation : uint8_t {
    kScrollVertical = 0,
    kScrollHorizontal = 1,
};

constexpr int32_t kScrollBarThickness = 16;
constexpr int32_t kScrollArrowSize = 16;
constexpr int32_t kScrollThumbCap = 2;
constexpr int32_t kScrollArrowStep = 10;  // thumb pixels per arrow press
constexpr COLORREF kScrollTrackColor = 0xDDF5FF;

// A content longer than a window may be (Windows and Wine clamp a window to 32,767 pixels)
// scrolls virtually: its window stays the viewport's size and draws itself at an offset that
// the bar asks for and sets.
class VirtualContent {
public:
    // Along the bar, in pixels.
    virtual int64_t ContentLength() const = 0;
    // How far the content is scrolled, 0 to length - viewport.
    virtual int64_t ContentOffset() const = 0;
    virtual void ScrollContentTo(int64_t offset) = 0;

protected:
    ~VirtualContent() = default;
};

// Hung on the bar's SkinData slot and freed with it. The control links read null when their
// controls go first, so a bar outliving its content or buttons only stops scrolling.
class ScrollBarRecord : public ToolkitObject {
public:
    uint8_t Orientation = kScrollVertical;
    WeakRef<Control> Content;
    // In the bar's client coordinates.
    Rect ThumbRect{0, 0, 0, 0};
    WeakRef<Control> StartButton;  // top or left
    WeakRef<Control> EndButton;    // bottom or right
    // Set for a virtually scrolled content; not owned, and asked only while Content lives.
    VirtualContent* Virtual = nullptr;

    ScrollBarRecord() = default;

protected:
    ~ScrollBarRecord() override = default;
    void ReleaseOwned() override;
};

// A bar for the content's viewport, at its right (vertical) or bottom (horizontal) edge. Null
// when the content has no parent and grandparent or the orientation is neither 0 nor 1.
Control* NewSkinnedScrollBar(Control* content, uint8_t orientation);
// Places the bar and its buttons by the viewport and recomputes the thumb from the content;
// call it after the content or the window changes size and after moving the content.
void UpdateScrollBar(Control* bar);
// Moves the content as if the thumb had moved by (dx, dy) thumb pixels, within both ends;
// only the component of the bar's orientation counts.
void ScrollBy(Control* bar, int32_t dx, int32_t dy);
// The bar's record, or null for a control that is not a skinned scroll bar.
ScrollBarRecord* ScrollBarOf(Control* bar);

// The shared bitmaps are loaded by the first start and freed by the last finish. Every bar
// holds one start for its lifetime; a program may hold one more to keep them across bars.
void StartScrollBarSkin();
void FinishScrollBarSkin();

// Whether a thumb drag is in progress (one for the whole program).
bool ScrollThumbDragActive();

}  // namespace zam
