#include "app/build_windows.h"

#include "app/commands.h"
#include "app/main_menu_template.h"
#include "skin/menu_skin.h"
#include "skin/skinned_button.h"
#include "skin/skinned_form.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

struct ButtonSpec {
    const char* name;
    int32_t left;
    const char* hint;
};

// In the order of ToolbarButton.
constexpr ButtonSpec kButtons[kToolbarButtonCount] = {
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
};

constexpr int32_t kMainWidth = 527;
constexpr int32_t kMainHeight = 78;
constexpr int32_t kMenuBarHeight = 21;
constexpr int32_t kToolbarHeight = 28;
constexpr int32_t kStripWidth = 368;
constexpr int32_t kStripHeight = 18;
constexpr int32_t kStripOffset = 2;

HBITMAP MenuBitmap(const char* name) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), Widen(name).c_str(), IMAGE_BITMAP, 0, 0, 0));
}

// Wine without a window manager raises a clicked window above the windows it owns, after
// activating it and without telling it; Windows never does. Once the main window is activated,
// the menu strip is put back on top when the queue is next idle.
// The strip's window, not its control: the timer may outlive both.
HWND raisedStrip = nullptr;

void CALLBACK RaiseStrip(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (raisedStrip && IsWindow(raisedStrip)) {
        SetWindowPos(raisedStrip, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

void KeepStripAbove(void* app, Control*, Message& message, bool&) {
    if (message.Msg == WM_ACTIVATE && LOWORD(message.WParam) != WA_INACTIVE) {
        MenuWindowRecord* strip = static_cast<Application*>(app)->MenuWindow;
        raisedStrip = strip ? strip->Form->WindowHandle() : nullptr;
        SetTimer(nullptr, 0, 50, RaiseStrip);
    }
}

template <class Record>
Record* AddRecord(Application& app, Control* form, bool inFrames) {
    auto* record = new Record;
    record->Form = form;
    app.WindowRecords->Add(record);
    if (inFrames) {
        app.Frames->Add(form);
    }
    return record;
}

// A skinned tool window whose close button only hides it.
ToolWindowRecord* NewToolWindow(Application& app, Control* owner, std::string_view caption,
                                int32_t menuItem, bool inFrames) {
    Control* form = NewSkinnedForm(owner, caption);
    FrameOf(form)->Sizeable = 0;
    FrameOf(form)->CloseHides = 1;
    auto* record = AddRecord<ToolWindowRecord>(app, form, inFrames);
    record->Owner = &app;
    record->MenuItem = menuItem;
    if (menuItem != 0) {
        form->OnShow = MakeEvent<Control*>(record, &ToolWindowShownOrHidden);
        form->OnHide = MakeEvent<Control*>(record, &ToolWindowShownOrHidden);
    }
    return record;
}

void BuildMainWindow(Application& app, void (*shutdown)(void*, ToolkitObject*)) {
    Control* main = NewSkinnedForm(app.ApplicationWindow, "Zamenor");
    app.MainWindow = AddRecord<MainWindowRecord>(app, main, true);
    main->OnDestroy = MakeEvent<ToolkitObject*>(&app, shutdown);
    FrameRecord* frame = FrameOf(main);
    frame->Sizeable = 0;
    main->SetSize(kMainWidth, kMainHeight);
    main->SetPosition(0, 0);
    frame->MinButton->Show();
    main->OnMove = MakeEvent<Control*>(&app, &MainWindowMoved);
    main->OnMessage = MakeEvent<Control*, Message&, bool&>(&app, &KeepStripAbove);
    main->OnShow = MakeEvent<Control*>(&app, &MainWindowShownOrHidden);
    main->OnHide = MakeEvent<Control*>(&app, &MainWindowShownOrHidden);

    const Rect client = FrameClientRect(main);
    MainWindowRecord& record = *app.MainWindow;
    record.MenuBar = NewPanel(main, 2);
    record.MenuBar->SetBoundsRect(
        {client.left, client.top, client.right, client.top + kMenuBarHeight});
    record.MenuBar->SetColor(app.Palette[4]);
    record.Toolbar = NewPanel(main, 2);
    const int32_t toolbarTop = client.top + kMenuBarHeight + 1;
    record.Toolbar->SetBoundsRect(
        {client.left, toolbarTop, client.right, toolbarTop + kToolbarHeight});
    record.Toolbar->SetColor(app.Palette[5]);
    for (int32_t i = 0; i < kToolbarButtonCount; ++i) {
        Control* button = NewSkinnedButton(record.Toolbar, kButtons[i].name, kButtons[i].left, 2, 0);
        button->OnClick = MakeEvent<Control*>(&app, &ToolbarClick);
        record.Buttons[static_cast<size_t>(i)] = button;
    }
    app.ToolTip = std::make_unique<TADToolTip>(nullptr);
    for (int32_t i = 0; i < kToolbarButtonCount; ++i) {
        app.ToolTip->AddTool(record.Buttons[static_cast<size_t>(i)]->Handle(), kButtons[i].hint);
    }
}

void BuildMainMenu(Application& app) {
    Control* main = app.MainForm();
    Control* strip = NewForm(main, "frmMenu");
    app.MenuWindow = AddRecord<MenuWindowRecord>(app, strip, true);
    strip->HasBorder(false);
    strip->Border = 0;
    const Rect client = FrameClientRect(main);
    strip->SetPosition(main->Left() + client.left, main->Top() + client.top + kStripOffset);
    strip->SetSize(kStripWidth, kStripHeight);

    Menu* menu = NewMenu(strip, kMainMenuTemplate);
    app.MenuWindow->MainMenu = menu;
    // Items first to last get the command; separators and submenu entries are passed over,
    // and checkable ones start checked with the check-mark bitmap.
    const auto handle = [&](int32_t first, int32_t last, void (*command)(void*, Menu*, int32_t),
                            bool checkable) {
        for (int32_t item = first; item <= last; ++item) {
            MenuEntry* entry = MenuItem(menu, item);
            if (!entry || entry->IsSeparator() || entry->HasSubmenu()) {
                continue;
            }
            entry->OnCommand = MakeEvent<Menu*, int32_t>(&app, command);
            if (checkable) {
                SetItemChecked(entry, true);
                SetItemBitmaps(entry, nullptr, MenuBitmap("mnuChecked"));
            }
        }
    };
    SetItemBitmaps(MenuItem(menu, kItemOpen), MenuBitmap("mnuLoad"), nullptr);
    SetItemBitmaps(MenuItem(menu, kItemSave), MenuBitmap("mnuSave"), nullptr);
    handle(kItemOpen, kItemClear, &FileEditCommand, false);
    handle(kItemCipherWindow, kItemInfoWindow, &WindowToggleCommand, true);
    handle(kItemHiliteCurrent, kItemHilitePhrase, &HighlightCommand, true);
    SetItemText(MenuItem(menu, kItemBigramLabel), "биграммы");
    for (int32_t item : {kItemBlackScheme, kItemYellowScheme}) {
        SetItemBitmaps(MenuItem(menu, item), MenuBitmap("mnuRadio"), MenuBitmap("mnuRadioChecked"));
    }
    handle(kItemBlackScheme, kItemYellowScheme, &SchemeCommand, false);
    SetItemEnabled(MenuItem(menu, kItemUndo), false);
    SetItemEnabled(MenuItem(menu, kItemRedo), false);
    SetItemBitmaps(MenuItem(menu, kItemHomePage), MenuBitmap("mnuWeb"), nullptr);
    handle(kItemHelp, kItemAbout, &HelpCommand, false);
    SkinMenu(menu);
}

void BuildToolWindows(Application& app) {
    Control* main = app.MainForm();
    const int32_t mainLeft = main->Left();
    const int32_t mainTop = main->Top();
    const int32_t mainWidth = main->Width();

    app.CipherWindow = NewToolWindow(app, main, "Шифротекст", kItemCipherWindow, true);
    Control* cipher = app.CipherWindow->Form;
    cipher->SetSize(mainWidth, 196);
    cipher->SetPosition(mainLeft, mainTop + main->Height());

    app.AlphabetWindow = NewToolWindow(app, main, "Алфавит ", kItemAlphabetWindow, true);
    Control* alphabet = app.AlphabetWindow->Form;
    alphabet->SetSize(cipher->Width(), 84);
    alphabet->SetPosition(cipher->Left(), cipher->Top() + cipher->Height());

    app.PlainWindow = NewToolWindow(app, main, "Открытый текст", kItemPlainWindow, true);
    Control* plain = app.PlainWindow->Form;
    plain->SetSize(alphabet->Width(), 196);
    plain->SetPosition(alphabet->Left(), alphabet->Top() + alphabet->Height());

    app.PhraseDialog = NewToolWindow(app, cipher, "Выделить в шифрограмме", 0, true);
    Control* phrase = app.PhraseDialog->Form;
    phrase->SetSize(270, 130);
    phrase->SetPosition(cipher->Left() + cipher->Width() / 2 - phrase->Width() / 2,
                        cipher->Top() + cipher->Height() / 2 - phrase->Height() / 2);

    app.InfoWindow = NewToolWindow(app, main, "Информация", kItemInfoWindow, true);
    app.InfoWindow->Form->SetSize(462, 662);
    app.InfoWindow->Form->SetPosition(mainWidth, 0);

    app.BigramWindow = NewToolWindow(app, main, "Биграммы", kItemBigramWindow, true);
    const int32_t captionBottom = FrameOf(cipher)->CaptionRect.bottom;
    app.BigramWindow->Form->SetSize(cipher->Width(), cipher->Width() + captionBottom - 3);
    app.BigramWindow->Form->SetPosition(mainWidth, 27);

    app.GraphWindow = NewToolWindow(app, main, "График", kItemGraphWindow, true);
    Control* graph = app.GraphWindow->Form;
    FrameOf(graph)->Sizeable = 1;
    graph->SetSizeLimit(kMinWidth, 150);
    graph->SetSizeLimit(kMinHeight, 25);
    graph->SetColor(0);
    graph->SetSize(400, 240);
    graph->SetPosition(mainWidth, 54);

    app.AboutWindow = NewToolWindow(app, app.ApplicationWindow, "О программе", 0, false);
    app.AboutWindow->Form->SetSize(290, 160);
    app.AboutWindow->Form->CenterOnParent();
}

}  // namespace

void BuildWindows(Application& app, void (*shutdown)(void*, ToolkitObject*)) {
    Control* applet = NewForm(nullptr, "Zamenor");
    app.ApplicationWindow = applet;
    applet->SetPosition(0, 0)->SetSize(1, 1);
    applet->SetIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"ZAM", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));

    BuildMainWindow(app, shutdown);
    BuildMainMenu(app);
    BuildToolWindows(app);

    for (int32_t i = 0; i < app.Frames->Count; ++i) {
        app.Frames->At<Control>(i)->Show();
    }
    app.PhraseDialog->Form->Hide();
    app.AboutWindow->Form->Hide();
}

}  // namespace zam
