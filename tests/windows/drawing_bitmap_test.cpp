// Bitmaps as the skin uses them: loaded from the resources, resized, copied, drawn plain,
// stretched and with a transparent colour, and drawn on through their canvas.
#include <gtest/gtest.h>

#include "tests/windows/drawing_test.h"
#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kGrey = RGB(90, 90, 90);

void FillArea(Bitmap* bitmap, const Rect& rect, COLORREF color) {
    Canvas* canvas = bitmap->GetCanvas();
    canvas->Brush()->SetColor(color);
    canvas->FillRect(rect);
}

// A 4 x 4 picture of four 2 x 2 quadrants: red, green / blue, yellow.
Bitmap* Quadrants() {
    Bitmap* bitmap = NewBitmap(4, 4);
    FillArea(bitmap, {0, 0, 2, 2}, kRed);
    FillArea(bitmap, {2, 0, 4, 2}, kGreen);
    FillArea(bitmap, {0, 2, 2, 4}, kBlue);
    FillArea(bitmap, {2, 2, 4, 4}, kYellow);
    return bitmap;
}

void ExpectQuadrants(const test::Surface& surface, int left, int top) {
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const COLORREF expected = y < 2 ? (x < 2 ? kRed : kGreen) : (x < 2 ? kBlue : kYellow);
            EXPECT_EQ(surface.At(left + x, top + y), expected) << x << "," << y;
        }
    }
}

TEST(Bitmap, NewBitmapsAreWhiteEmptyOnesDrawNothingAndSizesKeepThePicture) {
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

    // Grown, the new area is white; a copy keeps its own picture; shrunk, the rest stays.
    Bitmap* bitmap = Quadrants();
    bitmap->SetWidth(6);
    bitmap->SetHeight(5);
    bitmap->SetWidth(-1);  // ignored, not a reason to lose the picture
    Bitmap* copy = NewBitmap(9, 9);
    copy->Assign(bitmap);
    copy->Assign(copy);
    bitmap->SetWidth(3);
    bitmap->Draw(surface.Dc(), 0, 0);
    EXPECT_EQ(surface.At(2, 1), kGreen);
    EXPECT_EQ(surface.At(2, 4), kWhite);
    EXPECT_EQ(surface.Count(kGrey), 600 - 15);
    surface.Fill(kGrey);
    copy->Draw(surface.Dc(), 1, 1);
    ExpectQuadrants(surface, 1, 1);
    EXPECT_EQ(surface.Count(kWhite), 6 * 5 - 16);
    copy->Assign(nullptr);
    EXPECT_TRUE(copy->Empty());
    Free(copy);

    // Stretched, one pixel of each colour fills 50 x 3, every edge where it belongs.
    bitmap->SetWidth(1);
    bitmap->SetHeight(2);
    FillArea(bitmap, {0, 1, 1, 2}, kBlue);
    surface.Fill(kGrey);
    bitmap->StretchDraw(surface.Dc(), {5, 4, 55, 7});
    EXPECT_EQ(surface.Count(kRed) + surface.Count(kBlue), 50 * 3);
    EXPECT_EQ(surface.Count(kGrey), 60 * 10 - 50 * 3);
    EXPECT_EQ(surface.At(5, 4), kRed);
    EXPECT_EQ(surface.At(54, 6), kBlue);
    Free(bitmap);
}

TEST(Bitmap, AResourceLoadsAndABitmapOwnsOneHandle) {
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
    HBRUSH notABitmap = CreateSolidBrush(kRed);
    resource->SetBitmapHandle(reinterpret_cast<HBITMAP>(notABitmap));
    EXPECT_TRUE(resource->Empty());
    EXPECT_EQ(GetObjectType(other), 0u);
    EXPECT_NE(GetObjectType(notABitmap), 0u) << "a handle that is not a bitmap is left alone";
    DeleteObject(notABitmap);
    Free(resource);
}

TEST(Bitmap, DrawTransparentLeavesTheDestinationUnderTheTransparentColour) {
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

    // The mask is kept for the same colour, and rebuilt once the picture changed.
    const int objects = LiveGdiCounts().objects;
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kMagenta);
    EXPECT_EQ(LiveGdiCounts().objects, objects);
    FillArea(bitmap, {0, 0, 2, 2}, kGreen);
    bitmap->GetCanvas()->Release();
    surface.Fill(kBlue);
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kMagenta);
    EXPECT_EQ(surface.At(2, 2), kGreen);
    EXPECT_EQ(surface.At(9, 9), kBlue);

    // Another colour gets its own mask; stretched, the transparent area scales too.
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kRed);
    EXPECT_EQ(surface.At(9, 9), kMagenta);
    surface.Fill(kBlue);
    bitmap->StretchDrawTransparent(surface.Dc(), {0, 0, 12, 12}, kMagenta);
    EXPECT_EQ(surface.At(0, 11), kBlue);
    EXPECT_EQ(surface.At(6, 6), kRed);
    EXPECT_EQ(surface.At(1, 1), kGreen);
    Free(bitmap);
}

TEST(Bitmap, TheCanvasDrawsIntoTheBitmapAcrossChanges) {
    Bitmap* bitmap = NewBitmap(4, 4);
    Canvas* canvas = bitmap->GetCanvas();
    canvas->Brush()->SetColor(kGreen);
    canvas->FillRect({0, 0, 4, 4});
    canvas->Pen()->SetColor(kRed);
    canvas->DrawLine({0, 0}, {4, 0});

    // The canvas survives a resize and draws into the new picture.
    bitmap->SetWidth(8);
    canvas->DrawLine({0, 3}, {8, 3});
    test::Surface surface(8, 8, kGrey);
    bitmap->Draw(surface.Dc(), 0, 0);
    EXPECT_EQ(surface.At(7, 3), kRed);
    EXPECT_EQ(surface.At(1, 0), kRed);
    EXPECT_EQ(surface.At(3, 1), kGreen);

    Free(bitmap);
}

}  // namespace
}  // namespace zam
