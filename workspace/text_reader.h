#pragma once
// One reader for any Russian text a user brings, from a file of any of the usual encodings or
// from the clipboard: it makes the text a line of the working alphabet, or refuses it with a
// message that says why. Texts out are Windows-1251.
#include <string>
#include <string_view>

namespace zam {

enum class TextRefusal { None, NoLetters, TooLong, ForeignLetter, BrokenUtf8 };

struct TextReading {
    TextRefusal refusal = TextRefusal::None;
    std::string message;  // why the text was refused; empty when it was read
    std::string text;     // upper-case letters of columns 1-30 and "_", never "_" at either end
    std::string notice;   // what was changed on the way in; empty when nothing was
    bool Ok() const { return refusal == TextRefusal::None; }
};

// A cryptogram. Its Ё, Й and Ъ are cipher letters: while the text uses at most 30 distinct
// letters each is shown as a letter the text does not use, so no two cipher letters merge;
// beyond 30 they fold into Е, И and Ь and the notice warns of it.
//
// Bytes are UTF-8 (with or without its mark), UTF-16 (with its mark, or told by its zero
// bytes) or else Windows-1251. Case does not matter; every run of characters that are not
// letters becomes one "_"; combining accents are dropped (И or Е with a combining breve or
// diaeresis are Й and Ё). A letter of another alphabet refuses the text, naming it and its
// 1-based line and position in characters.
TextReading ReadCipherText(std::string_view bytes);
// The clipboard's Unicode text, read the same way.
TextReading ReadCipherText(std::u16string_view text);

// A plaintext to encrypt: read the same way, but Ё, Й and Ъ always fold into Е, И and Ь.
TextReading ReadPlainText(std::string_view bytes);
TextReading ReadPlainText(std::u16string_view text);

// The decoded text's first line in Windows-1251 ("?" for what the code page lacks), cut at
// `maxLength` bytes: enough to tell a file by its first line whatever its encoding.
std::string FirstTextLine(std::string_view bytes, std::size_t maxLength);

// Whether a character is a letter of any alphabet (Russian included): letters that are not
// Russian make a text unusable, everything else only separates words.
bool IsLetterCodePoint(char32_t codePoint);

}  // namespace zam
