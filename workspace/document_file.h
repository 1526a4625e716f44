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
    bool isResultFile = false;
    std::string cipherText;                 // upper case, checked
    std::array<char, kColumnCount> key{};   // result file only: line 4's first 32 bytes
    std::string plainText;                  // result file only: line 6 as it stands
};

// Checks a whole file's bytes. A UTF-8 file (recognised by its bytes 0x80-0xBF) is converted
// to Windows-1251 first.
DocumentContent ParseDocument(std::string_view bytes);

// The six-line result file of the workspace, Windows-1251, CR LF after every line.
std::string FormatResultFile(const Workspace& ws);

// The name the save dialog proposes for a document.
std::string ProposedSaveName(std::string_view docName);

// The same for the file system's own spelling of the name, which DocName may have lost.
std::filesystem::path ProposedSavePath(const std::filesystem::path& docFile);

std::string MainTitle(std::string_view docName);

// Reads the file and, only when it is usable, replaces the workspace with it. Every refusal is
// reported through messages and leaves the workspace, title and document name as they were.
bool OpenDocument(Workspace& ws, Display& display, Messages& messages,
                  const std::filesystem::path& path);

// Writes the result file; a failure is reported and leaves any earlier file intact.
// Nothing happens without a ciphertext.
bool SaveDocument(const Workspace& ws, Messages& messages, const std::filesystem::path& path);

// Saves the work there and makes that file the document: what "save" writes back to, what the
// title names, and the key that counts as unchanged.
bool SaveWorkTo(Workspace& ws, Display& display, Messages& messages,
                const std::filesystem::path& path);

}  // namespace zam
