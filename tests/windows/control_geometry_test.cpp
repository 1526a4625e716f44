// Geometry, styles and the control tree: stored values before the window exists, the size
// rules, centring, size limits, border and caption switches, and the creation functions.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/windows/control_test_support.h"
#include "toolkit/control.h"

namespace zam {
namespace {

using test::ControlTest;
using test::FreeAtExit;

using ControlGeometry = ControlTest;

TEST_F(ControlGeometry, SizeOfZeroOrLessLeavesThatSideAlone) {
    Control* form = NewForm(nullptr, "Размеры");
    FreeAtExit release(form);
    Control* panel = NewPanel(form, 2);
    panel->SetPosition(5, 6)->SetSize(40, 30);

    // Before and after the window exists the rules are the same.
    for (int pass = 0; pass < 2; ++pass) {
        panel->SetSize(40, 30);
        EXPECT_EQ(panel->SetSize(0, 50), panel);
        EXPECT_EQ(panel->Width(), 40);
        EXPECT_EQ(panel->Height(), 50);
        panel->SetSize(-1, -1);
        EXPECT_EQ(panel->Width(), 40);
        EXPECT_EQ(panel->Height(), 50);
        panel->SetSize(70, 0);
        EXPECT_EQ(panel->Width(), 70);
        EXPECT_EQ(panel->Height(), 50);
        EXPECT_EQ(panel->Position().x, 5);
        EXPECT_EQ(panel->Position().y, 6);
        form->SetSize(300, 200);
        form->Handle();
        ASSERT_NE(panel->WindowHandle(), nullptr) << "children are created with their parent";
    }

    panel->SetHeight(10);  // keeps the top
    EXPECT_EQ(panel->Top(), 6);
    EXPECT_EQ(panel->Height(), 10);
    RECT r{};
    GetWindowRect(panel->WindowHandle(), &r);
    MapWindowPoints(nullptr, form->WindowHandle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 6);
    EXPECT_EQ(r.right - r.left, 70);
    EXPECT_EQ(r.bottom - r.top, 10);
}

TEST_F(ControlGeometry, StoredBoundsAreAppliedAtCreationAndKeptAfterTheWindowIsGone) {
    Control* form = NewForm(nullptr, "Окно");
    FreeAtExit release(form);
    form->SetPosition(30, 40)->SetSize(200, 150);
    HWND window = form->Handle();
    ASSERT_NE(window, nullptr);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 150);

    SetWindowPos(window, nullptr, 50, 60, 210, 160, SWP_NOZORDER | SWP_NOACTIVATE);
    DestroyWindow(window);
    EXPECT_EQ(form->WindowHandle(), nullptr);
    const Rect kept = form->BoundsRect();
    EXPECT_EQ(kept.left, 50);
    EXPECT_EQ(kept.top, 60);
    EXPECT_EQ(kept.right, 260);
    EXPECT_EQ(kept.bottom, 220);
}

TEST_F(ControlGeometry, CenterOnParentUsesTheParentClientAreaOrTheScreenRoundingDown) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    form->HasBorder(false);
    form->SetSize(301, 201);
    Control* panel = NewPanel(form, 2);
    panel->SetSize(100, 50);
    panel->CenterOnParent();
    EXPECT_EQ(panel->Left(), 100);  // (301 - 100) / 2 = 100.5
    EXPECT_EQ(panel->Top(), 75);    // (201 - 50) / 2 = 75.5
    ASSERT_NE(panel->WindowHandle(), nullptr) << "centring creates the window";

    Control* big = NewPanel(form, 2);
    big->SetSize(402, 203);
    big->CenterOnParent();
    EXPECT_EQ(big->Left(), -51);  // -101 / 2 rounded down
    EXPECT_EQ(big->Top(), -1);

    Control* top = NewForm(form, "");
    top->HasBorder(false);
    top->SetSize(290, 161);
    top->CenterOnParent();
    EXPECT_EQ(top->Left(), (GetSystemMetrics(SM_CXSCREEN) - 290) / 2);
    EXPECT_EQ(top->Top(), (GetSystemMetrics(SM_CYSCREEN) - 161) / 2);
}

