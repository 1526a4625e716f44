// The live-byte count behind the exit-time memory report. Here operator new is the sanitizer's,
// so only the counted functions and the toolkit's list storage move the count.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "toolkit/heap_count.h"
#include "toolkit/pointer_list.h"

namespace zam {
namespace {

constexpr std::size_t kNewAlignment = alignof(std::max_align_t) > __STDCPP_DEFAULT_NEW_ALIGNMENT__
                                          ? alignof(std::max_align_t)
                                          : __STDCPP_DEFAULT_NEW_ALIGNMENT__;

bool Aligned(const void* block) {
    return reinterpret_cast<std::uintptr_t>(block) % kNewAlignment == 0;
}

TEST(HeapCount, BlocksCountTheirRequestedSizesUntilFreed) {
    const std::int64_t start = LiveHeapBytes();
    char* a = static_cast<char*>(CountedAlloc(10));
    void* empty = CountedAlloc(0);
    void* otherEmpty = CountedAlloc(0);
    ASSERT_NE(a, nullptr);
    // A zero-byte block is still a block of its own, as operator new(0) must give.
    ASSERT_NE(empty, nullptr);
    EXPECT_NE(empty, otherEmpty);
    EXPECT_TRUE(Aligned(a) && Aligned(empty) && Aligned(otherEmpty));
    EXPECT_EQ(LiveHeapBytes(), start + 10);

    std::memcpy(a, "0123456789", 10);
    a = static_cast<char*>(CountedRealloc(a, 1000));
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(Aligned(a));
    EXPECT_EQ(std::memcmp(a, "0123456789", 10), 0);
    EXPECT_EQ(LiveHeapBytes(), start + 1000);
    a = static_cast<char*>(CountedRealloc(a, 3));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(std::memcmp(a, "012", 3), 0);
    EXPECT_EQ(LiveHeapBytes(), start + 3);

    void* fresh = CountedRealloc(nullptr, 7);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(LiveHeapBytes(), start + 10);

    CountedFree(a);
    CountedFree(empty);
    CountedFree(otherEmpty);
    CountedFree(fresh);
    CountedFree(nullptr);
    EXPECT_EQ(LiveHeapBytes(), start);
}

TEST(HeapCount, ARequestTooLargeFailsWithoutTouchingTheCountOrTheBlock) {
    constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();
    const std::int64_t start = LiveHeapBytes();
    EXPECT_EQ(CountedAlloc(kHuge), nullptr);
    EXPECT_EQ(CountedAlloc(kHuge - 8), nullptr);  // would wrap with the header added
    char* block = static_cast<char*>(CountedAlloc(4));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "abcd", 4);
    EXPECT_EQ(CountedRealloc(block, kHuge), nullptr);
    EXPECT_EQ(std::memcmp(block, "abcd", 4), 0);
    EXPECT_EQ(LiveHeapBytes(), start + 4);
    CountedFree(block);
    EXPECT_EQ(LiveHeapBytes(), start);
}

TEST(HeapCount, ListStorageIsCountedAndReleasedWithTheList) {
    const std::int64_t start = LiveHeapBytes();
    PointerList* list = NewList();
    int items[6] = {};
    for (int& item : items) {
        list->Add(&item);
    }
    EXPECT_EQ(list->Capacity, 8);
    EXPECT_EQ(LiveHeapBytes(), start + 8 * std::int64_t{sizeof(void*)});
    list->Clear();
    EXPECT_EQ(LiveHeapBytes(), start);
    list->Add(&items[0]);
    Free(list);
    EXPECT_EQ(LiveHeapBytes(), start);
}

}  // namespace
}  // namespace zam
