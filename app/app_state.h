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

#include "analysis/analysis_host.h"
#include "app/app_display.h"
#include "app/document_commands.h"
#include "toolkit/control.h"
#include "toolkit/menu.h"
#include "toolkit/weak_ref.h"
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
    kBtnSolve,  // proposes the rest of the key
    kBtnHint,   // proposes one letter
    kToolbarButtonCount,
};


// A window of the program and what it needs. The record frees its form when it goes; a form
// freed first (its parent went, or the window tree was torn down) leaves Form null.
struct WindowRecord {
    explicit WindowRecord(Control* form) : Form(form) {}
    virtual ~WindowRecord();
    WindowRecord(const WindowRecord&) = delete;
    WindowRecord& operator=(const WindowRecord&) = delete;

    WeakRef<Control> Form;
};

struct MainWindowRecord : WindowRecord {
    using WindowRecord::WindowRecord;
    Control* MenuBar = nullptr;
    Control* Toolbar = nullptr;
    std::array<Control*, kToolbarButtonCount> Buttons{};
};

struct MenuWindowRecord : WindowRecord {
    using WindowRecord::WindowRecord;
    Menu* MainMenu = nullptr;  // owned by the form
};

// A tool window; its "&Окна " item follows its visibility (0 for none).
struct Application;
struct ToolWindowRecord : WindowRecord {
    ToolWindowRecord(Control* form, Application& owner, int32_t menuItem)
        : WindowRecord(form), Owner(&owner), MenuItem(menuItem) {}
    Application* Owner;
    int32_t MenuItem;
    // The form has just been hidden: whatever the window drew for the moment goes with it.
    virtual void Hidden() {}
    // After the window has been shown.
    virtual void Shown() {}
};

// The paint and pointer handlers of a view's drawing surface, put on it together. A quick
// second click on the same cell comes as a double-click: it is a click all the same.
struct SurfaceHandlers {
    PaintEvent paint;
    MouseEvent move;
    MouseEvent down;
    NotifyEvent leave;
};
void AttachSurfaceHandlers(Control* surface, const SurfaceHandlers& handlers);
// Takes every handler a view put on the control off it, the character handler included.
void DetachViewHandlers(Control* control);
// Repaints the whole surface at the next paint; nothing once its window has gone.
void InvalidateSurface(Control* surface);
// The character handler of the grid windows: a typed key goes to the alphabet's handler.
struct Application;
void ForwardTypedKey(Application& app, Control*, int32_t& key, uint32_t);

// A tool window whose content is one view of the program's own.
template <class ViewType>
struct ViewWindowRecord : ToolWindowRecord {
    using ToolWindowRecord::ToolWindowRecord;
    std::unique_ptr<ViewType> View;
};

// Records of the analysis windows (app/analysis_records.h).
struct GraphWindowRecord;
struct AboutWindowRecord;
class GraphWindow;
class TADToolTip;

// Asks the shell to open a file or an address; replaced by tests.
// False when the shell could not open the target (no such file, nothing to show it with).
using ShellOpenProc = bool (*)(const std::wstring& target);

class TextView;
class AlphabetView;
class BigramView;

struct Application {
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    std::filesystem::path StartupDirectory;
    std::unique_ptr<Workspace> Ws;
    ColourPalette Palette;
    // Before the records: the views take themselves off it as they go.
    AppDisplay Screen{*this};
    // Each window's record, owned here and declared in creation order (the main window first):
    // whatever releases them goes last to first, so owned windows go before their owners.
    std::unique_ptr<MainWindowRecord> MainWindow;
    std::unique_ptr<MenuWindowRecord> MenuWindow;
    std::unique_ptr<ViewWindowRecord<TextView>> CipherWindow;
    std::unique_ptr<ViewWindowRecord<AlphabetView>> AlphabetWindow;
    std::unique_ptr<ViewWindowRecord<TextView>> PlainWindow;
    std::unique_ptr<ToolWindowRecord> PhraseDialog;
    std::unique_ptr<ToolWindowRecord> InfoWindow;
    std::unique_ptr<ViewWindowRecord<BigramView>> BigramWindow;
    std::unique_ptr<GraphWindowRecord> GraphWindow;
    std::unique_ptr<AboutWindowRecord> AboutWindow;
    // The drawing views repainted together.
    std::vector<View*> Views;

    Control* ApplicationWindow = nullptr;
    std::unique_ptr<TADToolTip> ToolTip;

    // What the graph, information and about windows use of the program.
    AnalysisHost Host;
    MessageBoxMessages Boxes;
    ShellOpenProc ShellOpen = nullptr;
    int32_t ShutdownRuns = 0;
    // Above 0 while a file dialog or question box of the program runs: no command starts.
    int32_t ModalDepth = 0;
    // The windows that the program's minimise put away, to come back on restore.
    std::vector<HWND> Minimised;

    // Makes a record into its field.
    template <class Record, class Slot, class... Args>
    Record* AddRecord(std::unique_ptr<Slot>& slot, Control* form, Args&&... args) {
        auto record = std::make_unique<Record>(form, std::forward<Args>(args)...);
        Record* raw = record.get();
        slot = std::move(record);
        return raw;
    }
    // Every record made so far, in creation order.
    std::vector<WindowRecord*> Records() const;
    // The forms whose places the settings file keeps, in its record order: every window's but
    // the about box's. They are also the forms the about box disables while it shows.
    std::vector<Control*> Frames() const;
    // Frees the windows, last to first.
    void ReleaseRecords();

    Menu* MainMenu() const { return MenuWindow ? MenuWindow->MainMenu : nullptr; }
    Control* MainForm() const { return MainWindow ? MainWindow->Form.Get() : nullptr; }
    zam::GraphWindow* Graph() const;
    // The six tool windows with an "&Окна " item, in the settings file's flag order.
    std::array<ToolWindowRecord*, 6> FlaggedWindows() const;
    // Whether the form shows now, or showed when the program's minimise put it away.
    bool ShownToUser(const Control* form) const;
};

}  // namespace zam
