#include "toolkit/message_box.h"

#include <string>

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

void ShowMessage(std::string_view text) {
    MessageBoxApp(text, MB_OK);
}

}  // namespace zam
