// The object lifetime everything in the toolkit rests on: destruction order, frees deferred
// while an object is locked, the pointer list that holds children and auto-free pairs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/assert.h"
#include "toolkit/event.h"
#include "toolkit/object.h"
#include "toolkit/pointer_list.h"
#include "toolkit/weak_ref.h"

namespace zam {
namespace {

using Log = std::vector<std::string>;

// Records its life into a shared log; may take another object down with it, the way an
// owner does.
class Probe : public ToolkitObject {
public:
    Probe(Log* log, std::string name) : log_(log), name_(std::move(name)) {}
    PointerList* Siblings = nullptr;
    Probe* Takes = nullptr;

protected:
    ~Probe() override { log_->push_back(name_ + " memory"); }
    void Init() override { log_->push_back(name_ + " init"); }
    void ReleaseOwned() override {
        log_->push_back(name_ + " owned");
        if (Siblings) {
            Siblings->Remove(this);
            Siblings->Remove(Takes);
        }
        Free(Takes);
    }

private:
    Log* log_;
    std::string name_;
};

struct Note {
    Log* log;
    std::string text;
    ToolkitObject* addLateTo = nullptr;
};

void WriteNote(void* arg) {
    auto* note = static_cast<Note*>(arg);
    note->log->push_back(note->text);
    if (note->addLateTo) {
        static Note late{note->log, "late pair"};
        AddToAutoFree(note->addLateTo, WriteNote, &late);
    }
}

void FreeSenderAgain(void*, ToolkitObject* sender) {
    Free(sender);
    RefInc(sender);
    RefDec(sender);
}

TEST(ToolkitObject, DestructionRunsOwnedThenOnDestroyThenPairsNewestFirst) {
    Log log;
    Probe* probe = NewObject<Probe>(&log, "p");
    Note older{&log, "older pair", probe};  // registers one more pair while running
    Note newer{&log, "newer pair"};
    probe->OnDestroy = MakeEvent(
        &log, +[](void* l, ToolkitObject*) { static_cast<Log*>(l)->push_back("OnDestroy"); });
    AddToAutoFree(probe, WriteNote, &older);
    AddToAutoFree(probe, WriteNote, &newer);
    AddToAutoFree(nullptr, WriteNote, &newer);
    Free(probe);
    EXPECT_EQ(log, (Log{"p init", "p owned", "OnDestroy", "newer pair", "older pair", "late pair",
                        "p memory"}));
}

TEST(ToolkitObject, FreeWhileLockedWaitsForTheLastUnlockAndDestroysOnce) {
    Log log;
    Probe* probe = NewObject<Probe>(&log, "p");
    RefInc(probe);
    RefInc(probe);
    Free(probe);
    Free(probe);  // a second request adds nothing
    RefDec(probe);
    EXPECT_EQ(log.size(), 1u) << "destroyed while locked";
    RefDec(probe);
    EXPECT_EQ(log, (Log{"p init", "p owned", "p memory"}));

    // Freed again from its own OnDestroy, now or deferred: still destroyed once.
    log.clear();
    Probe* now = NewObject<Probe>(&log, "p");
    now->OnDestroy = MakeEvent(nullptr, FreeSenderAgain);
    Free(now);
    Probe* deferred = NewObject<Probe>(&log, "q");
    deferred->OnDestroy = MakeEvent(nullptr, FreeSenderAgain);
    RefInc(deferred);
    Free(deferred);
    RefDec(deferred);
    EXPECT_EQ(log, (Log{"p init", "p owned", "p memory", "q init", "q owned", "q memory"}));
}

// Each link is on the heap, so that a pair left behind by a link that went first is a
// use-after-free under AddressSanitizer when its object goes.
TEST(WeakRef, ReadsNullOnceItsObjectGoesAndLeavesNoPairBehind) {
    Log log;
    Probe* target = NewObject<Probe>(&log, "t");
    Probe* other = NewObject<Probe>(&log, "o");
    auto first = std::make_unique<WeakRef<Probe>>(target);
    auto dropped = std::make_unique<WeakRef<Probe>>(target);
    auto moved = std::make_unique<WeakRef<Probe>>(std::move(*first));
    auto assigned = std::make_unique<WeakRef<Probe>>(other);
    *assigned = std::move(*moved);  // withdraws from other
    EXPECT_EQ(moved->Get(), nullptr) << "the moved-from link is empty";
    auto retargeted = std::make_unique<WeakRef<Probe>>(target);
    *retargeted = other;
    first.reset();
    moved.reset();
    dropped.reset();
    Free(target);
    EXPECT_EQ(assigned->Get(), nullptr);
    EXPECT_EQ(static_cast<Probe*>(*retargeted), other);
    assigned.reset();
    retargeted.reset();
    Free(other);
}

struct Counter {
    int total = 0;
    void Add(int by) { total += by; }
};
int failedChecks = 0;
void CountFailedCheck(const char*, const char*, int) {
    ++failedChecks;
}

TEST(Bind, CallsTheHandlerOnItsOwnObjectAndASlotTakesOneHandler) {
    Counter first;
    Counter second;
    Slot<int> slot;
    slot = Bind<&Counter::Add>(&first);
    slot = {};  // clearing is always allowed
    slot = Bind<&Counter::Add>(&second);
    slot(3);
    EXPECT_EQ(second.total, 3);

    // A second handler put over the first would silently drop it, be it only another object.
    const AssertHandler previous = SetAssertHandler(&CountFailedCheck);
    slot = Bind<&Counter::Add>(&first);
    SetAssertHandler(previous);
    EXPECT_EQ(failedChecks, 1);
}

TEST(PointerList, FreeWithItemsFreesLastToFirstThenTheList) {
    // "c" takes "a" with it: the list shrinks under the loop, and the slots past its new end
    // must not be freed again.
    Log log;
    PointerList* list = NewList();
    list->Add(nullptr);
    Probe* a = NewObject<Probe>(&log, "a");
    Probe* c = NewObject<Probe>(&log, "c");
    c->Takes = a;
    for (Probe* p : {a, NewObject<Probe>(&log, "b"), c}) {
        p->Siblings = list;
        list->Add(static_cast<ToolkitObject*>(p));
    }
    log.clear();
    FreeWithItems(list);
    EXPECT_EQ(log, (Log{"c owned", "a owned", "a memory", "c memory", "b owned", "b memory"}));
    FreeWithItems(nullptr);
}

}  // namespace
}  // namespace zam
