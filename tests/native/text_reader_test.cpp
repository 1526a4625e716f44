#include <gtest/gtest.h>

#include <map>
#include <set>

#include "recording_display.h"
#include "toolkit/encoding.h"
#include "workspace/operations.h"
#include "workspace/file_io.h"
#include "workspace/text_reader.h"

namespace zam {
namespace {

namespace fs = std::filesystem;

// Bytes of a Windows-1251 text in the other encodings a file may use.
std::string Utf8(std::string_view text) { return Cp1251ToUtf8(text); }
std::string Utf16(std::string_view text, bool littleEndian, bool mark) {
    std::u16string units = Cp1251ToUtf16(text);
    if (mark) units.insert(units.begin(), u'\xFEFF');
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
        if (at == std::string::npos) continue;
        const char cipher = kLetters33[(at + kLetters33.size() - shift) % kLetters33.size()];
        // Keep the case of the source, as a newspaper prints it.
        c = upper == c ? cipher : cipher == '\xA8' ? '\xB8' : static_cast<char>(cipher + 32);
    }
    return out;
}

TEST(TextReader, EveryEncodingAndCaseGivesTheSameLine) {
    const std::string text = "Жаба, ёлка и мёд!\r\nКот — на крыше.";
    std::string upper = text;
    for (char& c : upper) {
        if (static_cast<unsigned char>(c) >= 0xE0) c = static_cast<char>(c - 32);
        if (c == '\xB8') c = '\xA8';
    }
    const std::map<std::string, std::string> files = {
        {"1251", text},
        {"1251 upper", upper},
        {"UTF-8", Utf8(text)},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + Utf8(upper)},
        {"UTF-16 LE", Utf16(text, true, true)},
        {"UTF-16 BE", Utf16(text, false, true)},
        {"UTF-16 LE without mark", Utf16(text, true, false)},
    };
    // Е is used, so the cipher letter Ё takes the rarest letter the text leaves free.
    const std::string line = "ЖАБА_ФЛКА_И_МФД_КОТ_НА_КРЫШЕ";
    const std::string notice = "Знаки и пробелы заменены на _ (6); Ё шифровки показана как Ф.";
    for (const auto& [label, bytes] : files) {
        const TextReading reading = ReadCipherText(bytes);
        ASSERT_TRUE(reading.Ok()) << label << ": " << reading.message;
        EXPECT_EQ(reading.text, line) << label;
        EXPECT_EQ(reading.notice, notice) << label;
    }
    const TextReading pasted = ReadCipherText(Cp1251ToUtf16(text));
    EXPECT_EQ(pasted.text, line);
    EXPECT_EQ(pasted.notice, notice);

    // Windows-1251 texts whose bytes look like other encodings at a glance: "яю" is the UTF-16
    // mark, and quotes, dashes and ё are bytes 0x80-0xBF as UTF-8 continuations are.
    EXPECT_EQ(ReadCipherText("яю, жаба").text, "ЯЮ_ЖАБА");
    EXPECT_EQ(ReadCipherText("яю, жабы!").text, "ЯЮ_ЖАБЫ");
    EXPECT_EQ(ReadCipherText("«Ёж» — это ёжик…").text, "ЕЖ_ЭТО_ЕЖИК");
}

