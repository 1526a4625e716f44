#include "solver/solve_tool.h"

#include <charconv>
#include <optional>
#include <random>
#include <string>

#include "solver/key_solver.h"
#include "toolkit/encoding.h"
#include "workspace/document_file.h"
#include "workspace/encryption.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

// Written in Windows-1251 like every text of the program; Usage() gives it in UTF-8.
constexpr std::string_view kUsage =
    "usage: zamenor-solve [--seed N] [--time-ms N] [--] INPUT [OUTPUT]\n"
    "       zamenor-solve --encrypt [--seed N] [--] INPUT OUTPUT\n"
    "Completes the key of a cryptogram, a result file or any Russian text. With OUTPUT, writes\n"
    "the result file there; without it, prints the plaintext.\n"
    "With --encrypt, encrypts the text INPUT with a random key (the same for the same --seed),\n"
    "writes the cryptogram to OUTPUT and the answer, a result file with the whole key, beside\n"
    "it: for шифр.txt that is шифр-ответ.txt, for текст-шифр.txt текст-ответ.txt.\n"
    "Options are the long ones only; \"--\" ends them. Every other argument is a file, \"-\" and\n"
    "names that begin with \"-\" included.\n";

std::string Usage() { return Cp1251ToUtf8(kUsage); }

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

std::optional<long long> Number(const std::filesystem::path& arg, long long max) {
    const std::string text = Utf8Of(arg);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > max) {
        return std::nullopt;
    }
    return value;
}

// "zamenor-solve: FILE: text" on the error stream, the text given in Windows-1251.
void Report(std::ostream& err, const std::filesystem::path& file, std::string_view text) {
    err << "zamenor-solve: " << Utf8Of(file) << ": " << Cp1251ToUtf8(text) << "\n";
}

bool ReadInput(const std::filesystem::path& input, std::string& bytes, std::ostream& err) {
    if (ReadFileBytes(input, bytes) == ReadStatus::Ok) return true;
    Report(err, input, "не удалось прочитать файл.");
    return false;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

std::uint64_t RandomSeed() {
    std::random_device device;
    return static_cast<std::uint64_t>(device()) << 32 ^ device();
}

int Encrypt(const std::filesystem::path& input, const std::filesystem::path& output,
            std::uint64_t seed, std::ostream& out, std::ostream& err) {
    std::string bytes;
    if (!ReadInput(input, bytes, err)) return 1;
    const Encryption encryption = EncryptText(bytes, seed);
    if (!encryption.Ok()) {
        Report(err, input, encryption.message);
        return 1;
    }
    if (!encryption.notice.empty()) Report(err, input, encryption.notice);
    const std::filesystem::path answer = AnswerPathFor(output);
    for (const auto& target : {output, answer}) {
        if (SameFile(input, target)) {
            Report(err, target, "это сам текст; шифровка и ответ его не заменят.");
            return 1;
        }
    }
    if (!WriteFileReplacing(output, CryptogramFileBytes(encryption))) {
        Report(err, output, "не удалось сохранить файл; прежний файл не изменён.");
        return 1;
    }
    if (!WriteFileReplacing(answer, AnswerFileBytes(encryption))) {
        Report(err, answer, "не удалось сохранить ответ; шифровка сохранена.");
        return 1;
    }
    out << Cp1251ToUtf8("Шифровка: ") << Utf8Of(output) << "\n"
        << Cp1251ToUtf8("Ответ: ") << Utf8Of(answer) << "\n";
    return out ? 0 : 1;
}

}  // namespace

int RunSolveTool(const std::vector<std::filesystem::path>& args, std::ostream& out,
                 std::ostream& err) {
    std::optional<std::uint64_t> seed;
    std::optional<int> budgetMs;
    bool encrypt = false;
    bool optionsEnded = false;
    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = Utf8Of(args[i]);
        // Result files' proposed names begin with "-", so a single dash makes no option.
        if (optionsEnded || !arg.starts_with("--")) {
            files.push_back(args[i]);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--encrypt") {
            encrypt = true;
        } else if (arg == "--seed" || arg == "--time-ms") {
            const auto value = i + 1 < args.size()
                                   ? Number(args[i + 1], arg == "--seed" ? INT64_MAX : 600000)
                                   : std::nullopt;
            if (!value) {
                err << "zamenor-solve: " << arg << " needs a number"
                    << (arg == "--time-ms" ? " from 0 to 600000" : "") << "\n"
                    << Usage();
                return kToolUsageError;
            }
            if (arg == "--seed") {
                seed = static_cast<std::uint64_t>(*value);
            } else {
                budgetMs = static_cast<int>(*value);
            }
            ++i;
        } else {
            err << "zamenor-solve: unknown option " << arg << "\n" << Usage();
            return kToolUsageError;
        }
    }
    if (encrypt) {
        if (files.size() != 2 || budgetMs) {
            err << Usage();
            return kToolUsageError;
        }
        return Encrypt(files[0], files[1], seed ? *seed : RandomSeed(), out, err);
    }
    if (files.empty() || files.size() > 2) {
        err << Usage();
        return kToolUsageError;
    }

    const std::filesystem::path& input = files[0];
    std::string bytes;
    if (!ReadInput(input, bytes, err)) return 1;
    DocumentContent content = ParseDocument(bytes);
    if (content.error != DocumentError::None) {
        Report(err, input, content.message);
        return 1;
    }
    if (!content.notice.empty()) Report(err, input, content.notice);

    Workspace ws;
    ws.CipherText.text = std::move(content.cipherText);
    KeyColumns key;
    for (int column = 1; column <= kColumnCount; ++column) {
        key[static_cast<std::size_t>(column - 1)] =
            content.isResultFile ? content.key[static_cast<std::size_t>(column - 1)] : kNoLetter;
    }
    key = SuggestKey(ws.CipherText.text, key, seed.value_or(1), budgetMs.value_or(1000));
    for (int column = 1; column <= kColumnCount; ++column) {
        ws.KeyTable.key[column] = key[static_cast<std::size_t>(column - 1)];
    }
    // The plaintext follows the key; a cipher letter left without a letter shows a space.
    ws.PlainText.text = ws.CipherText.text;
    for (char& c : ws.PlainText.text) {
        const char plain = ws.KeyTable.key[SymbolColumn(c)];
        c = IsCipherColumn(SymbolColumn(plain)) ? plain : kNoLetter;
    }

    if (files.size() == 1) {
        out << Cp1251ToUtf8(ws.PlainText.text) << "\n";
        return out ? 0 : 1;
    }
    if (!WriteFileReplacing(files[1], FormatResultFile(ws))) {
        Report(err, files[1], "не удалось сохранить файл; прежний файл не изменён.");
        return 1;
    }
    return 0;
}

}  // namespace zam
