#pragma once
// Whole-file reading and crash-safe replacement. Paths stay in the system's own form (UTF-16
// on Windows), so names that Windows-1251 cannot spell still open and save.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zam {

// Files larger than this are refused rather than read into memory.
inline constexpr std::uintmax_t kMaxReadSize = 64u << 20;

enum class ReadStatus { Ok, CannotRead, TooLarge };

ReadStatus ReadFileBytes(const std::filesystem::path& path, std::string& bytes);

// The process's current directory as the system spells it; empty when it cannot be told.
std::filesystem::path CurrentDirectory();

// Writes the bytes to a temporary file beside the target and only then puts it in the target's
// place, so a failure never damages a file that was there before. False on any failure.
bool WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes);

}  // namespace zam
