#pragma once
// Base of every toolkit object. Objects live on the heap, are made by NewObject and end only
// through Free or RefDec, so that a handler may free the object that is running it: RefInc/RefDec
// around the call turn a Free made meanwhile into a destruction after the call.
#include <cstdint>
#include <type_traits>
#include <utility>

#include "toolkit/event.h"

namespace zam {

class ToolkitObject;
class PointerList;

using AutoFreeProc = void (*)(void* arg);

void Free(ToolkitObject* obj);
void RefInc(ToolkitObject* obj);
void RefDec(ToolkitObject* obj);
// Runs proc(arg) when obj is destroyed, after OnDestroy; the newest pair runs first.
void AddToAutoFree(ToolkitObject* obj, AutoFreeProc proc, void* arg);
// Takes back a pair, for an argument that goes before the object does.
void RemoveFromAutoFree(ToolkitObject* obj, AutoFreeProc proc, void* arg);

class ToolkitObject {
public:
    ToolkitObject(const ToolkitObject&) = delete;
    ToolkitObject& operator=(const ToolkitObject&) = delete;

    // Even: twice the lock count. Odd: a Free arrived while locked and waits for the last RefDec.
    int32_t RefCount = 0;
    Slot<ToolkitObject*> OnDestroy;
    // (procedure, argument) pairs stored as two items each, newest first; made on first use.
    PointerList* AutoFree = nullptr;

protected:
    ToolkitObject() = default;
    virtual ~ToolkitObject() = default;

    // Runs once, right after allocation.
    virtual void Init() {}
    // Releases what the object owns, runs the base clean-up, then releases the memory.
    // Types whose owned parts must outlive the clean-up (controls and their children)
    // override this and call RunBaseCleanup and ReleaseMemory themselves.
    virtual void Destroy();
    // What the type owns; the hook most types override instead of Destroy.
    virtual void ReleaseOwned() {}

    void RunBaseCleanup();
    void ReleaseMemory() { delete this; }

private:
    static void DestroyNow(ToolkitObject* obj);

    // Set once destruction starts, so that a handler that frees the object again during its
    // own OnDestroy or auto-free calls cannot destroy it a second time.
    bool destroying_ = false;

    template <class T, class... Args>
    friend T* NewObject(Args&&... args);
    friend void Free(ToolkitObject* obj);
    friend void RefDec(ToolkitObject* obj);
};

template <class T, class... Args>
T* NewObject(Args&&... args) {
    static_assert(std::is_base_of_v<ToolkitObject, T>, "NewObject makes toolkit objects only");
    static_assert(!std::is_destructible_v<T>,
                  "toolkit objects end only through Free: declare the destructor protected");
    T* obj = new T(std::forward<Args>(args)...);
    static_cast<ToolkitObject*>(obj)->Init();
    return obj;
}

}  // namespace zam
