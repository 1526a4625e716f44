// The live-byte count behind the exit-time memory report. Here operator new is the sanitizer's,
// so only the counted functions move the count.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "toolkit/heap_count.h"

namespace zam {
namespace {

bool Aligned(const void* block) {
    return reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t) == 0;
}

TEST(HeapCount, BlocksCountTheirRequestedSizesUntilFreed) {
    const std::int64_t start = LiveHeapBytes();
    char* a = static_cast<char*>(CountedAlloc(10));
    void* empty = CountedAlloc(0);
    void* otherEmpty = CountedAlloc(0);
    // A zero-byte block is still a block of its own, as operator new(0) must give.
    ASSERT_TRUE(a && empty && empty != otherEmpty);
    EXPECT_TRUE(Aligned(a) && Aligned(empty) && Aligned(otherEmpty));
    EXPECT_EQ(LiveHeapBytes(), start + 10);

    std::memcpy(a, "0123456789", 10);
    a = static_cast<char*>(CountedRealloc(a, 1000));
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(Aligned(a));
    EXPECT_EQ(std::memcmp(a, "0123456789", 10), 0);
    EXPECT_EQ(LiveHeapBytes(), start + 1000);
    a = static_cast<char*>(CountedRealloc(a, 3));
    void* fresh = CountedRealloc(nullptr, 7);
    EXPECT_EQ(LiveHeapBytes(), start + 10);

    // Too large, or wrapping with the header added: fails, the count and block untouched.
    constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(CountedAlloc(kHuge - 8), nullptr);
    EXPECT_EQ(CountedRealloc(a, kHuge), nullptr);
    EXPECT_EQ(std::memcmp(a, "012", 3), 0);
    EXPECT_EQ(LiveHeapBytes(), start + 10);

    for (void* block :
         {static_cast<void*>(a), empty, otherEmpty, fresh, static_cast<void*>(nullptr)})
        CountedFree(block);
    EXPECT_EQ(LiveHeapBytes(), start);
}

}  // namespace
}  // namespace zam
