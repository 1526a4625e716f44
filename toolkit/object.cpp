#include "toolkit/object.h"

#include "toolkit/assert.h"
#include "toolkit/pointer_list.h"

namespace zam {

void ToolkitObject::Destroy() {
    ReleaseOwned();
    RunBaseCleanup();
    ReleaseMemory();
}

void ToolkitObject::RunBaseCleanup() {
    // Slots are taken and cleared before the calls, so a handler that reaches this object
    // finds nothing left to run twice. OnDestroy goes first: it sees the object while the
    // things handed to auto-free still exist.
    Event<ToolkitObject*> onDestroy = OnDestroy;
    OnDestroy = {};
    onDestroy(this);

    // A procedure may register further pairs; they run in a later round rather than leak.
    while (AutoFree) {
        PointerList* pairs = AutoFree;
        AutoFree = nullptr;
        for (int32_t i = 0; i + 1 < pairs->Count; i += 2) {
            auto proc = reinterpret_cast<AutoFreeProc>(pairs->Items[i]);
            proc(pairs->Items[i + 1]);
        }
        Free(pairs);
    }
}

void ToolkitObject::DestroyNow(ToolkitObject* obj) {
    if (obj->destroying_) {
        return;
    }
    obj->destroying_ = true;
    obj->Destroy();
}

void Free(ToolkitObject* obj) {
    if (!obj || obj->destroying_) {
        return;
    }
    if (obj->RefCount == 0) {
        ToolkitObject::DestroyNow(obj);
    } else if ((obj->RefCount & 1) == 0) {
        // Locked: remember the request; the RefDec that finds the count negative destroys.
        obj->RefCount -= 1;
    }
}

void RefInc(ToolkitObject* obj) {
    if (obj) {
        obj->RefCount += 2;
    }
}

void RefDec(ToolkitObject* obj) {
    if (!obj) {
        return;
    }
    ZAM_ASSERT(obj->RefCount >= 1);
    if (obj->RefCount < 1) {
        return;  // unbalanced RefDec; the count would no longer mean anything
    }
    obj->RefCount -= 2;
    if (obj->RefCount < 0 && (obj->RefCount & 1) != 0) {
        ToolkitObject::DestroyNow(obj);
    }
}

void AddToAutoFree(ToolkitObject* obj, AutoFreeProc proc, void* arg) {
    if (!obj || !proc) {
        return;
    }
    if (!obj->AutoFree) {
        obj->AutoFree = NewList();
    }
    obj->AutoFree->Insert(0, arg);
    obj->AutoFree->Insert(0, reinterpret_cast<void*>(proc));
}

void RemoveFromAutoFree(ToolkitObject* obj, AutoFreeProc proc, void* arg) {
    PointerList* pairs = obj ? obj->AutoFree : nullptr;
    if (!pairs) {
        return;
    }
    for (int32_t i = 0; i + 1 < pairs->Count; i += 2) {
        if (pairs->Items[i] == reinterpret_cast<void*>(proc) && pairs->Items[i + 1] == arg) {
            pairs->DeleteRange(i, 2);
            return;
        }
    }
}

}  // namespace zam
