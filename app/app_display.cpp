#include "app/app_display.h"

#include "app/analysis_records.h"
#include "app/app_state.h"
#include "workspace/colouring.h"

namespace zam {

void AppDisplay::AddCellView(CellView* view) {
    cellViews_.push_back(view);
}

void AppDisplay::RemoveCellView(CellView* view) {
    std::erase(cellViews_, view);
}

CellView* AppDisplay::CellViewOf(const View* view) const {
    for (CellView* each : cellViews_) {
        if (static_cast<const View*>(each) == view) {
            return each;
        }
    }
    return nullptr;
}

void AppDisplay::DrawTextCell(const TextObject& text, std::uint16_t position) {
    CellView* view = CellViewOf(text.view);
    if (!view) {
        return;
    }
    const Rect cell = TextCellRect(position, text.lineWidth);
    if (position == 0 || position > text.text.size() || !view->Shows(cell)) {
        return;
    }
    view->DrawCell(cell, TextCellStyle(*app_.Ws, app_.Palette, text, position));
}

void AppDisplay::DrawAlphabetCell(int row, int column) {
    CellView* view = CellViewOf(app_.Ws->KeyTable.view);
    if (!view) {
        return;
    }
    // Column 32 exists only in the row of free letters.
    if (row < 1 || row > 3 || column < 1 || column > kColumnCount ||
        (column == kColumnCount && row != 3)) {
        return;
    }
    view->DrawCell(AlphabetCellRect(row, column),
                   AlphabetCellStyle(*app_.Ws, app_.Palette, row, column));
}

void AppDisplay::DrawMarker(MarkerKind kind, char letter) {
    if (GraphWindow* graph = app_.Graph()) {
        graph->DrawMarker(kind, letter);
    }
}

void AppDisplay::DrawGraph(bool erase) {
    if (GraphWindow* graph = app_.Graph()) {
        graph->DrawGraph(erase);
    }
}

void AppDisplay::SetAlphabetCaption(std::string_view caption) {
    // Set again on every pointer move, mostly to the same text: no repaint then.
    if (app_.AlphabetWindow && app_.AlphabetWindow->Form &&
        app_.AlphabetWindow->Form->Caption() != caption) {
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
    if (app_.GraphWindow && app_.GraphWindow->Form) {
        app_.GraphWindow->Form->Invalidate();
    }
}

}  // namespace zam
