#include <gtest/gtest.h>

#include <cstring>
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
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

TEST(Canvas, SelectsOnlyWhatEachOperationNeeds) {
    test::Surface surface(20, 20);
    Canvas* canvas = NewCanvas(nullptr);
    EXPECT_EQ(canvas->State(), 0u);
    canvas->SetHandle(surface.Dc());
    EXPECT_EQ(canvas->State(), Canvas::kHasContext);

    canvas->MoveTo(1, 1);
    canvas->Pixel(1, 1);
    EXPECT_EQ(canvas->State(), Canvas::kHasContext);
    EXPECT_EQ(canvas->PenPos().x, 1);

    canvas->FillRect({0, 0, 2, 2});
    EXPECT_EQ(canvas->State(), Canvas::kHasContext | Canvas::kBrushSelected);
    canvas->LineTo(5, 1);
    EXPECT_EQ(canvas->State(), Canvas::kHasContext | Canvas::kBrushSelected | Canvas::kPenSelected);
    EXPECT_EQ(canvas->PenPos().x, 5);
    canvas->TextOut(0, 5, "x");
    EXPECT_EQ(canvas->State(), Canvas::kHasContext | Canvas::kBrushSelected | Canvas::kPenSelected |
                                   Canvas::kFontSelected);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), canvas->Pen()->ToolHandle());

    // Any tool change puts the stock objects in and forgets every selection.
    canvas->Font()->SetFontHeight(-20);
    EXPECT_EQ(canvas->State(), Canvas::kHasContext);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_FONT), GetStockObject(SYSTEM_FONT));

    canvas->Rectangle(0, 0, 3, 3);
    EXPECT_EQ(canvas->State(), Canvas::kHasContext | Canvas::kBrushSelected | Canvas::kPenSelected);
    canvas->Release();
    EXPECT_EQ(canvas->State(), 0u);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    Free(canvas);
}

TEST(Canvas, BrushAndFontSetTheContextColours) {
    test::Surface surface(4, 4);
    test::RecordingOwner owner(surface.Dc(), false);
    Canvas* canvas = NewCanvas(&owner);

    // Without tools of its own the canvas uses the owner's colours, opaque.
    canvas->TextOut(0, 0, "");
    EXPECT_EQ(GetBkColor(surface.Dc()), owner.color);
    EXPECT_EQ(GetBkMode(surface.Dc()), OPAQUE);
    EXPECT_EQ(GetTextColor(surface.Dc()), owner.textColor);

    // Tools made on the canvas start in the owner's colours.
    EXPECT_EQ(canvas->Brush()->Color(), owner.color);
    EXPECT_EQ(canvas->Font()->Color(), owner.textColor);

    canvas->Brush()->SetColor(kRed);
    canvas->Font()->SetColor(0x80000000 | COLOR_HIGHLIGHT);
    canvas->TextOut(0, 0, "");
    EXPECT_EQ(GetBkColor(surface.Dc()), kRed);
    EXPECT_EQ(GetBkMode(surface.Dc()), OPAQUE);
    EXPECT_EQ(GetTextColor(surface.Dc()), GetSysColor(COLOR_HIGHLIGHT));

    canvas->Brush()->SetBrushStyle(kBrushClear);
    canvas->TextOut(0, 0, "");
    EXPECT_EQ(GetBkColor(surface.Dc()), RGB(0, 255, 255)) << "the inverse of red";
    EXPECT_EQ(GetBkMode(surface.Dc()), TRANSPARENT);
    Free(canvas);
}

