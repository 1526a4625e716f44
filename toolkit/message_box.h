#pragma once
// Message boxes of the application: no owner window, captioned with the application window's
// caption. Texts are Windows-1251 and reach the system as UTF-16 whatever its code page.
#include <windows.h>

#include <string_view>

namespace zam {

// The window whose caption titles the message boxes and that owns the dialogs: the Applet's
// (the one place that knows it); null when there is none (yet).
HWND ApplicationWindow();

// MessageBoxW with the given MB_ flags; returns the button pressed (IDOK ...), 0 on failure.
// The caption is read when the box opens, so it follows the window's current title; without
// an application window the box has an empty title.
int MessageBoxApp(std::string_view text, unsigned flags);
// The same for a question: its buttons say "Да", "Нет" and "Отмена" on a Windows of any
// language.
int AskApp(std::string_view text, unsigned flags);
void ShowMessage(std::string_view text);

}  // namespace zam
