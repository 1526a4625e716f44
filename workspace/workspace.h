#pragma once
// The single cryptogram being broken: texts, key, statistics and the interaction state that
// every view reads.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "workspace/alphabet.h"
#include "workspace/key_history.h"

namespace zam {

class View;

inline constexpr std::size_t kMaxTextLength = 65535;  // positions are 16-bit and 1-based
inline constexpr std::uint8_t kLineWidth = 31;

using PositionList = std::vector<std::uint16_t>;

struct TextObject {
    std::string text;                 // Windows-1251
    std::uint8_t lineWidth = kLineWidth;
    View* view = nullptr;             // filled in when the windows are built
};

struct SubstitutionKey {
    SubstitutionKey();
    ColumnTable<char, kColumnCount> alphabet;
    ColumnTable<char, kColumnCount> key;  // plaintext letter per cipher column, space for none
    ColumnTable<float, kSymbolCount> referenceFrequencies;
    View* view = nullptr;
};

struct CipherStats {
    std::uint16_t letterMin = 0;
    std::uint16_t letterMax = 0;
    std::uint16_t pairMin = 0;
    std::uint16_t pairMax = 0;
    ColumnTable<float, kSymbolCount> share;
    ColumnTable<PositionList, kSymbolCount> positions;

    // Positions of the first symbol of each ordered pair (row followed by column).
    PositionList& Pairs(int row, int column);
    const PositionList& Pairs(int row, int column) const;
    void Clear();

private:
    std::vector<PositionList> pairs_ = std::vector<PositionList>(kSymbolCount * kSymbolCount);
};

struct Cell {
    std::int32_t row = 0;
    std::int32_t column = 0;
    bool operator==(const Cell&) const = default;
};

struct Workspace {
    TextObject CipherText;
    TextObject PlainText;
    SubstitutionKey KeyTable;
    CipherStats TextStats;

    std::uint16_t HoverPos = 0;
    // At most one byte each; empty and a space both mean no letter.
    std::string CurrentLetter;
    std::string SelectedLetter;
    std::string PlainLetter;
    std::string CurrentBigram;
    std::string SelectedBigram;
    std::string Phrase;
    Cell BigramHoverCell;
    Cell BigramSelectedCell;
    bool HiliteCurrent = true;
    bool HiliteSelected = true;
    bool HiliteCurrentBigram = true;
    bool HiliteSelectedBigram = true;
    bool HilitePhrase = true;
    std::string DocName;
    // The same name as the file system spells it; DocName may hold "?" where 1251 has no letter.
    std::filesystem::path DocFile;
    // Where the document came from or was last saved, whole; empty for text from elsewhere.
    std::filesystem::path DocPath;
    // The result file that "save" writes back to without asking; empty until there is one.
    std::filesystem::path ResultPath;
    KeyHistory History;
    // Cipher columns whose letter the program proposed (key button, hint), bit c - 1 for column
    // c, until the user assigns over them; and columns whose letter a check of the key doubts,
    // until the key changes.
    std::uint32_t SuggestedColumns = 0;
    std::uint32_t DoubtfulColumns = 0;
};

inline std::uint32_t ColumnBit(int column) { return std::uint32_t{1} << (column - 1); }

// The letter held by an interaction string; an empty string counts as a space.
inline char LetterOf(const std::string& text) { return text.empty() ? kNoLetter : text[0]; }

}  // namespace zam
