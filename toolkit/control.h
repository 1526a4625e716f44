#pragma once
// Control: one object type for every window of the program (the application window, forms and
// child controls). It keeps geometry, colours and text without a window, creates its Win32
// window on demand and turns window messages into events. The program's texts are
// Windows-1251; the window layer converts them and calls only the W functions, so Russian
// shows correctly whatever the system code page.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/canvas.h"
#include "toolkit/event.h"
#include "toolkit/gdi.h"
#include "toolkit/geometry.h"
#include "toolkit/object.h"
#include "toolkit/pointer_list.h"

namespace zam {

class Control;
class GraphicTool;

// A window message as handlers see it. Result is what the window procedure returns when a
// handler reports the message handled; a handler may also rewrite WParam and LParam for the
// steps after it.
struct Message {
    HWND Window;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// Returns true when it handled the message; Result is then returned to the system.
using MessageProc = bool (*)(Control* control, Message& message);
// A message handler bound to its object: Bind<&Type::OnMessage>(object).
using MessageHandler = BoundCall<bool, Control*, Message&>;

// Shift-state bits of mouse and keyboard events.
constexpr uint32_t kShiftKey = 4;    // MK_SHIFT
constexpr uint32_t kControlKey = 8;  // MK_CONTROL
constexpr uint32_t kAltKey = 0x20;

struct MouseEventData {
    uint8_t Button = 0;        // 1 left, 2 right, 3 middle, 0 for moves and the wheel
    uint8_t StopHandling = 0;  // a handler sets it to mark the message handled
    uint32_t Shift = 0;        // MK_ bits of wParam (buttons, Shift, Control) plus kAltKey
    int16_t X = 0;             // client coordinates
    int16_t Y = 0;
    int16_t WheelDelta = 0;  // WM_MOUSEWHEEL only, in WHEEL_DELTA units
};

using NotifyEvent = Event<Control*>;
using PaintEvent = Event<Control*, HDC>;
using MouseEvent = Event<Control*, MouseEventData&>;
// key: a virtual-key code, or for OnChar the character's Windows-1251 code. The handler may
// replace it; 0 consumes the message. shift: kShiftKey, kControlKey, kAltKey.
using KeyEvent = Event<Control*, int32_t&, uint32_t>;
// accept starts true; clearing it refuses the close.
using CloseEvent = Event<Control*, bool&>;
// Set handled to end the dispatch with message.Result.
using MessageEvent = Event<Control*, Message&, bool&>;

// The message families whose dispatchers an event slot attaches when it is set.
enum class EventFamily : uint8_t { None, Mouse, Hover, Keyboard, Paint, ShowHide, Move };

void AttachDispatcher(Control* control, EventFamily family);

// An event slot of a control: assigning an event stores it and attaches the dispatcher of its
// message family (once), so a control inspects only the messages it has events for. One handler
// per slot, as for any Slot.
template <class... Args>
class EventSlot : public Slot<Args...> {
public:
    EventSlot(Control* owner, EventFamily family) : owner_(owner), family_(family) {}
    EventSlot(const EventSlot&) = delete;
    EventSlot& operator=(const EventSlot&) = delete;

    EventSlot& operator=(const Event<Args...>& event) {
        Slot<Args...>::operator=(event);
        if (event.Assigned()) {
            AttachDispatcher(owner_, family_);
        }
        return *this;
    }

private:
    Control* owner_;
    EventFamily family_;
};

// SetSizeLimit kinds.
enum SizeLimitKind : int32_t {
    kMinWidth = 0,
    kMinHeight = 1,
    kMaxWidth = 2,
    kMaxHeight = 3,
};

constexpr COLORREF kDefaultControlColor = 0x8000000F;  // system button face
constexpr COLORREF kDefaultTextColor = 0x80000008;     // system window text

class Control : public ToolkitObject, public CanvasOwner {
public:
    // ---- identity ----
    // The window, created now when there is none (null when creation failed).
    HWND Handle();
    // The window if it exists; never creates one.
    HWND WindowHandle() const { return handle_; }
    Control* Parent() const { return parent_; }
    // A WS_CHILD control, as opposed to a top-level window.
    bool IsChildControl() const { return isChild_; }
    // "Form" for forms, otherwise the system class ("BUTTON", "STATIC", "EDIT").
    const std::string& ClassName() const { return className_; }
    uint32_t ClassStyle() const { return classStyle_; }
    uint32_t Style() const;
    uint32_t ExStyle() const;
    // Applied to a created window at once (the frame is recomputed).
    void SetStyle(uint32_t style);
    void SetExStyle(uint32_t exStyle);
    // Position among the controls of its form, 1 for the first; 0 for top-level windows.
    int32_t CreationNumber() const { return creationNumber_; }

