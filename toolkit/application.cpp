// The message loop and the application-wide state of the window layer.
#include "toolkit/application.h"

#include <utility>

#include "toolkit/control_internal.h"
#include "toolkit/message_box.h"

namespace zam {

AppState& App() {
    static AppState state;
    return state;
}

Control* Applet() {
    return App().applet;
}

void SetApplet(Control* form) {
    App().applet = form;
}

Control* MainForm() {
    Control* applet = App().applet;
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
    return App().appletCurrentForm;
}

bool AppTerminated() {
    return App().appTerminated;
}
bool AppTerminating() {
    return App().terminating;
}
bool MessageLoopRunning() {
    return App().loopDepth > 0;
}

void SetIdleHook(IdleHook hook) {
    App().idleHook = hook;
}
void SetGlobalMessageHook(GlobalMessageHook hook) {
    App().messageHook = hook;
}
void SetGlobalKeyHook(GlobalMessageHook hook) {
    App().keyHook = hook;
}
void SetArrangeHook(ArrangeHook hook) {
    App().arrangeHook = hook;
}
void SetEndingHook(EndingHook hook) {
    App().endingHook = hook;
}
void RunEndingHook() {
    AppState& app = App();
    const EndingHook hook = std::exchange(app.endingHook, EndingHook{});
    hook();
}

void SetGlobalCursor(HCURSOR cursor) {
    App().globalCursor = cursor;
}
HCURSOR GlobalCursor() {
    return App().globalCursor;
}

int32_t NextMenuCommandId() {
    return App().nextMenuCommand++;
}

void ProcessMessages() {
    AppState& app = App();
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            app.appTerminated = true;
            continue;
        }
        Control* applet = app.applet;
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
    AppState& app = App();
    const uint32_t serial = ControlInternals::Serial(form);
    app.appTerminated = false;
    app.applet = form;
    form->Handle();

    ++app.loopDepth;
    // Messages queued before the loop would not wake WaitMessage: take them first.
    ProcessMessages();
    while (!app.appTerminated) {
        WaitMessage();
        ProcessMessages();
        if (app.idleHook) {
            app.idleHook();
        }
    }
    --app.loopDepth;
    // Before anything is torn down: the teardown below destroys children first.
    RunEndingHook();

    // Shutdown order: no more repaints and no Applet (so the form's close is a plain one), the
    // queue emptied, then the form closed and freed with all its forms and controls.
    app.terminating = true;
    app.applet = nullptr;
    app.appletCurrentForm = nullptr;
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
    app.terminating = false;
    app.appTerminated = false;
}

}  // namespace zam
