// The message loop and the application-wide state of the window layer.
#include "toolkit/application.h"

#include <utility>

#include "toolkit/control_internal.h"
#include "toolkit/message_box.h"

namespace zam {

ToolkitState& Toolkit() {
    static ToolkitState state;
    return state;
}

Control* Applet() {
    return Toolkit().applet;
}

void SetApplet(Control* form) {
    Toolkit().applet = form;
}

Control* MainForm() {
    Control* applet = Toolkit().applet;
    if (!applet) {
        return nullptr;
    }
    for (int32_t i = 0; i < applet->ChildCount(); ++i) {
        Control* child = applet->Child(i);
        if (!child->IsChildControl()) {
            return child;
        }
    }
    return nullptr;
}

Control* CurrentForm() {
    return Toolkit().appletCurrentForm;
}

bool AppTerminated() {
    return Toolkit().appTerminated;
}
bool AppTerminating() {
    return Toolkit().terminating;
}
bool MessageLoopRunning() {
    return Toolkit().loopDepth > 0;
}

void SetIdleHook(IdleHook hook) {
    Toolkit().idleHook = hook;
}
void SetGlobalMessageHook(GlobalMessageHook hook) {
    Toolkit().messageHook = hook;
}
void SetGlobalKeyHook(GlobalMessageHook hook) {
    Toolkit().keyHook = hook;
}
void SetArrangeHook(ArrangeHook hook) {
    Toolkit().arrangeHook = hook;
}
void SetEndingHook(EndingHook hook) {
    Toolkit().endingHook = hook;
}
void RunEndingHook() {
    ToolkitState& state = Toolkit();
    const EndingHook hook = std::exchange(state.endingHook, EndingHook{});
    hook();
}

void SetGlobalCursor(HCURSOR cursor) {
    Toolkit().globalCursor = cursor;
}
HCURSOR GlobalCursor() {
    return Toolkit().globalCursor;
}

int32_t NextMenuCommandId() {
    return Toolkit().nextMenuCommand++;
}

void ProcessMessages() {
    ToolkitState& state = Toolkit();
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            state.appTerminated = true;
            continue;
        }
        Control* applet = state.applet;
        if (applet && applet->MessageFilter && applet->MessageFilter(msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void RunApplication(Control* form) {
    if (!form) {
        return;
    }
    ToolkitState& state = Toolkit();
    const uint32_t serial = ControlInternals::Serial(form);
    state.appTerminated = false;
    state.applet = form;
    form->Handle();

    ++state.loopDepth;
    // Messages queued before the loop would not wake WaitMessage: take them first.
    ProcessMessages();
    while (!state.appTerminated) {
        WaitMessage();
        ProcessMessages();
        if (state.idleHook) {
            state.idleHook();
        }
    }
    --state.loopDepth;
    // Before anything is torn down: the teardown below destroys children first.
    RunEndingHook();

    // Shutdown order: no more repaints and no Applet (so the form's close is a plain one), the
    // queue emptied, then the form closed and freed with all its forms and controls.
    state.terminating = true;
    state.applet = nullptr;
    state.appletCurrentForm = nullptr;
    ProcessMessages();
    if (ControlInternals::IsLive(form, serial)) {
        if (HWND window = form->WindowHandle()) {
            SendMessageW(window, WM_CLOSE, 0, 0);
        }
    }
    if (ControlInternals::IsLive(form, serial)) {
        Free(form);
    }
    ReleaseUnusedWindowClasses();
    state.terminating = false;
    state.appTerminated = false;
}

}  // namespace zam
