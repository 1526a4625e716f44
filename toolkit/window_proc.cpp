// The one window procedure of every toolkit window: finds the control, offers the message to
// the hooks and handlers in their order, then does the built-in processing.
#include "toolkit/color.h"
#include "toolkit/control_internal.h"
#include "toolkit/message_box.h"

namespace zam {
namespace {

// Reflected notifications (the OCM_ codes of olectl.h): a parent hands WM_CTLCOLOR* and
// WM_COMMAND of a toolkit child back to the child as reflect base + the message.
constexpr UINT kReflectBase = 0x2000;
constexpr UINT kFirstCtlColor = WM_CTLCOLORMSGBOX;  // 0x132
constexpr UINT kLastCtlColor = WM_CTLCOLORSTATIC;   // 0x138

bool FreeRequested(const Control* control) {
    return (control->RefCount & 1) != 0;
}

}  // namespace

LRESULT CALLBACK ControlInternals::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    ToolkitState& state = Toolkit();
    Control* control = ControlOf(window);
    if (!control && state.creating && !state.creating->handle_) {
        // The first message of a window under creation: link the two.
        control = state.creating;
        state.creating = nullptr;
        control->handle_ = window;
        SetPropW(window, kSelfProperty, control);
    }
    if (!control || control->handle_ != window) {
        return CallWindowProcW(DefaultProcOf(window), window, msg, wParam, lParam);
    }

    Message message{window, msg, wParam, lParam, 0};
    if (control->dying_) {
        CallDefault(control, message);
        if (msg == WM_NCDESTROY) {
            WindowGone(control, window);
        }
        return message.Result;
    }

    // Locked for the whole dispatch: a handler may free the control (or its parent); the
    // control then lives until the last unlock below, and nothing after it touches it.
    RefInc(control);
    ++control->dispatchDepth_;
    ++state.dispatchDepth;
    Dispatch(control, message);
    if (msg == WM_NCDESTROY) {
        WindowGone(control, window);
    }
    if (control->AfterMessage && !state.terminating) {
        control->AfterMessage(control, message);
    }
    if (--control->dispatchDepth_ == 0 && control->canvas_ && control->canvasDcWindow_) {
        // A context taken with GetDC for drawing outside a paint goes back once the outermost
        // message of the control is done, rather than being held indefinitely.
        control->canvas_->Release();
    }
    if (--state.dispatchDepth == 0) {
        ReleaseHeldContexts();
    }
    const LRESULT result = message.Result;
    RefDec(control);
    return result;
}

void ControlInternals::ReleaseHeldContexts() {
    // Each release takes the control off the list.
    std::vector<Control*>& held = Toolkit().heldContexts;
    while (!held.empty()) {
        Control* control = held.back();
        if (control->canvas_) {
            control->canvas_->Release();
        }
        if (!held.empty() && held.back() == control) {
            held.pop_back();
        }
    }
    std::vector<Control*>().swap(held);
}

void ControlInternals::Dispatch(Control* control, Message& message) {
    ToolkitState& state = Toolkit();
    bool handled = false;
    if (state.messageHook(control, message)) {
        handled = true;
    }
    if (!handled && state.loopDepth > 0 && state.applet && state.applet != control &&
        state.applet->OnMessage.Assigned()) {
        Control* applet = state.applet;
        RefInc(applet);
        applet->OnMessage(applet, message, handled);
        UnlockSurvives(applet);
    }
    if (!handled && control->OnMessage.Assigned()) {
        control->OnMessage(control, message, handled);
    }
    if (!handled && !state.appTerminated) {
        handled = RunHandlers(control, message);
    }
    if (!handled && control->Navigation) {
        handled = control->Navigation(control, message);
    }
    if (message.Msg == WM_NCDESTROY) {
        // The class's own procedure frees its window data here, whatever the handlers said.
        CallDefault(control, message);
        return;
    }
    if (handled || FreeRequested(control) || control->handle_ != message.Window) {
        return;
    }
    BuiltIn(control, message);
}

