#include "app/app_state.h"

#include <algorithm>

#include "app/alphabet_window.h"
#include "app/analysis_records.h"
#include "skin/tooltip.h"

namespace zam {

Application::Application() = default;
Application::~Application() = default;

GraphWindow* Application::Graph() const {
    return GraphWindow ? GraphWindow->Graph.get() : nullptr;
}

std::array<ToolWindowRecord*, 6> Application::FlaggedWindows() const {
    return {CipherWindow, AlphabetWindow, PlainWindow, InfoWindow, BigramWindow, GraphWindow};
}

WindowRecord::~WindowRecord() {
    // Released first: the form may outlive this record when a dispatch holds it, and must not
    // call back into it.
    Free(Form.Release());
}

void AttachSurfaceHandlers(Control* surface, const SurfaceHandlers& handlers) {
    surface->OnPaint = handlers.paint;
    surface->OnMouseMove = handlers.move;
    surface->OnMouseDown = handlers.down;
    surface->OnMouseDblClk = handlers.down;
    surface->OnMouseLeave = handlers.leave;
}

void DetachViewHandlers(Control* control) {
    control->OnPaint = {};
    control->OnMouseMove = {};
    control->OnMouseDown = {};
    control->OnMouseDblClk = {};
    control->OnMouseLeave = {};
    control->OnMouseWheel = {};
    control->OnChar = {};
}

void InvalidateSurface(Control* surface) {
    if (surface && surface->WindowHandle()) {
        InvalidateRect(surface->WindowHandle(), nullptr, FALSE);
    }
}

void ForwardTypedKey(Application& app, Control*, int32_t& key, uint32_t) {
    TypeLetter(app, static_cast<char>(key & 0xFF));
}

bool Application::ShownToUser(const Control* form) const {
    if (!form) {
        return false;
    }
    if (form->Visible()) {
        return true;
    }
    HWND window = form->WindowHandle();
    return window && std::find(Minimised.begin(), Minimised.end(), window) != Minimised.end();
}

}  // namespace zam
