#include "app/commands.h"

#include <shellapi.h>

#include <string>

#include "app/app_config.h"
#include "skin/skinned_form.h"
#include "toolkit/message_box.h"
#include "toolkit/wide_text.h"
#include "workspace/operations.h"

namespace zam {
namespace {

constexpr std::string_view kResetCaption = "ВНИМАНИЕ";
constexpr std::string_view kResetQuestion =
    "Вы уверены что хотите сбросить результат дешифрования?";

Application& AppOf(void* data) {
    return *static_cast<Application*>(data);
}

void ShowTool(ToolWindowRecord* record) {
    if (record) {
        record->Form->Show();
    }
}

// The question has no owner window, as the program's other boxes; its caption is its own.
bool ConfirmReset() {
    const std::wstring text = Widen(kResetQuestion);
    const std::wstring caption = Widen(kResetCaption);
    return MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONWARNING) ==
           IDYES;
}

ToolWindowRecord* WindowOfItem(Application& app, int32_t item) {
    for (ToolWindowRecord* record : app.FlaggedWindows()) {
        if (record && record->MenuItem == item) {
            return record;
        }
    }
    return nullptr;
}

}  // namespace

void ChooseScheme(Application& app, Scheme scheme) {
    app.Palette.Choose(scheme);
    for (View* view : app.Views) {
        view->Invalidate();
    }
    if (app.InfoWindow) {
        app.InfoWindow->Form->Invalidate();
    }
}

void HighlightSwitch(Application& app, int32_t item) {
    MenuEntry* entry = MenuItem(app.MainMenu(), item);
    const bool on = !ItemChecked(entry);
    SetItemChecked(entry, on);
    Workspace& ws = *app.Ws;
    switch (item) {
        case kItemHiliteCurrent:
            SetCurrentLetter(ws, app.Screen, PointerSource::FreeRow, kNoLetter);
            ws.HiliteCurrent = on;
            break;
        case kItemHiliteSelected:
            SetSelectedLetter(ws, app.Screen, kNoLetter);
            ws.HiliteSelected = on;
            break;
        case kItemHiliteCurrentBigram:
            ws.HiliteCurrentBigram = on;
            RedrawOverlayOccurrences(ws, app.Screen, ws.CurrentBigram, "");
            break;
        case kItemHiliteSelectedBigram: {
            ws.HiliteSelectedBigram = on;
            RedrawOverlayOccurrences(ws, app.Screen, ws.SelectedBigram, "");
            // The bigram selection goes with the switch, in the text and in the table.
            ws.BigramSelectedCell = Cell{};
            const std::string old = std::move(ws.SelectedBigram);
            ws.SelectedBigram.clear();
            RedrawOverlayOccurrences(ws, app.Screen, old, "");
            if (app.BigramWindow) {
                app.BigramWindow->Form->Invalidate();
            }
            break;
        }
        case kItemHilitePhrase:
            ws.HilitePhrase = on;
            RedrawOverlayOccurrences(ws, app.Screen, ws.Phrase, "");
            break;
        default:
            break;
    }
}

void ToolbarClick(void* data, Control* button) {
    Application& app = AppOf(data);
    MainWindowRecord& main = *app.MainWindow;
    // The button keeps its pressed look until it hears that the focus went.
    button->Perform(WM_KILLFOCUS, reinterpret_cast<WPARAM>(main.Form->WindowHandle()), 0);
    int32_t index = 0;
    while (index < kToolbarButtonCount && main.Buttons[static_cast<size_t>(index)] != button) {
        ++index;
    }
    Workspace& ws = *app.Ws;
    switch (index) {
        case kBtnLoad:
            OpenCommand(ws, app.Screen, app.Boxes, main.Form->WindowHandle());
            break;
        case kBtnSave:
            SaveCommand(ws, app.Boxes, main.Form->WindowHandle());
            break;
        case kBtnNew:
            if (!ws.CipherText.text.empty() && ConfirmReset()) {
                Reset(ws, app.Screen, false);
            }
            break;
        case kBtnFind:
            ShowTool(app.PhraseDialog);
            break;
        case kBtnLocked:
            ShowTool(app.CipherWindow);
            break;
        case kBtnAlph:
            ShowTool(app.AlphabetWindow);
            break;
        case kBtnUnLocked:
            ShowTool(app.PlainWindow);
            break;
        case kBtnGraph:
            ShowTool(app.GraphWindow);
            break;
        case kBtnDbl:
            ShowTool(app.BigramWindow);
            break;
        case kBtnInfo:
            ShowTool(app.InfoWindow);
            break;
        default:
            break;
    }
}

void FileEditCommand(void* data, Menu*, int32_t item) {
    Application& app = AppOf(data);
    Workspace& ws = *app.Ws;
    HWND mainWindow = app.MainForm()->WindowHandle();
    switch (item) {
        case kItemOpen:
            OpenCommand(ws, app.Screen, app.Boxes, mainWindow);
            break;
        case kItemSave:
            SaveCommand(ws, app.Boxes, mainWindow);
            break;
        case kItemExit:
            app.MainForm()->Close();
            break;
        case kItemSelectPhrase:
            ShowTool(app.PhraseDialog);
            break;
        case kItemClear:
            Reset(ws, app.Screen, false);
            break;
        default:
            break;
    }
}

void WindowToggleCommand(void* data, Menu* menu, int32_t item) {
    Application& app = AppOf(data);
    MenuEntry* entry = MenuItem(menu, item);
    SetItemChecked(entry, !ItemChecked(entry));
    if (ToolWindowRecord* record = WindowOfItem(app, item)) {
        if (record->Form->Visible()) {
            record->Form->Hide();
        } else {
            record->Form->Show();
        }
    }
}

void HighlightCommand(void* data, Menu*, int32_t item) {
    HighlightSwitch(AppOf(data), item);
}

void SchemeCommand(void* data, Menu*, int32_t item) {
    ChooseScheme(AppOf(data), item == kItemYellowScheme ? Scheme::Yellow : Scheme::Black);
}

void HelpCommand(void* data, Menu*, int32_t item) {
    Application& app = AppOf(data);
    switch (item) {
        case kItemHelp:
            app.ShellOpen(kHelpFile);
            break;
        case kItemHomePage:
            app.ShellOpen(kHomePageAddress);
            break;
        case kItemAbout:
            ShowTool(app.AboutWindow);
            break;
        default:
            break;
    }
}

void MainWindowMoved(void* data, Control* main) {
    Application& app = AppOf(data);
    const Rect client = FrameClientRect(main);
    if (app.MenuWindow) {
        app.MenuWindow->Form->SetPosition(main->Left() + client.left,
                                          main->Top() + client.top + 2);
    }
    if (app.ApplicationWindow) {
        app.ApplicationWindow->SetPosition(main->Left(), main->Top());
    }
}

void MainWindowShownOrHidden(void* data, Control* main) {
    if (MenuWindowRecord* strip = AppOf(data).MenuWindow) {
        strip->Form->SetVisible(main->Visible());
    }
}

void ToolWindowShownOrHidden(void* record, Control* form) {
    auto* tool = static_cast<ToolWindowRecord*>(record);
    SetItemChecked(MenuItem(tool->Owner->MainMenu(), tool->MenuItem), form->Visible());
}

void ShellOpenTarget(std::string_view target) {
    // The result is not looked at: a missing help file or browser is not reported.
    const std::wstring file = Widen(target);
    ShellExecuteW(GetDesktopWindow(), L"open", file.c_str(), nullptr, L"", SW_SHOWNORMAL);
}

}  // namespace zam
