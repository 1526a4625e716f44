// Menus: the application's main-menu template numbered exactly as its item table, command
// dispatch (radio groups, check toggles, which handler runs), owned bitmaps, the menu bar,
// and that nothing a menu makes outlives it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/main_menu_template.h"
#include "tests/windows/control_test_support.h"
#include "toolkit/control.h"
#include "toolkit/gdi.h"
#include "toolkit/menu.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

// The item's identifier and type, and its text, as the system holds them.
MENUITEMINFOW SystemInfo(const MenuEntry* item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE;
    EXPECT_TRUE(GetMenuItemInfoW(item->ParentHandle(), item->Position(), TRUE, &info));
    return info;
}

std::wstring SystemText(const MenuEntry* item) {
    wchar_t text[64] = {};
    GetMenuStringW(item->ParentHandle(), item->Position(), text, 64, MF_BYPOSITION);
    return text;
}

using Calls = std::vector<std::pair<Menu*, int32_t>>;

void Record(void* calls, Menu* menu, int32_t index) {
    static_cast<Calls*>(calls)->push_back({menu, index});
}

void Command(Control* owner, const MenuEntry* item, WORD notification = 0, LPARAM from = 0) {
    SendMessageW(owner->Handle(), WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(item->CommandId()), notification), from);
}

// Fails the test when menus, their system menus or owned GDI objects outlive it.
// Each test has a form to own its menus; it may free the form itself.
class MenuTest : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        form = NewForm(nullptr, "Меню");
        live_ = Live();
    }
    void TearDown() override {
        Free(form);
        ControlTest::TearDown();
        EXPECT_EQ(Live(), live_) << "menus, system menus, bitmaps";
    }
    static std::vector<int> Live() {
        return {LiveMenus(), LiveMenuHandles(), LiveGdiCounts().objects};
    }

    Control* form = nullptr;

private:
    std::vector<int> live_;
};

// Commands and the settings file address the main menu's items by these numbers.
TEST_F(MenuTest, ItemsAreNumberedDepthFirstSeparatorsIncludedWithOneIdentifierEach) {
    const char* items[] = {"&Файл ", "(", "Открыть", "(", "шифр", ")", "-", "Вы&ход", ")", "Окна"};
    Menu* menu = NewMenu(form, items);
    ASSERT_EQ(menu->Count(), 6);
    const int32_t firstId = MenuItem(menu, 0)->CommandId();
    const wchar_t* texts[] = {L"&Файл ", L"Открыть", L"шифр", L"", L"Вы&ход", L"Окна"};
    const int parents[] = {-1, 0, 1, 0, 0, -1};
    for (int32_t i = 0; i < 6; ++i) {
        MenuEntry* item = MenuItem(menu, i);
        EXPECT_EQ(MenuItem(menu, firstId + i), item) << i;
        EXPECT_EQ(SystemInfo(item).wID, static_cast<UINT>(firstId + i)) << i;
        EXPECT_EQ(item->ParentHandle(),
                  parents[i] < 0 ? menu->Handle() : MenuItem(menu, parents[i])->SubmenuHandle());
        if (*texts[i])
            EXPECT_EQ(SystemText(item), texts[i]) << "UTF-16 whatever the code page";
        else
            EXPECT_NE(SystemInfo(item).fType & MFT_SEPARATOR, 0u);
    }
    EXPECT_EQ(MenuItem(menu, 6), nullptr);
    EXPECT_EQ(MenuItem(menu, firstId + 6), nullptr) << "an identifier of another menu";
}

TEST_F(MenuTest, ChoosingMovesTheRadioCheckInItsGroupTogglesCheckItemsAndCallsOneHandler) {
    Calls menuCalls;
    Calls itemCalls;
    // "-!!" starts a new radio group, "+" alone is a checked item without caption, "--y" an
    // unchecked one named "-y"; the application checks plain items itself.
    const char* items[] = {"-!a", "+!b", "-!!c", "+!d", "+", "--y", "Окна"};
    Menu* menu = NewMenu(form, items, MakeEvent(&menuCalls, Record));
    ASSERT_EQ(menu->Count(), 7);
    EXPECT_EQ(MenuItem(menu, 5)->Text(), "-y");
    SetItemChecked(MenuItem(menu, 6), true);
    for (int i : {0, 3, 3, 4, 5, 6})
        Command(form, MenuItem(menu, i));
    const bool checked[] = {true, false, false, true, false, true, true};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(ItemChecked(MenuItem(menu, i)), checked[i]) << i;

    // The item's own handler replaces the menu's; accelerators (notification 1) count,
    // control notifications and greyed items do not.
    menuCalls.clear();
    MenuItem(menu, 6)->OnCommand = MakeEvent(&itemCalls, Record);
    Command(form, MenuItem(menu, 6));
    Command(form, MenuItem(menu, 5), 1);
    Command(form, MenuItem(menu, 5), 2);
    Command(form, MenuItem(menu, 5), 0, reinterpret_cast<LPARAM>(form->Handle()));
    SetItemEnabled(MenuItem(menu, kItemExit), false);
    Command(form, MenuItem(menu, kItemExit));
    EXPECT_EQ(itemCalls, (Calls{{menu, 6}}));
    EXPECT_EQ(menuCalls, (Calls{{menu, 5}}));
}

TEST_F(MenuTest, AHandlerMayFreeItsMenu) {
    Menu* menu = NewMenu(form, kMainMenuTemplate);
    const int live = LiveMenus();
    const int32_t exitId = MenuItem(menu, kItemExit)->CommandId();
    MenuItem(menu, kItemExit)->OnCommand = MakeEvent(
        nullptr, +[](void*, Menu* m, int32_t index) {
            Free(m);
            EXPECT_EQ(MenuItem(m, index)->Index(), index) << "alive until the handler is done";
        });
    HWND window = form->Handle();
    HMENU bar = menu->Handle();
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(exitId, 0), 0);
    EXPECT_EQ(LiveMenus(), live - 1);
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_EQ(GetMenu(window), nullptr) << "taken off the window before it went";
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(exitId, 0), 0);  // nothing left to run
}

// The program's one menu is the bar of a fresh top-level form.
TEST_F(MenuTest, BarForAFreshTopLevelFormFreedWithTheOwner) {
    Menu* bar = NewMenu(form, kMainMenuTemplate);
    EXPECT_TRUE(bar->IsMenuBar());
    EXPECT_EQ(GetMenu(form->WindowHandle()), bar->Handle()) << "the window is made for it";
    const HMENU all[] = {bar->Handle(), MenuItem(bar, kMenuHighlight)->SubmenuHandle()};
    // Item bitmaps belong to the item: a replaced pair is deleted, the rest go with the menu.
    auto make = [] { return CreateBitmap(16, 16, 1, 32, nullptr); };
    HBITMAP replaced = make();
    SetItemBitmaps(MenuItem(bar, 1), replaced, make());
    SetItemBitmaps(MenuItem(bar, 1), make(), make());
    EXPECT_EQ(GetObjectType(replaced), 0u);

    // The bar outlives its window until the owner goes.
    DestroyWindow(form->Handle());
    EXPECT_TRUE(IsMenu(bar->Handle())) << "the window did not take the menu with it";
    Free(std::exchange(form, nullptr));
    for (HMENU h : all)
        EXPECT_FALSE(IsMenu(h));
}

}  // namespace
}  // namespace zam
