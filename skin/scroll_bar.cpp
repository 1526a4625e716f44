#include "skin/scroll_bar.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

#include "toolkit/bitmap.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

enum Piece : int {
    kArrow,
    kArrowPressed,
    kVerticalTop,
    kVerticalMiddle,
    kVerticalBottom,
    kHorizontalLeft,
    kHorizontalMiddle,
    kHorizontalRight,
    kPieceCount,
};

constexpr const char* kPieceNames[kPieceCount] = {
    "sbbtn", "sbbtn_p", "sbv_t", "sbv_m", "sbv_b", "sbh_l", "sbh_m", "sbh_r",
};

// The keys a bar hands on to its form: WM_KEYDOWN to WM_SYSDEADCHAR and the old WM_KEYLAST.
constexpr UINT kFirstKeyMessage = 0x100;
constexpr UINT kLastKeyMessage = 0x108;

int skinStarts = 0;
Bitmap* pieces[kPieceCount] = {};

// One for the whole program: only one thumb can be dragged at a time.
struct DragState {
    bool active = false;
    POINT last{0, 0};
};
DragState drag;

void DrawPiece(Piece piece, HDC dc, int32_t x, int32_t y) {
    if (pieces[piece]) {
        pieces[piece]->Draw(dc, x, y);
    }
}

void StretchPiece(Piece piece, HDC dc, const Rect& rect) {
    if (pieces[piece]) {
        pieces[piece]->StretchDraw(dc, rect);
    }
}

void FinishOnDestroy(void*) {
    FinishScrollBarSkin();
}

// Keeps the bitmaps loaded for as long as the control lives.
void HoldSkin(Control* control) {
    StartScrollBarSkin();
    AddToAutoFree(control, FinishOnDestroy, nullptr);
}

