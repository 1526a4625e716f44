#include "app/text_window.h"

#include <algorithm>

#include "app/alphabet_window.h"
#include "skin/scroll_bar.h"
#include "skin/skinned_form.h"
#include "workspace/operations.h"

namespace zam {
namespace {

constexpr int32_t kClipWidth = 502;
constexpr int32_t kClipHeight = 167;
constexpr int32_t kWheelLines = 3;

// The text's redraw of a position in both views, cipher first, and its letter's row-1 cell.
void RedrawPosition(Application& app, uint32_t position, bool alphabetToo) {
    Workspace& ws = *app.Ws;
    if (position == 0 || position > ws.CipherText.text.size()) {
        return;
    }
    app.Screen.DrawTextCell(ws.CipherText, static_cast<std::uint16_t>(position));
    app.Screen.DrawTextCell(ws.PlainText, static_cast<std::uint16_t>(position));
    if (alphabetToo) {
        app.Screen.DrawAlphabetCell(1, SymbolColumn(ws.CipherText.text[position - 1]));
    }
}

}  // namespace

TextView::TextView(Application& app, Control* form, TextObject& text)
    : app_(app), text_(text), picture_(kClipWidth, kClipHeight, [this](HDC dc, const Rect& area) {
          PaintLines(dc, area);
      }) {
    const Rect client = FrameClientRect(form);
    clip_ = NewPanel(form, 2);
    clip_->SetBoundsRect({client.left + 1, client.top + 1, client.left + 1 + kClipWidth,
                          client.top + 1 + kClipHeight});
    surface_ = NewPanel(clip_, 2);
    surface_->SetBoundsRect({0, 0, kClipWidth, kClipHeight});
    surface_->SetColor(app.Palette[kBackgroundEntry]);
    height_ = kClipHeight;
    bar_ = NewSkinnedScrollBar(surface_, kScrollVertical);
    if (ScrollBarRecord* record = ScrollBarOf(bar_)) {
        record->Virtual = this;
    }

    AttachSurfaceHandlers(
        surface_, {Bind<&TextView::OnPaint>(this), Bind<&TextView::OnMouseMove>(this),
                   Bind<&TextView::OnMouseDown>(this), Bind<&TextView::OnMouseLeave>(this)});
    surface_->OnMouseWheel = Bind<&TextView::OnMouseWheel>(this);
    for (Control* control : {form, clip_.Get(), surface_.Get()}) {
        control->OnChar = Bind<&ForwardTypedKey>(app);
    }
    text_.view = this;
    app.Views.push_back(this);
    app.Screen.AddCellView(this);
    UpdateScrollBar();
}

TextView::~TextView() {
    // The workspace goes before the windows at shutdown, and the text with it.
    if (app_.Ws && text_.view == this) {
        text_.view = nullptr;
    }
    std::erase(app_.Views, static_cast<View*>(this));
    app_.Screen.RemoveCellView(this);
    // A bar that outlives the view must not ask it; one whose surface went first asks nothing.
    if (ScrollBarRecord* record = ScrollBarOf(bar_)) {
        record->Virtual = nullptr;
    }
    for (Control* control : {surface_.Get(), clip_.Get()}) {
        if (control) {
            DetachViewHandlers(control);
        }
    }
}

bool TextView::IsCipherView() const {
    return app_.Ws && &text_ == &app_.Ws->CipherText;
}

int32_t TextView::ClipHeight() const {
    // Asked for every occurrence of a letter on a pointer move: no window query each time.
    return kClipHeight;
}

void TextView::ScrollOwn(int32_t offset) {
    offset = std::clamp(offset, 0, std::max(height_ - ClipHeight(), 0));
    if (offset == scrollTop_) {
        return;
    }
    const int32_t by = scrollTop_ - offset;
    scrollTop_ = offset;
    picture_.MarkStale();
    if (surface_ && surface_->WindowHandle()) {
        // What stays in view moves; only the uncovered strip is painted.
        ScrollWindowEx(surface_->WindowHandle(), 0, by, nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE);
    }
}

void TextView::ScrollContentTo(int64_t offset) {
    // The two text views always show the same lines.
    const auto target = static_cast<int32_t>(offset);
    for (const auto* record : {app_.CipherWindow.get(), app_.PlainWindow.get()}) {
        if (TextView* view = record ? record->View.get() : nullptr) {
            view->ScrollOwn(target);
            if (view != this) {
                view->UpdateScrollBar();
            }
        }
    }
}

void TextView::SetSurfaceTop(int32_t top) {
    ScrollContentTo(-top);
    for (View* each : app_.Views) {
        each->UpdateScrollBar();
    }
}

void TextView::ScrollToTop() {
    ScrollOwn(0);
}

void TextView::ShrinkSurfaceToClient() {
    height_ = std::min(height_, ClipHeight());
    ScrollOwn(scrollTop_);
}

void TextView::EnsureSurfaceHeight(int pixels) {
    height_ = std::max(height_, pixels);
}

void TextView::UpdateScrollBar() {
    if (bar_) {
        zam::UpdateScrollBar(bar_);
    }
}

void TextView::Invalidate() {
    picture_.MarkStale();
    InvalidateSurface(surface_);
}

bool TextView::Shows(const Rect& cell) const {
    return surface_ && cell.bottom > scrollTop_ && cell.top < scrollTop_ + ClipHeight();
}

void TextView::DrawCell(const Rect& cell, const CellStyle& style) {
    if (!surface_ || !surface_->WindowHandle()) {
        return;
    }
    const Rect shown{cell.left, cell.top - scrollTop_, cell.right, cell.bottom - scrollTop_};
    picture_.DrawThrough(surface_->Canvas()->Handle(), shown, [&](HDC dc) {
        painter_.Paint(dc, shown, style, app_.Palette[kBorderEntry]);
    });
}

void TextView::PaintLines(HDC dc, const Rect& area) {
    // area is in the surface's coordinates; the picture is drawn from the scroll offset.
    FillBackground(dc, area, app_.Palette[kBackgroundEntry]);
    if (!app_.Ws) {
        return;
    }
    const Workspace& ws = *app_.Ws;
    const uint32_t length = static_cast<uint32_t>(ws.CipherText.text.size());
    const uint8_t width = text_.lineWidth ? text_.lineWidth : kLineWidth;
    const int32_t top = area.top + scrollTop_;
    const int32_t bottom = std::min(area.bottom + scrollTop_, height_);
    if (length == 0 || bottom <= top) {
        return;
    }
    POINT origin{};
    SetViewportOrgEx(dc, 0, -scrollTop_, &origin);
    // Only the lines in view: a line's band reaches one pixel below the next line's top.
    const int32_t lines = static_cast<int32_t>((length + width - 1) / width);
    const int32_t first = std::max(1, (top - kGridMargin - 1) / kCellPitch);
    for (int32_t line = first; line <= lines; ++line) {
        const Rect band = LineBand(line, width);
        if (band.top >= bottom) {
            break;
        }
        if (band.bottom <= top) {
            continue;
        }
        for (int32_t column = 1; column <= width; ++column) {
            const uint32_t position = static_cast<uint32_t>(width) * (line - 1) + column;
            if (position > length) {
                break;
            }
            const Rect cell = TextCellRect(static_cast<std::uint16_t>(position), width);
            if (cell.right <= area.left || cell.left >= area.right) {
                continue;
            }
            painter_.Paint(
                dc, cell,
                TextCellStyle(ws, app_.Palette, text_, static_cast<std::uint16_t>(position)),
                app_.Palette[kBorderEntry]);
        }
    }
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void TextView::OnPaint(Control*, HDC dc) {
    picture_.Show(dc);
}

void TextView::OnMouseMove(Control*, MouseEventData& data) {
    Application& app = app_;
    if (!app.Ws) {
        return;
    }
    Workspace& ws = *app.Ws;
    ws.PlainLetter.assign(1, kNoLetter);
    if (ws.CipherText.text.empty()) {
        return;
    }
    const uint32_t position =
        PositionAt(PicturePoint(data), static_cast<uint32_t>(ws.CipherText.text.size()),
                   ws.CipherText.lineWidth);
    if (position == 0) {
        return;
    }
    const char letter = ws.CipherText.text[position - 1];
    if (letter == LetterOf(ws.CurrentLetter)) {
        return;  // the same letter elsewhere: nothing changes, HoverPos included
    }
    const uint32_t old = ws.HoverPos;
    ws.HoverPos = static_cast<std::uint16_t>(position);
    SetCurrentLetter(ws, app.Screen,
                     IsCipherView() ? PointerSource::CipherRow : PointerSource::PlainRow, letter);
    if (!ws.HiliteCurrent) {
        // Only the cell under the pointer shows the current letter then.
        RedrawPosition(app, position, false);
        RedrawPosition(app, old, false);
        if (old != 0 && old <= ws.CipherText.text.size()) {
            app.Screen.DrawAlphabetCell(1, SymbolColumn(ws.CipherText.text[old - 1]));
        }
        app.Screen.DrawAlphabetCell(1, SymbolColumn(letter));
    }
}

void TextView::OnMouseDown(Control* surface, MouseEventData& data) {
    if (!app_.Ws) {
        return;
    }
    // A click where the pointer rests since an assignment cleared the current letter names
    // the letter under it, as a move there would: the user sees the pointer on a letter.
    MouseEventData at = data;
    OnMouseMove(surface, at);
    Workspace& ws = *app_.Ws;
    if (ws.CipherText.text.empty() || LetterOf(ws.SelectedLetter) == LetterOf(ws.CurrentLetter)) {
        return;
    }
    SetSelectedLetter(ws, app_.Screen, data.Button == 1 ? LetterOf(ws.CurrentLetter) : kNoLetter);
}

void TextView::OnMouseLeave(Control*) {
    Application& app = app_;
    if (!app.Ws) {
        return;
    }
    Workspace& ws = *app.Ws;
    SetCurrentLetter(ws, app.Screen, PointerSource::CipherRow, kNoLetter);
    const uint32_t old = ws.HoverPos;
    ws.HoverPos = 0;
    if (!ws.CipherText.text.empty() && old != 0) {
        RedrawPosition(app, old, true);
    }
}

void TextView::OnMouseWheel(Control*, MouseEventData& data) {
    const int32_t lines = data.WheelDelta * kWheelLines / WHEEL_DELTA;
    SetSurfaceTop(SurfaceTop() + lines * kCellPitch);
}

void AttachTextView(Application& app, TextWindowRecord& record, TextObject& text) {
    record.View = std::make_unique<TextView>(app, record.Form, text);
}

}  // namespace zam
