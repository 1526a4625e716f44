#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sample_text.h"
#include "solver/solve_tool.h"
#include "toolkit/encoding.h"
#include "workspace/alphabet.h"

namespace zam {
namespace {

namespace fs = std::filesystem;

const std::string kCipher = "ЖАБА_ЯЬЫ";

class SolveTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zamenor-solve-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }
    std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    int Run(std::vector<fs::path> args) {
        out_.str("");
        err_.str("");
        return RunSolveTool(args, out_, err_);
    }

    fs::path dir_;
    std::ostringstream out_, err_;
};

std::string ResultFile(const std::string& cipher, const std::string& key, const std::string& plain) {
    return "Шифротекст:\r\n" + cipher + "\r\nАлфавит замены:\r\n" + key +
           "\r\nОткрытый текст:\r\n" + plain + "\r\n";
}

TEST_F(SolveTool, BadFilesAreRefusedWithAMessageAndNothingWritten) {
    struct Case {
        const char* label;
        std::string bytes;
        std::string message;  // UTF-8
    };
    const Case cases[] = {
        {"empty", "", Cp1251ToUtf8("Пустая строка.")},
        {"space", "АБ В\r\n", Cp1251ToUtf8("Неверный формат файла.")},
        {"latin", "ABC", Cp1251ToUtf8("Неверный формат файла.")},
        {"short key", ResultFile("АБ", "АБ", "АБ"), Cp1251ToUtf8("Неверный формат файла.")},
        {"too long", std::string(65536, 'О'), Cp1251ToUtf8("Шифротекст длиннее 65535")},
    };
    const fs::path output = Write("out.txt", "earlier work");
    for (const Case& c : cases) {
        const fs::path input = Write("in.txt", c.bytes);
        EXPECT_EQ(Run({input, output}), 1) << c.label;
        EXPECT_NE(err_.str().find(c.message), std::string::npos) << c.label << ": " << err_.str();
        EXPECT_NE(err_.str().find("in.txt"), std::string::npos) << c.label;
        EXPECT_EQ(Read(output), "earlier work") << c.label;
    }
    EXPECT_EQ(Run({dir_ / "missing.txt"}), 1);
    EXPECT_NE(err_.str().find("missing.txt"), std::string::npos);
    EXPECT_TRUE(out_.str().empty());
}

TEST_F(SolveTool, BadArgumentsShowUsage) {
    const fs::path input = Write("in.txt", kCipher);
    const std::vector<std::vector<fs::path>> cases = {
        {},
        {input, "b", "c"},
        {"--seed"},
        {"--seed", "x1", input},
        {"--time-ms", "-5", input},
        {"--time-ms", "99999999", input},
        {"--fast", input},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(Run(args), kToolUsageError) << args.size();
        EXPECT_NE(err_.str().find("usage: zamenor-solve"), std::string::npos);
    }
}

TEST_F(SolveTool, CompleteResultFileRoundTripsByteForByte) {
    // The cipher of "ВЕЧЕРОМ..." with key column c -> plaintext column c (identity); entry 32
    // holds what the file had.
    const std::string plain = std::string(testing::kSampleText).substr(0, 90);
    const std::string key = std::string(Alphabet().substr(0, 31)) + "\x01";
    const std::string file = ResultFile(plain, key, plain);
    const fs::path input = Write("in.txt", file);
    ASSERT_EQ(Run({"--time-ms", "50", input, dir_ / "out.txt"}), 0) << err_.str();
    EXPECT_EQ(Read(dir_ / "out.txt"), file);
    EXPECT_TRUE(out_.str().empty());
}

TEST_F(SolveTool, UserAssignmentsStayAndTheRestAreFilled) {
    // Only А is assigned, and wrongly; the tool keeps it and writes a full key.
    std::string key(32, ' ');
    key[0] = 'Щ';
    const std::string cipher = "АБА_ВГ";
    const fs::path input = Write("in.txt", ResultFile(cipher, key, "Щ Щ_  "));
    ASSERT_EQ(Run({"--seed", "3", "--time-ms", "50", input, dir_ / "out.txt"}), 0);
    const std::string written = Read(dir_ / "out.txt");
    const size_t keyLine = written.find("Алфавит замены:\r\n") + 17;
    const std::string writtenKey = written.substr(keyLine, 32);
    EXPECT_EQ(writtenKey[0], 'Щ');
    EXPECT_EQ(writtenKey[30], '_');
    EXPECT_EQ(writtenKey.find(' '), 31u);
    const std::string writtenPlain = written.substr(written.rfind(":\r\n") + 3);
    EXPECT_EQ(writtenPlain.substr(0, 4), "Щ" + writtenKey.substr(1, 1) + "Щ_");
    EXPECT_TRUE(writtenPlain.ends_with("\r\n"));
}

TEST_F(SolveTool, PrintsThePlaintextAsUtf8) {
    // A UTF-8 cryptogram in lower case, read as the program reads it.
    const std::string plain = testing::kSampleText;
    std::string lower = plain;
    for (char& c : lower) {
        if (c != '_') c = static_cast<char>(c + 32);
    }
    const fs::path input = Write("in.txt", Cp1251ToUtf8(lower) + "\n");
    ASSERT_EQ(Run({input}), 0) << err_.str();
    EXPECT_EQ(out_.str(), Cp1251ToUtf8(plain) + "\n");
}

}  // namespace
}  // namespace zam
