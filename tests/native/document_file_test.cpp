#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "recording_display.h"
#include "temp_folder.h"
#include "toolkit/encoding.h"
#include "workspace/alphabet.h"
#include "workspace/document_file.h"

namespace zam {
namespace {

namespace fs = std::filesystem;
using testing::RecordingDisplay;
using testing::RecordingView;
using Lines = std::vector<std::string>;

const std::string kResultHeader = "Шифротекст:\r\n";
const std::string kFirstLineOnly = "Прочитана только первая строка файла.";
const auto Utf8 = &Cp1251ToUtf8;

// The program's own line 1 is folded and read alone; whatever its format refuses is read whole
// as a text, and the notice says what was changed.
TEST(ParseDocument, CryptogramsAndTextsGiveTheirLineAndNotice) {
    struct Case {
        std::string bytes;
        DocumentError error;
        std::string cipherText;
        std::string notice;
    };
    const Case cases[] = {
        {"жаБа_ЯЬЫ\r\n\r\n1, 2 ... 3\r\n", DocumentError::None, "ЖАБА_ЯЬЫ", ""},
        {"АБВ\nШифротекст:\n", DocumentError::None, "АБВ", kFirstLineOnly},
        {"Жаба, жаба\r\nи ещё жаба.\r\n", DocumentError::None, "ЖАБА_ЖАБА_И_ЕЩФ_ЖАБА",
         "Знаки и пробелы заменены на _ (4); Ё шифровки показана как Ф."},
        {"\xEF\xBB\xBF" + Utf8("жаба_ЖАБА\r\n"), DocumentError::None, "ЖАБА_ЖАБА", ""},
        {std::string(65535, 'О'), DocumentError::None, std::string(65535, 'О'), ""},
        {std::string(65536, 'О'), DocumentError::TooLong, "", ""},
    };
    for (const Case& c : cases) {
        const DocumentContent doc = ParseDocument(c.bytes);
        const std::string label = c.bytes.substr(0, 30);
        ASSERT_EQ(doc.error, c.error) << label << ": " << doc.message;
        EXPECT_EQ(doc.cipherText, c.cipherText) << label;
        EXPECT_EQ(doc.notice, c.notice) << label;
    }
}

TEST(ParseDocument, ResultFileBringsKeyAndPlainTextAsTheyStandOrIsRefused) {
    const std::string key = "О Е                            \x01";
    const std::string file =
        kResultHeader + "ЖАЖ\r\nАлфавит замены:\r\n" + key + "\r\n-\r\nО\x7fО\r\n";
    for (const std::string& bytes : {file, Utf8(file)}) {
        const auto doc = ParseDocument(bytes);
        ASSERT_EQ(doc.error, DocumentError::None);
        EXPECT_TRUE(doc.isResultFile);
        EXPECT_EQ(doc.cipherText, "ЖАЖ");
        EXPECT_EQ(std::string(doc.key.begin(), doc.key.end()), key);
        EXPECT_EQ(doc.plainText, "О\x7fО");
    }

    const std::string full(32, ' ');
    const auto parse = [&](std::string_view cipher, std::string_view k, std::string_view plain) {
        return ParseDocument(kResultHeader + std::string(cipher) + "\r\n-\r\n" + std::string(k) +
                             "\r\n-\r\n" + std::string(plain) + "\r\n")
            .error;
    };
    EXPECT_EQ(parse("АБВ", full, "   "), DocumentError::None);
    EXPECT_EQ(parse("аб", full + "  ", "  "), DocumentError::None);  // line 4 may run past 32 bytes
    EXPECT_EQ(parse("АБВ", full.substr(0, 31), "   "), DocumentError::InvalidFormat);
    EXPECT_EQ(parse("АБВ", full, "  "), DocumentError::InvalidFormat);
    EXPECT_EQ(parse("", full, ""), DocumentError::Empty);
    EXPECT_EQ(parse(std::string(65535, 'О'), full, std::string(65535, ' ')), DocumentError::None);
    // A result file refused by the format is never read as a text, whatever its encoding.
    for (const std::string& bad :
         {kResultHeader + "АБВ\r\n", Utf8(kResultHeader + "ЖА\r\n") + "\xE4\xB8\xAD\n"}) {
        EXPECT_EQ(ParseDocument(bad).message, "Неверный формат файла.") << bad;
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
    for (const auto& [name, proposed] :
         {std::pair{"шифр.txt", "-шифр.txt"}, {"_шифр.txt", "_шифр.txt"}}) {
        EXPECT_EQ(ProposedSaveName(name), proposed) << name;
    }
}

class DocumentFiles : public testing::TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        display.views = {&cipherView, &plainView, &alphabetView};
    }
    bool Open(const fs::path& path) { return OpenDocument(ws, display, display, path); }

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
    EXPECT_EQ(display.title, "Zamenor - code.txt");

    // A second open clears the first text's statistics before building its own.
    display.log.clear();
    ASSERT_TRUE(Open(Write("two.txt", "АЖ")));
    EXPECT_EQ(ws.TextStats.positions[7], (PositionList{2}));
    EXPECT_EQ(display.log.front(), "graph erase");
}

TEST_F(DocumentFiles, AnUnusableFileChangesNothing) {
    ASSERT_TRUE(Open(Write("good.txt", "ЖАЖ")));
    ws.KeyTable.key[7] = 'О';
    ws.PlainText.text = "О О";
    const std::string kept = FormatResultFile(ws);
    display.log.clear();

    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"empty.txt", "\r\n \r\n",
         "В тексте нет ни одной буквы: в нём только знаки и пробелы (5)."},
        {"latin.txt", "Жаба,\r\nABC",
         "Символ «A» в строке 2, позиции 1 — не русская буква. [error]"},
        {"shortkey.txt", kResultHeader + "АБ\r\n\r\n  \r\n\r\n  \r\n",
         "Неверный формат файла. [error]"},
    };
    for (const auto& [name, bytes, message] : cases) {
        display.messages.clear();
        std::string notice = "left from before";
        EXPECT_FALSE(OpenDocument(ws, display, display, Write(name, bytes), &notice));
        EXPECT_EQ(display.messages, Lines{message}) << name;
        EXPECT_EQ(notice, "") << name;
    }
    // A result file copied as text is refused as a file of that format would be.
    EXPECT_FALSE(OpenPastedText(ws, display, display, Cp1251ToUtf16(kResultHeader + "ЖА\r\n")));
    EXPECT_EQ(display.messages.back(), "Неверный формат файла. [error]");
    EXPECT_FALSE(Open(dir / "missing.txt"));
    EXPECT_EQ(display.messages.back(), "Не удалось прочитать файл \"missing.txt\". [error]");

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
}

TEST_F(DocumentFiles, AFailedOrEmptySaveKeepsTheOldFile) {
    EXPECT_FALSE(SaveDocument(ws, display, dir / "x.txt"));  // no ciphertext: silently nothing
    EXPECT_FALSE(fs::exists(dir / "x.txt"));
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
}

}  // namespace
}  // namespace zam
