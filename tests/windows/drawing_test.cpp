#include <gtest/gtest.h>

#include <vector>

#include "tests/windows/drawing_test.h"
#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

TEST(Drawing, EverythingMadeIsReleased) {
    const std::vector<int> live = test::LiveDrawingCounts();
    test::Surface surface(40, 40);
    // Handles seen along the way; after the frees, none may still name a GDI object. (Wine's
    // GetGuiResources reports 0 whatever is alive, so this is the independent check.)
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
