#include "workspace/colouring.h"

#include <algorithm>
#include <cmath>

namespace zam {
namespace {

constexpr std::array<Colour, 16> kBlackScheme = {
    0x0099FF, 0x000000, 0x000000, 0x6ECCFF, 0x5EBBEE, 0x000000, 0x5ECCFF, 0x000000,
    0x0099FF, 0x000000, 0x00FF00, 0x000000, 0xFF0000, 0xFFFFFF, 0x000066, 0x0000EE,
};
constexpr std::array<Colour, 16> kYellowScheme = {
    0x0099FF, 0x000000, 0x5ECCFF, 0x777777, 0x5EBBEE, 0x000000, 0x4DBBFF, 0x000000,
    0x0099FF, 0x000000, 0x00FF00, 0x000000, 0xFF0000, 0x000000, 0x4DBBFF, 0x0000FF,
};

bool Matches(const std::string& state, char letter) { return LetterOf(state) == letter; }

char CipherLetterAt(const Workspace& ws, std::uint32_t position) {
    const std::string& text = ws.CipherText.text;
    return position >= 1 && position <= text.size() ? text[position - 1] : kNoLetter;
}

// Whether a stretch of the ciphertext equal to the overlay covers position p.
bool OverlayCovers(const std::string& cipher, std::string_view overlay, std::uint32_t p) {
    const size_t length = overlay.size();
    if (length == 0 || length >= cipher.size() || p < 1 || p > cipher.size()) return false;
    if (overlay.find(cipher[p - 1]) == std::string_view::npos) return false;
    const size_t first = p > length ? p - length + 1 : 1;
    for (size_t start = first; start <= p && start + length - 1 <= cipher.size(); ++start) {
        if (std::string_view(cipher).substr(start - 1, length) == overlay) return true;
    }
    return false;
}

void DrawBothViews(const Workspace& ws, Display& display, size_t position) {
    if (position < 1 || position > kMaxTextLength) return;
    display.DrawTextCell(ws.CipherText, static_cast<std::uint16_t>(position));
    display.DrawTextCell(ws.PlainText, static_cast<std::uint16_t>(position));
}

void RedrawOccurrences(const Workspace& ws, Display& display, std::string_view overlay,
                       bool longOverlays) {
    if (overlay.size() == 2 && overlay != "  ") {
        const int row = SymbolColumn(overlay[0]);
        const int column = SymbolColumn(overlay[1]);
        if (!IsCipherColumn(row) || !IsCipherColumn(column)) return;
        for (const std::uint16_t p : ws.TextStats.Pairs(row, column)) {
            DrawBothViews(ws, display, p);
            DrawBothViews(ws, display, p + 1u);
        }
    } else if (!overlay.empty() && longOverlays) {
        // Every other length is a phrase, one letter included: its stretches are found by
        // scanning, and only starts that leave the whole stretch inside the text are tried.
        const std::string& cipher = ws.CipherText.text;
        for (size_t start = 1; start + overlay.size() - 1 <= cipher.size(); ++start) {
            if (std::string_view(cipher).substr(start - 1, overlay.size()) != overlay) continue;
            for (size_t p = start; p < start + overlay.size(); ++p) DrawBothViews(ws, display, p);
        }
    }
}

}  // namespace

void ColourPalette::Choose(Scheme scheme) {
    const auto& source = scheme == Scheme::Yellow ? kYellowScheme : kBlackScheme;
    for (size_t i = 0; i < source.size(); ++i) entries_[i + 1] = source[i];
    // Blue, apart from every colour of the scheme: light on the black ground, dark on yellow.
    suggested_ = scheme == Scheme::Yellow ? 0x993300 : 0xF0C080;
}

Colour ColourPalette::operator[](int entry) const {
    return entry >= 0 && entry <= 16 ? entries_[static_cast<size_t>(entry)] : 0;
}

Colour Blend(Colour a, Colour b, float x, float lo, float hi) {
    if (lo == hi) return b;
    const float t = (x - lo) / (hi - lo);
    Colour out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const float from = static_cast<float>((a >> shift) & 0xFF);
        const float to = static_cast<float>((b >> shift) & 0xFF);
        // nearbyint rounds ties to even. t may leave [0, 1] (a letter absent from the text is
        // below letterMin): the channel stays at its end of the scale instead of wrapping.
        const float channel = std::clamp(std::nearbyint(from + t * (to - from)), 0.0f, 255.0f);
        out |= static_cast<Colour>(channel) << shift;
    }
    return out;
}

GridPlace PlaceOf(std::uint16_t position, std::uint8_t lineWidth) {
    const int p = position;
    const int w = lineWidth == 0 ? kLineWidth : lineWidth;
    if (p <= w) return {p, 1};
    if (p % w == 0) return {w, p / w};
    return {p % w, p / w + 1};
}

