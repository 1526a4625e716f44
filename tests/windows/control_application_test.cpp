// The message loop with an application window and its forms: closing and its refusal, the
// main-form rules (the loop ends, minimising goes to the application window, the deferred
// free), the application window seeing every window's messages, and the shutdown.
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

// Script steps, posted to the main form and run inside the loop.
constexpr UINT kStep = WM_APP + 20;

// Ends a loop that the test failed to end, so that a fault fails instead of hanging.
class Watchdog {
public:
    Watchdog() : timer_(SetTimer(nullptr, 0, 5000, Fire)) { fired = false; }
    ~Watchdog() { KillTimer(nullptr, timer_); }
    static inline bool fired = false;

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
        fired = true;
        PostQuitMessage(0);
    }
    UINT_PTR timer_;
};

struct Script {
    std::vector<std::string> log;
    void (*step)(Script&, Control* form, WPARAM n) = nullptr;
    Control* app = nullptr;
    Control* main = nullptr;
    Control* tool = nullptr;
    int liveAtStart = 0;
    int asked = 0;
};

Script* script = nullptr;

bool RunStep(Control* form, Message& m) {
    if (m.Msg == kStep && script && script->step) {
        script->step(*script, form, m.WParam);
        return true;
    }
    return false;
}

// An application window with a main form (and a tool form) as the program builds them.
class Application : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        s.liveAtStart = LiveControls();
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
        ControlTest::TearDown();
    }
    void Post(WPARAM n) { PostMessageW(s.main->Handle(), kStep, n, 0); }

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
        &s, +[](void* p, Control*, bool&) {
            static_cast<Script*>(p)->log.push_back("application asked");
        });
    s.step = [](Script& s, Control* form, WPARAM) {
        s.log.push_back(IsWindowVisible(form->WindowHandle()) ? "still open" : "gone");
        form->Close();
    };
    test::ShowQuietly(s.main);
    s.main->Close();
    Watchdog watchdog;
    RunApplication(s.app);

    EXPECT_FALSE(Watchdog::fired) << "the loop did not end";
    EXPECT_EQ(s.log,
              (std::vector<std::string>{"refused", "still open", "accepted", "application asked"}));
    EXPECT_EQ(Applet(), nullptr);
    EXPECT_EQ(LiveControls(), s.liveAtStart) << "the shutdown frees every form";
}

TEST_F(Application, TheApplicationWindowSeesEveryWindowsMessagesAndTakesTheMinimise) {
    s.app->OnMessage = MakeEvent(
        &s, +[](void* p, Control* app, Message& m, bool& handled) {
            auto& s = *static_cast<Script*>(p);
            if (m.Msg == kStep && ControlOf(m.Window) == s.tool) {
                s.log.push_back("tool message seen");
            }
            if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_MINIMIZE) {
                if (m.Window == app->WindowHandle()) {
                    s.log.push_back("application minimises");
                    handled = true;  // not really: the test's windows stay as they are
                    app->Close();
                } else {
                    s.log.push_back("form minimises");
                }
            }
        });
    s.step = [](Script& s, Control*, WPARAM) {
        s.log.push_back(ApplicationWindow() == s.app->WindowHandle() ? "message boxes titled"
                                                                     : "no title");
        SendMessageW(s.tool->Handle(), kStep, 0, 0);
        // The main form's minimise goes to the application window instead.
        SendMessageW(s.main->WindowHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    };
    test::ShowQuietly(s.main);
    Post(0);
    Watchdog watchdog;
    RunApplication(s.app);
    EXPECT_FALSE(Watchdog::fired);
    EXPECT_EQ(s.log, (std::vector<std::string>{"message boxes titled", "tool message seen",
                                               "form minimises", "application minimises"}));
    EXPECT_EQ(ApplicationWindow(), nullptr);
}

TEST_F(Application, FormsAreFreedWithTheirWindowsTheMainFormOnlyAfterwards) {
    s.tool->OnDestroy = MakeEvent(
        &s, +[](void* p, ToolkitObject*) { static_cast<Script*>(p)->log.push_back("tool freed"); });
    s.main->OnDestroy = MakeEvent(
        &s, +[](void* p, ToolkitObject*) { static_cast<Script*>(p)->log.push_back("main freed"); });
    s.step = [](Script& s, Control* form, WPARAM n) {
        if (n == 0) {
            // A tool form closed by default processing is destroyed and freed at once.
            SendMessageW(s.tool->WindowHandle(), WM_CLOSE, 0, 0);
            s.log.push_back("tool closed");
            // The main form, destroyed, is freed later, on the application window's message.
            DestroyWindow(form->WindowHandle());
            s.log.push_back("main destroyed");
            PostMessageW(s.app->WindowHandle(), WM_CLOSE, 0, 0);
        }
    };
    test::ShowQuietly(s.tool);
    test::ShowQuietly(s.main);
    Post(0);
    Watchdog watchdog;
    RunApplication(s.app);
    EXPECT_FALSE(Watchdog::fired);
    EXPECT_EQ(s.log, (std::vector<std::string>{"tool freed", "tool closed", "main destroyed",
                                               "main freed"}));
}

TEST_F(Application, ShutdownIsQuietClosesTheApplicationWindowAndFreesEverything) {
    struct Seen {
        bool terminating = false;
        bool repaintAsked = true;
    } seen;
    // Attached handlers no longer run once WM_QUIT is seen; OnMessage still does.
    s.app->OnMessage = MakeEvent(
        &seen, +[](void* p, Control*, Message& m, bool&) {
            auto& seen = *static_cast<Seen*>(p);
            if (m.Msg == WM_CLOSE && AppTerminating()) {
                seen.terminating = true;
                HWND main = script->main->WindowHandle();
                ValidateRect(main, nullptr);
                script->main->Invalidate();
                RECT r{};
                seen.repaintAsked = GetUpdateRect(main, &r, FALSE);
            }
        });
    static int idle;
    idle = 0;
    SetIdleHook([] { ++idle; });
    // Closed from a timer, once the loop waits for messages: the idle hook has run by then.
    s.step = [](Script&, Control*, WPARAM) {
        SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            PostMessageW(script->app->WindowHandle(), WM_CLOSE, 0, 0);
        });
    };
    test::ShowQuietly(s.main);
    Post(0);
    Watchdog watchdog;
    RunApplication(s.app);
    SetIdleHook(nullptr);
    EXPECT_FALSE(Watchdog::fired);
    EXPECT_TRUE(seen.terminating);
    EXPECT_FALSE(seen.repaintAsked) << "Invalidate does nothing while terminating";
    EXPECT_GE(idle, 1);
    EXPECT_FALSE(AppTerminating());
    EXPECT_EQ(LiveControls(), s.liveAtStart);
}

TEST(FormFocus, AFormHandsTheFocusToItsCurrentControl) {
    Control* form = NewForm(nullptr, "");
    form->HasBorder(false);
    form->SetSize(200, 100);
    Control* first = NewEditBox(form, 0);
    Control* second = NewEditBox(form, 0);
    second->SetPosition(0, 40);
    form->Show();
    test::Pump();
    second->Focus();
    EXPECT_EQ(form->CurrentControl(), second);
    SetFocus(first->WindowHandle());
    SetFocus(form->WindowHandle());
    EXPECT_EQ(GetFocus(), second->WindowHandle());
    Free(second);
    EXPECT_EQ(form->CurrentControl(), nullptr);
    Free(form);
}

}  // namespace
}  // namespace zam
