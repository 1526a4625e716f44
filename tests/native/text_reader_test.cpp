#include <gtest/gtest.h>

#include <map>

#include "recording_display.h"
#include "toolkit/encoding.h"
#include "workspace/operations.h"
#include "workspace/text_reader.h"

namespace zam {
namespace {

// Bytes of a Windows-1251 text in the other encodings a file may use.
std::string Utf8(std::string_view text) {
    return Cp1251ToUtf8(text);
}
std::string Utf16(std::string_view text, bool littleEndian, bool mark) {
    std::u16string units = Cp1251ToUtf16(text);
    if (mark)
        units.insert(units.begin(), u'\xFEFF');
    std::string bytes;
    for (const char16_t unit : units) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

// The 33 letters in their usual order, and a shuffle of them that writes plaintext О as Й.
const std::string kLetters33 = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
std::string Shuffle33(std::string_view text) {
    const size_t shift = kLetters33.find('О') - kLetters33.find('Й');
    std::string out(text);
    for (char& c : out) {
        const bool lower = static_cast<unsigned char>(c) >= 0xE0;
        const char upper = c == '\xB8' ? '\xA8' : lower ? static_cast<char>(c - 32) : c;
        const size_t at = kLetters33.find(upper);
        if (at == std::string::npos)
            continue;
        const char cipher = kLetters33[(at + kLetters33.size() - shift) % kLetters33.size()];
        // Keep the case of the source, as a newspaper prints it.
        c = upper == c ? cipher : cipher == '\xA8' ? '\xB8' : static_cast<char>(cipher + 32);
    }
    return out;
}

// Every encoding and case gives the same line; runs of non-letters become one gap and the edges
// are dropped.
TEST(TextReader, EveryEncodingAndCaseGivesTheProgramsLine) {
    const std::string text = "Жаба, ёлка и мёд!\r\nКот — на крыше.";
    // Е is used, so the cipher letter Ё takes the rarest letter the text leaves free.
    const std::string line = "ЖАБА_ФЛКА_И_МФД_КОТ_НА_КРЫШЕ";
    const std::string notice = "Знаки и пробелы заменены на _ (6); Ё шифровки показана как Ф.";
    struct Case {
        std::string bytes;
        std::string line;
        std::string notice;
    };
    const Case cases[] = {
        {text, line, notice},
        {"\xEF\xBB\xBF" + Utf8(text), line, notice},
        {Utf16(text, true, true), line, notice},
        {Utf16(text, false, true), line, notice},
        {Utf16(text, true, false), line, notice},
        {"ЖАБА_ЯЬЫ_ЩУКА_ЭХО_ФИЗИКА", "ЖАБА_ЯЬЫ_ЩУКА_ЭХО_ФИЗИКА", ""},  // the program's own line
        {"\r\n  жаба_яьы \r\n\r\n", "ЖАБА_ЯЬЫ", ""},
        {"«Жаба», 1912 — яьы?!\tОК", "ЖАБА_ЯЬЫ_ОК", "Знаки и пробелы заменены на _ (2)."},
        {"\x98\x01жа\xADба\x7F", "ЖАБА", ""},  // a soft hyphen is inside the word
        // Windows-1251 texts whose bytes look like other encodings at a glance: "яю" is the
        // UTF-16 mark, and quotes, dashes and ё are bytes 0x80-0xBF as UTF-8 continuations are.
        {"яю, жаба", "ЯЮ_ЖАБА", "Знаки и пробелы заменены на _ (1)."},
        {"«Ёж» — это ёжик…", "ЕЖ_ЭТО_ЕЖИК",
         "Знаки и пробелы заменены на _ (2); Ё шифровки показана как Е."},
    };
    for (const Case& c : cases) {
        const TextReading reading = ReadCipherText(c.bytes);
        ASSERT_TRUE(reading.Ok()) << c.bytes << ": " << reading.message;
        EXPECT_EQ(reading.text, c.line) << c.bytes;
        EXPECT_EQ(reading.notice, c.notice) << c.bytes;
    }
    // Decomposed Й and Ё are letters; a stress accent is dropped without parting the word.
    EXPECT_EQ(ReadPlainText(std::u16string(u"За\u0301мок и\u0306од ёе\u0308")).text,
              "ЗАМОК_ИОД_ЕЕ");
}

TEST(TextReader, CipherLettersYoShortIAndHardSignAreNeverMerged) {
    // A 33-letter shuffle of a text with 26 distinct letters: О is written Й, and Ъ, Ё turn
    // up as cipher letters too.
    const std::string plain =
        "Вечером мы собрались у старого дома на берегу реки и долго говорили.\r\n"
        "Отец рассказывал, как он ходил на охоту в дальний лес, а мать смеялась,\r\n"
        "наливая всем горячий чай; дети бегали по саду.";
    const std::string cipher = Shuffle33(plain);
    const TextReading reading = ReadCipherText(cipher);
    ASSERT_TRUE(reading.Ok()) << reading.message;

    // Solvable: one plaintext letter for each cipher letter shown.
    const TextReading folded = ReadPlainText(plain);
    ASSERT_EQ(reading.text.size(), folded.text.size());
    std::map<char, char> key;
    for (size_t i = 0; i < reading.text.size(); ++i) {
        const auto [at, fresh] = key.emplace(reading.text[i], folded.text[i]);
        EXPECT_EQ(at->second, folded.text[i])
            << "two plaintext letters for one cipher letter " << reading.text[i] << " at " << i;
    }
}

TEST(TextReader, MoreThanThirtyLettersFoldWithAWarning) {
    // Every letter of the alphabet, shuffled: 33 distinct cipher letters.
    const std::string pangram = "Съешь же ещё этих мягких французских булок, да выпей же чаю.";
    const TextReading reading = ReadCipherText(Shuffle33(pangram));
    ASSERT_TRUE(reading.Ok());
    EXPECT_EQ(reading.text.find_first_of("\xA8\xC9\xDA"), std::string::npos);
    EXPECT_NE(reading.notice.find("В шифровке 33 разные буквы, а программа различает 30: Ё, "
                                  "Й, Ъ слиты с Е, И, Ь"),
              std::string::npos)
        << reading.notice;
}

// A letter of another alphabet is named with its place, counted in the text read whatever its
// encoding and line ends; characters the code page lacks are named by their number.
TEST(TextReader, ForeignEmptyLongAndDamagedTextsAreRefusedWithTheirNumbers) {
    struct Case {
        const char* label;
        std::string bytes;
        TextRefusal refusal;
        std::string message;
    };
    std::string longest;
    for (int k = 0; k < 32768; ++k)
        longest += "а, ";
    const std::string latin = "Символ «Q» в строке 2, позиции 7 — не русская буква.";
    const Case cases[] = {
        {"CR LF", "Жаба\r\nкот и Qуст", TextRefusal::ForeignLetter, latin},
        {"CR", "Жаба\rкот и Qуст", TextRefusal::ForeignLetter, latin},
        {"alpha", "\xEF\xBB\xBF" + Utf8("да ") + "\xCE\xB1", TextRefusal::ForeignLetter,
         "Символ U+03B1 в строке 1, позиции 4 — не русская буква."},
        {"signs", " 12,\r\n", TextRefusal::NoLetters,
         "В тексте нет ни одной буквы: в нём только знаки и пробелы (6)."},
        {"too long", longest + "а", TextRefusal::TooLong,
         "Текст длиннее 65535 знаков (в нём 65537 после замены знаков и пробелов на _): такой "
         "текст программа не вмещает."},
        {"broken UTF-8", Utf8("Жаба\r\nкот") + "\xD0" + Utf8("ы"), TextRefusal::BrokenUtf8,
         "Текст в кодировке UTF-8 повреждён: неверный байт в строке 2, позиции 4."},
    };
    for (const Case& c : cases) {
        const TextReading reading = ReadCipherText(c.bytes);
        EXPECT_EQ(reading.refusal, c.refusal) << c.label;
        EXPECT_EQ(reading.message, c.message) << c.label;
    }
    // One character outside the 16-bit plane counts as one position.
    EXPECT_EQ(ReadCipherText(std::u16string(u"\U0001F600 и \u4E2D")).message,
              "Символ U+4E2D в строке 1, позиции 5 — не русская буква.");
    // The limit counts the line made, not the text read.
    longest.resize(longest.size() - 3);
    EXPECT_EQ(ReadCipherText(longest + "а\r\n").text.size(), 65535u);
}

}  // namespace
}  // namespace zam
