// Menus: the application's main-menu template numbered exactly as its item table, command
// dispatch (radio groups, check toggles, which handler runs), texts, states, owned bitmaps,
// owner drawing, menu bars and popups, and that nothing a menu makes outlives it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/windows/control_test_support.h"
#include "toolkit/control.h"
#include "toolkit/gdi.h"
#include "toolkit/menu.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

using test::FreeAtExit;

// The main menu: 51 entries and the end mark.
// clang-format off
constexpr const char* kMainMenu[] = {
    "&Файл ", "(", "Открыть...", "Сохранить", "-", "Вы&ход", ")",
    "&Правка ", "(", "Выделить", "-", "Отменить", "Вернуть", "-", "Очистить", ")",
    "&Окна ", "(", "Шифротекст", "Алфавит", "Открытый текст", "-", "Биграммы", "График",
        "Информация", ")",
    "&Режимы ", "(", "Подсветка", "(", "текущих", "выделенных", "-", "текущих", "выделенных",
        "-", "фразы", ")", "Цветовая гамма", "(", "+!черная", "-!желтая", ")", ")",
    "&Помощь ", "(", "&Справка", "-", "Home &Page", "&About", ")",
    ""};
static_assert(std::size(kMainMenu) == 52);

// The application's item table: caption (empty for separators) and the number of the item
// whose submenu holds it (-1 on the menu bar).
struct Expected {
    const wchar_t* caption;
    int parent;
};
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

struct Calls {
    std::vector<std::pair<Menu*, int32_t>> log;
    void Clear() { log.clear(); }
};

void Record(void* calls, Menu* menu, int32_t index) {
    static_cast<Calls*>(calls)->log.push_back({menu, index});
}