Rect TextCellRect(std::uint16_t position, std::uint8_t lineWidth) {
    const GridPlace place = PlaceOf(position, lineWidth);
    return AlphabetCellRect(place.line, place.column);
}

Rect LineBand(int line, std::uint8_t lineWidth) {
    // As wide and as deep as the line's cells, borders included.
    return {0, kCellPitch * (line - 1), kCellPitch * lineWidth + kGridMargin + 1,
            kCellPitch * line + kGridMargin + 1};
}

Rect AlphabetCellRect(int row, int column) {
    return {kCellPitch * (column - 1) + kGridMargin, kCellPitch * (row - 1) + kGridMargin,
            kCellPitch * column + kGridMargin + 1, kCellPitch * row + kGridMargin + 1};
}

std::uint32_t PositionAt(Point point, std::uint32_t length, std::uint8_t lineWidth) {
    const int w = lineWidth == 0 ? kLineWidth : lineWidth;
    // A cell of index k (1-based) spans [16(k - 1) + 3, 16k + 4): a point on a shared border
    // line lies in two cells, and the earlier one is the lower position.
    const auto candidates = [](int v, int out[2]) {
        if (v < kGridMargin) return 0;
        const int k = (v - kGridMargin) / kCellPitch + 1;
        int n = 0;
        if ((v - kGridMargin) % kCellPitch == 0 && k > 1) out[n++] = k - 1;
        out[n++] = k;
        return n;
    };
    int lines[2], columns[2];
    const int lineCount = candidates(point.y, lines);
    const int columnCount = candidates(point.x, columns);
    for (int i = 0; i < lineCount; ++i) {
        for (int j = 0; j < columnCount; ++j) {
            if (columns[j] > w) continue;
            const std::int64_t p = static_cast<std::int64_t>(w) * (lines[i] - 1) + columns[j];
            if (p >= 1 && p <= length) return static_cast<std::uint32_t>(p);
        }
    }
    return 0;
}

Colour LetterBackground(const Workspace& ws, const ColourPalette& palette, char letter) {
    Colour colour = palette[kBackgroundEntry];
    if (letter == '\0' || ws.PlainLetter.empty()) return colour;
    if (Matches(ws.CurrentLetter, letter) && ws.HiliteCurrent) colour = palette[kCurrentEntry];
    if (Matches(ws.SelectedLetter, letter) && ws.HiliteSelected) colour = palette[kSelectedEntry];
    if (Matches(ws.PlainLetter, letter) && ws.HiliteCurrent) colour = palette[kCurrentEntry];
    return colour;
}

Colour LetterTextColour(const Workspace& ws, const ColourPalette& palette, char letter) {
    Colour colour = palette[kTextEntry];
    if (letter == '\0' || ws.PlainLetter.empty()) return colour;
    if (Matches(ws.CurrentLetter, letter) && ws.HiliteCurrent) colour = palette[kCurrentEntry + 1];
    if (Matches(ws.SelectedLetter, letter) && ws.HiliteSelected) {
        colour = palette[kSelectedEntry + 1];
    }
    // Unlike the background: a selected letter that is also pointed at keeps the selected text.
    if (Matches(ws.PlainLetter, letter) && !Matches(ws.SelectedLetter, letter) && ws.HiliteCurrent) {
        colour = palette[kCurrentEntry + 1];
    }
    return colour;
}

Colour PositionBackground(const Workspace& ws, const ColourPalette& palette,
                          std::uint32_t position) {
    if (!ws.HiliteCurrent && position == ws.HoverPos) return palette[kCurrentEntry];
    if (position > ws.CipherText.text.size()) return palette[kBackgroundEntry];
    return LetterBackground(ws, palette, CipherLetterAt(ws, position));
}

Colour PositionTextColour(const Workspace& ws, const ColourPalette& palette,
                          std::uint32_t position) {
    if (!ws.HiliteCurrent && position == ws.HoverPos) return palette[kCurrentEntry + 1];
    if (position > ws.CipherText.text.size()) return palette[kTextEntry];
    return LetterTextColour(ws, palette, CipherLetterAt(ws, position));
}

