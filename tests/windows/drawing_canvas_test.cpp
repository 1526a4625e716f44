// The canvas and its pen, brush and font: what each drawing call leaves in the context, whose
// context and brush it uses, Russian text, and tools remade only when their value changes,
// shared between copies and let go of wherever they are selected.
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

int changes = 0;
void CountChanges(GraphicTool* tool) {
    changes = 0;
    tool->OnChange = MakeEvent(
        nullptr, +[](void*, GraphicTool*) { ++changes; });
}

TEST(Canvas, ItsToolsSetTheContextsModesAndAToolChangeDeselectsEverything) {
    test::Surface surface(60, 8, RGB(10, 20, 30));
    Canvas* canvas = On(surface);
    canvas->Brush()->SetColor(kGreen);
    canvas->TextOut(0, 0, "");
    EXPECT_EQ(GetBkColor(surface.Dc()), kGreen) << "the brush sets the background";
    EXPECT_EQ(GetBkMode(surface.Dc()), OPAQUE);
    // A dashed pen selects the brush: its gaps take the background colour.
    canvas->Pen()->SetPenStyle(PS_DASH);
    canvas->DrawLine({0, 1}, {60, 1});
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), canvas->Pen()->ToolHandle());
    EXPECT_GT(surface.Count(kBlack), 0);
    EXPECT_GT(surface.Count(kGreen), 0);
    EXPECT_EQ(surface.Count(kBlack) + surface.Count(kGreen), 60);

    // Any tool change puts the stock objects in, so the old object can go.
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
    EXPECT_EQ(surface.At(4, 2), RGB(245, 235, 225)) << "R2_NOT inverts what is there";
    Free(canvas);
}

// An owner's context: a control's canvas draws in its colour (see ControlEvents' paint test)
// and gives its GetDC context back (see ControlLifetime's thousands of controls).
TEST(Canvas, WithoutAContextEveryOperationDoesNothing) {
    Canvas* canvas = NewCanvas(nullptr);
    canvas->FillRect({0, 0, 4, 4});
    canvas->TextOut(0, 0, "текст");
    EXPECT_EQ(canvas->Pixel(0, 0), CLR_INVALID);
    Free(canvas);
}

TEST(Canvas, RussianTextDrawsAndMeasuresAsItsUnicodeTextInANamedFont) {
    const std::wstring wide = L"Шифротекст: Ёё №";
    const std::string text = "Шифротекст: Ёё №";  // Windows-1251 bytes
    test::Surface viaCanvas(200, 30);
    test::Surface viaW(200, 30);
    Canvas* canvas = On(viaCanvas);
    canvas->Font()->SetColor(kBlack);
    canvas->Font()->SetFontName("Arial");
    canvas->Font()->SetFontStyle(kFontBold | kFontItalic);
    canvas->Brush()->SetColor(kWhite);
    canvas->TextOut(2, 2, text);

    LOGFONTW reference{};
    GetObjectW(canvas->Font()->ToolHandle(), sizeof reference, &reference);
    EXPECT_EQ(std::wstring(reference.lfFaceName), L"Arial");
    EXPECT_EQ(reference.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(reference.lfWeight, 700);
    EXPECT_TRUE(reference.lfItalic);
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

TEST(GraphicTool, ObjectsAreRemadeOnlyForADifferentValueAndCopiesShareThem) {
    GraphicTool* pen = NewPen();
    CountChanges(pen);
    pen->SetColor(RGB(255, 0, 0));
    HGDIOBJ made = pen->ToolHandle();
    pen->SetColor(RGB(255, 0, 0));
    EXPECT_EQ(pen->ToolHandle(), made) << "the same colour keeps the pen";
    pen->SetColor(RGB(0, 0, 255));
    EXPECT_EQ(GetObjectType(made), 0u) << "the old pen is deleted";
    pen->SetPenMode(5);  // no new object, but a canvas must select it anew
    EXPECT_EQ(changes, 3);
    Free(pen);

    GraphicTool* source = NewBrush();
    source->SetColor(RGB(255, 0, 0));
    GraphicTool* copy = NewBrush();
    copy->CopyFrom(source);
    HGDIOBJ shared = source->ToolHandle();
    EXPECT_EQ(copy->ToolHandle(), shared);
    copy->SetColor(RGB(0, 0, 255));
    HGDIOBJ own = copy->ToolHandle();
    EXPECT_NE(GetObjectType(shared), 0u) << "the copy's change leaves the source's object";
    copy->SetColor(RGB(255, 0, 0));
    EXPECT_EQ(copy->ToolHandle(), shared) << "describing the same object again shares it";
    EXPECT_EQ(GetObjectType(own), 0u);
    GraphicTool* second = NewBrush();
    second->CopyFrom(copy);
    EXPECT_EQ(second->ToolHandle(), shared) << "a copy of a copy shares the first object";
    source->CopyFrom(second);
    EXPECT_EQ(source->Source(), nullptr) << "no cycles";

    // Freeing the source: the copies that borrowed its object are told, then make their own.
    CountChanges(second);
    Free(source);
    EXPECT_EQ(GetObjectType(shared), 0u);
    EXPECT_EQ(changes, 1);
    LOGBRUSH made2{};
    GetObjectW(second->ToolHandle(), sizeof made2, &made2);
    EXPECT_EQ(made2.lbColor, RGB(255, 0, 0));
    Free(copy);
    Free(second);
}

TEST(GraphicTool, ACanvasLetsGoOfAChangedSourceAndResolvesSystemColoursWhenItDraws) {
    test::Surface surface(20, 10);
    Canvas* canvas = On(surface);
    // A source change deselects the copy wherever it is selected, before the object goes.
    GraphicTool* source = NewPen();
    source->SetColor(RGB(255, 0, 0));
    canvas->Pen()->CopyFrom(source);
    canvas->DrawLine({0, 1}, {20, 1});
    HGDIOBJ shared = source->ToolHandle();
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), shared);
    source->SetColor(RGB(0, 255, 0));
    EXPECT_EQ(GetObjectType(shared), 0u);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    canvas->DrawLine({0, 2}, {20, 2});
    EXPECT_EQ(surface.At(5, 2), RGB(255, 0, 0)) << "the copy keeps its own description";
    Free(source);

    // A system colour is resolved when drawn: after a scheme change the remade brush fills,
    // and replaces the stale one selected in the context.
    canvas->Brush()->SetColor(kBtnFaceColor);
    canvas->FillRect({0, 0, 10, 10});
    INT index = COLOR_BTNFACE;
    const COLORREF original = GetSysColor(COLOR_BTNFACE);
    const COLORREF changed = original ^ RGB(255, 255, 255);
    EXPECT_EQ(surface.At(3, 3), original);
    SetSysColors(1, &index, &changed);
    canvas->FillRect({0, 0, 10, 10});
    const COLORREF filled = surface.At(3, 3);
    canvas->Rectangle(0, 0, 10, 10);
    const COLORREF rectangle = surface.At(5, 5);
    SetSysColors(1, &index, &original);
    EXPECT_EQ(filled, changed);
    EXPECT_EQ(rectangle, changed);
    Free(canvas);
}

}  // namespace
}  // namespace zam
