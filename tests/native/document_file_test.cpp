#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "recording_display.h"
#include "toolkit/encoding.h"
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

TEST(ParseDocument, CryptogramLineIsFoldedCheckedAndEndedAnyWay) {
    auto doc = ParseDocument("жаБа_ЯЬЫ\r\nanything at all\r\n");
    EXPECT_EQ(doc.error, DocumentError::None);
    EXPECT_FALSE(doc.isResultFile);
    EXPECT_EQ(doc.cipherText, "ЖАБА_ЯЬЫ");

    // Only line 1 decides the kind of file.
    doc = ParseDocument("АБВ\nШифротекст:\n");
    EXPECT_FALSE(doc.isResultFile);
    EXPECT_EQ(doc.cipherText, "АБВ");

    for (const char* bad : {"АБ В", "АБ1", "АБC", "ЁЖ", "ёж", "АЙ", "Ай", "ЪА", "ъа", "А?", "А\tБ",
                            "АБ\rВ", "\x98"}) {
        EXPECT_EQ(ParseDocument(bad).error, DocumentError::InvalidFormat) << bad;
    }
    for (const char* ended : {"АБВ\r\n", "АБВ\n", "АБВ", "АБВ\r"}) {
        EXPECT_EQ(ParseDocument(ended).cipherText, "АБВ") << ended;
    }
    for (const char* empty : {"", "\r\n", "\n", "\nАБВ\n"}) {
        EXPECT_EQ(ParseDocument(empty).error, DocumentError::Empty) << empty;
    }
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
    const std::string result = Utf8(kResultHeader + "ЖА\r\nАлфавит замены:\r\n" +
                                    std::string(31, ' ') + "Ж\r\nОткрытый текст:\r\nО \r\n");
    const auto doc = ParseDocument(result);
    ASSERT_EQ(doc.error, DocumentError::None);
    EXPECT_TRUE(doc.isResultFile);
    EXPECT_EQ(doc.key[31], 'Ж');
    EXPECT_EQ(doc.plainText, "О ");

    // Letters that are no cipher symbols; a character that Windows-1251 cannot hold, even on an
    // ignored line; bytes that are not UTF-8, read as Windows-1251 where they are no letters.
    for (const std::string& bad : {Utf8("ЁЖ"), "\xEF\xBB\xBF" + Utf8("ёж"),
                                   Utf8("ЖА\n") + "\xE4\xB8\xAD\n", std::string("\xD0\x96\xD0")}) {
        EXPECT_EQ(ParseDocument(bad).error, DocumentError::InvalidFormat) << bad;
    }
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
        {"empty.txt", "\r\nАБВ", "Пустая строка."},
        {"space.txt", "АБ В", bad},
        {"latin.txt", "ABC", bad},
        {"yo.txt", "ЕЛКА_ЁЛКА", bad},
        {"long.txt", std::string(70000, 'Ж'),
         "Шифротекст длиннее 65535 знаков: такой текст программа не вмещает. [error]"},
        {"shortkey.txt", kResultHeader + "АБ\r\n\r\n  \r\n\r\n  \r\n", bad},
    };
    for (const auto& [name, bytes, message] : cases) {
        display.messages.clear();
        EXPECT_FALSE(Open(Write(name, bytes)));
        EXPECT_EQ(display.messages, Lines{message}) << name;
    }
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
