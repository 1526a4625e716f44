// Menus from templates, the items' system state and owned bitmaps, and the owner window's
// menu messages (commands, owner drawing, the end of its window).
#include "toolkit/menu.h"

#include <cstddef>
#include <optional>
#include <string>

#include "toolkit/application.h"
#include "toolkit/control.h"
#include "toolkit/encoding.h"
#include "toolkit/pointer_list.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

int liveMenus = 0;
int liveMenuHandles = 0;

// Windows 95 and NT 4 know neither MIIM_FTYPE nor MIIM_STRING, and a MENUITEMINFO without the
// later hbmpItem field.
bool LegacyMenuItemInfo() {
    static const bool legacy = [] {
        OSVERSIONINFOW version{};
        version.dwOSVersionInfoSize = sizeof version;
        if (!GetVersionExW(&version)) {
            return false;
        }
        if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
            return version.dwMajorVersion == 4 && version.dwMinorVersion == 0;
        }
        return version.dwMajorVersion <= 4;
    }();
    return legacy;
}

MENUITEMINFOW ItemInfo(UINT mask) {
    MENUITEMINFOW info{};
    info.cbSize = LegacyMenuItemInfo() ? offsetof(MENUITEMINFOW, hbmpItem) : sizeof info;
    info.fMask = mask;
    return info;
}

// The item's text goes only with a type that shows text.
bool ShowsText(UINT type) {
    return (type & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)) == 0;
}

bool IsOpenBracket(const char* entry) {
    return entry && std::string_view(entry) == "(";
}

}  // namespace

struct MenuInternals {
    static void Build(Menu* menu, std::span<const char* const> entries);
    static bool Read(const MenuEntry* item, MENUITEMINFOW& info);
    static bool Write(MenuEntry* item, MENUITEMINFOW& info);
    static void SetType(MenuEntry* item, UINT type);
    static HWND BarWindow(const Menu* menu);
    static MenuEntry* FindById(Control* owner, ULONG_PTR id);
    static void Choose(MenuEntry* item);
    static bool CommandHandler(Control* owner, Message& message);
    static bool DrawHandler(Control* owner, Message& message);
};

// ---- owned system menus ----

OwnedMenu::OwnedMenu(HMENU menu) : menu_(menu) {
    if (menu_) {
        ++liveMenuHandles;
    }
}

OwnedMenu& OwnedMenu::operator=(OwnedMenu&& other) noexcept {
    if (this != &other) {
        Reset();
        menu_ = std::exchange(other.menu_, nullptr);
    }
    return *this;
}

void OwnedMenu::Reset() {
    if (!menu_) {
        return;
    }
    // A menu bar still on a window that the system destroyed went with it: destroying it
    // again could hit a menu made since under a reused handle.
    if (IsMenu(menu_)) {
        DestroyMenu(menu_);
    }
    menu_ = nullptr;
    --liveMenuHandles;
}

int LiveMenus() {
    return liveMenus;
}

int LiveMenuHandles() {
    return liveMenuHandles;
}

// ---- menu ----

void Menu::Init() {
    ++liveMenus;
}

void Menu::Destroy() {
    // OnDestroy first, so that its handlers (a skin releasing its drawing tools) still find
    // the menu whole.
    RunBaseCleanup();
    ReleaseOwned();
    ReleaseMemory();
}

void Menu::ReleaseOwned() {
    // Teardown order: off the owner's window first, so that the window never shows a destroyed
    // menu; then the system menu with its submenus; the items' bitmaps last, since the menu
    // refers to them until it is gone.
    if (HWND window = MenuInternals::BarWindow(this)) {
        SetMenu(window, nullptr);
    }
    if (owner_ && owner_->Menus) {
        owner_->Menus->Remove(this);
    }
    owner_ = nullptr;
    handle_.Reset();
    items_.clear();
    --liveMenus;
}

MenuEntry* Menu::Item(int32_t indexOrId) const {
    if (indexOrId >= kFirstMenuCommandId) {
        for (const auto& item : items_) {
            if (item->commandId_ == indexOrId) {
                return item.get();
            }
        }
        return nullptr;
    }
    if (indexOrId < 0 || indexOrId >= Count()) {
        return nullptr;
    }
    return items_[static_cast<size_t>(indexOrId)].get();
}