TEST(Canvas, PenModeIsTheRop2CodeMinusOne) {
    test::Surface surface(10, 3, RGB(10, 20, 30));
    Canvas* canvas = NewCanvas(nullptr);
    canvas->SetHandle(surface.Dc());
    canvas->Pen()->SetColor(kRed);
    canvas->DrawLine({0, 0}, {10, 0});
    EXPECT_EQ(GetROP2(surface.Dc()), R2_COPYPEN);
    EXPECT_EQ(surface.At(4, 0), kRed);

    canvas->Pen()->SetPenMode(5);
    canvas->DrawLine({0, 1}, {10, 1});
    EXPECT_EQ(GetROP2(surface.Dc()), R2_NOT);
    EXPECT_EQ(surface.At(4, 1), RGB(245, 235, 225)) << "R2_NOT inverts what is there";
    EXPECT_EQ(surface.At(4, 2), RGB(10, 20, 30));

    canvas->DrawLine({0, 0}, {10, 0});
    EXPECT_EQ(surface.At(4, 0), RGB(0, 255, 255));
    Free(canvas);
}

TEST(Canvas, DashedPenGapsTakeTheBrushBackground) {
    test::Surface surface(60, 3, kWhite);
    Canvas* canvas = NewCanvas(nullptr);
    canvas->SetHandle(surface.Dc());
    canvas->Pen()->SetPenStyle(PS_DASH);
    canvas->Brush()->SetColor(kGreen);
    canvas->DrawLine({0, 1}, {60, 1});
    EXPECT_NE(canvas->State() & Canvas::kBrushSelected, 0u);
    int black = 0;
    int green = 0;
    for (int x = 0; x < 60; ++x) {
        const COLORREF pixel = surface.At(x, 1);
        black += pixel == RGB(0, 0, 0);
        green += pixel == kGreen;
    }
    EXPECT_GT(black, 0);
    EXPECT_GT(green, 0);
    EXPECT_EQ(black + green, 60) << "every gap is painted in the background colour";

    // A clear brush leaves the gaps alone.
    surface.Fill(kWhite);
    canvas->Brush()->SetBrushStyle(kBrushClear);
    canvas->DrawLine({0, 1}, {60, 1});
    EXPECT_EQ(surface.Count(kGreen), 0);
    EXPECT_GT(surface.Count(RGB(0, 0, 0)), 0);
    Free(canvas);
}

TEST(Canvas, FillRectFallsBackToTheOwnersBrushThenItsColour) {
    test::Surface surface(6, 6);
    const int objects = LiveGdiCounts().objects;
    {
        test::RecordingOwner owner(surface.Dc(), false);
        Canvas* canvas = NewCanvas(&owner);
        canvas->FillRect({0, 0, 6, 6});
        EXPECT_EQ(surface.At(2, 2), owner.color);
        EXPECT_EQ(LiveGdiCounts().objects, objects) << "the temporary brush is gone";

        GraphicTool* ownerBrush = NewBrush();
        ownerBrush->SetColor(kRed);
        owner.brush = ownerBrush;
        HRGN region = CreateRectRgn(0, 0, 3, 3);
        canvas->FillRgn(region);
        DeleteObject(region);
        EXPECT_EQ(surface.At(1, 1), kRed);
        EXPECT_EQ(surface.At(4, 4), owner.color);

        canvas->Brush()->SetColor(kGreen);  // the canvas's own brush wins
        canvas->FillRect({0, 0, 6, 6});
        EXPECT_EQ(surface.At(2, 2), kGreen);
        Free(canvas);
        Free(ownerBrush);
    }
    Canvas* orphan = NewCanvas(nullptr);
    orphan->SetHandle(surface.Dc());
    orphan->FillRect({0, 0, 6, 6});
    EXPECT_EQ(surface.At(2, 2), GetSysColor(COLOR_WINDOW));
    Free(orphan);
    EXPECT_EQ(LiveGdiCounts().objects, objects);
}

