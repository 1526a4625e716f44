#include "workspace/phrase.h"

#include "workspace/alphabet.h"

namespace zam {

char FoldPhraseByte(char byte) {
    const auto code = static_cast<unsigned char>(byte);
    return code >= 0xE0 ? static_cast<char>(code - 32) : byte;
}

std::string FoldPhrase(std::string_view text) {
    std::string folded(text);
    for (char& byte : folded) {
        byte = FoldPhraseByte(byte);
    }
    return folded;
}

std::optional<std::string> PhraseFromEditText(std::string_view text) {
    std::string phrase = FoldPhrase(text);
    for (const char byte : phrase) {
        if (!IsCipherColumn(SymbolColumn(byte))) {
            return std::nullopt;
        }
    }
    return phrase;
}

}  // namespace zam
