#pragma once
// Skinned push buttons: bitmap buttons (caption buttons, toolbar buttons) and the label buttons
// along the bottom of small dialogs. Both are owner-drawn "BUTTON" children whose look follows
// the mouse and the focus; their clicks reach the application as the control's OnClick.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/bitmap.h"
#include "toolkit/control.h"
#include "toolkit/object.h"

namespace zam {

constexpr COLORREF kSkinHoverColor = 0x00AEFF;
constexpr COLORREF kSkinPressedColor = 0x0099FF;
constexpr COLORREF kBottomButtonColor = 0x00B8FF;
// Visible child, flat, owner-drawn.
constexpr uint32_t kSkinnedButtonStyle = 0x5000800B;

// Button kinds: 0 caption button, 1 image button of any size, 2 toolbar button, 3 and 4
// toolbar buttons with a pressed image of their own (3 springs back on release, 4 on focus
// loss).
constexpr uint8_t kCaptionButtonKind = 0;
constexpr uint8_t kSkinButtonKinds = 5;

class SkinButtonRecord : public ToolkitObject {
public:
    COLORREF NormalColor = 0;
    COLORREF HoverColor = kSkinHoverColor;
    COLORREF PressedColor = kSkinPressedColor;
    int32_t ImageOffsetX = 0;
    int32_t ImageOffsetY = 0;
    int32_t ImageX = 0;
    int32_t ImageY = 0;
    uint8_t CaptionIndex = 0;  // kind 0: row in the caption-image table, 0xFF for none
    Bitmap* Image = nullptr;   // kinds 1 to 4; owned
    Bitmap* PressedImage = nullptr;
    uint8_t PushShift = 2;
    uint8_t ImageState = 1;  // 0 no image, 1 normal, 2 highlighted or pressed
    uint8_t Kind = 0;

protected:
    ~SkinButtonRecord() override = default;
    void ReleaseOwned() override;
};

// Placement of a bottom label button.
constexpr uint8_t kBottomCentred = 0;
constexpr uint8_t kBottomLeftHalf = 1;
constexpr uint8_t kBottomRightHalf = 2;
constexpr size_t kBottomLabelMax = 255;

class BottomButtonRecord : public ToolkitObject {
public:
    COLORREF NormalColor = kBottomButtonColor;
    COLORREF HoverColor = kSkinHoverColor;
    COLORREF PressedColor = kSkinPressedColor;
    int32_t TextX = 0;
    int32_t TextY = 0;
    uint8_t PushShift = 2;
    std::string Label;  // Windows-1251, at most kBottomLabelMax characters
    uint8_t Placement = kBottomCentred;

protected:
    ~BottomButtonRecord() override = default;
};

// A bitmap button at (x, y). Kind 0 takes the name of a caption image ("btnClose", "btnMin",
// "btnMax", "btnRestore"); the other kinds the name of a bitmap resource (kinds 3 and 4 also
// name + "_p"). Null without a parent.
Control* NewSkinnedButton(Control* parent, std::string_view name, int32_t x, uint8_t kind,
                          int32_t y);
// A label button of a skinned form; laid out by LayOutBottomButton.
Control* NewBottomButton(Control* form, std::string_view label, uint8_t placement);
// Places the button for a form of this size and centres its label.
void LayOutBottomButton(Control* button, int32_t formWidth, int32_t formHeight, bool hasFrame,
                        uint8_t border);

// The records, or null for a control that is not such a button.
SkinButtonRecord* SkinButtonOf(const Control* button);
BottomButtonRecord* BottomButtonOf(const Control* button);

}  // namespace zam