TEST_F(ControlGeometry, SizeLimitsAreServedThroughGetMinMaxInfo) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    form->SetSize(300, 300);
    form->SetSizeLimit(kMinWidth, 120);
    form->SetSizeLimit(kMinHeight, 90);
    form->SetSizeLimit(kMaxWidth, 400);
    form->SetSizeLimit(kMaxHeight, 0);  // not served
    form->SetSizeLimit(7, 5);           // no such kind: ignored
    EXPECT_EQ(form->SizeLimit(kMaxHeight), 0);
    EXPECT_EQ(form->SizeLimit(7), 0);

    MINMAXINFO info{};
    info.ptMaxSize = {1111, 1112};
    info.ptMaxTrackSize = {2222, 2223};
    info.ptMinTrackSize = {1, 2};
    form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 120);
    EXPECT_EQ(info.ptMinTrackSize.y, 90);
    EXPECT_EQ(info.ptMaxTrackSize.x, 400);
    EXPECT_EQ(info.ptMaxSize.x, 400);
    EXPECT_NE(info.ptMaxTrackSize.y, 0);
    EXPECT_NE(info.ptMaxSize.y, 0);

    // A sizeable window is kept inside the limits when it is resized.
    form->SetSize(800, 20);
    EXPECT_EQ(form->Width(), 400);
    EXPECT_EQ(form->Height(), 90);

    // Negative values are storage for the owner (scroll-bar steps), never limits.
    form->SetSizeLimit(kMinWidth, -10);
    EXPECT_EQ(form->SizeLimit(kMinWidth), -10);
    info.ptMinTrackSize = {1, 2};
    form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1);
}

