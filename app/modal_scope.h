#pragma once
// While a file dialog or a question box of the program runs, every window of the program is
// disabled and no command starts; afterwards each window is as enabled as it was before.
#include <windows.h>

#include <utility>
#include <vector>

#include "app/app_state.h"

namespace zam {

class ModalScope {
public:
    explicit ModalScope(Application& app);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    Application& app_;
    std::vector<std::pair<HWND, bool>> windows_;  // and whether each was enabled
};

// Whether a command may start now: false while a modal box or dialog of the program runs.
inline bool CommandsAllowed(const Application& app) {
    return app.ModalDepth == 0 && app.ShutdownRuns == 0;
}

}  // namespace zam
