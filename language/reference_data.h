#pragma once
// Constant knowledge of ordinary Russian text: letter shares, frequent combinations and the
// vowel/consonant alternation card. Texts are Windows-1251.
#include <cstdint>

namespace zam::language {

inline constexpr int kReferenceShareCount = 31;
inline constexpr int kCombinationCount = 20;
inline constexpr int kAlternationRowCount = 31;  // header row 0, then 30 letters
inline constexpr int kAlternationColumnCount = 7;

// Share in percent of cipher-alphabet position 1-31; 0 outside that range.
float ReferenceShare(int position);

// Frequent combination 1-20: doubled letters 1-4, bigrams 5-14, trigrams 15-20.
// An empty text outside that range.
const char* FrequentCombination(int entry);

// Alternation card cell, row 0-30 (rows in the usual Russian order, Ы before Ь), column 1-7.
// An empty text outside the table.
const char* AlternationCell(int row, int column);

// Pixel width of alternation column 1-7; 0 outside that range.
std::uint8_t AlternationColumnWidth(int column);

}  // namespace zam::language
