// Message dispatch as the application sees it: the handler chain, mouse and keyboard events
// (Alt in the shift state, Russian characters in Windows-1251), paint with its update region
// and context, show/hide/move, hover, clicks, cursors and colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/windows/control_test_support.h"
#include "toolkit/application.h"
#include "toolkit/canvas.h"
#include "toolkit/control.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

using test::ControlTest;
using test::FreeAtExit;
using test::Printed;
using test::Pump;

using ControlEvents = ControlTest;

constexpr UINT kProbe = WM_APP + 7;

// A shown, borderless form at a known place, freed with the test.
class ShownForm {
public:
    explicit ShownForm(int width = 200, int height = 150) : form_(NewForm(nullptr, "Проба")) {
        form_->HasBorder(false);
        form_->SetPosition(20, 20)->SetSize(width, height);
    }
    ~ShownForm() { Free(form_); }
    Control* operator->() const { return form_; }
    Control* get() const { return form_; }
    // Only the keyboard tests activate the window (see ShowQuietly).
    void Show(bool activate = false) {
        if (activate) {
            form_->Show();
            UpdateWindow(form_->Handle());
            Pump();
        } else {
            test::ShowQuietly(form_);
        }
    }

private:
    Control* form_;
};

std::vector<int> calls;

template <int N>
bool Recorder(Control*, Message& m) {
    if (m.Msg == kProbe) {
        calls.push_back(N);
    }
    return false;
}

bool Consumer(Control*, Message& m) {
    if (m.Msg == kProbe) {
        calls.push_back(99);
        m.Result = 1234;
        return true;
    }
    return false;
}

TEST_F(ControlEvents, HandlersRunNewestFirstEachOnceAndAConsumerEndsTheChain) {
    ShownForm form;
    calls.clear();
    form->AttachMessageHandler(Recorder<1>);
    form->AttachMessageHandler(Recorder<2>);
    form->AttachMessageHandler(Recorder<1>);  // already there: not again
    EXPECT_EQ(form->Perform(kProbe, 0, 0), 0);
    EXPECT_EQ(calls, (std::vector<int>{2, 1}));

    calls.clear();
    form->AttachMessageHandler(Consumer);
    EXPECT_EQ(form->Perform(kProbe, 0, 0), 1234);
    EXPECT_EQ(calls, (std::vector<int>{99}));

    // OnMessage comes before the chain and may end it too.
    calls.clear();
    form->OnMessage = MakeEvent(
        nullptr, +[](void*, Control*, Message& m, bool& handled) {
            if (m.Msg == kProbe && m.WParam == 1) {
                m.Result = 7;
                handled = true;
            }
        });
    EXPECT_EQ(form->Perform(kProbe, 1, 0), 7);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(form->Perform(kProbe, 0, 0), 1234);
}

struct MouseLog {
    std::vector<std::string> events;
    MouseEventData last;
    bool stop = false;
};

void LogMouse(void* log, const char* name, MouseEventData& e) {
    auto* l = static_cast<MouseLog*>(log);
    l->events.push_back(name);
    l->last = e;
    e.StopHandling = l->stop;
}

