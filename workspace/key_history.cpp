#include "workspace/key_history.h"

#include "workspace/workspace.h"

namespace zam {

KeyState KeyOf(const Workspace& ws) {
    KeyState key{};
    for (int column = 1; column <= kColumnCount; ++column)
        key[static_cast<std::size_t>(column - 1)] = ws.KeyTable.key[column];
    return key;
}

void KeyHistory::Start(const KeyState& key) {
    steps_.clear();
    done_ = 0;
    saved_ = key;
}

void KeyHistory::Record(const KeyState& before, const KeyState& after) {
    if (before == after) return;
    steps_.resize(done_);
    steps_.push_back({before, after});
    if (steps_.size() > kMaxSteps) steps_.pop_front();
    done_ = steps_.size();
}

const KeyState& KeyHistory::Undo() {
    ZAM_ASSERT(CanUndo());
    return steps_[--done_].before;
}

const KeyState& KeyHistory::Redo() {
    ZAM_ASSERT(CanRedo());
    return steps_[done_++].after;
}

}  // namespace zam