bool ControlInternals::RunHandlers(Control* control, Message& message) {
    PointerList* handlers = control->handlers_;
    if (!handlers) {
        return false;
    }
    // Newest first. A handler may attach others (they start with the next message) or free
    // the control (the rest are then skipped: the control is on its way out).
    for (int32_t i = handlers->Count - 2; i >= 0; i -= 2) {
        if (i + 1 >= handlers->Count) {
            continue;
        }
        const MessageHandler handler{reinterpret_cast<MessageHandler::Code>(handlers->Items[i]),
                                     handlers->Items[i + 1]};
        if (handler(control, message)) {
            return true;
        }
        if (FreeRequested(control) || control->dying_) {
            return true;
        }
    }
    return false;
}

void ControlInternals::CallDefault(Control* control, Message& message) {
    WNDPROC proc = control->defaultProc_ ? control->defaultProc_ : DefWindowProcW;
    message.Result =
        CallWindowProcW(proc, message.Window, message.Msg, message.WParam, message.LParam);
}

void ControlInternals::WindowGone(Control* control, HWND window) {
    if (control->canvas_ && control->canvasDcWindow_ == window) {
        control->canvas_->Release();
    }
    RemovePropW(window, kSelfProperty);
    control->handle_ = nullptr;
    control->childrenPending_ = false;
    ToolkitState& state = Toolkit();
    if (control->dying_ || !state.applet) {
        return;
    }
    if (control == state.applet) {
        if (state.loopDepth > 0) {
            PostQuitMessage(0);  // nothing could end the loop any more
        }
        return;
    }
    if (control->parent_ != state.applet || control->isChild_) {
        return;
    }
    // A form of the application window is freed with its window; the main form only once the
    // destruction has unwound, on a message to the application window.
    if (control == MainForm() && state.applet->handle_ &&
        PostMessageW(state.applet->handle_, kDeferredFreeMessage, control->serial_,
                     reinterpret_cast<LPARAM>(control))) {
        return;
    }
    Free(control);
}

