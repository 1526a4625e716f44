// Menus: the application's main-menu template numbered exactly as its item table, command
// dispatch (radio groups, check toggles, which handler runs), texts, states, owned bitmaps,
// owner drawing, menu bars and popups, and that nothing a menu makes outlives it.
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

using test::FreeAtExit;

static_assert(std::size(kMainMenuTemplate) == 52);

// The application's item table: caption (empty for separators) and the number of the item
// whose submenu holds it (-1 on the menu bar).
struct Expected {
    const wchar_t* caption;
    int parent;
};
// clang-format off
const Expected kTable[] = {
    {L"&Файл ", -1}, {L"Открыть...", 0}, {L"Сохранить", 0}, {L"", 0}, {L"Вы&ход", 0},
    {L"&Правка ", -1}, {L"Выделить", 5}, {L"", 5}, {L"Отменить", 5}, {L"Вернуть", 5}, {L"", 5},
    {L"Очистить", 5},
    {L"&Окна ", -1}, {L"Шифротекст", 12}, {L"Алфавит", 12}, {L"Открытый текст", 12}, {L"", 12},
    {L"Биграммы", 12}, {L"График", 12}, {L"Информация", 12},
    {L"&Режимы ", -1}, {L"Подсветка", 20}, {L"текущих", 21}, {L"выделенных", 21}, {L"", 21},
    {L"текущих", 21}, {L"выделенных", 21}, {L"", 21}, {L"фразы", 21}, {L"Цветовая гамма", 20},
    {L"черная", 29}, {L"желтая", 29},
    {L"&Помощь ", -1}, {L"&Справка", 32}, {L"", 32}, {L"Home &Page", 32}, {L"&About", 32},
};
// clang-format on
static_assert(std::size(kTable) == 37);

MENUITEMINFOW Query(const MenuEntry* item, UINT mask, wchar_t* text = nullptr, UINT size = 0) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.dwTypeData = text;
    info.cch = size;
    EXPECT_TRUE(GetMenuItemInfoW(item->ParentHandle(), item->Position(), TRUE, &info));
    return info;
}

std::wstring SystemText(const MenuEntry* item) {
    wchar_t text[64] = {};
    const MENUITEMINFOW info = Query(item, MIIM_STRING, text, 64);
    return std::wstring(text, info.cch);
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
class MenuTest : public test::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        menus_ = LiveMenus();
        handles_ = LiveMenuHandles();
        gdi_ = LiveGdiCounts().objects;
    }
    void TearDown() override {
        ControlTest::TearDown();
        EXPECT_EQ(LiveMenus(), menus_) << "menus left alive";
        EXPECT_EQ(LiveMenuHandles(), handles_) << "system menus left alive";
        EXPECT_EQ(LiveGdiCounts().objects, gdi_) << "bitmaps left alive";
    }

private:
    int menus_ = 0;
    int handles_ = 0;
    int gdi_ = 0;
};

TEST_F(MenuTest, TheMainMenuIsNumberedDepthFirstExactlyAsItsTable) {
    Control* form = NewForm(nullptr, "Меню");
    FreeAtExit release(form);
    Menu* menu = NewMenu(form, kMainMenuTemplate);
    ASSERT_EQ(menu->Count(), 37);
    EXPECT_EQ(GetMenuItemCount(menu->Handle()), 5);
    const int32_t firstId = MenuItem(menu, 0)->CommandId();
    EXPECT_GE(firstId, kFirstMenuCommandId);
    for (int32_t i = 0; i < 37; ++i) {
        SCOPED_TRACE(i);
        MenuEntry* item = MenuItem(menu, i);
        ASSERT_NE(item, nullptr);
        const Expected& row = kTable[i];
        EXPECT_EQ(MenuItem(menu, firstId + i), item) << "one identifier per item, in order";
        EXPECT_EQ(item->ParentHandle(),
                  row.parent < 0 ? menu->Handle() : MenuItem(menu, row.parent)->SubmenuHandle());
        const MENUITEMINFOW info = Query(item, MIIM_FTYPE | MIIM_ID);
        EXPECT_EQ(info.wID, static_cast<UINT>(firstId + i));
        EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, *row.caption == 0);
        if (*row.caption) {
            EXPECT_EQ(SystemText(item), row.caption) << "UTF-16 whatever the code page";
        }
        // "+!черная" and "-!желтая" make one radio group, the first checked.
        EXPECT_EQ((info.fType & MFT_RADIOCHECK) != 0, i == 30 || i == 31);
        EXPECT_EQ(ItemChecked(item), i == 30);
    }
    EXPECT_EQ(MenuItem(menu, 30)->RadioGroup(), MenuItem(menu, 31)->RadioGroup());
    EXPECT_EQ(MenuItem(menu, 37), nullptr);
    EXPECT_EQ(MenuItem(menu, firstId + 37), nullptr) << "an identifier of another menu";
}

