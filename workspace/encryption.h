#pragma once
// Cryptograms made from a plaintext, for teachers: the text is read as a plaintext, encrypted
// with a random key over the 30 letters and written as a cryptogram file and an answer, the
// result file that holds the whole key.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "workspace/alphabet.h"

namespace zam {

struct Encryption {
    std::string message;    // why the text was refused; empty when it was encrypted
    std::string notice;     // what reading the plaintext changed; empty when nothing
    std::string plainText;  // the folded plaintext: letters of columns 1-30 and "_"
    std::string cipherText;
    // The answer: key[c - 1] is the plaintext letter of cipher column c, "_" for the gap and a
    // space in column 32, as the program keeps a key of its own.
    std::array<char, kColumnCount> key{};
    bool Ok() const { return message.empty(); }
};

// The same seed gives the same key on every system. No letter stands for itself.
Encryption EncryptText(std::string_view bytes, std::uint64_t seed);
Encryption EncryptText(std::u16string_view text, std::uint64_t seed);

// The cryptogram file: the ciphertext as one line ended by CR LF.
std::string CryptogramFileBytes(const Encryption& encryption);

// The answer: the result file the program itself would save for the solved cryptogram.
std::string AnswerFileBytes(const Encryption& encryption);

// Proposed names beside the text: "текст.txt" gives "текст-шифр.txt" and the cryptogram
// "текст-шифр.txt" the answer "текст-ответ.txt" (any other cryptogram name gets "-ответ").
// A name without an extension gets ".txt".
std::filesystem::path CryptogramPathFor(const std::filesystem::path& textPath);
std::filesystem::path AnswerPathFor(const std::filesystem::path& cryptogramPath);

}  // namespace zam
