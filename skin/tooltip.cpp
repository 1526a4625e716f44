#include "skin/tooltip.h"

#include <commctrl.h>

#include <cstddef>
#include <string>

#include "toolkit/wide_text.h"

namespace zam {

static_assert(kToolTipFlags == (TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT));

// The record without the reserved field that later versions add: 44 bytes on 32-bit Windows.
constexpr UINT kToolInfoSize = offsetof(TOOLINFOW, lParam) + sizeof(LPARAM);
static_assert(sizeof(void*) != 4 || kToolInfoSize == 44);

TADToolTip::TADToolTip(HWND owner) : owner_(owner) {
    InitCommonControls();
    // The W class, so that hints show Russian whatever the system code page. The control
    // gives itself the popup and border styles.
    window_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, 0, 0, 0, 0, owner, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
}

TADToolTip::~TADToolTip() {
    if (window_ && IsWindow(window_)) {
        DestroyWindow(window_);
    }
}

void TADToolTip::AddTool(HWND window, std::string_view text) {
    if (!window_ || !window) {
        return;
    }
    std::wstring wide = Widen(text);
    TOOLINFOW tool{};
    tool.cbSize = kToolInfoSize;
    tool.uFlags = kToolTipFlags;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.hinst = GetModuleHandleW(nullptr);
    tool.lpszText = wide.data();
    SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace zam
