#pragma once
// The process-wide state of the running program: the workspace, the palette, the window
// records and their lists. Made once by start-up and released by Shutdown.
#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_display.h"
#include "app/document_commands.h"
#include "skin/tooltip.h"
#include "toolkit/control.h"
#include "toolkit/menu.h"
#include "toolkit/pointer_list.h"
#include "workspace/colouring.h"
#include "workspace/workspace.h"

namespace zam {

// Toolbar buttons in the order they are made.
enum ToolbarButton : int32_t {
    kBtnLoad,
    kBtnSave,
    kBtnNew,
    kBtnFind,
    kBtnLocked,
    kBtnAlph,
    kBtnUnLocked,
    kBtnGraph,
    kBtnDbl,
    kBtnInfo,
    kToolbarButtonCount,
};

// Main menu items that commands and the settings file address.
enum MainMenuItem : int32_t {
    kItemOpen = 1,
    kItemSave = 2,
    kItemExit = 4,
    kItemSelectPhrase = 6,
    kItemUndo = 8,
    kItemRedo = 9,
    kItemClear = 11,
    kItemCipherWindow = 13,
    kItemAlphabetWindow = 14,
    kItemPlainWindow = 15,
    kItemBigramWindow = 17,
    kItemGraphWindow = 18,
    kItemInfoWindow = 19,
    kItemHiliteCurrent = 22,
    kItemHiliteSelected = 23,
    kItemBigramLabel = 24,
    kItemHiliteCurrentBigram = 25,
    kItemHiliteSelectedBigram = 26,
    kItemHilitePhrase = 28,
    kItemBlackScheme = 30,
    kItemYellowScheme = 31,
    kItemHelp = 33,
    kItemHomePage = 35,
    kItemAbout = 36,
};

// A window of the program and what it needs; released with its form.
struct WindowRecord {
    virtual ~WindowRecord() = default;
    Control* Form = nullptr;
};

struct MainWindowRecord : WindowRecord {
    Control* MenuBar = nullptr;
    Control* Toolbar = nullptr;
    std::array<Control*, kToolbarButtonCount> Buttons{};
};

struct MenuWindowRecord : WindowRecord {
    Menu* MainMenu = nullptr;  // owned by the form
};

// A tool window; its "&Окна " item follows its visibility (0 for none).
struct Application;
struct ToolWindowRecord : WindowRecord {
    Application* Owner = nullptr;
    int32_t MenuItem = 0;
};

// Asks the shell to open a file or an address; replaced by tests.
using ShellOpenProc = void (*)(std::string_view target);

struct Application {
    std::filesystem::path StartupDirectory;
    std::unique_ptr<Workspace> Ws;
    ColourPalette Palette;
    // Every window record in creation order (item 0 the main window), of WindowRecord*.
    PointerList* WindowRecords = nullptr;
    // The nine forms whose places the settings file keeps, in its record order, of Control*.
    PointerList* Frames = nullptr;
    // The drawing views repainted together.
    std::vector<View*> Views;

    Control* ApplicationWindow = nullptr;
    MainWindowRecord* MainWindow = nullptr;
    MenuWindowRecord* MenuWindow = nullptr;
    ToolWindowRecord* CipherWindow = nullptr;
    ToolWindowRecord* AlphabetWindow = nullptr;
    ToolWindowRecord* PlainWindow = nullptr;
    ToolWindowRecord* PhraseDialog = nullptr;
    ToolWindowRecord* InfoWindow = nullptr;
    ToolWindowRecord* BigramWindow = nullptr;
    ToolWindowRecord* GraphWindow = nullptr;
    ToolWindowRecord* AboutWindow = nullptr;
    std::unique_ptr<TADToolTip> ToolTip;

    AppDisplay Screen{*this};
    MessageBoxMessages Boxes;
    ShellOpenProc ShellOpen = nullptr;
    int32_t ShutdownRuns = 0;

    Menu* MainMenu() const { return MenuWindow ? MenuWindow->MainMenu : nullptr; }
    Control* MainForm() const { return MainWindow ? MainWindow->Form : nullptr; }
    // The six tool windows with an "&Окна " item, in the settings file's flag order.
    std::array<ToolWindowRecord*, 6> FlaggedWindows() const {
        return {CipherWindow, AlphabetWindow, PlainWindow, InfoWindow, BigramWindow, GraphWindow};
    }
};

}  // namespace zam
