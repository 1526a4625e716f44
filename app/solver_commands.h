#pragma once
// The solver at the user's service: the rest of the key, one letter as a hint, and a check of
// the letters the user gave; each with the wait cursor over every window while it works.
#include "app/app_state.h"

namespace zam {

// The solver's proposal for every cipher letter the user has not assigned, applied through the
// same assign as a typed letter, so that every view, marker and the hint follow; one undo step.
void SuggestRestOfKey(Application& app);

// Gives the open cipher letter the solver is surest of its letter, as one undo step; the
// user's letters stay as they are.
void HintOneLetter(Application& app);

// Marks the user's letters that a clearly better key reads otherwise, and says which (or that
// none is found) in the hint line; the key itself does not change.
void CheckUsersKey(Application& app);

}  // namespace zam