HWND MenuInternals::BarWindow(const Menu* menu) {
    if (!menu->menuBar_ || !menu->owner_ || !menu->Handle()) {
        return nullptr;
    }
    HWND window = menu->owner_->WindowHandle();
    return window && GetMenu(window) == menu->Handle() ? window : nullptr;
}

// ---- building ----

Menu* NewMenu(Control* owner, std::span<const char* const> entries, MenuEvent handler) {
    Menu* menu = NewObject<Menu>();
    menu->OnCommand = handler;
    HWND window = owner && !owner->IsChildControl() ? owner->Handle() : nullptr;
    const bool bar = window && !GetMenu(window);
    menu->handle_ = OwnedMenu(bar ? CreateMenu() : CreatePopupMenu());
    MenuInternals::Build(menu, entries);
    if (owner) {
        menu->owner_ = owner;
        if (!owner->Menus) {
            owner->Menus = NewList();
        }
        owner->Menus->Add(menu);
        owner->AttachMessageHandler(MenuInternals::CommandHandler);
    }
    // Attached once complete, so that the window measures its menu bar once.
    menu->menuBar_ = bar && menu->Handle() && SetMenu(window, menu->Handle());
    return menu;
}

void MenuInternals::Build(Menu* menu, std::span<const char* const> entries) {
    struct Level {
        HMENU handle;
        MenuEntry* item;
    };
    // Items whose system menu could not be made keep their place in the numbering.
    std::vector<Level> levels{{menu->Handle(), nullptr}};
    int32_t radioGroup = 0;
    for (size_t i = 0; i < entries.size() && entries[i] && *entries[i]; ++i) {
        const std::string_view entry(entries[i]);
        if (entry == ")") {
            if (levels.size() > 1) {
                levels.pop_back();
            }
            continue;
        }
        if (entry == "(") {
            continue;  // its item took it already
        }

        std::unique_ptr<MenuEntry> item(new MenuEntry);
        MenuEntry* made = item.get();
        bool checked = false;
        std::string_view caption = entry;
        if (entry == "-") {
            made->separator_ = true;
            caption = {};
        } else if (entry[0] == '-' || entry[0] == '+') {
            made->checkItem_ = true;
            checked = entry[0] == '+';
            caption.remove_prefix(1);
            if (!caption.empty() && caption[0] == '!') {
                made->radio_ = true;
                caption.remove_prefix(1);
                if (!caption.empty() && caption[0] == '!') {
                    ++radioGroup;
                    caption.remove_prefix(1);
                }
                made->radioGroup_ = radioGroup;
            }
        }
        made->text_ = std::string(caption);
        made->menu_ = menu;
        made->parent_ = levels.back().item;
        made->parentHandle_ = levels.back().handle;
        made->index_ = menu->Count();
        made->commandId_ = NextMenuCommandId();
        const bool opensSubmenu =
            !made->separator_ && i + 1 < entries.size() && IsOpenBracket(entries[i + 1]);
        if (opensSubmenu) {
            made->submenu_ = CreatePopupMenu();
        }

        // MIIM_TYPE rather than MIIM_FTYPE and MIIM_STRING: every version of Windows knows it.
        std::wstring text = Widen(made->text_);
        MENUITEMINFOW info = ItemInfo(MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_DATA);
        info.fType =
            made->separator_ ? MFT_SEPARATOR : (made->radio_ ? MFT_RADIOCHECK : 0) | MFT_STRING;
        if (!made->separator_) {
            info.dwTypeData = text.data();
            info.cch = static_cast<UINT>(text.size());
        }
        info.fState = checked ? MFS_CHECKED : MFS_UNCHECKED;
        info.wID = static_cast<UINT>(made->commandId_);
        info.dwItemData = static_cast<ULONG_PTR>(made->commandId_);
        if (made->submenu_) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = made->submenu_;
        }
        const HMENU parent = made->parentHandle_;
        const int position = parent ? GetMenuItemCount(parent) : -1;
        if (position >= 0 && InsertMenuItemW(parent, static_cast<UINT>(position), TRUE, &info)) {
            made->position_ = position;
        } else if (made->submenu_) {
            DestroyMenu(made->submenu_);  // no menu above it to take it along
            made->submenu_ = nullptr;
        }
        menu->items_.push_back(std::move(item));
        if (opensSubmenu) {
            levels.push_back({made->submenu_, made});
            ++i;
        }
    }
}

