#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "recording_display.h"
#include "toolkit/encoding.h"
#include "workspace/alphabet.h"
#include "workspace/document_file.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

namespace fs = std::filesystem;
using testing::RecordingDisplay;
using testing::RecordingView;
using Lines = std::vector<std::string>;

const std::string kResultHeader = "Шифротекст:\r\n";
const auto Utf8 = &Cp1251ToUtf8;

std::string Utf16Le(std::string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : Cp1251ToUtf16(text)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(ParseDocument, CryptogramLineIsFoldedCheckedAndEndedAnyWay) {
    auto doc = ParseDocument("жаБа_ЯЬЫ\r\n\r\n1, 2 ... 3\r\n");
    EXPECT_EQ(doc.error, DocumentError::None);
    EXPECT_FALSE(doc.isResultFile);
    EXPECT_EQ(doc.cipherText, "ЖАБА_ЯЬЫ");
    EXPECT_EQ(doc.notice, "");

    // Only line 1 decides the kind of file, and only line 1 is read; letters below it are
    // mentioned.
    doc = ParseDocument("АБВ\nШифротекст:\n");
    EXPECT_FALSE(doc.isResultFile);
    EXPECT_EQ(doc.cipherText, "АБВ");
    EXPECT_EQ(doc.notice, "Прочитана только первая строка файла.");
    EXPECT_EQ(ParseDocument("АБВ\r\nanything at all\r\n").notice,
              "Прочитана только первая строка файла.");

    for (const char* ended : {"АБВ\r\n", "АБВ\n", "АБВ"}) {
        EXPECT_EQ(ParseDocument(ended).cipherText, "АБВ") << ended;
    }
    for (const char* empty : {"", "\r\n", "\n", "\n\t\n"}) {
        EXPECT_EQ(ParseDocument(empty).error, DocumentError::Empty) << empty;
    }
}

TEST(ParseDocument, WhatTheProgramsFormatRefusesIsReadWholeAsAText) {
    struct Case {
        std::string bytes;
        std::string cipherText;
        std::string notice;
    };
    const Case cases[] = {
        {"ФАЙЛ", "ФАИЛ", "Й шифровки показана как И."},
        {"Жаба, жаба\r\nи ещё жаба.\r\n", "ЖАБА_ЖАБА_И_ЕЩФ_ЖАБА",
         "Знаки и пробелы заменены на _ (4); Ё шифровки показана как Ф."},
        // Line 1 empty: refused by the format, not as a text.
        {"\r\nАБВ\r\nГДЕ", "АБВ_ГДЕ", "Знаки и пробелы заменены на _ (1)."},
        {"АБ\rВ", "АБ_В", "Знаки и пробелы заменены на _ (1)."},
        {"А?", "А", ""},
        {Utf8("ЁЖ"), "ЕЖ", "Ё шифровки показана как Е."},
        {std::string(65536, 'О') + " ", "", ""},
    };
    for (const Case& c : cases) {
        const DocumentContent doc = ParseDocument(c.bytes);
        if (c.cipherText.empty()) {
            EXPECT_EQ(doc.error, DocumentError::TooLong);
            EXPECT_TRUE(doc.message.starts_with("Текст длиннее 65535 знаков (в нём 65536"));
            continue;
        }
        ASSERT_EQ(doc.error, DocumentError::None) << c.bytes << ": " << doc.message;
        EXPECT_FALSE(doc.isResultFile);
        EXPECT_EQ(doc.cipherText, c.cipherText) << c.bytes;
        EXPECT_EQ(doc.notice, c.notice) << c.bytes;
    }
    const DocumentContent latin = ParseDocument("АБC");
    EXPECT_EQ(latin.error, DocumentError::InvalidFormat);
    EXPECT_EQ(latin.message, "Символ «C» в строке 1, позиции 3 — не русская буква.");
}

TEST(ParseDocument, LengthLimitIsSixteenBitPositions) {
    EXPECT_EQ(ParseDocument(std::string(65535, 'О')).error, DocumentError::None);
    EXPECT_EQ(ParseDocument(std::string(65536, 'О')).error, DocumentError::TooLong);
    const std::string longResult = kResultHeader + std::string(65536, 'О') + "\r\n";
    EXPECT_EQ(ParseDocument(longResult).error, DocumentError::TooLong);
}

TEST(ParseDocument, ResultFileBringsKeyAndPlainTextAsTheyStand) {
    const std::string key = "О Е                            \x01";
    auto doc = ParseDocument(kResultHeader + "ЖАЖ\r\nАлфавит замены:\r\n" + key +
                             "\r\nОткрытый текст:\r\nО\x7fО\r\n");
    ASSERT_EQ(doc.error, DocumentError::None);
    EXPECT_TRUE(doc.isResultFile);
    EXPECT_EQ(doc.cipherText, "ЖАЖ");
    EXPECT_EQ(std::string(doc.key.begin(), doc.key.end()), key);
    EXPECT_EQ(doc.plainText, "О\x7fО");

    // Lines 3 and 5 are not checked; line 4 may run past 32 bytes.
    doc = ParseDocument(kResultHeader + "аб\nx\n" + std::string(40, ' ') + "\ny\nАБ");
    EXPECT_EQ(doc.error, DocumentError::None);
    EXPECT_EQ(doc.cipherText, "АБ");
}

TEST(ParseDocument, ResultFileThatDoesNotFitIsRefused) {
    const std::string key(32, ' ');
    const auto parse = [&](std::string_view cipher, std::string_view k, std::string_view plain) {
        return ParseDocument(kResultHeader + std::string(cipher) + "\r\n-\r\n" + std::string(k) +
                             "\r\n-\r\n" + std::string(plain) + "\r\n")
            .error;
    };
    EXPECT_EQ(parse("АБВ", key, "   "), DocumentError::None);
    EXPECT_EQ(parse("АБВ", key.substr(0, 31), "   "), DocumentError::InvalidFormat);
    EXPECT_EQ(parse("АБВ", key, "  "), DocumentError::InvalidFormat);
    EXPECT_EQ(parse("АБВ", key, "    "), DocumentError::InvalidFormat);
    EXPECT_EQ(parse("", key, ""), DocumentError::Empty);
    EXPECT_EQ(ParseDocument(kResultHeader + "АБВ\r\n").error, DocumentError::InvalidFormat);
    EXPECT_EQ(ParseDocument(kResultHeader).error, DocumentError::Empty);
}

TEST(ParseDocument, Utf8FilesAreConvertedWhole) {
    const std::string text = Utf8("жаба_ЖАБА\r\n");
    EXPECT_EQ(ParseDocument(text).cipherText, "ЖАБА_ЖАБА");
    EXPECT_EQ(ParseDocument("\xEF\xBB\xBF" + text).cipherText, "ЖАБА_ЖАБА");
    const std::string result1251 = kResultHeader + "ЖА\r\nАлфавит замены:\r\n" +
                                   std::string(31, ' ') + "Ж\r\nОткрытый текст:\r\nО \r\n";
    const std::string result = Utf8(result1251);
    const auto doc = ParseDocument(result);
    ASSERT_EQ(doc.error, DocumentError::None);
    EXPECT_TRUE(doc.isResultFile);
    EXPECT_EQ(doc.key[31], 'Ж');
    EXPECT_EQ(doc.plainText, "О ");

    // A result file refused by the format is never read as a text, whatever its encoding; a
    // damaged UTF-8 text is refused where it is damaged.
    for (const std::string& bad :
         {Utf8(kResultHeader + "ЖА\r\n") + "\xE4\xB8\xAD\n", Utf16Le(result1251),
          std::string("\xD0\x96\xD0")}) {
        EXPECT_EQ(ParseDocument(bad).error, DocumentError::InvalidFormat) << bad;
    }
    EXPECT_EQ(ParseDocument(Utf16Le(result1251)).message, "Неверный формат файла.");
}

TEST(ResultFile, SixLinesWithCrLfAndTheFullKeyUnderTheProposedName) {
    Workspace ws;
    ws.CipherText.text = "ЖА_";
    ws.PlainText.text = "О  ";
    ws.KeyTable.key[7] = 'О';
    ws.KeyTable.key[32] = 'Ю';
    std::string key(31, ' ');
    key[6] = 'О';
    EXPECT_EQ(FormatResultFile(ws), "Шифротекст:\r\nЖА_\r\nАлфавит замены:\r\n" + key +
                                        "Ю\r\nОткрытый текст:\r\nО  \r\n");
    EXPECT_EQ(ProposedSaveName("шифр.txt"), "-шифр.txt");
    EXPECT_EQ(ProposedSaveName("-шифр.txt"), "--шифр.txt");
    EXPECT_EQ(ProposedSaveName("_шифр.txt"), "_шифр.txt");
    EXPECT_EQ(ProposedSaveName(""), "-");
    EXPECT_EQ(ProposedSavePath("\xCE\xBA.txt"), fs::path("-\xCE\xBA.txt"));  // UTF-8 names
    EXPECT_EQ(MainTitle("a.txt"), "Zamenor - a.txt");
}

class DocumentFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zamenor-test-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        display.views = {&cipherView, &plainView, &alphabetView};
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path Write(const std::string& name, std::string_view bytes) {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const fs::path& path) {
        std::string bytes;
        EXPECT_EQ(ReadFileBytes(path, bytes), ReadStatus::Ok);
        return bytes;
    }
    bool Open(const fs::path& path) { return OpenDocument(ws, display, display, path); }

    fs::path dir;
    Workspace ws;
    RecordingDisplay display{ws};
    RecordingView cipherView{display.log, "cipher", true};
    RecordingView plainView{display.log, "plain", true};
    RecordingView alphabetView{display.log, "alphabet", false};
};

