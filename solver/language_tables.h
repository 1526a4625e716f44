#pragma once
// The generated Russian tables (language_tables.cpp, made by make_tables.py). Each is a text of
// lines: a three-digit level, round(-20 * log10(share)), then every item of that level, symbols
// written as the bytes 0x60 + index (0-29 the letters in alphabet order, 30 the word gap).
namespace zam::solver {

extern const char kQuadgramsWithGap[];
extern const char kTrigramsWithGap[];
extern const char kQuadgramsLettersOnly[];
extern const char kTrigramsLettersOnly[];
extern const char kWords[];               // words separated by spaces; shares of all word tokens
extern const char kNames[];               // proper names, as kWords
extern const char kSymbolsByFrequency[];  // the 31 symbols, most frequent first
// Word pairs "a_b": kWordPairOffset less the level of how much likelier b is after a than alone;
// a word "a" alone: the same for any word after a that no pair lists.
extern const char kWordPairs[];
extern const int kWordPairOffset;

extern const long long kQuadgramsWithGapTotal;
extern const long long kTrigramsWithGapTotal;
extern const long long kQuadgramsLettersOnlyTotal;
extern const long long kTrigramsLettersOnlyTotal;
extern const long long kWordsTotal;

}  // namespace zam::solver
