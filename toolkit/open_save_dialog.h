#pragma once
// The file open/save dialog object. Its texts are Windows-1251 like every toolkit text, but the
// dialog itself runs on UTF-16 (GetOpenFileNameW / GetSaveFileNameW), and the chosen path is
// also kept in UTF-16, so a file whose name 1251 cannot spell still opens and saves.
#include <windows.h>

#include <commdlg.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/object.h"

namespace zam {

// Bits of OpenSaveDialog::Options; bit i turns on the OFN_ flag of the same name.
inline constexpr std::uint16_t kDialogCreatePrompt = 1u << 0;
inline constexpr std::uint16_t kDialogExtensionDifferent = 1u << 1;
inline constexpr std::uint16_t kDialogFileMustExist = 1u << 2;
inline constexpr std::uint16_t kDialogHideReadOnly = 1u << 3;
inline constexpr std::uint16_t kDialogNoChangeDir = 1u << 4;
inline constexpr std::uint16_t kDialogNoDereferenceLinks = 1u << 5;
inline constexpr std::uint16_t kDialogAllowMultiSelect = 1u << 6;
inline constexpr std::uint16_t kDialogNoNetworkButton = 1u << 7;
inline constexpr std::uint16_t kDialogNoReadOnlyReturn = 1u << 8;
inline constexpr std::uint16_t kDialogOverwritePrompt = 1u << 9;
inline constexpr std::uint16_t kDialogPathMustExist = 1u << 10;
inline constexpr std::uint16_t kDialogReadOnly = 1u << 11;
// What an Options value of 0 at creation stands for.
inline constexpr std::uint16_t kDefaultDialogOptions =
    kDialogFileMustExist | kDialogHideReadOnly | kDialogOverwritePrompt | kDialogPathMustExist;

// File name buffer sizes, in UTF-16 units, terminators included.
inline constexpr std::size_t kFileBufferSize = 262;
inline constexpr std::size_t kMultiSelectBufferSize = 65520;

class OpenSaveDialog : public ToolkitObject {
public:
    // "description|pattern|description|pattern ..."
    std::string Filter;
    // 1-based; updated after a successful run.
    std::int32_t FilterIndex = 0;
    // 1 open, 0 save.
    std::uint8_t OpenDialog = 1;
    std::string InitialDir;
    std::string DefExtension;
    // Initial name in, chosen name out (empty after a cancel). With multi-select: the directory
    // and the names, separated by CR.
    std::string FileName;
    std::string Title;
    std::uint16_t Options = 0;
    // Null: the application window.
    HWND WndOwner = nullptr;

    // Wins over InitialDir when set: a directory 1251 cannot spell stays reachable.
    std::filesystem::path InitialDirPath;
    // FileName in UTF-16, nothing lost; empty after a cancel. Set before the run, it is the
    // initial name instead of FileName, so a name 1251 cannot spell is proposed unchanged.
    std::filesystem::path FilePath;

protected:
    ~OpenSaveDialog() override = default;
};

// OpenDialog 1; options 0 means kDefaultDialogOptions.
OpenSaveDialog* NewOpenSaveDialog(std::string_view title, std::string_view initialDir,
                                  std::uint16_t options);

// Runs the dialog modally; true when the user accepted a name. A dialog that fails (rather
// than being cancelled) tells the user why and returns false.
bool Execute(OpenSaveDialog* dialog);

// The pure steps of Execute.

// OFN_ flags for the option bits, with OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING added.
DWORD DialogFlags(std::uint16_t options);
// The filter list as the dialog reads it: "|" becomes NUL, and enough NULs end it that even a
// description without its pattern cannot make the dialog read past the end. Empty for none.
std::wstring DialogFilter(std::string_view filter);
// A zero-filled buffer of `capacity` units holding as much of the name as fits before a NUL.
std::vector<wchar_t> FileNameBuffer(std::string_view fileName1251, std::size_t capacity);
std::vector<wchar_t> FileNameBuffer(std::wstring_view name, std::size_t capacity);
// A multi-select result up to its double NUL, the NULs between names turned into CR.
std::wstring JoinMultiSelect(std::wstring_view buffer);

}  // namespace zam
