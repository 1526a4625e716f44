#pragma once
// The main window: its form, the menu-bar and toolbar panels, the ten toolbar buttons with
// their hints, the menu strip with the main menu, and every command they carry out.
#include <cstdint>

#include "app/app_state.h"

namespace zam {

// Builds the main form (its OnDestroy runs `shutdown`), the toolbar and the menu strip.
void BuildMainWindow(Application& app, Event<ToolkitObject*> shutdown);

// What a toolbar button does; the same for a click and for a test.
void ToolbarClick(Application& app, Control* button);

// The program's minimise: every window that shows goes away with the main window, and comes
// back with it on restore.
void MinimiseProgram(Application& app);
void RestoreProgram(Application& app);

}  // namespace zam
