// The program by keyboard and its answers: the menu bar by F10 from any window, the keys shown in
// the popups, the about box's keys and the message when the guide cannot be shown.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/shortcuts.h"
#include "skin/menu_skin.h"
#include "tests/windows/app_fixture.h"
#include "tests/windows/drawing_test.h"
#include "toolkit/menu.h"

namespace zam {
namespace {

using test::PressKey;
using test::Pump;
using test::WindowDriver;

// What the menu's own loop shows each time it waits for input, and the keys for it then.
struct MenuIdle {
    bool popupOpen;     // a popup is up (rather than the bar alone in keyboard mode)
    int32_t barMarked;  // the bar entry marked, -1 for none
};
using IdleStep = std::function<void(const MenuIdle&)>;

class Keyboard : public test::Zamenor {
protected:
    Control* Strip() { return app_->MenuWindow->Form; }
    Control* Alphabet() { return app_->AlphabetWindow->Form; }

    // Runs the steps one by one as the menu loop waits (it tells the strip, WM_ENTERIDLE).
    void WatchMenu(std::vector<IdleStep> steps) {
        steps_ = std::move(steps);
        idles_.clear();
        Strip()->OnMessage = {};
        Strip()->OnMessage = Bind<&Keyboard::StripMessage>(this);
    }
    void StripMessage(Control*, Message& message, bool&) {
        if (message.Msg != WM_ENTERIDLE || message.WParam != MSGF_MENU) {
            return;
        }
        const MenuIdle idle{message.LParam != 0, MarkedBarEntry()};
        idles_.push_back(idle);
        if (idles_.size() <= steps_.size()) {
            steps_[idles_.size() - 1](idle);
        } else {
            // Not foreseen: leave the menu rather than hang.
            Post(VK_ESCAPE);
            Post(VK_ESCAPE);
        }
    }
    int32_t MarkedBarEntry() {
        HMENU bar = GetMenu(Strip()->WindowHandle());
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            if (GetMenuState(bar, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) {
                return i;
            }
        }
        return -1;
    }
    // A key as the keyboard queues it for the focused window.
    void Post(UINT key, UINT down = WM_KEYDOWN, LPARAM flags = 1) {
        HWND focus = GetFocus() ? GetFocus() : Alphabet()->WindowHandle();
        PostMessageW(focus, down, key, flags);
    }

    std::vector<IdleStep> steps_;
    std::vector<MenuIdle> idles_;
};

TEST_F(Keyboard, MenusByKeyboardFromAnyWindow) {
    Start();
    LoadText(test::Encrypted(test::kPlain) + "\r\n");
    SetFocus(Alphabet()->WindowHandle());

    // F10 in the alphabet window marks "Файл"; two steps right reach "Окна", down opens it at
    // its first item, three more (over the separator) reach "Биграммы", Enter chooses it.
    WatchMenu({[this](const MenuIdle& idle) {
        EXPECT_FALSE(idle.popupOpen);
        EXPECT_EQ(idle.barMarked, 0);
        for (UINT key : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
            Post(key);
        }
    }});
    Post(VK_F10, WM_SYSKEYDOWN);
    Post(VK_F10, WM_SYSKEYUP, static_cast<LPARAM>(0xC0000001));
    Pump();
    EXPECT_EQ(idles_.size(), 1u);
    EXPECT_FALSE(Checked(kItemBigramWindow));
    EXPECT_FALSE(app_->BigramWindow->Form->Visible());
    EXPECT_EQ(MarkedBarEntry(), -1);
    Strip()->OnMessage = {};
}

TEST_F(Keyboard, PopupItemsMakeRoomForTheirKeys) {
    Start();
    // The key widens the row by its own width and the gap before it; the skin draws it at the
    // row's right end.
    const int32_t open = MeasureItem(Item(kItemOpen)) >> 16;
    const int32_t exit = MeasureItem(Item(kItemExit)) >> 16;
    const auto captionWidth = [this](int32_t item) {
        return static_cast<int32_t>(Item(item)->Text().size()) * kMenuCharWidth;
    };
    EXPECT_EQ(open - captionWidth(kItemOpen) - (exit - captionWidth(kItemExit)),
              6 * kMenuCharWidth + kMenuKeyGap);
    test::Surface row{260, 22, RGB(1, 2, 3)};
    ASSERT_TRUE(DrawPopupItem(Item(kItemOpen), {row.Dc(), {0, 0, 260, 22}, ODA_DRAWENTIRE, 0}));
    int inkRight = -1;
    for (int x = 26; x < 260; ++x)
        for (int y = 0; y < 22; ++y)
            inkRight = row.At(x, y) != kMenuBackground ? x : inkRight;
    EXPECT_GT(inkRight, 260 - 5 - kMenuCharWidth * 2);
    EXPECT_LT(inkRight, 260 - 4);
}

TEST_F(Keyboard, TheAboutBoxClosesOnEscapeAndEnterAndAGuideThatCannotBeShownIsNamed) {
    Start();
    Control* about = app_->AboutWindow->Form;
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        Choose(kItemAbout);
        EXPECT_FALSE(IsWindowEnabled(app_->MainForm()->WindowHandle()));
        PressKey(about, key);
        EXPECT_FALSE(about->Visible());
        EXPECT_TRUE(IsWindowEnabled(app_->MainForm()->WindowHandle()));
    }

    test::shellOpenFails = true;
    std::wstring said;
    WindowDriver driver({test::Inspecting([&said](HWND box) { said = test::MessageText(box); },
                                          [](HWND box) { test::PressButton(box, IDOK); })});
    PressKey(Alphabet(), VK_F1);
    EXPECT_NE(said.find(L"Не удалось открыть справку"), std::wstring::npos) << said;
    EXPECT_NE(said.find(L"Help\\index.htm"), std::wstring::npos) << said;
}

}  // namespace
}  // namespace zam
