#pragma once
// The phrase dialog: the user types a few cipher letters, and every occurrence of them in the
// ciphertext is highlighted in both text windows ("Выделить"), or the highlight is removed
// ("Снять выделение"). Enter and Escape stand for the two buttons; the typed text stays for
// the next opening.
#include "app/app_state.h"

namespace zam {

struct PhraseDialogRecord : ToolWindowRecord {
    using ToolWindowRecord::ToolWindowRecord;
    // The caret goes into the box, its text selected: the user types the phrase at once.
    void Shown() override;
    WeakRef<Control> Edit;  // a child of the form; null once the form has gone
};

// Gives the dialog form, already at its size, its label, edit box and buttons.
void AttachPhraseDialog(Application& app, PhraseDialogRecord& record);

}  // namespace zam