TEST_F(MenuTest, RadioGroupsCheckItemsAndMalformedTemplates) {
    const char* groups[] = {"-!a", "+!b", "-!!c", "+!d", "+", "--y"};
    Menu* menu = NewMenu(nullptr, groups);
    ASSERT_EQ(menu->Count(), 6);
    const int32_t first = MenuItem(menu, 0)->RadioGroup();
    EXPECT_EQ(MenuItem(menu, 1)->RadioGroup(), first);
    EXPECT_EQ(MenuItem(menu, 2)->RadioGroup(), first + 1) << "\"-!!\" starts a new group";
    EXPECT_EQ(MenuItem(menu, 2)->Text(), "c");
    EXPECT_TRUE(ItemChecked(MenuItem(menu, 4))) << "\"+\" alone is a checked item, no caption";
    EXPECT_FALSE(MenuItem(menu, 4)->IsRadio());
    EXPECT_EQ(MenuItem(menu, 5)->Text(), "-y");
    Free(menu);

    // Unbalanced brackets are ignored and never lose an item: a, b (in a), c.
    const char* unbalanced[] = {")", "(", "a", "(", "b", ")", ")", ")", "c"};
    menu = NewMenu(nullptr, unbalanced);
    ASSERT_EQ(menu->Count(), 3);
    EXPECT_EQ(MenuItem(menu, 1)->ParentItem(), MenuItem(menu, 0));
    EXPECT_EQ(MenuItem(menu, 2)->ParentItem(), nullptr);
    EXPECT_GE(MenuItem(menu, 2)->Position(), 0) << "the system took every item";
    Free(menu);
}

TEST_F(MenuTest, ChoosingMovesTheRadioCheckTogglesCheckItemsAndCallsTheRightHandler) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    Calls menuCalls;
    Calls itemCalls;
    Menu* menu = NewMenu(form, kMainMenuTemplate, MakeEvent(&menuCalls, Record));
    MenuEntry* black = MenuItem(menu, 30);
    MenuEntry* yellow = MenuItem(menu, 31);
    Command(form, yellow);
    Command(form, yellow);
    EXPECT_TRUE(ItemChecked(yellow)) << "choosing the checked radio item keeps it checked";
    EXPECT_FALSE(ItemChecked(black));

    // The application checks items 13 to 19 itself and inverts them in its handler: a plain
    // item must not toggle on its own.
    MenuEntry* cipher = MenuItem(menu, 13);
    SetItemChecked(cipher, true);
    Command(form, cipher);
    EXPECT_TRUE(ItemChecked(cipher));

    // The item's own handler replaces the menu's; accelerators (notification 1) count,
    // control notifications and greyed items do not.
    MenuItem(menu, 4)->OnCommand = MakeEvent(&itemCalls, Record);
    Command(form, MenuItem(menu, 4));
    Command(form, MenuItem(menu, 6), 1);
    Command(form, MenuItem(menu, 6), 2);
    Command(form, MenuItem(menu, 6), 0, reinterpret_cast<LPARAM>(form->Handle()));
    SetItemEnabled(MenuItem(menu, 8), false);
    Command(form, MenuItem(menu, 8));
    EXPECT_EQ(itemCalls, (Calls{{menu, 4}}));
    EXPECT_EQ(menuCalls, (Calls{{menu, 31}, {menu, 31}, {menu, 13}, {menu, 6}}));

    // Another menu of the same owner: check items toggle, radio groups keep to themselves.
    const char* checks[] = {"-a", "+b", "+!r", "-!!t", "+!u"};
    Menu* popup = NewMenu(form, checks, MakeEvent(&menuCalls, Record));
    for (int i : {0, 1, 3}) {
        Command(form, MenuItem(popup, i));
    }
    const bool checked[] = {true, false, true, true, false};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ItemChecked(MenuItem(popup, i)), checked[i]) << i;
    }
    EXPECT_TRUE(ItemChecked(yellow));
    EXPECT_EQ(menuCalls.back(), (std::pair<Menu*, int32_t>{popup, 3}));
}

TEST_F(MenuTest, AHandlerMayFreeItsMenuOrTheOwner) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    Menu* menu = NewMenu(form, kMainMenuTemplate);
    const int live = LiveMenus();
    const int32_t exitId = MenuItem(menu, 4)->CommandId();
    MenuItem(menu, 4)->OnCommand = MakeEvent(
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

    release.Release();
    menu = NewMenu(form, kMainMenuTemplate);
    MenuItem(menu, 36)->OnCommand = MakeEvent(
        form, +[](void* owner, Menu* m, int32_t) {
            Free(static_cast<Control*>(owner));
            EXPECT_EQ(m->Owner(), owner);
        });
    Command(form, MenuItem(menu, 36));
    EXPECT_EQ(LiveMenus(), live - 1);  // the fixture checks the form went too
}

