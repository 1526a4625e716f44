#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/windows/drawing_test.h"
#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// A canvas drawing straight on a surface's context.
Canvas* On(const test::Surface& surface) {
    Canvas* canvas = NewCanvas(nullptr);
    canvas->SetHandle(surface.Dc());
    return canvas;
}

TEST(Canvas, SelectsOnlyWhatEachOperationNeedsAndItsToolsSetTheContextsModes) {
    test::Surface surface(60, 8, RGB(10, 20, 30));
    Canvas* canvas = On(surface);
    canvas->Pixel(1, 1);
    EXPECT_EQ(canvas->State(), Canvas::kHasContext);
    canvas->FillRect({0, 0, 2, 2});
    EXPECT_EQ(canvas->State(), Canvas::kHasContext | Canvas::kBrushSelected);
    canvas->Brush()->SetColor(kGreen);
    canvas->TextOut(0, 0, "");
    EXPECT_EQ(canvas->State(),
              Canvas::kHasContext | Canvas::kBrushSelected | Canvas::kFontSelected);
    EXPECT_EQ(GetBkColor(surface.Dc()), kGreen) << "the brush sets the background";
    EXPECT_EQ(GetBkMode(surface.Dc()), OPAQUE);
    // A dashed pen selects the brush: its gaps take the background colour.
    canvas->Pen()->SetPenStyle(PS_DASH);
    canvas->DrawLine({0, 1}, {60, 1});
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), canvas->Pen()->ToolHandle());
    EXPECT_GT(surface.Count(kBlack), 0);
    EXPECT_GT(surface.Count(kGreen), 0);
    EXPECT_EQ(surface.Count(kBlack) + surface.Count(kGreen), 60);

    // Any tool change puts the stock objects in and forgets every selection.
    canvas->Font()->SetFontHeight(-20);
    EXPECT_EQ(canvas->State(), Canvas::kHasContext);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_FONT), GetStockObject(SYSTEM_FONT));

    // A clear brush: transparent, with the inverse colour as background.
    canvas->Brush()->SetBrushStyle(kBrushClear);
    canvas->TextOut(0, 0, "");
    EXPECT_EQ(GetBkColor(surface.Dc()), RGB(255, 0, 255)) << "the inverse of green";
    EXPECT_EQ(GetBkMode(surface.Dc()), TRANSPARENT);
    // The pen mode is the ROP2 code minus one.
    canvas->Pen()->SetPenStyle(PS_SOLID);
    canvas->Pen()->SetPenMode(5);
    canvas->DrawLine({0, 2}, {60, 2});
    EXPECT_EQ(GetROP2(surface.Dc()), R2_NOT);
    EXPECT_EQ(surface.At(4, 2), RGB(245, 235, 225)) << "R2_NOT inverts what is there";
    Free(canvas);
}

TEST(Canvas, AnOwnersContextIsAcquiredOnceGivenBackWhenAskedAndItsBrushFills) {
    test::Surface surface(6, 6);
    const int objects = LiveGdiCounts().objects;
    test::RecordingOwner releasing(surface.Dc(), true);  // as from GetDC
    Canvas* canvas = NewCanvas(&releasing);
    // Without a brush of its own the canvas fills with the owner's brush, else its colour.
    canvas->FillRect({0, 0, 6, 6});
    EXPECT_EQ(surface.At(2, 2), releasing.color);
    EXPECT_EQ(LiveGdiCounts().objects, objects) << "the temporary brush is gone";
    canvas->LineTo(3, 3);
    EXPECT_EQ(releasing.acquired, 1);
    EXPECT_EQ(releasing.prepared, 1);
    GraphicTool* ownerBrush = NewBrush();
    ownerBrush->SetColor(kRed);
    releasing.brush = ownerBrush;
    canvas->FillRect({0, 0, 3, 3});
    EXPECT_EQ(surface.At(1, 1), kRed);
    canvas->Brush()->SetColor(kGreen);  // the canvas's own brush wins
    canvas->FillRect({0, 0, 6, 6});
    EXPECT_EQ(surface.At(2, 2), kGreen);
    canvas->Release();
    EXPECT_EQ(releasing.releases, 1);
    canvas->Pixel(0, 0);
    Free(canvas);  // freeing gives the context back too
    Free(ownerBrush);
    EXPECT_EQ(releasing.acquired, 2);
    EXPECT_EQ(releasing.releases, 2);

    test::RecordingOwner keeping(surface.Dc(), false);  // a paint context
    canvas = NewCanvas(&keeping);
    canvas->Pixel(0, 0);
    Free(canvas);
    EXPECT_EQ(keeping.releases, 0);

    // No context to be had: every operation does nothing.
    const std::vector<COLORREF> pixels = surface.Pixels();
    test::RecordingOwner empty(nullptr);
    canvas = NewCanvas(&empty);
    canvas->FillRect({0, 0, 4, 4});
    canvas->TextOut(0, 0, "текст");
    EXPECT_EQ(canvas->Pixel(0, 0), CLR_INVALID);
    Free(canvas);
    EXPECT_EQ(surface.Pixels(), pixels);
}

TEST(Canvas, RussianTextDrawsAndMeasuresAsItsUnicodeTextWhateverTheCodePage) {
    const std::wstring wide = L"Шифротекст: Ёё №";
    const std::string text = "Шифротекст: Ёё №";  // Windows-1251 bytes
    test::Surface viaCanvas(200, 30);
    test::Surface viaW(200, 30);
    Canvas* canvas = On(viaCanvas);
    canvas->Font()->SetColor(kBlack);
    canvas->Brush()->SetColor(kWhite);
    canvas->TextOut(2, 2, text);

    LOGFONTW reference{};
    GetObjectW(canvas->Font()->ToolHandle(), sizeof reference, &reference);
    OwnedFont font(CreateFontIndirectW(&reference));
    SelectGuard selected(viaW.Dc(), font.Get());
    TextOutW(viaW.Dc(), 2, 2, wide.c_str(), static_cast<int>(wide.size()));
    EXPECT_GT(viaW.Count(kBlack), 50) << "something was drawn";
    EXPECT_EQ(viaCanvas.Pixels(), viaW.Pixels());

    SIZE expected{};
    GetTextExtentPoint32W(viaW.Dc(), wide.c_str(), static_cast<int>(wide.size()), &expected);
    EXPECT_EQ(canvas->TextExtent(text).cx, expected.cx);
    // Without a context the canvas measures in a memory context of its own, and frees it.
    canvas->Release();
    const int dcs = LiveGdiCounts().memoryDcs;
    EXPECT_EQ(canvas->TextExtent(text).cx, expected.cx);
    EXPECT_EQ(LiveGdiCounts().memoryDcs, dcs);
    Free(canvas);
}

}  // namespace
}  // namespace zam
