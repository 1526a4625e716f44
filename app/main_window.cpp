#include "app/main_window.h"

#include <filesystem>
#include <string>

#include "app/analysis_records.h"
#include "app/app_config.h"
#include "app/commands.h"
#include "app/main_menu_template.h"
#include "app/modal_scope.h"
#include "app/solver_commands.h"
#include "app/startup.h"
#include "app/work_commands.h"
#include "skin/menu_skin.h"
#include "skin/skinned_button.h"
#include "skin/skinned_form.h"
#include "skin/tooltip.h"
#include "toolkit/application.h"
#include "toolkit/encoding.h"
#include "toolkit/wide_text.h"
#include "workspace/operations.h"

namespace zam {
namespace {

struct ToolbarButtonInfo {
    const char* name;
    int32_t left;
    const char* hint;
};

// In the order of ToolbarButton.
constexpr ToolbarButtonInfo kButtons[kToolbarButtonCount] = {
    {"btnLoad", 18, "Открыть"},
    {"btnSave", 44, "Сохранить"},
    {"btnNew", 78, "Очистить"},
    {"btnFind", 113, "Фраза"},
    {"btnLocked", 148, "Шифротекст"},
    {"btnAlph", 174, "Алфавит"},
    {"btnUnLocked", 200, "Открытый текст"},
    {"btnGraph", 234, "График частот"},
    {"btnDbl", 260, "Биграммы"},
    {"btnInfo", 286, "Информация"},
    {"btnSolve", 320, "Подобрать ключ"},
    {"btnHint", 346, "Подсказать букву"},
};

constexpr int32_t kMainWidth = 527;
constexpr int32_t kMainHeight = 78;
constexpr int32_t kMenuBarHeight = 21;
constexpr int32_t kToolbarHeight = 28;
constexpr int32_t kStripWidth = 368;
constexpr int32_t kStripHeight = 18;
constexpr int32_t kStripOffset = 2;

constexpr std::string_view kResetCaption = "ВНИМАНИЕ";
constexpr std::string_view kResetQuestion =
    "Вы уверены что хотите сбросить результат дешифрования?";

HBITMAP MenuBitmap(const char* name) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), Widen(name).c_str(), IMAGE_BITMAP, 0, 0, 0));
}

void ShowTool(ToolWindowRecord* record) {
    if (record && record->Form) {
        record->Form->Show();
    }
}

// The question has no owner window, as the program's other boxes; its caption is its own.
bool ConfirmReset(Application& app) {
    ModalScope modal(app);
    const std::wstring text = Widen(kResetQuestion);
    const std::wstring caption = Widen(kResetCaption);
    return MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONWARNING) == IDYES;
}

ToolWindowRecord* WindowOfItem(Application& app, int32_t item) {
    for (ToolWindowRecord* record : app.FlaggedWindows()) {
        if (record && record->MenuItem == item) {
            return record;
        }
    }
    return nullptr;
}

// ---- menu commands ----

void FileEditCommand(Application& app, Menu*, int32_t item) {
    if (!CommandsAllowed(app)) {
        return;
    }
    switch (item) {
        case kItemOpen:
            OpenWork(app);
            break;
        case kItemSave:
            SaveWork(app);
            break;
        case kItemSaveAs:
            SaveWorkAs(app);
            break;
        case kItemEncrypt:
            EncryptWork(app);
            break;
        case kItemUndo:
            UndoKeyStep(app);
            break;
        case kItemRedo:
            RedoKeyStep(app);
            break;
        case kItemPaste:
            PasteWork(app);
            break;
        case kItemHint:
            HintOneLetter(app);
            break;
        case kItemCheckKey:
            CheckUsersKey(app);
            break;
        case kItemExit:
            app.MainForm()->Close();
            break;
        case kItemSelectPhrase:
            ShowTool(app.PhraseDialog.get());
            break;
        case kItemClear:
            ClearWork(app);
            break;
        default:
            break;
    }
}

void WindowToggleCommand(Application& app, Menu* menu, int32_t item) {
    if (!CommandsAllowed(app)) {
        return;
    }
    MenuEntry* entry = MenuItem(menu, item);
    SetItemChecked(entry, !ItemChecked(entry));
    if (ToolWindowRecord* record = WindowOfItem(app, item); record && record->Form) {
        if (record->Form->Visible()) {
            record->Form->Hide();
        } else {
            record->Form->Show();
        }
    }
}

void HighlightCommand(Application& app, Menu*, int32_t item) {
    if (CommandsAllowed(app)) {
        HighlightSwitch(app, item);
    }
}

void SchemeCommand(Application& app, Menu*, int32_t item) {
    if (CommandsAllowed(app)) {
        ChooseScheme(app, item == kItemYellowScheme ? Scheme::Yellow : Scheme::Black);
    }
}

