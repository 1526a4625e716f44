#pragma once
// The alphabet window, where the substitution is made: row 1 the cipher alphabet, row 2 the
// key, row 3 the plaintext letters still free. Its caption is the hint line. Its character
// handler serves the text windows and the graph too.
#include <cstdint>

#include "app/app_display.h"
#include "app/app_state.h"
#include "app/cell_painter.h"

namespace zam {

class AlphabetView final : public FixedSurface<CellView> {
public:
    // The surface, 518 x 55, at the form's client corner plus 1, 1; added to Views.
    AlphabetView(Application& app, Control* form);
    ~AlphabetView();
    AlphabetView(const AlphabetView&) = delete;
    AlphabetView& operator=(const AlphabetView&) = delete;

    void Invalidate() override;
    bool Shows(const Rect&) const override { return surface_ != nullptr; }
    void DrawCell(const Rect& cell, const CellStyle& style) override;

    Control* Surface() const { return surface_; }

private:
    void OnPaint(Control* surface, HDC dc);
    void OnMouseMove(Control* surface, MouseEventData& data);
    void OnMouseDown(Control* surface, MouseEventData& data);
    void OnMouseLeave(Control* surface);

    // Paints the cells that meet area on dc, over the background.
    void PaintCells(HDC dc, const Rect& area);

    Application& app_;
    WeakRef<Control> surface_;
    CellPainter painter_;
    OffscreenPicture picture_;
};

using AlphabetWindowRecord = ViewWindowRecord<AlphabetView>;

// Gives the alphabet window, already at its size, its view and its character handler.
void AttachAlphabetView(Application& app, AlphabetWindowRecord& record);

// A character typed in the alphabet, text or graph window (Windows-1251): selects a cipher
// letter, or gives the selected one a plaintext letter ("?" or the space bar clears it).
void TypeLetter(Application& app, char key);

}  // namespace zam
