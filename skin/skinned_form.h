#pragma once
// Skinned forms: top-level forms without the system caption and border that draw their own
// bitmap frame, caption bar and caption buttons, and supply what the system caption would:
// dragging, edge resizing, minimise, maximise, restore, close, active and inactive caption
// colours, roll-up by a caption double-click, Tab between windows and Alt+F4.
#include <windows.h>

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/bitmap.h"
#include "toolkit/control.h"
#include "toolkit/geometry.h"
#include "toolkit/object.h"
#include "toolkit/weak_ref.h"

namespace zam {

constexpr COLORREF kSkinFormColor = 0x5ECCFF;  // also the inactive caption text
constexpr COLORREF kActiveCaptionColor = 0x0099FF;
constexpr COLORREF kInactiveCaptionColor = 0x00AEFF;
constexpr COLORREF kActiveCaptionTextColor = 0x000000;
constexpr int32_t kFrameWidth = 3;
constexpr int32_t kCaptionHeight = 21;

// Hung on the form's SkinData; the application reads and sets its fields.
class FrameRecord : public ToolkitObject {
public:
    // The bottom buttons in the order added (children of the form); null once freed.
    std::vector<WeakRef<Control>> BottomButtons;
    // Null outside them, too.
    Control* BottomButton(size_t index) const {
        return index < BottomButtons.size() ? BottomButtons[index].Get() : nullptr;
    }
    // Called at the end of every paint of the form, to draw the window's content.
    Slot<Control*, HDC> OnClientPaint;
    // Called at the end of every WM_SIZE.
    Slot<Control*> OnFrameResized;
    uint8_t CloseHides = 0;  // 1: closing hides the form instead of destroying it
    uint16_t SavedHeight = 0;
    Bitmap* CaptionBitmap = nullptr;  // owned
    COLORREF CaptionColor = kInactiveCaptionColor;
    Rect CaptionRect{0, 0, 0, 0};  // window coordinates
    uint8_t Sizeable = 1;
    uint8_t Restored = 1;
    uint8_t HasFrame = 1;
    // Left, top, bottom, right edge; top-left, top-right, bottom-left, bottom-right corner.
    Rect PieceRects[8] = {};
    // Children of the form; null once freed.
    WeakRef<Control> MinButton;
    WeakRef<Control> MaxButton;
    WeakRef<Control> RestoreButton;
    WeakRef<Control> CloseButton;

protected:
    ~FrameRecord() override = default;
    void ReleaseOwned() override;

private:
    friend bool FrameMessageHandler(Control* form, Message& m);
    // Child controls that a roll-up hid; an unroll shows these again and no others.
    std::vector<WeakRef<Control>> rolledUpChildren_;
};

// A skinned form; its window is made when it is first needed, as for any form.
Control* NewSkinnedForm(Control* parent, std::string_view caption);
// The frame record, or null for a control that is not a skinned form.
FrameRecord* FrameOf(const Control* form);
// The part of the window inside the frame and below the caption, in window coordinates;
// (3, 24, width - 3, height - 3) with the frame on. Empty when nothing is left.
Rect FrameClientRect(Control* form);
// One centred label button (paired false) or two on the left and right halves, appended to
// BottomButtons and laid out at once and on every WM_SIZE.
void AddBottomButtons(Control* form, std::pair<std::string_view, std::string_view> labels,
                      bool paired);

// The message handler that every skinned form has attached.
bool FrameMessageHandler(Control* form, Message& m);

}  // namespace zam
