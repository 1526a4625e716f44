#pragma once
// Drives the modal windows (file dialogs, message boxes) that the code under test opens on
// this thread. A thread timer ticks inside their modal loops; each tick looks for the newest
// enabled top-level dialog of this thread and hands it to the next step.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zam::test {

// Acts on one dialog window; runs once per window that appears.
using Step = std::function<void(HWND dialog)>;

class WindowDriver {
public:
    explicit WindowDriver(std::vector<Step> steps);
    ~WindowDriver();
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;

    // How many windows the steps were given.
    int Handled() const { return handled_; }
    // Windows that appeared after the steps ran out, or that did not close: each one was
    // cancelled and is named here (caption: text), so a test fails instead of hanging.
    const std::vector<std::wstring>& Unexpected() const { return unexpected_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    std::vector<Step> steps_;
    UINT_PTR timer_ = 0;
    int handled_ = 0;
    HWND last_ = nullptr;
    int ticksOnLast_ = 0;
    std::vector<std::wstring> unexpected_;
};

std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
// The question or message a message box shows.
std::wstring MessageText(HWND box);

// The file dialog's "File name" field (a combo box or an edit, depending on the template).
HWND FileNameField(HWND dialog);
// Presses the button as a click would (IDOK, IDCANCEL, IDYES ...).
void PressButton(HWND dialog, int id);

// Steps for the common cases: Accept types the name into the file-name field and presses OK.
Step Accept(std::wstring name);
Step Cancel();
// Runs inspect on the window, then the step.
Step Inspecting(std::function<void(HWND)> inspect, Step then);

// A fresh directory under the Windows temporary directory, removed with everything in it.
class TempDir {
public:
    explicit TempDir(const std::wstring& suffix = L"");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::wstring& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Makes dir the process's current directory for the object's lifetime.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::filesystem::path& dir);
    ~CurrentDirectoryScope();
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::filesystem::path saved_;
};

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace zam::test