TEST_F(DocumentFiles, OpeningACryptogramReplacesTheWorkspace) {
    ASSERT_TRUE(Open(Write("code.txt", "жаж_" + std::string(60, 'Б') + "\r\n")));
    EXPECT_EQ(ws.CipherText.text, "ЖАЖ_" + std::string(60, 'Б'));
    EXPECT_EQ(ws.PlainText.text, std::string(64, ' '));
    EXPECT_EQ(ws.DocName, "code.txt");
    EXPECT_EQ(ws.TextStats.positions[7], (PositionList{1, 3}));
    EXPECT_EQ(ws.TextStats.Pairs(2, 2).size(), 59u);
    // Nothing was loaded before, so the reset before loading did nothing; 64 characters need
    // ((64 + 1) div 31 + 1) * 16 + 5 = 53 pixels.
    EXPECT_EQ(display.log,
              (Lines{"cipher grow 53", "cipher bar", "cipher invalidate", "plain grow 53",
                     "plain bar", "plain invalidate", "alphabet invalidate", "graph surface",
                     "title Zamenor - code.txt"}));
    EXPECT_TRUE(display.messages.empty());

    // A second open clears the first text's statistics before building its own.
    display.log.clear();
    ASSERT_TRUE(Open(Write("two.txt", "АЖ")));
    EXPECT_EQ(ws.TextStats.positions[7], (PositionList{2}));
    EXPECT_EQ(ws.TextStats.letterMax, 1);
    EXPECT_EQ(display.log.front(), "graph erase");
    EXPECT_EQ(display.log[1], "cipher top");
}

