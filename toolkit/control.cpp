// Control: identity, window creation, geometry, state and teardown.
#include "toolkit/control.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "toolkit/canvas.h"
#include "toolkit/control_internal.h"
#include "toolkit/graphic_tool.h"
#include "toolkit/message_box.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

uint32_t nextSerial = 0;

std::unordered_set<const Control*>& LiveSet() {
    static std::unordered_set<const Control*> live;
    return live;
}

// Floor division: the centred place of a window larger than its area is still rounded down.
int32_t HalfDown(int32_t n) {
    return n >= 0 ? n / 2 : -((1 - n) / 2);
}

constexpr UINT kQuietPosFlags = SWP_NOACTIVATE | SWP_NOZORDER;

}  // namespace

Control::Control() {
    serial_ = ++nextSerial;
    LiveSet().insert(this);
}

Control::~Control() {
    std::unordered_set<const Control*>& live = LiveSet();
    live.erase(this);
    // An emptied set keeps its buckets; they go with the last control, so that a program that
    // has freed every window holds no memory for it (the exit-time heap report).
    if (live.empty()) {
        std::unordered_set<const Control*>().swap(live);
    }
}

int LiveControls() {
    return static_cast<int>(LiveSet().size());
}

bool ControlInternals::IsLive(const Control* control, uint32_t serial) {
    return control && LiveSet().count(control) && control->serial_ == serial;
}

Control* ControlOf(HWND window) {
    return window ? static_cast<Control*>(GetPropW(window, kSelfProperty)) : nullptr;
}

// ---- creation ----

HWND Control::Handle() {
    if (handle_ || dying_ || creating_) {
        return handle_;
    }
    HWND parentWindow = nullptr;
    if (parent_) {
        parentWindow = parent_->Handle();
        if (!parentWindow) {
            return nullptr;
        }
        // Creating the parent creates its children, this one included: a second window
        // would orphan the first with everything created in it.
        if (handle_ || dying_ || creating_) {
            return handle_;
        }
    } else if (isChild_) {
        return nullptr;
    }
    WindowClassInfo info;
    if (!RegisterToolkitClass(className_, info)) {
        return nullptr;
    }
    defaultProc_ = info.defaultProc;
    classStyle_ = info.style;

    // A handler run by the creation messages may free this control; it stays alive until the
    // creation is complete.
    RefInc(this);
    creating_ = true;
    int32_t x = bounds_.left;
    int32_t y = bounds_.top;
    int32_t w = bounds_.right - bounds_.left;
    int32_t h = bounds_.bottom - bounds_.top;
    if (!isChild_ && !hasPosition_) {
        x = y = CW_USEDEFAULT;
    }
    if (!isChild_ && !hasSize_) {
        w = h = CW_USEDEFAULT;
    }
    const std::wstring caption = Widen(caption_);
    ToolkitState& state = Toolkit();
    Control* const outer = state.creating;
    state.creating = this;
    HWND window = CreateWindowExW(
        exStyle_, info.name.c_str(), caption.c_str(), style_, x, y, w, h, parentWindow,
        isChild_ ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(creationNumber_)) : nullptr,
        GetModuleHandleW(nullptr), nullptr);
    state.creating = outer;
    creating_ = false;

    if (window && !dying_ && IsWindow(window)) {
        if (handle_ != window) {
            handle_ = window;
        }
        if (!GetPropW(window, kSelfProperty)) {
            SetPropW(window, kSelfProperty, this);
        }
        shown_ = (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
        SendMessageW(window, WM_UPDATEUISTATE, 0x10002, 0);  // UIS_CLEAR, UISF_HIDEFOCUS
        if (!isChild_) {
            if (HICON icon = Icon()) {
                SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            }
        }
        if (CreationHook) {
            CreationHook(this);
        }
        SendFont();
        for (int32_t i = 0; children_ && i < children_->Count; ++i) {
            children_->At<Control>(i)->Handle();
        }
    }
    HWND result = handle_;
    return UnlockSurvives(this) ? result : nullptr;
}

// ---- styles ----

uint32_t Control::Style() const {
    return handle_ ? static_cast<uint32_t>(GetWindowLongW(handle_, GWL_STYLE)) : style_;
}

uint32_t Control::ExStyle() const {
    return handle_ ? static_cast<uint32_t>(GetWindowLongW(handle_, GWL_EXSTYLE)) : exStyle_;
}

void Control::SetStyle(uint32_t style) {
    ScopeLock lock(this);
    style_ = style;
    if (handle_) {
        SetWindowLongW(handle_, GWL_STYLE, static_cast<LONG>(style));
        ApplyStyles();
    }
}