TEST_F(MenuTest, TextsStatesAndOwnedBitmaps) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    Menu* menu = NewMenu(form, kMainMenuTemplate);

    MenuEntry* labelled = MenuItem(menu, 24);
    SetItemText(labelled, "биграммы");
    EXPECT_EQ(SystemText(labelled), L"биграммы") << "UTF-16 whatever the code page";
    EXPECT_NE(Query(labelled, MIIM_FTYPE).fType & MFT_SEPARATOR, 0u) << "still a separator";
    MenuEntry* open = MenuItem(menu, 1);
    OwnerDraw(open, true);
    SetItemText(open, "Открыть файл");  // kept for drawing, and given back
    OwnerDraw(open, false);
    EXPECT_EQ(SystemText(open), L"Открыть файл");

    // Disabled and checked are separate bits of one state word.
    MenuEntry* undo = MenuItem(menu, 8);
    SetItemEnabled(undo, false);
    SetItemChecked(undo, true);
    EXPECT_FALSE(ItemEnabled(undo));
    SetItemEnabled(undo, true);
    EXPECT_TRUE(ItemChecked(undo));

    // Item bitmaps belong to the item: a replaced one is deleted, a kept one is not, one
    // bitmap for both states is deleted once, and the rest go with the menu.
    auto make = [] { return CreateBitmap(16, 16, 1, 32, nullptr); };
    const int gdi = LiveGdiCounts().objects;
    HBITMAP a = make();
    HBITMAP b = make();
    SetItemBitmaps(open, a, b);
    EXPECT_EQ(Query(open, MIIM_CHECKMARKS).hbmpChecked, b);
    HBITMAP c = make();
    SetItemBitmaps(open, c, b);
    EXPECT_EQ(GetObjectType(a), 0u);
    EXPECT_EQ(GetObjectType(b), static_cast<DWORD>(OBJ_BITMAP));
    SetItemBitmaps(open, b, b);
    EXPECT_EQ(GetObjectType(c), 0u);
    EXPECT_EQ(LiveGdiCounts().objects, gdi + 1);
    SetItemBitmaps(MenuItem(menu, 30), make(), make());
    Free(menu);
    EXPECT_EQ(GetObjectType(b), 0u);
    EXPECT_EQ(LiveGdiCounts().objects, gdi);
}

// An owner-drawn item, measured 45 + 4 per index wide and drawn red.
void OwnerDrawn(MenuEntry* item) {
    item->OnMeasureItem = MakeEvent(
        nullptr, +[](void*, MenuEntry* item, int32_t& width, int32_t& height) {
            width = 45 + 4 * item->Index();
            height = 22;
        });
    item->OnDrawItem = MakeEvent(
        nullptr, +[](void*, MenuEntry*, const MenuItemDrawing& drawing) {
            OwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
            FillRect(drawing.Dc, reinterpret_cast<const RECT*>(&drawing.Bounds), red.Get());
        });
    OwnerDraw(item, true);
}

TEST_F(MenuTest, OwnerDrawnBarItemsAreMeasuredAndDrawnThroughTheirEvents) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    form->HasBorder(false);  // see ShowQuietly
    form->SetPosition(10, 10)->SetSize(400, 120);
    Menu* menu = NewMenu(form, kMainMenuTemplate);
    OwnerDrawn(MenuItem(menu, 0));
    OwnerDrawn(MenuItem(menu, 5));
    test::ShowQuietly(form);
    DrawMenuBar(form->Handle());
    test::Pump();

    RECT file{};
    RECT edit{};
    ASSERT_TRUE(GetMenuItemRect(form->Handle(), menu->Handle(), 0, &file));
    ASSERT_TRUE(GetMenuItemRect(form->Handle(), menu->Handle(), 1, &edit));
    EXPECT_EQ((edit.right - edit.left) - (file.right - file.left), 20)
        << "the measured widths are the items'";
    // The pixels the handler drew are on screen, inside the item.
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, edit.left + 5, edit.top + 5), RGB(255, 0, 0));
    ReleaseDC(nullptr, screen);
}

TEST_F(MenuTest, BarForAFreshTopLevelFormPopupOtherwiseAllFreedWithTheOwner) {
    Control* form = NewForm(nullptr, "");
    Control* panel = NewPanel(form, 2);
    Menu* bar = NewMenu(form, kMainMenuTemplate);
    EXPECT_TRUE(bar->IsMenuBar());
    EXPECT_EQ(GetMenu(form->WindowHandle()), bar->Handle()) << "the window is made for it";
    Menu* second = NewMenu(form, kMainMenuTemplate);
    EXPECT_FALSE(second->IsMenuBar());
    Calls calls;
    Menu* childMenu = NewMenu(panel, kMainMenuTemplate, MakeEvent(&calls, Record));
    EXPECT_FALSE(childMenu->IsMenuBar());
    Command(panel, MenuItem(childMenu, 2));  // a popup's choice goes to its owner
    EXPECT_EQ(calls, (Calls{{childMenu, 2}}));
    const HMENU all[] = {bar->Handle(), second->Handle(), childMenu->Handle(),
                         MenuItem(bar, 21)->SubmenuHandle()};

    // The bar outlives its window until the owner goes.
    DestroyWindow(form->Handle());
    EXPECT_TRUE(IsMenu(bar->Handle())) << "the window did not take the menu with it";
    Free(form);
    for (HMENU h : all) {
        EXPECT_FALSE(IsMenu(h));
    }
}

}  // namespace
}  // namespace zam
