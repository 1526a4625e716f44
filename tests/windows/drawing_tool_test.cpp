#include <gtest/gtest.h>

#include <string>

#include "tests/windows/drawing_test.h"
#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

struct ChangeCounter {
    int changes = 0;
    explicit ChangeCounter(GraphicTool* tool) {
        tool->OnChange = MakeEvent(
            static_cast<void*>(this),
            +[](void* self, GraphicTool*) { ++static_cast<ChangeCounter*>(self)->changes; });
    }
};

LOGFONTW FontOf(HGDIOBJ font) {
    LOGFONTW info{};
    GetObjectW(font, sizeof info, &info);
    return info;
}

TEST(GraphicTool, ObjectsAreRemadeOnlyForADifferentValue) {
    GraphicTool* pen = NewPen();
    ChangeCounter penChanges(pen);
    pen->SetColor(RGB(255, 0, 0));
    HGDIOBJ made = pen->ToolHandle();
    pen->SetColor(RGB(255, 0, 0));
    pen->SetPenStyle(PS_SOLID);
    EXPECT_EQ(pen->ToolHandle(), made) << "the same colour keeps the pen";
    EXPECT_EQ(penChanges.changes, 1);
    pen->SetColor(RGB(0, 0, 255));
    EXPECT_EQ(GetObjectType(made), 0u) << "the old pen is deleted";
    EXPECT_EQ(penChanges.changes, 2);
    // The pen object does not depend on the mode, but a canvas must still select it.
    made = pen->ToolHandle();
    pen->SetPenMode(5);
    EXPECT_EQ(pen->ToolHandle(), made);
    EXPECT_EQ(penChanges.changes, 3);
    Free(pen);

    GraphicTool* font = NewFont();
    made = font->ToolHandle();
    font->SetFontHeight(DefaultFont().height);
    font->SetColor(RGB(1, 2, 3));  // the font object does not depend on it
    EXPECT_EQ(font->ToolHandle(), made);
    font->SetFontHeight(-30);
    EXPECT_EQ(GetObjectType(made), 0u);
    Free(font);
}

TEST(GraphicTool, FontStyleAndNameReachTheFontObject) {
    GraphicTool* font = NewFont();
    font->SetFontStyle(kFontBold);
    EXPECT_EQ(font->FontWeight(), 700);
    font->SetFontStyle(0);
    EXPECT_EQ(font->FontWeight(), 0);
    font->SetFontWeight(900);
    font->SetFontStyle(kFontBold | kFontUnderline);
    EXPECT_EQ(font->FontWeight(), 900) << "bold raises the weight, never lowers it";

    font->SetFontStyle(kFontBold | kFontItalic | kFontStrikeOut);
    font->SetFontName("Шрифт");
    LOGFONTW made = FontOf(font->ToolHandle());
    EXPECT_EQ(made.lfWeight, 900);
    EXPECT_TRUE(made.lfItalic);
    EXPECT_FALSE(made.lfUnderline);
    EXPECT_TRUE(made.lfStrikeOut);
    EXPECT_EQ(made.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(std::wstring(made.lfFaceName), L"Шрифт") << "Unicode whatever the code page";

    font->SetFontName(std::string(40, 'x'));
    EXPECT_EQ(font->FontName(), std::string(31, 'x'));
    EXPECT_EQ(std::wstring(FontOf(font->ToolHandle()).lfFaceName), std::wstring(31, L'x'));
    Free(font);
}

TEST(GraphicTool, ACopySharesItsSourceObjectUntilTheyDiffer) {
    GraphicTool* source = NewBrush();
    source->SetColor(RGB(255, 0, 0));
    GraphicTool* copy = NewBrush();
    copy->CopyFrom(source);
    HGDIOBJ shared = source->ToolHandle();
    EXPECT_EQ(copy->ToolHandle(), shared);

    copy->SetColor(RGB(0, 0, 255));
    HGDIOBJ own = copy->ToolHandle();
    EXPECT_NE(own, shared);
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
    ChangeCounter secondChanges(second);
    Free(source);
    EXPECT_EQ(GetObjectType(shared), 0u);
    EXPECT_EQ(secondChanges.changes, 1);
    LOGBRUSH made{};
    GetObjectW(second->ToolHandle(), sizeof made, &made);
    EXPECT_EQ(made.lbColor, RGB(255, 0, 0));
    Free(copy);
    Free(second);
}

TEST(GraphicTool, ACanvasLetsGoOfAChangedSourceAndResolvesSystemColoursWhenItDraws) {
    test::Surface surface(20, 10);
    Canvas* canvas = NewCanvas(nullptr);
    canvas->SetHandle(surface.Dc());
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

    canvas->Brush()->SetColor(0x80000000 | COLOR_BTNFACE);
    INT index = COLOR_BTNFACE;
    const COLORREF original = GetSysColor(COLOR_BTNFACE);
    const COLORREF changed = original == RGB(10, 200, 30) ? RGB(200, 10, 30) : RGB(10, 200, 30);
    canvas->FillRect({0, 0, 10, 10});
    EXPECT_EQ(surface.At(3, 3), original);
    SetSysColors(1, &index, &changed);
    const COLORREF now = GetSysColor(COLOR_BTNFACE);
    canvas->FillRect({0, 0, 10, 10});
    const COLORREF filled = surface.At(3, 3);
    // The remade brush replaced the stale one in the canvas's context as well.
    canvas->Rectangle(0, 0, 10, 10);
    const COLORREF rectangle = surface.At(5, 5);
    SetSysColors(1, &index, &original);
    ASSERT_EQ(now, changed) << "SetSysColors has no effect here";
    EXPECT_EQ(filled, changed);
    EXPECT_EQ(rectangle, changed);
    EXPECT_EQ(SwapRB(0x80000000 | COLOR_BTNFACE),
              RGB(GetBValue(original), GetGValue(original), GetRValue(original)));
    Free(canvas);
}

}  // namespace
}  // namespace zam
