#include "app/app_state.h"

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