bool LeftButtonDown() {
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

constexpr int16_t kMinThumb = 8;

int16_t To16(int64_t value) {
    return static_cast<int16_t>(std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

// The arrow button's bar: the sibling Border places away in the parent's child list. Only a
// bar that names this button counts, so a freed or moved bar is never mistaken.
Control* BarOfButton(Control* button) {
    Control* parent = button->Parent();
    if (!parent) {
        return nullptr;
    }
    Control* bar = parent->Child(parent->IndexOfChild(button) + button->Border);
    ScrollBarRecord* record = ScrollBarOf(bar);
    if (!record || (record->StartButton != button && record->EndButton != button)) {
        return nullptr;
    }
    return bar;
}

void PaintArrow(Message& m) {
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    const bool begun = !dc;
    if (begun) {
        dc = BeginPaint(m.Window, &ps);
    }
    POINT cursor{};
    const bool pressed =
        LeftButtonDown() && GetCursorPos(&cursor) && WindowFromPoint(cursor) == m.Window;
    DrawPiece(pressed ? kArrowPressed : kArrow, dc, 0, 0);
    if (begun) {
        EndPaint(m.Window, &ps);
    }
}

bool ArrowButtonMessage(Control* button, Message& m) {
    switch (m.Msg) {
        case WM_PAINT:
        case WM_PRINTCLIENT:
            PaintArrow(m);
            m.Result = 0;
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // One step per press, the second of a quick pair included (the static class asks
            // for double-clicks); holding the button does not repeat.
            if (Control* bar = BarOfButton(button)) {
                ScrollBy(bar, button->SizeLimit(kMinWidth), button->SizeLimit(kMinHeight));
            }
            button->Invalidate();
            return false;
        case WM_LBUTTONUP:
        case WM_MOUSELEAVE:
            button->Invalidate();
            return false;
        default:
            return false;
    }
}

void NoAction(Control*) {}

void PaintBar(Control* bar, HDC dc) {
    ScrollBarRecord* record = ScrollBarOf(bar);
    HWND window = bar->WindowHandle();
    if (!record || !window || !dc) {
        return;
    }
    const Rect& t = record->ThumbRect;
    const RECT thumb{t.left, t.top, t.right, t.bottom};
    HRGN update = bar->UpdateRegion();  // null: the whole client area
    if (!IsRectEmpty(&thumb) && (!update || RectInRegion(update, &thumb))) {
        if (record->Orientation == kScrollVertical) {
            StretchPiece(kVerticalMiddle, dc, t);
            DrawPiece(kVerticalTop, dc, 0, t.top);
            DrawPiece(kVerticalBottom, dc, 0, t.bottom - kScrollThumbCap);
        } else {
            StretchPiece(kHorizontalMiddle, dc, t);
            DrawPiece(kHorizontalLeft, dc, t.left, 0);
            DrawPiece(kHorizontalRight, dc, t.right - kScrollThumbCap, 0);
        }
    }
    // The track after the thumb: it also covers caps that stick out of a very short thumb.
    RECT client{};
    GetClientRect(window, &client);
    OwnedRegion track(CreateRectRgnIndirect(&client));
    OwnedRegion thumbRegion(CreateRectRgnIndirect(&thumb));
    if (!track || !thumbRegion) {
        return;
    }
    if (update) {
        CombineRgn(track.Get(), update, nullptr, RGN_COPY);
    }
    CombineRgn(track.Get(), track.Get(), thumbRegion.Get(), RGN_DIFF);
    GraphicTool* brush = bar->ControlBrush();
    if (HBRUSH handle = brush ? brush->BrushHandle() : nullptr) {
        FillRgn(dc, track.Get(), handle);
    }
}

bool BarMessage(Control* bar, Message& m) {
    if (m.Msg >= kFirstKeyMessage && m.Msg <= kLastKeyMessage) {
        // Keys typed while the bar has the focus belong to its window. The W call keeps a
        // character's UTF-16 unit as the bar got it.
        Control* form = bar->ParentForm();
        if (form != bar && form->WindowHandle()) {
            SendMessageW(form->WindowHandle(), m.Msg, m.WParam, m.LParam);
        }
        return false;
    }
    ScrollBarRecord* record = ScrollBarOf(bar);
    if (!record) {
        return false;
    }
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {  // a quick second press is a press too
            POINT cursor{};
            RECT window{};
            if (!GetCursorPos(&cursor) || !GetWindowRect(m.Window, &window)) {
                break;
            }
            const Rect t = record->ThumbRect;
            const RECT thumb{t.left, t.top, t.right, t.bottom};
            const POINT p{cursor.x - window.left, cursor.y - window.top};
            if (PtInRect(&thumb, p)) {
                drag.active = true;
                drag.last = cursor;
                // The moves past the bar's ends are the thumb's too, until the release.
                SetCapture(m.Window);
            } else {
                // The thumb's leading edge jumps to the press point.
                ScrollBy(bar, p.x - t.left, p.y - t.top);
            }
            break;
        }
        case WM_MOUSEMOVE:
            if (drag.active && LeftButtonDown()) {
                POINT cursor{};
                if (GetCursorPos(&cursor)) {
                    ScrollBy(bar, cursor.x - drag.last.x, cursor.y - drag.last.y);
                    drag.last = cursor;
                }
            }
            break;
        case WM_LBUTTONUP:
            drag.active = false;
            if (GetCapture() == m.Window) {
                ReleaseCapture();
            }
            break;
        case WM_MOUSELEAVE:
            // Leaving the bar ends only a drag whose release went unseen (no capture).
            if (GetCapture() != m.Window) {
                drag.active = false;
            }
            break;
        case WM_CAPTURECHANGED:
            drag.active = false;
            break;
        default:
            break;
    }
    return false;
}

}  // namespace

void ScrollBarRecord::ReleaseOwned() {
    Content.Reset();
    StartButton.Reset();
    EndButton.Reset();
}

void StartScrollBarSkin() {
    if (skinStarts++ > 0) {
        return;
    }
    HINSTANCE module = GetModuleHandleW(nullptr);
    for (int i = 0; i < kPieceCount; ++i) {
        // A missing resource leaves the bitmap empty, and drawing it draws nothing.
        pieces[i] = NewBitmap(0, 0);
        LoadBitmapResource(pieces[i], module, kPieceNames[i]);
    }
}

void FinishScrollBarSkin() {
    if (skinStarts <= 0 || --skinStarts > 0) {
        return;
    }
    for (Bitmap*& piece : pieces) {
        Free(std::exchange(piece, nullptr));
    }
}

bool ScrollThumbDragActive() {
    return drag.active;
}

ScrollBarRecord* ScrollBarOf(Control* bar) {
    return bar ? dynamic_cast<ScrollBarRecord*>(bar->SkinData) : nullptr;
}

Control* NewSkinnedScrollBar(Control* content, uint8_t orientation) {
    Control* viewport = content ? content->Parent() : nullptr;
    Control* parent = viewport ? viewport->Parent() : nullptr;
    if (!parent || orientation > kScrollHorizontal) {
        return nullptr;
    }
    auto* record = NewObject<ScrollBarRecord>();
    Control* bar = NewPanel(parent, 2);
    HoldSkin(bar);
    bar->TrackMouse(true);
    bar->SetColor(kScrollTrackColor);
    bar->Show();
    bar->SkinData = record;
    record->Content = content;
    record->Orientation = orientation;

    // Made right after the bar, so that Border is each button's distance back to it.
    Control* buttons[2] = {};
    for (int i = 0; i < 2; ++i) {
        Control* button = NewPanel(parent, 2);
        HoldSkin(button);
        button->SetSize(kScrollArrowSize, kScrollArrowSize);
        button->AttachMessageHandler(ArrowButtonMessage);
        button->OnMouseLeave = Bind<&NoAction>();  // turns on leave tracking
        buttons[i] = button;
    }
    record->StartButton = buttons[0];
    record->EndButton = buttons[1];
    buttons[0]->Border = -1;
    buttons[1]->Border = -2;
    const int32_t stepKind = orientation == kScrollVertical ? kMinHeight : kMinWidth;
    buttons[0]->SetSizeLimit(stepKind, -kScrollArrowStep);
    buttons[1]->SetSizeLimit(stepKind, kScrollArrowStep);

    bar->OnPaint = Bind<&PaintBar>();
    bar->AttachMessageHandler(BarMessage);
    UpdateScrollBar(bar);
    return bar;
}

void UpdateScrollBar(Control* bar) {
    ScrollBarRecord* record = ScrollBarOf(bar);
    Control* content = record ? record->Content.Get() : nullptr;
    Control* viewport = content ? content->Parent() : nullptr;
    if (!viewport || viewport->Parent() != bar->Parent()) {
        return;
    }
    const Rect v = viewport->BoundsRect();
    const Rect c = content->BoundsRect();
    const int32_t vw = v.right - v.left;
    const int32_t vh = v.bottom - v.top;
    const bool vertical = record->Orientation == kScrollVertical;

    // Lengths and offsets are 16-bit values. A bar or content of no length shows an empty or
    // a full thumb rather than dividing by zero.
    const int16_t track = To16(std::max((vertical ? vh : vw) - 2 * kScrollArrowSize, 0));
    const int64_t extent = vertical ? vh : vw;
    const int64_t length = record->Virtual ? record->Virtual->ContentLength()
                           : vertical      ? c.bottom - c.top
                                           : c.right - c.left;
    const int64_t offset = record->Virtual ? record->Virtual->ContentOffset()
                                           : std::llabs(vertical ? c.top : c.left);
    int16_t thumb = track;
    int16_t start = 0;
    if (length > 0) {
        // A thumb of a few pixels at least, or a long text would leave none to grab.
        thumb = std::min(std::max(To16(extent * track / length), kMinThumb), track);
        start = To16(offset * track / length);
        // Content scrolled to its end puts the thumb at the end, whatever the rounding.
        if (start + thumb > track || offset + extent >= length) {
            start = static_cast<int16_t>(track - thumb);
        }
    }

    Control* first = record->StartButton;
    Control* last = record->EndButton;
    Rect bounds;
    if (vertical) {
        record->ThumbRect = Rect{0, start, kScrollBarThickness, start + thumb};
        bounds = Rect{v.right, v.top + kScrollArrowSize, v.right + kScrollBarThickness,
                      v.top + kScrollArrowSize + track};
        if (first) {
            first->SetPosition(v.right, v.top);
        }
        if (last) {
            last->SetPosition(v.right, v.bottom - kScrollArrowSize);
        }
    } else {
        record->ThumbRect = Rect{start, 0, start + thumb, kScrollBarThickness};
        bounds = Rect{v.left + kScrollArrowSize, v.bottom, v.left + kScrollArrowSize + track,
                      v.bottom + kScrollBarThickness};
        if (first) {
            first->SetPosition(v.left, v.bottom);
        }
        if (last) {
            last->SetPosition(v.right - kScrollArrowSize, v.bottom);
        }
    }
    bar->SetBoundsRect(bounds);
    // The paint covers every pixel, so nothing needs erasing first.
    if (HWND window = bar->WindowHandle()) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

void ScrollBy(Control* bar, int32_t dx, int32_t dy) {
    ScrollBarRecord* record = ScrollBarOf(bar);
    Control* content = record ? record->Content.Get() : nullptr;
    Control* viewport = content ? content->Parent() : nullptr;
    if (!viewport) {
        return;
    }
    const int64_t vw = viewport->Width();
    const int64_t vh = viewport->Height();
    if (VirtualContent* virt = record->Virtual) {
        const int64_t barLength = record->Orientation == kScrollVertical ? bar->Height()
                                                                         : bar->Width();
        const int64_t length = virt->ContentLength();
        const int64_t delta = record->Orientation == kScrollVertical ? dy : dx;
        const int64_t extent = record->Orientation == kScrollVertical ? vh : vw;
        const int64_t moved =
            barLength > 0 ? virt->ContentOffset() + length * delta / barLength : 0;
        virt->ScrollContentTo(std::clamp<int64_t>(moved, 0, std::max<int64_t>(length - extent, 0)));
        UpdateScrollBar(bar);
        return;
    }
    const Rect c = content->BoundsRect();
    const int64_t cw = c.right - c.left;
    const int64_t ch = c.bottom - c.top;

    // Thumb pixels to content pixels; the content moves against the thumb.
    int64_t ax = 0;
    int64_t ay = 0;
    if (record->Orientation == kScrollVertical) {
        if (const int64_t barLength = bar->Height(); barLength > 0) {
            ay = ch * -static_cast<int64_t>(dy) / barLength;
        }
    } else if (const int64_t barLength = bar->Width(); barLength > 0) {
        ax = cw * -static_cast<int64_t>(dx) / barLength;
    }
    // The far edge stays outside the viewport; then the origin stays at or before the
    // viewport's, which wins for a content smaller than the viewport.
    if (c.left + cw + ax < vw) {
        ax = vw - cw - c.left;
    }
    if (c.top + ch + ay < vh) {
        ay = vh - ch - c.top;
    }
    if (c.left + ax > 0) {
        ax = -c.left;
    }
    if (c.top + ay > 0) {
        ay = -c.top;
    }
    if (ax != 0 || ay != 0) {
        const auto x = static_cast<int32_t>(ax);
        const auto y = static_cast<int32_t>(ay);
        if (HWND window = viewport->WindowHandle()) {
            // Moves the content window with the viewport's other children and invalidates the
            // strip that the move uncovers.
            ScrollWindow(window, x, y, nullptr, nullptr);
        } else {
            content->SetPosition(c.left + x, c.top + y);
        }
    }
    UpdateScrollBar(bar);
}

}  // namespace zam
