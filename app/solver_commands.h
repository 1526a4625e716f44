#pragma once
// The solver at the user's service beyond the key button: one letter as a hint, and a check of
// the letters the user gave.
#include "app/app_state.h"

namespace zam {

// Gives the open cipher letter the solver is surest of its letter, as one undo step; the
// user's letters stay as they are.
void HintOneLetter(Application& app);

// Marks the user's letters that a clearly better key reads otherwise, and says which (or that
// none is found) in the hint line; the key itself does not change.
void CheckUsersKey(Application& app);

}  // namespace zam
