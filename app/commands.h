#pragma once
// The display modes the main menu switches, and the shell's open.
#include <cstdint>
#include <string>

#include "app/app_state.h"

namespace zam {

// Scheme 1 "черная", 2 "желтая": copies it into the palette and repaints every view and the
// information window.
void ChooseScheme(Application& app, Scheme scheme);

// Flips the highlight item's check mark and applies it (items 22, 23, 25, 26, 28).
void HighlightSwitch(Application& app, int32_t item);

// The shell's "open" of a relative path or an address, owned by the desktop.
bool ShellOpenTarget(const std::wstring& target);

}  // namespace zam