LRESULT Command(Control* owner, const MenuEntry* item, WORD notification = 0, LPARAM from = 0) {
    return SendMessageW(owner->Handle(), WM_COMMAND,
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

using MenuTemplate = MenuTest;
using MenuCommands = MenuTest;
using MenuItems = MenuTest;
using MenuOwners = MenuTest;

TEST_F(MenuTemplate, TheMainMenuIsNumberedDepthFirstExactlyAsItsTable) {
    Control* form = NewForm(nullptr, "Меню");
    FreeAtExit release(form);
    Menu* menu = NewMenu(form, kMainMenu);

    ASSERT_EQ(menu->Count(), 37);
    EXPECT_EQ(GetMenuItemCount(menu->Handle()), 5);
    const int32_t firstId = MenuItem(menu, 0)->CommandId();
    EXPECT_GE(firstId, kFirstMenuCommandId);
    for (int32_t i = 0; i < 37; ++i) {
        SCOPED_TRACE(i);
        MenuEntry* item = MenuItem(menu, i);
        ASSERT_NE(item, nullptr);
        const Expected& row = kTable[i];
        EXPECT_EQ(item->Index(), i);
        EXPECT_EQ(item->CommandId(), firstId + i) << "one identifier per item, in order";
        EXPECT_EQ(MenuItem(menu, item->CommandId()), item);
        EXPECT_EQ(item->ParentItem(), row.parent < 0 ? nullptr : MenuItem(menu, row.parent));
        EXPECT_EQ(item->ParentHandle(),
                  row.parent < 0 ? menu->Handle() : MenuItem(menu, row.parent)->SubmenuHandle());
        EXPECT_EQ(item->IsBarItem(), row.parent < 0);
        EXPECT_EQ(Widen(item->Text()), row.caption);
        const bool separator = *row.caption == 0;
        EXPECT_EQ(item->IsSeparator(), separator);
        const MENUITEMINFOW info = Query(item, MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU);
        EXPECT_EQ(info.wID, static_cast<UINT>(item->CommandId()));
        EXPECT_EQ(info.hSubMenu, item->SubmenuHandle());
        EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, separator);
        if (!separator) {
            EXPECT_EQ(SystemText(item), row.caption) << "UTF-16 whatever the code page";
        }
        const bool radio = i == 30 || i == 31;
        EXPECT_EQ(item->IsRadio(), radio);
        EXPECT_EQ(item->IsCheckItem(), radio);
        EXPECT_EQ((info.fType & MFT_RADIOCHECK) != 0, radio);
        EXPECT_EQ(ItemChecked(item), i == 30) << "only \"+!черная\" starts checked";
        EXPECT_TRUE(ItemEnabled(item));
    }
    EXPECT_EQ(GetMenuItemCount(MenuItem(menu, 21)->SubmenuHandle()), 7);
    EXPECT_EQ(MenuItem(menu, 30)->RadioGroup(), MenuItem(menu, 31)->RadioGroup());

    EXPECT_EQ(MenuItem(menu, -1), nullptr);
    EXPECT_EQ(MenuItem(menu, 37), nullptr);
    EXPECT_EQ(MenuItem(menu, kFirstMenuCommandId - 1), nullptr);
    EXPECT_EQ(MenuItem(menu, firstId + 37), nullptr) << "an identifier of another menu";
    EXPECT_EQ(MenuItem(nullptr, 0), nullptr);
}

TEST_F(MenuTemplate, RadioGroupsCheckItemsAndMalformedTemplates) {
    const char* groups[] = {"-!a", "+!b", "-!!c", "+!d", "+!!e", "-x", "+", "--y"};
    Menu* menu = NewMenu(nullptr, groups);
    ASSERT_EQ(menu->Count(), 8);
    const int32_t group[] = {0, 0, 1, 1, 2};
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(MenuItem(menu, i)->IsRadio()) << i;
        EXPECT_EQ(MenuItem(menu, i)->RadioGroup() - MenuItem(menu, 0)->RadioGroup(), group[i]);
    }
    EXPECT_EQ(MenuItem(menu, 2)->Text(), "c");
    EXPECT_TRUE(ItemChecked(MenuItem(menu, 4)));
    EXPECT_FALSE(MenuItem(menu, 5)->IsRadio());
    EXPECT_TRUE(MenuItem(menu, 5)->IsCheckItem());
    EXPECT_TRUE(MenuItem(menu, 6)->IsCheckItem()) << "\"+\" alone is a checked item, no caption";
    EXPECT_TRUE(ItemChecked(MenuItem(menu, 6)));
    EXPECT_EQ(MenuItem(menu, 7)->Text(), "-y");
    Free(menu);

    struct Case {
        std::vector<const char*> entries;
        std::vector<int> parents;  // per item, -1 on the top level
    };
    const Case cases[] = {
        {{}, {}},
        {{"", "a"}, {}},
        {{"a", nullptr, "b"}, {-1}},
        {{")", "(", "a", "(", "b", ")", ")", ")", "c"}, {-1, 0, -1}},
        {{"-", "(", "x", ")", "y"}, {-1, -1, -1}},      // a separator takes no submenu
        {{"a", "(", "b", "(", "c"}, {-1, 0, 1}},        // never closed
        {{"a", "(", "(", "b", ")", "c"}, {-1, 0, -1}},  // the second "(" follows no item
        {{"a", "(", ")", "b"}, {-1, -1}},               // an empty submenu
    };
    for (const Case& c : cases) {
        Menu* m = NewMenu(nullptr, c.entries);
        ASSERT_EQ(m->Count(), static_cast<int32_t>(c.parents.size()));
        for (size_t i = 0; i < c.parents.size(); ++i) {
            MenuEntry* item = MenuItem(m, static_cast<int32_t>(i));
            EXPECT_EQ(item->ParentItem(), c.parents[i] < 0 ? nullptr : MenuItem(m, c.parents[i]));
            EXPECT_GE(item->Position(), 0) << "the system took every item";
        }
        Free(m);
    }
}

