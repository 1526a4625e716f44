#include "workspace/operations.h"

namespace zam {
namespace {

// Text cells of a symbol in both views, last position first so that a long list repaints
// from the bottom of the views up.
void DrawLetterCells(Workspace& ws, Display& display, int column, bool cipherView, bool plainView) {
    if (!IsCipherColumn(column)) return;
    const PositionList& positions = ws.TextStats.positions[column];
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        if (cipherView) display.DrawTextCell(ws.CipherText, *it);
        if (plainView) display.DrawTextCell(ws.PlainText, *it);
    }
}

void DrawMarkerOf(Display& display, MarkerKind kind, char letter) {
    if (IsCipherColumn(SymbolColumn(letter))) display.DrawMarker(kind, letter);
}

void DrawAlphabetCellOf(Display& display, int row, int column) {
    if (column >= 1 && column <= kColumnCount) display.DrawAlphabetCell(row, column);
}

void WriteAtPositions(Workspace& ws, int column, char letter) {
    std::string& plain = ws.PlainText.text;
    for (const std::uint16_t p : ws.TextStats.positions[column]) {
        if (p >= 1 && p <= plain.size()) plain[p - 1] = letter;
    }
}

}  // namespace

std::string AlphabetBaseCaption() { return "Алфавит "; }

char TranslateTypedKey(char key) {
    const auto code = static_cast<unsigned char>(key);
    if (code == 0x20) return kClearLetter;
    if (code == '_') return '_';
    // Й and Ъ in either case are not in the working alphabet; Ё (0xA8, 0xB8) lies outside.
    if (code == 0xC9 || code == 0xDA || code == 0xE9 || code == 0xFA) return 0;
    if (code >= 0xC0 && code <= 0xDF) return key;
    if (code >= 0xE0) return static_cast<char>(code - 32);
    return 0;
}

bool PlainLetterInUse(const Workspace& ws, char letter) {
    if (letter == kClearLetter) return false;  // clearing is always possible
    for (int column = 1; column <= kSymbolCount; ++column) {
        if (ws.KeyTable.key[column] == letter) return true;
    }
    return ws.PlainText.text.find(letter) != std::string::npos;
}

void Assign(Workspace& ws, Display& display, char cipherLetter, char plainLetter) {
    const int column = SymbolColumn(cipherLetter);
    if (!IsCipherColumn(column)) return;
    char& entry = ws.KeyTable.key[column];
    if (entry != kNoLetter) {
        const int oldColumn = SymbolColumn(entry);
        entry = kNoLetter;
        DrawAlphabetCellOf(display, 3, oldColumn);  // the old letter is free again
        WriteAtPositions(ws, column, kNoLetter);
    }
    if (plainLetter != kClearLetter) {
        entry = plainLetter;
        WriteAtPositions(ws, column, plainLetter);
    }
}

void SetCurrentLetter(Workspace& ws, Display& display, PointerSource source, char letter) {
    const char oldLetter = LetterOf(ws.CurrentLetter);
    ws.CurrentLetter.assign(1, source == PointerSource::FreeRow ? kNoLetter : letter);

    const int oldColumn = SymbolColumn(oldLetter);
    DrawAlphabetCellOf(display, 1, oldColumn);
    DrawAlphabetCellOf(display, 2, oldColumn);
    DrawMarkerOf(display, MarkerKind::Cipher, oldLetter);
    if (ws.HiliteCurrent) DrawLetterCells(ws, display, oldColumn, true, true);
    ShowHint(ws, display);

    if (source != PointerSource::FreeRow) {
        const int column = SymbolColumn(letter);
        DrawAlphabetCellOf(display, static_cast<int>(source), column);
        DrawMarkerOf(display, MarkerKind::Cipher, letter);
        if (ws.HiliteCurrent) DrawLetterCells(ws, display, column, true, true);
        return;
    }

    const char oldPlain = LetterOf(ws.PlainLetter);
    ws.PlainLetter.assign(1, letter);
    DrawAlphabetCellOf(display, 3, SymbolColumn(oldPlain));
    DrawMarkerOf(display, MarkerKind::Reference, oldPlain);
    DrawMarkerOf(display, MarkerKind::Reference, letter);
    ShowHint(ws, display);
    DrawAlphabetCellOf(display, 3, SymbolColumn(letter));
    ShowHint(ws, display);
}

