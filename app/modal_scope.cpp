#include "app/modal_scope.h"

namespace zam {

ModalScope::ModalScope(Application& app) : app_(app) {
    ++app_.ModalDepth;
    for (WindowRecord* record : app_.Records()) {
        HWND window = record->Form ? record->Form->WindowHandle() : nullptr;
        if (window) {
            windows_.emplace_back(window, IsWindowEnabled(window) != FALSE);
            EnableWindow(window, FALSE);
        }
    }
}

ModalScope::~ModalScope() {
    // Windows may have gone meanwhile (the session ended): only live ones come back.
    for (auto [window, enabled] : windows_) {
        if (enabled && IsWindow(window)) {
            EnableWindow(window, TRUE);
        }
    }
    --app_.ModalDepth;
}

}  // namespace zam
