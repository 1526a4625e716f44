#pragma once
// Cryptogram and result files: reading and checking them whole before anything changes, the
// open and save operations, and the texts the user sees around them.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "workspace/display.h"
#include "workspace/workspace.h"

namespace zam {

enum class DocumentError { None, Empty, InvalidFormat, TooLong };

struct DocumentContent {
    DocumentError error = DocumentError::None;
    std::string message;  // the refusal as the user reads it; empty when usable
    bool isResultFile = false;
    std::string cipherText;                 // upper case, checked
    std::array<char, kColumnCount> key{};   // result file only: line 4's first 32 bytes
    std::string plainText;                  // result file only: line 6 as it stands
    std::string notice;  // what was changed or left out on the way in; empty when nothing
};

// Checks a whole file's bytes. A file whose first line is a cryptogram in the program's format
// (Windows-1251, or UTF-8 recognised by its bytes 0x80-0xBF), and every result file, is read as
// it always was: of a cryptogram file only the first line. Any other file is a text for the
// reader of text_reader.h, which reads all its lines. A result file that does not fit is
// refused, never read as a text.
DocumentContent ParseDocument(std::string_view bytes);

// The same for Unicode text (the clipboard's): a result file's text as a result file, any
// other text through the reader.
DocumentContent ParseDocumentText(std::u16string_view text);

// The six-line result file of the workspace, Windows-1251, CR LF after every line.
std::string FormatResultFile(const Workspace& ws);

// The name the save dialog proposes for a document.
std::string ProposedSaveName(std::string_view docName);

// The same for the file system's own spelling of the name, which DocName may have lost.
std::filesystem::path ProposedSavePath(const std::filesystem::path& docFile);

std::string MainTitle(std::string_view docName);

// Reads the file and, only when it is usable, replaces the workspace with it. Every refusal is
// reported through messages and leaves the workspace, title and document name as they were.
// What was changed on the way in comes back in `notice` (Windows-1251, empty when nothing was)
// for the caller to tell the user once; it is emptied on a refusal.
bool OpenDocument(Workspace& ws, Display& display, Messages& messages,
                  const std::filesystem::path& path, std::string* notice = nullptr);

// The same for a file's bytes already in memory; the document takes the name of `docFile`.
bool OpenDocumentBytes(Workspace& ws, Display& display, Messages& messages,
                       std::string_view bytes, const std::filesystem::path& docFile,
                       std::string* notice = nullptr);

// The name of a document pasted from the clipboard.
std::filesystem::path PastedDocFile();

// Pasted Unicode text, opened as a document named by PastedDocFile().
bool OpenPastedText(Workspace& ws, Display& display, Messages& messages,
                    std::u16string_view text, std::string* notice = nullptr);

// Writes the result file; a failure is reported and leaves any earlier file intact.
// Nothing happens without a ciphertext.
bool SaveDocument(const Workspace& ws, Messages& messages, const std::filesystem::path& path);

// Saves the work there and makes that file the document: what "save" writes back to, what the
// title names, and the key that counts as unchanged.
bool SaveWorkTo(Workspace& ws, Display& display, Messages& messages,
                const std::filesystem::path& path);

}  // namespace zam