void ControlInternals::BuiltIn(Control* control, Message& m) {
    ToolkitState& state = Toolkit();
    HWND window = m.Window;
    switch (m.Msg) {
        case WM_CLOSE: {
            if (control->OnClose.Assigned()) {
                bool accept = true;
                control->OnClose(control, accept);
                if (FreeRequested(control) || control->handle_ != window) {
                    return;
                }
                if (!accept && state.loopDepth > 0) {
                    m.Result = 0;
                    return;
                }
                if (accept) {
                    control->OnClose = {};  // asked only once
                }
            }
            if (state.applet && (control == state.applet || control == MainForm())) {
                if (control != state.applet && state.applet->handle_) {
                    SendMessageW(state.applet->handle_, WM_CLOSE, 0, 0);
                }
                PostQuitMessage(0);
                m.Result = 0;
                return;
            }
            if (control->FreeOnClose) {
                // The dispatch holds the control: it goes, window and all, once this close
                // has been processed.
                Free(control);
                m.Result = 0;
                return;
            }
            break;
        }
        case WM_DESTROY: {
            // The stored values outlive the window: a later Handle builds it again from them.
            const Rect r = control->BoundsRect();
            control->bounds_ = r;
            control->hasPosition_ = control->hasSize_ = true;
            control->style_ = control->Style();
            control->exStyle_ = control->ExStyle();
            if (!control->isChild_) {
                control->style_ &= ~static_cast<uint32_t>(WS_VISIBLE);
            }
            break;
        }
        case WM_SIZE:
            CallDefault(control, m);
            control->sizeType_ = m.WParam;
            if (state.arrangeHook) {
                if (control->parent_) {
                    state.arrangeHook(control->parent_);
                }
                state.arrangeHook(control);
            }
            return;
        case WM_SHOWWINDOW:
            if (m.LParam == SW_PARENTCLOSING) {
                control->shownAs_ = IsIconic(window)   ? SW_SHOWMINNOACTIVE
                                    : IsZoomed(window) ? SW_SHOWMAXIMIZED
                                                       : SW_SHOWNOACTIVATE;
            } else if (m.LParam == SW_PARENTOPENING && control->shownAs_) {
                const int how = control->shownAs_;
                control->shownAs_ = 0;
                ShowWindow(window, how);
                m.Result = 0;
                return;
            }
            break;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) == SC_MINIMIZE && state.applet && control != state.applet &&
                control == MainForm() && state.applet->handle_) {
                // The whole application minimises with its application window.
                PostMessageW(state.applet->handle_, WM_SYSCOMMAND, m.WParam, m.LParam);
                m.Result = 0;
                return;
            }
            break;
        case WM_SETCURSOR:
            // The program-wide cursor (the wait while it works) covers the frames as well.
            if (reinterpret_cast<HWND>(m.WParam) == window &&
                (LOWORD(m.LParam) == HTCLIENT ||
                 (state.globalCursor && LOWORD(m.LParam) != static_cast<WORD>(HTERROR))) &&
                !GetCapture()) {
                if (HCURSOR cursor = state.globalCursor ? state.globalCursor : control->cursor_) {
                    SetCursor(cursor);
                    m.Result = TRUE;
                    return;
                }
            }
            break;
        case WM_GETMINMAXINFO: {
            CallDefault(control, m);
            auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
            const int32_t* limits = control->sizeLimits_;
            if (limits[kMinWidth] > 0) {
                info->ptMinTrackSize.x = limits[kMinWidth];
            }
            if (limits[kMinHeight] > 0) {
                info->ptMinTrackSize.y = limits[kMinHeight];
            }
            if (limits[kMaxWidth] > 0) {
                info->ptMaxTrackSize.x = info->ptMaxSize.x = limits[kMaxWidth];
            }
            if (limits[kMaxHeight] > 0) {
                info->ptMaxTrackSize.y = info->ptMaxSize.y = limits[kMaxHeight];
            }
            m.Result = 0;
            return;
        }
        case WM_COMMAND:
            if (m.LParam) {
                HWND childWindow = reinterpret_cast<HWND>(m.LParam);
                Control* child = ControlOf(childWindow);
                if (child && child->parent_ == control) {
                    m.Result =
                        SendMessageW(childWindow, kReflectBase + WM_COMMAND, m.WParam, m.LParam);
                    return;
                }
            }
            break;
        case kReflectBase + WM_COMMAND:
            if (HIWORD(m.WParam) == BN_CLICKED) {  // STN_CLICKED has the same code
                control->OnClick(control);
            }
            m.Result = 0;
            return;
        case kCreateChildrenMessage:
            control->CreateChildWindows();
            m.Result = 0;
            return;
        case kDeferredFreeMessage: {
            auto* target = reinterpret_cast<Control*>(m.LParam);
            if (IsLive(target, static_cast<uint32_t>(m.WParam))) {
                Free(target);
                m.Result = 0;
                return;
            }
            break;
        }
        default:
            break;
    }

    if (m.Msg >= kFirstCtlColor && m.Msg <= kLastCtlColor) {
        HWND childWindow = reinterpret_cast<HWND>(m.LParam);
        Control* child = ControlOf(childWindow);
        if (child && child != control) {
            m.Result = SendMessageW(childWindow, kReflectBase + m.Msg, m.WParam, m.LParam);
            return;
        }
    } else if (m.Msg >= kReflectBase + kFirstCtlColor && m.Msg <= kReflectBase + kLastCtlColor) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        ::SetTextColor(dc, ColorToRGB(control->textColor_));
        if (control->Transparent) {
            SetBkMode(dc, TRANSPARENT);
            m.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        } else {
            SetBkColor(dc, ColorToRGB(control->color_));
            m.Result = reinterpret_cast<LRESULT>(control->BrushHandle());
        }
        return;
    } else if (m.Msg >= WM_KEYFIRST && m.Msg <= WM_SYSDEADCHAR) {
        if (BuiltInKeys(control, m)) {
            return;
        }
    }
    CallDefault(control, m);
}

bool ControlInternals::BuiltInKeys(Control* control, Message& m) {
    ToolkitState& state = Toolkit();
    // An active window without a focused child gets the keys itself (Alt+F4, Alt+Space).
    HWND focus = GetFocus();
    if (focus != m.Window && (focus || GetActiveWindow() != m.Window)) {
        m.Result = 0;
        return true;
    }
    if (state.keyHook(control, m)) {
        return true;
    }
    // With Ctrl or Alt held the key belongs to the default processing (menus, accelerators).
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    Control* form = control->ParentForm();
    if (form->Navigation && form->Navigation != control->Navigation &&
        form->Navigation(control, m)) {
        return true;
    }
    if (m.Msg == WM_CHAR && m.WParam == VK_TAB) {
        m.Result = 0;
        return true;
    }
    return false;
}

}  // namespace zam