CellStyle TextCellStyle(const Workspace& ws, const ColourPalette& palette, const TextObject& text,
                        std::uint16_t position) {
    const std::string& cipher = ws.CipherText.text;
    int overlay = 0;
    if (OverlayCovers(cipher, ws.CurrentBigram, position) && ws.HiliteCurrentBigram) {
        overlay = kCurrentEntry;
    }
    if (OverlayCovers(cipher, ws.Phrase, position) && ws.HilitePhrase) overlay = kPhraseEntry;
    if (OverlayCovers(cipher, ws.SelectedBigram, position) && ws.HiliteSelectedBigram) {
        overlay = kSelectedBigramEntry;
    }

    const char cipherLetter = CipherLetterAt(ws, position);
    const bool selectedCell = Matches(ws.SelectedLetter, cipherLetter) && ws.HiliteSelected;
    CellStyle style;
    if (overlay != 0 && position != ws.HoverPos && !selectedCell) {
        style.background = palette[overlay];
        style.text = palette[overlay + 1];
    } else {
        style.background = PositionBackground(ws, palette, position);
        style.text = PositionTextColour(ws, palette, position);
    }
    style.fill = !text.text.empty();
    if (position >= 1 && position <= text.text.size()) {
        style.glyph = text.text[position - 1];
        const int column = SymbolColumn(style.glyph);
        const bool unassigned = column >= 1 && ws.KeyTable.key[column] == kNoLetter;
        // The plaintext view is told by address first: comparing its 65,535 characters with
        // themselves for every cell was most of an assignment's time.
        style.bold = unassigned || &text == &ws.PlainText || text.text == ws.PlainText.text;
        // A proposed letter in the plaintext, where no highlight takes its colour.
        const int cipherColumn = SymbolColumn(cipherLetter);
        if (&text == &ws.PlainText && IsCipherColumn(cipherColumn) &&
            (ws.SuggestedColumns & ColumnBit(cipherColumn)) && style.text == palette[kTextEntry]) {
            style.text = palette.Suggested();
        }
    }
    return style;
}

CellStyle AlphabetCellStyle(const Workspace& ws, const ColourPalette& palette, int row,
                            int column) {
    CellStyle style;
    style.background = palette[kBackgroundEntry];
    style.text = palette[kTextEntry];
    if (row < 1 || row > 3 || column < 1 || column > kColumnCount) return style;
    const char a = ColumnSymbol(column);
    const char k = ws.KeyTable.key[column];
    const int keyColumn = SymbolColumn(k);
    const CipherStats& stats = ws.TextStats;

    if (!ws.CipherText.text.empty()) {
        if (row == 1 && IsCipherColumn(column)) {
            style.background = Blend(palette[kScaleLowEntry], palette[kScaleHighEntry],
                                     static_cast<float>(stats.positions[column].size()),
                                     stats.letterMin, stats.letterMax);
        } else if (row == 2 && IsCipherColumn(keyColumn)) {
            style.background = Blend(palette[kScaleLowEntry], palette[kScaleHighEntry],
                                     ws.KeyTable.referenceFrequencies[keyColumn], 0.2f, 17.5f);
        }
    }
    if (Matches(ws.SelectedLetter, a) || Matches(ws.CurrentLetter, a)) {
        style.background = LetterBackground(ws, palette, a);
        style.text = LetterTextColour(ws, palette, a);
    }
    if (!ws.HiliteCurrent && Matches(ws.CurrentLetter, a)) {
        style.background = PositionBackground(ws, palette, ws.HoverPos);
        style.text = PositionTextColour(ws, palette, ws.HoverPos);
    }
    bool inKey = false;
    for (const char entry : ws.KeyTable.key) inKey = inKey || entry == a;
    if (row == 3 && !Matches(ws.PlainLetter, a) && !inKey) {
        // "?" has no reference share; it takes the low end of the scale.
        style.background = IsCipherColumn(column)
                                ? Blend(palette[kScaleLowEntry], palette[kScaleHighEntry],
                                        ws.KeyTable.referenceFrequencies[column], 0.2f, 17.5f)
                                : palette[kScaleLowEntry];
        style.text = palette[kTextEntry];
    }
    if (row == 3 && Matches(ws.PlainLetter, a)) {
        style.background = palette[kCurrentEntry];
        style.text = palette[kCurrentEntry + 1];
    }
    if (row == 2 && IsCipherColumn(column) && !Matches(ws.SelectedLetter, a) &&
        !Matches(ws.CurrentLetter, a)) {
        if (ws.DoubtfulColumns & ColumnBit(column)) {
            // A letter a check of the key doubts: the warning colour of the scale's top.
            style.background = palette[kScaleHighEntry];
            style.text = 0xFFFFFF;
        } else if (ws.SuggestedColumns & ColumnBit(column)) {
            style.text = palette.Suggested();
        }
    }
    if (column == kClearColumn && row < 3) {
        style.fill = false;
        style.border = false;
    }
    if (row == 1) {
        style.glyph = a;
    } else if (row == 2) {
        style.glyph = k == kNoLetter ? 0 : k;
    } else if (!inKey) {
        style.glyph = a;
    }
    style.bold = row < 3 && k == kNoLetter;
    return style;
}

void RedrawOverlayOccurrences(const Workspace& ws, Display& display, std::string_view first,
                              std::string_view second) {
    RedrawOccurrences(ws, display, first, true);
    RedrawOccurrences(ws, display, second, ws.HilitePhrase);
}

}  // namespace zam
