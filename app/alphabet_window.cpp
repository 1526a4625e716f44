#include "app/alphabet_window.h"

#include "app/work_commands.h"
#include "skin/skinned_form.h"
#include "workspace/operations.h"

namespace zam {
namespace {

constexpr int32_t kSurfaceWidth = 518;
constexpr int32_t kSurfaceHeight = 55;

bool Contains(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

char SymbolOf(int column) {
    return Alphabet()[static_cast<size_t>(column - 1)];
}

void RestoreCaption(Application& app) {
    app.Screen.SetAlphabetCaption(AlphabetBaseCaption());
}

// A plaintext letter is refused when it is taken: the hint line says by which cipher letter.
void SayLetterTaken(Application& app, char plain) {
    const Workspace& ws = *app.Ws;
    std::string text = "Буква ";
    text += plain;
    for (int column = 1; column <= kSymbolCount; ++column) {
        if (ws.KeyTable.key[column] == plain) {
            text += " уже заменяет ";
            text += SymbolOf(column);
            ShowNotice(app, text);
            return;
        }
    }
    ShowNotice(app, text + " уже есть в открытом тексте");
}

}  // namespace

AlphabetView::AlphabetView(Application& app, Control* form)
    : app_(app), picture_(kSurfaceWidth, kSurfaceHeight, [this](HDC dc, const Rect& area) {
          PaintCells(dc, area);
      }) {
    const Rect client = FrameClientRect(form);
    surface_ = NewPanel(form, 2);
    surface_->SetBoundsRect({client.left + 1, client.top + 1, client.left + 1 + kSurfaceWidth,
                             client.top + 1 + kSurfaceHeight});
    surface_->SetColor(app.Palette[kBackgroundEntry]);
    AttachSurfaceHandlers(
        surface_,
        {Bind<&AlphabetView::OnPaint>(this), Bind<&AlphabetView::OnMouseMove>(this),
         Bind<&AlphabetView::OnMouseDown>(this), Bind<&AlphabetView::OnMouseLeave>(this)});
    for (Control* control : {form, surface_.Get()}) {
        control->OnChar = Bind<&ForwardTypedKey>(app);
    }
    app.Ws->KeyTable.view = this;
    app.Views.push_back(this);
    app.Screen.AddCellView(this);
}

AlphabetView::~AlphabetView() {
    if (app_.Ws && app_.Ws->KeyTable.view == this) {
        app_.Ws->KeyTable.view = nullptr;
    }
    std::erase(app_.Views, static_cast<View*>(this));
    app_.Screen.RemoveCellView(this);
    if (surface_) {
        DetachViewHandlers(surface_);
    }
}

void AlphabetView::Invalidate() {
    picture_.MarkStale();
    InvalidateSurface(surface_);
}

void AlphabetView::DrawCell(const Rect& cell, const CellStyle& style) {
    if (!surface_ || !surface_->WindowHandle()) {
        return;
    }
    picture_.DrawThrough(surface_->Canvas()->Handle(), cell, [&](HDC dc) {
        painter_.Paint(dc, cell, style, app_.Palette[kBorderEntry]);
    });
}

void AlphabetView::PaintCells(HDC dc, const Rect& area) {
    FillBackground(dc, area, app_.Palette[kBackgroundEntry]);
    if (!app_.Ws) {
        return;
    }
    for (int column = 1; column <= kColumnCount; ++column) {
        for (int row = 3; row >= 1; --row) {
            if (column == kColumnCount && row != 3) {
                continue;  // "?" is a choice among the free letters only
            }
            const Rect cell = AlphabetCellRect(row, column);
            if (cell.right > area.left && cell.left < area.right && cell.bottom > area.top &&
                cell.top < area.bottom) {
                painter_.Paint(dc, cell, AlphabetCellStyle(*app_.Ws, app_.Palette, row, column),
                               app_.Palette[kBorderEntry]);
            }
        }
    }
}

void AlphabetView::OnPaint(Control*, HDC dc) {
    picture_.Show(dc);
}

void AlphabetView::OnMouseMove(Control*, MouseEventData& data) {
    Application& app = app_;
    if (!app.Ws) {
        return;
    }
    Workspace& ws = *app.Ws;
    const Point p{data.X, data.Y};
    for (int column = 1; column <= kColumnCount; ++column) {
        for (int row = 1; row <= 2 && column != kColumnCount; ++row) {
            if (!Contains(AlphabetCellRect(row, column), p)) {
                continue;
            }
            const char letter = SymbolOf(column);
            if (letter == LetterOf(ws.CurrentLetter)) {
                return;
            }
            if (LetterOf(ws.PlainLetter) != kNoLetter) {
                SetCurrentLetter(ws, app.Screen, PointerSource::FreeRow, kNoLetter);
            }
            SetCurrentLetter(ws, app.Screen, static_cast<PointerSource>(row), letter);
            return;
        }
        if (Contains(AlphabetCellRect(3, column), p)) {
            const char plain = SymbolOf(column);
            if (plain == LetterOf(ws.PlainLetter)) {
                return;
            }
            // An assigned letter is not free: pointing at it names no plaintext letter.
            const bool inKey = PlainLetterInUse(ws, plain);
            if (inKey && LetterOf(ws.PlainLetter) == kNoLetter &&
                LetterOf(ws.CurrentLetter) == kNoLetter) {
                return;  // nothing changes, and a refusal's word in the hint line stays
            }
            SetCurrentLetter(ws, app.Screen, PointerSource::FreeRow, inKey ? kNoLetter : plain);
            return;
        }
    }
}

void AlphabetView::OnMouseLeave(Control*) {
    if (app_.Ws) {
        SetCurrentLetter(*app_.Ws, app_.Screen, PointerSource::FreeRow, kNoLetter);
    }
}

void AlphabetView::OnMouseDown(Control* surface, MouseEventData& data) {
    Application& app = app_;
    if (!app.Ws || app.Ws->CipherText.text.empty()) {
        return;
    }
    // A click that no move has reached yet (a pointer set down and clicked at once) points at
    // its cell first, as the move would have.
    MouseEventData at = data;
    OnMouseMove(surface, at);
    Workspace& ws = *app.Ws;
    const Point p{data.X, data.Y};
    for (int column = 1; data.Button != 2 && column < kColumnCount; ++column) {
        if (Contains(AlphabetCellRect(3, column), p) &&
            IsCipherColumn(SymbolColumn(LetterOf(ws.SelectedLetter))) &&
            PlainLetterInUse(ws, SymbolOf(column))) {
            SayLetterTaken(app, SymbolOf(column));
            return;
        }
    }
    if (data.Button == 2) {
        SetSelectedLetter(ws, app.Screen, kNoLetter);
        SetCurrentLetter(ws, app.Screen, PointerSource::CipherRow, kNoLetter);
        return;
    }
    const char plain = LetterOf(ws.PlainLetter);
    if (plain == kNoLetter) {
        if (LetterOf(ws.SelectedLetter) != LetterOf(ws.CurrentLetter)) {
            SetSelectedLetter(ws, app.Screen, LetterOf(ws.CurrentLetter));
        }
        return;
    }
    const char selected = LetterOf(ws.SelectedLetter);
    const int column = SymbolColumn(selected);
    // A letter refused as in use (typed a moment ago) must not come in through a click.
    if (!IsCipherColumn(column) || PlainLetterInUse(ws, plain)) {
        return;
    }
    AssignAsUser(app, selected, plain);
    POINT target{0, 0};
    const Point centre = RectCenter(AlphabetCellRect(2, column));
    target = {centre.x, centre.y};
    if (surface_ && surface_->WindowHandle()) {
        ClientToScreen(surface_->WindowHandle(), &target);
    }
    SetCurrentLetter(ws, app.Screen, PointerSource::FreeRow, kNoLetter);
    SetSelectedLetter(ws, app.Screen, kNoLetter);
    // Onto the key cell just assigned, so the user sees the result under the pointer.
    SetCursorPos(target.x + 1, target.y + 1);
    RestoreCaption(app);
}

void AttachAlphabetView(Application& app, AlphabetWindowRecord& record) {
    record.View = std::make_unique<AlphabetView>(app, record.Form);
}

void TypeLetter(Application& app, char key) {
    if (!app.Ws || app.ModalDepth > 0) {
        return;
    }
    Workspace& ws = *app.Ws;
    const char symbol = TranslateTypedKey(key);
    if (symbol == 0) {
        return;
    }
    const char selected = LetterOf(ws.SelectedLetter);
    if (IsCipherColumn(SymbolColumn(selected))) {
        ws.PlainLetter.assign(1, symbol);
        if (PlainLetterInUse(ws, symbol)) {
            SayLetterTaken(app, symbol);
            return;
        }
        AssignAsUser(app, selected, symbol);
        SetCurrentLetter(ws, app.Screen, PointerSource::FreeRow, kNoLetter);
        SetSelectedLetter(ws, app.Screen, kNoLetter);
        RestoreCaption(app);
        return;
    }
    // Nothing selected: the key names a cipher letter to select; "?" names none.
    if (symbol == kClearLetter) {
        return;
    }
    SetCurrentLetter(ws, app.Screen, PointerSource::CipherRow, symbol);
    SetSelectedLetter(ws, app.Screen, symbol);
}

}  // namespace zam