void SetSelectedLetter(Workspace& ws, Display& display, char letter) {
    const char oldLetter = LetterOf(ws.SelectedLetter);
    ws.SelectedLetter.assign(1, letter);
    // Dropping the selection repaints the old letter even with its highlight off, so the
    // plaintext view always shows the assignment that preceded it.
    if (ws.HiliteSelected || letter == kNoLetter) {
        for (const char each : {oldLetter, letter}) {
            const int column = SymbolColumn(each);
            DrawAlphabetCellOf(display, 1, column);
            DrawAlphabetCellOf(display, 2, column);
            DrawMarkerOf(display, MarkerKind::Cipher, each);
            DrawLetterCells(ws, display, column, ws.HiliteSelected, true);
        }
    }
    display.SetAlphabetCaption(AlphabetBaseCaption());
    ShowHint(ws, display);
}

void ShowHint(Workspace& ws, Display& display) {
    const char selected = LetterOf(ws.SelectedLetter);
    if (!IsCipherColumn(SymbolColumn(selected))) return;
    const char plain = LetterOf(ws.PlainLetter);
    const int plainColumn = SymbolColumn(plain);
    std::string caption = AlphabetBaseCaption();
    if (plainColumn == kClearColumn) {
        caption += std::string(" .: Очистим ") + selected + " ]";
    } else if (plainColumn == -1) {
        caption += std::string(" .: Заменим ") + selected + " :.";
    } else {
        caption += std::string(" .: Заменим ") + selected + " на " + plain + " :.";
    }
    display.SetAlphabetCaption(caption);
}

void Reset(Workspace& ws, Display& display, bool clearCipherText) {
    if (ws.CipherText.text.empty()) return;
    display.DrawGraph(true);

    ws.HoverPos = 0;  // the text under the pointer may be about to go
    ws.CurrentLetter.clear();
    ws.SelectedLetter.clear();
    ws.PlainLetter.clear();
    if (clearCipherText) ws.CipherText.text.clear();
    ws.PlainText.text.assign(ws.CipherText.text.size(), kNoLetter);
    for (int column = 1; column <= kSymbolCount; ++column) ws.KeyTable.key[column] = kNoLetter;
    ws.SuggestedColumns = 0;
    ws.DoubtfulColumns = 0;
    ws.CurrentBigram.clear();
    ws.Phrase.clear();
    ws.SelectedBigram.clear();
    ws.BigramHoverCell = {};
    ws.BigramSelectedCell = {};
    // Counts and ranges stay until the next build; only the lists and shares go.
    if (clearCipherText) ws.TextStats.Clear();

    for (View* view : display.Views()) {
        if (clearCipherText && view->HasScrollBar()) {
            view->ScrollToTop();
            view->ShrinkSurfaceToClient();
            view->UpdateScrollBar();
        }
        view->Invalidate();
    }
    display.DrawGraph(false);
}

void ApplyKey(Workspace& ws, Display& display, const KeyState& key, std::uint32_t suggested) {
    const auto wanted = [&key](int column) { return key[static_cast<std::size_t>(column - 1)]; };
    const std::uint32_t restyled = ws.SuggestedColumns ^ suggested;
    ws.SuggestedColumns = suggested;
    SetSelectedLetter(ws, display, kNoLetter);
    // Clears come first, so that no plaintext letter is held by two cipher letters on the way
    // (letters that trade places).
    for (const bool clearing : {true, false}) {
        for (int column = 1; column <= kSymbolCount; ++column) {
            const char now = ws.KeyTable.key[column];
            const char target = wanted(column) == kClearLetter ? kNoLetter : wanted(column);
            if (now == target || (clearing ? now == kNoLetter : target == kNoLetter)) continue;
            const char cipher = ColumnSymbol(column);
            SetSelectedLetter(ws, display, cipher);
            Assign(ws, display, cipher, clearing ? kClearLetter : target);
            // Assign redraws the letter it frees; the one it takes leaves the free row here.
            if (!clearing) DrawAlphabetCellOf(display, 3, SymbolColumn(target));
            SetSelectedLetter(ws, display, kNoLetter);
        }
    }
    // A letter that stays but changes from proposed to the user's, or back, changes its look.
    for (int column = 1; column <= kSymbolCount; ++column) {
        if (!(restyled & ColumnBit(column))) continue;
        SetSelectedLetter(ws, display, ColumnSymbol(column));
        SetSelectedLetter(ws, display, kNoLetter);
    }
    display.SetAlphabetCaption(AlphabetBaseCaption());
}

void MarkDoubtful(Workspace& ws, Display& display, std::uint32_t columns) {
    const std::uint32_t changed = ws.DoubtfulColumns ^ columns;
    ws.DoubtfulColumns = columns;
    for (int column = 1; column <= kSymbolCount; ++column) {
        if (changed & ColumnBit(column)) DrawAlphabetCellOf(display, 2, column);
    }
}

}  // namespace zam
