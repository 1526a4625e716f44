// Message dispatch as the application sees it: the handler chain, mouse and keyboard events
// (buttons in the shift state, Russian characters in Windows-1251), paint, show/hide/move, hover
// and colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "tests/windows/control_test_support.h"
#include "tests/windows/window_driver.h"
#include "toolkit/application.h"
#include "toolkit/canvas.h"
#include "toolkit/control.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

using test::Pump;
using test::SeenOn;
using test::WindowText;

constexpr UINT kProbe = WM_APP + 7;

// A borderless form at a known place, freed before the fixture counts what is left.
class ControlEvents : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        form = NewForm(nullptr, "Проба");
        form->HasBorder(false);
        form->SetPosition(20, 20)->SetSize(200, 150);
    }
    void TearDown() override {
        Free(form);
        ControlTest::TearDown();
    }
    Control* form = nullptr;
};

// Appends a letter to a std::string for each notification.
template <char Letter>
void Mark(void* log, Control*) {
    *static_cast<std::string*>(log) += Letter;
}

std::vector<int> calls;

template <int N>
bool Recorder(Control*, Message& m) {
    if (m.Msg != kProbe)
        return false;
    calls.push_back(N);
    m.Result = N;
    return N == 99;  // the consumer ends the chain
}

// A handler bound to its object: the same routine on two objects is two handlers.
struct Tagged {
    int tag;
    bool Record(Control*, Message& m) {
        if (m.Msg == kProbe)
            calls.push_back(tag);
        return false;
    }
};

TEST_F(ControlEvents, HandlersRunNewestFirstEachOnceAndAConsumerEndsTheChain) {
    calls.clear();
    static Tagged five{5}, six{6};
    form->AttachMessageHandler(Recorder<1>);
    form->AttachMessageHandler(Bind<&Tagged::Record>(&five));
    form->AttachMessageHandler(Recorder<2>);
    form->AttachMessageHandler(Bind<&Tagged::Record>(&six));
    form->AttachMessageHandler(Recorder<1>);  // already there: not again
    form->AttachMessageHandler(Bind<&Tagged::Record>(&five));
    form->Perform(kProbe, 0, 0);
    EXPECT_EQ(calls, (std::vector<int>{6, 2, 5, 1}));
    calls.clear();
    form->AttachMessageHandler(Recorder<99>);
    EXPECT_EQ(form->Perform(kProbe, 0, 0), 99);
    EXPECT_EQ(calls, (std::vector<int>{99}));

    // OnMessage comes before the chain and may end it too.
    calls.clear();
    form->OnMessage = MakeEvent(
        nullptr, +[](void*, Control*, Message& m, bool& handled) { handled = m.Msg == kProbe; });
    form->Perform(kProbe, 0, 0);
    EXPECT_TRUE(calls.empty());
}

// Button, shift state, client position and wheel delta as one comparable value.
using MouseFields = std::array<int32_t, 5>;

void KeepMouse(void* last, Control*, MouseEventData& e) {
    *static_cast<MouseFields*>(last) = {e.Button, static_cast<int32_t>(e.Shift), e.X, e.Y,
                                        e.WheelDelta};
}

TEST_F(ControlEvents, MouseRecordsCarryButtonShiftAndSignedClientPositions) {
    MouseFields last{};
    form->OnMouseDown = MakeEvent<Control*, MouseEventData&>(&last, KeepMouse);
    form->OnMouseWheel = MakeEvent<Control*, MouseEventData&>(&last, KeepMouse);
    // Left of and above the window, as under a capture: the 16-bit halves are signed.
    form->Perform(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(-5, -1));
    EXPECT_EQ(last, (MouseFields{2, MK_RBUTTON | MK_SHIFT, -5, -1, 0}));
    // The wheel reports screen coordinates; handlers get client ones and the delta.
    form->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                  MAKELPARAM(20 - 3, 20 + 25));
    EXPECT_EQ(last, (MouseFields{0, 0, -3, 25, -WHEEL_DELTA}));
    // The middle button is in the state; the X-button bit (0x20) would read as Alt: dropped.
    form->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_MBUTTON | MK_XBUTTON1, 0);
    EXPECT_EQ(last[1], MK_LBUTTON | MK_MBUTTON);
}

struct KeyLog {
    std::vector<int32_t> keys;
    int32_t replaceWith = -1;
};

void LogKey(void* log, Control*, int32_t& key, uint32_t) {
    auto* l = static_cast<KeyLog*>(log);
    l->keys.push_back(key);
    if (l->replaceWith >= 0)
        key = l->replaceWith;
}

// Types through the system's input queue, as a keyboard would.
void Type(const std::wstring& text) {
    std::vector<INPUT> keys(2 * text.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wScan = text[i / 2];
        keys[i].ki.dwFlags = KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0);
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());
    Pump();
}