// ---- item state ----

bool MenuEntry::IsBarItem() const {
    return parent_ == nullptr && menu_->IsMenuBar();
}

bool MenuInternals::Read(const MenuEntry* item, MENUITEMINFOW& info) {
    return item->position_ >= 0 &&
           GetMenuItemInfoW(item->parentHandle_, static_cast<UINT>(item->position_), TRUE, &info);
}

bool MenuInternals::Write(MenuEntry* item, MENUITEMINFOW& info) {
    if (item->position_ < 0 ||
        !SetMenuItemInfoW(item->parentHandle_, static_cast<UINT>(item->position_), TRUE, &info)) {
        return false;
    }
    // The system repaints popup items when they are next shown, but not the menu bar.
    if (item->IsBarItem()) {
        if (HWND window = BarWindow(item->menu_)) {
            DrawMenuBar(window);
        }
    }
    return true;
}

void MenuInternals::SetType(MenuEntry* item, UINT type) {
    std::wstring text = Widen(item->text_);
    MENUITEMINFOW info = ItemInfo(MIIM_FTYPE);
    if (LegacyMenuItemInfo()) {
        info.fMask = MIIM_TYPE;
        if (ShowsText(type)) {
            info.dwTypeData = text.data();
            info.cch = static_cast<UINT>(text.size());
        }
    }
    info.fType = type;
    Write(item, info);
}

uint32_t MenuEntry::State() const {
    MENUITEMINFOW info = ItemInfo(MIIM_STATE);
    return MenuInternals::Read(this, info) ? info.fState : 0;
}

bool ItemChecked(const MenuEntry* item) {
    return item && (item->State() & MFS_CHECKED) != 0;
}

void SetItemChecked(MenuEntry* item, bool on) {
    MENUITEMINFOW info = ItemInfo(MIIM_STATE);
    if (!item || !MenuInternals::Read(item, info)) {
        return;
    }
    info.fState = on ? info.fState | MFS_CHECKED : info.fState & ~MFS_CHECKED;
    MenuInternals::Write(item, info);
}

bool ItemEnabled(const MenuEntry* item) {
    return item && (item->State() & (MFS_GRAYED | MFS_DISABLED)) == 0;
}

void SetItemEnabled(MenuEntry* item, bool on) {
    MENUITEMINFOW info = ItemInfo(MIIM_STATE);
    if (!item || !MenuInternals::Read(item, info)) {
        return;
    }
    info.fState = on ? info.fState & ~(MFS_GRAYED | MFS_DISABLED) : info.fState | MFS_GRAYED;
    MenuInternals::Write(item, info);
}

void SetItemText(MenuEntry* item, std::string_view text) {
    if (!item) {
        return;
    }
    item->text_ = std::string(text);
    MENUITEMINFOW info = ItemInfo(MIIM_FTYPE);
    if (LegacyMenuItemInfo()) {
        // MIIM_TYPE sets type and text together; a separator or an owner-drawn item keeps its
        // type and only the kept text changes.
        info.fMask = MIIM_TYPE;
        if (MenuInternals::Read(item, info) && ShowsText(info.fType)) {
            MenuInternals::SetType(item, info.fType);
        }
        return;
    }
    // The type is written back with the text: a separator stays one.
    if (!MenuInternals::Read(item, info)) {
        return;
    }
    std::wstring wide = Widen(item->text_);
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = wide.data();
    info.cch = static_cast<UINT>(wide.size());
    MenuInternals::Write(item, info);
}

