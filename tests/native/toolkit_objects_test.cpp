#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/assert.h"
#include "toolkit/event.h"
#include "toolkit/object.h"
#include "toolkit/pointer_list.h"

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

void LogOnDestroy(void* data, ToolkitObject*) {
    static_cast<Log*>(data)->push_back("OnDestroy");
}

void FreeSenderAgain(void*, ToolkitObject* sender) {
    Free(sender);
    RefInc(sender);
    RefDec(sender);
}

TEST(ToolkitObject, DestructionRunsOwnedThenOnDestroyThenPairsNewestFirst) {
    Log log;
    Probe* probe = NewObject<Probe>(&log, "p");
    EXPECT_EQ(log, (Log{"p init"}));
    Note older{&log, "older pair", probe};  // registers one more pair while running
    Note newer{&log, "newer pair"};
    probe->OnDestroy = MakeEvent(&log, LogOnDestroy);
    AddToAutoFree(probe, WriteNote, &older);
    AddToAutoFree(probe, WriteNote, &newer);
    AddToAutoFree(nullptr, WriteNote, &newer);
    Free(probe);
    EXPECT_EQ(log, (Log{"p init", "p owned", "OnDestroy", "newer pair", "older pair", "late pair",
                        "p memory"}));
    Free(nullptr);
    RefInc(nullptr);
    RefDec(nullptr);
}

TEST(ToolkitObject, FreeWhileLockedWaitsForTheLastUnlockAndDestroysOnce) {
    Log log;
    Probe* probe = NewObject<Probe>(&log, "p");
    RefInc(probe);
    RefDec(probe);
    RefInc(probe);
    RefInc(probe);
    Free(probe);
    Free(probe);  // a second request adds nothing
    RefInc(probe);
    RefDec(probe);
    RefDec(probe);
    Free(probe);
    EXPECT_EQ(log.size(), 1u) << "destroyed while locked";
    RefDec(probe);
    EXPECT_EQ(log, (Log{"p init", "p owned", "p memory"}));
}

TEST(ToolkitObject, FreeingAgainDuringDestructionDoesNotDestroyTwice) {
    Log log;
    Probe* now = NewObject<Probe>(&log, "p");
    now->OnDestroy = MakeEvent(nullptr, FreeSenderAgain);
    Free(now);
    Probe* deferred = NewObject<Probe>(&log, "q");  // RefCount is already negative here
    deferred->OnDestroy = MakeEvent(nullptr, FreeSenderAgain);
    RefInc(deferred);
    Free(deferred);
    RefDec(deferred);
    EXPECT_EQ(log, (Log{"p init", "p owned", "p memory", "q init", "q owned", "q memory"}));
}

std::vector<std::string> g_failures;

void RecordFailure(const char* expr, const char*, int) {
    g_failures.push_back(expr);
}

TEST(ToolkitObject, UnbalancedRefDecTripsTheHookedAssertAndIsIgnored) {
    AssertHandler previous = SetAssertHandler(RecordFailure);
    Log log;
    Probe* probe = NewObject<Probe>(&log, "p");
    RefDec(probe);
    EXPECT_EQ(probe->RefCount, 0);
    ZAM_ASSERT(1 + 1 == 3);
    SetAssertHandler(previous);
    EXPECT_EQ(g_failures.size(), 2u);
    EXPECT_EQ(g_failures.back(), "1 + 1 == 3");
    Free(probe);
}

void AddToSum(void* data, int a, int b) {
    *static_cast<int*>(data) += a * 10 + b;
}

TEST(Event, CallsCodeWithDataFirstAndIgnoresUnassigned) {
    int sum = 0;
    Event<int, int> event;
    event(1, 2);
    EXPECT_FALSE(event.Assigned());
    event = MakeEvent(&sum, AddToSum);
    event(1, 2);
    EXPECT_EQ(sum, 12);
}

// Owns the list for the test's duration; ASan reports any array the list fails to release.
struct ListHolder {
    PointerList* list = NewList();
    ~ListHolder() { Free(list); }
};

void* P(intptr_t n) {
    return reinterpret_cast<void*>(n);
}

TEST(PointerList, GrowsByTheFixedStepAndDeletesKeepTheCapacity) {
    ListHolder h;
    for (intptr_t i = 0; i < 5; ++i) {
        EXPECT_EQ(h.list->Add(P(i)), i);
    }
    EXPECT_EQ(h.list->Capacity, 8);  // 4, then the full array's index 4 + 4
    h.list->GrowBy = 0;
    for (intptr_t i = 5; i < 9; ++i) {
        h.list->Add(P(i));
    }
    EXPECT_EQ(h.list->Capacity, 12);
    EXPECT_EQ(h.list->Get(8), P(8));
    h.list->DeleteRange(2, 10);  // cut at the end
    h.list->DeleteRange(0, -3);
    h.list->DeleteRange(-1, 1);
    h.list->DeleteRange(2, 1);
    EXPECT_EQ(h.list->Count, 2);
    EXPECT_EQ(h.list->Capacity, 12);
    h.list->Delete(0);
    EXPECT_EQ(h.list->Get(0), P(1));
    h.list->SetCapacity(-1);  // never below Count
    EXPECT_EQ(h.list->Capacity, 1);
    h.list->Clear();
    EXPECT_EQ(h.list->Items, nullptr);
    EXPECT_EQ(h.list->Capacity, 0);
}

TEST(PointerList, InsertAndLookupsHandleEveryIndex) {
    ListHolder h;
    h.list->Insert(0, P(2));
    h.list->Insert(h.list->Count, P(4));  // at Count: appends
    h.list->Insert(1, P(3));
    h.list->Insert(-5, P(1));
    h.list->Insert(100, P(5));
    ASSERT_EQ(h.list->Count, 5);
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(h.list->At<void>(i), P(i + 1));
    }
    EXPECT_EQ(h.list->Get(-1), nullptr);
    EXPECT_EQ(h.list->Get(5), nullptr);
    h.list->Add(P(3));
    EXPECT_EQ(h.list->IndexOf(P(3)), 2);
    EXPECT_EQ(h.list->IndexOf(P(9)), -1);
    h.list->Remove(P(3));  // only the first
    EXPECT_EQ(h.list->IndexOf(P(3)), 4);
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
