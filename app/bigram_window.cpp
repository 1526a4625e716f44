#include "app/bigram_window.h"

#include "app/cell_painter.h"
#include "skin/skinned_form.h"
#include "toolkit/wide_text.h"
#include "workspace/bigram_table.h"

namespace zam {
namespace {

constexpr int32_t kSurfaceWidth = 518;
constexpr int32_t kSurfaceHeight = 519;

// Sets the overlay and redraws the text cells of the old overlay and of the new one.
void ChangeOverlay(Application& app, std::string& overlay, std::string next) {
    const std::string old = std::move(overlay);
    overlay = std::move(next);
    RedrawOverlayOccurrences(*app.Ws, app.Screen, old, overlay);
}

}  // namespace

BigramView::BigramView(Application& app, Control* form)
    : app_(app),
      font_(MakeCellFont(FW_NORMAL)),
      picture_(kSurfaceWidth, kSurfaceHeight, [this](HDC dc, const Rect& area) {
          // The font stays selected: the picture's context is the view's own, and each
          // selection costs Wine a search for X resource files.
          SelectObject(dc, font_.Get());
          PaintTable(dc, area);
      }) {
    const Rect client = FrameClientRect(form);
    surface_ = NewPanel(form, 2);
    surface_->SetBoundsRect({client.left + 1, client.top + 1, client.left + 1 + kSurfaceWidth,
                             client.top + 1 + kSurfaceHeight});
    surface_->SetColor(app.Palette[kBackgroundEntry]);
    AttachSurfaceHandlers(
        surface_, {Bind<&BigramView::OnPaint>(this), Bind<&BigramView::OnMouseMove>(this),
                   Bind<&BigramView::OnMouseDown>(this), Bind<&BigramView::OnMouseLeave>(this)});
    app.Views.push_back(this);
}

BigramView::~BigramView() {
    std::erase(app_.Views, static_cast<View*>(this));
    if (surface_) {
        DetachViewHandlers(surface_);
    }
}

void BigramView::Invalidate() {
    picture_.MarkStale();
    InvalidateSurface(surface_);
}

void BigramView::PaintCell(HDC dc, int column, int row) const {
    const BigramCellLook look = LookOfBigramCell(*app_.Ws, app_.Palette, column, row);
    const Rect r = BigramCellRect(column, row);
    // An empty cell whose inside already shows its colour gets its outline only: redrawing
    // the fill under a moving pointer would flicker.
    const bool outlineOnly =
        look.label.empty() && GetPixel(dc, r.left + 1, r.top + 1) == look.background;
    OwnedPen wide;
    if (look.outline > 1) {
        wide = OwnedPen(CreatePen(PS_INSIDEFRAME, look.outline, app_.Palette[kBorderEntry]));
    } else {
        SetDCPenColor(dc, app_.Palette[kBorderEntry]);
    }
    SelectGuard pen(dc, wide ? wide.Get() : GetStockObject(DC_PEN));
    SelectGuard brush(dc, GetStockObject(outlineOnly ? NULL_BRUSH : DC_BRUSH));
    if (!outlineOnly) {
        SetDCBrushColor(dc, look.background);
    }
    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
    if (!outlineOnly && !look.label.empty()) {
        const std::wstring text = Widen(look.label);
        SetTextColor(dc, look.text);
        SetBkMode(dc, TRANSPARENT);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        // Centred inside the outline: the right and bottom lines belong to the next cells.
        const Point centre = RectCenter(Rect{r.left, r.top, r.right - 1, r.bottom - 1});
        TextOutW(dc, centre.x - extent.cx / 2, centre.y - extent.cy / 2, text.c_str(),
                 static_cast<int>(text.size()));
    }
}

void BigramView::PaintTable(HDC dc, const Rect& area) const {
    FillBackground(dc, area, app_.Palette[kBackgroundEntry]);
    if (!app_.Ws) {
        return;
    }
    for (int column = 0; column < kBigramCells; ++column) {
        for (int row = 0; row < kBigramCells; ++row) {
            const Rect cell = BigramCellRect(column, row);
            if (cell.right > area.left && cell.left < area.right && cell.bottom > area.top &&
                cell.top < area.bottom) {
                PaintCell(dc, column, row);
            }
        }
    }
}

void BigramView::DrawCell(const Cell& cell, bool rowHeading, bool columnHeading) {
    if (!app_.Ws || !IsInnerCell(cell) || !surface_ || !surface_->WindowHandle()) {
        return;
    }
    HDC window = surface_->Canvas()->Handle();
    const Cell cells[] = {cell, Cell{.row = 0, .column = cell.column},
                          Cell{.row = cell.row, .column = 0}};
    const bool wanted[] = {true, columnHeading, rowHeading};
    for (int i = 0; i < 3; ++i) {
        if (wanted[i]) {
            const Cell& each = cells[i];
            picture_.DrawThrough(window, BigramCellRect(each.column, each.row), [&](HDC dc) {
                // The picture keeps the font selected; a window's context gets it for the cell.
                SelectGuard font(dc == window ? dc : nullptr, font_.Get());
                PaintCell(dc, each.column, each.row);
            });
        }
    }
}

void BigramView::OnPaint(Control*, HDC dc) {
    picture_.Show(dc);
}

void BigramView::OnMouseMove(Control*, MouseEventData& data) {
    Application& app = app_;
    if (!app.Ws) {
        return;
    }
    Workspace& ws = *app.Ws;
    // Headings and the corner are no hit: the hover stays where it was.
    const Cell cell = BigramCellAt({data.X, data.Y});
    if (!IsInnerCell(cell) || cell == ws.BigramHoverCell) {
        return;
    }
    const Cell old = ws.BigramHoverCell;
    ws.BigramHoverCell = cell;
    const bool rowHeading = cell.row != old.row;
    const bool columnHeading = cell.column != old.column;
    DrawCell(old, rowHeading, columnHeading);
    DrawCell(cell, rowHeading, columnHeading);
    ChangeOverlay(app, ws.CurrentBigram, BigramOf(cell));
}

void BigramView::OnMouseLeave(Control*) {
    Application& app = app_;
    if (!app.Ws) {
        return;
    }
    Workspace& ws = *app.Ws;
    ChangeOverlay(app, ws.CurrentBigram, {});
    const Cell old = ws.BigramHoverCell;
    ws.BigramHoverCell = {};
    DrawCell(old, true, true);
}

void BigramView::OnMouseDown(Control* surface, MouseEventData& data) {
    Application& app = app_;
    if (!app.Ws) {
        return;
    }
    // A click on a cell that no move has reached yet (a pointer set down and clicked at once)
    // points at it first, as the move would have.
    if (IsInnerCell(BigramCellAt({data.X, data.Y}))) {
        MouseEventData at = data;
        OnMouseMove(surface, at);
    }
    Workspace& ws = *app.Ws;
    // A click acts on the last hovered inner cell, even from a heading; none, nothing.
    if (ws.CipherText.text.empty() || !IsInnerCell(ws.BigramHoverCell) ||
        ws.BigramHoverCell == ws.BigramSelectedCell) {
        return;
    }
    const Cell old = ws.BigramSelectedCell;
    const bool drop = data.Button == 2;
    ws.BigramSelectedCell = drop ? Cell{} : ws.BigramHoverCell;
    const Cell now = ws.BigramSelectedCell;
    if (drop) {
        ChangeOverlay(app, ws.SelectedBigram, {});
    }
    const bool rowHeading = now.row != old.row;
    const bool columnHeading = now.column != old.column;
    DrawCell(old, rowHeading, columnHeading);
    DrawCell(now, rowHeading, columnHeading);
    if (!drop) {
        ChangeOverlay(app, ws.SelectedBigram, BigramOf(now));
    }
}

void AttachBigramView(Application& app, BigramWindowRecord& record) {
    record.View = std::make_unique<BigramView>(app, record.Form);
}

void RedrawBigramCell(Application& app, const Cell& cell) {
    if (app.BigramWindow && app.BigramWindow->View) {
        app.BigramWindow->View->DrawCell(cell, true, true);
    }
}

}  // namespace zam