TEST_F(DocumentFiles, AnUnusableFileChangesNothing) {
    ASSERT_TRUE(Open(Write("good.txt", "ЖАЖ")));
    ws.KeyTable.key[7] = 'О';
    ws.PlainText.text = "О О";
    const std::string kept = FormatResultFile(ws);
    display.log.clear();

    const std::string bad = "Неверный формат файла. [error]";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"empty.txt", "\r\n \r\n",
         "В тексте нет ни одной буквы: в нём только знаки и пробелы (5)."},
        {"latin.txt", "Жаба,\r\nABC",
         "Символ «A» в строке 2, позиции 1 — не русская буква. [error]"},
        {"long.txt", std::string(70000, 'Ж'),
         "Текст длиннее 65535 знаков (в нём 70000 после замены знаков и пробелов на _): такой "
         "текст программа не вмещает. [error]"},
        {"shortkey.txt", kResultHeader + "АБ\r\n\r\n  \r\n\r\n  \r\n", bad},
        {"emptyresult.txt", kResultHeader + "\r\n", "Пустая строка."},
    };
    for (const auto& [name, bytes, message] : cases) {
        display.messages.clear();
        std::string notice = "left from before";
        EXPECT_FALSE(OpenDocument(ws, display, display, Write(name, bytes), &notice));
        EXPECT_EQ(display.messages, Lines{message}) << name;
        EXPECT_EQ(notice, "") << name;
    }
    EXPECT_FALSE(OpenPastedText(ws, display, display, u"Hello"));
    EXPECT_FALSE(OpenDocumentBytes(ws, display, display, "", "x.txt"));
    EXPECT_FALSE(Open(dir / "missing.txt"));
    EXPECT_EQ(display.messages.back(), "Не удалось прочитать файл \"missing.txt\". [error]");
    EXPECT_FALSE(Open(dir));
    EXPECT_EQ(display.messages.back(),
              "Не удалось прочитать файл \"" + PathTo1251(dir.filename()) + "\". [error]");

    EXPECT_TRUE(display.log.empty());
    EXPECT_EQ(FormatResultFile(ws), kept);
    EXPECT_EQ(ws.DocName, "good.txt");
    EXPECT_EQ(ws.TextStats.positions[7].size(), 2u);
}

