// What a control contributes to drawing: its colours, font and brush (made on first use and
// kept in step with the window), its canvas and the contexts the canvas draws on.
#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/control_internal.h"
#include "toolkit/graphic_tool.h"

namespace zam {

void Control::SetColor(COLORREF color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    if (brush_) {
        brush_->SetColor(color);  // BrushChanged repaints
    } else {
        Invalidate();
    }
}

void Control::SetTextColor(COLORREF color) {
    if (color == textColor_) {
        return;
    }
    textColor_ = color;
    if (font_) {
        font_->SetColor(color);  // FontChanged repaints
    } else {
        Invalidate();
    }
}

GraphicTool* Control::Font() {
    if (!font_) {
        font_ = NewFont();
        font_->SetColor(textColor_);
        font_->OnChange = MakeEvent(static_cast<void*>(this), FontChanged);
    }
    return font_;
}

GraphicTool* Control::ControlBrush() {
    if (!brush_) {
        brush_ = NewBrush();
        brush_->SetColor(color_);
        brush_->OnChange = MakeEvent(static_cast<void*>(this), BrushChanged);
    }
    return brush_;
}

HBRUSH Control::BrushHandle() {
    return ControlBrush()->BrushHandle();
}

void Control::BrushChanged(void* self, GraphicTool* brush) {
    auto* control = static_cast<Control*>(self);
    control->color_ = brush->Color();
    control->Invalidate();
}

void Control::FontChanged(void* self, GraphicTool* font) {
    auto* control = static_cast<Control*>(self);
    control->textColor_ = font->Color();
    // The window still holds the font object that the change has just deleted.
    control->SendFont();
    control->Invalidate();
}

void Control::SendFont() {
    // A form draws no text of its own: it gets a font only once someone asked for one.
    if (!handle_ || (!font_ && defaultProc_ == DefWindowProcW)) {
        return;
    }
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->FontHandle()), FALSE);
}

zam::Canvas* Control::Canvas() {
    if (!canvas_) {
        canvas_ = NewCanvas(this);
    }
    return canvas_;
}

HDC Control::AcquireCanvasDC(bool& release) {
    release = false;
    if (paintDc_) {
        return paintDc_;
    }
    if (!handle_) {
        return nullptr;
    }
    canvasDc_.emplace(handle_);
    if (!*canvasDc_) {
        canvasDc_.reset();
        return nullptr;
    }
    canvasDcWindow_ = handle_;
    Toolkit().heldContexts.push_back(this);
    release = true;
    return canvasDc_->Get();
}

void Control::ReleaseCanvasDC(HDC dc) {
    if (dc && canvasDc_ && dc == canvasDc_->Get()) {
        canvasDc_.reset();
        canvasDcWindow_ = nullptr;
        std::vector<Control*>& held = Toolkit().heldContexts;
        std::erase(held, this);
        if (held.empty()) {
            std::vector<Control*>().swap(held);
        }
    }
}

}  // namespace zam
