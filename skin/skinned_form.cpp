#include "skin/skinned_form.h"

#include <algorithm>
#include <utility>

#include "skin/skin_bitmaps.h"
#include "skin/skinned_button.h"
#include "toolkit/application.h"
#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

constexpr int32_t kButtonGap = 2;  // between caption buttons, and from the caption's edges
constexpr int32_t kDefaultCaptionButtonWidth = 17;
constexpr int32_t kGrip = 4;
constexpr int32_t kCornerZone = 15;
constexpr int32_t kRolledUpBelowCaption = 3;
constexpr int32_t kCaptionTextX = 22;
constexpr int32_t kCaptionTextY = 2;
constexpr int32_t kIconX = 3;
constexpr int32_t kIconY = 3;
constexpr int32_t kIconSize = 16;
constexpr int32_t kCaptionFontHeight = 16;
// The active caption's text fades out over 60 pixels, starting 120 from the right end, and
// the last 60 (under the caption buttons) stay empty.
constexpr int32_t kFadeFromRight = 120;
constexpr int32_t kFadeLength = 60;

// Paint order of the frame pieces.
constexpr FramePiece kPaintOrder[] = {
    kPieceLeft,     kPieceRight,   kPieceTop,        kPieceBottom,
    kPieceTopRight, kPieceTopLeft, kPieceBottomLeft, kPieceBottomRight,
};
// The pieces that a change of size moves.
constexpr FramePiece kMovingPieces[] = {
    kPieceRight, kPieceBottom, kPieceTopRight, kPieceBottomLeft, kPieceBottomRight,
};

int32_t XOf(LPARAM lParam) {
    return static_cast<int16_t>(LOWORD(lParam));
}
int32_t YOf(LPARAM lParam) {
    return static_cast<int16_t>(HIWORD(lParam));
}

