#include "toolkit/strings.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "toolkit/encoding.h"
#endif

namespace zam {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::string IntToStr(int32_t n) {
    return std::to_string(n);
}

int32_t StrToInt(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    // Unsigned arithmetic: overlong digit runs wrap instead of overflowing.
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    }
    return static_cast<int32_t>(negative ? 0u - value : value);
}

std::string IntToHex(int32_t n, int32_t digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    uint32_t value = static_cast<uint32_t>(n);
    std::string reversed;
    do {
        reversed.push_back(kDigits[value & 15u]);
        value >>= 4;
    } while (value != 0);
    const size_t width = static_cast<uint32_t>(digits) % 16u;
    if (reversed.size() < width) {
        reversed.append(width - reversed.size(), '0');
    }
    return std::string(reversed.rbegin(), reversed.rend());
}

int32_t HexToInt(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && text[i] == '$') {
        ++i;
    }
    uint32_t value = 0;
    for (int d; i < text.size() && (d = HexDigitValue(text[i])) >= 0; ++i) {
        value = (value << 4) | static_cast<uint32_t>(d);
    }
    return static_cast<int32_t>(value);
}

std::string TrimLeft(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    return std::string(text.substr(start));
}

std::string TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(0, end));
}

std::string Trim(std::string_view text) {
    return TrimLeft(TrimRight(text));
}

int32_t CharPos(std::string_view text, char ch) {
    const size_t pos = text.find(ch);
    return pos == std::string_view::npos ? -1 : static_cast<int32_t>(pos + 1);
}

std::string ExtractFileName(std::string_view path) {
    const size_t last = path.find_last_of(":\\");
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string IncludeTrailingChar(std::string_view text, char ch) {
    std::string result(text);
    if (result.empty() || result.back() != ch) {
        result.push_back(ch);
    }
    return result;
}

std::string GetStartDir() {
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::current_path(error);
    // A directory that cannot be read gives just the separator, as the Win32 call would.
#ifdef _WIN32
    return IncludeTrailingChar(error ? std::string() : PathTo1251(dir), '\\');
#else
    return IncludeTrailingChar(error ? std::string() : dir.string(), '/');
#endif
}

}  // namespace zam