    // ---- geometry: in the parent's client coordinates, screen ones for top-level windows;
    // kept while there is no window and applied at creation ----
    int32_t Left() const { return BoundsRect().left; }
    int32_t Top() const { return BoundsRect().top; }
    int32_t Width() const;
    int32_t Height() const;
    Point Position() const;
    Rect BoundsRect() const;
    void SetLeft(int32_t left);
    void SetTop(int32_t top);
    // Each keeps the other sides where they are; values below 0 count as 0.
    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
    void SetBoundsRect(const Rect& bounds);
    Control* SetPosition(int32_t x, int32_t y);
    // Sets the width when w > 0 and the height when h > 0.
    Control* SetSize(int32_t w, int32_t h);
    // The client rectangle moved in by the margins.
    Rect ClientRect();
    // Centres in the parent's client area (a child) or on the screen (a top-level window).
    void CenterOnParent();
    int32_t MarginLeft = 0;
    int32_t MarginTop = 0;
    int32_t MarginRight = 0;
    int32_t MarginBottom = 0;
    // Stored for the owner of the control; the toolkit does not interpret it.
    int32_t Border = 2;

    // Minimum and maximum tracking size served through WM_GETMINMAXINFO; values of 0 or less
    // are not served (the slots are also free storage for their owner).
    void SetSizeLimit(int32_t kind, int32_t value);
    int32_t SizeLimit(int32_t kind) const;

    // ---- appearance ----
    COLORREF Color() const { return color_; }
    // Repaints only when the colour changes.
    void SetColor(COLORREF color);
    COLORREF TextColor() const { return textColor_; }
    void SetTextColor(COLORREF color);
    // Created on first use; a change is sent to the window (WM_SETFONT).
    GraphicTool* Font();
    // The control's background brush, created on first use with Color; a change of its colour
    // becomes the control's Color.
    GraphicTool* ControlBrush();
    std::string Caption() const;
    void SetCaption(std::string_view text);
    // Without an icon of its own, the application window (a form without parent) loads the
    // "MAINICON" resource and other top-level windows copy the application window's icon.
    HICON Icon();
    // Takes ownership of the icon and destroys the one it replaces.
    void SetIcon(HICON icon);
    HCURSOR Cursor() const { return cursor_; }
    // Shown over the client area; not owned (use shared cursors).
    void SetCursor(HCURSOR cursor);
    bool Visible() const;
    // Shows or hides without bringing the window forward.
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool TabStop = false;
    // WM_CTLCOLOR* answered with a transparent background.
    bool Transparent = false;
    // HasBorder(true) gives a child WS_EX_CLIENTEDGE instead of WS_BORDER.
    bool ClientEdge = false;

    // Created on first use. While the control paints, it draws on the paint context.
    zam::Canvas* Canvas();
    // The region being painted, during OnPaint only; null means the whole client area.
    HRGN UpdateRegion() const { return updateRegion_; }

    // ---- state operations ----
    void HasCaption(bool on);
    void HasBorder(bool on);
    // Creates the window when needed, makes it visible, brings a top-level window to the
    // foreground and gives the focus to an enabled tab stop.
    void Show();
    void Hide();
    // A child becomes its form's current control and gets the focus; a top-level window is
    // brought to the foreground.
    void Focus();
    // The child of this form that gets the focus when the form does.
    Control* CurrentControl() const { return currentControl_; }
    // Repaints everything, erasing; nothing while the application terminates.
    void Invalidate();
    // SendMessageW to the window, created first when needed.
    LRESULT Perform(UINT message, WPARAM wParam, LPARAM lParam);
    // Posts WM_CLOSE.
    void Close();
    // A button notifies its parent of a click; any other control gets a left press and release.
    void Click();
    Control* ParentForm();
    int32_t ChildCount() const;
    // Null for an index outside 0..ChildCount() - 1.
    Control* Child(int32_t index) const;
    int32_t IndexOfChild(const Control* child) const;
    Point ClientToScreen(Point point);
    // Hover tracking: OnMouseEnter, OnMouseLeave and WM_MOUSELEAVE.
    void TrackMouse(bool on);
    // Replaces the client-rectangle test of hover tracking; null restores it.
    bool (*HoverTest)(Control* control, Point clientPoint) = nullptr;