TEST_F(MenuCommands, ChoosingMovesTheRadioCheckTogglesCheckItemsAndCallsTheRightHandler) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    Calls menuCalls;
    Calls itemCalls;
    Menu* menu = NewMenu(form, kMainMenu, MakeEvent(&menuCalls, Record));
    MenuEntry* black = MenuItem(menu, 30);
    MenuEntry* yellow = MenuItem(menu, 31);

    EXPECT_EQ(Command(form, yellow), 0);
    EXPECT_TRUE(ItemChecked(yellow));
    EXPECT_FALSE(ItemChecked(black));
    Command(form, yellow);
    EXPECT_TRUE(ItemChecked(yellow)) << "choosing the checked radio item keeps it checked";
    Command(form, black);
    EXPECT_TRUE(ItemChecked(black));
    EXPECT_FALSE(ItemChecked(yellow));
    EXPECT_EQ(menuCalls.log,
              (std::vector<std::pair<Menu*, int32_t>>{{menu, 31}, {menu, 31}, {menu, 30}}));

    // The application checks items 13 to 19 itself and inverts them in its handler: a plain
    // item must not toggle on its own.
    MenuEntry* cipher = MenuItem(menu, 13);
    SetItemChecked(cipher, true);
    Command(form, cipher);
    EXPECT_TRUE(ItemChecked(cipher));

    menuCalls.Clear();
    MenuItem(menu, 4)->OnCommand = MakeEvent(&itemCalls, Record);
    Command(form, MenuItem(menu, 4));
    Command(form, MenuItem(menu, 2));
    EXPECT_EQ(itemCalls.log, (std::vector<std::pair<Menu*, int32_t>>{{menu, 4}}));
    EXPECT_EQ(menuCalls.log, (std::vector<std::pair<Menu*, int32_t>>{{menu, 2}}));

    // Accelerators (notification 1) count; control notifications and greyed items do not.
    menuCalls.Clear();
    Command(form, MenuItem(menu, 6), 1);
    SetItemEnabled(MenuItem(menu, 8), false);
    Command(form, MenuItem(menu, 8));
    Command(form, MenuItem(menu, 6), 2);
    Command(form, MenuItem(menu, 6), 0, reinterpret_cast<LPARAM>(form->Handle()));
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(MenuItem(menu, 36)->CommandId() + 1, 0), 0);
    EXPECT_EQ(menuCalls.log, (std::vector<std::pair<Menu*, int32_t>>{{menu, 6}}));

    // Another menu of the same owner: check items toggle, radio groups keep to themselves.
    const char* checks[] = {"-a", "+b", "+!r", "-!s", "-!!t", "+!u"};
    Menu* popup = NewMenu(form, checks, MakeEvent(&menuCalls, Record));
    menuCalls.Clear();
    for (int i : {0, 1, 4}) {
        Command(form, MenuItem(popup, i));
    }
    const bool checked[] = {true, false, true, false, true, false};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ItemChecked(MenuItem(popup, i)), checked[i]) << i;
    }
    Command(form, MenuItem(popup, 0));
    EXPECT_FALSE(ItemChecked(MenuItem(popup, 0)));
    EXPECT_EQ(menuCalls.log, (std::vector<std::pair<Menu*, int32_t>>{
                                 {popup, 0}, {popup, 1}, {popup, 4}, {popup, 0}}));
}

TEST_F(MenuCommands, AHandlerMayFreeItsMenuOrTheOwner) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    Menu* menu = NewMenu(form, kMainMenu);
    const int live = LiveMenus();
    MenuEntry* exit = MenuItem(menu, 4);
    const int32_t exitId = exit->CommandId();
    exit->OnCommand = MakeEvent(
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
    EXPECT_EQ(form->Menus->Count, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(exitId, 0), 0);  // nothing left to run

    release.Release();
    menu = NewMenu(form, kMainMenu);
    MenuItem(menu, 36)->OnCommand = MakeEvent(
        form, +[](void* owner, Menu* m, int32_t) {
            Free(static_cast<Control*>(owner));
            EXPECT_EQ(m->Owner(), owner);
        });
    const int controls = LiveControls();
    Command(form, MenuItem(menu, 36));
    EXPECT_EQ(LiveControls(), controls - 1);
    EXPECT_EQ(LiveMenus(), live - 1);
}

