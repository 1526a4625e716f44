#include <gtest/gtest.h>

#include <utility>

#include "toolkit/gdi.h"

namespace zam {
namespace {

bool Alive(HGDIOBJ object) {
    return GetObjectType(object) != 0;
}

TEST(GdiWrappers, OwnedObjectStoresDeletesOnceAndMovesOwnership) {
    const int before = LiveGdiCounts().objects;
    HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
    {
        OwnedBrush owner(first);
        EXPECT_EQ(owner.Get(), first);
        EXPECT_EQ(LiveGdiCounts().objects, before + 1);

        OwnedBrush moved(std::move(owner));
        EXPECT_EQ(owner.Get(), nullptr);
        EXPECT_EQ(moved.Get(), first);
        EXPECT_EQ(LiveGdiCounts().objects, before + 1);

        moved.Reset(second);  // the first goes, the second is owned
        EXPECT_FALSE(Alive(first));
        EXPECT_EQ(moved.Get(), second);

        OwnedBrush target(CreateSolidBrush(RGB(7, 8, 9)));
        HBRUSH replaced = target.Get();
        target = std::move(moved);
        EXPECT_FALSE(Alive(replaced));
        EXPECT_EQ(target.Get(), second);
        EXPECT_EQ(LiveGdiCounts().objects, before + 1);

        target = std::move(target);  // self-move keeps the handle
        EXPECT_EQ(target.Get(), second);
    }
    EXPECT_FALSE(Alive(second));
    EXPECT_EQ(LiveGdiCounts().objects, before);

    OwnedPen released(CreatePen(PS_SOLID, 1, 0));
    HPEN pen = released.Release();
    EXPECT_EQ(released.Get(), nullptr);
    EXPECT_TRUE(Alive(pen));
    EXPECT_EQ(LiveGdiCounts().objects, before);
    DeleteObject(pen);

    OwnedRegion none(nullptr);
    EXPECT_FALSE(none);
    EXPECT_EQ(LiveGdiCounts().objects, before);
}

TEST(GdiWrappers, ContextsAreUsableAndGoAway) {
    const GdiCounts before = LiveGdiCounts();
    HDC memory = nullptr;
    {
        WindowDC screen(nullptr);
        ASSERT_TRUE(screen);
        EXPECT_GT(GetDeviceCaps(screen.Get(), BITSPIXEL), 0);
        EXPECT_EQ(LiveGdiCounts().windowDcs, before.windowDcs + 1);

        MemoryDC dc(screen.Get());
        ASSERT_TRUE(dc);
        memory = dc.Get();
        EXPECT_EQ(GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
        MemoryDC moved(std::move(dc));
        EXPECT_EQ(dc.Get(), nullptr);
        EXPECT_FALSE(MemoryDC()) << "an empty slot makes no context";
        EXPECT_EQ(moved.Get(), memory);
        EXPECT_EQ(LiveGdiCounts().memoryDcs, before.memoryDcs + 1);

        WindowDC movedScreen(std::move(screen));
        EXPECT_EQ(screen.Get(), nullptr);
        EXPECT_GT(GetDeviceCaps(movedScreen.Get(), BITSPIXEL), 0);
    }
    EXPECT_EQ(GetObjectType(memory), 0u);
    EXPECT_EQ(LiveGdiCounts().memoryDcs, before.memoryDcs);
    EXPECT_EQ(LiveGdiCounts().windowDcs, before.windowDcs);
}

TEST(GdiWrappers, SelectGuardPutsThePreviousObjectBack) {
    MemoryDC dc(nullptr);
    HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_PEN);
    OwnedPen pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    {
        SelectGuard selected(dc.Get(), pen.Get());
        EXPECT_TRUE(selected);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen.Get());
        SelectGuard moved(std::move(selected));
        EXPECT_FALSE(selected);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), original);

    SelectGuard early(dc.Get(), pen.Get());
    early.Restore();
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), original);

    // Nothing to select, or nothing to put back: no selection and no harm.
    EXPECT_FALSE(SelectGuard(nullptr, pen.Get()));
    EXPECT_FALSE(SelectGuard(dc.Get(), nullptr));
    OwnedRegion region(CreateRectRgn(0, 0, 1, 1));
    EXPECT_FALSE(SelectGuard(dc.Get(), region.Get()));
}

TEST(GdiWrappers, OwnedIconDestroysItsIcon) {
    const int before = LiveGdiCounts().icons;
    const BYTE andBits[4 * 2] = {};
    const BYTE xorBits[4 * 2] = {};
    HICON icon = CreateIcon(nullptr, 2, 2, 1, 1, andBits, xorBits);
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    {
        OwnedIcon owner(icon);
        EXPECT_EQ(owner.Get(), icon);
        OwnedIcon moved(std::move(owner));
        EXPECT_EQ(owner.Get(), nullptr);
        EXPECT_EQ(LiveGdiCounts().icons, before + 1);
        ASSERT_TRUE(GetIconInfo(moved.Get(), &info));
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
    }
    EXPECT_FALSE(GetIconInfo(icon, &info));
    EXPECT_EQ(LiveGdiCounts().icons, before);
}

}  // namespace
}  // namespace zam
