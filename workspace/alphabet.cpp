#include "workspace/alphabet.h"

namespace zam {
namespace {

constexpr std::string_view kAlphabet = "АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЬЫЭЮЯ_?";

// Byte -> column, built once; column order is not byte order (Ь 0xDC stands before Ы 0xDB).
struct ColumnIndex {
    std::array<signed char, 256> columns{};
    ColumnIndex() {
        columns.fill(-1);
        for (size_t i = 0; i < kAlphabet.size(); ++i) {
            columns[static_cast<unsigned char>(kAlphabet[i])] = static_cast<signed char>(i + 1);
        }
    }
};

}  // namespace

std::string_view Alphabet() { return kAlphabet; }

int SymbolColumn(char byte) {
    static const ColumnIndex index;
    return index.columns[static_cast<unsigned char>(byte)];
}

char ColumnSymbol(int column) {
    ZAM_ASSERT(column >= 1 && column <= kColumnCount);
    if (column < 1 || column > kColumnCount) return kNoLetter;
    return kAlphabet[static_cast<size_t>(column - 1)];
}

}  // namespace zam
