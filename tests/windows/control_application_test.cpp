// The message loop with an application window and its forms: closing and its refusal, the
// main-form rules (the loop ends, the deferred free) and the focus a form hands on. The
// application tests drive minimising and the shutdown through the program itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/windows/control_test_support.h"
#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/message_box.h"

namespace zam {
namespace {

using test::ControlTest;
using Log = std::vector<std::string>;

// Script steps, posted to the main form and run inside the loop.
constexpr UINT kStep = WM_APP + 20;

struct Script {
    Log log;
    void (*step)(Script&, Control* form) = nullptr;
    Control* app = nullptr;
    Control* main = nullptr;
    Control* tool = nullptr;
    int asked = 0;
};

Script* script = nullptr;

bool RunStep(Control* form, Message& m) {
    if (m.Msg != kStep || !script || !script->step) {
        return false;
    }
    script->step(*script, form);
    return true;
}

void Note(void* s, const char* text) {
    static_cast<Script*>(s)->log.push_back(text);
}

// An application window with a main form and a tool form as the program builds them; Run
// posts the first step and runs the loop, ended by a watchdog if the test fails to end it.
class Application : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        s.app = NewForm(nullptr, "Заменор");
        s.main = NewForm(s.app, "Главное окно");
        s.tool = NewForm(s.app, "Инструмент");
        // Framed windows make Wine wait for a window manager when they go.
        s.main->HasBorder(false);
        s.tool->HasBorder(false);
        s.main->AttachMessageHandler(RunStep);
        script = &s;
    }
    void TearDown() override {
        script = nullptr;
        ControlTest::TearDown();  // the shutdown frees every form
    }
    void Run() {
        test::ShowQuietly(s.main);
        PostMessageW(s.main->Handle(), kStep, 0, 0);
        static bool fired;
        fired = false;
        const UINT_PTR watchdog = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
            fired = true;
            PostQuitMessage(0);
        });
        RunApplication(s.app);
        KillTimer(nullptr, watchdog);
        EXPECT_FALSE(fired) << "the loop did not end";
        EXPECT_EQ(Applet(), nullptr);
    }

    Script s;
};

TEST_F(Application, RefusingOnCloseKeepsTheWindowAndAcceptingOnTheMainFormEndsTheLoop) {
    s.main->OnClose = MakeEvent(
        &s, +[](void* p, Control* form, bool& accept) {
            auto& s = *static_cast<Script*>(p);
            accept = ++s.asked > 1;
            s.log.push_back(accept ? "accepted" : "refused");
            if (!accept) {
                PostMessageW(form->WindowHandle(), kStep, 0, 0);
            }
        });
    s.app->OnClose = MakeEvent(
        &s, +[](void* p, Control*, bool&) { Note(p, "application asked"); });
    s.step = [](Script& s, Control* form) {
        s.log.push_back(IsWindowVisible(form->WindowHandle()) ? "still open" : "gone");
        form->Close();
    };
    Run();
    EXPECT_EQ(s.log, (Log{"still open", "refused", "still open", "accepted", "application asked"}));
}

TEST_F(Application, FormsAreFreedWithTheirWindowsTheMainFormOnlyAfterwards) {
    s.tool->OnDestroy = MakeEvent(
        &s, +[](void* p, ToolkitObject*) { Note(p, "tool freed"); });
    s.main->OnDestroy = MakeEvent(
        &s, +[](void* p, ToolkitObject*) { Note(p, "main freed"); });
    s.step = [](Script& s, Control* form) {
        // A tool form closed by default processing is destroyed and freed at once.
        SendMessageW(s.tool->Handle(), WM_CLOSE, 0, 0);
        s.log.push_back("tool closed");
        // The main form, destroyed, is freed later, on the application window's message.
        DestroyWindow(form->WindowHandle());
        s.log.push_back("main destroyed");
        PostMessageW(s.app->WindowHandle(), WM_CLOSE, 0, 0);
    };
    Run();
    EXPECT_EQ(s.log, (Log{"tool freed", "tool closed", "main destroyed", "main freed"}));
}

TEST(FormFocus, AFormHandsTheFocusToItsCurrentControl) {
    Control* form = NewForm(nullptr, "");
    test::FreeAtExit release(form);
    form->HasBorder(false);
    Control* first = NewEditBox(form, 0);
    Control* second = NewEditBox(form, 0);
    second->SetPosition(0, 40);
    form->Show();
    test::Pump();
    second->Focus();
    SetFocus(first->WindowHandle());
    SetFocus(form->WindowHandle());
    EXPECT_EQ(GetFocus(), second->WindowHandle());
    Free(second);
    EXPECT_EQ(form->CurrentControl(), nullptr);
}

}  // namespace
}  // namespace zam
