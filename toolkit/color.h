#pragma once
// Colours are COLORREF values 0x00BBGGRR; one with the top bit set names a system colour whose
// low byte is the GetSysColor index, so that it follows the user's colour scheme.
#include <windows.h>

namespace zam {

// A system colour reference: kSystemColor | COLOR_BTNFACE is the button face.
constexpr COLORREF kSystemColor = 0x80000000;
constexpr COLORREF kBtnFaceColor = kSystemColor | COLOR_BTNFACE;
constexpr COLORREF kWindowTextColor = kSystemColor | COLOR_WINDOWTEXT;
// "No colour": a transparent colour of kNoColor draws opaquely.
constexpr COLORREF kNoColor = 0xFFFFFFFF;

constexpr bool IsSystemColor(COLORREF color) {
    return (color & kSystemColor) != 0;
}

// The system colour resolved now; other colours as they are.
COLORREF ColorToRGB(COLORREF color);
// ColorToRGB with the red and blue bytes exchanged: 0x00BBGGRR becomes 0x00RRGGBB.
COLORREF SwapRB(COLORREF color);

}  // namespace zam
