#pragma once
// Menus built from text templates: a menu bar or a popup menu with submenus, check and radio
// items, owned item bitmaps and owner drawing. Items are numbered depth-first from 0 over the
// menu and its submenus, separators included; the owner window's WM_COMMAND is dispatched to
// the item's handler, or the menu's, with that number.
//
// Template entries, read in order up to the end or the first empty (or null) entry:
//   ")"       ends the current submenu;
//   "-"       a separator;
//   "-text"   a check item, unchecked ("+text": checked);
//   "-!text"  a radio item of the current group ("+!text": the checked one);
//   "-!!text" a radio item that starts a new group;
//   "text"    a plain item;
//   "("       right after an item: the entries up to the matching ")" make its submenu.
// Radio groups are numbered across the whole template. A "(" that does not follow an item and
// a ")" outside any submenu are ignored.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/event.h"
#include "toolkit/gdi.h"
#include "toolkit/geometry.h"
#include "toolkit/object.h"

namespace zam {

class Control;
class Menu;
class MenuEntry;

// Command identifiers of menu items start here; MenuItem takes values from here on as
// identifiers rather than indices.
constexpr int32_t kFirstMenuCommandId = 4096;

// (menu, item index).
using MenuEvent = Event<Menu*, int32_t>;
// (item, width, height): preset to the system's proposal; the handler sets the item's size.
using MenuMeasureEvent = Event<MenuEntry*, int32_t&, int32_t&>;

// What WM_DRAWITEM asks of an owner-drawn item.
struct MenuItemDrawing {
    HDC Dc;
    Rect Bounds;
    uint32_t Action;  // ODA_ bits
    uint32_t State;   // ODS_ bits
};
using MenuDrawEvent = Event<MenuEntry*, const MenuItemDrawing&>;

namespace detail {
// Attaches the owner window's WM_MEASUREITEM and WM_DRAWITEM handler (once).
void AttachMenuDrawing(MenuEntry* item);
}  // namespace detail

// An item event whose assignment attaches the owner's owner-draw message handler, so that
// owners of menus without owner drawing never inspect those messages.
template <class... Args>
class MenuItemEventSlot : public Slot<Args...> {
public:
    explicit MenuItemEventSlot(MenuEntry* item) : item_(item) {}
    MenuItemEventSlot(const MenuItemEventSlot&) = delete;
    MenuItemEventSlot& operator=(const MenuItemEventSlot&) = delete;

    MenuItemEventSlot& operator=(const Event<Args...>& event) {
        Slot<Args...>::operator=(event);
        if (event.Assigned()) {
            detail::AttachMenuDrawing(item_);
        }
        return *this;
    }

private:
    MenuEntry* item_;
};

// One item of a menu. Items belong to their menu and live exactly as long as it does.
class MenuEntry {
public:
    MenuEntry(const MenuEntry&) = delete;
    MenuEntry& operator=(const MenuEntry&) = delete;

    zam::Menu* OwnerMenu() const { return menu_; }
    // The item whose submenu holds this one; null on the top level.
    MenuEntry* ParentItem() const { return parent_; }
    // Depth-first number within the menu.
    int32_t Index() const { return index_; }
    int32_t CommandId() const { return commandId_; }
    // The system menu that holds the item, and the item's position there.
    HMENU ParentHandle() const { return parentHandle_; }
    int32_t Position() const { return position_; }
    HMENU SubmenuHandle() const { return submenu_; }

    // Windows-1251, "&" marks included; kept while the item is owner-drawn. Empty for a
    // separator until a text is set.
    const std::string& Text() const { return text_; }
    bool IsSeparator() const { return separator_; }
    // Made with a leading "-" or "+": a command toggles it (or, for a radio item, checks it).
    bool IsCheckItem() const { return checkItem_; }
    bool IsRadio() const { return radio_; }
    int32_t RadioGroup() const { return radioGroup_; }
    bool HasSubmenu() const { return submenu_ != nullptr; }
    // Directly in the menu rather than in one of its submenus.
    bool IsTopLevel() const { return parent_ == nullptr; }
    // A top-level item of a menu bar.
    bool IsBarItem() const;
    bool IsOwnerDrawn() const { return ownerDrawn_; }

    // The item's MFS_ state bits as the system has them now (MFS_HILITE included).
    uint32_t State() const;
    bool Highlighted() const { return (State() & MFS_HILITE) != 0; }
    HBITMAP UncheckedBitmap() const { return unchecked_.Get(); }
    HBITMAP CheckedBitmap() const {
        return checkedIsUnchecked_ ? unchecked_.Get() : checked_.Get();
    }

