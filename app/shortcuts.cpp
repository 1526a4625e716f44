#include "app/shortcuts.h"

#include "app/modal_scope.h"
#include "toolkit/application.h"

namespace zam {
namespace {

struct Shortcut {
    UINT key;  // virtual key: the same for a letter's place whatever the keyboard layout
    bool ctrl;
    bool shift;
    int32_t item;
    bool editKey;  // an edit box's own (undo, redo, paste, Ctrl+H rubs out): the box keeps it
};

constexpr Shortcut kShortcuts[] = {
    {'O', true, false, kItemOpen, false},
    {'S', true, false, kItemSave, false},
    {'Z', true, false, kItemUndo, true},
    {'Y', true, false, kItemRedo, true},
    {'Z', true, true, kItemRedo, true},
    {'V', true, false, kItemPaste, true},
    {'F', true, false, kItemSelectPhrase, false},
    {'H', true, false, kItemHint, true},
    {VK_F1, false, false, kItemHelp, false},
};

// The program whose windows take the keys; one per process.
Application* shortcutTarget = nullptr;

bool IsEditBox(HWND window) {
    wchar_t name[16] = {};
    return window && GetClassNameW(window, name, 16) > 0 && lstrcmpiW(name, L"Edit") == 0;
}

bool ShortcutKey(Control*, Message& message) {
    Application* app = shortcutTarget;
    if (!app || message.Msg != WM_KEYDOWN || !app->MenuWindow || !app->MenuWindow->Form) {
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
        MenuEntry* entry = MenuItem(app->MainMenu(), shortcut.item);
        // The key does what the item does, and nothing where the item is greyed.
        if (entry && ItemEnabled(entry) && CommandsAllowed(*app)) {
            SendMessageW(app->MenuWindow->Form->WindowHandle(), WM_COMMAND,
                         static_cast<WPARAM>(entry->CommandId()), 0);
        }
        message.Result = 0;
        return true;
    }
    return false;
}

}  // namespace

void InstallShortcuts(Application& app) {
    shortcutTarget = &app;
    SetGlobalKeyHook(&ShortcutKey);
}

void RemoveShortcuts() {
    shortcutTarget = nullptr;
    SetGlobalKeyHook(nullptr);
}

std::string_view ShortcutText(int32_t item) {
    switch (item) {
        case kItemOpen:
            return "Ctrl+O";
        case kItemSave:
            return "Ctrl+S";
        case kItemUndo:
            return "Ctrl+Z";
        case kItemRedo:
            return "Ctrl+Y";
        case kItemPaste:
            return "Ctrl+V";
        case kItemSelectPhrase:
            return "Ctrl+F";
        case kItemHint:
            return "Ctrl+H";
        case kItemHelp:
            return "F1";
        default:
            return {};
    }
}

}  // namespace zam
