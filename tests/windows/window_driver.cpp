#include "tests/windows/window_driver.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace zam::test {
namespace {

constexpr UINT kTickMs = 50;
// A window still there this many ticks after its step is cancelled (5 s).
constexpr int kStuckTicks = 100;
constexpr int kFileNameCombo = 0x47C;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kMessageText = 0xFFFF;   // the static text of a message box

WindowDriver* activeDriver = nullptr;

BOOL CALLBACK CollectDialog(HWND window, LPARAM result) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring_view(className) == L"#32770" && IsWindowVisible(window) &&
        IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

// The dialog that has the user's attention: a prompt disables the dialog that owns it.
HWND ActiveDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring Describe(HWND window) {
    return WindowText(window) + L": " + MessageText(window);
}

}  // namespace

WindowDriver::WindowDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
    activeDriver = this;
    timer_ = SetTimer(nullptr, 0, kTickMs, Tick);
}

WindowDriver::~WindowDriver() {
    KillTimer(nullptr, timer_);
    activeDriver = nullptr;
}

void CALLBACK WindowDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (activeDriver)
        activeDriver->OnTick();
}

void WindowDriver::OnTick() {
    HWND dialog = ActiveDialog();
    if (!dialog)
        return;
    if (dialog == last_) {
        // Still there long after its step: cancel it, and close it outright if that fails.
        if (++ticksOnLast_ % kStuckTicks == 0) {
            if (ticksOnLast_ == kStuckTicks) {
                unexpected_.push_back(L"did not close: " + Describe(dialog));
                PressButton(dialog, IDCANCEL);
            } else {
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            }
        }
        return;
    }
    last_ = dialog;
    ticksOnLast_ = 0;
    if (static_cast<size_t>(handled_) < steps_.size()) {
        steps_[static_cast<size_t>(handled_++)](dialog);
    } else {
        unexpected_.push_back(Describe(dialog));
        PressButton(dialog, IDCANCEL);
    }
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(dialog, id, text, 1024);
    return text;
}

std::wstring MessageText(HWND box) {
    return ItemText(box, kMessageText);
}

HWND FileNameField(HWND dialog) {
    HWND field = GetDlgItem(dialog, kFileNameCombo);
    return field ? field : GetDlgItem(dialog, kFileNameEdit);
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

Step Accept(std::wstring name) {
    return [name](HWND dialog) {
        SetWindowTextW(FileNameField(dialog), name.c_str());
        PressButton(dialog, IDOK);
    };
}

Step Cancel() {
    return [](HWND dialog) { PressButton(dialog, IDCANCEL); };
}

Step Inspecting(std::function<void(HWND)> inspect, Step then) {
    return [inspect, then](HWND dialog) {
        inspect(dialog);
        then(dialog);
    };
}

TempDir::TempDir(const std::wstring& suffix) {
    static int counter = 0;
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    path_ =
        std::filesystem::path(base) / (L"zamenor-test-" + std::to_wstring(GetCurrentProcessId()) +
                                       L"-" + std::to_wstring(++counter) + suffix);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code error;
    // A file dialog that succeeds moves the current directory to the chosen file's, and the
    // current directory cannot be removed.
    const std::filesystem::path cwd = std::filesystem::current_path(error);
    if (!error && cwd.native().starts_with(path_.native())) {
        std::filesystem::current_path(path_.parent_path(), error);
    }
    std::filesystem::remove_all(path_, error);
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::filesystem::path& dir)
    : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

CurrentDirectoryScope::~CurrentDirectoryScope() {
    std::error_code error;
    std::filesystem::current_path(saved_, error);
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace zam::test
