#include "toolkit/canvas.h"

#include <string>

#include "toolkit/color.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

int liveCanvases = 0;

RECT ToRECT(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

bool GapsUseBrush(int32_t penStyle) {
    return penStyle >= PS_DASH && penStyle <= PS_DASHDOTDOT;
}

int TextLength(const std::wstring& text) {
    return text.size() > static_cast<size_t>(INT32_MAX) ? INT32_MAX : static_cast<int>(text.size());
}

}  // namespace

int LiveCanvases() {
    return liveCanvases;
}

Canvas::Canvas() {
    ++liveCanvases;
}

Canvas::~Canvas() {
    --liveCanvases;
}

Canvas* NewCanvas(CanvasOwner* owner) {
    Canvas* canvas = NewObject<Canvas>();
    canvas->owner_ = owner;
    return canvas;
}

void Canvas::ReleaseOwned() {
    // The tools leave the context before they are freed, so their objects can be deleted.
    Release();
    for (GraphicTool** slot : {&brush_, &font_, &pen_}) {
        if (*slot) {
            (*slot)->OnChange = {};
            Free(*slot);
            *slot = nullptr;
        }
    }
}

HDC Canvas::Handle() {
    if (dc_ || !owner_)
        return dc_;
    bool release = false;
    HDC dc = owner_->AcquireCanvasDC(release);
    if (!dc)
        return nullptr;
    dc_ = dc;
    releaseDc_ = release;
    state_ = kHasContext;
    owner_->PrepareCanvasDC(dc);
    return dc_;
}

void Canvas::SetHandle(HDC dc) {
    Release();
    if (!dc)
        return;
    dc_ = dc;
    releaseDc_ = false;
    state_ = kHasContext;
}

void Canvas::Release() {
    if (!dc_)
        return;
    Deselect();
    HDC dc = dc_;
    const bool release = releaseDc_;
    dc_ = nullptr;
    releaseDc_ = false;
    state_ = 0;
    if (release && owner_)
        owner_->ReleaseCanvasDC(dc);
}

void Canvas::Deselect(uint32_t kinds) {
    // Only what this canvas selected goes back: under Wine each font selected into a window's
    // context costs a search for X resource files, and a marker changes colours four times.
    const uint32_t selected = state_ & kinds;
    if (dc_) {
        if (selected & kPenSelected)
            SelectObject(dc_, GetStockObject(BLACK_PEN));
        if (selected & kBrushSelected)
            SelectObject(dc_, GetStockObject(NULL_BRUSH));
        if (selected & kFontSelected)
            SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    }
    state_ &= ~selected;
}

void Canvas::ToolChanged(void* canvas, GraphicTool* tool) {
    // A dashed pen's gaps take the brush's colour: a new brush selects the pen again too.
    const uint32_t kind = tool->Kind() == ToolKind::Brush  ? kBrushSelected | kPenSelected
                          : tool->Kind() == ToolKind::Font ? kFontSelected
                                                           : kPenSelected;
    static_cast<Canvas*>(canvas)->Deselect(kind);
}

GraphicTool* Canvas::MakeTool(GraphicTool*& slot, GraphicTool* (*make)(), GraphicTool* ownerTool) {
    if (slot)
        return slot;
    GraphicTool* tool = make();
    if (ownerTool)
        tool->CopyFrom(ownerTool);
    if (owner_) {
        // The canvas draws in its owner's colours until told otherwise.
        if (tool->Kind() == ToolKind::Brush && !ownerTool)
            tool->SetColor(owner_->OwnerColor());
        if (tool->Kind() == ToolKind::Font)
            tool->SetColor(owner_->OwnerTextColor());
    }
    tool->OnChange = MakeEvent(static_cast<void*>(this), &Canvas::ToolChanged);
    slot = tool;
    // Until now the owner's colours stood in for the tool; the next operation selects it.
    const uint32_t bit = tool->Kind() == ToolKind::Brush  ? kBrushSelected
                         : tool->Kind() == ToolKind::Font ? kFontSelected
                                                          : kPenSelected;
    state_ &= ~bit;
    return tool;
}

GraphicTool* Canvas::Brush() {
    return MakeTool(brush_, &NewBrush, owner_ && !brush_ ? owner_->OwnerBrush() : nullptr);
}

GraphicTool* Canvas::Font() {
    return MakeTool(font_, &NewFont, owner_ && !font_ ? owner_->OwnerFont() : nullptr);
}

GraphicTool* Canvas::Pen() {
    return MakeTool(pen_, &NewPen, nullptr);
}

bool Canvas::Require(uint32_t bits) {
    if (!Handle())
        return false;
    if ((bits & kPenSelected) && !(state_ & kPenSelected))
        SelectPen();
    if ((bits & kBrushSelected) && !(state_ & kBrushSelected))
        SelectBrush();
    if ((bits & kFontSelected) && !(state_ & kFontSelected))
        SelectFont();
    return true;
}