void Control::SetExStyle(uint32_t exStyle) {
    ScopeLock lock(this);
    exStyle_ = exStyle;
    if (handle_) {
        SetWindowLongW(handle_, GWL_EXSTYLE, static_cast<LONG>(exStyle));
        ApplyStyles();
    }
}

void Control::ApplyStyles() {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | kQuietPosFlags);
}

void Control::HasCaption(bool on) {
    ScopeLock lock(this);
    uint32_t style = Style();
    if (on) {
        style = (style | WS_CAPTION) & ~static_cast<uint32_t>(WS_POPUP);
    } else {
        style &= ~static_cast<uint32_t>(WS_CAPTION | WS_SYSMENU);
        if (!isChild_) {
            style |= WS_POPUP;
        }
    }
    SetStyle(style);
}

void Control::HasBorder(bool on) {
    ScopeLock lock(this);
    constexpr uint32_t kFrameStyles =
        WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    constexpr uint32_t kFrameExStyles =
        WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT;
    uint32_t style = Style();
    uint32_t exStyle = ExStyle();
    if (on) {
        if (!isChild_) {
            style = (style | kFrameStyles) & ~static_cast<uint32_t>(WS_POPUP);
        } else if (ClientEdge) {
            exStyle |= WS_EX_CLIENTEDGE;
        } else {
            style |= WS_BORDER;
        }
    } else {
        // WS_CAPTION includes WS_BORDER, so a child loses its plain border too.
        style &= ~kFrameStyles;
        exStyle &= ~kFrameExStyles;
        if (!isChild_) {
            style |= WS_POPUP;
        }
    }
    style_ = style;
    exStyle_ = exStyle;
    if (handle_) {
        SetWindowLongW(handle_, GWL_STYLE, static_cast<LONG>(style));
        SetWindowLongW(handle_, GWL_EXSTYLE, static_cast<LONG>(exStyle));
        ApplyStyles();
    }
}

// ---- geometry ----

Rect Control::BoundsRect() const {
    if (!handle_) {
        return bounds_;
    }
    RECT r{};
    GetWindowRect(handle_, &r);
    if (isChild_) {
        MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    }
    return Rect{r.left, r.top, r.right, r.bottom};
}

int32_t Control::Width() const {
    const Rect r = BoundsRect();
    return r.right - r.left;
}

int32_t Control::Height() const {
    const Rect r = BoundsRect();
    return r.bottom - r.top;
}

Point Control::Position() const {
    const Rect r = BoundsRect();
    return Point{r.left, r.top};
}

void Control::ApplyBounds(UINT flags) {
    if (handle_) {
        SetWindowPos(handle_, nullptr, bounds_.left, bounds_.top, bounds_.right - bounds_.left,
                     bounds_.bottom - bounds_.top, flags | kQuietPosFlags);
    }
}

void Control::SetBoundsRect(const Rect& bounds) {
    bounds_ = bounds;
    bounds_.right = std::max(bounds_.right, bounds_.left);
    bounds_.bottom = std::max(bounds_.bottom, bounds_.top);
    hasPosition_ = hasSize_ = true;
    ApplyBounds(0);
}

Control* Control::SetPosition(int32_t x, int32_t y) {
    const Rect r = BoundsRect();
    bounds_ = Rect{x, y, x + (r.right - r.left), y + (r.bottom - r.top)};
    hasPosition_ = true;
    ApplyBounds(SWP_NOSIZE);
    return this;
}

void Control::SetLeft(int32_t left) {
    SetPosition(left, Top());
}

void Control::SetTop(int32_t top) {
    SetPosition(Left(), top);
}

Control* Control::SetSize(int32_t w, int32_t h) {
    if (w <= 0 && h <= 0) {
        return this;
    }
    const Rect r = BoundsRect();
    bounds_ = r;
    if (w > 0) {
        bounds_.right = r.left + w;
    }
    if (h > 0) {
        bounds_.bottom = r.top + h;
    }
    hasSize_ = true;
    ApplyBounds(SWP_NOMOVE);
    return this;
}

void Control::SetWidth(int32_t width) {
    const Rect r = BoundsRect();
    bounds_ = r;
    bounds_.right = r.left + std::max(width, 0);
    hasSize_ = true;
    ApplyBounds(SWP_NOMOVE);
}

void Control::SetHeight(int32_t height) {
    const Rect r = BoundsRect();
    bounds_ = r;
    bounds_.bottom = r.top + std::max(height, 0);
    hasSize_ = true;
    ApplyBounds(SWP_NOMOVE);
}

Rect Control::ClientRect() {
    RECT r{0, 0, Width(), Height()};
    if (handle_) {
        GetClientRect(handle_, &r);
    }
    return Rect{r.left + MarginLeft, r.top + MarginTop, r.right - MarginRight,
                r.bottom - MarginBottom};
}