TEST_F(ControlEvents, TextCrossesAsUnicodeAndTypedCharactersReachOnCharAsCp1251) {
    form->SetCaption("Открытый текст: «Ёё» №1");
    EXPECT_EQ(WindowText(form->Handle()), L"Открытый текст: «Ёё» №1");

    Control* edit = NewEditBox(form, kEditUpperCase);
    form->Show();  // typing needs an active window, unlike ShowQuietly
    Pump();
    edit->Focus();
    ASSERT_EQ(GetFocus(), edit->WindowHandle());
    KeyLog log;
    edit->OnChar = MakeEvent(&log, LogKey);

    // The system hands a W window "ж" as WM_CHAR 0x0436; OnChar sees its 1251 code.
    Type(L"жaё");
    EXPECT_EQ(log.keys, (std::vector<int32_t>{0xE6, 'a', 0xB8}));
    EXPECT_EQ(WindowText(edit->WindowHandle()), L"ЖAЁ");

    // No 1251 code: no handler sees it, the box still does.
    log.keys.clear();
    edit->Perform(WM_CHAR, 0x4E2D, 0);
    EXPECT_TRUE(log.keys.empty());
    EXPECT_EQ(edit->Caption().substr(0, 4), "ЖAЁ?");

    // A replaced character goes on converted back; 0 consumes it.
    edit->SetCaption("");
    log.replaceWith = 0xF1;  // с, made a capital by the box
    edit->Perform(WM_CHAR, 0x0436, 0);
    log.replaceWith = 0;
    edit->Perform(WM_CHAR, 'z', 0);
    EXPECT_EQ(WindowText(edit->WindowHandle()), L"С");
}

TEST_F(ControlEvents, ShowHideMoveAndHoverEventsFireOnRealChangesOnly) {
    Control* panel = NewPanel(form, 2);
    panel->SetSize(50, 50);
    test::ShowQuietly(form);
    std::string log;
    panel->OnShow = MakeEvent(&log, Mark<'S'>);
    panel->OnHide = MakeEvent(&log, Mark<'H'>);
    panel->OnMove = MakeEvent(&log, Mark<'M'>);
    panel->Show();  // already visible
    panel->Hide();
    panel->Hide();
    panel->SetVisible(true);
    panel->SetPosition(9, 9);
    panel->SetSize(20, 0);  // a resize is no move
    EXPECT_EQ(log, "HSM");

    // Leaving is seen both from a move outside (under a capture) and from WM_MOUSELEAVE.
    log.clear();
    panel->OnMouseEnter = MakeEvent(&log, Mark<'E'>);
    panel->OnMouseLeave = MakeEvent(&log, Mark<'L'>);
    for (LPARAM at : {MAKELPARAM(10, 10), MAKELPARAM(12, 10), MAKELPARAM(60, 10), MAKELPARAM(5, 5)})
        panel->Perform(WM_MOUSEMOVE, 0, at);
    panel->Perform(WM_MOUSELEAVE, 0, 0);
    panel->Perform(WM_MOUSELEAVE, 0, 0);
    // A hover test of the control's own gets the signed point, as under a capture.
    static Point tested;
    panel->HoverTest = [](Control*, Point p) {
        tested = p;
        return false;
    };
    panel->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(-5, -1));
    EXPECT_TRUE(tested.x == -5 && tested.y == -1) << tested.x << ", " << tested.y;
    panel->TrackMouse(false);
    panel->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(log, "ELEL");
}

// The handlers' painting shows in the analysis windows' pixels; a plain form's erased colour
// only here.
TEST_F(ControlEvents, TheErasedColourAndANewOneSetDirectlyOrThroughTheBrushRepaint) {
    form->SetSize(60, 40);
    form->SetColor(RGB(255, 0, 0));
    Control* panel = NewPanel(form, 2);
    panel->SetPosition(30, 10)->SetSize(20, 20);
    panel->SetColor(RGB(0, 160, 0));
    panel->OnPaint = MakeEvent(
        nullptr, +[](void*, Control* c, HDC) {
            c->Canvas()->FillRect(Rect{0, 0, 20, 20});
        });
    test::ShowQuietly(form);
    EXPECT_EQ(SeenOn(form->WindowHandle(), 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(SeenOn(panel->WindowHandle(), 5, 5), RGB(0, 160, 0));
    panel->SetColor(RGB(0, 0, 90));
    EXPECT_EQ(SeenOn(panel->WindowHandle(), 5, 5), RGB(0, 0, 90));
    panel->ControlBrush()->SetColor(RGB(200, 0, 0));
    EXPECT_EQ(SeenOn(panel->WindowHandle(), 19, 19), RGB(200, 0, 0));
}

}  // namespace
}  // namespace zam