TEST_F(MenuItems, TextsAndStatesReachTheSystemAndKeepEachOther) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    Menu* menu = NewMenu(form, kMainMenu);

    MenuEntry* labelled = MenuItem(menu, 24);
    SetItemText(labelled, "биграммы");
    EXPECT_EQ(labelled->Text(), "биграммы");
    EXPECT_EQ(SystemText(labelled), L"биграммы") << "UTF-16 whatever the code page";
    EXPECT_NE(Query(labelled, MIIM_FTYPE).fType & MFT_SEPARATOR, 0u) << "still a separator";
    SetItemText(MenuItem(menu, 0), "Ф&айлы ёЁ№");
    EXPECT_EQ(SystemText(MenuItem(menu, 0)), L"Ф&айлы ёЁ№");

    MenuEntry* open = MenuItem(menu, 1);
    OwnerDraw(open, true);
    EXPECT_NE(Query(open, MIIM_FTYPE).fType & MFT_OWNERDRAW, 0u);
    SetItemText(open, "Открыть файл");
    EXPECT_EQ(open->Text(), "Открыть файл") << "kept for drawing";
    OwnerDraw(open, false);
    EXPECT_EQ(Query(open, MIIM_FTYPE).fType & MFT_OWNERDRAW, 0u);
    EXPECT_EQ(SystemText(open), L"Открыть файл");
    OwnerDraw(MenuItem(menu, 30), true);
    EXPECT_NE(Query(MenuItem(menu, 30), MIIM_FTYPE).fType & MFT_RADIOCHECK, 0u);

    // Disabled and checked are separate bits of one state word.
    MenuEntry* undo = MenuItem(menu, 8);
    SetItemEnabled(undo, false);
    EXPECT_NE(Query(undo, MIIM_STATE).fState & MFS_GRAYED, 0u);
    SetItemChecked(undo, true);
    EXPECT_FALSE(ItemEnabled(undo));
    SetItemEnabled(undo, true);
    EXPECT_TRUE(ItemEnabled(undo));
    EXPECT_TRUE(ItemChecked(undo));
    EXPECT_FALSE(undo->Highlighted());

    SetItemText(nullptr, "x");
    OwnerDraw(nullptr, true);
    SetItemChecked(nullptr, true);
    SetItemEnabled(nullptr, false);
    SetItemBitmaps(nullptr, nullptr, nullptr);
    EXPECT_FALSE(ItemChecked(nullptr));
}

TEST_F(MenuItems, BitmapsBelongToTheItemAndGoWhenReplacedOrWithTheMenu) {
    auto make = [] { return CreateBitmap(16, 16, 1, 32, nullptr); };
    const int gdi = LiveGdiCounts().objects;
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    Menu* menu = NewMenu(form, kMainMenu);
    MenuEntry* item = MenuItem(menu, 1);

    HBITMAP a = make();
    HBITMAP b = make();
    SetItemBitmaps(item, a, b);
    EXPECT_EQ(LiveGdiCounts().objects, gdi + 2);
    EXPECT_EQ(Query(item, MIIM_CHECKMARKS).hbmpChecked, b);
    EXPECT_EQ(item->UncheckedBitmap(), a);

    HBITMAP c = make();
    SetItemBitmaps(item, c, b);
    EXPECT_EQ(GetObjectType(a), 0u) << "the replaced bitmap is deleted";
    EXPECT_EQ(GetObjectType(b), static_cast<DWORD>(OBJ_BITMAP)) << "the kept one is not";
    EXPECT_EQ(LiveGdiCounts().objects, gdi + 2);

    SetItemBitmaps(item, b, c);  // swapped
    EXPECT_EQ(GetObjectType(b), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(GetObjectType(c), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(LiveGdiCounts().objects, gdi + 2);

    SetItemBitmaps(item, b, b);  // one bitmap for both states, deleted once
    EXPECT_EQ(GetObjectType(c), 0u);
    EXPECT_EQ(item->CheckedBitmap(), b);
    EXPECT_EQ(LiveGdiCounts().objects, gdi + 1);

    SetItemBitmaps(item, nullptr, nullptr);
    EXPECT_EQ(GetObjectType(b), 0u);
    EXPECT_EQ(Query(item, MIIM_CHECKMARKS).hbmpUnchecked, nullptr);
    EXPECT_EQ(LiveGdiCounts().objects, gdi);

    HBITMAP radio = make();
    SetItemBitmaps(MenuItem(menu, 30), radio, make());
    Free(menu);
    EXPECT_EQ(LiveGdiCounts().objects, gdi);
    EXPECT_EQ(GetObjectType(radio), 0u);
}

struct DrawLog {
    std::vector<MenuEntry*> measured;
    std::vector<MenuEntry*> drawn;
};

void MeasureWide(void* log, MenuEntry* item, int32_t& width, int32_t& height) {
    static_cast<DrawLog*>(log)->measured.push_back(item);
    width = 45 + 4 * item->Index();
    height = 22;
}

void DrawRed(void* log, MenuEntry* item, const MenuItemDrawing& drawing) {
    static_cast<DrawLog*>(log)->drawn.push_back(item);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(drawing.Dc, reinterpret_cast<const RECT*>(&drawing.Bounds), red);
    DeleteObject(red);
}

TEST_F(MenuItems, OwnerDrawnBarItemsAreMeasuredAndDrawnThroughTheirEvents) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    // Borderless like the application's menu strip; a framed window under Wine without a window
    // manager takes seconds to hide.
    form->HasBorder(false);
    form->SetPosition(10, 10)->SetSize(400, 120);
    Menu* menu = NewMenu(form, kMainMenu);
    DrawLog log;
    MenuEntry* file = MenuItem(menu, 0);
    MenuEntry* edit = MenuItem(menu, 5);
    for (MenuEntry* item : {file, edit}) {
        item->OnMeasureItem = MakeEvent(&log, MeasureWide);
        item->OnDrawItem = MakeEvent(&log, DrawRed);
        OwnerDraw(item, true);
    }
    test::ShowQuietly(form);
    DrawMenuBar(form->Handle());
    test::Pump();

    EXPECT_NE(std::find(log.measured.begin(), log.measured.end(), file), log.measured.end());
    EXPECT_NE(std::find(log.measured.begin(), log.measured.end(), edit), log.measured.end());
    EXPECT_NE(std::find(log.drawn.begin(), log.drawn.end(), edit), log.drawn.end());
    RECT fileRect{};
    RECT editRect{};
    ASSERT_TRUE(GetMenuItemRect(form->Handle(), menu->Handle(), 0, &fileRect));
    ASSERT_TRUE(GetMenuItemRect(form->Handle(), menu->Handle(), 1, &editRect));
    EXPECT_EQ((editRect.right - editRect.left) - (fileRect.right - fileRect.left), 20)
        << "the measured widths are the items'";

    // The pixels the handler drew are on screen, inside the edit item.
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, editRect.left + 5, editRect.top + 5);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(pixel, RGB(255, 0, 0));

    // Other owner-drawn things of the window are none of the menu's business.
    log.measured.clear();
    MEASUREITEMSTRUCT notMenu{ODT_LISTBOX, 0, 0, 0, 0, static_cast<ULONG_PTR>(file->CommandId())};
    SendMessageW(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&notMenu));
    EXPECT_TRUE(log.measured.empty());
}

