#pragma once
// The phrase the user types to highlight: folded to upper case by the program itself (the
// edit box's own fold follows the system code page) and accepted only when every byte is a
// cipher symbol.
#include <optional>
#include <string>
#include <string_view>

namespace zam {

// Windows-1251 lower-case letters а-я (0xE0-0xFF) become А-Я; every other byte stays.
char FoldPhraseByte(char byte);
std::string FoldPhrase(std::string_view text);

// The cipher symbol a key typed into the phrase box stands for: a letter in upper case, with Ё,
// Й and Ъ (either case) as the Е, И and Ь the cipher alphabet has, or "_"; 0 for any other.
char PhraseSymbolOfTyped(char byte);

// The phrase to highlight for the edit box's text: folded, and empty for an empty box;
// nothing when a byte is no cipher symbol (Й, Ъ, Latin, a space, "?").
std::optional<std::string> PhraseFromEditText(std::string_view text);

}  // namespace zam
