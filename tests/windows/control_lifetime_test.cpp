// Lifetimes: a handler may free its own control or the control's parent while a message is
// dispatched; teardown order; and nothing the toolkit creates outlives its owner (windows,
// window classes, icons, skin records), over a few thousand controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/windows/control_test_support.h"
#include "toolkit/application.h"
#include "toolkit/canvas.h"
#include "toolkit/control.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

using test::ControlTest;
using test::FreeAtExit;
using test::Pump;

using ControlLifetime = ControlTest;

constexpr UINT kFreeSelf = WM_APP + 1;
constexpr UINT kFreeParent = WM_APP + 2;
constexpr UINT kPing = WM_APP + 3;

std::vector<std::string> log;

void LogDestroy(void* name, ToolkitObject*) {
    log.push_back(static_cast<const char*>(name));
}

void Watch(Control* control, const char* name) {
    control->OnDestroy = MakeEvent(const_cast<char*>(name), LogDestroy);
}

// Frees on request, then keeps using the control the way a careless handler would: while the
// message is dispatched the control must still be there.
bool Freeing(Control* control, Message& m) {
    if (m.Msg == kFreeSelf) {
        Free(control);
        Free(control);  // a second request adds nothing
        m.Result = control->Perform(kPing, 0, 0);
        control->SetColor(RGB(1, 1, 1));
        return false;  // let the rest of the dispatch run on
    }
    if (m.Msg == kFreeParent) {
        Free(control->Parent());
        if (!control->Parent() && !control->WindowHandle()) {
            log.push_back("detached, window gone");
        }
        control->SetColor(RGB(1, 1, 1));
        return false;
    }
    if (m.Msg == kPing) {
        m.Result = 42;
        return true;
    }
    return false;
}

bool OlderHandler(Control*, Message& m) {
    if (m.Msg == kFreeSelf || m.Msg == kFreeParent) {
        log.push_back("older handler");
    }
    return false;
}

TEST_F(ControlLifetime, AHandlerMayFreeItsOwnControlDuringTheDispatch) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    Control* panel = NewPanel(form, 2);
    Watch(panel, "panel");
    panel->AttachMessageHandler(OlderHandler);
    panel->AttachMessageHandler(Freeing);
    form->Handle();
    HWND window = panel->WindowHandle();
    const int live = LiveControls();
    log.clear();

    EXPECT_EQ(SendMessageW(window, kFreeSelf, 0, 0), 42) << "still usable inside the handler";
    EXPECT_EQ(log, (std::vector<std::string>{"panel"})) << "destroyed once, after the dispatch";
    EXPECT_EQ(LiveControls(), live - 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form->ChildCount(), 0);
}

TEST_F(ControlLifetime, AHandlerMayFreeTheParentOfItsControl) {
    Control* form = NewForm(nullptr, "");
    Watch(form, "form");
    Control* panel = NewPanel(form, 2);
    Watch(panel, "panel");
    Control* sibling = NewPanel(form, 2);
    Watch(sibling, "sibling");
    panel->AttachMessageHandler(OlderHandler);
    panel->AttachMessageHandler(Freeing);
    HWND formWindow = form->Handle();
    HWND window = panel->WindowHandle();
    const int live = LiveControls();
    log.clear();

    SendMessageW(window, kFreeParent, 0, 0);
    // The form and the sibling go at once; the panel, locked by its own dispatch, after it.
    EXPECT_EQ(log, (std::vector<std::string>{"form", "sibling", "detached, window gone", "panel"}));
    EXPECT_EQ(LiveControls(), live - 3);
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ControlLifetime, AClickHandlerMayFreeTheWholeForm) {
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
    const int live = LiveControls();
    log.clear();
    button->Click();
    EXPECT_EQ(log, (std::vector<std::string>{"form", "button"}));
    EXPECT_EQ(LiveControls(), live - 2);
}

TEST_F(ControlLifetime, APaintHandlerMayFreeItsControl) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    form->HasBorder(false);
    form->SetSize(50, 50);
    Control* panel = NewPanel(form, 2);
    Watch(panel, "panel");
    panel->OnPaint = MakeEvent(
        nullptr, +[](void*, Control* c, HDC dc) {
            Free(c);
            RECT r{0, 0, 5, 5};
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        });
    log.clear();
    test::ShowQuietly(form);
    EXPECT_EQ(log, (std::vector<std::string>{"panel"}));
    EXPECT_EQ(form->ChildCount(), 0);
}

TEST_F(ControlLifetime, AControlFreedByAHandlerOfItsOwnShowOutlivesTheShow) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    form->HasBorder(false);
    Control* edit = NewEditBox(form, 0);
    Watch(edit, "edit");
    test::ShowQuietly(form);
    edit->Hide();
    edit->OnShow = MakeEvent(
        nullptr, +[](void*, Control* c) { Free(c); });
    log.clear();
    edit->Show();  // goes on to the focus after ShowWindow has run the handler
    EXPECT_EQ(log, (std::vector<std::string>{"edit"}));
    EXPECT_EQ(form->ChildCount(), 0);
}

class CountedRecord : public ToolkitObject {
public:
    static inline int alive = 0;
    CountedRecord() { ++alive; }

protected:
    ~CountedRecord() override { --alive; }
};