    // Called instead of the menu's handler when assigned.
    Slot<Menu*, int32_t> OnCommand;
    MenuItemEventSlot<MenuEntry*, int32_t&, int32_t&> OnMeasureItem{this};
    MenuItemEventSlot<MenuEntry*, const MenuItemDrawing&> OnDrawItem{this};

private:
    friend class zam::Menu;
    friend struct MenuInternals;
    friend void SetItemText(MenuEntry* item, std::string_view text);
    friend void SetItemBitmaps(MenuEntry* item, HBITMAP unchecked, HBITMAP checked);
    friend void OwnerDraw(MenuEntry* item, bool on);
    MenuEntry() = default;

    zam::Menu* menu_ = nullptr;
    MenuEntry* parent_ = nullptr;
    int32_t index_ = 0;
    int32_t commandId_ = 0;
    HMENU parentHandle_ = nullptr;
    int32_t position_ = -1;    // -1: the system refused the item
    HMENU submenu_ = nullptr;  // owned by the system menu above it
    std::string text_;
    bool separator_ = false;
    bool checkItem_ = false;
    bool radio_ = false;
    bool ownerDrawn_ = false;
    bool checkedIsUnchecked_ = false;  // one bitmap serves both states, owned once
    int32_t radioGroup_ = 0;
    OwnedBitmap unchecked_;
    OwnedBitmap checked_;
};

// Owns a menu made by CreateMenu or CreatePopupMenu (its submenus go with it).
class OwnedMenu {
public:
    OwnedMenu() = default;
    explicit OwnedMenu(HMENU menu);
    OwnedMenu(OwnedMenu&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)) {}
    OwnedMenu& operator=(OwnedMenu&& other) noexcept;
    OwnedMenu(const OwnedMenu&) = delete;
    OwnedMenu& operator=(const OwnedMenu&) = delete;
    ~OwnedMenu() { Reset(); }

    HMENU Get() const { return menu_; }
    void Reset();

private:
    HMENU menu_ = nullptr;
};

class Menu : public ToolkitObject {
public:
    Menu() = default;

    // Null when the system could not make the menu.
    HMENU Handle() const { return handle_.Get(); }
    // The window whose menu this is; null for a menu made without owner.
    Control* Owner() const { return owner_; }
    // Made as the owner's menu bar (it may have been taken off the window since).
    bool IsMenuBar() const { return menuBar_; }
    // All items, submenus and separators included.
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // By depth-first index, or by command identifier for values from kFirstMenuCommandId on;
    // null when there is no such item.
    MenuEntry* Item(int32_t indexOrId) const;

    // Called with (menu, index) for a chosen item that has no handler of its own.
    Slot<Menu*, int32_t> OnCommand;

protected:
    ~Menu() override = default;
    void Init() override;
    void Destroy() override;
    void ReleaseOwned() override;

private:
    friend struct MenuInternals;
    friend Menu* NewMenu(Control* owner, std::span<const char* const> entries, MenuEvent handler);

    Control* owner_ = nullptr;
    bool menuBar_ = false;
    OwnedMenu handle_;
    std::vector<std::unique_ptr<MenuEntry>> items_;  // depth-first
};

// Builds a menu from a template (see the top of this file). With a top-level owner that has
// no menu yet the menu becomes its menu bar (the owner's window is created for it); otherwise
// it is a popup menu. A menu with an owner is freed with it; handler gets the commands of
// items that have no handler of their own.
Menu* NewMenu(Control* owner, std::span<const char* const> entries, MenuEvent handler = {});

// menu->Item(indexOrId); null for a null menu.
MenuEntry* MenuItem(Menu* menu, int32_t indexOrId);

// The item operations accept null and then do nothing (or answer false).
bool ItemChecked(const MenuEntry* item);
void SetItemChecked(MenuEntry* item, bool on);
// Disabled means greyed (MFS_GRAYED): shown dimmed and never chosen.
bool ItemEnabled(const MenuEntry* item);
void SetItemEnabled(MenuEntry* item, bool on);
// text is Windows-1251.
void SetItemText(MenuEntry* item, std::string_view text);
// The item takes ownership of both bitmaps (one handle may serve both) and deletes those they
// replace; null removes a bitmap.
void SetItemBitmaps(MenuEntry* item, HBITMAP unchecked, HBITMAP checked);
// MFT_OWNERDRAW on or off; the item keeps its text either way.
void OwnerDraw(MenuEntry* item, bool on);

// The letter an "&" marks in a caption ("&&" is a plain "&"), Windows-1251; 0 for none.
char MnemonicLetter(std::string_view text);
// Whether a typed character (UTF-16) picks the mnemonic: the same letter in either case, or
// the letter on the same key of the other layout (Latin and Russian), so that the keys work
// whichever layout is on.
bool MnemonicMatches(char mnemonic, wchar_t typed);
// The Russian letter on the key of a Latin letter or of its punctuation (";" is Ж), upper case
// Windows-1251; 0 for a key without one.
char RussianLetterAtKey(wchar_t latin);

// Live counts, for leak tests: menu objects, and system menus owned by them.
int LiveMenus();
int LiveMenuHandles();

}  // namespace zam
