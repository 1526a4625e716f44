#pragma once
// The message loop and the application-wide state of the window layer: the Applet (the
// application window, which owns the loop and is the parent of the program's forms), the
// termination flags and the empty extension hooks.
#include <windows.h>

#include <cstdint>

#include "toolkit/control.h"

namespace zam {

// The private message on which the main form is freed after its window is gone.
constexpr UINT kDeferredFreeMessage = 0xB003;
// Posted to a created window that got new child controls: their windows are made once the
// code that built them is done, so that styles set right after creation still apply.
constexpr UINT kCreateChildrenMessage = 0xB004;

// The control that owns the message loop, or null outside RunApplication (and SetApplet).
Control* Applet();
// Makes the form the Applet before any loop runs, so that message boxes shown before it are
// titled; null for none. RunApplication makes its form the Applet itself.
void SetApplet(Control* form);
// The Applet's first child form (the program's main window), or null.
Control* MainForm();
// The form that last got the keyboard focus while there was an Applet, or null.
Control* CurrentForm();

// Makes the form the Applet, creates its window and runs the loop until WM_QUIT; then shuts
// down: terminating, no Applet, pending messages processed, WM_CLOSE sent to the form and the
// form freed (its child forms with it).
void RunApplication(Control* form);
// Called once when the application ends, whatever ends it (the loop's quit message, the end
// of the session), while every window still stands; cleared once called.
using EndingHook = Event<>;
void SetEndingHook(EndingHook hook);
// Runs the ending hook now, if one is set.
void RunEndingHook();

// Removes and dispatches every queued message; WM_QUIT sets AppTerminated.
void ProcessMessages();
// WM_QUIT was seen by the loop.
bool AppTerminated();
// The application is shutting down: Invalidate does nothing.
bool AppTerminating();
// True while RunApplication's loop runs.
bool MessageLoopRunning();

// Extension points, empty in this program.
using IdleHook = void (*)();
using GlobalMessageHook = MessageHandler;
using ArrangeHook = void (*)(Control* control);
void SetIdleHook(IdleHook hook);
// Offered every message of every toolkit window before the control's own handlers.
void SetGlobalMessageHook(GlobalMessageHook hook);
// Offered key messages (0x100 to 0x108) before the control's built-in key handling.
void SetGlobalKeyHook(GlobalMessageHook hook);
// Called on WM_SIZE for the parent and for the control, to re-arrange children.
void SetArrangeHook(ArrangeHook hook);

// The cursor shown over every toolkit window, when set; null restores the controls' own.
void SetGlobalCursor(HCURSOR cursor);
HCURSOR GlobalCursor();

// The next menu command identifier, 4096 and up.
int32_t NextMenuCommandId();

}  // namespace zam