TEST_F(ControlEvents, MouseMessagesFillTheRecordWithButtonShiftAndSignedPosition) {
    ShownForm form;
    MouseLog log;
    form->OnMouseDown = MakeEvent<Control*, MouseEventData&>(
        &log, +[](void* l, Control*, MouseEventData& e) { LogMouse(l, "down", e); });
    form->OnMouseUp = MakeEvent<Control*, MouseEventData&>(
        &log, +[](void* l, Control*, MouseEventData& e) { LogMouse(l, "up", e); });
    form->OnMouseMove = MakeEvent<Control*, MouseEventData&>(
        &log, +[](void* l, Control*, MouseEventData& e) { LogMouse(l, "move", e); });
    form->OnMouseDblClk = MakeEvent<Control*, MouseEventData&>(
        &log, +[](void* l, Control*, MouseEventData& e) { LogMouse(l, "dbl", e); });
    form->OnMouseWheel = MakeEvent<Control*, MouseEventData&>(
        &log, +[](void* l, Control*, MouseEventData& e) { LogMouse(l, "wheel", e); });

    form->Perform(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(-5, 7));
    EXPECT_EQ(log.last.Button, 2);
    EXPECT_EQ(log.last.Shift, static_cast<uint32_t>(MK_RBUTTON | MK_SHIFT));
    EXPECT_EQ(log.last.X, -5);
    EXPECT_EQ(log.last.Y, 7);
    form->Perform(WM_MBUTTONUP, MK_CONTROL, MAKELPARAM(3, 4));
    EXPECT_EQ(log.last.Button, 3);
    EXPECT_EQ(log.last.Shift, static_cast<uint32_t>(MK_CONTROL));
    form->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 11));
    EXPECT_EQ(log.last.Button, 0);
    form->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    EXPECT_EQ(log.last.Button, 1);
    // The wheel reports screen coordinates; handlers get client ones and the delta.
    form->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                  MAKELPARAM(20 + 15, 20 + 25));
    EXPECT_EQ(log.last.Button, 0);
    EXPECT_EQ(log.last.X, 15);
    EXPECT_EQ(log.last.Y, 25);
    EXPECT_EQ(log.last.WheelDelta, -WHEEL_DELTA);
    // The X-button state bit (0x20) would read as Alt: it is dropped.
    form->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_XBUTTON1, 0);
    EXPECT_EQ(log.last.Shift, static_cast<uint32_t>(MK_LBUTTON));
    EXPECT_EQ(log.events, (std::vector<std::string>{"down", "up", "move", "dbl", "wheel", "down"}));

    // StopHandling marks the message handled: the control's own processing does not see it
    // (a notifying static reports a click on the press).
    Control* panel = NewPanel(form.get(), 2);
    int clicks = 0;
    panel->OnClick = MakeEvent(
        &clicks, +[](void* n, Control*) { ++*static_cast<int*>(n); });
    MouseLog stopper;
    stopper.stop = true;
    panel->OnMouseDown = MakeEvent<Control*, MouseEventData&>(
        &stopper, +[](void* l, Control*, MouseEventData& e) { LogMouse(l, "down", e); });
    panel->Click();
    EXPECT_EQ(clicks, 0);
    stopper.stop = false;
    panel->Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlEvents, AltHeldDuringAPressAddsTwentyHexToShift) {
    ShownForm form;
    MouseLog log;
    form->OnMouseDown = MakeEvent<Control*, MouseEventData&>(
        &log, +[](void* l, Control*, MouseEventData& e) { LogMouse(l, "down", e); });
    int32_t keyShift = -1;
    form->OnKeyDown = MakeEvent<Control*, int32_t&, uint32_t>(
        &keyShift, +[](void* s, Control*, int32_t&, uint32_t shift) {
            *static_cast<int32_t*>(s) = static_cast<int32_t>(shift);
        });

    BYTE saved[256] = {};
    ASSERT_TRUE(GetKeyboardState(saved));
    BYTE state[256];
    memcpy(state, saved, sizeof state);
    state[VK_MENU] = state[VK_LMENU] = 0x80;
    ASSERT_TRUE(SetKeyboardState(state));
    form->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(4, 4));
    form->Perform(WM_KEYDOWN, 'A', 0);
    state[VK_SHIFT] = 0x80;
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    form->Perform(WM_KEYDOWN, 'A', 0);
    const int32_t allKeys = keyShift;
    SetKeyboardState(saved);

    EXPECT_EQ(log.last.Shift, static_cast<uint32_t>(MK_LBUTTON | MK_CONTROL | kAltKey));
    EXPECT_EQ(allKeys, static_cast<int32_t>(kShiftKey | kControlKey | kAltKey));
    form->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(log.last.Shift, static_cast<uint32_t>(MK_LBUTTON)) << "Alt released";

    // The same with real input: Alt pressed through the system's input queue.
    INPUT alt[2] = {};
    alt[0].type = alt[1].type = INPUT_KEYBOARD;
    alt[0].ki.wVk = alt[1].ki.wVk = VK_MENU;
    alt[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(1, &alt[0], sizeof(INPUT)), 1u);
    Pump();  // the key message updates the thread's key state
    form->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    const uint32_t withRealAlt = log.last.Shift;
    SendInput(1, &alt[1], sizeof(INPUT));
    Pump();
    EXPECT_EQ(withRealAlt, static_cast<uint32_t>(MK_LBUTTON | kAltKey));
}