void SetItemBitmaps(MenuEntry* item, HBITMAP unchecked, HBITMAP checked) {
    if (!item) {
        return;
    }
    // The menu shows the new pair before the old one is deleted.
    MENUITEMINFOW info = ItemInfo(MIIM_CHECKMARKS);
    info.hbmpUnchecked = unchecked;
    info.hbmpChecked = checked;
    MenuInternals::Write(item, info);

    // A handle passed again stays owned rather than being deleted and taken back.
    OwnedBitmap oldUnchecked = std::move(item->unchecked_);
    OwnedBitmap oldChecked = std::move(item->checked_);
    auto take = [&](HBITMAP bitmap) {
        if (bitmap && oldUnchecked.Get() == bitmap) {
            return std::move(oldUnchecked);
        }
        if (bitmap && oldChecked.Get() == bitmap) {
            return std::move(oldChecked);
        }
        return OwnedBitmap(bitmap);
    };
    item->unchecked_ = take(unchecked);
    item->checkedIsUnchecked_ = checked && checked == unchecked;
    item->checked_ = item->checkedIsUnchecked_ ? OwnedBitmap() : take(checked);
}

void OwnerDraw(MenuEntry* item, bool on) {
    MENUITEMINFOW info = ItemInfo(LegacyMenuItemInfo() ? MIIM_TYPE : MIIM_FTYPE);
    if (!item || !MenuInternals::Read(item, info)) {
        return;
    }
    item->ownerDrawn_ = on;
    MenuInternals::SetType(item, on ? info.fType | MFT_OWNERDRAW : info.fType & ~MFT_OWNERDRAW);
}

MenuEntry* MenuItem(Menu* menu, int32_t indexOrId) {
    return menu ? menu->Item(indexOrId) : nullptr;
}

// ---- the owner's messages ----

void detail::AttachMenuDrawing(MenuEntry* item) {
    Control* owner = item && item->OwnerMenu() ? item->OwnerMenu()->Owner() : nullptr;
    if (owner) {
        owner->AttachMessageHandler(MenuInternals::DrawHandler);
    }
}

// WM_COMMAND carries 16 bits of identifier: items numbered past 0xFFFF are never found.
MenuEntry* MenuInternals::FindById(Control* owner, ULONG_PTR id) {
    PointerList* menus = owner->Menus;
    for (int32_t m = 0; menus && m < menus->Count; ++m) {
        for (const auto& item : menus->At<Menu>(m)->items_) {
            if (static_cast<ULONG_PTR>(item->commandId_) == id) {
                return item.get();
            }
        }
    }
    return nullptr;
}

void MenuInternals::Choose(MenuEntry* item) {
    // Windows never sends these; a stray message must not run a greyed command.
    if (item->separator_ || !ItemEnabled(item)) {
        return;
    }
    Menu* menu = item->menu_;
    if (item->radio_) {
        for (const auto& other : menu->items_) {
            if (other->radio_ && other->radioGroup_ == item->radioGroup_) {
                SetItemChecked(other.get(), other.get() == item);
            }
        }
    } else if (item->checkItem_) {
        SetItemChecked(item, !ItemChecked(item));
    }
    const MenuEvent handler = item->OnCommand.Assigned() ? item->OnCommand : menu->OnCommand;
    // The handler may free the menu; it goes once the handler is done.
    RefInc(menu);
    handler(menu, item->index_);
    RefDec(menu);
}

bool MenuInternals::CommandHandler(Control* owner, Message& message) {
    if (message.Msg == WM_DESTROY) {
        // The system destroys a window's menu with it: the menu bars are ours to destroy.
        for (int32_t m = 0; owner->Menus && m < owner->Menus->Count; ++m) {
            if (BarWindow(owner->Menus->At<Menu>(m)) == message.Window) {
                SetMenu(message.Window, nullptr);
            }
        }
        return false;
    }
    // Menus send notification 0, accelerators 1; controls name themselves in lParam.
    if (message.Msg != WM_COMMAND || message.LParam != 0 || HIWORD(message.WParam) >= 2) {
        return false;
    }
    MenuEntry* item = FindById(owner, LOWORD(message.WParam));
    if (!item) {
        return false;
    }
    Choose(item);
    message.Result = 0;
    return true;
}

