#pragma once
// An event is a (code, data) pair: the routine and the object it is bound to. The routine gets
// data first, then the event's own arguments, the first of which is by convention the sender.

namespace zam {

template <class... Args>
struct Event {
    using Code = void (*)(void* data, Args...);

    Code code = nullptr;
    void* data = nullptr;

    bool Assigned() const { return code != nullptr; }

    void operator()(Args... args) const {
        if (code) {
            code(data, args...);
        }
    }
};

template <class... Args>
Event<Args...> MakeEvent(void* data, void (*code)(void*, Args...)) {
    return Event<Args...>{code, data};
}

}  // namespace zam
