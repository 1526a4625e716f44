// The drawing layer: every handle it makes is given back, counted by the fixture and, for the
// owners, checked on the system's side (Wine's GetGuiResources reports 0 whatever is alive, and
// the toolkit's own counts cannot see a handle whose release was skipped while the count still
// dropped); bitmaps as the skin uses them; the canvas and its pen, brush and font, let go of
// wherever they are selected.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/windows/drawing_test.h"
#include "toolkit/bitmap.h"
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
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kGrey = RGB(90, 90, 90);

using Drawing = test::DrawingTest;

// Moves are where an owner deletes twice or not at all.
TEST_F(Drawing, GdiWrapperOwnersReleaseOnceAcrossMovesAndPutSelectionsBack) {
    HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                  nullptr, nullptr);
    HDC memory = nullptr;
    HDC windowDc = nullptr;
    {
        OwnedBrush owner(first);
        OwnedBrush target(second);
        target = std::move(owner);
        EXPECT_EQ(GetObjectType(second), 0u) << "the replaced brush is deleted";

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

        WindowDC held(window);
        WindowDC movedDc(std::move(held));
        windowDc = movedDc.Get();
        ASSERT_NE(windowDc, nullptr);
    }
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(memory), 0u) << "DeleteDC";
    // ReleaseDC answers 1 only for a context still held: 0 here means the owner released it.
    EXPECT_EQ(ReleaseDC(window, windowDc), 0) << "ReleaseDC of the window's context";
    DestroyWindow(window);
}

void FillArea(Bitmap* bitmap, const Rect& rect, COLORREF color) {
    Canvas* canvas = bitmap->GetCanvas();
    canvas->Brush()->SetColor(color);
    canvas->FillRect(rect);
}

TEST_F(Drawing, BitmapEmptyOnesDrawNothingAndSizesAndCopiesKeepThePicture) {
    test::Surface surface(60, 10, kGrey);
    for (Bitmap* empty : {NewBitmap(0, 0), NewBitmap(5, 0), NewBitmap(1 << 30, 1 << 30)}) {
        EXPECT_TRUE(empty->Empty());
        EXPECT_EQ(empty->GetCanvas(), nullptr);
        empty->Draw(surface.Dc(), 0, 0);
        empty->StretchDraw(surface.Dc(), {0, 0, 10, 10});
        empty->DrawTransparent(surface.Dc(), 0, 0, kMagenta);
        Free(empty);
    }
    EXPECT_EQ(surface.Count(kGrey), 600);

    // Red above blue, grown to 3 x 3: the new area is white. The copy keeps its own picture
    // while the source shrinks to 1 x 2 and keeps what is left of its own.
    Bitmap* bitmap = NewBitmap(2, 2);
    FillArea(bitmap, {0, 0, 2, 1}, kRed);
    FillArea(bitmap, {0, 1, 2, 2}, kBlue);
    bitmap->SetWidth(3);
    bitmap->SetHeight(3);
    bitmap->SetWidth(-1);  // ignored, not a reason to lose the picture
    Bitmap* copy = NewBitmap(9, 9);
    copy->Assign(bitmap);
    copy->Assign(copy);
    bitmap->SetWidth(1);
    bitmap->SetHeight(2);
    copy->Draw(surface.Dc(), 0, 0);
    const COLORREF drawn[3][3] = {
        {kRed, kRed, kWhite}, {kBlue, kBlue, kWhite}, {kWhite, kWhite, kWhite}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(surface.At(x, y), drawn[y][x]) << x << "," << y;
    }
    EXPECT_EQ(surface.Count(kGrey), 600 - 9);
    Free(copy);
    Free(bitmap);
}

TEST_F(Drawing, BitmapAResourceLoadsAndABitmapOwnsOneHandle) {
    HMODULE module = GetModuleHandleW(nullptr);
    Bitmap* resource = NewBitmap(0, 0);
    ASSERT_TRUE(LoadBitmapResource(resource, module, "btnClose"));
    EXPECT_EQ(resource->Width(), 13);
    EXPECT_EQ(resource->Height(), 13);
    EXPECT_FALSE(LoadBitmapResource(resource, module, "NO_SUCH_BITMAP"));
    EXPECT_TRUE(resource->Empty());
    ASSERT_TRUE(LoadBitmapResource(resource, module, "btnClose"));

    // A new handle releases the previous one; its own handle again is kept.
    HBITMAP owned = resource->Handle();
    HBITMAP other = CreateBitmap(2, 3, 1, 1, nullptr);
    resource->SetBitmapHandle(other);
    EXPECT_EQ(GetObjectType(owned), 0u);
    EXPECT_EQ(resource->Height(), 3);
    resource->SetBitmapHandle(other);
    EXPECT_NE(GetObjectType(other), 0u);
    Free(resource);
    EXPECT_EQ(GetObjectType(other), 0u);
}

