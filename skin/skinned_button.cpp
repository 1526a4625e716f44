#include "skin/skinned_button.h"

#include <string>

#include "skin/skin_bitmaps.h"
#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/gdi.h"
#include "toolkit/geometry.h"
#include "toolkit/graphic_tool.h"
#include "toolkit/message_box.h"

namespace zam {
namespace {

constexpr uint8_t kNoCaptionImage = 0xFF;
constexpr int32_t kCaptionButtonSize = 17;
constexpr int32_t kToolbarButtonSize = 26;
constexpr int32_t kBottomButtonHeight = 26;
constexpr int32_t kBottomButtonRise = 40;  // from the form's bottom edge to the button's top

constexpr struct {
    const char* name;
    uint8_t row;
} kCaptionImages[] = {
    {"btnClose", kCaptionClose},
    {"btnMin", kCaptionMin},
    {"btnMax", kCaptionMax},
    {"btnRestore", kCaptionRestore},
};

bool IsKeyMessage(UINT msg) {
    return msg >= WM_KEYDOWN && msg <= WM_SYSDEADCHAR;
}

// Keys typed while a button has the focus belong to the window around it.
void PostToParent(Control* button, const Message& m) {
    Control* parent = button->Parent();
    if (HWND window = parent ? parent->WindowHandle() : nullptr) {
        PostMessageW(window, m.Msg, m.WParam, m.LParam);
    }
}

void FillWithColor(Control* button, HDC dc, HRGN region) {
    OwnedBrush brush(CreateSolidBrush(ColorToRGB(button->Color())));
    if (!dc || !brush) {
        return;
    }
    if (region) {
        FillRgn(dc, region, brush.Get());
        return;
    }
    RECT client{0, 0, button->Width(), button->Height()};
    if (HWND window = button->WindowHandle()) {
        GetClientRect(window, &client);
    }
    FillRect(dc, &client, brush.Get());
}

bool CursorOver(HWND window) {
    POINT p{};
    return GetCursorPos(&p) && WindowFromPoint(p) == window;
}

// What a message changes of a bitmap button's look; applied at once, with one repaint.
struct Look {
    uint8_t state;
    int32_t x;
    int32_t y;
    COLORREF color;
};

void Apply(Control* button, SkinButtonRecord* record, const Look& look) {
    const bool imageMoved =
        look.state != record->ImageState || look.x != record->ImageX || look.y != record->ImageY;
    record->ImageState = look.state;
    record->ImageX = look.x;
    record->ImageY = look.y;
    if (look.color != button->Color()) {
        button->SetColor(look.color);  // repaints
    } else if (imageMoved) {
        button->Invalidate();
    }
}

bool SkinButtonHandler(Control* button, Message& m) {
    SkinButtonRecord* r = SkinButtonOf(button);
    if (!r) {
        return false;
    }
    if (IsKeyMessage(m.Msg)) {
        PostToParent(button, m);
        return false;
    }
    if (m.Msg == WM_ERASEBKGND) {
        FillWithColor(button, reinterpret_cast<HDC>(m.WParam), nullptr);
        m.Result = 1;
        return true;
    }
    const uint8_t kind = r->Kind;
    if (kind >= kSkinButtonKinds) {
        return false;
    }
    Look look{r->ImageState, r->ImageX, r->ImageY, button->Color()};
    // A button without an image keeps it that way.
    auto setState = [&look](uint8_t state) {
        if (look.state != 0) {
            look.state = state;
        }
    };
    auto push = [&look, r] {
        look.x = r->ImageOffsetX + r->PushShift;
        look.y = r->ImageOffsetY + r->PushShift;
    };
    auto back = [&look, r] {
        look.x = r->ImageOffsetX;
        look.y = r->ImageOffsetY;
    };
    const bool imageMoves = kind <= 2;
    switch (m.Msg) {
        case WM_SETFOCUS:
            // Only a focus that comes with a click: the keyboard gives no press to show.
            if (imageMoves && CursorOver(m.Window)) {
                push();
                if (kind == kCaptionButtonKind) {
                    setState(2);
                }
                look.color = r->PressedColor;
            }
            break;
        case WM_KILLFOCUS:
            if (imageMoves) {
                back();
            }
            if (kind != 1 && kind != 2) {
                setState(1);
            }
            look.color = r->NormalColor;
            break;
        case WM_MOUSEMOVE:
            if (kind == kCaptionButtonKind) {
                setState(2);
            }
            if (look.color != r->PressedColor) {
                look.color = r->HoverColor;
            }
            break;
        case WM_LBUTTONDOWN:
            if (kind >= 3) {
                setState(2);
            }
            look.color = r->PressedColor;
            break;
        case WM_LBUTTONUP:
            if (kind == kCaptionButtonKind) {
                back();
                setState(1);
                look.color = r->NormalColor;
            } else if (kind == 3) {
                setState(1);
                look.color = r->HoverColor;
            }
            break;
        case WM_MOUSELEAVE:
            if (kind == kCaptionButtonKind) {
                setState(1);
                back();
                look.color = r->NormalColor;
            } else if (look.color == r->HoverColor) {
                look.color = r->NormalColor;
            }
            break;
        default:
            return false;
    }
    Apply(button, r, look);
    return false;
}

void PaintSkinButton(Control* button, HDC dc) {
    SkinButtonRecord* r = SkinButtonOf(button);
    if (!r || r->ImageState == 0) {
        return;
    }
    if (r->Kind >= kSkinButtonKinds) {
        // One box at a time: the box's own loop may paint the button again.
        static bool reporting = false;
        if (!reporting) {
            reporting = true;
            ShowMessage("error");
            reporting = false;
        }
        return;
    }
    Bitmap* image = nullptr;
    if (r->Kind == kCaptionButtonKind) {
        image = CaptionButtonImage(r->CaptionIndex, r->ImageState - 1);
    } else if (r->ImageState == 1) {
        image = r->Image;
    } else if (r->ImageState == 2) {
        image = r->PressedImage;
    }
    if (image) {
        image->DrawTransparent(dc, r->ImageX, r->ImageY, kSkinTransparent);
    }
}

bool BottomButtonHandler(Control* button, Message& m) {
    BottomButtonRecord* r = BottomButtonOf(button);
    if (!r) {
        return false;
    }
    switch (m.Msg) {
        case WM_KILLFOCUS:
        case WM_MOUSELEAVE:
            button->SetColor(r->NormalColor);
            break;
        case WM_MOUSEMOVE:
            if (button->Color() != r->PressedColor) {
                button->SetColor(r->HoverColor);
            }
            break;
        case WM_LBUTTONDOWN:
            button->SetColor(r->PressedColor);
            break;
        case WM_LBUTTONUP:
            button->SetColor(r->HoverColor);
            break;
        default:
            if (IsKeyMessage(m.Msg)) {
                PostToParent(button, m);
            }
            break;
    }
    return false;
}

void PaintBottomButton(Control* button, HDC dc) {
    BottomButtonRecord* r = BottomButtonOf(button);
    if (!r) {
        return;
    }
    FillWithColor(button, dc, button->UpdateRegion());
    const int32_t shift = button->Color() == r->PressedColor ? r->PushShift : 0;
    button->Canvas()->TextOut(r->TextX + shift, r->TextY + shift, r->Label);
}

}  // namespace

void SkinButtonRecord::ReleaseOwned() {
    Free(Image);
    Free(PressedImage);
    Image = PressedImage = nullptr;
}

SkinButtonRecord* SkinButtonOf(const Control* button) {
    return button ? dynamic_cast<SkinButtonRecord*>(button->SkinData) : nullptr;
}

BottomButtonRecord* BottomButtonOf(const Control* button) {
    return button ? dynamic_cast<BottomButtonRecord*>(button->SkinData) : nullptr;
}

Control* NewSkinnedButton(Control* parent, std::string_view name, int32_t x, uint8_t kind,
                          int32_t y) {
    Control* button = NewChildControl(parent, "BUTTON", kSkinnedButtonStyle);
    if (!button) {
        return nullptr;
    }
    auto* r = NewObject<SkinButtonRecord>();
    button->SkinData = r;
    r->Kind = kind;
    r->NormalColor = parent->Color();
    button->SetColor(r->NormalColor);
    button->SetPosition(x, y);
    if (kind == kCaptionButtonKind) {
        button->SetSize(kCaptionButtonSize, kCaptionButtonSize);
    } else if (kind >= 2 && kind <= 4) {
        button->SetSize(kToolbarButtonSize, kToolbarButtonSize);
    }

    Bitmap* image = nullptr;
    if (kind == kCaptionButtonKind) {
        r->CaptionIndex = kNoCaptionImage;
        for (const auto& caption : kCaptionImages) {
            if (name == caption.name) {
                r->CaptionIndex = caption.row;
            }
        }
        image = CaptionButtonImage(r->CaptionIndex, 0);
        button->TabStop = false;
    } else {
        HINSTANCE module = GetModuleHandleW(nullptr);
        r->Image = NewBitmap(0, 0);
        LoadBitmapResource(r->Image, module, name);
        if (kind == 3 || kind == 4) {
            r->PressedImage = NewBitmap(0, 0);
            LoadBitmapResource(r->PressedImage, module, std::string(name) + "_p");
        } else if (kind == 1 || kind == 2) {
            r->PressedImage = NewBitmap(0, 0);
            r->PressedImage->Assign(r->Image);
        }
        image = r->Image;
        button->TabStop = true;
    }
    r->ImageState = 1;
    r->PushShift = 2;
    const int32_t imageWidth = image ? image->Width() : 0;
    const int32_t imageHeight = image ? image->Height() : 0;
    r->ImageOffsetX = button->Width() / 2 - imageWidth / 2;
    r->ImageOffsetY = button->Height() / 2 - imageHeight / 2;
    r->ImageX = r->ImageOffsetX;
    r->ImageY = r->ImageOffsetY;
    button->TrackMouse(true);
    button->AttachMessageHandler(SkinButtonHandler);
    button->OnPaint = Bind<&PaintSkinButton>();
    // Not Show: that would make the parent's window before the caller is done with it.
    button->SetVisible(true);
    return button;
}

Control* NewBottomButton(Control* form, std::string_view label, uint8_t placement) {
    Control* button = NewChildControl(form, "BUTTON", kSkinnedButtonStyle);
    if (!button) {
        return nullptr;
    }
    auto* r = NewObject<BottomButtonRecord>();
    r->Label.assign(label.substr(0, kBottomLabelMax));
    r->Placement = placement;
    button->SkinData = r;
    button->SetColor(r->NormalColor);
    // The canvas selects a font only once it has one of its own; measuring and drawing the
    // label must both use the control's.
    button->Canvas()->Font();
    button->TrackMouse(true);
    button->OnPaint = Bind<&PaintBottomButton>();
    button->AttachMessageHandler(BottomButtonHandler);
    return button;
}

void LayOutBottomButton(Control* button, int32_t formWidth, int32_t formHeight, bool hasFrame,
                        uint8_t border) {
    BottomButtonRecord* r = BottomButtonOf(button);
    if (!r) {
        return;
    }
    int32_t left = formWidth / 4;
    int32_t width = formWidth / 2;
    if (r->Placement == kBottomLeftHalf || r->Placement == kBottomRightHalf) {
        left = r->Placement == kBottomLeftHalf ? 0 : formWidth / 2;
        if (hasFrame) {
            width -= border;
            if (r->Placement == kBottomLeftHalf) {
                left += border;
            }
        }
    }
    const int32_t top = formHeight - kBottomButtonRise;
    button->SetBoundsRect(Rect{left, top, left + width, top + kBottomButtonHeight});
    const SIZE extent = button->Canvas()->TextExtent(r->Label);
    const Point centre = RectCenter(button->ClientRect());
    r->TextX = centre.x - extent.cx / 2;
    r->TextY = centre.y - extent.cy / 2;
    button->Invalidate();
}

}  // namespace zam
