#include "toolkit/encoding.h"

#include <array>

namespace zam {
namespace {

// Code points of bytes 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F in order. 0x98 is unassigned
// in the code page and maps to U+0098, as Windows itself does.
constexpr std::array<char16_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// Decodes one UTF-8 sequence at text[i]; advances i. Returns -1 for a malformed one.
long DecodeUtf8(std::string_view text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int extra;
    long value;
    long minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return -1;
    }
    if (text.size() - i < static_cast<size_t>(extra) + 1) {
        i = text.size();
        return -1;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            i += k;
            return -1;
        }
        value = (value << 6) | (next & 0x3F);
    }
    i += extra + 1;
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return -1;
    return value;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

char32_t Cp1251ToCodePoint(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return kUpperHalf[byte - 0x80];
}

std::optional<char> CodePointTo1251(char32_t codePoint) {
    if (codePoint < 0x80) return static_cast<char>(codePoint);
    if (codePoint >= 0x0410 && codePoint <= 0x044F) {
        return static_cast<char>(0xC0 + (codePoint - 0x0410));
    }
    for (size_t k = 0; k < kUpperHalf.size(); ++k) {
        if (kUpperHalf[k] == codePoint) return static_cast<char>(0x80 + k);
    }
    return std::nullopt;
}

long DecodeUtf8At(std::string_view text, std::size_t& i) { return DecodeUtf8(text, i); }

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        if (DecodeUtf8(bytes, i) < 0) return false;
    }
    return true;
}

std::optional<std::string> Utf8To1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const long cp = DecodeUtf8(utf8, i);
        if (cp < 0) return std::nullopt;
        const auto byte = CodePointTo1251(static_cast<char32_t>(cp));
        if (!byte) return std::nullopt;
        out += *byte;
    }
    return out;
}

std::string Utf8To1251Lossy(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const long cp = DecodeUtf8(utf8, i);
        const auto byte = cp < 0 ? std::nullopt : CodePointTo1251(static_cast<char32_t>(cp));
        out += byte.value_or(replacement);
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) AppendUtf8(out, Cp1251ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::u16string Cp1251ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (const char c : text) {
        out += static_cast<char16_t>(Cp1251ToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string Utf16To1251(std::u16string_view text, char replacement) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            ++i;
            out += replacement;
            continue;
        }
        out += CodePointTo1251(unit).value_or(replacement);
    }
    return out;
}

std::string PathTo1251(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& wide = path.native();
    return Utf16To1251(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()),
                                           wide.size()));
#else
    return Utf8To1251Lossy(path.native());
#endif
}

std::filesystem::path PathFrom1251(std::string_view name) {
#ifdef _WIN32
    const std::u16string wide = Cp1251ToUtf16(name);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
    return std::filesystem::path(Cp1251ToUtf8(name));
#endif
}

}  // namespace zam
