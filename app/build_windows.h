#pragma once
// The whole window set of the program, built once at start-up.
#include "app/app_state.h"

namespace zam {

// Makes the application window, the main window with its menu strip, toolbar and hints, and
// every tool window, with their handlers; the phrase dialog and the about window stay hidden,
// the rest are shown. shutdown becomes the main window's close and destroy handler.
void BuildWindows(Application& app, Event<ToolkitObject*> shutdown);

}  // namespace zam
