#pragma once
// Hints over windows: one system tooltip window ("tooltips_class32") that watches each
// registered window by itself and shows its text when the pointer rests on it.
#include <windows.h>

#include <string_view>

namespace zam {

class TADToolTip {
public:
    // Makes the tooltip window with the owner as its parent (0 for none). When the window
    // cannot be made the object stays usable and shows no hints.
    explicit TADToolTip(HWND owner);
    // Destroys the tooltip window.
    virtual ~TADToolTip();
    TADToolTip(const TADToolTip&) = delete;
    TADToolTip& operator=(const TADToolTip&) = delete;

    // Registers the window as a tool with its hint (Windows-1251). The control copies the
    // text. Nothing happens without a tooltip window or for a null window.
    void AddTool(HWND window, std::string_view text);

    HWND Handle() const { return window_; }
    HWND Owner() const { return owner_; }

private:
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
};

// TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT: the tool is identified by its window, the
// control watches its mouse messages itself, and clicks pass through the tip.
constexpr UINT kToolTipFlags = 0x111;

}  // namespace zam