struct KeyLog {
    std::vector<int32_t> keys;
    int32_t replaceWith = -1;
};

void LogKey(void* log, Control*, int32_t& key, uint32_t) {
    auto* l = static_cast<KeyLog*>(log);
    l->keys.push_back(key);
    if (l->replaceWith >= 0) {
        key = l->replaceWith;
    }
}

TEST_F(ControlEvents, TypedCharactersReachOnCharAsTheirCp1251Codes) {
    ShownForm form;
    Control* edit = NewEditBox(form.get(), 0);
    form.Show(true);
    edit->Focus();
    ASSERT_EQ(GetFocus(), edit->WindowHandle());
    KeyLog log;
    edit->OnChar = MakeEvent(&log, LogKey);

    edit->Perform(WM_CHAR, 0x0436, 0);  // ж
    edit->Perform(WM_CHAR, 0x0401, 0);  // Ё
    edit->Perform(WM_CHAR, 'q', 0);
    edit->Perform(WM_CHAR, 0x4E2D, 0);  // no 1251 code: no handler sees it
    edit->Perform(WM_CHAR, 0xD83D, 0);  // half a surrogate pair: neither
    EXPECT_EQ(log.keys, (std::vector<int32_t>{0xE6, 0xA8, 'q'}));
    EXPECT_EQ(edit->Caption().substr(0, 4), "жЁq?") << "the edit box still got the characters";

    // A replaced character goes on converted back; 0 consumes it.
    SetWindowTextW(edit->WindowHandle(), L"");
    log.replaceWith = 0xC6;  // Ж
    edit->Perform(WM_CHAR, 0x0436, 0);
    log.replaceWith = 0;
    edit->Perform(WM_CHAR, 'z', 0);
    wchar_t text[16] = {};
    GetWindowTextW(edit->WindowHandle(), text, 16);
    EXPECT_STREQ(text, L"Ж");
}

