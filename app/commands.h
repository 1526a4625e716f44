#pragma once
// What the toolbar buttons, the main menu and the main window's move do.
#include <cstdint>

#include "app/app_state.h"

namespace zam {

// Scheme 1 "черная", 2 "желтая": copies it into the palette and repaints every view and the
// information window.
void ChooseScheme(Application& app, Scheme scheme);

// Flips the highlight item's check mark and applies it (items 22, 23, 25, 26, 28).
void HighlightSwitch(Application& app, int32_t item);

// Attached by the window builder; data is the Application.
void ToolbarClick(void* app, Control* button);
void FileEditCommand(void* app, Menu* menu, int32_t item);
void WindowToggleCommand(void* app, Menu* menu, int32_t item);
void HighlightCommand(void* app, Menu* menu, int32_t item);
void SchemeCommand(void* app, Menu* menu, int32_t item);
void HelpCommand(void* app, Menu* menu, int32_t item);
// The menu strip and the application window ride along with the main window.
void MainWindowMoved(void* app, Control* main);
// The menu strip is shown and hidden with the main window (minimising hides the main window).
void MainWindowShownOrHidden(void* app, Control* main);
// A tool window's menu item follows its visibility.
void ToolWindowShownOrHidden(void* record, Control* form);

// The shell's "open" of a relative path or an address, owned by the desktop.
void ShellOpenTarget(std::string_view target);

}  // namespace zam
