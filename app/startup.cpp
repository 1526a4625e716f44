#include "app/startup.h"

#include <shellapi.h>

#include <string>

#include "app/analysis_records.h"
#include "app/build_windows.h"
#include "app/commands.h"
#include "app/modal_scope.h"
#include "app/settings_file.h"
#include "app/shortcuts.h"
#include "app/work_commands.h"
#include "skin/scroll_bar.h"
#include "skin/tooltip.h"
#include "solver/key_solver.h"
#include "skin/skin_bitmaps.h"
#include "toolkit/application.h"
#include "workspace/document_file.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

void ShutdownOnDestroy(Application& app, ToolkitObject*) {
    Shutdown(app);
}

// The main window's close, by any route: unsaved work is asked about first.
void ShutdownOnClose(Application& app, Control*, bool& accept) {
    if (!MayDiscardWork(app)) {
        accept = false;
        return;
    }
    Shutdown(app);
}

// The application window's close ends the loop; it asks as the main window's does, unless
// the main window's close has already asked and shut down.
void AppletOnClose(Application& app, Control*, bool& accept) {
    accept = MayDiscardWork(app);
}

// A file dropped on any window of the program opens as the open command would; of several,
// the first. Nothing opens once the program has shut down.
bool DroppedFiles(Application& app, Control*, Message& message) {
    if (message.Msg != WM_DROPFILES) {
        return false;
    }
    auto drop = reinterpret_cast<HDROP>(message.WParam);
    std::wstring path;
    if (const UINT length = DragQueryFileW(drop, 0, nullptr, 0); length > 0) {
        path.resize(length + 1);
        path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
    }
    DragFinish(drop);
    if (app.ShutdownRuns == 0) {
        OpenWorkFile(app, path);
    }
    message.Result = 0;
    return true;
}

void AcceptDroppedFiles(Application& app) {
    for (WindowRecord* record : app.Records()) {
        if (Control* form = record->Form) {
            form->AttachMessageHandler(Bind<&DroppedFiles>(app));
            DragAcceptFiles(form->Handle(), TRUE);
        }
    }
}

}  // namespace

std::unique_ptr<Application> StartApplication(ShellOpenProc shellOpen) {
    auto app = std::make_unique<Application>();
    app->ShellOpen = shellOpen;
    app->StartupDirectory = CurrentDirectory();
    app->Ws = std::make_unique<Workspace>();
    app->Palette.Choose(Scheme::Black);

    BuildWindows(*app, Bind<&ShutdownOnDestroy>(*app));
    // Settings are written while every window still stands: the destruction that follows a
    // close hides the tool windows first.
    app->MainForm()->OnClose = Bind<&ShutdownOnClose>(*app);
    app->ApplicationWindow->OnClose = Bind<&AppletOnClose>(*app);
    // Any other end of the run (the application window's close, the end of the session) comes
    // here before the window tree is torn down.
    SetEndingHook(Bind<&Shutdown>(*app));
    ReadSettings(*app);
    AcceptDroppedFiles(*app);
    InstallShortcuts(*app);
    app->MainForm()->Focus();
    return app;
}

void Shutdown(Application& app) {
    if (app.ShutdownRuns++ > 0) {
        return;
    }
    SetEndingHook({});
    RemoveShortcuts();
    WriteSettings(app);
    // No menu update or shutdown from the destruction that follows.
    for (WindowRecord* record : app.Records()) {
        if (Control* form = record->Form) {
            form->OnHide = {};
            form->OnShow = {};
        }
    }
    if (Control* main = app.MainForm()) {
        main->OnDestroy = {};
        main->OnClose = {};
    }
    if (app.ApplicationWindow) {
        app.ApplicationWindow->OnClose = {};
    }

    if (app.GraphWindow && app.GraphWindow->Form) {
        Free(app.GraphWindow->Form);
    }
    app.Ws.reset();
    // The solver's tables, built on its first use, are the program's to give back like any
    // other memory: the exit-time count must find only what was really lost.
    ReleaseSolverTables();
    app.ToolTip.reset();
    app.Views.clear();
    app.ReleaseRecords();
    PostQuitMessage(0);
}

void OpenCommandLineFile(Application& app, const wchar_t* commandLine) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine, &count);
    if (!args) {
        return;
    }
    // The first file only: "Open with" and a file association pass one path, quoted.
    const std::filesystem::path path =
        count > 1 ? std::filesystem::path(args[1]) : std::filesystem::path();
    LocalFree(args);
    OpenWorkFile(app, path);
}

int RunZamenor() {
    FrameSkinModule frames;
    StartScrollBarSkin();
    {
        std::unique_ptr<Application> app = StartApplication(&ShellOpenTarget);
        // Opened from inside the loop, where the application window titles the messages.
        PostMessageW(app->ApplicationWindow->Handle(), kOpenCommandLineMessage, 0, 0);
        RunApplication(app->ApplicationWindow);
    }
    FinishScrollBarSkin();
    ReleaseUnusedWindowClasses();
    return 0;
}

}  // namespace zam
