#pragma once
// The ciphertext and plaintext windows: the text as a grid of cells, 31 to a line, in the same
// places in both windows; pointing at a cell makes its cipher letter the current one, a left
// click selects it, and the two windows scroll together.
#include <cstdint>

#include "app/app_display.h"
#include "app/app_state.h"
#include "app/cell_painter.h"
#include "skin/scroll_bar.h"

namespace zam {

// The drawing surface is a window of the clip panel's size that draws the text's lines from
// its scroll offset: the largest text is about 33,800 pixels tall, more than a window may be.
class TextView final : public CellView, public VirtualContent {
public:
    // The clip panel, the drawing surface and its scroll bar at the form's client corner plus
    // 1, 1; the view shows `text` and is added to Views.
    TextView(Application& app, Control* form, TextObject& text);
    ~TextView();
    TextView(const TextView&) = delete;
    TextView& operator=(const TextView&) = delete;

    bool HasScrollBar() const override { return true; }
    void ScrollToTop() override;
    void ShrinkSurfaceToClient() override;
    void EnsureSurfaceHeight(int pixels) override;
    void UpdateScrollBar() override;
    void Invalidate() override;
    bool Shows(const Rect& cell) const override;
    void DrawCell(const Rect& cell, const CellStyle& style) override;

    // Null once the form has gone.
    Control* Surface() const { return surface_; }
    Control* Bar() const { return bar_; }
    bool IsCipherView() const;
    // The top of the text's picture relative to the surface: 0 or below.
    int32_t SurfaceTop() const { return -scrollTop_; }
    void SetSurfaceTop(int32_t top);
    int32_t SurfaceHeight() const { return height_; }

    int64_t ContentLength() const override { return height_; }
    int64_t ContentOffset() const override { return scrollTop_; }
    void ScrollContentTo(int64_t offset) override;

private:
    void OnPaint(Control* surface, HDC dc);
    void OnMouseMove(Control* surface, MouseEventData& data);
    void OnMouseDown(Control* surface, MouseEventData& data);
    void OnMouseLeave(Control* surface);
    void OnMouseWheel(Control* surface, MouseEventData& data);

    // The pointer on the text's picture.
    Point PicturePoint(const MouseEventData& data) const { return {data.X, data.Y + scrollTop_}; }
    int32_t ClipHeight() const;
    // Paints the cells that meet area (surface coordinates) on dc, over the background.
    void PaintLines(HDC dc, const Rect& area);
    // Scrolls this view alone.
    void ScrollOwn(int32_t offset);

    Application& app_;
    TextObject& text_;
    // Each reads null once the toolkit has freed it (its form went first).
    WeakRef<Control> clip_;
    WeakRef<Control> surface_;
    WeakRef<Control> bar_;
    CellPainter painter_;
    OffscreenPicture picture_;
    int32_t scrollTop_ = 0;
    int32_t height_ = 0;
};

using TextWindowRecord = ViewWindowRecord<TextView>;

// Gives the ciphertext or plaintext window, already at its size, its view; characters typed
// in it go to the alphabet window's handler.
void AttachTextView(Application& app, TextWindowRecord& record, TextObject& text);

}  // namespace zam
