#pragma once
// A device context with one pen, one brush and one font. The canvas selects into its context
// only what an operation needs and keeps it selected until one of its tools changes.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "toolkit/gdi.h"
#include "toolkit/geometry.h"
#include "toolkit/object.h"

// The toolkit calls the W functions by name; the A/W macro would rename Canvas::TextOut.
#undef TextOut

namespace zam {

class GraphicTool;

// What a canvas needs from the control or bitmap it draws on. A control implements it with
// its paint context while it paints (kept, release = false) and GetDC/ReleaseDC otherwise; a
// bitmap with a memory context that has the bitmap selected.
class CanvasOwner {
public:
    // The context to draw on, or null (the canvas then draws nothing). Set release to true
    // when the canvas must hand the context back through ReleaseCanvasDC, false when the owner
    // keeps it.
    virtual HDC AcquireCanvasDC(bool& release) = 0;
    // Only for contexts acquired with release set; the stock objects are already back in.
    virtual void ReleaseCanvasDC(HDC dc) = 0;
    // Called after each acquisition, before the canvas selects anything into the context.
    virtual void PrepareCanvasDC(HDC dc) { (void)dc; }
    // Background and text colours (system colours allowed) for a canvas that has no brush or
    // font object of its own.
    virtual COLORREF OwnerColor() = 0;
    virtual COLORREF OwnerTextColor() = 0;
    // The owner's own brush and font, or null. A canvas without a brush fills with the owner's
    // brush; a canvas's Brush and Font start as copies of these (sharing their handles).
    virtual GraphicTool* OwnerBrush() = 0;
    virtual GraphicTool* OwnerFont() = 0;

protected:
    ~CanvasOwner() = default;
};

class Canvas : public ToolkitObject {
public:
    // Selection state bits.
    static constexpr uint32_t kHasContext = 1;
    static constexpr uint32_t kPenSelected = 2;
    static constexpr uint32_t kBrushSelected = 4;
    static constexpr uint32_t kFontSelected = 8;

    CanvasOwner* Owner() const { return owner_; }
    uint32_t State() const { return state_; }
    Point PenPos() const { return penPos_; }

    // The context, acquired from the owner when the canvas has none; null when there is none.
    HDC Handle();
    // Draws on a context that the caller keeps: the current context is released first, and
    // this one is never released by the canvas (null just releases).
    void SetHandle(HDC dc);
    // Puts the stock objects back and gives the context back to its owner when it came from
    // there with release set. The next operation acquires a context again.
    void Release();

    // Created on first access; owned by the canvas. A change deselects the canvas's tools.
    GraphicTool* Brush();
    GraphicTool* Font();
    GraphicTool* Pen();
    bool HasBrush() const { return brush_ != nullptr; }
    bool HasFont() const { return font_ != nullptr; }
    bool HasPen() const { return pen_ != nullptr; }

    void FillRect(const Rect& rect);
    void FillRgn(HRGN region);
    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    void DrawLine(Point from, Point to);
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Windows-1251 text, drawn as UTF-16 so that it is right whatever the system code page.
    void TextOut(int32_t x, int32_t y, std::string_view text);
    // Without a context a temporary memory context measures the text.
    SIZE TextExtent(std::string_view text);
    // CLR_INVALID outside the context's picture or without a context.
    COLORREF Pixel(int32_t x, int32_t y);

    Canvas();

protected:
    ~Canvas() override;
    void ReleaseOwned() override;

private:
    friend Canvas* NewCanvas(CanvasOwner* owner);

    GraphicTool* MakeTool(GraphicTool*& slot, GraphicTool* (*make)(), GraphicTool* ownerTool);
    static void ToolChanged(void* canvas, GraphicTool* tool);
    // Selects the stock objects back for the given kinds this canvas has selected and clears
    // their bits, so that the next operation selects the changed tool afresh.
    void Deselect(uint32_t kinds = kPenSelected | kBrushSelected | kFontSelected);
    bool Require(uint32_t bits);
    void SelectBrush();
    void SelectFont();
    void SelectPen();
    // A brush for filling when the canvas has none: the owner's brush or a temporary one.
    HBRUSH FallbackBrush(OwnedBrush& temporary);

    CanvasOwner* owner_ = nullptr;
    HDC dc_ = nullptr;
    bool releaseDc_ = false;
    Point penPos_{0, 0};
    GraphicTool* brush_ = nullptr;
    GraphicTool* font_ = nullptr;
    GraphicTool* pen_ = nullptr;
    uint32_t state_ = 0;
};

// A canvas drawing on the owner's contexts; without an owner, only on contexts given by
// SetHandle.
Canvas* NewCanvas(CanvasOwner* owner);

// Live canvases, for leak tests.
int LiveCanvases();

}  // namespace zam