RECT ToRECT(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

bool Contains(const Rect& r, int32_t x, int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Without a region (none could be made) everything counts as touched.
bool Touches(HRGN region, const Rect& r) {
    const RECT rect = ToRECT(r);
    return !region || RectInRegion(region, &rect);
}

// The record keeps plain pointers to controls that the form owns as children; one freed on
// its own is no longer among them and must not be touched.
void SetChildVisible(Control* child, bool visible) {
    if (child) {
        child->SetVisible(visible);
    }
}

void PlaceChild(Control* child, int32_t x, int32_t y) {
    if (child) {
        child->SetPosition(x, y);
    }
}

bool IsCaptionButton(const FrameRecord* f, const Control* c) {
    return c == f->MinButton || c == f->MaxButton || c == f->RestoreButton || c == f->CloseButton;
}

void FadeCaptionText(HDC dc, int32_t width, int32_t height, COLORREF font, COLORREF caption) {
    const int32_t from = width - kFadeFromRight;
    for (int32_t x = std::max(from, 0); x <= width - kFadeLength; ++x) {
        const int32_t t = x - from;
        auto channel = [t](int32_t fontPart, int32_t captionPart) {
            return static_cast<BYTE>((fontPart + captionPart * t / kFadeLength) % 256);
        };
        const COLORREF faded = RGB(channel(GetRValue(font), GetRValue(caption)),
                                   channel(GetGValue(font), GetGValue(caption)),
                                   channel(GetBValue(font), GetBValue(caption)));
        for (int32_t y = 0; y < height; ++y) {
            if (GetPixel(dc, x, y) == font) {
                SetPixelV(dc, x, y, faded);
            }
        }
    }
}

// Composes the caption bar off screen and copies it to the form in one blit.
void PaintCaption(Control* form, FrameRecord* f, HDC dc) {
    Bitmap* bitmap = f->CaptionBitmap;
    const Rect& bar = f->CaptionRect;
    const int32_t width = bar.right - bar.left;
    const int32_t height = bar.bottom - bar.top;
    if (!bitmap || !dc || width <= 0 || height <= 0) {
        return;
    }
    if (bitmap->Width() != width || bitmap->Height() != height) {
        bitmap->SetWidth(width);
        bitmap->SetHeight(height);
    }
    Canvas* canvas = bitmap->GetCanvas();
    if (!canvas) {
        return;
    }
    const COLORREF captionColor = ColorToRGB(f->CaptionColor);
    const bool active = f->CaptionColor == kActiveCaptionColor;
    const COLORREF textColor = active ? kActiveCaptionTextColor : kSkinFormColor;
    canvas->Brush()->SetColor(captionColor);
    canvas->FillRect(Rect{0, 0, width, height});
    GraphicTool* font = canvas->Font();
    font->SetFontName("Arial");
    font->SetFontHeight(kCaptionFontHeight);
    font->SetFontStyle(kFontBold | kFontItalic);
    // Smoothed edges would be neither the text colour nor the caption's, and the fade, which
    // repaints text pixels only, would leave them standing.
    font->SetFontQuality(NONANTIALIASED_QUALITY);
    font->SetColor(textColor);
    canvas->TextOut(kCaptionTextX, kCaptionTextY, form->Caption());
    if (HDC bitmapDc = canvas->Handle()) {
        if (HICON icon = form->Icon()) {
            DrawIconEx(bitmapDc, kIconX, kIconY, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
        }
        if (active) {
            FadeCaptionText(bitmapDc, width, height, textColor, captionColor);
            canvas->FillRect(Rect{std::max(width - kFadeLength, 0), 0, width, height});
        }
    }
    // The bitmap leaves the canvas's context so that it can be drawn from elsewhere.
    canvas->Release();
    bitmap->Draw(dc, bar.left, bar.top);
}

void RepaintCaptionNow(Control* form, FrameRecord* f) {
    HWND window = form->WindowHandle();
    if (!window) {
        return;
    }
    WindowDC dc(window);
    if (dc) {
        PaintCaption(form, f, dc.Get());
    }
}

void InvalidateMovingPieces(HWND window, const FrameRecord* f, BOOL erase) {
    for (FramePiece piece : kMovingPieces) {
        const RECT r = ToRECT(f->PieceRects[piece]);
        InvalidateRect(window, &r, erase);
    }
}

void LayOut(Control* form, FrameRecord* f, WPARAM sizeType, int32_t w, int32_t h) {
    const int32_t b = static_cast<uint8_t>(form->Border);
    HWND window = form->WindowHandle();
    f->CaptionRect = Rect{0, 0, w, kCaptionHeight};
    if (f->HasFrame) {
        // Erase where the right and bottom pieces were: that area may now be inside.
        if (window) {
            InvalidateMovingPieces(window, f, TRUE);
        }
        f->CaptionRect = Rect{b, b, w - b, b + kCaptionHeight};
        Rect* p = f->PieceRects;
        p[kPieceLeft] = Rect{0, b, b, h - b};
        p[kPieceTop] = Rect{b, 0, w - b, b};
        p[kPieceBottom] = Rect{b, h - b, w - b, h};
        p[kPieceRight] = Rect{w - b, b, w, h - b};
        p[kPieceTopLeft] = Rect{0, 0, b, b};
        p[kPieceTopRight] = Rect{w - b, 0, w, b};
        p[kPieceBottomLeft] = Rect{0, h - b, b, h};
        p[kPieceBottomRight] = Rect{w - b, h - b, w, h};
        if (window) {
            InvalidateMovingPieces(window, f, FALSE);
        }
    }

    Control* close = f->CloseButton;
    const int32_t buttonWidth = close ? close->Width() : kDefaultCaptionButtonWidth;
    const int32_t top = f->CaptionRect.top + kButtonGap;
    const int32_t closeLeft = f->CaptionRect.right - buttonWidth - kButtonGap;
    const int32_t nextLeft = closeLeft - buttonWidth - kButtonGap;
    PlaceChild(close, closeLeft, top);
    if (f->Sizeable) {
        PlaceChild(f->MaxButton, nextLeft, top);
        PlaceChild(f->RestoreButton, nextLeft, top);
        PlaceChild(f->MinButton, nextLeft - buttonWidth - kButtonGap, top);
        if (sizeType == SIZE_RESTORED) {
            f->Restored = 1;
            SetChildVisible(f->RestoreButton, false);
            SetChildVisible(f->MaxButton, true);
        } else if (sizeType == SIZE_MAXIMIZED) {
            f->Restored = 0;
            SetChildVisible(f->MaxButton, false);
            SetChildVisible(f->RestoreButton, true);
            RECT work{};
            if (window && SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) &&
                work.bottom - 1 > 0 && work.bottom - 1 != h) {
                form->SetHeight(work.bottom - 1);
                // The new height came with a WM_SIZE of its own, which laid everything out.
                if (form->Height() != h) {
                    return;
                }
            }
        }
    } else {
        PlaceChild(f->MinButton, nextLeft, top);
    }
    // Fixed windows too: the program resizes them, and the old fade and cut would stay.
    if (sizeType != SIZE_MINIMIZED) {
        RepaintCaptionNow(form, f);
    }
    for (Control* button : f->BottomButtons) {
        if (button) {
            LayOutBottomButton(button, w, h, f->HasFrame != 0, static_cast<uint8_t>(b));
        }
    }
    f->OnFrameResized(form);
}

void PaintFrame(Control* form, HDC dc) {
    FrameRecord* f = FrameOf(form);
    HWND window = form->WindowHandle();
    if (!f || !dc || !window) {
        return;
    }
    // A copy: the update region belongs to the toolkit. Without one, everything is painted.
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    if (region) {
        if (HRGN update = form->UpdateRegion()) {
            CombineRgn(region.Get(), update, nullptr, RGN_COPY);
        } else {
            RECT client{};
            GetClientRect(window, &client);
            SetRectRgn(region.Get(), client.left, client.top, client.right, client.bottom);
        }
    }
    if (Touches(region.Get(), f->CaptionRect)) {
        if (region) {
            OwnedRegion caption(CreateRectRgn(f->CaptionRect.left, f->CaptionRect.top,
                                              f->CaptionRect.right, f->CaptionRect.bottom));
            if (caption) {
                CombineRgn(region.Get(), region.Get(), caption.Get(), RGN_DIFF);
            }
        }
        PaintCaption(form, f, dc);
    }
    if (f->HasFrame) {
        for (FramePiece piece : kPaintOrder) {
            Bitmap* bitmap = FramePieceBitmap(piece);
            if (bitmap && Touches(region.Get(), f->PieceRects[piece])) {
                bitmap->StretchDraw(dc, f->PieceRects[piece]);
            }
        }
    }
    f->OnClientPaint(form, dc);
}

void CaptionButtonClick(Control* sender) {
    Control* form = sender ? sender->Parent() : nullptr;
    FrameRecord* f = FrameOf(form);
    if (!f) {
        return;
    }
    if (sender == f->MinButton) {
        form->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (sender == f->MaxButton) {
        form->Perform(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (sender == f->RestoreButton) {
        form->Perform(WM_SYSCOMMAND, SC_RESTORE, 0);
    } else if (sender == f->CloseButton) {
        if (f->CloseHides) {
            form->Hide();
        } else {
            form->Close();
        }
    }
}

// Whether the window being activated belongs to the form (a window or a box it owns).
bool BelongsTo(HWND other, Control* form) {
    HWND window = form->WindowHandle();
    if (!other || !window) {
        return false;
    }
    Control* control = ControlOf(other);
    return (control && control->Parent() == form) || GetWindow(other, GW_OWNER) == window ||
           GetParent(other) == window;
}

void FocusNextWindow(Control* form) {
    Control* parent = form->Parent();
    const int32_t self = parent ? parent->IndexOfChild(form) : -1;
    if (self < 0) {
        return;
    }
    const int32_t count = parent->ChildCount();
    for (int32_t step = 1; step < count; ++step) {
        Control* next = parent->Child((self + step) % count);
        HWND window = next ? next->WindowHandle() : nullptr;
        // Hidden or disabled windows cannot take the keyboard.
        if (next && next->TabStop && window && IsWindowVisible(window) && IsWindowEnabled(window)) {
            next->Focus();
            return;
        }
    }
}

// hidden: the record's list of the controls that the roll-up hid.
void RollUpOrDown(Control* form, FrameRecord* f, std::vector<WeakRef<Control>>& hidden) {
    const int32_t rolledHeight = f->CaptionRect.bottom + kRolledUpBelowCaption;
    if (form->Height() == rolledHeight) {
        for (Control* child : hidden) {
            SetChildVisible(child, true);
        }
        hidden.clear();
        // A window that merely happens to have the rolled-up height has nothing to go back to.
        if (f->SavedHeight > rolledHeight) {
            form->SetHeight(std::exchange(f->SavedHeight, uint16_t{0}));
        }
        return;
    }
    f->SavedHeight = static_cast<uint16_t>(std::clamp(form->Height(), 0, 0xFFFF));
    form->SetHeight(rolledHeight);
    // Only child controls that show now: owned windows are windows of their own, and a
    // control hidden before the roll-up stays hidden after it.
    for (int32_t i = 0; i < form->ChildCount(); ++i) {
        Control* child = form->Child(i);
        if (child->IsChildControl() && !IsCaptionButton(f, child) && child->Visible()) {
            child->SetVisible(false);
            hidden.emplace_back(child);
        }
    }
}

}  // namespace

void FrameRecord::ReleaseOwned() {
    Free(CaptionBitmap);
    CaptionBitmap = nullptr;
    BottomButtons.clear();
    rolledUpChildren_.clear();
}

FrameRecord* FrameOf(const Control* form) {
    return form ? dynamic_cast<FrameRecord*>(form->SkinData) : nullptr;
}

bool FrameMessageHandler(Control* form, Message& m) {
    FrameRecord* f = FrameOf(form);
    if (!f) {
        return false;
    }
    switch (m.Msg) {
        case WM_SIZE:
            LayOut(form, f, m.WParam, LOWORD(m.LParam), HIWORD(m.LParam));
            m.Result = 0;
            return true;
        case WM_ERASEBKGND: {
            const RECT r = ToRECT(FrameClientRect(form));
            FillRect(reinterpret_cast<HDC>(m.WParam), &r, form->ControlBrush()->BrushHandle());
            m.Result = 1;
            return true;
        }
        case WM_NCHITTEST: {
            LRESULT hit = DefWindowProcW(m.Window, m.Msg, m.WParam, m.LParam);
            if (hit == HTCLIENT) {
                RECT bounds{};
                GetWindowRect(m.Window, &bounds);
                const int32_t x = XOf(m.LParam) - bounds.left;
                const int32_t y = YOf(m.LParam) - bounds.top;
                const int32_t w = bounds.right - bounds.left;
                const int32_t h = bounds.bottom - bounds.top;
                Control* restore = f->RestoreButton;
                // A maximised window shows its restore button and does not drag.
                if (Contains(f->CaptionRect, x, y) && !(restore && restore->Visible())) {
                    hit = HTCAPTION;
                }
                if (f->Restored && f->Sizeable) {
                    if (x < kGrip) {
                        hit = y < kCornerZone       ? HTTOPLEFT
                              : y > h - kCornerZone ? HTBOTTOMLEFT
                                                    : HTLEFT;
                    }
                    if (x > w - kGrip) {
                        hit = y < kCornerZone       ? HTTOPRIGHT
                              : y > h - kCornerZone ? HTBOTTOMRIGHT
                                                    : HTRIGHT;
                    }
                    if (y < kGrip) {
                        hit = x < kCornerZone       ? HTTOPLEFT
                              : x > w - kCornerZone ? HTTOPRIGHT
                                                    : HTTOP;
                    }
                    if (y > h - kGrip) {
                        hit = x < kCornerZone       ? HTBOTTOMLEFT
                              : x > w - kCornerZone ? HTBOTTOMRIGHT
                                                    : HTBOTTOM;
                    }
                }
            }
            m.Result = hit;
            return true;
        }
        case WM_ACTIVATE: {
            const WORD state = LOWORD(m.WParam);
            if (state == WA_ACTIVE || state == WA_CLICKACTIVE) {
                f->CaptionColor = kActiveCaptionColor;
            } else if (state == WA_INACTIVE) {
                // A window of its own taking over keeps the form looking active.
                if (!BelongsTo(reinterpret_cast<HWND>(m.LParam), form)) {
                    f->CaptionColor = kInactiveCaptionColor;
                }
            } else {
                return false;
            }
            const RECT caption = ToRECT(f->CaptionRect);
            InvalidateRect(m.Window, &caption, TRUE);
            return false;
        }
        case WM_LBUTTONDBLCLK:
        case WM_NCLBUTTONDBLCLK: {
            POINT p{XOf(m.LParam), YOf(m.LParam)};
            if (m.Msg == WM_LBUTTONDBLCLK) {
                ClientToScreen(m.Window, &p);
            }
            RECT bounds{};
            GetWindowRect(m.Window, &bounds);
            if (!Contains(f->CaptionRect, p.x - bounds.left, p.y - bounds.top)) {
                return false;
            }
            RollUpOrDown(form, f, f->rolledUpChildren_);
            m.Result = 0;
            return true;
        }
        case WM_KEYDOWN:
            if (m.WParam == VK_TAB) {
                FocusNextWindow(form);
            }
            return false;
        case WM_SYSKEYDOWN:
            if (m.WParam == VK_F4) {
                form->Close();
                m.Result = 0;
                return true;
            }
            // F10, Alt and Alt with a letter go on to the program's menu keys.
            return false;
        case WM_CLOSE:
            // However the close comes (Alt+F4, the system, another program), a form that the
            // application shows again later only hides.
            if (f->CloseHides) {
                form->Hide();
                m.Result = 0;
                return true;
            }
            return false;
        case WM_SHOWWINDOW:
            if (!f->Sizeable) {
                SetChildVisible(f->MaxButton, false);
                SetChildVisible(f->RestoreButton, false);
            }
            return false;
        default:
            return false;
    }
}

Control* NewSkinnedForm(Control* parent, std::string_view caption) {
    Control* form = NewForm(parent, caption);
    auto* frame = NewObject<FrameRecord>();
    form->HasCaption(false);
    form->HasBorder(false);
    form->Border = kFrameWidth;
    form->SetColor(kSkinFormColor);
    form->SkinData = frame;
    GraphicTool* font = form->Canvas()->Font();
    font->SetFontName("Arial");
    font->SetFontHeight(kCaptionFontHeight);
    frame->CloseHides = 0;
    frame->Sizeable = 1;
    frame->Restored = 1;
    frame->HasFrame = 1;
    frame->CaptionBitmap = NewBitmap(0, 0);
    frame->MaxButton = NewSkinnedButton(form, "btnMax", 0, kCaptionButtonKind, 0);
    frame->RestoreButton = NewSkinnedButton(form, "btnRestore", 0, kCaptionButtonKind, 0);
    frame->CloseButton = NewSkinnedButton(form, "btnClose", 0, kCaptionButtonKind, 0);
    frame->MinButton = NewSkinnedButton(form, "btnMin", 0, kCaptionButtonKind, 0);
    frame->RestoreButton->SetVisible(false);
    for (Control* button : {frame->MaxButton.Get(), frame->RestoreButton.Get(),
                            frame->CloseButton.Get(), frame->MinButton.Get()}) {
        button->OnClick = Bind<&CaptionButtonClick>();
    }
    // The main form's close ends the message loop and the form goes with the application
    // window; any other form goes with its window.
    form->FreeOnClose = true;
    form->OnPaint = Bind<&PaintFrame>();
    form->AttachMessageHandler(FrameMessageHandler);
    // The window, and with it the first WM_SIZE, may come much later; the caption bar and the
    // client rectangle are read before that.
    LayOut(form, frame, SIZE_RESTORED, form->Width(), form->Height());
    return form;
}

Rect FrameClientRect(Control* form) {
    if (!form) {
        return Rect{0, 0, 0, 0};
    }
    RECT client{0, 0, form->Width(), form->Height()};
    if (HWND window = form->WindowHandle()) {
        GetClientRect(window, &client);
    }
    const FrameRecord* f = FrameOf(form);
    const int32_t captionHeight = f ? f->CaptionRect.bottom - f->CaptionRect.top : 0;
    const Rect r{client.left + form->Border, captionHeight + form->Border,
                 client.right - form->Border, client.bottom - form->Border};
    if (r.bottom < r.top || r.right < r.left) {
        return Rect{0, 0, 0, 0};
    }
    return r;
}

void AddBottomButtons(Control* form, std::pair<std::string_view, std::string_view> labels,
                      bool paired) {
    FrameRecord* f = FrameOf(form);
    if (!f) {
        return;
    }
    Control* made[2] = {};
    if (paired) {
        made[0] = NewBottomButton(form, labels.first, kBottomLeftHalf);
        made[1] = NewBottomButton(form, labels.second, kBottomRightHalf);
    } else {
        made[0] = NewBottomButton(form, labels.first, kBottomCentred);
    }
    for (Control* button : made) {
        if (button) {
            f->BottomButtons.emplace_back(button);
            // A form whose size is already final may see no further WM_SIZE.
            LayOutBottomButton(button, form->Width(), form->Height(), f->HasFrame != 0,
                               static_cast<uint8_t>(form->Border));
        }
    }
}

}  // namespace zam
