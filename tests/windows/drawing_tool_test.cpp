#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/windows/drawing_test.h"
#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

struct ChangeCounter {
    int changes = 0;
    static void Count(void* self, GraphicTool*) { ++static_cast<ChangeCounter*>(self)->changes; }
    void Watch(GraphicTool* tool) { tool->OnChange = MakeEvent(static_cast<void*>(this), &Count); }
};

LOGFONTW FontOf(HGDIOBJ font) {
    LOGFONTW info{};
    GetObjectW(font, sizeof info, &info);
    return info;
}

// Puts a system colour back however the test ends.
class SystemColorScope {
public:
    SystemColorScope(int index, COLORREF color) : index_(index), saved_(GetSysColor(index)) {
        SetSysColors(1, &index_, &color);
    }
    ~SystemColorScope() { SetSysColors(1, &index_, &saved_); }

private:
    INT index_;
    COLORREF saved_;
};

TEST(GraphicTool, NewToolsHaveTheToolkitDefaults) {
    GraphicTool* brush = NewBrush();
    GraphicTool* pen = NewPen();
    GraphicTool* font = NewFont();
    EXPECT_EQ(brush->Color(), 0x8000000Fu);
    EXPECT_EQ(pen->Color(), 0u);
    EXPECT_EQ(pen->PenMode(), 12);
    EXPECT_EQ(font->Color(), kDefaultFontColor);

    // The font object is made as described, Russian charset and the system GUI font's height.
    const LOGFONTW made = FontOf(font->ToolHandle());
    EXPECT_EQ(std::wstring(made.lfFaceName), L"Arial");
    EXPECT_EQ(made.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(made.lfHeight, FontOf(GetStockObject(DEFAULT_GUI_FONT)).lfHeight);
    Free(brush);
    Free(pen);
    Free(font);
}

TEST(GraphicTool, SettersChangeOnlyOnADifferentValue) {
    struct Case {
        const char* name;
        GraphicTool* (*make)();
        std::function<void(GraphicTool*)> setSame;
        std::function<void(GraphicTool*)> setOther;
    };
    const std::vector<Case> cases = {
        {"pen colour", NewPen, [](GraphicTool* t) { t->SetColor(0); },
         [](GraphicTool* t) { t->SetColor(RGB(255, 0, 0)); }},
        {"pen style", NewPen, [](GraphicTool* t) { t->SetPenStyle(PS_SOLID); },
         [](GraphicTool* t) { t->SetPenStyle(PS_DOT); }},
        {"brush style", NewBrush, [](GraphicTool* t) { t->SetBrushStyle(kBrushSolid); },
         [](GraphicTool* t) { t->SetBrushStyle(kBrushClear); }},
        {"font height", NewFont, [](GraphicTool* t) { t->SetFontHeight(DefaultFont().height); },
         [](GraphicTool* t) { t->SetFontHeight(-30); }},
        {"font name", NewFont, [](GraphicTool* t) { t->SetFontName("Arial"); },
         [](GraphicTool* t) { t->SetFontName("Courier New"); }},
        {"font quality", NewFont, [](GraphicTool* t) { t->SetFontQuality(DefaultFont().quality); },
         [](GraphicTool* t) { t->SetFontQuality(NONANTIALIASED_QUALITY); }},
        {"font style", NewFont, [](GraphicTool* t) { t->SetFontStyle(0); },
         [](GraphicTool* t) { t->SetFontStyle(kFontItalic); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GraphicTool* tool = c.make();
        ChangeCounter counter;
        counter.Watch(tool);
        HGDIOBJ made = tool->ToolHandle();
        ASSERT_NE(made, nullptr);
        c.setSame(tool);
        EXPECT_EQ(counter.changes, 0);
        EXPECT_EQ(tool->ToolHandle(), made);
        EXPECT_NE(GetObjectType(made), 0u);

        c.setOther(tool);
        EXPECT_EQ(counter.changes, 1);
        EXPECT_EQ(GetObjectType(made), 0u) << "the old object is deleted";
        EXPECT_NE(tool->ToolHandle(), nullptr);
        Free(tool);
    }

    // What the object does not depend on keeps it: a font's colour, a pen's mode.
    GraphicTool* font = NewFont();
    HGDIOBJ fontObject = font->ToolHandle();
    font->SetColor(RGB(1, 2, 3));
    EXPECT_EQ(font->ToolHandle(), fontObject);
    EXPECT_EQ(font->ResolvedColor(), RGB(1, 2, 3));
    Free(font);
    GraphicTool* pen = NewPen();
    ChangeCounter penChanges;
    penChanges.Watch(pen);
    HGDIOBJ penObject = pen->ToolHandle();
    pen->SetPenMode(5);
    EXPECT_EQ(pen->ToolHandle(), penObject);
    EXPECT_EQ(penChanges.changes, 1) << "a canvas must still select the new mode";
    Free(pen);
}

TEST(GraphicTool, BoldStyleAndWeightFollowEachOther) {
    GraphicTool* font = NewFont();
    font->SetFontStyle(kFontBold);
    EXPECT_EQ(font->FontWeight(), 700);
    EXPECT_EQ(font->FontStyle(), kFontBold);
    font->SetFontStyle(0);
    EXPECT_EQ(font->FontWeight(), 0);

    font->SetFontWeight(900);
    font->SetFontStyle(kFontBold | kFontUnderline);
    EXPECT_EQ(font->FontWeight(), 900) << "bold raises the weight, never lowers it";
    font->SetFontStyle(kFontUnderline);
    EXPECT_EQ(font->FontWeight(), 0);

    font->SetFontWeight(300);
    font->SetFontStyle(kFontItalic | kFontStrikeOut);
    EXPECT_EQ(font->FontWeight(), 300) << "a light weight is not bold to clear";
    EXPECT_EQ(font->FontStyle(), kFontItalic | kFontStrikeOut);

    font->SetFontStyle(kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut);
    const LOGFONTW made = FontOf(font->ToolHandle());
    EXPECT_EQ(made.lfWeight, 700);
    EXPECT_TRUE(made.lfItalic);
    EXPECT_TRUE(made.lfUnderline);
    EXPECT_TRUE(made.lfStrikeOut);
    Free(font);
}

TEST(GraphicTool, FontNameKeepsAtMost31CharactersAndReachesTheSystemAsUnicode) {
    GraphicTool* font = NewFont();
    font->SetFontName(std::string(40, 'x'));
    EXPECT_EQ(font->FontName(), std::string(31, 'x'));
    EXPECT_EQ(std::wstring(FontOf(font->ToolHandle()).lfFaceName), std::wstring(31, L'x'));

    font->SetFontName("Шрифт");
    EXPECT_EQ(font->FontName(), "Шрифт");
    const std::wstring expected = L"Шрифт";
    EXPECT_EQ(std::wstring(FontOf(font->ToolHandle()).lfFaceName), expected);

    font->SetFontName(std::string("ab\0cd", 5));  // stops at an embedded NUL
    EXPECT_EQ(font->FontName(), "ab");
    font->SetFontName("");
    EXPECT_EQ(font->FontName(), "");
    Free(font);
}

TEST(GraphicTool, CopySharesItsSourceObjectUntilTheyDiffer) {
    GraphicTool* source = NewBrush();
    source->SetColor(RGB(255, 0, 0));
    GraphicTool* copy = NewBrush();
    copy->CopyFrom(source);
    EXPECT_EQ(copy->Color(), RGB(255, 0, 0));
    EXPECT_EQ(copy->Source(), source);
    HGDIOBJ shared = source->ToolHandle();
    EXPECT_EQ(copy->ToolHandle(), shared);
    EXPECT_FALSE(copy->HasOwnHandle());

    copy->SetColor(RGB(0, 0, 255));
    HGDIOBJ own = copy->ToolHandle();
    EXPECT_NE(own, shared);
    EXPECT_TRUE(copy->HasOwnHandle());
    EXPECT_NE(GetObjectType(shared), 0u) << "the copy's change leaves the source's object";

    copy->SetColor(RGB(255, 0, 0));
    EXPECT_EQ(copy->ToolHandle(), shared) << "describing the same object again shares it";
    EXPECT_EQ(GetObjectType(own), 0u);

    // A copy of a copy shares the first object too.
    GraphicTool* second = NewBrush();
    second->CopyFrom(copy);
    EXPECT_EQ(second->ToolHandle(), shared);

    // Refused: cycles and other kinds.
    source->CopyFrom(second);
    EXPECT_EQ(source->Source(), nullptr);
    GraphicTool* pen = NewPen();
    pen->CopyFrom(source);
    EXPECT_EQ(pen->Source(), nullptr);
    EXPECT_EQ(pen->Color(), 0u);
    Free(pen);

    // Freeing the source: the copies that borrowed its object are told, then make their own.
    ChangeCounter copyChanges;
    copyChanges.Watch(copy);
    ChangeCounter secondChanges;
    secondChanges.Watch(second);
    Free(source);
    EXPECT_EQ(GetObjectType(shared), 0u);
    EXPECT_EQ(copy->Source(), nullptr);
    EXPECT_EQ(copyChanges.changes, 1);
    EXPECT_EQ(secondChanges.changes, 1);
    LOGBRUSH made{};
    GetObjectW(second->ToolHandle(), sizeof made, &made);
    EXPECT_EQ(made.lbColor, RGB(255, 0, 0));
    Free(copy);  // the source goes before its copy
    EXPECT_EQ(second->Source(), nullptr);
    Free(second);
}

TEST(GraphicTool, ASourceChangeDeselectsTheCopyWhereverItIsSelected) {
    test::Surface surface(20, 4);
    Canvas* canvas = NewCanvas(nullptr);
    canvas->SetHandle(surface.Dc());
    GraphicTool* source = NewPen();
    source->SetColor(RGB(255, 0, 0));
    canvas->Pen()->CopyFrom(source);
    canvas->DrawLine({0, 1}, {20, 1});
    HGDIOBJ shared = source->ToolHandle();
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), shared);

    source->SetColor(RGB(0, 255, 0));
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(canvas->State() & Canvas::kPenSelected, 0u);
    EXPECT_EQ(GetObjectType(shared), 0u);

    canvas->DrawLine({0, 2}, {20, 2});
    EXPECT_EQ(surface.At(5, 2), RGB(255, 0, 0)) << "the copy keeps its own description";
    Free(source);
    Free(canvas);
}

TEST(GraphicTool, SystemColourResolvesAtDrawingTimeAndRemakesTheTool) {
    test::Surface surface(10, 10);
    Canvas* canvas = NewCanvas(nullptr);
    canvas->SetHandle(surface.Dc());
    GraphicTool* brush = canvas->Brush();
    brush->SetColor(0x8000000F);

    const COLORREF original = GetSysColor(COLOR_BTNFACE);
    const COLORREF changed = original == RGB(10, 200, 30) ? RGB(200, 10, 30) : RGB(10, 200, 30);
    canvas->FillRect({0, 0, 10, 10});
    EXPECT_EQ(surface.At(3, 3), original);
    EXPECT_EQ(brush->ResolvedColor(), original);
    {
        SystemColorScope scope(COLOR_BTNFACE, changed);
        ASSERT_EQ(GetSysColor(COLOR_BTNFACE), changed) << "SetSysColors has no effect here";
        EXPECT_EQ(ColorToRGB(0x8000000F), changed);
        canvas->FillRect({0, 0, 10, 10});
        EXPECT_EQ(surface.At(3, 3), changed);
        EXPECT_EQ(brush->ResolvedColor(), changed);
        LOGBRUSH made{};
        GetObjectW(brush->ToolHandle(), sizeof made, &made);
        EXPECT_EQ(made.lbColor, changed);

        // The remade brush replaced the stale one in the canvas's context as well.
        surface.Fill(RGB(255, 255, 255));
        canvas->Rectangle(0, 0, 10, 10);
        EXPECT_EQ(surface.At(5, 5), changed);
        EXPECT_EQ(GetBkColor(surface.Dc()), changed);
    }
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), original);
    EXPECT_EQ(SwapRB(RGB(1, 2, 3)), RGB(3, 2, 1));
    EXPECT_EQ(SwapRB(0x8000000F),
              RGB(GetBValue(original), GetGValue(original), GetRValue(original)));
    Free(canvas);
}

}  // namespace
}  // namespace zam
