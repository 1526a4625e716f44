// The global allocation functions of the Windows executables, routed through the heap count so
// that the exit-time report sees every C++ allocation. Linked only into the executables, never
// into a library or the sanitizer build, whose runtime replaces these itself. The align_val_t
// forms stay the library's: MinGW's allocate apart from the plain ones.
#include <new>

#include "toolkit/heap_count.h"

namespace {

void* Allocate(std::size_t size) {
    for (;;) {
        if (void* block = zam::CountedAlloc(size)) {
            return block;
        }
        const std::new_handler handler = std::get_new_handler();
        if (!handler) {
            throw std::bad_alloc();
        }
        handler();
    }
}

void* AllocateOrNull(std::size_t size) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}

void operator delete(void* block) noexcept {
    zam::CountedFree(block);
}
void operator delete[](void* block) noexcept {
    zam::CountedFree(block);
}
void operator delete(void* block, std::size_t) noexcept {
    zam::CountedFree(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    zam::CountedFree(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    zam::CountedFree(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    zam::CountedFree(block);
}
