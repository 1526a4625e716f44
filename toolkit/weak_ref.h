#pragma once
// A pointer to a toolkit object that reads null once the object is destroyed: for whatever
// outlives an object it does not own (a record and its form, a view and its surface). It rides
// on the object's auto-free pairs, registered under its own address, so it moves (the pair goes
// with it) but never copies.
#include <utility>

#include "toolkit/object.h"

namespace zam {

template <class T>
class WeakRef {
public:
    WeakRef() = default;
    // Implicit both ways: a WeakRef<Control> reads and is set as the Control* it stands for.
    WeakRef(T* target) { Reset(target); }
    ~WeakRef() { Reset(); }
    WeakRef(const WeakRef&) = delete;
    WeakRef& operator=(const WeakRef&) = delete;

    WeakRef(WeakRef&& other) noexcept { Reset(other.Release()); }
    WeakRef& operator=(WeakRef&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    WeakRef& operator=(T* target) {
        Reset(target);
        return *this;
    }

    // Follows target from now on; null only stops following.
    void Reset(T* target = nullptr) {
        if (target == target_) {
            return;
        }
        if (target_) {
            RemoveFromAutoFree(target_, &Gone, this);
        }
        target_ = target;
        if (target_) {
            AddToAutoFree(target_, &Gone, this);
        }
    }

    // Stops following and returns what was followed.
    T* Release() {
        T* target = target_;
        Reset();
        return target;
    }

    T* Get() const { return target_; }
    operator T*() const { return target_; }
    T* operator->() const { return target_; }

private:
    static void Gone(void* self) { static_cast<WeakRef*>(self)->target_ = nullptr; }

    T* target_ = nullptr;
};

}  // namespace zam