// Types through the system's input queue, as a keyboard would.
void Type(const std::wstring& text) {
    std::vector<INPUT> keys(2 * text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        keys[2 * i].type = keys[2 * i + 1].type = INPUT_KEYBOARD;
        keys[2 * i].ki.wScan = keys[2 * i + 1].ki.wScan = text[i];
        keys[2 * i].ki.dwFlags = KEYEVENTF_UNICODE;
        keys[2 * i + 1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());
    Pump();
}

TEST_F(ControlEvents, TypingIntoAnUpperCaseBoxGivesCp1251CodesAndCapitals) {
    ShownForm form;
    Control* edit = NewEditBox(form.get(), kEditUpperCase);
    form.Show(true);
    edit->Focus();
    ASSERT_EQ(GetFocus(), edit->WindowHandle());
    KeyLog log;
    edit->OnChar = MakeEvent(&log, LogKey);

    // The system hands a W window "ж" as WM_CHAR 0x0436; OnChar sees its 1251 code.
    Type(L"жaё");
    EXPECT_EQ(log.keys, (std::vector<int32_t>{0xE6, 'a', 0xB8}));
    EXPECT_EQ(edit->Caption(), "ЖAЁ");
    wchar_t text[8] = {};
    GetWindowTextW(edit->WindowHandle(), text, 8);
    EXPECT_STREQ(text, L"ЖAЁ");
}

TEST_F(ControlEvents, KeysReachTheDefaultProcessingOnlyWithTheFocusAndTabIsSwallowed) {
    ShownForm form;
    Control* edit = NewEditBox(form.get(), kEditMultiline);
    Control* other = NewEditBox(form.get(), 0);
    other->SetPosition(0, 100);
    form.Show(true);
    edit->Focus();
    EXPECT_EQ(form->CurrentControl(), edit);

    KeyLog seen;
    other->OnChar = MakeEvent(&seen, LogKey);
    other->Perform(WM_CHAR, 'x', 0);  // not focused: the handler sees it, the box does not
    EXPECT_EQ(seen.keys, (std::vector<int32_t>{'x'}));
    EXPECT_EQ(other->Caption(), "");

    edit->Perform(WM_CHAR, 'a', 0);
    edit->Perform(WM_CHAR, '\t', 0);
    edit->Perform(WM_CHAR, 'b', 0);
    EXPECT_EQ(edit->Caption(), "ab");

    // The global key hook comes after the handlers and may take the key from the control.
    SetGlobalKeyHook([](Control*, Message& m) { return m.Msg == WM_CHAR && m.WParam == 'k'; });
    edit->Perform(WM_CHAR, 'k', 0);
    SetGlobalKeyHook(nullptr);
    EXPECT_EQ(edit->Caption(), "ab");

    KeyLog down;
    down.replaceWith = 0;
    edit->OnKeyDown = MakeEvent(&down, LogKey);
    edit->Perform(WM_KEYDOWN, VK_HOME, 0);
    edit->Perform(WM_CHAR, 'c', 0);
    EXPECT_EQ(down.keys, (std::vector<int32_t>{VK_HOME}));
    EXPECT_EQ(edit->Caption(), "abc") << "a consumed Home did not move the caret";
}

TEST_F(ControlEvents, CaptionsCrossAsUnicodeWhateverTheCodePage) {
    Control* form = NewForm(nullptr, "Шифротекст");
    FreeAtExit release(form);
    EXPECT_EQ(form->Caption(), "Шифротекст");
    HWND window = form->Handle();
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"Шифротекст");

    form->SetCaption("Открытый текст: «Ёё» №1");
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"Открытый текст: «Ёё» №1");
    EXPECT_EQ(form->Caption(), "Открытый текст: «Ёё» №1");

    // Text typed or set by anyone else comes back as Windows-1251.
    Control* edit = NewEditBox(form, 0);
    SetWindowTextW(edit->Handle(), L"съешь ещё \u03A9");
    EXPECT_EQ(edit->Caption(), "съешь ещё ?");
    edit->SetCaption("");
    EXPECT_EQ(edit->Caption(), "");
}

TEST_F(ControlEvents, OnShowAndOnHideFollowVisibilityChangesOnly) {
    ShownForm form;
    Control* panel = NewPanel(form.get(), 2);
    form.Show();
    std::vector<std::string> log;
    panel->OnShow = MakeEvent(
        &log, +[](void* l, Control* c) {
            static_cast<std::vector<std::string>*>(l)->push_back(c->Visible() ? "show" : "show?");
        });
    panel->OnHide = MakeEvent(
        &log, +[](void* l, Control* c) {
            static_cast<std::vector<std::string>*>(l)->push_back(c->Visible() ? "hide?" : "hide");
        });
    panel->Show();  // already visible
    panel->Hide();
    panel->Hide();
    panel->SetVisible(true);
    panel->SetVisible(true);
    EXPECT_EQ(log, (std::vector<std::string>{"hide", "show"}));

    int moves = 0;
    panel->OnMove = MakeEvent(
        &moves, +[](void* n, Control*) { ++*static_cast<int*>(n); });
    panel->SetPosition(9, 9);
    panel->SetSize(20, 0);  // a resize is no move
    EXPECT_EQ(moves, 1);
}