    // ---- events ----
    EventSlot<Control*, HDC> OnPaint{this, EventFamily::Paint};
    EventSlot<Control*, MouseEventData&> OnMouseDown{this, EventFamily::Mouse};
    EventSlot<Control*, MouseEventData&> OnMouseUp{this, EventFamily::Mouse};
    EventSlot<Control*, MouseEventData&> OnMouseMove{this, EventFamily::Mouse};
    EventSlot<Control*, MouseEventData&> OnMouseDblClk{this, EventFamily::Mouse};
    EventSlot<Control*, MouseEventData&> OnMouseWheel{this, EventFamily::Mouse};
    EventSlot<Control*, int32_t&, uint32_t> OnKeyDown{this, EventFamily::Keyboard};
    EventSlot<Control*, int32_t&, uint32_t> OnKeyUp{this, EventFamily::Keyboard};
    EventSlot<Control*, int32_t&, uint32_t> OnChar{this, EventFamily::Keyboard};
    // Setting either turns hover tracking on.
    EventSlot<Control*> OnMouseEnter{this, EventFamily::Hover};
    EventSlot<Control*> OnMouseLeave{this, EventFamily::Hover};
    // Once the window has become visible (hidden), and only when it was not before.
    EventSlot<Control*> OnShow{this, EventFamily::ShowHide};
    EventSlot<Control*> OnHide{this, EventFamily::ShowHide};
    EventSlot<Control*> OnMove{this, EventFamily::Move};
    EventSlot<Control*, bool&> OnClose{this, EventFamily::None};
    EventSlot<Control*> OnClick{this, EventFamily::None};
    // Sees every message of the control before its attached handlers; the application
    // window's OnMessage also sees the messages of all other windows while the loop runs.
    EventSlot<Control*, Message&, bool&> OnMessage{this, EventFamily::None};
    // A close that goes through (OnClose accepted) frees the control, its window with it,
    // instead of only destroying the window. Not for the Applet and the main form: their
    // close ends the message loop.
    bool FreeOnClose = false;

    // Appends the handler unless it is already attached; handlers run newest first.
    void AttachMessageHandler(MessageHandler handler);
    void AttachMessageHandler(MessageProc proc);
    bool HasMessageHandler(MessageHandler handler) const;
    bool HasMessageHandler(MessageProc proc) const;

    // ---- extension points, all empty by default ----
    // Called once the window exists, before the font is sent and the children are created.
    void (*CreationHook)(Control* control) = nullptr;
    // Called after every message of the control, except while the application terminates.
    void (*AfterMessage)(Control* control, const Message& message) = nullptr;
    // Offered every queued message while this control is the Applet; true consumes it.
    bool (*MessageFilter)(MSG& message) = nullptr;
    // Keyboard and dialog navigation, inherited by the children created under this control.
    MessageProc Navigation = nullptr;

    // One record for the owner of the control (the skin), freed with the control.
    ToolkitObject* SkinData = nullptr;
    // Menus of this control (owned, freed with it before its window) and its accelerators.
    PointerList* Menus = nullptr;
    HACCEL Accelerators = nullptr;

    // ---- CanvasOwner ----
    HDC AcquireCanvasDC(bool& release) override;
    void ReleaseCanvasDC(HDC dc) override;
    COLORREF OwnerColor() override { return color_; }
    COLORREF OwnerTextColor() override { return textColor_; }
    GraphicTool* OwnerBrush() override { return ControlBrush(); }
    GraphicTool* OwnerFont() override { return Font(); }

    // Made by the creation functions below (NewObject), ended by Free.
    Control();

protected:
    ~Control() override;
    void Destroy() override;

private:
    friend struct ControlInternals;
    friend Control* NewForm(Control* parent, std::string_view caption);
    friend Control* NewChildControl(Control* parent, std::string_view className, uint32_t style,
                                    uint32_t exStyle);
    friend Control* NewEditBox(Control* parent, uint32_t options);
    friend void AttachDispatcher(Control* control, EventFamily family);