TEST(Canvas, OwnerContextIsAcquiredOnceAndGivenBackOnlyWhenAsked) {
    test::Surface surface(4, 4);
    test::RecordingOwner releasing(surface.Dc(), true);
    Canvas* canvas = NewCanvas(&releasing);
    EXPECT_EQ(canvas->Handle(), surface.Dc());
    canvas->FillRect({0, 0, 1, 1});
    canvas->LineTo(3, 3);
    EXPECT_EQ(releasing.acquired, 1);
    EXPECT_EQ(releasing.prepared, 1);
    canvas->Release();
    EXPECT_EQ(releasing.releases, 1);
    EXPECT_EQ(releasing.lastReleased, surface.Dc());
    canvas->Pixel(0, 0);
    EXPECT_EQ(releasing.acquired, 2);
    Free(canvas);  // freeing gives the context back too
    EXPECT_EQ(releasing.releases, 2);

    test::RecordingOwner keeping(surface.Dc(), false);
    canvas = NewCanvas(&keeping);
    canvas->Pixel(0, 0);
    canvas->Release();
    EXPECT_EQ(keeping.releases, 0) << "a paint context stays with its owner";
    Free(canvas);

    // No context to be had: every operation does nothing.
    const std::vector<COLORREF> pixels = surface.Pixels();
    test::RecordingOwner empty(nullptr);
    canvas = NewCanvas(&empty);
    canvas->FillRect({0, 0, 4, 4});
    canvas->TextOut(0, 0, "текст");
    canvas->DrawLine({0, 0}, {4, 4});
    canvas->FillRgn(nullptr);
    EXPECT_EQ(canvas->Pixel(0, 0), CLR_INVALID);
    EXPECT_EQ(canvas->State(), 0u);
    EXPECT_EQ(empty.releases, 0);
    Free(canvas);
    canvas = NewCanvas(nullptr);
    canvas->Rectangle(0, 0, 2, 2);
    EXPECT_EQ(canvas->Handle(), nullptr);
    Free(canvas);
    EXPECT_EQ(surface.Pixels(), pixels);
}

TEST(Canvas, RussianTextDrawsAsItsUnicodeTextWhateverTheCodePage) {
    const std::wstring wide = L"Шифротекст: Ёё №";
    const std::string text = "Шифротекст: Ёё №";  // Windows-1251 bytes
    test::Surface viaCanvas(200, 30);
    test::Surface viaW(200, 30);

    Canvas* canvas = NewCanvas(nullptr);
    canvas->SetHandle(viaCanvas.Dc());
    canvas->Font()->SetColor(RGB(0, 0, 0));
    canvas->Font()->SetFontHeight(-16);
    canvas->Brush()->SetColor(kWhite);
    canvas->TextOut(2, 2, text);

    LOGFONTW reference{};
    GetObjectW(canvas->Font()->ToolHandle(), sizeof reference, &reference);
    EXPECT_EQ(reference.lfCharSet, RUSSIAN_CHARSET);
    OwnedFont font(CreateFontIndirectW(&reference));
    SelectGuard selected(viaW.Dc(), font.Get());
    SetTextColor(viaW.Dc(), RGB(0, 0, 0));
    SetBkColor(viaW.Dc(), kWhite);
    SetBkMode(viaW.Dc(), OPAQUE);
    TextOutW(viaW.Dc(), 2, 2, wide.c_str(), static_cast<int>(wide.size()));

    EXPECT_GT(viaW.Count(RGB(0, 0, 0)), 50) << "something was drawn";
    EXPECT_EQ(viaCanvas.Pixels(), viaW.Pixels());

    SIZE expected{};
    GetTextExtentPoint32W(viaW.Dc(), wide.c_str(), static_cast<int>(wide.size()), &expected);
    const SIZE measured = canvas->TextExtent(text);
    EXPECT_GT(measured.cx, 0);
    EXPECT_EQ(measured.cx, expected.cx);
    EXPECT_EQ(measured.cy, expected.cy);

    // Without a context the canvas measures in a memory context of its own.
    canvas->Release();
    const int dcs = LiveGdiCounts().memoryDcs;
    const SIZE offContext = canvas->TextExtent(text);
    EXPECT_EQ(offContext.cx, expected.cx);
    EXPECT_EQ(offContext.cy, expected.cy);
    EXPECT_EQ(LiveGdiCounts().memoryDcs, dcs);
    EXPECT_EQ(canvas->TextExtent("").cx, 0);
    Free(canvas);
}

}  // namespace
}  // namespace zam
