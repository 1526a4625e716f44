#include "workspace/key_history.h"

#include "workspace/workspace.h"

namespace zam {

KeyState KeyOf(const Workspace& ws) {
    KeyState key{};
    for (int column = 1; column <= kColumnCount; ++column)
        key[static_cast<std::size_t>(column - 1)] = ws.KeyTable.key[column];
    return key;
}

KeyMoment MomentOf(const Workspace& ws) { return {KeyOf(ws), ws.SuggestedColumns}; }

void KeyHistory::Start(const KeyState& key) {
    steps_.clear();
    done_ = 0;
    saved_ = key;
}

void KeyHistory::Record(const KeyMoment& before, const KeyMoment& after) {
    if (before == after) return;
    steps_.resize(done_);
    steps_.push_back({before, after});
    if (steps_.size() > kMaxSteps) steps_.pop_front();
    done_ = steps_.size();
}

const KeyMoment& KeyHistory::Undo() {
    ZAM_ASSERT(CanUndo());
    return steps_[--done_].before;
}

const KeyMoment& KeyHistory::Redo() {
    ZAM_ASSERT(CanRedo());
    return steps_[done_++].after;
}

}  // namespace zam
