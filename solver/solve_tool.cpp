#include "solver/solve_tool.h"

#include <charconv>
#include <optional>
#include <string>

#include "solver/key_solver.h"
#include "toolkit/encoding.h"
#include "workspace/document_file.h"
#include "workspace/file_io.h"

namespace zam {
namespace {

constexpr std::string_view kUsage =
    "usage: zamenor-solve [--seed N] [--time-ms N] INPUT [OUTPUT]\n"
    "Completes the key of a cryptogram or result file. With OUTPUT, writes the result file\n"
    "there; without it, prints the plaintext.\n";

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

// The program's own message for a refused file, in UTF-8.
std::string RefusalText(DocumentError error) {
    switch (error) {
        case DocumentError::Empty:
            return Cp1251ToUtf8("Пустая строка.");
        case DocumentError::TooLong:
            return Cp1251ToUtf8(
                "Шифротекст длиннее 65535 знаков: такой текст программа не вмещает.");
        case DocumentError::InvalidFormat:
        case DocumentError::None:
            break;
    }
    return Cp1251ToUtf8("Неверный формат файла.");
}

}  // namespace

int RunSolveTool(const std::vector<std::filesystem::path>& args, std::ostream& out,
                 std::ostream& err) {
    std::uint64_t seed = 1;
    int budgetMs = 1000;
    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = Utf8Of(args[i]);
        if (arg == "--seed" || arg == "--time-ms") {
            const auto value = i + 1 < args.size()
                                   ? Number(args[i + 1], arg == "--seed" ? INT64_MAX : 600000)
                                   : std::nullopt;
            if (!value) {
                err << "zamenor-solve: " << arg << " needs a number"
                    << (arg == "--time-ms" ? " from 0 to 600000" : "") << "\n"
                    << kUsage;
                return kToolUsageError;
            }
            if (arg == "--seed") {
                seed = static_cast<std::uint64_t>(*value);
            } else {
                budgetMs = static_cast<int>(*value);
            }
            ++i;
        } else if (arg.starts_with("-") && arg.size() > 1) {
            err << "zamenor-solve: unknown option " << arg << "\n" << kUsage;
            return kToolUsageError;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty() || files.size() > 2) {
        err << kUsage;
        return kToolUsageError;
    }

    const std::filesystem::path& input = files[0];
    std::string bytes;
    if (ReadFileBytes(input, bytes) != ReadStatus::Ok) {
        err << "zamenor-solve: " << Utf8Of(input) << ": "
            << Cp1251ToUtf8("не удалось прочитать файл.") << "\n";
        return 1;
    }
    DocumentContent content = ParseDocument(bytes);
    if (content.error != DocumentError::None) {
        err << "zamenor-solve: " << Utf8Of(input) << ": " << RefusalText(content.error) << "\n";
        return 1;
    }

    Workspace ws;
    ws.CipherText.text = std::move(content.cipherText);
    KeyColumns key;
    for (int column = 1; column <= kColumnCount; ++column) {
        key[static_cast<std::size_t>(column - 1)] =
            content.isResultFile ? content.key[static_cast<std::size_t>(column - 1)] : kNoLetter;
    }
    key = SuggestKey(ws.CipherText.text, key, seed, budgetMs);
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
        err << "zamenor-solve: " << Utf8Of(files[1]) << ": "
            << Cp1251ToUtf8("не удалось сохранить файл; прежний файл не изменён.") << "\n";
        return 1;
    }
    return 0;
}

}  // namespace zam
