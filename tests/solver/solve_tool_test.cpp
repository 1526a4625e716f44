#include <gtest/gtest.h>

#include "../native/temp_folder.h"
#include "sample_text.h"
#include "solver/solve_tool.h"
#include "toolkit/encoding.h"

namespace zam {
namespace {

namespace fs = std::filesystem;

const std::string kCipher = "ЖАБА_ЯЬЫ";

class SolveTool : public testing::TempFolder {
protected:
    int Run(std::vector<fs::path> args) {
        out_.str("");
        err_.str("");
        return RunSolveTool(args, out_, err_);
    }

    std::ostringstream out_, err_;
};

std::string ResultFile(const std::string& cipher, const std::string& key,
                       const std::string& plain) {
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
        {"latin", "АБ, ABC", Cp1251ToUtf8("Символ «A» в строке 1, позиции 5 — не русская буква.")},
        {"short key", ResultFile("АБ", "АБ", "АБ"), Cp1251ToUtf8("Неверный формат файла.")},
    };
    const fs::path output = Write("out.txt", "earlier work");
    for (const Case& c : cases) {
        const fs::path input = Write("in.txt", c.bytes);
        EXPECT_EQ(Run({input, output}), 1) << c.label;
        EXPECT_NE(err_.str().find(c.message), std::string::npos) << c.label << ": " << err_.str();
        EXPECT_NE(err_.str().find("in.txt"), std::string::npos) << c.label;
        EXPECT_EQ(Read(output), "earlier work") << c.label;
    }
    EXPECT_EQ(Run({dir / "missing.txt"}), 1);
    EXPECT_NE(err_.str().find("missing.txt"), std::string::npos);
}

TEST_F(SolveTool, BadArgumentsShowUsage) {
    const fs::path input = Write("in.txt", kCipher);
    const std::vector<std::vector<fs::path>> cases = {
        {input, "b", "c"},
        {"--seed", "x1", input},
        {"--encrypt", input},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(Run(args), kToolUsageError) << args.size();
        EXPECT_NE(err_.str().find("usage: zamenor-solve"), std::string::npos);
    }
}

TEST_F(SolveTool, PrintsThePlaintextAsUtf8AndSaysWhatWasChanged) {
    // A UTF-8 cryptogram in lower case, read as the program reads it: nothing to tell.
    const std::string plain = testing::kSampleText;
    std::string lower = plain;
    for (char& c : lower) {
        if (c != '_')
            c = static_cast<char>(c + 32);
    }
    // The search ends when its restarts agree; the default second may not be enough on a busy
    // machine.
    ASSERT_EQ(Run({"--time-ms", "60000", Write("in.txt", Cp1251ToUtf8(lower) + "\n")}), 0)
        << err_.str();
    EXPECT_EQ(out_.str(), Cp1251ToUtf8(plain) + "\n");
    EXPECT_TRUE(err_.str().empty()) << err_.str();
}

TEST_F(SolveTool, OnlyLongOptionsAndADoubleDashEndsThem) {
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    Write("-cipher.txt", kCipher);
    Write("-", kCipher);
    EXPECT_EQ(Run({"--time-ms", "1", "-"}), 0) << err_.str();
    // A result file's proposed name, and an output that looks like an option.
    EXPECT_EQ(Run({"--seed", "2", "--", "-cipher.txt", "--seed"}), 0) << err_.str();
    EXPECT_TRUE(Read("--seed").starts_with("Шифротекст:\r\n" + kCipher));  // the OUTPUT
    EXPECT_EQ(Run({"--unknown", "-cipher.txt"}), kToolUsageError);
    EXPECT_NE(err_.str().find("unknown option --unknown"), std::string::npos);
    fs::current_path(before);
}

TEST_F(SolveTool, EncryptWritesTheCryptogramAndItsAnswerBesideIt) {
    const fs::path input =
        Write("text.txt", Cp1251ToUtf8("Жили-были дед да баба, была у них курочка Ряба."));
    const fs::path output = dir / fs::path(Cp1251ToUtf8("сказка-шифр.txt"));
    const fs::path answer = dir / fs::path(Cp1251ToUtf8("сказка-ответ.txt"));
    ASSERT_EQ(Run({"--encrypt", "--seed", "9", input, output}), 0) << err_.str();
    EXPECT_EQ(out_.str(), Cp1251ToUtf8("Шифровка: ") + output.string() + "\n" +
                              Cp1251ToUtf8("Ответ: ") + answer.string() + "\n");
    const std::string cryptogram = Read(output);

    // Solving the answer changes nothing: its key is whole, and it decrypts the cryptogram.
    const std::string answerBytes = Read(answer);
    EXPECT_TRUE(answerBytes.starts_with("Шифротекст:\r\n" + cryptogram));
    EXPECT_TRUE(
        answerBytes.ends_with("Открытый текст:\r\nЖИЛИ_БЫЛИ_ДЕД_ДА_БАБА_БЫЛА_У_НИХ_"
                              "КУРОЧКА_РЯБА\r\n"));
    ASSERT_EQ(Run({"--time-ms", "0", answer, dir / "again.txt"}), 0);
    EXPECT_EQ(Read(dir / "again.txt"), answerBytes);
}

TEST_F(SolveTool, EncryptNeverWritesOverItsTextOrWritesABadOne) {
    const std::string text = Cp1251ToUtf8("Жили-были дед да баба.");
    const fs::path input = Write(Cp1251ToUtf8("дед-ответ.txt"), text);
    const fs::path clash = dir / fs::path(Cp1251ToUtf8("дед-шифр.txt"));
    EXPECT_EQ(Run({"--encrypt", input, clash}), 1);  // its answer would be the text itself
    EXPECT_EQ(Run({"--encrypt", input, input}), 1);
    EXPECT_EQ(Read(input), text);
    EXPECT_FALSE(fs::exists(clash));
}

}  // namespace
}  // namespace zam
