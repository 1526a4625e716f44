#include "app/app_display.h"

#include "app/app_state.h"
#include "app/cell_painter.h"
#include "workspace/colouring.h"

namespace zam {

void AppDisplay::DrawTextCell(const TextObject& text, std::uint16_t position) {
    auto* view = dynamic_cast<CellView*>(text.view);
    if (!view) {
        return;
    }
    const Rect cell = TextCellRect(position, text.lineWidth);
    // Pointer moves redraw every occurrence of a letter; most of them are scrolled away.
    if (cell.bottom <= view->VisibleTop() || cell.top >= view->VisibleBottom()) {
        return;
    }
    PaintCell(view->CellCanvas(), cell, TextCellStyle(*app_.Ws, app_.Palette, text, position),
              app_.Palette);
}

void AppDisplay::DrawAlphabetCell(int row, int column) {
    auto* view = dynamic_cast<CellView*>(app_.Ws->KeyTable.view);
    if (!view) {
        return;
    }
    PaintCell(view->CellCanvas(), AlphabetCellRect(row, column),
              AlphabetCellStyle(*app_.Ws, app_.Palette, row, column), app_.Palette);
}

// The frequency graph draws its markers and itself once it has its view.
void AppDisplay::DrawMarker(MarkerKind, char) {}
void AppDisplay::DrawGraph(bool) {}

void AppDisplay::SetAlphabetCaption(std::string_view caption) {
    if (app_.AlphabetWindow) {
        app_.AlphabetWindow->Form->SetCaption(caption);
    }
}

void AppDisplay::SetMainTitle(std::string_view title) {
    if (Control* main = app_.MainForm()) {
        main->SetCaption(title);
    }
}

std::span<View* const> AppDisplay::Views() {
    return app_.Views;
}

void AppDisplay::InvalidateGraphSurface() {
    if (app_.GraphWindow) {
        app_.GraphWindow->Form->Invalidate();
    }
}

}  // namespace zam
