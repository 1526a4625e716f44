#pragma once
// Cell geometry and the colour rules of the text and alphabet grids: pure functions of the
// workspace, so the views only paint what these decide.
#include <array>
#include <cstdint>
#include <string_view>

#include "toolkit/geometry.h"
#include "workspace/display.h"
#include "workspace/workspace.h"

namespace zam {

using Colour = std::uint32_t;  // COLORREF 0x00BBGGRR

inline constexpr int kCellPitch = 16;
inline constexpr int kGridMargin = 3;

enum class Scheme { Black = 1, Yellow = 2 };

// The palette's entries by what they colour; a highlight's text colour is the entry after its
// background. Entry 2 is read by no rule.
enum PaletteEntry : int {
    kBorderEntry = 1,      // cell borders; the phrase box's frame
    kBackgroundEntry = 3,  // views and plain cells
    kTextEntry = 4,        // plain text; the menu strip
    kToolbarEntry = 5,
    kHeadingEntry = 6,     // the information window's headings and labels
    kCurrentEntry = 7,     // the current letter and bigram; the graph's fall-back marker
    kSelectedEntry = 9,
    kSelectedBigramEntry = 11,
    kPhraseEntry = 13,
    kScaleLowEntry = 15,   // the rare end of the frequency scale
    kScaleHighEntry = 16,  // the frequent end, also the warning colour
};

// Entries 1-16 are read; entry 0 exists so that indexes match the menu's and the files'.
class ColourPalette {
public:
    ColourPalette() { Choose(Scheme::Black); }
    void Choose(Scheme scheme);
    Colour operator[](int entry) const;
    // The text colour of letters the program proposed, apart from every entry of the scheme.
    Colour Suggested() const { return suggested_; }

private:
    std::array<Colour, 17> entries_{};
    Colour suggested_ = 0;
};

// a + t(b - a) per channel, t = (x - lo) / (hi - lo) unclamped; b when lo equals hi.
Colour Blend(Colour a, Colour b, float x, float lo, float hi);

// Column and line of a 1-based position in a grid of the given width.
struct GridPlace {
    int column;
    int line;
};
GridPlace PlaceOf(std::uint16_t position, std::uint8_t lineWidth);
Rect TextCellRect(std::uint16_t position, std::uint8_t lineWidth);
Rect LineBand(int line, std::uint8_t lineWidth);
Rect AlphabetCellRect(int row, int column);
// The position whose cell holds the point, the lower one where two cells share a border line;
// 0 for none (past the end of the text, outside the grid). Points and positions are 32-bit:
// the largest text is taller than 16 bits of pixels.
std::uint32_t PositionAt(Point point, std::uint32_t length, std::uint8_t lineWidth);

Colour LetterBackground(const Workspace& ws, const ColourPalette& palette, char letter);
Colour LetterTextColour(const Workspace& ws, const ColourPalette& palette, char letter);
Colour PositionBackground(const Workspace& ws, const ColourPalette& palette, std::uint32_t position);
Colour PositionTextColour(const Workspace& ws, const ColourPalette& palette, std::uint32_t position);

struct CellStyle {
    Colour background = 0;
    Colour text = 0;
    bool fill = true;        // false: hollow, the border only
    bool border = true;
    bool bold = false;
    char glyph = 0;          // 0: no character
};

// How text cell p of the view showing `text` looks now.
CellStyle TextCellStyle(const Workspace& ws, const ColourPalette& palette, const TextObject& text,
                        std::uint16_t position);

// How alphabet cell (row 1-3, column 1-32) looks now.
CellStyle AlphabetCellStyle(const Workspace& ws, const ColourPalette& palette, int row, int column);

// Redraws, in both text views, every occurrence of the first text and then of the second (the
// old and the new overlay); a second text of other than two symbols (a phrase) only while
// phrases are highlighted.
void RedrawOverlayOccurrences(const Workspace& ws, Display& display, std::string_view first,
                              std::string_view second);

}  // namespace zam
