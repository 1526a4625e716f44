#include "app/work_commands.h"

#include <algorithm>
#include <exception>
#include <string>

#include "app/main_menu_template.h"
#include "app/modal_scope.h"
#include "toolkit/message_box.h"
#include "toolkit/encoding.h"
#include "workspace/document_file.h"
#include "workspace/encryption.h"
#include "workspace/file_io.h"
#include "workspace/operations.h"

namespace zam {
namespace {

HWND MainFormWindow(Application& app) {
    Control* main = app.MainForm();
    return main ? main->WindowHandle() : nullptr;
}

// After the workspace may have been replaced: a new document starts a new history, and what
// reading its text changed is told once, in the hint line.
void Opened(Application& app, bool opened, const std::string& notice) {
    if (!opened) {
        return;
    }
    UpdateUndoItems(app);
    if (!notice.empty()) {
        ShowNotice(app, notice);
    }
}

// The clipboard's text as the system keeps it; empty when there is none.
std::u16string ClipboardText(HWND owner) {
    std::u16string text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
            // The block may be larger than its text: the text ends at its first zero.
            const std::size_t size = GlobalSize(data) / sizeof(char16_t);
            text.assign(chars, std::find(chars, chars + size, u'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

std::uint64_t FreshSeed() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<std::uint64_t>(now.QuadPart) ^ (GetTickCount64() << 32);
}

std::string Name1251(const std::filesystem::path& path) {
    return PathTo1251(path.filename());
}

}  // namespace

void RecordKeyStep(Application& app, const KeyMoment& before) {
    Workspace& ws = *app.Ws;
    ws.History.Record(before, MomentOf(ws));
    // A check's marks hold for the key it checked.
    if (KeyOf(ws) != before.key) {
        MarkDoubtful(ws, app.Screen, 0);
    }
    UpdateUndoItems(app);
}

void AssignAsUser(Application& app, char cipherLetter, char plainLetter) {
    Workspace& ws = *app.Ws;
    const KeyMoment before = MomentOf(ws);
    Assign(ws, app.Screen, cipherLetter, plainLetter);
    if (const int column = SymbolColumn(cipherLetter); IsCipherColumn(column)) {
        ws.SuggestedColumns &= ~ColumnBit(column);
    }
    RecordKeyStep(app, before);
}

namespace {

// Puts back the key of another moment of the history.
void ReturnTo(Application& app, const KeyMoment& moment) {
    MarkDoubtful(*app.Ws, app.Screen, 0);
    ApplyKey(*app.Ws, app.Screen, moment.key, moment.suggested);
    UpdateUndoItems(app);
}

}  // namespace

void UndoKeyStep(Application& app) {
    Workspace& ws = *app.Ws;
    if (!ws.History.CanUndo()) {
        return;
    }
    ReturnTo(app, ws.History.Undo());
}

void RedoKeyStep(Application& app) {
    Workspace& ws = *app.Ws;
    if (!ws.History.CanRedo()) {
        return;
    }
    ReturnTo(app, ws.History.Redo());
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
        answer = AskApp("Сохранить изменения в «" + ws.DocName + "»?",
                        MB_YESNOCANCEL | MB_ICONWARNING);
    }
    if (answer == IDNO) {
        return true;
    }
    return answer == IDYES && SaveWork(app);
}

namespace {

// Save writes back where it can; save as always asks. Either way the hint line says where.
bool SaveAsked(Application& app, bool askName) {
    bool saved = false;
    {
        ModalScope modal(app);
        saved = askName ? SaveAsCommand(*app.Ws, app.Screen, app.Boxes, MainFormWindow(app))
                        : SaveCommand(*app.Ws, app.Screen, app.Boxes, MainFormWindow(app));
    }
    if (saved) {
        ShowNotice(app, "Сохранено: " + app.Ws->DocName);
    }
    return saved;
}

}  // namespace

bool SaveWork(Application& app) {
    return SaveAsked(app, false);
}

bool SaveWorkAs(Application& app) {
    return SaveAsked(app, true);
}

void OpenWork(Application& app) {
    if (!MayDiscardWork(app)) {
        return;
    }
    std::string notice;
    ModalScope modal(app);
    Opened(app, OpenCommand(*app.Ws, app.Screen, app.Boxes, MainFormWindow(app), &notice), notice);
}

void OpenWorkFile(Application& app, const std::filesystem::path& path) {
    if (path.empty() || !CommandsAllowed(app) || !MayDiscardWork(app)) {
        return;
    }
    std::string notice;
    ModalScope modal(app);
    Opened(app, OpenDocument(*app.Ws, app.Screen, app.Boxes, path, &notice), notice);
}

void PasteWork(Application& app) {
    const std::u16string text = ClipboardText(MainFormWindow(app));
    if (text.empty()) {
        ShowNotice(app, "В буфере обмена нет текста");
        return;
    }
    if (!MayDiscardWork(app)) {
        return;
    }
    std::string notice;
    ModalScope modal(app);
    Opened(app, OpenPastedText(*app.Ws, app.Screen, app.Boxes, text, &notice), notice);
}

void EncryptWork(Application& app) {
    if (!MayDiscardWork(app)) {
        return;
    }
    ModalScope modal(app);
    try {
        // A text file, or the clipboard's text when no file is chosen.
        const std::filesystem::path textPath = AskTextToEncrypt(MainFormWindow(app));
        Encryption made;
        std::filesystem::path proposed;
        if (!textPath.empty()) {
            std::string bytes;
            if (ReadFileBytes(textPath, bytes) != ReadStatus::Ok) {
                app.Boxes.Show("Не удалось прочитать файл «" + Name1251(textPath) + "».",
                               MessageIcon::Error);
                return;
            }
            made = EncryptText(bytes, FreshSeed());
            proposed = CryptogramPathFor(textPath);
        } else {
            const std::u16string text = ClipboardText(MainFormWindow(app));
            if (text.empty()) {
                return;
            }
            made = EncryptText(text, FreshSeed());
            proposed = CurrentDirectory() / CryptogramPathFor(PastedDocFile());
        }
        if (!made.Ok()) {
            app.Boxes.Show(made.message, MessageIcon::Error);
            return;
        }
        const std::filesystem::path cryptogram =
            AskCryptogramPath(proposed, MainFormWindow(app));
        if (cryptogram.empty()) {
            return;
        }
        const std::filesystem::path answer = AnswerPathFor(cryptogram);
        // Neither file may take the place of the text it was made from.
        if (cryptogram == textPath || answer == textPath || answer == cryptogram) {
            app.Boxes.Show("Шифровка и ответ не могут заменить исходный текст: выберите другое "
                           "имя файла.",
                           MessageIcon::Error);
            return;
        }
        if (!WriteFileReplacing(cryptogram, CryptogramFileBytes(made)) ||
            !WriteFileReplacing(answer, AnswerFileBytes(made))) {
            app.Boxes.Show("Не удалось сохранить шифровку «" + Name1251(cryptogram) + "».",
                           MessageIcon::Error);
            return;
        }
        std::string notice;
        if (OpenDocument(*app.Ws, app.Screen, app.Boxes, cryptogram, &notice)) {
            Opened(app, true, "");
            ShowNotice(app, "Шифровка: " + Name1251(cryptogram) + "; ответ: " + Name1251(answer));
        }
    } catch (const std::exception&) {
        // Called from window procedures, which no exception may cross.
        app.Boxes.Show("Команда не выполнена из-за внутренней ошибки.", MessageIcon::Error);
    }
}

void ClearWork(Application& app) {
    if (!MayDiscardWork(app)) {
        return;
    }
    const KeyMoment before = MomentOf(*app.Ws);
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
