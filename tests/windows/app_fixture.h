#pragma once
// The running program in this process: start-up from an empty folder (or given settings),
// commands as the menu strip and the toolbar get them, and a stop that frees what the message
// loop would.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/analysis_records.h"
#include "app/main_menu_template.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "skin/skin_bitmaps.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/window_driver.h"
#include "toolkit/encoding.h"
#include "workspace/document_file.h"

namespace zam::test {

inline std::vector<std::wstring> shellOpened;
inline bool shellOpenFails = false;  // as when the file is missing or nothing can show it
inline bool RecordShellOpen(const std::wstring& target) {
    shellOpened.push_back(target);
    return !shellOpenFails;
}

// Dispatches what is queued up to the quit message; false when none came.
inline bool PumpUntilQuit() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            return true;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return false;
}

inline const std::string kPlain =
    "ОБЛИК_АРКАДИЕВА_ДЯДИ_ИЗЯЩНЫИ_И_ПОРОДИСТЫИ_СОХРАНИЛ_ЮНОШЕСКУЮ_СТРОИНОСТЬ_И_ТО_"
    "СТРЕМЛЕНИЕ_ВВЕРХ_ПРОЧЬ_ОТ_ЗЕМЛИ_КОТОРОЕ_БОЛЬШЕЮ_ЧАСТЬЮ_ИСЧЕЗАЕТ";

// The text under a key that moves every letter seven places on; the gap stays.
inline std::string Encrypted(const std::string& plain) {
    const std::string letters(Alphabet().substr(0, 30));
    const std::string shifted = letters.substr(7) + letters.substr(0, 7);
    std::string cipher = plain;
    for (char& c : cipher) {
        if (c != '_') {
            c = shifted[letters.find(c)];
        }
    }
    return cipher;
}

// A character as the system hands it to a window, typed on a Russian keyboard.
inline void Type(Control* form, char key1251) {
    SendMessageW(form->WindowHandle(), WM_CHAR,
                 Cp1251ToCodePoint(static_cast<unsigned char>(key1251)), 0);
    Pump();
}

// A key pressed with the window focused and Ctrl or Shift held, as the keyboard gives it.
inline void PressKey(Control* form, UINT key, bool ctrl = false, bool shift = false) {
    HWND window = form->WindowHandle();
    SetFocus(window);
    BYTE saved[256] = {}, state[256] = {};
    GetKeyboardState(saved);
    state[VK_CONTROL] = state[VK_LCONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = state[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(window, WM_KEYDOWN, key, 1);
    SendMessageW(window, WM_KEYUP, key, 0xC0000001);
    SetKeyboardState(saved);
    Pump();
}

// The pixels of a cell of the surface as the window shows them after its real paint.
inline std::vector<COLORREF> CellPixels(Control* surface, const Rect& cell) {
    HWND window = surface->WindowHandle();
    UpdateWindow(window);
    HDC dc = GetDC(window);
    std::vector<COLORREF> pixels;
    for (int y = cell.top; y < cell.bottom; ++y) {
        for (int x = cell.left; x < cell.right; ++x) {
            pixels.push_back(GetPixel(dc, x, y));
        }
    }
    ReleaseDC(window, dc);
    return pixels;
}

// Files dropped from the shell on a window; the first is what counts.
inline void Drop(Control* form, const std::vector<std::filesystem::path>& paths) {
    std::wstring files;
    for (const auto& path : paths) {
        files += path.wstring() + L'\0';
    }
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + (files.size() + 1) * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(files.begin(), files.end(),
              reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES)));
    GlobalUnlock(drop);
    SendMessageW(form->WindowHandle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    Pump();
}

class Zamenor : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        shellOpened.clear();
        shellOpenFails = false;
    }
    void TearDown() override {
        Stop();
        ControlTest::TearDown();
    }

    void Start(const std::string* settings = nullptr) {
        if (settings) {
            WriteBytes(dir_ / L"settings.ini", *settings);
        }
        app_ = StartApplication(&RecordShellOpen);
        Pump();
    }
    // Closes as the user does when the program still runs, and frees what the loop would.
    void Stop() {
        if (!app_) {
            return;
        }
        if (app_->ShutdownRuns == 0) {
            Shutdown(*app_);
        }
        Pump();
        Free(app_->ApplicationWindow);
        app_.reset();
        Pump();
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    std::string SettingsBytes() { return ReadBytes(dir_ / L"settings.ini"); }
    Workspace& Ws() { return *app_->Ws; }
    // The alphabet window's caption, where the program's hints appear.
    std::string Hint() { return app_->AlphabetWindow->Form->Caption(); }
    std::wstring Title() { return WindowText(app_->MainForm()->WindowHandle()); }

    MenuEntry* Item(int32_t item) { return MenuItem(app_->MainMenu(), item); }
    bool Checked(int32_t item) { return ItemChecked(Item(item)); }
    // The menu command as the strip's window gets it.
    void Send(int32_t item) {
        SendMessageW(app_->MenuWindow->Form->WindowHandle(), WM_COMMAND,
                     static_cast<WPARAM>(Item(item)->CommandId()), 0);
    }
    void Choose(int32_t item) {
        Send(item);
        Pump();
    }
    void ClickButton(ToolbarButton button) {
        ToolbarClick(*app_, app_->MainWindow->Buttons[static_cast<size_t>(button)]);
        Pump();
    }
    void LoadText(const std::string& text) {
        const auto path = dir_ / L"code.txt";
        WriteBytes(path, text);
        ASSERT_TRUE(OpenDocument(Ws(), app_->Screen, app_->Boxes, path));
    }

    // A mouse message with surface coordinates packed as Windows packs them, 16 bits each.
    // The real pointer goes there too: hover tracking would otherwise report a leave at once.
    static void Pointer(Control* surface, UINT message, Point p, WPARAM keys = 0) {
        POINT screen{p.x, p.y};
        MapWindowPoints(surface->WindowHandle(), nullptr, &screen, 1);
        SetCursorPos(screen.x, screen.y);
        SendMessageW(surface->WindowHandle(), message, keys,
                     MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
        Pump();
    }

    FrameSkinModule skin_;
    TempDir dir_{L"app"};
    CurrentDirectoryScope inDir_{dir_.Path()};
    std::unique_ptr<zam::Application> app_;
};

}  // namespace zam::test
