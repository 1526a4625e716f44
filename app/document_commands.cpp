#include "app/document_commands.h"

#include <exception>
#include <filesystem>
#include <new>
#include <string>

#include "toolkit/encoding.h"
#include "toolkit/message_box.h"
#include "toolkit/open_save_dialog.h"
#include "workspace/document_file.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

constexpr std::string_view kOpenTitle = "Выберите файл содержащий зашифрованный текст";
constexpr std::string_view kOpenFilter = "CODE files (*.txt)|*.txt";
constexpr std::string_view kSaveTitle = "Выберите файл для сохранения";
constexpr std::string_view kSaveFilter = "DeCODE files (*.txt)|*.txt";
constexpr std::string_view kTextTitle = "Выберите текст, который нужно зашифровать";
constexpr std::string_view kTextFilter = "Text files (*.txt)|*.txt";
constexpr std::string_view kCryptogramTitle = "Выберите файл для шифровки";
constexpr std::string_view kOutOfMemory = "Недостаточно памяти для выполнения команды.";
constexpr std::string_view kInternalError = "Команда не выполнена из-за внутренней ошибки.";

// One run of a document dialog: made with the current directory as its starting place, run
// with the main form disabled, and freed. The main form comes back even if something throws.
class DialogSession {
public:
    // Starts in dir, or in the current directory when dir is empty.
    DialogSession(std::string_view title, HWND mainForm, std::filesystem::path dir = {})
        : mainForm_(mainForm) {
        // Everything that may throw comes before the form is disabled: a constructor that
        // throws leaves no destructor to enable it again.
        if (dir.empty()) dir = CurrentDirectory();
        std::string dir1251 = PathTo1251(dir);
        dialog_ = NewOpenSaveDialog(title, "", 0);
        // The UTF-16 form reaches the dialog; the 1251 one is what the toolkit shows.
        dialog_->InitialDirPath = std::move(dir);
        dialog_->InitialDir = std::move(dir1251);
        if (mainForm_) {
            wasEnabled_ = IsWindowEnabled(mainForm_) != FALSE;
            EnableWindow(mainForm_, FALSE);
        }
    }
    ~DialogSession() {
        // A caller that disabled the form for longer (around its message boxes) keeps it so.
        if (mainForm_ && wasEnabled_) {
            EnableWindow(mainForm_, TRUE);
            SetForegroundWindow(mainForm_);
        }
        Free(dialog_);
    }
    DialogSession(const DialogSession&) = delete;
    DialogSession& operator=(const DialogSession&) = delete;

    OpenSaveDialog& Dialog() { return *dialog_; }

    // The chosen path; empty when the user cancelled.
    std::filesystem::path Run() {
        return Execute(dialog_) ? dialog_->FilePath : std::filesystem::path();
    }

private:
    OpenSaveDialog* dialog_ = nullptr;
    HWND mainForm_;
    bool wasEnabled_ = false;
};

void ReportFailure(Messages& messages, const std::exception& error) {
    const bool memory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
    messages.Show(memory ? kOutOfMemory : kInternalError, MessageIcon::Error);
}

}  // namespace

void MessageBoxMessages::Show(std::string_view text, MessageIcon icon) {
    MessageBoxApp(text, icon == MessageIcon::Error ? MB_OK | MB_ICONERROR : MB_OK);
}

bool OpenCommand(Workspace& ws, Display& display, Messages& messages, HWND mainForm,
                 std::string* notice) {
    try {
        std::filesystem::path path;
        {
            DialogSession session(kOpenTitle, mainForm);
            session.Dialog().OpenDialog = 1;
            session.Dialog().FileName.clear();
            session.Dialog().Filter = kOpenFilter;
            path = session.Run();
        }
        if (path.empty())
            return false;
        return OpenDocument(ws, display, messages, path, notice);
    } catch (const std::exception& error) {
        // Called from window procedures, which no exception may cross.
        ReportFailure(messages, error);
        return false;
    }
}

bool SaveAsCommand(Workspace& ws, Display& display, Messages& messages, HWND mainForm) {
    if (ws.CipherText.text.empty())
        return false;
    try {
        std::filesystem::path path;
        {
            // Where the document came from: a file opened by a drop or from the command line
            // lies elsewhere than the current directory.
            DialogSession session(kSaveTitle, mainForm, ws.DocPath.parent_path());
            session.Dialog().OpenDialog = 0;
            // A result file is proposed under its own name; anything else as a new one.
            const bool saved = !ws.ResultPath.empty();
            std::string name = saved ? ws.DocName : ProposedSaveName(ws.DocName);
            std::filesystem::path file = saved ? ws.DocFile : ProposedSavePath(ws.DocFile);
            // A pasted text has a name but no file type: it is saved as a text file.
            if (!file.has_extension()) {
                name += ".txt";
                file += L".txt";
            }
            session.Dialog().FileName = name;
            session.Dialog().FilePath = file;
            session.Dialog().Filter = kSaveFilter;
            path = session.Run();
        }
        if (path.empty())
            return false;
        return SaveWorkTo(ws, display, messages, path);
    } catch (const std::exception& error) {
        // Called from window procedures, which no exception may cross.
        ReportFailure(messages, error);
        return false;
    }
}

bool SaveCommand(Workspace& ws, Display& display, Messages& messages, HWND mainForm) {
    if (ws.ResultPath.empty())
        return SaveAsCommand(ws, display, messages, mainForm);
    try {
        return SaveWorkTo(ws, display, messages, ws.ResultPath);
    } catch (const std::exception& error) {
        ReportFailure(messages, error);
        return false;
    }
}

std::filesystem::path AskTextToEncrypt(HWND mainForm) {
    DialogSession session(kTextTitle, mainForm);
    session.Dialog().OpenDialog = 1;
    session.Dialog().FileName.clear();
    session.Dialog().Filter = kTextFilter;
    return session.Run();
}

std::filesystem::path AskCryptogramPath(const std::filesystem::path& proposed, HWND mainForm) {
    DialogSession session(kCryptogramTitle, mainForm, proposed.parent_path());
    session.Dialog().OpenDialog = 0;
    session.Dialog().FileName = PathTo1251(proposed.filename());
    session.Dialog().FilePath = proposed.filename();
    session.Dialog().Filter = kOpenFilter;
    return session.Run();
}

}  // namespace zam
