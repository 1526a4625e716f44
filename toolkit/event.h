#pragma once
// An event is a (code, data) pair: the routine and the object it is bound to. The routine gets
// data first, then the event's own arguments, the first of which is by convention the sender.
// Bind makes the pair from a typed handler, so that the one cast back from data is here.
#include "toolkit/assert.h"

namespace zam {

// A routine bound to its object, returning R; called unassigned it does nothing (R{}).
template <class R, class... Args>
struct BoundCall {
    using Code = R (*)(void* data, Args...);

    Code code = nullptr;
    void* data = nullptr;

    bool Assigned() const { return code != nullptr; }

    R operator()(Args... args) const {
        if (code) {
            return code(data, args...);
        }
        return R();
    }

    friend bool operator==(const BoundCall&, const BoundCall&) = default;
};

template <class... Args>
using Event = BoundCall<void, Args...>;

template <class... Args>
Event<Args...> MakeEvent(void* data, void (*code)(void*, Args...)) {
    return Event<Args...>{code, data};
}

namespace detail {

// A const object is bound as any other; its handler still sees it const.
template <class T>
void* DataOf(T* object) {
    return const_cast<void*>(static_cast<const void*>(object));
}

template <class F>
struct MemberBinding {};
template <class R, class C, class... A>
struct MemberBinding<R (C::*)(A...)> {
    using Object = C;
    using Type = BoundCall<R, A...>;
    template <auto F>
    static R Call(void* data, A... args) {
        return (static_cast<C*>(data)->*F)(args...);
    }
};

template <class F>
struct FreeBinding {};
template <class R, class C, class... A>
struct FreeBinding<R (*)(C&, A...)> {
    using Object = C;
    using Type = BoundCall<R, A...>;
    template <auto F>
    static R Call(void* data, A... args) {
        return F(*static_cast<C*>(data), args...);
    }
};

template <class F>
struct PlainBinding {};
template <class R, class... A>
struct PlainBinding<R (*)(A...)> {
    using Type = BoundCall<R, A...>;
    template <auto F>
    static R Call(void*, A... args) {
        return F(args...);
    }
};

}  // namespace detail

// A member function on its object: Bind<&View::OnPaint>(this).
template <auto F, class B = detail::MemberBinding<decltype(F)>>
typename B::Type Bind(typename B::Object* object) {
    return {&B::template Call<F>, detail::DataOf(object)};
}

// A free function whose first parameter is the object: Bind<&ShutdownOnClose>(app).
template <auto F, class B = detail::FreeBinding<decltype(F)>>
typename B::Type Bind(typename B::Object& object) {
    return {&B::template Call<F>, detail::DataOf(&object)};
}

// A free function that needs no object: Bind<&PaintFrame>().
template <auto F, class B = detail::PlainBinding<decltype(F)>>
typename B::Type Bind() {
    return {&B::template Call<F>, nullptr};
}

// An event that one handler is put on. Putting a second over it would silently drop the
// first, so that fails the check; clearing it (an empty event) is always allowed.
template <class... Args>
class Slot : public Event<Args...> {
public:
    Slot() = default;
    // Non-const: a braced empty event `slot = {}` then means the event, not another slot.
    Slot(Slot&) = delete;
    Slot& operator=(Slot&) = delete;

    Slot& operator=(const Event<Args...>& event) {
        ZAM_ASSERT(!event.Assigned() || !this->Assigned());
        Event<Args...>::operator=(event);
        return *this;
    }
};

}  // namespace zam
