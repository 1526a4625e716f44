#include "app/work_commands.h"

#include <string>

#include "app/modal_scope.h"
#include "toolkit/message_box.h"
#include "workspace/document_file.h"
#include "workspace/operations.h"

namespace zam {
namespace {

HWND MainFormWindow(Application& app) {
    Control* main = app.MainForm();
    return main ? main->WindowHandle() : nullptr;
}

// After the workspace may have been replaced: a new document starts a new history.
void Opened(Application& app, bool opened) {
    if (opened) {
        UpdateUndoItems(app);
    }
}

}  // namespace

void RecordKeyStep(Application& app, const KeyState& before) {
    app.Ws->History.Record(before, KeyOf(*app.Ws));
    UpdateUndoItems(app);
}

void UndoKeyStep(Application& app) {
    Workspace& ws = *app.Ws;
    if (!CommandsAllowed(app) || !ws.History.CanUndo()) {
        return;
    }
    ApplyKey(ws, app.Screen, ws.History.Undo());
    UpdateUndoItems(app);
}

void RedoKeyStep(Application& app) {
    Workspace& ws = *app.Ws;
    if (!CommandsAllowed(app) || !ws.History.CanRedo()) {
        return;
    }
    ApplyKey(ws, app.Screen, ws.History.Redo());
    UpdateUndoItems(app);
}

void UpdateUndoItems(Application& app) {
    Menu* menu = app.MainMenu();
    if (!menu || !app.Ws) {
        return;
    }
    SetItemEnabled(MenuItem(menu, kItemUndo), app.Ws->History.CanUndo());
    SetItemEnabled(MenuItem(menu, kItemRedo), app.Ws->History.CanRedo());
}

bool MayDiscardWork(Application& app) {
    if (app.ShutdownRuns > 0 || !app.Ws) {
        return true;
    }
    if (app.ModalDepth > 0) {
        return false;  // a dialog of ours is open: its work is not done
    }
    Workspace& ws = *app.Ws;
    if (ws.CipherText.text.empty() || !ws.History.Modified(KeyOf(ws))) {
        return true;
    }
    int answer = 0;
    {
        ModalScope modal(app);
        answer = MessageBoxApp("Сохранить изменения в «" + ws.DocName + "»?",
                               MB_YESNOCANCEL | MB_ICONWARNING);
    }
    if (answer == IDNO) {
        return true;
    }
    return answer == IDYES && SaveWork(app);
}

bool SaveWork(Application& app) {
    bool saved = false;
    {
        ModalScope modal(app);
        saved = SaveCommand(*app.Ws, app.Screen, app.Boxes, MainFormWindow(app));
    }
    if (saved) {
        ShowNotice(app, "Сохранено: " + app.Ws->DocName);
    }
    return saved;
}

bool SaveWorkAs(Application& app) {
    bool saved = false;
    {
        ModalScope modal(app);
        saved = SaveAsCommand(*app.Ws, app.Screen, app.Boxes, MainFormWindow(app));
    }
    if (saved) {
        ShowNotice(app, "Сохранено: " + app.Ws->DocName);
    }
    return saved;
}

void OpenWork(Application& app) {
    if (!MayDiscardWork(app)) {
        return;
    }
    ModalScope modal(app);
    Opened(app, OpenCommand(*app.Ws, app.Screen, app.Boxes, MainFormWindow(app)));
}

void OpenWorkFile(Application& app, const std::filesystem::path& path) {
    if (path.empty() || !CommandsAllowed(app) || !MayDiscardWork(app)) {
        return;
    }
    ModalScope modal(app);
    Opened(app, OpenDocument(*app.Ws, app.Screen, app.Boxes, path));
}

void ClearWork(Application& app) {
    if (!MayDiscardWork(app)) {
        return;
    }
    const KeyState before = KeyOf(*app.Ws);
    Reset(*app.Ws, app.Screen, false);
    RecordKeyStep(app, before);
}

void ShowNotice(Application& app, std::string_view text) {
    std::string caption = AlphabetBaseCaption();
    caption += " .: ";
    caption += text;
    caption += " :.";
    app.Screen.SetAlphabetCaption(caption);
}

}  // namespace zam