TEST(TextReader, RunsOfNonLettersBecomeOneGapAndEdgesAreDropped) {
    struct Case {
        std::string bytes;
        std::string line;
        std::string notice;
    };
    const Case cases[] = {
        {"ЖАБА_ЯЬЫ", "ЖАБА_ЯЬЫ", ""},  // the program's own gaps are no change
        {"\r\n  жаба_яьы \r\n\r\n", "ЖАБА_ЯЬЫ", ""},
        {"жаба__яьы", "ЖАБА_ЯЬЫ", "Знаки и пробелы заменены на _ (1)."},
        {"«Жаба», 1912 — яьы?!\tОК", "ЖАБА_ЯЬЫ_ОК", "Знаки и пробелы заменены на _ (2)."},
        {"кто-то\r\n\r\nгде-то", "КТО_ТО_ГДЕ_ТО", "Знаки и пробелы заменены на _ (3)."},
        {"жа\xADба", "ЖАБА", ""},  // a soft hyphen is inside the word
        {"\x98\x01жаба\x7F", "ЖАБА", ""},
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
    EXPECT_EQ(ReadCipherText(std::u16string(u"ФАИ\u0306Л")).text, "ФАИЛ");
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
    EXPECT_NE(reading.notice.find("Й шифровки показана как "), std::string::npos)
        << reading.notice;
    EXPECT_EQ(reading.notice.find("слиты"), std::string::npos);
    const TextReading folded = ReadPlainText(plain);

    // Solving it as the user would: one plaintext letter for each cipher letter shown.
    ASSERT_EQ(reading.text.size(), folded.text.size());
    std::map<char, char> key;
    for (size_t i = 0; i < reading.text.size(); ++i) {
        const auto [at, fresh] = key.emplace(reading.text[i], folded.text[i]);
        EXPECT_EQ(at->second, folded.text[i]) << "two plaintext letters for one cipher letter "
                                              << reading.text[i] << " at " << i;
    }
    Workspace ws;
    testing::RecordingDisplay display(ws);
    testing::LoadCipherText(ws, reading.text);
    for (const auto& [c, p] : key) Assign(ws, display, c, p);
    EXPECT_EQ(ws.PlainText.text, folded.text);

    // The program's own 30 letters come out as written.
    const std::string own = "ЖАБА_ЯЬЫ_ЩУКА_ЭХО_ФИЗИКА";
    const TextReading same = ReadCipherText(own);
    EXPECT_EQ(same.text, own);
    EXPECT_EQ(same.notice, "");
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
    EXPECT_TRUE(reading.notice.starts_with("Знаки и пробелы заменены на _ (10). "));

    // 31 distinct letters: only the one extra letter is named.
    const std::string alphabet31 = "АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЬЫЭЮЯЙ";
    EXPECT_EQ(ReadCipherText(alphabet31).text, "АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЬЫЭЮЯИ");
    EXPECT_EQ(ReadCipherText(alphabet31).notice,
              "В шифровке 31 разная буква, а программа различает 30: Й слита с И, и разные "
              "буквы шифра теперь не различить — расшифровка может не сойтись.");

    // A plaintext always folds, with no warning.
    const TextReading plain = ReadPlainText(pangram);
    EXPECT_EQ(plain.text, "СЬЕШЬ_ЖЕ_ЕЩЕ_ЭТИХ_МЯГКИХ_ФРАНЦУЗСКИХ_БУЛОК_ДА_ВЫПЕИ_ЖЕ_ЧАЮ");
    EXPECT_EQ(plain.notice, "Знаки и пробелы заменены на _ (10); Ё, Й, Ъ заменены на Е, И, Ь.");
}

TEST(TextReader, ALetterOfAnotherAlphabetIsNamedWithItsPlace) {
    const std::string text = "Жаба\r\nкот и Qуст";
    const std::string latin = "Символ «Q» в строке 2, позиции 7 — не русская буква.";
    const std::map<std::string, std::string> files = {
        {"CR LF", text},
        {"LF", "Жаба\nкот и Qуст"},
        {"CR", "Жаба\rкот и Qуст"},
        {"UTF-8", Utf8(text)},
        {"UTF-16", Utf16(text, true, true)},
    };
    for (const auto& [label, bytes] : files) {
        const TextReading reading = ReadCipherText(bytes);
        EXPECT_EQ(reading.refusal, TextRefusal::ForeignLetter) << label;
        EXPECT_EQ(reading.message, latin) << label;
        EXPECT_TRUE(reading.text.empty());
    }
    // Characters the code page lacks are named by their number; one outside the 16-bit plane
    // counts as one position.
    EXPECT_EQ(ReadCipherText("\xEF\xBB\xBF" + Utf8("да ") + "\xCE\xB1").message,
              "Символ U+03B1 в строке 1, позиции 4 — не русская буква.");
    EXPECT_EQ(ReadCipherText(std::u16string(u"\U0001F600 и \u4E2D")).message,
              "Символ U+4E2D в строке 1, позиции 5 — не русская буква.");
    EXPECT_EQ(ReadPlainText("Київ").message,
              "Символ «ї» в строке 1, позиции 3 — не русская буква.");
}

TEST(TextReader, EmptyLongAndDamagedTextsAreRefusedWithTheirNumbers) {
    struct Case {
        const char* label;
        std::string bytes;
        TextRefusal refusal;
        std::string message;
    };
    std::string longest;
    for (int k = 0; k < 32768; ++k) longest += "а, ";
    const Case cases[] = {
        {"empty", "", TextRefusal::NoLetters, "Текст пуст: в нём нет ни одной буквы."},
        {"marks only", "\xFF\xFE", TextRefusal::NoLetters, "Текст пуст: в нём нет ни одной буквы."},
        {"signs", " 12,\r\n", TextRefusal::NoLetters,
         "В тексте нет ни одной буквы: в нём только знаки и пробелы (6)."},
        {"too long", longest + "а", TextRefusal::TooLong,
         "Текст длиннее 65535 знаков (в нём 65537 после замены знаков и пробелов на _): такой "
         "текст программа не вмещает."},
        {"broken UTF-8", Utf8("Жаба\r\nкот") + "\xD0" + Utf8("ы"), TextRefusal::BrokenUtf8,
         "Текст в кодировке UTF-8 повреждён: неверный байт в строке 2, позиции 4."},
        {"cut UTF-8", "\xD0\x96\xD0", TextRefusal::BrokenUtf8,
         "Текст в кодировке UTF-8 повреждён: неверный байт в строке 1, позиции 2."},
    };
    for (const Case& c : cases) {
        const TextReading reading = ReadCipherText(c.bytes);
        EXPECT_EQ(reading.refusal, c.refusal) << c.label;
        EXPECT_EQ(reading.message, c.message) << c.label;
    }
    // The limit counts the line made, not the text read.
    longest.resize(longest.size() - 3);
    EXPECT_EQ(ReadCipherText(longest + "а\r\n").text.size(), 65535u);
    EXPECT_TRUE(ReadCipherText(std::string(65535, 'Ж') + " ...").Ok());
}

TEST(TextReader, TheNewspaperExampleKeepsItsThirtyCipherLetters) {
    std::string bytes;
    ASSERT_EQ(ReadFileBytes(fs::path(ZAM_SOURCE_DIR) / "examples" / "06-turgenev-newspaper.txt",
                            bytes),
              ReadStatus::Ok);
    const TextReading reading = ReadCipherText(bytes);
    ASSERT_TRUE(reading.Ok()) << reading.message;
    EXPECT_EQ(std::set<char>(reading.text.begin(), reading.text.end()).size(), 31u);  // and "_"
    for (const char* shown : {"Ё шифровки показана как ", "Й шифровки показана как ",
                              "Ъ шифровки показана как "}) {
        EXPECT_NE(reading.notice.find(shown), std::string::npos) << reading.notice;
    }
    EXPECT_TRUE(reading.text.starts_with("ДОБПФ_"));  // "Облик": its Й shown as Д
}

}  // namespace
}  // namespace zam
