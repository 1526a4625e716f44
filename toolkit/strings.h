#pragma once
// Text helpers the application calls directly. Texts are Windows-1251 bytes; the numeric
// readers stop at the first character they do not accept and never fail.
#include <cstdint>
#include <string>
#include <string_view>

namespace zam {

std::string IntToStr(int32_t n);
// Optional sign, then decimal digits up to the first non-digit; no blanks skipped; 0 when no
// digits. Values past 32 bits wrap around.
int32_t StrToInt(std::string_view text);
// Upper-case digits of n as unsigned, zero-padded to digits % 16 places (0 and 1: as needed).
std::string IntToHex(int32_t n, int32_t digits);
// Optional "$", then hex digits of either case up to the first other character; wraps at 32 bits.
int32_t HexToInt(std::string_view text);

// Drop leading / trailing characters with codes 0 to 32.
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string Trim(std::string_view text);

// 1-based position of the first ch, -1 when absent.
int32_t CharPos(std::string_view text, char ch);
// The text after the last ':' or '\'; the whole text when it has neither.
std::string ExtractFileName(std::string_view path);
// The text with ch appended unless it already ends with ch.
std::string IncludeTrailingChar(std::string_view text, char ch);
// The current directory with a trailing separator ('\' on Windows, '/' elsewhere).
std::string GetStartDir();

}  // namespace zam
