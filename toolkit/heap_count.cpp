#include "toolkit/heap_count.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace zam {
namespace {

// What a plain operator new promises. 32-bit MinGW promises 16 while its malloc gives 8, so
// the block cannot always start right after the header.
constexpr std::size_t kAlignment =
    std::max<std::size_t>(alignof(std::max_align_t), __STDCPP_DEFAULT_NEW_ALIGNMENT__);
constexpr std::size_t kMallocAlignment = alignof(std::max_align_t);
static_assert((kAlignment & (kAlignment - 1)) == 0, "alignments are powers of two");

// Sits right before the block.
struct Header {
    std::size_t size;    // as requested
    std::size_t offset;  // from the malloc'ed address to the block
};
constexpr std::size_t kHeaderRoom = (sizeof(Header) + kAlignment - 1) / kAlignment * kAlignment;
constexpr std::size_t kOverhead =
    kHeaderRoom + (kAlignment - std::min(kAlignment, kMallocAlignment));

// Constant-initialised: allocations made by other objects' static constructors count too.
std::atomic<std::int64_t> liveBytes{0};

Header* HeaderOf(void* block) {
    return static_cast<Header*>(block) - 1;
}

std::size_t BlockOffset(const void* raw) {
    const auto address = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t block = (address + kHeaderRoom + kAlignment - 1) & ~(kAlignment - 1);
    return static_cast<std::size_t>(block - address);
}

bool TooLarge(std::size_t size) {
    return size > std::numeric_limits<std::size_t>::max() - kOverhead;
}

}  // namespace

std::int64_t LiveHeapBytes() {
    return liveBytes.load(std::memory_order_relaxed);
}

void* CountedAlloc(std::size_t size) {
    if (TooLarge(size)) {
        return nullptr;
    }
    char* raw = static_cast<char*>(std::malloc(size + kOverhead));
    if (!raw) {
        return nullptr;
    }
    const std::size_t offset = BlockOffset(raw);
    *HeaderOf(raw + offset) = Header{size, offset};
    liveBytes.fetch_add(static_cast<std::int64_t>(size), std::memory_order_relaxed);
    return raw + offset;
}

void* CountedRealloc(void* ptr, std::size_t size) {
    if (!ptr) {
        return CountedAlloc(size);
    }
    if (TooLarge(size)) {
        return nullptr;
    }
    const Header old = *HeaderOf(ptr);
    char* raw =
        static_cast<char*>(std::realloc(static_cast<char*>(ptr) - old.offset, size + kOverhead));
    if (!raw) {
        return nullptr;
    }
    const std::size_t offset = BlockOffset(raw);
    if (offset != old.offset) {
        // The new address aligns differently: the content moves to where the block now starts.
        std::memmove(raw + offset, raw + old.offset, std::min(old.size, size));
    }
    *HeaderOf(raw + offset) = Header{size, offset};
    liveBytes.fetch_add(static_cast<std::int64_t>(size) - static_cast<std::int64_t>(old.size),
                        std::memory_order_relaxed);
    return raw + offset;
}

void CountedFree(void* ptr) {
    if (!ptr) {
        return;
    }
    const Header header = *HeaderOf(ptr);
    liveBytes.fetch_sub(static_cast<std::int64_t>(header.size), std::memory_order_relaxed);
    std::free(static_cast<char*>(ptr) - header.offset);
}

}  // namespace zam
