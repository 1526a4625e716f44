#include "toolkit/open_save_dialog.h"

#include <cderr.h>

#include <algorithm>
#include <array>
#include <cwchar>

#include "toolkit/message_box.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

// Row i: the flag that bit i of Options turns on.
constexpr std::array<DWORD, 12> kOptionFlags = {
    OFN_CREATEPROMPT,     OFN_EXTENSIONDIFFERENT, OFN_FILEMUSTEXIST,    OFN_HIDEREADONLY,
    OFN_NOCHANGEDIR,      OFN_NODEREFERENCELINKS, OFN_ALLOWMULTISELECT, OFN_NONETWORKBUTTON,
    OFN_NOREADONLYRETURN, OFN_OVERWRITEPROMPT,    OFN_PATHMUSTEXIST,    OFN_READONLY,
};

// A stale owner handle makes the dialog fail without a word; it then runs without an owner.
HWND DialogOwner(HWND requested) {
    HWND owner = requested ? requested : ApplicationWindow();
    return owner && IsWindow(owner) ? owner : nullptr;
}

const wchar_t* OrNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

}  // namespace

OpenSaveDialog* NewOpenSaveDialog(std::string_view title, std::string_view initialDir,
                                  std::uint16_t options) {
    auto* dialog = NewObject<OpenSaveDialog>();
    dialog->Title = title;
    dialog->InitialDir = initialDir;
    dialog->Options = options == 0 ? kDefaultDialogOptions : options;
    return dialog;
}

DWORD DialogFlags(std::uint16_t options) {
    DWORD flags = OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
    for (size_t bit = 0; bit < kOptionFlags.size(); ++bit) {
        if (options & (1u << bit))
            flags |= kOptionFlags[bit];
    }
    return flags;
}

std::wstring DialogFilter(std::string_view filter) {
    if (filter.empty())
        return {};
    std::wstring list = Widen(filter);
    std::replace(list.begin(), list.end(), L'|', L'\0');
    // The dialog reads (description, pattern) pairs until an empty description; after a lone
    // description the "pattern" is the first terminator, so two more must follow it.
    list.append(2, L'\0');
    return list;
}

std::vector<wchar_t> FileNameBuffer(std::wstring_view name, std::size_t capacity) {
    std::vector<wchar_t> buffer(capacity, L'\0');
    if (capacity == 0)
        return buffer;
    size_t length = std::min(name.size(), capacity - 1);
    // Never keep half of a surrogate pair.
    if (length > 0 && length < name.size() && name[length - 1] >= 0xD800 &&
        name[length - 1] <= 0xDBFF)
        --length;
    std::copy_n(name.begin(), length, buffer.begin());
    return buffer;
}

std::vector<wchar_t> FileNameBuffer(std::string_view fileName1251, std::size_t capacity) {
    return FileNameBuffer(std::wstring_view(Widen(fileName1251)), capacity);
}

std::wstring JoinMultiSelect(std::wstring_view buffer) {
    std::wstring joined;
    for (size_t i = 0; i < buffer.size() && buffer[i] != L'\0'; ++i) {
        joined += buffer[i];
        if (i + 1 < buffer.size() && buffer[i + 1] == L'\0' && i + 2 < buffer.size() &&
            buffer[i + 2] != L'\0') {
            joined += L'\r';
            ++i;
        }
    }
    return joined;
}

bool Execute(OpenSaveDialog* dialog) {
    if (!dialog)
        return false;
    const bool multiSelect = (dialog->Options & kDialogAllowMultiSelect) != 0;
    const std::wstring filter = DialogFilter(dialog->Filter);
    const std::wstring initialDir = dialog->InitialDirPath.empty()
                                        ? Widen(dialog->InitialDir)
                                        : dialog->InitialDirPath.native();
    const std::wstring title = Widen(dialog->Title);
    const std::wstring defExtension = Widen(dialog->DefExtension);
    const size_t capacity = multiSelect ? kMultiSelectBufferSize : kFileBufferSize;
    std::vector<wchar_t> buffer =
        dialog->FilePath.empty()
            ? FileNameBuffer(dialog->FileName, capacity)
            : FileNameBuffer(std::wstring_view(dialog->FilePath.native()), capacity);

    OPENFILENAMEW record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = DialogOwner(dialog->WndOwner);
    record.hInstance = GetModuleHandleW(nullptr);
    record.lpstrFilter = OrNull(filter);
    record.nFilterIndex = static_cast<DWORD>(std::max<std::int32_t>(dialog->FilterIndex, 0));
    record.lpstrFile = buffer.data();
    record.nMaxFile = static_cast<DWORD>(buffer.size());
    record.lpstrInitialDir = OrNull(initialDir);
    record.lpstrTitle = OrNull(title);
    record.Flags = DialogFlags(dialog->Options);
    record.lpstrDefExt = OrNull(defExtension);

    const BOOL accepted =
        dialog->OpenDialog ? GetOpenFileNameW(&record) : GetSaveFileNameW(&record);
    if (!accepted) {
        dialog->FileName.clear();
        dialog->FilePath.clear();
        // Zero is a plain cancel; anything else would otherwise look like one to the user.
        const DWORD error = CommDlgExtendedError();
        if (error == FNERR_BUFFERTOOSMALL) {
            MessageBoxApp("Путь к выбранному файлу слишком длинный.", MB_OK | MB_ICONERROR);
        } else if (error != 0) {
            MessageBoxApp("Не удалось открыть окно выбора файла.", MB_OK | MB_ICONERROR);
        }
        return false;
    }

    dialog->FilterIndex = static_cast<std::int32_t>(record.nFilterIndex);
    const std::wstring chosen =
        multiSelect ? JoinMultiSelect(std::wstring_view(buffer.data(), buffer.size()))
                    : std::wstring(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
    dialog->FileName = Narrow(chosen);
    dialog->FilePath = chosen;
    return true;
}

}  // namespace zam