// Inside the popup's modal loop: down twice to the second item, then Return.
void CALLBACK ChooseSecond(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        PostMessageW(window, WM_KEYDOWN, key, 1);
    }
}

// A popup that missed its keys ends here rather than hanging the tests.
void CALLBACK GiveUp(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    EndMenu();
}

TEST_F(MenuOwners, APopupOfAChildControlIsDrawnAndChosenThroughItsOwner) {
    Control* form = NewForm(nullptr, "");
    FreeAtExit release(form);
    form->HasBorder(false);
    form->SetPosition(20, 20)->SetSize(200, 100);
    Control* panel = NewPanel(form, 2);
    panel->SetSize(100, 50);
    const char* entries[] = {"Один", "Два", "-"};
    Calls calls;
    Menu* popup = NewMenu(panel, entries, MakeEvent(&calls, Record));
    EXPECT_FALSE(popup->IsMenuBar());
    DrawLog log;
    MenuEntry* second = MenuItem(popup, 1);
    second->OnMeasureItem = MakeEvent(&log, MeasureWide);
    second->OnDrawItem = MakeEvent(&log, DrawRed);
    OwnerDraw(second, true);
    test::ShowQuietly(form);

    HWND window = panel->Handle();
    SetTimer(window, 1, 50, ChooseSecond);
    SetTimer(window, 2, 3000, GiveUp);
    TrackPopupMenu(popup->Handle(), TPM_LEFTALIGN | TPM_TOPALIGN, 30, 30, 0, window, nullptr);
    KillTimer(window, 2);
    test::Pump();
    EXPECT_EQ(log.measured, std::vector<MenuEntry*>{second});
    EXPECT_FALSE(log.drawn.empty());
    EXPECT_EQ(calls.log, (std::vector<std::pair<Menu*, int32_t>>{{popup, 1}}));
}

std::vector<std::string> gone;

void LogGone(void* name, ToolkitObject*) {
    gone.push_back(static_cast<const char*>(name));
}

void Watch(Menu* menu, const char* name) {
    menu->OnDestroy = MakeEvent(const_cast<char*>(name), LogGone);
}

