#pragma once
// The working alphabet: 30 letters (no Ё, Й, Ъ; Ь before Ы), the word gap "_" and the
// clearing choice "?". Every table of the program is indexed by its 1-based column.
#include <array>
#include <string_view>

#include "toolkit/assert.h"

namespace zam {

inline constexpr int kColumnCount = 32;   // columns 1-32
inline constexpr int kSymbolCount = 31;   // cipher symbols: columns 1-31
inline constexpr int kGapColumn = 31;     // "_"
inline constexpr int kClearColumn = 32;   // "?"
inline constexpr char kNoLetter = ' ';
inline constexpr char kClearLetter = '?';

// The 32 alphabet bytes, column 1 first.
std::string_view Alphabet();

// The 1-based column of a byte, or -1 when it is not in the alphabet.
int SymbolColumn(char byte);

// The byte of column 1-32.
char ColumnSymbol(int column);

inline bool IsCipherColumn(int column) { return column >= 1 && column <= kSymbolCount; }

// A fixed-size table indexed by 1-based column; indexing outside it is a program fault.
template <class T, int N>
class ColumnTable {
public:
    T& operator[](int column) {
        ZAM_ASSERT(column >= 1 && column <= N);
        return items_[static_cast<size_t>(column - 1)];
    }
    const T& operator[](int column) const {
        ZAM_ASSERT(column >= 1 && column <= N);
        return items_[static_cast<size_t>(column - 1)];
    }
    void Fill(const T& value) { items_.fill(value); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::array<T, N> items_{};
};

}  // namespace zam
