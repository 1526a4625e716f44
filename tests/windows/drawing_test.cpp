// Every handle the drawing layer makes is given back, checked on the system's side: Wine's
// GetGuiResources reports 0 whatever is alive, and the toolkit's own counts cannot see a
// handle whose release was skipped while the count still dropped.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/windows/drawing_test.h"
#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

// Moves are where an owner deletes twice or not at all.
TEST(GdiWrappers, OwnersReleaseOnceAcrossMovesAndPutSelectionsBack) {
    const GdiCounts before = LiveGdiCounts();
    HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                  nullptr, nullptr);
    HDC memory = nullptr;
    HDC windowDc = nullptr;
    HDC screenDc = nullptr;
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

        WindowDC screen(nullptr);
        screenDc = screen.Get();
        WindowDC held(window);
        WindowDC movedDc(std::move(held));
        windowDc = movedDc.Get();
        ASSERT_NE(windowDc, nullptr);
    }
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(memory), 0u) << "DeleteDC";
    // ReleaseDC answers 1 only for a context still held: 0 here means the owner released it.
    EXPECT_EQ(ReleaseDC(window, windowDc), 0) << "ReleaseDC of the window's context";
    EXPECT_EQ(ReleaseDC(nullptr, screenDc), 0) << "ReleaseDC of the screen's context";
    EXPECT_EQ(LiveGdiCounts().objects, before.objects);
    EXPECT_EQ(LiveGdiCounts().memoryDcs, before.memoryDcs);
    EXPECT_EQ(LiveGdiCounts().windowDcs, before.windowDcs);
    DestroyWindow(window);
}

TEST(Drawing, EverythingMadeIsReleased) {
    const std::vector<int> live = test::LiveDrawingCounts();
    test::Surface surface(40, 40);
    // Handles seen along the way; after the frees, none may still name a GDI object.
    std::vector<HGDIOBJ> seen;
    for (int i = 0; i < 1500; ++i) {
        GraphicTool* font = NewFont();
        GraphicTool* copy = NewFont();
        copy->CopyFrom(font);
        seen.push_back(copy->ToolHandle());
        copy->SetFontStyle(kFontBold);
        seen.push_back(copy->ToolHandle());

        Bitmap* bitmap = NewBitmap(6 + i % 5, 5);
        seen.push_back(bitmap->Handle());
        Canvas* canvas = bitmap->GetCanvas();
        canvas->Font()->CopyFrom(font);
        canvas->Brush()->SetColor(RGB(i % 256, 0, 0));
        canvas->Pen()->SetPenStyle(PS_DOT);
        canvas->TextOut(0, 0, "Ключ");
        canvas->DrawLine({0, 0}, {5, 5});
        seen.push_back(canvas->Pen()->ToolHandle());
        seen.push_back(canvas->Brush()->ToolHandle());
        seen.push_back(canvas->Handle());  // the bitmap's memory context
        bitmap->DrawTransparent(surface.Dc(), 0, 0, RGB(255, 0, 0));
        bitmap->SetWidth(9);
        bitmap->SetHandleType(i % 2 ? BitmapHandleType::DeviceIndependent
                                    : BitmapHandleType::DeviceDependent);
        Bitmap* copyOfBitmap = NewBitmap(0, 0);
        copyOfBitmap->Assign(bitmap);
        copyOfBitmap->StretchDraw(surface.Dc(), {0, 0, 40, 40});
        seen.push_back(copyOfBitmap->Handle());

        Canvas* standalone = NewCanvas(nullptr);
        standalone->SetHandle(surface.Dc());
        standalone->Brush()->SetColor(RGB(0, i % 256, 0));
        standalone->FillRect({0, 0, 4, 4});
        standalone->TextExtent("abc");

        // Freed in an order that leaves copies without their source.
        Free(font);
        Free(standalone);
        Free(bitmap);
        Free(copyOfBitmap);
        Free(copy);
    }
    EXPECT_EQ(test::LiveDrawingCounts(), live);
    int alive = 0;
    for (HGDIOBJ handle : seen)
        alive += handle && GetObjectType(handle) != 0;
    EXPECT_EQ(alive, 0);
}

}  // namespace
}  // namespace zam