TEST_F(MenuOwners, BarForAFreshTopLevelFormPopupOtherwiseAllFreedWithTheOwner) {
    Control* form = NewForm(nullptr, "");
    Control* panel = NewPanel(form, 2);
    const int live = LiveMenus();
    const int handles = LiveMenuHandles();

    Menu* bar = NewMenu(form, kMainMenu);
    EXPECT_TRUE(bar->IsMenuBar());
    EXPECT_NE(form->WindowHandle(), nullptr) << "made for its menu bar";
    EXPECT_EQ(GetMenu(form->WindowHandle()), bar->Handle());
    EXPECT_EQ(bar->Owner(), form);

    Menu* second = NewMenu(form, kMainMenu);
    EXPECT_FALSE(second->IsMenuBar());
    EXPECT_FALSE(MenuItem(second, 0)->IsBarItem());
    EXPECT_EQ(GetMenu(form->WindowHandle()), bar->Handle());
    Menu* childMenu = NewMenu(panel, kMainMenu);
    EXPECT_FALSE(childMenu->IsMenuBar());
    EXPECT_TRUE(IsMenu(childMenu->Handle()));
    EXPECT_EQ(form->Menus->Count, 2);
    EXPECT_EQ(panel->Menus->Count, 1);

    gone.clear();
    Watch(bar, "bar");
    Watch(second, "second");
    Watch(childMenu, "child");
    const HMENU all[] = {bar->Handle(), second->Handle(), childMenu->Handle(),
                         MenuItem(bar, 21)->SubmenuHandle()};
    EXPECT_EQ(LiveMenus(), live + 3);
    EXPECT_EQ(LiveMenuHandles(), handles + 3);

    Free(form);
    EXPECT_EQ(gone, (std::vector<std::string>{"child", "second", "bar"}));
    EXPECT_EQ(LiveMenus(), live);
    EXPECT_EQ(LiveMenuHandles(), handles);
    for (HMENU h : all) {
        EXPECT_FALSE(IsMenu(h));
    }

    Menu* orphan = NewMenu(nullptr, kMainMenu);
    EXPECT_EQ(orphan->Owner(), nullptr);
    EXPECT_FALSE(orphan->IsMenuBar());
    Free(orphan);
}

TEST_F(MenuOwners, AMenuBarOutlivesItsWindowUntilTheOwnerGoes) {
    Control* form = NewForm(nullptr, "");
    Menu* menu = NewMenu(form, kMainMenu);
    const HMENU bar = menu->Handle();
    const HMENU submenu = MenuItem(menu, 20)->SubmenuHandle();
    SetItemBitmaps(MenuItem(menu, 1), CreateBitmap(4, 4, 1, 32, nullptr), nullptr);

    DestroyWindow(form->Handle());
    EXPECT_TRUE(IsMenu(bar)) << "the window did not take the menu with it";
    SetItemChecked(MenuItem(menu, 13), true);
    EXPECT_TRUE(ItemChecked(MenuItem(menu, 13)));
    Free(form);
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_FALSE(IsMenu(submenu));
}

// The fixture checks the counts of menus, system menus and bitmaps afterwards.
TEST_F(MenuOwners, HundredsOfMenusComeAndGoWithoutLeaks) {
    Control* form = NewForm(nullptr, "");
    HMENU first = nullptr;
    for (int i = 0; i < 300; ++i) {
        Control* owner = i % 50 == 0 ? NewForm(nullptr, "") : form;
        Menu* menu = NewMenu(owner, kMainMenu);
        first = first ? first : menu->Handle();
        SetItemBitmaps(MenuItem(menu, 1), CreateBitmap(16, 16, 1, 32, nullptr),
                       CreateBitmap(16, 16, 1, 32, nullptr));
        SetItemBitmaps(MenuItem(menu, 1), CreateBitmap(16, 16, 1, 32, nullptr), nullptr);
        OwnerDraw(MenuItem(menu, 24), true);
        SetItemText(MenuItem(menu, 24), "биграммы");
        ASSERT_TRUE(menu->IsMenuBar()) << i;
        Free(owner == form ? static_cast<ToolkitObject*>(menu) : owner);
    }
    Free(form);
    EXPECT_FALSE(IsMenu(first));
}

}  // namespace
}  // namespace zam
