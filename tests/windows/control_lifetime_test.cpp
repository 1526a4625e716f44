// Lifetimes: a handler may free its own control or the control's parent while a message is
// dispatched, the parent's children going last first; and nothing the toolkit creates outlives
// its owner (windows, window classes, contexts, drawing objects), over a few thousand controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "toolkit/canvas.h"
#include "toolkit/control.h"

namespace zam {
namespace {

using test::Pump;

using ControlLifetime = test::ControlTest;

constexpr UINT kFreeSelf = WM_APP + 1;
constexpr UINT kFreeParent = WM_APP + 2;
constexpr UINT kPing = WM_APP + 3;

std::vector<std::string> log;

void Watch(Control* control, const char* name) {
    control->OnDestroy = MakeEvent(
        const_cast<char*>(name),
        +[](void* n, ToolkitObject*) { log.push_back(static_cast<const char*>(n)); });
}

// Frees on request, then keeps using the control the way a careless handler would: while the
// message is dispatched the control must still be there.
bool Freeing(Control* control, Message& m) {
    if (m.Msg == kFreeSelf) {
        Free(control);
        Free(control);  // a second request adds nothing
        m.Result = control->Perform(kPing, 0, 0);
    } else if (m.Msg == kFreeParent) {
        Free(control->Parent());
        if (!control->Parent() && !control->WindowHandle()) {
            log.push_back("detached, window gone");
        }
    } else if (m.Msg == kPing) {
        m.Result = 42;
        return true;
    } else {
        return false;
    }
    control->SetColor(RGB(1, 1, 1));
    return false;  // let the rest of the dispatch run on
}

bool OlderHandler(Control*, Message& m) {
    if (m.Msg == kFreeSelf || m.Msg == kFreeParent) {
        log.push_back("older handler");
    }
    return false;
}

// A form with a watched panel whose newest handler frees on request.
Control* FormWithPanel(Control** panel) {
    Control* form = NewForm(nullptr, "");
    Watch(form, "form");
    *panel = NewPanel(form, 2);
    Watch(*panel, "panel");
    Watch(NewPanel(form, 2), "sibling");
    (*panel)->AttachMessageHandler(OlderHandler);
    (*panel)->AttachMessageHandler(Freeing);
    form->Handle();
    log.clear();
    return form;
}

TEST_F(ControlLifetime, AHandlerMayFreeItsOwnControlOrItsParentDuringTheDispatch) {
    Control* panel = nullptr;
    Control* form = FormWithPanel(&panel);
    HWND window = panel->WindowHandle();
    const int live = LiveControls();
    EXPECT_EQ(SendMessageW(window, kFreeSelf, 0, 0), 42) << "still usable inside the handler";
    EXPECT_EQ(log, (std::vector<std::string>{"panel"}))
        << "destroyed once, after the dispatch, and the older handler skipped";
    EXPECT_EQ(LiveControls(), live - 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form->ChildCount(), 1);

    Free(form);
    form = FormWithPanel(&panel);
    HWND formWindow = form->WindowHandle();
    window = panel->WindowHandle();
    SendMessageW(window, kFreeParent, 0, 0);
    // The form and the sibling go at once; the panel, locked by its own dispatch, after it.
    EXPECT_EQ(log, (std::vector<std::string>{"form", "sibling", "detached, window gone", "panel"}));
    EXPECT_EQ(LiveControls(), live - 3);
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ControlLifetime, AClickHandlerMayFreeTheFormThatDispatchesIt) {
    Control* form = NewForm(nullptr, "");
    Control* button = NewChildControl(form, "BUTTON", WS_VISIBLE | BS_PUSHBUTTON);
    Watch(form, "form");
    Watch(button, "button");
    button->OnClick = MakeEvent(
        nullptr, +[](void*, Control* sender) {
            Free(sender->ParentForm());
            sender->SetCaption("после");  // still alive until the dispatch unwinds
        });
    form->HasBorder(false);
    test::ShowQuietly(form);
    log.clear();
    button->Click();
    EXPECT_EQ(log, (std::vector<std::string>{"form", "button"}));
}

TEST_F(ControlLifetime, ThousandsOfControlsLeaveNothingBehind) {
    Pump();
    ReleaseUnusedWindowClasses();
    ASSERT_EQ(RegisteredWindowClasses(), 0) << "an earlier test left a toolkit window";
    const std::vector<int> live = test::LiveDrawingCounts();
    for (int round = 0; round < 30; ++round) {
        Control* form = NewForm(nullptr, "Утечки");
        form->HasBorder(false);
        form->SetSize(120, 90);
        form->SetColor(RGB(round, 2, 3));
        for (int i = 0; i < 25; ++i) {
            NewPanel(form, i % 3)->SetColor(RGB(i, i, i));
            NewEditBox(form, i % 2 ? kEditMultiline : kEditUpperCase)->SetCaption("текст");
            NewChildControl(form, "BUTTON", WS_VISIBLE | BS_PUSHBUTTON);
        }
        NewForm(form, "Окно")->HasBorder(false);  // owned: shares the form's class
        if (round % 8 == 0) {  // painted now and then: showing takes Wine the most time
            test::ShowQuietly(form);
        } else {
            form->Handle();
        }
        EXPECT_EQ(RegisteredWindowClasses(), 4) << "one copy per class, shared";
        form->Canvas()->FillRect(Rect{0, 0, 10, 10});  // a GetDC context, outside a paint
        HDC dc = form->Canvas()->Handle();
        form->Canvas()->Release();
        // ReleaseDC answers 1 only for a context still held.
        EXPECT_EQ(ReleaseDC(form->WindowHandle(), dc), 0) << "the canvas kept the context";
        Free(form);
    }
    Pump();
    EXPECT_EQ(test::LiveDrawingCounts(), live);
    EXPECT_EQ(RegisteredWindowClasses(), 0);
}

}  // namespace
}  // namespace zam
