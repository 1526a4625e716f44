#pragma once
// The Win32 boundary: the program's Windows-1251 texts become UTF-16 for the W functions and
// come back as 1251, so that nothing depends on the system's ANSI code page.
#include <string>
#include <string_view>

namespace zam {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Win32 boundary expects UTF-16 wchar_t");

std::wstring Widen(std::string_view text1251);
// Characters 1251 cannot spell, a surrogate pair included, become one "?" each.
std::string Narrow(std::wstring_view text);

}  // namespace zam