TEST_F(ControlLifetime, TeardownRunsOnDestroyFirstThenChildrenLastFirstThenOwnedParts) {
    Control* form = NewForm(nullptr, "");
    Control* first = NewPanel(form, 2);
    Control* second = NewEditBox(form, 0);
    Watch(first, "first");
    Watch(second, "second");
    form->OnDestroy = MakeEvent<ToolkitObject*>(
        form, +[](void* f, ToolkitObject*) {
            log.push_back(static_cast<Control*>(f)->ChildCount() == 2 ? "form, children alive"
                                                                      : "form, children gone");
        });
    form->SkinData = NewObject<CountedRecord>();
    second->SkinData = NewObject<CountedRecord>();
    form->HasBorder(false);
    test::ShowQuietly(form);
    EXPECT_EQ(CountedRecord::alive, 2);
    log.clear();
    Free(form);
    EXPECT_EQ(log, (std::vector<std::string>{"form, children alive", "second", "first"}));
    EXPECT_EQ(CountedRecord::alive, 0);
}

TEST_F(ControlLifetime, IconsBelongToTheirWindowsAndGoWithThem) {
    Control* app = NewForm(nullptr, "");
    Control* tool = NewForm(app, "");
    HICON appIcon = app->Icon();
    ASSERT_NE(appIcon, nullptr) << "MAINICON from the resources";
    HICON toolIcon = tool->Icon();
    ASSERT_NE(toolIcon, nullptr);
    EXPECT_NE(toolIcon, appIcon) << "a copy, owned by the tool window";
    EXPECT_EQ(app->Icon(), appIcon);

    HWND window = tool->Handle();
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), toolIcon);

    HICON replacement = CopyIcon(appIcon);
    tool->SetIcon(replacement);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), replacement);
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(toolIcon, &info)) << "the replaced icon is destroyed";

    Free(app);
    EXPECT_FALSE(GetIconInfo(appIcon, &info));
    EXPECT_FALSE(GetIconInfo(replacement, &info));
}

TEST_F(ControlLifetime, WindowClassesAreUnregisteredOnceNoWindowUsesThem) {
    Pump();
    ReleaseUnusedWindowClasses();
    ASSERT_EQ(RegisteredWindowClasses(), 0) << "an earlier test left a toolkit window";
    Control* form = NewForm(nullptr, "");
    NewEditBox(form, 0);
    NewPanel(form, 2);
    form->Handle();
    EXPECT_EQ(RegisteredWindowClasses(), 3);
    Free(form);
    EXPECT_EQ(RegisteredWindowClasses(), 0);

    // A window destroyed by the system keeps its class until the next sweep, and works.
    Control* again = NewForm(nullptr, "");
    FreeAtExit release(again);
    DestroyWindow(again->Handle());
    ReleaseUnusedWindowClasses();
    EXPECT_EQ(RegisteredWindowClasses(), 0);
    ASSERT_NE(again->Handle(), nullptr) << "made again from the stored values";
    EXPECT_EQ(RegisteredWindowClasses(), 1);
}

TEST_F(ControlLifetime, ThousandsOfControlsLeaveNothingBehind) {
    Pump();
    ReleaseUnusedWindowClasses();
    const HANDLE process = GetCurrentProcess();
    const DWORD gdiBefore = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(process, GR_USEROBJECTS);
    const int controlsBefore = LiveControls();
    const int canvasesBefore = LiveCanvases();
    const int toolsBefore = LiveGraphicTools();
    const GdiCounts gdiObjectsBefore = LiveGdiCounts();

    for (int round = 0; round < 30; ++round) {
        Control* form = NewForm(nullptr, "Утечки");
        form->HasBorder(false);
        form->SetSize(120, 90);
        form->SetColor(RGB(round, 2, 3));
        for (int i = 0; i < 25; ++i) {
            Control* panel = NewPanel(form, i % 3);
            panel->SetColor(RGB(i, i, i));
            panel->OnPaint = MakeEvent(
                nullptr, +[](void*, Control* c, HDC) {
                    c->Canvas()->FillRect(Rect{0, 0, 4, 4});
                });
            NewEditBox(form, i % 2 ? kEditMultiline : kEditUpperCase)->SetCaption("текст");
            NewChildControl(form, "BUTTON", WS_VISIBLE | BS_PUSHBUTTON);
        }
        form->Icon();
        Control* tool = NewForm(form, "Окно");
        tool->HasBorder(false);
        if (round % 8 == 0) {  // painted now and then: showing takes Wine the most time
            test::ShowQuietly(tool);
            test::ShowQuietly(form);
        } else {
            form->Handle();
        }

        form->Canvas()->FillRect(Rect{0, 0, 10, 10});  // a GetDC context, outside a paint
        Free(form);
    }
    Pump();
    EXPECT_EQ(LiveControls(), controlsBefore);
    EXPECT_EQ(LiveCanvases(), canvasesBefore);
    EXPECT_EQ(LiveGraphicTools(), toolsBefore);
    const GdiCounts gdiObjects = LiveGdiCounts();
    EXPECT_EQ(gdiObjects.objects, gdiObjectsBefore.objects) << "pens, brushes, fonts, regions";
    EXPECT_EQ(gdiObjects.windowDcs, gdiObjectsBefore.windowDcs);
    EXPECT_EQ(gdiObjects.memoryDcs, gdiObjectsBefore.memoryDcs);
    EXPECT_EQ(gdiObjects.icons, gdiObjectsBefore.icons);
    EXPECT_EQ(RegisteredWindowClasses(), 0);
    // Wine reports these counts as 0; where they are real they must come back too.
    EXPECT_LE(GetGuiResources(process, GR_GDIOBJECTS), gdiBefore);
    EXPECT_LE(GetGuiResources(process, GR_USEROBJECTS), userBefore);
}

}  // namespace
}  // namespace zam
