#include "toolkit/message_box.h"

#include <string>
#include <utility>

#include "toolkit/application.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

std::wstring WindowCaption(HWND window) {
    // An application window destroyed without being unregistered leaves a stale handle.
    if (!window || !IsWindow(window))
        return {};
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, caption.data(), length + 1);
    caption.resize(static_cast<size_t>(got > 0 ? got : 0));
    return caption;
}

// The box being made on this thread gets Russian button texts, whatever the system's language.
HHOOK russianButtonsHook = nullptr;

LRESULT CALLBACK RussianButtons(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        const std::pair<int, const char*> labels[] = {
            {IDYES, "&Да"}, {IDNO, "&Нет"}, {IDCANCEL, "Отмена"}, {IDOK, "OK"}};
        for (const auto& [id, label] : labels) {
            if (HWND button = GetDlgItem(box, id)) {
                SetWindowTextW(button, Widen(label).c_str());
            }
        }
    }
    return CallNextHookEx(russianButtonsHook, code, wParam, lParam);
}

}  // namespace

HWND ApplicationWindow() {
    Control* applet = Applet();
    return applet ? applet->WindowHandle() : nullptr;
}

int MessageBoxApp(std::string_view text, unsigned flags) {
    const std::wstring wideText = Widen(text);
    const std::wstring caption = WindowCaption(ApplicationWindow());
    return MessageBoxW(nullptr, wideText.c_str(), caption.c_str(), flags);
}

int AskApp(std::string_view text, unsigned flags) {
    // Only this thread's next box: the hook goes as soon as the box has returned.
    russianButtonsHook = SetWindowsHookExW(WH_CBT, RussianButtons, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxApp(text, flags);
    if (russianButtonsHook) {
        UnhookWindowsHookEx(russianButtonsHook);
        russianButtonsHook = nullptr;
    }
    return answer;
}

void ShowMessage(std::string_view text) {
    MessageBoxApp(text, MB_OK);
}

}  // namespace zam