TEST_F(DocumentFiles, ATextOpensUnderItsFileNameAndTellsWhatWasChanged) {
    std::string notice;
    ASSERT_TRUE(OpenDocument(ws, display, display, Write(Utf8("газета.txt"), Utf8("Жаба, яьы!\n")),
                             &notice));
    EXPECT_EQ(ws.CipherText.text, "ЖАБА_ЯЬЫ");
    EXPECT_EQ(ws.PlainText.text, std::string(8, ' '));
    EXPECT_EQ(ws.DocName, "газета.txt");
    EXPECT_EQ(display.title, "Zamenor - газета.txt");
    EXPECT_EQ(notice, "Знаки и пробелы заменены на _ (1).");
    EXPECT_TRUE(display.messages.empty());
    EXPECT_EQ(ws.TextStats.positions[SymbolColumn('Ж')], (PositionList{1}));

    // The program's own file: nothing to tell.
    ASSERT_TRUE(OpenDocument(ws, display, display, Write("code.txt", "ЖАБА\r\n"), &notice));
    EXPECT_EQ(notice, "");
    ASSERT_TRUE(OpenDocument(ws, display, display, Write("two.txt", "ЖАБА\r\nЖАБА\r\n"), &notice));
    EXPECT_EQ(notice, "Прочитана только первая строка файла.");

    // Bytes already in memory, under the name given.
    ASSERT_TRUE(OpenDocumentBytes(ws, display, display, "ёж", dir / "memo.txt", &notice));
    EXPECT_EQ(ws.CipherText.text, "ЕЖ");
    EXPECT_EQ(ws.DocName, "memo.txt");
    EXPECT_EQ(notice, "Ё шифровки показана как Е.");
}