TEST_F(ControlGeometry, BorderAndCaptionSwitchTheFrameStyles) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    HWND window = form->Handle();
    EXPECT_EQ(form->Style() & WS_CAPTION, static_cast<uint32_t>(WS_CAPTION));

    form->HasCaption(false);
    uint32_t style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), 0u);
    EXPECT_NE(style & WS_POPUP, 0u);

    form->HasBorder(false);
    style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              0u);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) &
                  (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT),
              0);
    // Without a frame the client area is the whole window, less the margins.
    form->SetSize(120, 70);
    EXPECT_EQ(form->ClientRect().right, 120);
    EXPECT_EQ(form->ClientRect().bottom, 70);
    form->MarginLeft = 1;
    form->MarginTop = 2;
    form->MarginRight = 3;
    form->MarginBottom = 4;
    const Rect inner = form->ClientRect();
    EXPECT_EQ(inner.left, 1);
    EXPECT_EQ(inner.top, 2);
    EXPECT_EQ(inner.right, 117);
    EXPECT_EQ(inner.bottom, 66);
    form->MarginLeft = form->MarginTop = form->MarginRight = form->MarginBottom = 0;

    form->HasBorder(true);
    style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              static_cast<uint32_t>(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                                    WS_MAXIMIZEBOX));
    EXPECT_EQ(style & WS_POPUP, 0u);

    // A child: its plain border comes and goes, or a client edge when it asks for one.
    Control* panel = NewPanel(form, 2);
    HWND panelWindow = panel->Handle();
    panel->HasBorder(true);
    EXPECT_NE(GetWindowLongW(panelWindow, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(panel->Style() & WS_POPUP, 0u);
    panel->HasBorder(false);
    EXPECT_EQ(GetWindowLongW(panelWindow, GWL_STYLE) & WS_BORDER, 0);
    panel->ClientEdge = true;
    panel->HasBorder(true);
    EXPECT_NE(GetWindowLongW(panelWindow, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(GetWindowLongW(panelWindow, GWL_STYLE) & WS_BORDER, 0);

    // The edit class keeps the border it was made with, whatever the style says later: the
    // box added to a created form gets its window only after its styles are set.
    Control* edit = NewEditBox(form, kEditUpperCase);
    EXPECT_EQ(edit->WindowHandle(), nullptr);
    EXPECT_NE(edit->Style() & WS_BORDER, 0u);
    edit->HasBorder(false);
    test::Pump();
    ASSERT_NE(edit->WindowHandle(), nullptr);
    EXPECT_EQ(edit->Style() & WS_BORDER, 0u);
    EXPECT_EQ(edit->ExStyle() & WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(edit->ClientRect().right, edit->Width());
}

TEST_F(ControlGeometry, StateSetBeforeTheWindowExistsIsAppliedAtCreation) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    form->HasBorder(false);
    Control* edit = NewEditBox(form, 0);
    edit->SetEnabled(false);
    edit->SetVisible(false);
    EXPECT_FALSE(edit->Enabled());
    EXPECT_FALSE(edit->Visible());
    form->Handle();
    EXPECT_FALSE(IsWindowEnabled(edit->WindowHandle()));
    EXPECT_FALSE(GetWindowLongW(edit->WindowHandle(), GWL_STYLE) & WS_VISIBLE);
    edit->SetEnabled(true);
    edit->SetVisible(true);
    EXPECT_TRUE(IsWindowEnabled(edit->WindowHandle()));
    EXPECT_TRUE(edit->Visible());
}

TEST_F(ControlGeometry, AnOwnedFormReturnsAsItWasWhenItsOwnerComesBack) {
    Control* app = NewForm(nullptr, "");
    FreeAtExit release(app);
    Control* tool = NewForm(app, "");
    tool->HasBorder(false);
    test::ShowQuietly(tool);
    HWND window = tool->WindowHandle();
    ShowWindow(window, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(window));
    SendMessageW(window, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    EXPECT_FALSE(IsWindowVisible(window));
    SendMessageW(window, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsIconic(window)) << "still minimised, not restored";
}

TEST(EditBoxStyle, EveryOptionTurnsOnItsStyleAndSingleLineBoxesHaveNoScrollBars) {
    constexpr uint32_t kBase = 0x50810000;
    const struct {
        uint32_t option;
        uint32_t style;
    } bits[] = {
        {kEditLowerCase, ES_LOWERCASE}, {kEditMultiline, ES_MULTILINE},
        {kEditNoHideSel, ES_NOHIDESEL}, {kEditOemConvert, ES_OEMCONVERT},
        {kEditPassword, ES_PASSWORD},   {kEditReadOnly, ES_READONLY},
        {kEditUpperCase, ES_UPPERCASE}, {kEditWantReturn, ES_WANTRETURN},
    };
    constexpr uint32_t kNoScroll = kEditNoHScroll | kEditNoVScroll;
    for (const auto& bit : bits) {
        EXPECT_EQ(EditBoxStyle(bit.option | kNoScroll), kBase | bit.style) << bit.option;
    }
    // The phrase box of the program: upper case, single line.
    EXPECT_EQ(EditBoxStyle(kEditUpperCase), kBase | ES_UPPERCASE | ES_AUTOHSCROLL | ES_AUTOVSCROLL);
    EXPECT_EQ(EditBoxStyle(kEditMultiline),
              kBase | ES_MULTILINE | WS_HSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | ES_AUTOVSCROLL);
    EXPECT_EQ(EditBoxStyle(kEditMultiline | kEditNoHScroll),
              kBase | ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL);
    EXPECT_EQ(EditBoxStyle(0xFFFFFC00u & ~kNoScroll), kBase | ES_AUTOHSCROLL | ES_AUTOVSCROLL)
        << "bits past the table turn on nothing";
}

TEST_F(ControlGeometry, CreationFunctionsGiveTheirClassesStylesAndDefaultSizes) {
    Control* form = NewForm(nullptr, "Форма");
    FreeAtExit release(form);
    form->HasBorder(false);  // see ShowQuietly
    EXPECT_EQ(form->ClassName(), "Form");
    EXPECT_FALSE(form->IsChildControl());
    EXPECT_EQ(form->ClassStyle() & CS_DBLCLKS, static_cast<uint32_t>(CS_DBLCLKS));
    EXPECT_EQ(form->Color(), 0x8000000Fu);
    EXPECT_EQ(form->TextColor(), 0x80000008u);
    EXPECT_EQ(form->Border, 2);
    EXPECT_FALSE(form->Visible());

    Control* single = NewEditBox(form, kEditUpperCase);
    Control* multi = NewEditBox(form, kEditMultiline);
    EXPECT_EQ(single->Width(), 100);
    EXPECT_EQ(single->Height(), 22);
    EXPECT_EQ(multi->Width(), 200);
    EXPECT_EQ(multi->Height(), 200);
    EXPECT_TRUE(single->TabStop);

    Control* raised = NewPanel(form, 0);
    Control* sunken = NewPanel(form, 1);
    Control* flat = NewPanel(form, 2);
    EXPECT_EQ(raised->Style(), 0x5000018Cu | WS_DLGFRAME);
    EXPECT_EQ(sunken->Style(), 0x5000018Cu | SS_SUNKEN);
    EXPECT_EQ(flat->Style(), 0x5000018Cu);
    EXPECT_EQ(flat->ExStyle(), static_cast<uint32_t>(WS_EX_CONTROLPARENT));

    // Windows are "obj_" copies of the system classes, created with the form.
    HWND window = form->Handle();
    ASSERT_NE(window, nullptr);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(name, L"obj_Form");
    GetClassNameW(single->WindowHandle(), name, 64);
    EXPECT_STREQ(name, L"obj_EDIT");
    GetClassNameW(flat->WindowHandle(), name, 64);
    EXPECT_STREQ(name, L"obj_STATIC");
    EXPECT_EQ(ControlOf(single->WindowHandle()), single);
    EXPECT_EQ(GetWindowLongW(single->WindowHandle(), GWL_STYLE) & ES_UPPERCASE, ES_UPPERCASE);

    // A child made under a created parent gets its window once the queue is processed, or
    // when the parent is shown.
    Control* late = NewChildControl(form, "BUTTON", WS_VISIBLE | BS_PUSHBUTTON);
    Control* later = NewPanel(late, 2);
    EXPECT_EQ(late->WindowHandle(), nullptr);
    test::Pump();
    EXPECT_NE(late->WindowHandle(), nullptr);
    EXPECT_NE(later->WindowHandle(), nullptr);
    Control* shown = NewPanel(form, 2);
    form->SetVisible(true);
    EXPECT_NE(shown->WindowHandle(), nullptr);
    EXPECT_EQ(NewChildControl(nullptr, "BUTTON", 0), nullptr);
}

TEST_F(ControlGeometry, ChildrenAreKeptInCreationOrderWithTheirFormsNumbers) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    Control* panel = NewPanel(form, 2);
    Control* inner = NewPanel(panel, 2);
    Control* edit = NewEditBox(form, 0);
    Control* tool = NewForm(form, "");

    EXPECT_EQ(form->ChildCount(), 3);
    EXPECT_EQ(form->Child(0), panel);
    EXPECT_EQ(form->Child(2), tool);
    EXPECT_EQ(form->IndexOfChild(edit), 1);
    EXPECT_EQ(form->IndexOfChild(inner), -1);
    EXPECT_EQ(panel->ChildCount(), 1);

    EXPECT_EQ(panel->CreationNumber(), 1);
    EXPECT_EQ(inner->CreationNumber(), 2);  // numbered among its form's controls
    EXPECT_EQ(edit->CreationNumber(), 3);
    EXPECT_EQ(tool->CreationNumber(), 0);

    EXPECT_EQ(inner->ParentForm(), form);
    EXPECT_EQ(form->ParentForm(), form);
    EXPECT_EQ(tool->ParentForm(), tool);
    EXPECT_EQ(inner->Parent(), panel);

    Free(panel);  // takes its child along and leaves the list
    EXPECT_EQ(form->ChildCount(), 2);
    EXPECT_EQ(form->Child(0), edit);
}

}  // namespace
}  // namespace zam
