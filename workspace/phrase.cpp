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

char PhraseSymbolOfTyped(char byte) {
    char symbol = FoldPhraseByte(byte);
    switch (static_cast<unsigned char>(symbol)) {
        case 0xA8:  // Ё
        case 0xB8:  // ё
            symbol = static_cast<char>(0xC5);
            break;
        case 0xC9:  // Й
            symbol = static_cast<char>(0xC8);
            break;
        case 0xDA:  // Ъ
            symbol = static_cast<char>(0xDC);
            break;
        default:
            break;
    }
    return IsCipherColumn(SymbolColumn(symbol)) ? symbol : 0;
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
