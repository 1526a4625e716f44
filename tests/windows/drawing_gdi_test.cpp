#include <gtest/gtest.h>

#include <utility>

#include "toolkit/gdi.h"

namespace zam {
namespace {

// Moves are where an owner deletes twice or not at all; the live counters see both.
TEST(GdiWrappers, OwnersDeleteOnceAcrossMovesAndPutSelectionsBack) {
    const GdiCounts before = LiveGdiCounts();
    HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
    HDC memory = nullptr;
    {
        OwnedBrush owner(first);
        OwnedBrush target(second);
        target = std::move(owner);
        EXPECT_EQ(GetObjectType(second), 0u) << "the replaced brush is deleted";
        target = std::move(target);
        EXPECT_EQ(target.Get(), first);

        MemoryDC dc(nullptr);
        MemoryDC moved(std::move(dc));
        memory = moved.Get();
        HGDIOBJ original = GetCurrentObject(memory, OBJ_BRUSH);
        {
            SelectGuard selected(memory, first);
            SelectGuard movedGuard(std::move(selected));
            EXPECT_EQ(GetCurrentObject(memory, OBJ_BRUSH), first);
        }
        EXPECT_EQ(GetCurrentObject(memory, OBJ_BRUSH), original);
        EXPECT_EQ(LiveGdiCounts().objects, before.objects + 1);
        EXPECT_EQ(LiveGdiCounts().memoryDcs, before.memoryDcs + 1);
    }
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(memory), 0u);
    EXPECT_EQ(LiveGdiCounts().objects, before.objects);
    EXPECT_EQ(LiveGdiCounts().memoryDcs, before.memoryDcs);
}

}  // namespace
}  // namespace zam