TEST_F(DocumentFiles, PastedTextOpensAsADocumentOfItsOwn) {
    std::string notice;
    ASSERT_TRUE(OpenPastedText(ws, display, display, u"Жаба — яьы.", &notice));
    EXPECT_EQ(ws.CipherText.text, "ЖАБА_ЯЬЫ");
    EXPECT_EQ(ws.DocName, "Из буфера обмена");
    EXPECT_EQ(ws.DocFile, PastedDocFile());
    EXPECT_EQ(display.title, "Zamenor - Из буфера обмена");
    EXPECT_EQ(notice, "Знаки и пробелы заменены на _ (1).");

    // A result file copied as text is a result file; a strict line is read with all the others.
    Workspace saved;
    saved.CipherText.text = "ЖА";
    saved.PlainText.text = "О ";
    saved.KeyTable.key[7] = 'О';
    const std::string result = FormatResultFile(saved);
    ASSERT_TRUE(OpenPastedText(ws, display, display, Cp1251ToUtf16(result), &notice));
    EXPECT_EQ(FormatResultFile(ws), result);
    EXPECT_EQ(notice, "");
    ASSERT_TRUE(OpenPastedText(ws, display, display, u"\uFEFFЖАБА\r\nЯЬЫ", &notice));
    EXPECT_EQ(ws.CipherText.text, "ЖАБА_ЯЬЫ");
    EXPECT_FALSE(OpenPastedText(ws, display, display, Cp1251ToUtf16(kResultHeader + "ЖА\r\n")));
    EXPECT_EQ(display.messages, Lines{"Неверный формат файла. [error]"});
}

TEST_F(DocumentFiles, SaveAndReopenGiveBackEveryByte) {
    ASSERT_TRUE(Open(Write("story.txt", "ЖАЖ_БЯ")));
    ws.KeyTable.key[7] = 'О';
    ws.KeyTable.key[32] = 'Щ';
    ws.PlainText.text = "О О   ";
    const fs::path saved = dir / ProposedSaveName(ws.DocName);
    ASSERT_TRUE(SaveDocument(ws, display, saved));
    const std::string bytes = Read(saved);
    EXPECT_EQ(bytes, FormatResultFile(ws));

    ASSERT_TRUE(Open(Write("other.txt", "ЭЮ")));
    ASSERT_TRUE(Open(saved));
    EXPECT_EQ(ws.DocName, "-story.txt");
    EXPECT_EQ(FormatResultFile(ws), bytes);  // ciphertext, plaintext and the whole key
    EXPECT_EQ(ws.TextStats.positions[7], (PositionList{1, 3}));

    ASSERT_TRUE(SaveDocument(ws, display, dir / ProposedSaveName(ws.DocName)));
    EXPECT_EQ(Read(dir / "--story.txt"), bytes);
    EXPECT_TRUE(display.messages.empty());
}

TEST_F(DocumentFiles, AFailedOrEmptySaveKeepsTheOldFile) {
    EXPECT_FALSE(SaveDocument(ws, display, dir / "x.txt"));  // no ciphertext: silently nothing
    EXPECT_FALSE(fs::exists(dir / "x.txt"));
    EXPECT_TRUE(display.messages.empty());
    ASSERT_TRUE(Open(Write("big.txt", std::string(60000, 'Ж'))));
    const fs::path target = Write("result.txt", "old contents");

    // The file-size limit makes the write fail half-way, like a full disk.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = SaveDocument(ws, display, target);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_EQ(display.messages,
              Lines{"Не удалось сохранить файл \"result.txt\". Прежний файл с этим именем не "
                    "изменён. [error]"});
    EXPECT_EQ(Read(target), "old contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2)
        << "no temporary file is left behind";

    display.messages.clear();
    EXPECT_FALSE(SaveDocument(ws, display, dir / "no-such-folder" / "r.txt"));
    EXPECT_FALSE(SaveDocument(ws, display, dir));  // a folder is no file
    EXPECT_EQ(display.messages.size(), 2u);
    EXPECT_TRUE(fs::is_directory(dir));
}

}  // namespace
}  // namespace zam