TEST_F(Drawing, BitmapDrawTransparentLeavesTheDestinationUnderTheTransparentColour) {
    // 8 x 8 red, with 2 x 2 magenta corners, drawn at (2, 2) on blue.
    Bitmap* bitmap = NewBitmap(8, 8);
    FillArea(bitmap, {0, 0, 8, 8}, kRed);
    for (const Rect& corner :
         {Rect{0, 0, 2, 2}, Rect{6, 0, 8, 2}, Rect{0, 6, 2, 8}, Rect{6, 6, 8, 8}}) {
        FillArea(bitmap, corner, kMagenta);
    }
    bitmap->GetCanvas()->Release();
    test::Surface surface(12, 12, kBlue);
    SetTextColor(surface.Dc(), kGreen);
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kMagenta);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 10 && y >= 2 && y < 10;
            const bool corner = inside && (x < 4 || x >= 8) && (y < 4 || y >= 8);
            EXPECT_EQ(surface.At(x, y), inside && !corner ? kRed : kBlue) << x << "," << y;
        }
    }
    EXPECT_EQ(GetTextColor(surface.Dc()), kGreen) << "the destination's colours are put back";

    // The mask is rebuilt once the picture changed, and made anew for another colour.
    FillArea(bitmap, {0, 0, 2, 2}, kGreen);
    bitmap->GetCanvas()->Release();
    surface.Fill(kBlue);
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kMagenta);
    EXPECT_EQ(surface.At(2, 2), kGreen);
    EXPECT_EQ(surface.At(9, 9), kBlue);

    bitmap->DrawTransparent(surface.Dc(), 2, 2, kRed);
    EXPECT_EQ(surface.At(9, 9), kMagenta);
    Free(bitmap);
}

// A canvas drawing straight on a surface's context.
Canvas* On(const test::Surface& surface) {
    Canvas* canvas = NewCanvas(nullptr);
    canvas->SetHandle(surface.Dc());
    return canvas;
}

TEST_F(Drawing, CanvasItsToolsSetTheContextsModesAndAToolChangeDeselectsThatTool) {
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
    EXPECT_GT(surface.Count(kGreen), 0);
    EXPECT_EQ(surface.Count(kBlack) + surface.Count(kGreen), 60);

    // A tool change puts the stock object in for that tool, so the old object can go; the
    // others stay. A new brush selects the pen again too, for its gaps.
    canvas->Font()->SetFontHeight(-20);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), canvas->Pen()->ToolHandle());
    canvas->Brush()->SetColor(kRed);
    EXPECT_EQ(canvas->State(), Canvas::kHasContext);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_BRUSH), GetStockObject(NULL_BRUSH));

    // A clear brush: transparent, with the inverse colour as background.
    canvas->Brush()->SetBrushStyle(kBrushClear);
    canvas->TextOut(0, 0, "");
    EXPECT_EQ(GetBkColor(surface.Dc()), RGB(0, 255, 255)) << "the inverse of red";
    EXPECT_EQ(GetBkMode(surface.Dc()), TRANSPARENT);
    Free(canvas);
}

TEST_F(Drawing, CanvasRussianTextDrawsAndMeasuresAsItsUnicodeTextInANamedFont) {
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
    EXPECT_TRUE(reference.lfWeight == 700 && reference.lfItalic);
    OwnedFont font(CreateFontIndirectW(&reference));
    SelectGuard selected(viaW.Dc(), font.Get());
    TextOutW(viaW.Dc(), 2, 2, wide.c_str(), static_cast<int>(wide.size()));
    EXPECT_GT(viaW.Count(kBlack), 50) << "something was drawn";
    EXPECT_EQ(viaCanvas.Pixels(), viaW.Pixels());

    SIZE expected{};
    GetTextExtentPoint32W(viaW.Dc(), wide.c_str(), static_cast<int>(wide.size()), &expected);
    EXPECT_EQ(canvas->TextExtent(text).cx, expected.cx);
    // Without a context the canvas measures in a memory context of its own.
    canvas->Release();
    EXPECT_EQ(canvas->TextExtent(text).cx, expected.cx);
    Free(canvas);
}

// A canvas's tool borrows its source's object while they describe the same one: a change or a
// free of the source deselects the object wherever it is selected before deleting it.
TEST_F(Drawing, CanvasLetsGoOfABorrowedObjectWhenItsSourceChangesOrGoes) {
    test::Surface surface(20, 10);
    Canvas* canvas = On(surface);
    GraphicTool* source = NewPen();
    for (bool freed : {false, true}) {
        source->SetColor(kRed);
        canvas->Pen()->CopyFrom(source);
        canvas->DrawLine({0, 1}, {20, 1});
        const HGDIOBJ shared = source->ToolHandle();
        EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), shared);
        if (freed) {
            Free(source);
        } else {
            source->SetColor(kGreen);
        }
        EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
        EXPECT_EQ(GetObjectType(shared), 0u);
    }
    canvas->DrawLine({0, 2}, {20, 2});
    EXPECT_EQ(surface.At(5, 2), kRed) << "the copy keeps its own description";
    Free(canvas);
}

}  // namespace
}  // namespace zam
