#pragma once
// Shared by the files of the window layer only: the toolkit's state, the window classes and
// the steps of the window procedure.
#include <windows.h>

#include <vector>

#include <string>
#include <string_view>

#include "toolkit/application.h"
#include "toolkit/control.h"

namespace zam {

struct ToolkitState {
    Control* applet = nullptr;
    Control* appletCurrentForm = nullptr;  // the form that last got the focus
    int loopDepth = 0;
    bool appTerminated = false;
    bool terminating = false;
    // The control whose CreateWindowExW is running; its window is linked on the first message.
    Control* creating = nullptr;
    IdleHook idleHook = nullptr;
    GlobalMessageHook messageHook;
    GlobalMessageHook keyHook;
    ArrangeHook arrangeHook = nullptr;
    EndingHook endingHook;
    // Messages being dispatched, nested ones included, across all windows.
    int dispatchDepth = 0;
    // Controls whose canvas holds a client context taken outside a paint; they give it back
    // when the outermost message is done, so drawing on one window from another's handler
    // keeps no context beyond the operation. Empty storage when none, for the heap report.
    std::vector<Control*> heldContexts;
    HCURSOR globalCursor = nullptr;
    int32_t nextMenuCommand = 4096;
};

// The toolkit's own process-wide state, apart from the program's Application.
ToolkitState& Toolkit();

// The window property that links a toolkit window to its control.
inline constexpr wchar_t kSelfProperty[] = L"SELF_";

struct WindowClassInfo {
    std::wstring name;    // "obj_" + the class name
    WNDPROC defaultProc;  // the system class's procedure, DefWindowProcW for forms
    uint32_t style;
};

// Registers "obj_" + className once: a copy of the system class of that name with the
// toolkit's window procedure, or the toolkit's own class ("Form" and unknown names).
// False when registration failed.
bool RegisterToolkitClass(std::string_view className, WindowClassInfo& info);
// The default procedure for a toolkit window that has no control (any more).
WNDPROC DefaultProcOf(HWND window);

struct ControlInternals {
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    // Steps 2 to 7 of the window procedure, with the control locked.
    static void Dispatch(Control* control, Message& message);
    // Gives back every client context that a canvas took outside a paint.
    static void ReleaseHeldContexts();
    static bool RunHandlers(Control* control, Message& message);
    static void BuiltIn(Control* control, Message& message);
    static bool BuiltInKeys(Control* control, Message& message);
    static void CallDefault(Control* control, Message& message);
    static void WindowGone(Control* control, HWND window);

    static bool MouseDispatch(Control* control, Message& message);
    static bool HoverDispatch(Control* control, Message& message);
    static bool KeyDispatch(Control* control, Message& message);
    static bool PaintDispatch(Control* control, Message& message);
    static bool ShowHideDispatch(Control* control, Message& message);
    static bool MoveDispatch(Control* control, Message& message);
    static void RequestLeaveTracking(Control* control, bool on);

    static bool FormEraseHandler(Control* control, Message& message);
    static bool FormFocusHandler(Control* control, Message& message);

    static bool IsLive(const Control* control, uint32_t serial);
    static uint32_t Serial(const Control* control) { return control->serial_; }
    static Control* Make(Control* parent, std::string_view className, uint32_t style,
                         uint32_t exStyle, bool child);
};

// Keeps an object alive to the end of the scope: a handler run by a message sent meanwhile may
// free it, and the destruction then waits for the scope's end.
class ScopeLock {
public:
    explicit ScopeLock(ToolkitObject* obj) : obj_(obj) { RefInc(obj_); }
    ~ScopeLock() { RefDec(obj_); }
    ScopeLock(const ScopeLock&) = delete;
    ScopeLock& operator=(const ScopeLock&) = delete;

private:
    ToolkitObject* obj_;
};

// Unlocks obj, and tells whether it survived.
inline bool UnlockSurvives(ToolkitObject* obj) {
    // Exactly one lock left with a Free pending: this RefDec destroys the object.
    const bool destroyed = obj->RefCount == 1;
    RefDec(obj);
    return !destroyed;
}

}  // namespace zam
