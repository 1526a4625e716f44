// The event dispatchers: message handlers that a control attaches when one of its event slots
// is set, turning mouse, keyboard, paint, show/hide and move messages into events.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/canvas.h"
#include "toolkit/control_internal.h"
#include "toolkit/encoding.h"
#include "toolkit/gdi.h"

namespace zam {
namespace {

// As windowsx.h has them; that header's SelectFont macros would clash with Canvas.
int32_t XOf(LPARAM lParam) {
    return static_cast<int16_t>(LOWORD(lParam));
}
int32_t YOf(LPARAM lParam) {
    return static_cast<int16_t>(HIWORD(lParam));
}

uint32_t AltBit() {
    return GetKeyState(VK_MENU) < 0 ? kAltKey : 0;
}

uint32_t KeyShift() {
    uint32_t shift = AltBit();
    if (GetKeyState(VK_SHIFT) < 0) {
        shift |= kShiftKey;
    }
    if (GetKeyState(VK_CONTROL) < 0) {
        shift |= kControlKey;
    }
    return shift;
}

using TrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

// Looked up at run time: without it there are simply no leave notifications.
TrackMouseEventProc TrackMouseEventFunction() {
    static const TrackMouseEventProc proc = [] {
        HMODULE module = GetModuleHandleW(L"comctl32.dll");
        if (!module) {
            module = LoadLibraryW(L"comctl32.dll");  // kept for the life of the process
        }
        FARPROC found = module ? GetProcAddress(module, "_TrackMouseEvent") : nullptr;
        return reinterpret_cast<TrackMouseEventProc>(reinterpret_cast<void (*)()>(found));
    }();
    return proc;
}

}  // namespace

void AttachDispatcher(Control* control, EventFamily family) {
    if (!control) {
        return;
    }
    switch (family) {
        case EventFamily::Mouse:
            control->AttachMessageHandler(ControlInternals::MouseDispatch);
            break;
        case EventFamily::Hover:
            control->TrackMouse(true);
            break;
        case EventFamily::Keyboard:
            control->AttachMessageHandler(ControlInternals::KeyDispatch);
            break;
        case EventFamily::Paint:
            control->AttachMessageHandler(ControlInternals::PaintDispatch);
            break;
        case EventFamily::ShowHide:
            if (!control->HasMessageHandler(ControlInternals::ShowHideDispatch)) {
                control->shown_ = control->Visible();
                control->AttachMessageHandler(ControlInternals::ShowHideDispatch);
            }
            break;
        case EventFamily::Move:
            control->AttachMessageHandler(ControlInternals::MoveDispatch);
            break;
        case EventFamily::None:
            break;
    }
}

void Control::TrackMouse(bool on) {
    if (on == trackMouse_) {
        return;
    }
    trackMouse_ = on;
    if (on) {
        static bool commonControlsReady = false;
        if (!commonControlsReady) {
            commonControlsReady = true;
            InitCommonControls();
        }
        AttachMessageHandler(ControlInternals::MouseDispatch);
    } else if (mouseInside_) {
        mouseInside_ = false;
        ControlInternals::RequestLeaveTracking(this, false);
    }
}

void ControlInternals::RequestLeaveTracking(Control* control, bool on) {
    TrackMouseEventProc track = TrackMouseEventFunction();
    if (!track || !control->handle_) {
        return;
    }
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof request;
    request.dwFlags = on ? TME_LEAVE : TME_LEAVE | TME_CANCEL;
    request.hwndTrack = control->handle_;
    request.dwHoverTime = HOVER_DEFAULT;
    track(&request);
}

bool ControlInternals::HoverDispatch(Control* control, Message& m) {
    if (!control->trackMouse_) {
        return false;
    }
    if (m.Msg == WM_MOUSELEAVE) {
        if (control->mouseInside_) {
            control->mouseInside_ = false;
            control->OnMouseLeave(control);
        }
        return false;
    }
    if (m.Msg < WM_MOUSEMOVE || m.Msg > WM_MBUTTONDBLCLK) {
        return false;
    }
    const Point p{XOf(m.LParam), YOf(m.LParam)};
    bool inside;
    if (control->HoverTest) {
        inside = control->HoverTest(control, p);
    } else {
        RECT client{};
        GetClientRect(m.Window, &client);
        inside = PtInRect(&client, POINT{p.x, p.y}) != 0;
    }
    if (inside && !control->mouseInside_) {
        control->mouseInside_ = true;
        RequestLeaveTracking(control, true);
        control->OnMouseEnter(control);
    } else if (!inside && control->mouseInside_) {
        control->mouseInside_ = false;
        RequestLeaveTracking(control, false);
        control->OnMouseLeave(control);
    }
    return false;
}

bool ControlInternals::MouseDispatch(Control* control, Message& m) {
    // Hover first, so that a handler that stops a move does not hide the entering.
    HoverDispatch(control, m);
    if (m.Msg < WM_MOUSEFIRST || m.Msg > WM_MOUSEWHEEL || (control->RefCount & 1) ||
        control->handle_ != m.Window) {
        return false;
    }
    MouseEventData data;
    const EventSlot<Control*, MouseEventData&>* event = nullptr;
    switch (m.Msg) {
        case WM_MOUSEMOVE:
            event = &control->OnMouseMove;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            event = &control->OnMouseDown;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            event = &control->OnMouseUp;
            break;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            event = &control->OnMouseDblClk;
            break;
        default:
            event = &control->OnMouseWheel;
            break;
    }
    if (!event->Assigned()) {
        return false;
    }
    if (m.Msg >= WM_LBUTTONDOWN && m.Msg <= WM_LBUTTONDBLCLK) {
        data.Button = 1;
    } else if (m.Msg >= WM_RBUTTONDOWN && m.Msg <= WM_RBUTTONDBLCLK) {
        data.Button = 2;
    } else if (m.Msg >= WM_MBUTTONDOWN && m.Msg <= WM_MBUTTONDBLCLK) {
        data.Button = 3;
    }
    // Buttons, Shift and Control from wParam; the X-button bits would read as Alt.
    data.Shift = (LOWORD(m.WParam) & 0x1F) | AltBit();
    POINT p{XOf(m.LParam), YOf(m.LParam)};
    if (m.Msg == WM_MOUSEWHEEL) {
        ScreenToClient(m.Window, &p);  // the wheel reports screen coordinates
        data.WheelDelta = static_cast<int16_t>(GET_WHEEL_DELTA_WPARAM(m.WParam));
    }
    data.X = static_cast<int16_t>(p.x);
    data.Y = static_cast<int16_t>(p.y);
    (*event)(control, data);
    if (data.StopHandling) {
        m.Result = 0;
        return true;
    }
    return false;
}

bool ControlInternals::KeyDispatch(Control* control, Message& m) {
    const EventSlot<Control*, int32_t&, uint32_t>* event = nullptr;
    switch (m.Msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            event = &control->OnKeyDown;
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            event = &control->OnKeyUp;
            break;
        case WM_CHAR:
            event = &control->OnChar;
            break;
        default:
            return false;
    }
    if (!event->Assigned()) {
        return false;
    }
    int32_t key;
    if (m.Msg == WM_CHAR) {
        // The window is a W window: the character is a UTF-16 unit, and the handlers know
        // only Windows-1251. One that 1251 cannot spell reaches no handler.
        const auto unit = static_cast<char32_t>(m.WParam & 0xFFFF);
        const bool surrogate = unit >= 0xD800 && unit <= 0xDFFF;
        const std::optional<char> byte = surrogate ? std::nullopt : CodePointTo1251(unit);
        if (!byte) {
            return false;
        }
        key = static_cast<unsigned char>(*byte);
    } else {
        key = static_cast<int32_t>(m.WParam);
    }
    const int32_t original = key;
    (*event)(control, key, KeyShift());
    if (key == 0) {
        m.Result = 0;
        return true;
    }
    if (key != original) {
        if (m.Msg == WM_CHAR && key > 0 && key < 256) {
            m.WParam = Cp1251ToCodePoint(static_cast<unsigned char>(key));
        } else {
            m.WParam = static_cast<WPARAM>(key);
        }
    }
    return false;
}

bool ControlInternals::PaintDispatch(Control* control, Message& m) {
    if ((m.Msg != WM_PAINT && m.Msg != WM_PRINT && m.Msg != WM_PRINTCLIENT) ||
        !control->OnPaint.Assigned()) {
        return false;
    }
    HWND window = m.Window;
    if (m.Msg == WM_PRINT && (m.LParam & PRF_CHECKVISIBLE) && !IsWindowVisible(window)) {
        m.Result = 0;
        return true;
    }
    OwnedRegion region;
    if (m.Msg == WM_PAINT) {
        region.Reset(CreateRectRgn(0, 0, 0, 0));
        const int kind = region ? GetUpdateRgn(window, region.Get(), FALSE) : ERROR;
        if (kind == NULLREGION || kind == ERROR) {
            region.Reset();  // the handler paints everything
        }
    }
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    const bool begun = !dc;
    if (begun) {
        dc = BeginPaint(window, &ps);
    }
    int savedDc = 0;
    if (m.Msg == WM_PRINT && dc) {
        // WM_PRINT draws the whole window: move the origin to the client area's corner.
        savedDc = SaveDC(dc);
        RECT windowRect{};
        POINT clientCorner{0, 0};
        GetWindowRect(window, &windowRect);
        ::ClientToScreen(window, &clientCorner);
        OffsetViewportOrgEx(dc, clientCorner.x - windowRect.left, clientCorner.y - windowRect.top,
                            nullptr);
        if (m.LParam & PRF_ERASEBKGND) {
            SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        }
    }
    const bool paintClient = m.Msg != WM_PRINT || (m.LParam & PRF_CLIENT);
    if (dc && paintClient) {
        HDC outerDc = control->paintDc_;
        HRGN outerRegion = control->updateRegion_;
        if (control->canvas_) {
            control->canvas_->Release();  // it may hold a GetDC context from before
        }
        control->paintDc_ = dc;
        control->updateRegion_ = region.Get();
        control->OnPaint(control, dc);
        if (control->canvas_) {
            control->canvas_->Release();
        }
        control->paintDc_ = outerDc;
        control->updateRegion_ = outerRegion;
    }
    if (savedDc) {
        RestoreDC(dc, savedDc);
    }
    if (begun) {
        EndPaint(window, &ps);
    }
    m.Result = 0;
    return true;
}

bool ControlInternals::ShowHideDispatch(Control* control, Message& m) {
    if (m.Msg != WM_WINDOWPOSCHANGED) {
        return false;
    }
    // After the change, so that the handler sees the window as it now is.
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
    if ((pos->flags & SWP_SHOWWINDOW) && !control->shown_) {
        control->shown_ = true;
        control->OnShow(control);
    } else if ((pos->flags & SWP_HIDEWINDOW) && control->shown_) {
        control->shown_ = false;
        control->OnHide(control);
    }
    return false;
}

bool ControlInternals::MoveDispatch(Control* control, Message& m) {
    if (m.Msg == WM_MOVE) {
        control->OnMove(control);
    }
    return false;
}

}  // namespace zam
