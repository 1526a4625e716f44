#pragma once
// The bigram window: how often each ordered pair of cipher symbols occurs, as a 31 x 31 table
// with the symbols as headings. The pair under the pointer and the clicked pair become the
// overlays that the text windows highlight. Cells are redrawn one at a time as the pointer
// moves; the whole table only on open, reset and scheme changes.
#include <cstdint>
#include <memory>

#include "app/app_state.h"
#include "app/cell_painter.h"
#include "toolkit/gdi.h"

namespace zam {

class BigramView final : public FixedSurface<View> {
public:
    // The surface, 518 x 519, at the form's client corner plus 1, 1; added to Views.
    BigramView(Application& app, Control* form);
    ~BigramView();
    BigramView(const BigramView&) = delete;
    BigramView& operator=(const BigramView&) = delete;

    void Invalidate() override;

    // Draws an inner cell now, and the heading of its row and of its column when asked; (0, 0)
    // and other cells outside the table draw nothing.
    void DrawCell(const Cell& cell, bool rowHeading, bool columnHeading);

    // Null once the form has gone.
    Control* Surface() const { return surface_; }

private:
    void OnPaint(Control* surface, HDC dc);
    void OnMouseMove(Control* surface, MouseEventData& data);
    void OnMouseDown(Control* surface, MouseEventData& data);
    void OnMouseLeave(Control* surface);

    // Cell (column, row), headings and corner included, as its colour rules say now, in the
    // font selected in dc.
    void PaintCell(HDC dc, int column, int row) const;
    // The cells that meet area, over the background.
    void PaintTable(HDC dc, const Rect& area) const;

    Application& app_;
    WeakRef<Control> surface_;
    OwnedFont font_;
    OffscreenPicture picture_;
};

using BigramWindowRecord = ViewWindowRecord<BigramView>;

// Gives the bigram window, already at its size, its view.
void AttachBigramView(Application& app, BigramWindowRecord& record);

// Redraws a cell of the table with both its headings (nothing for (0, 0)).
void RedrawBigramCell(Application& app, const Cell& cell);

}  // namespace zam
