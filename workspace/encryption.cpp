#include "workspace/encryption.h"

#include <numeric>

#include "toolkit/encoding.h"
#include "workspace/document_file.h"
#include "workspace/text_reader.h"
#include "workspace/workspace.h"

namespace zam {
namespace {

constexpr int kLetterCount = kGapColumn - 1;

// SplitMix64: tiny, and unlike the standard distributions the same on every library.
std::uint64_t NextRandom(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// cipherOf[p] is the cipher column (0-based) of plaintext letter column p; drawn again until
// no letter stands for itself, as puzzle ciphers are made.
std::array<int, kLetterCount> DrawKey(std::uint64_t seed) {
    std::array<int, kLetterCount> cipherOf{};
    std::uint64_t state = seed;
    for (;;) {
        std::iota(cipherOf.begin(), cipherOf.end(), 0);
        for (int i = kLetterCount - 1; i > 0; --i) {
            const auto j = static_cast<int>(NextRandom(state) % static_cast<std::uint64_t>(i + 1));
            std::swap(cipherOf[static_cast<std::size_t>(i)], cipherOf[static_cast<std::size_t>(j)]);
        }
        bool fixedPoint = false;
        for (int p = 0; p < kLetterCount; ++p) {
            fixedPoint = fixedPoint || cipherOf[static_cast<std::size_t>(p)] == p;
        }
        if (!fixedPoint) return cipherOf;
    }
}

Encryption Encrypt(const TextReading& reading, std::uint64_t seed) {
    Encryption encryption;
    if (!reading.Ok()) {
        encryption.message = reading.message;
        return encryption;
    }
    encryption.notice = reading.notice;
    encryption.plainText = reading.text;
    const std::array<int, kLetterCount> cipherOf = DrawKey(seed);
    std::array<char, 256> encrypt{};
    for (int p = 0; p < kLetterCount; ++p) {
        const int cipherColumn = cipherOf[static_cast<std::size_t>(p)] + 1;
        encrypt[static_cast<unsigned char>(ColumnSymbol(p + 1))] = ColumnSymbol(cipherColumn);
        encryption.key[static_cast<std::size_t>(cipherColumn - 1)] = ColumnSymbol(p + 1);
    }
    encrypt[static_cast<unsigned char>('_')] = '_';
    encryption.key[kGapColumn - 1] = '_';
    encryption.key[kClearColumn - 1] = kNoLetter;
    encryption.cipherText = reading.text;
    for (char& c : encryption.cipherText) c = encrypt[static_cast<unsigned char>(c)];
    return encryption;
}

// The stem with a suffix, the extension kept (".txt" when there is none).
std::filesystem::path WithSuffix(const std::filesystem::path& path,
                                 const std::filesystem::path::string_type& stem,
                                 std::string_view suffix) {
    std::filesystem::path::string_type name = stem + PathFrom1251(suffix).native();
    const std::filesystem::path extension = path.extension();
    name += extension.empty() ? std::filesystem::path(".txt").native() : extension.native();
    return path.parent_path() / std::filesystem::path(name);
}

}  // namespace

Encryption EncryptText(std::string_view bytes, std::uint64_t seed) {
    return Encrypt(ReadPlainText(bytes), seed);
}

Encryption EncryptText(std::u16string_view text, std::uint64_t seed) {
    return Encrypt(ReadPlainText(text), seed);
}

std::string CryptogramFileBytes(const Encryption& encryption) {
    return encryption.cipherText + "\r\n";
}

std::string AnswerFileBytes(const Encryption& encryption) {
    Workspace ws;
    ws.CipherText.text = encryption.cipherText;
    ws.PlainText.text = encryption.plainText;
    for (int column = 1; column <= kColumnCount; ++column) {
        ws.KeyTable.key[column] = encryption.key[static_cast<std::size_t>(column - 1)];
    }
    return FormatResultFile(ws);
}

std::filesystem::path CryptogramPathFor(const std::filesystem::path& textPath) {
    return WithSuffix(textPath, textPath.stem().native(), "-шифр");
}

std::filesystem::path AnswerPathFor(const std::filesystem::path& cryptogramPath) {
    auto stem = cryptogramPath.stem().native();
    const auto mark = PathFrom1251("-шифр").native();
    if (stem.size() > mark.size() && stem.ends_with(mark)) stem.resize(stem.size() - mark.size());
    return WithSuffix(cryptogramPath, stem, "-ответ");
}

}  // namespace zam
