#pragma once
// The four operations that change the workspace while the user works. Each one changes the
// state and then asks the display to redraw exactly the cells and markers concerned.
#include <string>

#include "workspace/display.h"
#include "workspace/workspace.h"

namespace zam {

// The alphabet window's caption without a hint (with its trailing space).
std::string AlphabetBaseCaption();

enum class PointerSource {
    CipherRow = 1,  // ciphertext window or the alphabet's row 1
    PlainRow = 2,   // plaintext window or the alphabet's row 2
    FreeRow = 3,    // the alphabet's row 3, or leaving the alphabet window
};

// A key typed in the alphabet window (Windows-1251) as the symbol it stands for: the space is
// "?" (clear), lower case becomes upper case; Ё, Й, Ъ and anything outside the working
// alphabet give 0 (ignored).
char TranslateTypedKey(char key);

// Whether a plaintext letter is already given to some cipher letter (in the key, columns 1 to
// 31, or anywhere in the plaintext): such a letter is never assigned a second time.
bool PlainLetterInUse(const Workspace& ws, char letter);

// Gives cipher letter x the plaintext letter y; "?" only clears. The caller makes sure that
// y is not already used in the plaintext.
void Assign(Workspace& ws, Display& display, char cipherLetter, char plainLetter);

void SetCurrentLetter(Workspace& ws, Display& display, PointerSource source, char letter);

// A space drops the selection.
void SetSelectedLetter(Workspace& ws, Display& display, char letter);

// Puts the hint for the selected and the pointed-at plaintext letter into the alphabet caption.
void ShowHint(Workspace& ws, Display& display);

void Reset(Workspace& ws, Display& display, bool clearCipherText);

// Puts the whole key in place, letter by letter through assign, with every cell, marker and
// free letter that changed redrawn and no letter selected afterwards; `suggested` names the
// letters that are the program's proposals. Entry 32 is kept.
void ApplyKey(Workspace& ws, Display& display, const KeyState& key, std::uint32_t suggested = 0);

// Marks the columns a check of the key doubts (none: 0), redrawing their key cells.
void MarkDoubtful(Workspace& ws, Display& display, std::uint32_t columns);

}  // namespace zam