void SayNotOpened(Application& app, const std::string& text);

void HelpCommand(Application& app, Menu*, int32_t item) {
    if (!CommandsAllowed(app)) {
        return;
    }
    switch (item) {
        case kItemHelp: {
            // The file dialogs move the current directory; the guide lies where we started.
            const std::filesystem::path guide =
                (app.StartupDirectory / std::wstring(kHelpFile.begin(), kHelpFile.end()))
                    .make_preferred();
            if (!app.ShellOpen(guide.wstring())) {
                SayNotOpened(app, "Не удалось открыть справку: файл «" + PathTo1251(guide) +
                                      "». Его можно открыть в любом браузере.");
            }
            break;
        }
        case kItemHomePage:
            if (!app.ShellOpen(Widen(kHomePageAddress))) {
                SayNotOpened(app, "Не удалось открыть страницу программы: " +
                                      std::string(kHomePageAddress) + ".");
            }
            break;
        case kItemAbout:
            ShowTool(app.AboutWindow.get());
            break;
        default:
            break;
    }
}

// ---- the main form and the strip ----

void MainWindowMoved(Application& app, Control* main) {
    const Rect client = FrameClientRect(main);
    if (app.MenuWindow && app.MenuWindow->Form) {
        app.MenuWindow->Form->SetPosition(main->Left() + client.left,
                                          main->Top() + client.top + kStripOffset);
    }
    if (app.ApplicationWindow) {
        app.ApplicationWindow->SetPosition(main->Left(), main->Top());
    }
}

// The strip follows the event that fired, not the visibility, which may not have changed yet.
void StripFollows(Application& app, bool shown) {
    MenuWindowRecord* strip = app.MenuWindow.get();
    if (strip && strip->Form) {
        strip->Form->SetVisible(shown);
    }
}

void MainWindowShown(Application& app, Control*) {
    StripFollows(app, true);
}

void MainWindowHidden(Application& app, Control*) {
    StripFollows(app, false);
}

// Wine without a window manager raises a clicked window above the windows it owns, on
// activation and on any press of a mouse button in it, without telling it; Windows never does.
// The strip is put back on top once such a press has been handled, before the release that
// may start a long search, and once the main window is activated, when the queue is next idle.
constexpr UINT kRaiseStripMessage = WM_APP + 2;

HWND StripWindow(const Application& app) {
    const MenuWindowRecord* strip = app.MenuWindow.get();
    return strip && strip->Form ? strip->Form->WindowHandle() : nullptr;
}

void PutStripOnTop(HWND strip) {
    // Not over a dialog that has the program waiting: the strip would cover its corner.
    if (strip && IsWindow(strip) && IsWindowEnabled(GetWindow(strip, GW_OWNER))) {
        // The system's record still has the strip on top, so a move to the top would change
        // nothing on the display: it goes through the topmost band and back, over the main
        // window all the while.
        constexpr UINT kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        SetWindowPos(strip, HWND_TOPMOST, 0, 0, 0, 0, kOnlyOrder);
        SetWindowPos(strip, HWND_NOTOPMOST, 0, 0, 0, 0, kOnlyOrder);
    }
}

// The strip's window, not its control: the timer may outlive both.
HWND raisedStrip = nullptr;

void CALLBACK RaiseStrip(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PutStripOnTop(raisedStrip);
}

void RaiseStripSoon(Application& app) {
    raisedStrip = StripWindow(app);
    SetTimer(nullptr, 0, 50, RaiseStrip);
}

void MainFormMessage(Application& app, Control*, Message& message, bool& handled) {
    if (message.Msg == WM_ACTIVATE && LOWORD(message.WParam) != WA_INACTIVE) {
        RaiseStripSoon(app);
    } else if (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_MINIMIZE) {
        // Ours rather than the system's: Wine does not minimise a hidden owner window.
        MinimiseProgram(app);
        message.Result = 0;
        handled = true;
    }
}

// The strip is part of the main window: a close that reaches it (Alt+F4 while it has the
// focus) closes the main window instead of destroying the menu.
bool StripMessage(Control* strip, Message& message) {
    if (message.Msg != WM_CLOSE) {
        return false;
    }
    if (Control* owner = strip->Parent()) {
        owner->Close();
    }
    message.Result = 0;
    return true;
}

bool IsButtonPress(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN ||
           msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK ||
           msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK || msg == WM_NCRBUTTONDOWN ||
           msg == WM_NCRBUTTONDBLCLK || msg == WM_NCMBUTTONDOWN || msg == WM_NCMBUTTONDBLCLK;
}