void Canvas::SelectBrush() {
    if (brush_) {
        if (HGDIOBJ handle = brush_->ToolHandle())
            SelectObject(dc_, handle);
        const COLORREF color = brush_->ResolvedColor();
        if (brush_->BrushStyle() == kBrushClear) {
            SetBkColor(dc_, ~color & 0xFFFFFF);
            SetBkMode(dc_, TRANSPARENT);
        } else {
            SetBkColor(dc_, color);
            SetBkMode(dc_, OPAQUE);
        }
    } else {
        if (owner_)
            SetBkColor(dc_, ColorToRGB(owner_->OwnerColor()));
        SetBkMode(dc_, OPAQUE);
    }
    state_ |= kBrushSelected;
}

void Canvas::SelectFont() {
    if (font_) {
        if (HGDIOBJ handle = font_->ToolHandle())
            SelectObject(dc_, handle);
        SetTextColor(dc_, ColorToRGB(font_->Color()));
    } else if (owner_) {
        SetTextColor(dc_, ColorToRGB(owner_->OwnerTextColor()));
    }
    state_ |= kFontSelected;
}

void Canvas::SelectPen() {
    GraphicTool* pen = Pen();
    if (HGDIOBJ handle = pen->ToolHandle())
        SelectObject(dc_, handle);
    SetROP2(dc_, pen->PenMode() + 1);
    state_ |= kPenSelected;
    // The gaps of a dashed or dotted line are painted in the background colour.
    if (GapsUseBrush(pen->PenStyle()) && !(state_ & kBrushSelected))
        SelectBrush();
}

HBRUSH Canvas::FallbackBrush(OwnedBrush& temporary) {
    if (!owner_)
        return GetSysColorBrush(COLOR_WINDOW);
    if (GraphicTool* brush = owner_->OwnerBrush()) {
        if (HBRUSH handle = brush->BrushHandle())
            return handle;
    }
    temporary.Reset(CreateSolidBrush(ColorToRGB(owner_->OwnerColor())));
    return temporary.Get();
}

void Canvas::FillRect(const Rect& rect) {
    if (!Require(kBrushSelected))
        return;
    OwnedBrush temporary;
    HBRUSH brush = brush_ ? brush_->BrushHandle() : FallbackBrush(temporary);
    if (!brush)
        return;
    const RECT r = ToRECT(rect);
    ::FillRect(dc_, &r, brush);
}

void Canvas::FillRgn(HRGN region) {
    if (!region || !Require(kBrushSelected))
        return;
    OwnedBrush temporary;
    HBRUSH brush = brush_ ? brush_->BrushHandle() : FallbackBrush(temporary);
    if (brush)
        ::FillRgn(dc_, region, brush);
}

void Canvas::MoveTo(int32_t x, int32_t y) {
    if (!Require(0))
        return;
    MoveToEx(dc_, x, y, nullptr);
    penPos_ = {x, y};
}

void Canvas::LineTo(int32_t x, int32_t y) {
    if (!Require(kPenSelected | kBrushSelected))
        return;
    ::LineTo(dc_, x, y);
    penPos_ = {x, y};
}

void Canvas::DrawLine(Point from, Point to) {
    MoveTo(from.x, from.y);
    LineTo(to.x, to.y);
}

void Canvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!Require(kPenSelected | kBrushSelected))
        return;
    ::Rectangle(dc_, left, top, right, bottom);
}

void Canvas::TextOut(int32_t x, int32_t y, std::string_view text) {
    if (!Require(kBrushSelected | kFontSelected))
        return;
    const std::wstring wide = Widen(text);
    TextOutW(dc_, x, y, wide.c_str(), TextLength(wide));
}

SIZE Canvas::TextExtent(std::string_view text) {
    SIZE size{0, 0};
    const std::wstring wide = Widen(text);
    if (dc_) {
        Require(kFontSelected);
        GetTextExtentPoint32W(dc_, wide.c_str(), TextLength(wide), &size);
        return size;
    }
    // Measuring needs no drawing surface: a screen-compatible memory context serves.
    GraphicTool* font = font_ ? font_ : owner_ ? owner_->OwnerFont() : nullptr;
    MemoryDC measure(nullptr);
    if (!measure)
        return size;
    SelectGuard selected(measure.Get(), font ? font->ToolHandle() : nullptr);
    GetTextExtentPoint32W(measure.Get(), wide.c_str(), TextLength(wide), &size);
    return size;
}

COLORREF Canvas::Pixel(int32_t x, int32_t y) {
    if (!Require(0))
        return CLR_INVALID;
    return GetPixel(dc_, x, y);
}

}  // namespace zam
