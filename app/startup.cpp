#include "app/startup.h"

#include <string>

#include "app/build_windows.h"
#include "app/commands.h"
#include "app/settings_file.h"
#include "skin/scroll_bar.h"
#include "skin/skin_bitmaps.h"
#include "toolkit/application.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

void ShutdownOnDestroy(void* app, ToolkitObject*) {
    Shutdown(*static_cast<Application*>(app));
}

void ShutdownOnClose(void* app, Control*, bool&) {
    Shutdown(*static_cast<Application*>(app));
}

}  // namespace

std::unique_ptr<Application> StartApplication(ShellOpenProc shellOpen) {
    auto app = std::make_unique<Application>();
    app->ShellOpen = shellOpen;
    app->StartupDirectory = CurrentDirectory();
    app->Ws = std::make_unique<Workspace>();
    app->WindowRecords = NewList();
    app->Frames = NewList();
    app->Palette.Choose(Scheme::Black);

    BuildWindows(*app, &ShutdownOnDestroy);
    // Settings are written while every window still stands: the destruction that follows a
    // close hides the tool windows first.
    app->MainForm()->OnClose = MakeEvent<Control*, bool&>(app.get(), &ShutdownOnClose);
    ReadSettings(*app);
    app->MainForm()->Focus();
    return app;
}

void Shutdown(Application& app) {
    if (app.ShutdownRuns++ > 0) {
        return;
    }
    WriteSettings(app);
    for (int32_t i = 0; i < app.WindowRecords->Count; ++i) {
        Control* form = app.WindowRecords->At<WindowRecord>(i)->Form;
        form->OnHide = {};
        form->OnShow = {};
    }
    Control* main = app.MainForm();
    main->OnDestroy = {};
    main->OnClose = {};

    Free(app.GraphWindow->Form);
    app.GraphWindow->Form = nullptr;
    app.Ws.reset();
    app.ToolTip.reset();
    app.Views.clear();
    for (int32_t i = app.WindowRecords->Count - 1; i >= 0; --i) {
        auto* record = app.WindowRecords->At<WindowRecord>(i);
        Free(record->Form);
        delete record;
    }
    app.MainWindow = nullptr;
    app.MenuWindow = nullptr;
    app.CipherWindow = app.AlphabetWindow = app.PlainWindow = app.PhraseDialog = nullptr;
    app.InfoWindow = app.BigramWindow = app.GraphWindow = app.AboutWindow = nullptr;
    Free(app.WindowRecords);
    Free(app.Frames);
    app.WindowRecords = app.Frames = nullptr;
    PostQuitMessage(0);
}

int RunZamenor() {
    FrameSkinModule frames;
    StartScrollBarSkin();
    {
        std::unique_ptr<Application> app = StartApplication(&ShellOpenTarget);
        RunApplication(app->ApplicationWindow);
    }
    FinishScrollBarSkin();
    ReleaseUnusedWindowClasses();
    return 0;
}

}  // namespace zam
