#include "app/app_state.h"

#include "app/alphabet_window.h"

#include <algorithm>

namespace zam {

WindowRecord::WindowRecord(Control* form) : Form(form) {
    AddToAutoFree(form, &WindowRecord::FormGone, this);
}

WindowRecord::~WindowRecord() {
    if (Control* form = Form) {
        // The form may outlive this record when a dispatch holds it: it must not call back.
        RemoveFromAutoFree(form, &WindowRecord::FormGone, this);
        Form = nullptr;
        Free(form);
    }
}

void WindowRecord::FormGone(void* record) {
    static_cast<WindowRecord*>(record)->Form = nullptr;
}

void AttachSurfaceHandlers(Control* surface, void* view, const SurfaceHandlers& handlers) {
    surface->OnPaint = MakeEvent<Control*, HDC>(view, handlers.paint);
    surface->OnMouseMove = MakeEvent<Control*, MouseEventData&>(view, handlers.move);
    surface->OnMouseDown = MakeEvent<Control*, MouseEventData&>(view, handlers.down);
    surface->OnMouseDblClk = MakeEvent<Control*, MouseEventData&>(view, handlers.down);
    surface->OnMouseLeave = MakeEvent<Control*>(view, handlers.leave);
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

void ForwardTypedKey(void* app, Control*, int32_t& key, uint32_t) {
    TypeLetter(*static_cast<Application*>(app), static_cast<char>(key & 0xFF));
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
