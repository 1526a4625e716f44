#pragma once
// Conversions between the program's Windows-1251 texts and Unicode. Written here rather
// than taken from the system so that results never depend on the system's code page.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zam {

// The Unicode code point of a Windows-1251 byte (every byte has one).
char32_t Cp1251ToCodePoint(unsigned char byte);

// The Windows-1251 byte for a code point, or nothing when the code page cannot hold it.
std::optional<char> CodePointTo1251(char32_t codePoint);

// Strict: nothing when the text is not valid UTF-8 or holds a character 1251 lacks.
std::optional<std::string> Utf8To1251(std::string_view utf8);
// Lenient: characters 1251 lacks (and broken sequences) become the replacement byte.
std::string Utf8To1251Lossy(std::string_view utf8, char replacement = '?');
std::string Cp1251ToUtf8(std::string_view text);

// The code point of the UTF-8 sequence at text[i], moving i past it; -1 for a malformed one,
// with i past the bytes it spoiled (at least one).
long DecodeUtf8At(std::string_view text, std::size_t& i);

// Whether the bytes are well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

std::u16string Cp1251ToUtf16(std::string_view text);
// A surrogate pair, like any character 1251 lacks, becomes one replacement byte.
std::string Utf16To1251(std::u16string_view text, char replacement = '?');

// A file-system path as the program shows it: 1251, "?" for what 1251 cannot spell.
std::string PathTo1251(const std::filesystem::path& path);
// The path a Windows-1251 name stands for, whatever the system's own spelling.
std::filesystem::path PathFrom1251(std::string_view name);

}  // namespace zam