TEST_F(ControlEvents, HoverTrackingReportsEnteringAndLeaving) {
    ShownForm form;
    Control* panel = NewPanel(form.get(), 2);
    panel->SetSize(50, 50);
    form.Show();
    std::string log;
    panel->OnMouseEnter = MakeEvent(
        &log, +[](void* l, Control*) { *static_cast<std::string*>(l) += "E"; });
    panel->OnMouseLeave = MakeEvent(
        &log, +[](void* l, Control*) { *static_cast<std::string*>(l) += "L"; });
    panel->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    panel->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));
    panel->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(60, 10));  // outside, as under a capture
    panel->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    panel->Perform(WM_MOUSELEAVE, 0, 0);
    panel->Perform(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(log, "ELEL");

    panel->TrackMouse(false);
    panel->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(log, "ELEL");
}

TEST_F(ControlEvents, ClickReachesOnClickThroughTheParentsCommand) {
    ShownForm form;
    Control* button = NewChildControl(form.get(), "BUTTON", WS_VISIBLE | BS_PUSHBUTTON);
    Control* panel = NewPanel(form.get(), 2);
    panel->SetPosition(80, 0);
    form.Show();
    std::string log;
    button->OnClick = MakeEvent(
        &log, +[](void* l, Control*) { *static_cast<std::string*>(l) += "B"; });
    panel->OnClick = MakeEvent(
        &log, +[](void* l, Control*) { *static_cast<std::string*>(l) += "P"; });
    button->Click();
    panel->Click();  // a press and release: the notifying static reports the click
    EXPECT_EQ(log, "BP");

    // A real click on the button, through the system's input.
    const Point corner = button->ClientToScreen(Point{5, 5});
    SetCursorPos(corner.x, corner.y);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    Pump();
    Sleep(50);
    Pump();
    EXPECT_EQ(log, "BPB");
}

TEST_F(ControlEvents, SettingTheSameColourDoesNotRepaint) {
    ShownForm form;
    form.Show();
    static int paints;
    paints = 0;
    form->AttachMessageHandler(+[](Control*, Message& m) {
        if (m.Msg == WM_PAINT) {
            ++paints;
        }
        return false;
    });
    form->SetColor(form->Color());
    Pump();
    EXPECT_EQ(paints, 0);
    form->SetColor(RGB(1, 2, 3));
    Pump();
    EXPECT_EQ(paints, 1);
    form->SetColor(RGB(1, 2, 3));
    form->SetTextColor(form->TextColor());
    Pump();
    EXPECT_EQ(paints, 1);
}

