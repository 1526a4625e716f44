#include "toolkit/wide_text.h"

#include "toolkit/encoding.h"

namespace zam {

std::wstring Widen(std::string_view text1251) {
    const std::u16string wide = Cp1251ToUtf16(text1251);
    return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(std::wstring_view text) {
    return Utf16To1251(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

}  // namespace zam
