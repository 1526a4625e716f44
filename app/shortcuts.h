#pragma once
// Keys that choose a menu command from every window of the program, as accelerators would:
// Ctrl+O, Ctrl+S, Ctrl+Z, Ctrl+Y (and Ctrl+Shift+Z), Ctrl+F, F1. An edit box keeps its own
// editing keys. F10, Alt alone and Alt with a menu's letter (or the Latin letter on its key)
// open the main menu bar for the keyboard from any window. The skinned popups show the keys.
#include <cstdint>
#include <string_view>

#include "app/app_state.h"

namespace zam {

void InstallShortcuts(Application& app);
void RemoveShortcuts();

// The key's name as its menu item shows it ("Ctrl+Z"); empty for an item without one.
std::string_view ShortcutText(int32_t item);

}  // namespace zam