bool MenuInternals::DrawHandler(Control* owner, Message& message) {
    if (message.Msg == WM_MENUCHAR) {
        // The system cannot read the captions of owner-drawn items: their mnemonics are ours.
        const auto typed = static_cast<wchar_t>(LOWORD(message.WParam));
        const auto handle = reinterpret_cast<HMENU>(message.LParam);
        PointerList* menus = owner->Menus;
        for (int32_t m = 0; menus && m < menus->Count; ++m) {
            for (const auto& item : menus->At<Menu>(m)->items_) {
                if (item->parentHandle_ == handle && item->position_ >= 0 && item->ownerDrawn_ &&
                    !item->separator_ && ItemEnabled(item.get()) &&
                    MnemonicMatches(MnemonicLetter(item->text_), typed)) {
                    message.Result = MAKELRESULT(item->position_, MNC_EXECUTE);
                    return true;
                }
            }
        }
        return false;
    }
    if (message.Msg == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (!measure || measure->CtlType != ODT_MENU) {
            return false;
        }
        MenuEntry* item = FindById(owner, measure->itemData);
        if (!item || !item->OnMeasureItem.Assigned()) {
            return false;
        }
        int32_t width = static_cast<int32_t>(measure->itemWidth);
        int32_t height = static_cast<int32_t>(measure->itemHeight);
        const MenuMeasureEvent handler = item->OnMeasureItem;
        Menu* menu = item->menu_;
        RefInc(menu);
        handler(item, width, height);
        RefDec(menu);
        measure->itemWidth = static_cast<UINT>(width > 0 ? width : 0);
        measure->itemHeight = static_cast<UINT>(height > 0 ? height : 0);
        message.Result = TRUE;
        return true;
    }
    if (message.Msg == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (!draw || draw->CtlType != ODT_MENU) {
            return false;
        }
        MenuEntry* item = FindById(owner, draw->itemData);
        if (!item || !item->OnDrawItem.Assigned() ||
            reinterpret_cast<HMENU>(draw->hwndItem) != item->parentHandle_) {
            return false;
        }
        const MenuItemDrawing drawing{
            draw->hDC,
            {draw->rcItem.left, draw->rcItem.top, draw->rcItem.right, draw->rcItem.bottom},
            draw->itemAction,
            draw->itemState};
        const MenuDrawEvent handler = item->OnDrawItem;
        Menu* menu = item->menu_;
        RefInc(menu);
        handler(item, drawing);
        RefDec(menu);
        message.Result = TRUE;
        return true;
    }
    return false;
}

namespace {

// The Russian keyboard's letters on the keys of the Latin one, in key order.
constexpr std::string_view kLatinKeys = "QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,.`";
constexpr std::string_view kRussianKeys = "ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮЁ";
static_assert(kLatinKeys.size() == kRussianKeys.size());

char Upper1251(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') {
        return static_cast<char>(u - 32);
    }
    if (u >= 0xE0) {  // а..я
        return static_cast<char>(u - 32);
    }
    if (u == 0xB8) {  // ё
        return static_cast<char>(0xA8);
    }
    return c;
}

}  // namespace

char MnemonicLetter(std::string_view text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') {
            continue;
        }
        if (text[i + 1] != '&') {
            return text[i + 1];
        }
        ++i;
    }
    return 0;
}

char RussianLetterAtKey(wchar_t latin) {
    if (latin <= 0 || latin >= 0x80) {
        return 0;
    }
    const size_t at = kLatinKeys.find(Upper1251(static_cast<char>(latin)));
    return at == std::string_view::npos ? 0 : kRussianKeys[at];
}

bool MnemonicMatches(char mnemonic, wchar_t typed) {
    const std::optional<char> narrow = CodePointTo1251(static_cast<char32_t>(typed));
    if (mnemonic == 0 || !narrow || *narrow == 0) {
        return false;
    }
    const char want = Upper1251(mnemonic);
    const char got = Upper1251(*narrow);
    if (want == got) {
        return true;
    }
    // The same key on the other layout, either way round.
    if (RussianLetterAtKey(typed) == want) {
        return true;
    }
    const size_t at = kRussianKeys.find(got);
    return at != std::string_view::npos && kLatinKeys[at] == want;
}

}  // namespace zam