TEST_F(ControlEvents, PaintHandsTheUpdateRegionAndTheGivenContextToOnPaint) {
    ShownForm form(60, 40);
    form->SetColor(RGB(255, 0, 0));
    struct Seen {
        int paints = 0;
        bool hadRegion = false;
        RECT box{};
    } seen;
    form->OnPaint = MakeEvent(
        &seen, +[](void* s, Control* c, HDC dc) {
            auto* seen = static_cast<Seen*>(s);
            ++seen->paints;
            seen->hadRegion = c->UpdateRegion() != nullptr;
            if (c->UpdateRegion()) {
                GetRgnBox(c->UpdateRegion(), &seen->box);
            }
            RECT square{10, 10, 20, 20};
            HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
            FillRect(dc, &square, blue);
            DeleteObject(blue);
        });
    form.Show();
    ASSERT_GE(seen.paints, 1);

    RECT part{5, 6, 15, 16};
    InvalidateRect(form->WindowHandle(), &part, FALSE);
    UpdateWindow(form->WindowHandle());
    EXPECT_TRUE(seen.hadRegion);
    EXPECT_EQ(seen.box.left, 5);
    EXPECT_EQ(seen.box.bottom, 16);
    EXPECT_EQ(form->UpdateRegion(), nullptr) << "only during the paint";

    // WM_PRINT paints into the given context: the erased background and the handler's square.
    Printed picture(form->WindowHandle(), 60, 40);
    EXPECT_FALSE(seen.hadRegion);
    EXPECT_EQ(picture.Pixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(picture.Pixel(15, 15), RGB(0, 0, 255));
    EXPECT_EQ(picture.Pixel(25, 25), RGB(255, 0, 0));

    Printed noErase(form->WindowHandle(), 60, 40, PRF_CLIENT);
    EXPECT_EQ(noErase.Pixel(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(noErase.Pixel(15, 15), RGB(0, 0, 255));
}

TEST_F(ControlEvents, TheCanvasDrawsOnThePaintContextWithTheControlsBrush) {
    ShownForm form(60, 40);
    form->SetColor(RGB(0, 0, 255));
    Control* panel = NewPanel(form.get(), 2);
    panel->SetPosition(10, 10)->SetSize(20, 20);
    panel->SetColor(RGB(0, 160, 0));
    panel->OnPaint = MakeEvent(
        nullptr, +[](void*, Control* c, HDC) {
            // No brush of its own: the canvas fills with the control's brush.
            c->Canvas()->FillRect(Rect{0, 0, 20, 20});
        });
    form.Show();
    Printed picture(panel->WindowHandle(), 20, 20);
    EXPECT_EQ(picture.Pixel(5, 5), RGB(0, 160, 0));

    // The brush's colour is the control's Color, both ways, and a change repaints.
    static int paints;
    paints = 0;
    panel->AttachMessageHandler(+[](Control*, Message& m) {
        paints += m.Msg == WM_PAINT;
        return false;
    });
    panel->ControlBrush()->SetColor(RGB(200, 0, 0));
    EXPECT_EQ(panel->Color(), RGB(200, 0, 0));
    Pump();
    EXPECT_EQ(paints, 1);
    panel->SetColor(RGB(0, 0, 90));
    EXPECT_EQ(panel->ControlBrush()->Color(), RGB(0, 0, 90));
    Printed again(panel->WindowHandle(), 20, 20);
    EXPECT_EQ(again.Pixel(5, 5), RGB(0, 0, 90));
}

TEST_F(ControlEvents, ControlsWithTextGetTheRussianFontAndItsChanges) {
    ShownForm form;
    Control* edit = NewEditBox(form.get(), 0);
    form.Show();
    HWND window = edit->WindowHandle();
    auto sent = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent, edit->Font()->FontHandle());
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(sent, sizeof font, &font));
    EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);

    edit->Font()->SetFontHeight(30);
    sent = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    ASSERT_TRUE(GetObjectW(sent, sizeof font, &font));
    EXPECT_EQ(font.lfHeight, 30) << "a changed font is sent again";

    edit->SetTextColor(RGB(1, 2, 3));
    EXPECT_EQ(edit->Font()->Color(), RGB(1, 2, 3));
    EXPECT_EQ(SendMessageW(window, WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(edit->Font()->FontHandle()));
}

TEST_F(ControlEvents, ChildColoursAreReflectedFromTheParent) {
    ShownForm form;
    Control* edit = NewEditBox(form.get(), 0);
    edit->SetColor(RGB(0, 200, 0));
    edit->SetTextColor(RGB(10, 20, 30));
    form.Show();
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(form->WindowHandle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(edit->WindowHandle())));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 200, 0));
    EXPECT_EQ(GetTextColor(dc), RGB(10, 20, 30));
    LOGBRUSH info{};
    ASSERT_TRUE(GetObjectW(brush, sizeof info, &info));
    EXPECT_EQ(info.lbColor, RGB(0, 200, 0));

    edit->Transparent = true;
    brush = reinterpret_cast<HBRUSH>(SendMessageW(form->WindowHandle(), WM_CTLCOLOREDIT,
                                                  reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(edit->WindowHandle())));
    EXPECT_EQ(brush, GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    DeleteDC(dc);
}

TEST_F(ControlEvents, TheCursorOverTheClientAreaIsTheControlsOrTheGlobalOne) {
    ShownForm form;
    form.Show();
    HCURSOR cross = LoadCursorW(nullptr, MAKEINTRESOURCEW(32515));  // IDC_CROSS
    HCURSOR wait = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));   // IDC_WAIT
    form->SetCursor(cross);
    HWND window = form->WindowHandle();
    EXPECT_EQ(SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), cross);
    SetGlobalCursor(wait);
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    SetGlobalCursor(nullptr);
    EXPECT_EQ(GetCursor(), wait);
}

}  // namespace
}  // namespace zam
