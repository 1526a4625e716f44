#include "toolkit/color.h"

namespace zam {

COLORREF ColorToRGB(COLORREF color) {
    return IsSystemColor(color) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

COLORREF SwapRB(COLORREF color) {
    const COLORREF rgb = ColorToRGB(color);
    return (rgb & 0xFF00FF00) | ((rgb & 0xFF) << 16) | ((rgb >> 16) & 0xFF);
}

}  // namespace zam
