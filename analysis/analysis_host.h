#pragma once
// What the analysis windows need from the application.
#include <functional>
#include <string_view>
#include <vector>

#include "toolkit/control.h"
#include "workspace/colouring.h"
#include "workspace/display.h"
#include "workspace/workspace.h"

namespace zam {

struct AnalysisHost {
    Workspace* ws = nullptr;
    Display* display = nullptr;
    const ColourPalette* palette = nullptr;
    // The alphabet window's handling of a typed character (Windows-1251).
    std::function<void(char)> typeLetter;
    // Opens an address with the shell; the system's "open" when empty.
    std::function<void(std::string_view)> shellOpen;
    // The windows that the about box disables while it shows, asked afresh each time.
    std::function<std::vector<Control*>()> modalPeers;
};

}  // namespace zam
