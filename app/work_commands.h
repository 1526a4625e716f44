#pragma once
// Work the user must not lose: every change of the key as one undo step, undo and redo, the
// question before unsaved work goes, save back to the document's result file and save as.
#include <filesystem>
#include <string_view>

#include "app/app_state.h"
#include "workspace/key_history.h"

namespace zam {

// The change of the key since `before` becomes one undo step; the menu follows.
void RecordKeyStep(Application& app, const KeyMoment& before);
// The user's own assignment (or clear, with "?"): one undo step, and the letter is the user's
// from now on, no longer a proposal. The caller's redraws follow as after any assign.
void AssignAsUser(Application& app, char cipherLetter, char plainLetter);
void UndoKeyStep(Application& app);
void RedoKeyStep(Application& app);
// "Отменить" and "Вернуть" enabled exactly when there is a step to undo or to redo.
void UpdateUndoItems(Application& app);

// Whether the work may be thrown away now: nothing is unsaved, or the user answered No, or Yes
// and the save went through. Cancel, a cancelled save and a running dialog keep it.
bool MayDiscardWork(Application& app);

bool SaveWork(Application& app);
bool SaveWorkAs(Application& app);
// Asks before unsaved work goes, then runs the open dialog.
void OpenWork(Application& app);
// A file from a drop or the command line, after the same question.
void OpenWorkFile(Application& app, const std::filesystem::path& path);
// The clipboard's text as a new document "Из буфера обмена", after the question.
void PasteWork(Application& app);
// A cryptogram made from a text file (or the clipboard's text when no file is chosen), saved
// with its answer beside it and opened, ready to be solved.
void EncryptWork(Application& app);
// "Очистить" of the menu: the key goes, after the question, as one undo step.
void ClearWork(Application& app);

// A word for the user in the hint line; it stays until the hint changes.
void ShowNotice(Application& app, std::string_view text);

}  // namespace zam
