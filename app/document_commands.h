#pragma once
// The "Open" and "Save" commands as the user runs them: the file dialog with the main form
// disabled, then the document operation on the chosen path.
#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "workspace/display.h"
#include "workspace/workspace.h"

namespace zam {

// Messages shown as the application's message boxes.
class MessageBoxMessages : public Messages {
public:
    void Show(std::string_view text, MessageIcon icon) override;
};

// Asks for a cryptogram or result file and opens it. True when the workspace was replaced;
// a cancel or a refused file leaves everything as it was.
// What reading the file changed comes back in notice.
bool OpenCommand(Workspace& ws, Display& display, Messages& messages, HWND mainForm,
                 std::string* notice = nullptr);

// Asks for a file name and writes the result file there, which becomes the document. The
// dialog starts in the document's folder and proposes a new name ("-" before the document's)
// until the work has a result file, then that file's own. Without a ciphertext nothing
// happens, not even the dialog. True when the file was written.
bool SaveAsCommand(Workspace& ws, Display& display, Messages& messages, HWND mainForm);

// Writes back to the document's result file without a dialog; without one, as SaveAsCommand.
bool SaveCommand(Workspace& ws, Display& display, Messages& messages, HWND mainForm);

// The plaintext to make a cryptogram of; empty when the user chose none. May throw.
std::filesystem::path AskTextToEncrypt(HWND mainForm);
// Where the cryptogram goes, starting from the proposed path; empty on cancel. May throw.
std::filesystem::path AskCryptogramPath(const std::filesystem::path& proposed, HWND mainForm);

}  // namespace zam