void Control::CenterOnParent() {
    ScopeLock lock(this);
    Handle();
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (isChild_ && parent_) {
        if (HWND parentWindow = parent_->Handle()) {
            GetClientRect(parentWindow, &area);
        }
    }
    SetPosition(HalfDown(area.right - area.left - Width()),
                HalfDown(area.bottom - area.top - Height()));
}

void Control::SetSizeLimit(int32_t kind, int32_t value) {
    if (kind >= 0 && kind < 4) {
        sizeLimits_[kind] = value;
    }
}

int32_t Control::SizeLimit(int32_t kind) const {
    return kind >= 0 && kind < 4 ? sizeLimits_[kind] : 0;
}

// ---- appearance ----

std::string Control::Caption() const {
    if (!handle_) {
        return caption_;
    }
    const int length = GetWindowTextLengthW(handle_);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(handle_, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return Narrow(text);
}

void Control::SetCaption(std::string_view text) {
    ScopeLock lock(this);
    caption_.assign(text);
    if (handle_) {
        SetWindowTextW(handle_, Widen(caption_).c_str());
        Invalidate();
    }
}

HICON Control::Icon() {
    if (icon_ || isChild_) {
        return icon_.Get();
    }
    if (!parent_) {
        // Not LR_SHARED: the icon belongs to this window and is destroyed with it.
        icon_.Reset(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    } else {
        Control* appWindow = this;
        while (appWindow->parent_) {
            appWindow = appWindow->parent_;
        }
        if (HICON appIcon = appWindow->Icon()) {
            icon_.Reset(CopyIcon(appIcon));
        }
    }
    return icon_.Get();
}

void Control::SetIcon(HICON icon) {
    if (icon == icon_.Get()) {
        return;
    }
    // The window lets go of the old icon before it is destroyed.
    OwnedIcon old = std::move(icon_);
    icon_.Reset(icon);
    if (handle_ && !isChild_) {
        SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
}

void Control::SetCursor(HCURSOR cursor) {
    cursor_ = cursor;
    POINT p{};
    if (handle_ && cursor && GetCursorPos(&p) && WindowFromPoint(p) == handle_) {
        ::SetCursor(cursor);
    }
}

bool Control::Visible() const {
    return (Style() & WS_VISIBLE) != 0;
}

void Control::SetVisible(bool visible) {
    ScopeLock lock(this);
    if (!handle_) {
        style_ = visible ? style_ | WS_VISIBLE : style_ & ~static_cast<uint32_t>(WS_VISIBLE);
        return;
    }
    if (visible) {
        CreateChildWindows();
    }
    ShowWindow(handle_, !visible ? SW_HIDE : isChild_ ? SW_SHOW : SW_SHOWNA);
}

bool Control::Enabled() const {
    return (Style() & WS_DISABLED) == 0;
}

void Control::SetEnabled(bool enabled) {
    style_ = enabled ? style_ & ~static_cast<uint32_t>(WS_DISABLED) : style_ | WS_DISABLED;
    if (handle_) {
        EnableWindow(handle_, enabled);
    }
}

// ---- state operations ----

void Control::CreateChildWindows() {
    ScopeLock lock(this);
    childrenPending_ = false;
    for (int32_t i = 0; children_ && i < children_->Count; ++i) {
        Control* child = children_->At<Control>(i);
        if (!child->isChild_) {
            continue;
        }
        if (child->handle_) {
            child->CreateChildWindows();
        } else {
            child->Handle();
        }
    }
}

void Control::Show() {
    ScopeLock lock(this);
    HWND window = Handle();
    if (!window) {
        style_ |= WS_VISIBLE;
        return;
    }
    CreateChildWindows();
    ShowWindow(window, SW_SHOW);
    if (!isChild_) {
        SetForegroundWindow(window);
    }
    // A child of a hidden form would pull the focus (and activation) to an invisible window.
    if (Enabled() && TabStop && IsWindowVisible(window)) {
        Focus();
    }
}

void Control::Hide() {
    SetVisible(false);
}

void Control::Focus() {
    if (isChild_) {
        Control* form = ParentForm();
        if (form != this) {
            form->currentControl_ = this;
        }
        if (HWND window = Handle()) {
            SetFocus(window);
        }
    } else if (HWND window = Handle()) {
        SetForegroundWindow(window);
    }
}

void Control::Invalidate() {
    if (handle_ && !Toolkit().terminating) {
        InvalidateRect(handle_, nullptr, TRUE);
    }
}

LRESULT Control::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = Handle();
    return window ? SendMessageW(window, message, wParam, lParam) : 0;
}

void Control::Close() {
    if (handle_) {
        PostMessageW(handle_, WM_CLOSE, 0, 0);
    }
}

void Control::Click() {
    HWND window = Handle();
    if (!window) {
        return;
    }
    if (className_ == "BUTTON" && parent_) {
        SendMessageW(parent_->Handle(), WM_COMMAND, MAKEWPARAM(creationNumber_, BN_CLICKED),
                     reinterpret_cast<LPARAM>(window));
    } else {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(window, WM_LBUTTONUP, 0, 0);
    }
}

Control* Control::ParentForm() {
    Control* c = this;
    while (c->isChild_ && c->parent_) {
        c = c->parent_;
    }
    return c;
}

int32_t Control::ChildCount() const {
    return children_ ? children_->Count : 0;
}

Control* Control::Child(int32_t index) const {
    return children_ ? children_->At<Control>(index) : nullptr;
}

int32_t Control::IndexOfChild(const Control* child) const {
    return children_ ? children_->IndexOf(child) : -1;
}

Point Control::ClientToScreen(Point point) {
    POINT p{point.x, point.y};
    if (HWND window = Handle()) {
        ::ClientToScreen(window, &p);
    }
    return Point{p.x, p.y};
}

namespace {

// A plain handler rides as the data of this one routine.
bool CallMessageProc(void* proc, Control* control, Message& message) {
    return reinterpret_cast<MessageProc>(proc)(control, message);
}

MessageHandler HandlerOfProc(MessageProc proc) {
    return {proc ? &CallMessageProc : nullptr, reinterpret_cast<void*>(proc)};
}

}  // namespace

void Control::AttachMessageHandler(MessageHandler handler) {
    if (!handler.Assigned() || HasMessageHandler(handler)) {
        return;
    }
    if (!handlers_) {
        handlers_ = NewList();
    }
    // (code, data) pairs, two items each.
    handlers_->Add(reinterpret_cast<void*>(handler.code));
    handlers_->Add(handler.data);
}

void Control::AttachMessageHandler(MessageProc proc) {
    AttachMessageHandler(HandlerOfProc(proc));
}

bool Control::HasMessageHandler(MessageHandler handler) const {
    for (int32_t i = 0; handlers_ && i + 1 < handlers_->Count; i += 2) {
        if (handlers_->Items[i] == reinterpret_cast<void*>(handler.code) &&
            handlers_->Items[i + 1] == handler.data) {
            return true;
        }
    }
    return false;
}

bool Control::HasMessageHandler(MessageProc proc) const {
    return HasMessageHandler(HandlerOfProc(proc));
}

// ---- teardown ----

void Control::DetachFromParent() {
    if (!parent_) {
        return;
    }
    Control* form = ParentForm();
    if (form->currentControl_ == this) {
        form->currentControl_ = nullptr;
    }
    if (parent_->children_) {
        parent_->children_->Remove(this);
    }
    parent_ = nullptr;
}

void Control::Destroy() {
    if (handle_) {
        ShowWindow(handle_, SW_HIDE);
    }
    RunBaseCleanup();
    // From here on the window gets only default processing: the handlers may rely on the
    // skin record, the canvas and the tools that are about to go.
    dying_ = true;
    ToolkitState& state = Toolkit();
    if (state.applet == this) {
        state.applet = nullptr;
        if (state.loopDepth > 0) {
            PostQuitMessage(0);  // the loop cannot run on without its Applet
        }
    }
    if (state.appletCurrentForm == this) {
        state.appletCurrentForm = nullptr;
    }
    if (state.creating == this) {
        state.creating = nullptr;
    }

    // Teardown order:
    // - children first, last first, each detached before its Free, so that a child kept alive
    //   by a lock (a handler of it is running) never reaches back to this freed parent;
    // - menus while the window still exists, so that they can take themselves off it;
    // - the canvas before the window: it may hold a GetDC context of it;
    // - the window before the font, brush and icon that it still uses.
    while (children_ && children_->Count > 0) {
        Control* child = children_->At<Control>(children_->Count - 1);
        children_->Delete(children_->Count - 1);
        child->parent_ = nullptr;
        Free(child);
    }
    PointerList* menus = std::exchange(Menus, nullptr);  // a menu going finds no list to leave
    FreeWithItems(menus);
    if (Accelerators) {
        DestroyAcceleratorTable(Accelerators);
        Accelerators = nullptr;
    }
    Free(canvas_);
    canvas_ = nullptr;
    if (handle_) {
        DestroyWindow(handle_);  // WM_NCDESTROY resets handle_
        if (handle_) {
            RemovePropW(handle_, kSelfProperty);
            handle_ = nullptr;
        }
    }
    ReleaseUnusedWindowClasses();
    Free(font_);
    Free(brush_);
    font_ = brush_ = nullptr;
    Free(SkinData);
    SkinData = nullptr;
    icon_.Reset();
    DetachFromParent();
    Free(children_);
    Free(handlers_);
    children_ = handlers_ = nullptr;
    ReleaseMemory();
}

}  // namespace zam
