#pragma once
// The undo history of the key: every step is the whole key before and after one change the
// user made (a typed or clicked letter, a clear, the key button), so that undo and redo give
// back exactly the key of the moment, and whether the work differs from what was saved.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>

#include "workspace/alphabet.h"

namespace zam {

struct Workspace;

// key[1] to key[32] of a workspace.
using KeyState = std::array<char, kColumnCount>;

KeyState KeyOf(const Workspace& ws);

// The key of a moment and which of its letters the program proposed (bit c - 1 for column c),
// so that undo and redo give back how the letters look as well.
struct KeyMoment {
    KeyState key{};
    std::uint32_t suggested = 0;
    bool operator==(const KeyMoment&) const = default;
};

KeyMoment MomentOf(const Workspace& ws);

class KeyHistory {
public:
    // The oldest steps go beyond this many.
    static constexpr std::size_t kMaxSteps = 16384;

    // A new document: no steps, and its key counts as saved.
    void Start(const KeyState& key);
    // A change from before to after; nothing when nothing changed. Steps that were
    // undone are dropped.
    void Record(const KeyMoment& before, const KeyMoment& after);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The key to put back; only when CanUndo (CanRedo).
    const KeyMoment& Undo();
    const KeyMoment& Redo();

    void MarkSaved(const KeyState& key) { saved_ = key; }
    // Whether the key differs from the one opened or last saved.
    bool Modified(const KeyState& key) const { return key != saved_; }
    std::size_t StepCount() const { return steps_.size(); }

private:
    struct Step {
        KeyMoment before;
        KeyMoment after;
    };
    std::deque<Step> steps_;
    std::size_t done_ = 0;  // steps_[0, done_) are in force
    KeyState saved_{};
};

}  // namespace zam