// The application window stands for the program on the taskbar while it is minimised. The loop
// shows it every window's messages.
void AppletMessage(Application& app, Control* applet, Message& message, bool& handled) {
    if (IsButtonPress(message.Msg) && app.MainForm() &&
        GetAncestor(message.Window, GA_ROOT) == app.MainForm()->WindowHandle()) {
        // Posted messages come before input: this one before the release.
        PostMessageW(applet->WindowHandle(), kRaiseStripMessage, 0, 0);
    }
    if (message.Window != applet->WindowHandle()) {
        return;
    }
    if (message.Msg == kRaiseStripMessage) {
        PutStripOnTop(StripWindow(app));
        handled = true;
        return;
    }
    if (message.Msg == kOpenCommandLineMessage) {
        OpenCommandLineFile(app, GetCommandLineW());
        handled = true;
        return;
    }
    if (message.Msg == WM_QUERYENDSESSION) {
        // At log-off, unsaved work is asked about; Cancel refuses the end of the session.
        message.Result = MayDiscardWork(app) ? TRUE : FALSE;
        handled = true;
        return;
    }
    if (app.Minimised.empty()) {
        return;
    }
    const bool restore =
        (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_RESTORE) ||
        message.Msg == WM_QUERYOPEN;
    if (restore) {
        RestoreProgram(app);
        message.Result = message.Msg == WM_QUERYOPEN ? FALSE : 0;
        handled = true;
    }
}

void BuildToolbar(Application& app, MainWindowRecord& record, const Rect& client) {
    Control* main = record.Form;
    record.MenuBar = NewPanel(main, 2);
    record.MenuBar->SetBoundsRect(
        {client.left, client.top, client.right, client.top + kMenuBarHeight});
    record.MenuBar->SetColor(app.Palette[kTextEntry]);
    record.Toolbar = NewPanel(main, 2);
    const int32_t toolbarTop = client.top + kMenuBarHeight + 1;
    record.Toolbar->SetBoundsRect(
        {client.left, toolbarTop, client.right, toolbarTop + kToolbarHeight});
    record.Toolbar->SetColor(app.Palette[kToolbarEntry]);
    for (int32_t i = 0; i < kToolbarButtonCount; ++i) {
        Control* button =
            NewSkinnedButton(record.Toolbar, kButtons[i].name, kButtons[i].left, 2, 0);
        button->OnClick = Bind<&ToolbarClick>(app);
        record.Buttons[static_cast<size_t>(i)] = button;
    }
    app.ToolTip = std::make_unique<TADToolTip>(nullptr);
    for (int32_t i = 0; i < kToolbarButtonCount; ++i) {
        app.ToolTip->AddTool(record.Buttons[static_cast<size_t>(i)]->Handle(), kButtons[i].hint);
    }
}

// Gives items first to last the command; separators and submenu entries are passed over, and
// checkable ones start checked with the check-mark bitmap.
void SetCommands(Menu* menu, int32_t first, int32_t last, MenuEvent command, bool checkable) {
    for (int32_t item = first; item <= last; ++item) {
        MenuEntry* entry = MenuItem(menu, item);
        if (!entry || entry->IsSeparator() || entry->HasSubmenu()) {
            continue;
        }
        entry->OnCommand = command;
        if (checkable) {
            SetItemChecked(entry, true);
            SetItemBitmaps(entry, nullptr, MenuBitmap("mnuChecked"));
        }
    }
}

void BuildMenuStrip(Application& app) {
    Control* main = app.MainForm();
    Control* strip = NewForm(main, "frmMenu");
    app.AddRecord<MenuWindowRecord>(app.MenuWindow, strip);
    strip->HasBorder(false);
    strip->Border = 0;
    const Rect client = FrameClientRect(main);
    strip->SetPosition(main->Left() + client.left, main->Top() + client.top + kStripOffset);
    strip->SetSize(kStripWidth, kStripHeight);
    strip->AttachMessageHandler(&StripMessage);

    Menu* menu = NewMenu(strip, kMainMenuTemplate);
    app.MenuWindow->MainMenu = menu;
    SetItemBitmaps(MenuItem(menu, kItemOpen), MenuBitmap("mnuLoad"), nullptr);
    SetItemBitmaps(MenuItem(menu, kItemSave), MenuBitmap("mnuSave"), nullptr);
    SetCommands(menu, kItemOpen, kItemClear, Bind<&FileEditCommand>(app), false);
    SetCommands(menu, kItemCipherWindow, kItemInfoWindow, Bind<&WindowToggleCommand>(app),
                true);
    SetCommands(menu, kItemHiliteCurrent, kItemHilitePhrase, Bind<&HighlightCommand>(app),
                true);
    SetItemText(MenuItem(menu, kItemBigramLabel), "биграммы");
    for (int32_t item : {kItemBlackScheme, kItemYellowScheme}) {
        SetItemBitmaps(MenuItem(menu, item), MenuBitmap("mnuRadio"), MenuBitmap("mnuRadioChecked"));
    }
    SetCommands(menu, kItemBlackScheme, kItemYellowScheme, Bind<&SchemeCommand>(app), false);
    SetItemEnabled(MenuItem(menu, kItemUndo), false);
    SetItemEnabled(MenuItem(menu, kItemRedo), false);
    SetItemBitmaps(MenuItem(menu, kItemHomePage), MenuBitmap("mnuWeb"), nullptr);
    SetCommands(menu, kItemHelp, kItemAbout, Bind<&HelpCommand>(app), false);
    SkinMenu(menu);
}

