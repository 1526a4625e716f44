#include "app/shortcuts.h"

#include "app/main_menu_template.h"
#include "app/modal_scope.h"
#include "skin/menu_skin.h"
#include "toolkit/application.h"

namespace zam {
namespace {

struct Shortcut {
    UINT key;  // virtual key: the same for a letter's place whatever the keyboard layout
    bool ctrl;
    bool shift;
    int32_t item;
    bool editKey;      // an edit box's own (undo, redo, paste, Ctrl+H rubs out): the box keeps it
    const char* name;  // as the menu item shows it; the item's first key is the one shown
};

constexpr Shortcut kShortcuts[] = {
    {'O', true, false, kItemOpen, false, "Ctrl+O"},
    {'S', true, false, kItemSave, false, "Ctrl+S"},
    {'Z', true, false, kItemUndo, true, "Ctrl+Z"},
    {'Y', true, false, kItemRedo, true, "Ctrl+Y"},
    {'Z', true, true, kItemRedo, true, "Ctrl+Shift+Z"},
    {'V', true, false, kItemPaste, true, "Ctrl+V"},
    {'F', true, false, kItemSelectPhrase, false, "Ctrl+F"},
    {'H', true, false, kItemHint, true, "Ctrl+H"},
    {VK_F1, false, false, kItemHelp, false, "F1"},
};

bool IsEditBox(HWND window) {
    wchar_t name[16] = {};
    return window && GetClassNameW(window, name, 16) > 0 && lstrcmpiW(name, L"Edit") == 0;
}

// The menu strip rarely has the focus: F10, Alt alone and Alt with a letter reach its menu bar
// from whichever window has it, as they reach a window's own menu bar.
bool altAlone = false;  // Alt went down and no other key since
bool f10Down = false;

void OpenMenuBar(Application& app, wchar_t letter) {
    HWND strip = app.MenuWindow->Form->WindowHandle();
    if (strip && IsWindowVisible(strip) && CommandsAllowed(app)) {
        // Posted: the menu's own loop must not start inside the key's dispatch, where under
        // Wine it ends at once.
        PostMessageW(strip, WM_SYSCOMMAND, SC_KEYMENU, letter);
    }
}

bool MenuKey(Application& app, Message& message) {
    const WPARAM key = message.WParam;
    const bool repeat = (message.LParam & (LPARAM{1} << 30)) != 0;
    switch (message.Msg) {
        case WM_SYSKEYDOWN:
        case WM_KEYDOWN:
            if (key == VK_MENU || key == VK_LMENU || key == VK_RMENU) {
                altAlone = altAlone || !repeat;
                f10Down = false;
                return false;
            }
            altAlone = false;
            if (key == VK_F10 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0) {
                f10Down = true;
                message.Result = 0;
                return true;
            }
            f10Down = false;
            return false;
        case WM_SYSKEYUP:
        case WM_KEYUP: {
            const bool alt = key == VK_MENU || key == VK_LMENU || key == VK_RMENU;
            const bool open = (alt && altAlone) || (key == VK_F10 && f10Down);
            altAlone = f10Down = false;
            if (open) {
                OpenMenuBar(app, 0);
                message.Result = 0;
                return true;
            }
            return false;
        }
        case WM_SYSCHAR:
            // Alt with a character key, as the layout gives it ("ф" or the "a" on the same
            // key): the menu bar's entry of that letter opens. Alt+Space (the window menu)
            // goes on.
            altAlone = false;
            if (message.WParam > L' ' && GetKeyState(VK_CONTROL) >= 0) {
                OpenMenuBar(app, static_cast<wchar_t>(message.WParam));
                message.Result = 0;
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool ShortcutKey(Application& app, Control*, Message& message) {
    if (!app.MenuWindow || !app.MenuWindow->Form) {
        return false;
    }
    if (MenuKey(app, message)) {
        return true;
    }
    if (message.Msg != WM_KEYDOWN) {
        return false;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_MENU) < 0) {
        return false;
    }
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.key != message.WParam || shortcut.ctrl != ctrl || shortcut.shift != shift) {
            continue;
        }
        if (shortcut.editKey && IsEditBox(message.Window)) {
            return false;
        }
        MenuEntry* entry = MenuItem(app.MainMenu(), shortcut.item);
        // The key does what the item does, and nothing where the item is greyed.
        if (entry && ItemEnabled(entry) && CommandsAllowed(app)) {
            SendMessageW(app.MenuWindow->Form->WindowHandle(), WM_COMMAND,
                         static_cast<WPARAM>(entry->CommandId()), 0);
        }
        message.Result = 0;
        return true;
    }
    return false;
}

std::string_view MainMenuKeyText(Application& app, const MenuEntry* item) {
    if (!item || item->OwnerMenu() != app.MainMenu()) {
        return {};
    }
    return ShortcutText(item->Index());
}

}  // namespace

void InstallShortcuts(Application& app) {
    altAlone = f10Down = false;
    SetGlobalKeyHook(Bind<&ShortcutKey>(app));
    SetMenuKeyText(Bind<&MainMenuKeyText>(app));
}

void RemoveShortcuts() {
    SetGlobalKeyHook({});
    SetMenuKeyText({});
}

std::string_view ShortcutText(int32_t item) {
    for (const Shortcut& shortcut : kShortcuts) {
        if (shortcut.item == item) {
            return shortcut.name;
        }
    }
    return {};
}

}  // namespace zam