    void ApplyBounds(UINT flags);
    // Makes the windows of child controls that have none (they were added to a created
    // window), with their own children.
    void CreateChildWindows();
    void ApplyStyles();
    void DetachFromParent();
    static void BrushChanged(void* control, GraphicTool* tool);
    static void FontChanged(void* control, GraphicTool* tool);
    void SendFont();
    // The background brush's handle (WM_CTLCOLOR* answers, the form's erase).
    HBRUSH BrushHandle();

    HWND handle_ = nullptr;
    Control* parent_ = nullptr;
    PointerList* children_ = nullptr;
    bool isChild_ = false;
    std::string className_;
    uint32_t style_ = 0;
    uint32_t exStyle_ = 0;
    uint32_t classStyle_ = 0;
    int32_t creationNumber_ = 0;
    int32_t lastCreationNumber_ = 0;  // of a form: the last number given to its controls
    // Telling apart a live control from a new one allocated where a freed one was.
    uint32_t serial_ = 0;

    Rect bounds_{0, 0, 0, 0};
    // A top-level window without these gets CW_USEDEFAULT.
    bool hasPosition_ = false;
    bool hasSize_ = false;
    int32_t sizeLimits_[4] = {0, 0, 0, 0};

    COLORREF color_ = kDefaultControlColor;
    COLORREF textColor_ = kDefaultTextColor;
    GraphicTool* font_ = nullptr;
    GraphicTool* brush_ = nullptr;
    std::string caption_;
    OwnedIcon icon_;
    HCURSOR cursor_ = nullptr;

    zam::Canvas* canvas_ = nullptr;
    HDC paintDc_ = nullptr;             // the context of the paint in progress
    std::optional<WindowDC> canvasDc_;  // the canvas's context outside a paint
    HWND canvasDcWindow_ = nullptr;
    HRGN updateRegion_ = nullptr;

    PointerList* handlers_ = nullptr;
    WNDPROC defaultProc_ = nullptr;
    Control* currentControl_ = nullptr;
    WPARAM sizeType_ = SIZE_RESTORED;
    int shownAs_ = 0;     // how the window was shown before its owner hid it (SW_ value)
    bool shown_ = false;  // visibility as the show/hide dispatcher last saw it
    bool trackMouse_ = false;
    bool mouseInside_ = false;
    bool dying_ = false;  // being destroyed: no more handlers run for it
    bool creating_ = false;
    bool childrenPending_ = false;  // kCreateChildrenMessage is on its way
    int32_t dispatchDepth_ = 0;     // nested window-procedure calls for this control
};

// ---- creation ----
// A top-level window of the toolkit's form class (CS_DBLCLKS). A form erases its background
// with its brush, hands the focus to its current control and ends the process on a session end.
Control* NewForm(Control* parent, std::string_view caption);
// A child window of a system class, with WS_CHILD added to the style. Under a parent that
// has a window, its own is made when the parent is shown, when the queue is next processed, or
// when asked for (Handle) — whichever comes first; until then its styles may still change.
Control* NewChildControl(Control* parent, std::string_view className, uint32_t style,
                         uint32_t exStyle = 0);
// A "STATIC" panel: edge 0 a raised frame, 1 sunken, 2 or more none.
Control* NewPanel(Control* parent, int32_t edgeStyle);

// NewEditBox options.
enum EditOption : uint32_t {
    kEditNoHScroll = 1u << 0,
    kEditNoVScroll = 1u << 1,
    kEditLowerCase = 1u << 2,
    kEditMultiline = 1u << 3,
    kEditNoHideSel = 1u << 4,
    kEditOemConvert = 1u << 5,
    kEditPassword = 1u << 6,
    kEditReadOnly = 1u << 7,
    kEditUpperCase = 1u << 8,
    kEditWantReturn = 1u << 9,
};
// The window style of an edit box with these options.
uint32_t EditBoxStyle(uint32_t options);
// An "EDIT" child, 100 x 22 (200 x 200 when multi-line).
Control* NewEditBox(Control* parent, uint32_t options);

// The control linked to a toolkit window, or null.
Control* ControlOf(HWND window);

// Live counts, for leak tests: controls, and the toolkit's registered window classes.
int LiveControls();
int RegisteredWindowClasses();
// Unregisters the window classes that no window uses any more.
void ReleaseUnusedWindowClasses();

}  // namespace zam