// The shell could not show a guide or page: the user gets its name to open it another way.
void SayNotOpened(Application& app, const std::string& text) {
    ModalScope modal(app);
    app.Boxes.Show(text, MessageIcon::Error);
}

}  // namespace

void BuildMainWindow(Application& app, Event<ToolkitObject*> shutdown) {
    Control* main = NewSkinnedForm(app.ApplicationWindow, "Zamenor");
    app.AddRecord<MainWindowRecord>(app.MainWindow, main);
    main->OnDestroy = shutdown;
    FrameRecord* frame = FrameOf(main);
    frame->Sizeable = 0;
    main->SetSize(kMainWidth, kMainHeight);
    main->SetPosition(0, 0);
    frame->MinButton->Show();
    main->OnMove = Bind<&MainWindowMoved>(app);
    main->OnMessage = Bind<&MainFormMessage>(app);
    main->OnShow = Bind<&MainWindowShown>(app);
    main->OnHide = Bind<&MainWindowHidden>(app);
    app.ApplicationWindow->OnMessage = Bind<&AppletMessage>(app);

    BuildToolbar(app, *app.MainWindow, FrameClientRect(main));
    BuildMenuStrip(app);
}

void ToolbarClick(Application& app, Control* button) {
    MainWindowRecord& main = *app.MainWindow;
    // The button keeps its pressed look until it hears that the focus went.
    button->Perform(WM_KILLFOCUS, reinterpret_cast<WPARAM>(main.Form->WindowHandle()), 0);
    if (!CommandsAllowed(app)) {
        return;
    }
    int32_t index = 0;
    while (index < kToolbarButtonCount && main.Buttons[static_cast<size_t>(index)] != button) {
        ++index;
    }
    switch (index) {
        case kBtnLoad:
            OpenWork(app);
            break;
        case kBtnSave:
            SaveWork(app);
            break;
        case kBtnNew:
            if (!app.Ws->CipherText.text.empty() && ConfirmReset(app)) {
                const KeyMoment before = MomentOf(*app.Ws);
                Reset(*app.Ws, app.Screen, false);
                RecordKeyStep(app, before);
            }
            break;
        case kBtnFind:
            ShowTool(app.PhraseDialog.get());
            break;
        case kBtnLocked:
            ShowTool(app.CipherWindow.get());
            break;
        case kBtnAlph:
            ShowTool(app.AlphabetWindow.get());
            break;
        case kBtnUnLocked:
            ShowTool(app.PlainWindow.get());
            break;
        case kBtnGraph:
            ShowTool(app.GraphWindow.get());
            break;
        case kBtnDbl:
            ShowTool(app.BigramWindow.get());
            break;
        case kBtnInfo:
            ShowTool(app.InfoWindow.get());
            break;
        case kBtnSolve:
            SuggestRestOfKey(app);
            break;
        case kBtnHint:
            HintOneLetter(app);
            break;
        default:
            break;
    }
}

void MinimiseProgram(Application& app) {
    if (!app.Minimised.empty() || !app.ApplicationWindow) {
        return;
    }
    // Last to first, so that owners go after the windows they own.
    const std::vector<WindowRecord*> records = app.Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        Control* form = (*it)->Form;
        HWND window = form ? form->WindowHandle() : nullptr;
        if (window && IsWindowVisible(window)) {
            app.Minimised.push_back(window);
        }
    }
    for (HWND window : app.Minimised) {
        ShowWindow(window, SW_HIDE);
    }
    // The application window carries the taskbar button while the program is away.
    if (HWND applet = app.ApplicationWindow->Handle()) {
        ShowWindow(applet, SW_SHOWMINNOACTIVE);
    }
}

void RestoreProgram(Application& app) {
    if (app.Minimised.empty()) {
        return;
    }
    std::vector<HWND> windows = std::move(app.Minimised);
    app.Minimised.clear();
    if (HWND applet = app.ApplicationWindow ? app.ApplicationWindow->WindowHandle() : nullptr) {
        ShowWindow(applet, SW_HIDE);
    }
    // First to last: owners come back before the windows they own.
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (IsWindow(*it)) {
            ShowWindow(*it, SW_SHOWNOACTIVATE);
        }
    }
    if (Control* main = app.MainForm(); main && main->WindowHandle()) {
        SetForegroundWindow(main->WindowHandle());
    }
}

}  // namespace zam
