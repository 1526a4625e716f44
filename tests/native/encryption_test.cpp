#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "toolkit/encoding.h"
#include "workspace/document_file.h"
#include "workspace/encryption.h"
#include "workspace/text_reader.h"

namespace zam {
namespace {

namespace fs = std::filesystem;

const std::string kText =
    "Облик Аркадиева дяди, изящный и породистый, сохранил юношескую стройность\r\n"
    "и то стремление вверх, прочь от земли, которое большею частью исчезает\r\n"
    "после двадцатых годов. Съел ещё?";

TEST(Encryption, SolvingWithTheAnswerGivesBackTheFoldedText) {
    for (const std::uint64_t seed : {0ull, 1ull, 2026ull, ~0ull}) {
        const Encryption e = EncryptText(Cp1251ToUtf8(kText), seed);
        ASSERT_TRUE(e.Ok()) << e.message;
        EXPECT_EQ(e.plainText, ReadPlainText(kText).text);
        EXPECT_EQ(e.notice, "Знаки и пробелы заменены на _ (24); Ё, Й, Ъ заменены на Е, И, Ь.");

        // The cryptogram file is the program's own format: read back as it was written.
        const DocumentContent cryptogram = ParseDocument(CryptogramFileBytes(e));
        EXPECT_EQ(cryptogram.cipherText, e.cipherText);
        EXPECT_EQ(cryptogram.notice, "");

        // The answer is a result file whose key decrypts the cryptogram.
        const DocumentContent answer = ParseDocument(AnswerFileBytes(e));
        ASSERT_TRUE(answer.isResultFile);
        EXPECT_EQ(answer.cipherText, e.cipherText);
        EXPECT_EQ(answer.plainText, e.plainText);
        std::string solved = e.cipherText;
        for (char& c : solved)
            c = answer.key[static_cast<size_t>(SymbolColumn(c) - 1)];
        EXPECT_EQ(solved, e.plainText) << seed;

        // The key is a permutation of the 30 letters.
        EXPECT_EQ(std::set<char>(e.key.begin(), e.key.begin() + 30).size(), 30u);
    }
}

// The seed decides the key; a pasted text takes the same way; an unusable one is refused with the
// reader's message.
TEST(Encryption, TheSeedDecidesTheKey) {
    EXPECT_NE(EncryptText("жаба", 1).key, EncryptText("жаба", 2).key);
    EXPECT_EQ(EncryptText(std::u16string(u"Жаба!"), 7).cipherText, EncryptText("жаба", 7).cipherText);
    const Encryption e = EncryptText("Hello", 1);
    EXPECT_EQ(e.message, "Символ «H» в строке 1, позиции 1 — не русская буква.");
    EXPECT_TRUE(e.cipherText.empty());
}

TEST(Encryption, ProposedNamesBesideTheText) {
    using Namer = fs::path (*)(const fs::path&);
    const std::tuple<Namer, std::string, std::string> cases[] = {
        {CryptogramPathFor, "текст.txt", "текст-шифр.txt"},
        {CryptogramPathFor, "заметка", "заметка-шифр.txt"},
        {AnswerPathFor, "папка/текст-шифр.txt", "папка/текст-ответ.txt"},
    };
    for (const auto& [namer, given, proposed] : cases) {
        EXPECT_EQ(namer(PathFrom1251(given)), PathFrom1251(proposed)) << given;
    }
}

}  // namespace
}  // namespace zam
