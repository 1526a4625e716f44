#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/windows/drawing_test.h"
#include "tests/windows/window_driver.h"
#include "toolkit/assert.h"
#include "toolkit/bitmap.h"
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

std::string lastAssertion;
void RecordAssertion(const char* expr, const char*, int) {
    lastAssertion = expr;
}

TEST(Bitmap, NewBitmapIsFilledWithTheBackgroundOrEmpty) {
    test::Surface surface(10, 10, kGrey);
    Bitmap* empty = NewBitmap(0, 0);
    EXPECT_TRUE(empty->Empty());
    EXPECT_EQ(empty->Handle(), nullptr);
    EXPECT_EQ(empty->GetCanvas(), nullptr);
    empty->Draw(surface.Dc(), 0, 0);
    empty->StretchDraw(surface.Dc(), {0, 0, 10, 10});
    empty->DrawTransparent(surface.Dc(), 0, 0, kMagenta);
    EXPECT_EQ(surface.Count(kGrey), 100);
    Free(empty);

    Bitmap* oneSided = NewBitmap(5, 0);
    EXPECT_TRUE(oneSided->Empty());
    EXPECT_EQ(oneSided->Width(), 5);
    Free(oneSided);

    const int contexts = LiveGdiCounts().memoryDcs;
    Bitmap* bitmap = NewBitmap(3, 2);
    EXPECT_EQ(bitmap->Width(), 3);
    EXPECT_EQ(bitmap->Height(), 2);
    EXPECT_EQ(bitmap->HandleType(), BitmapHandleType::DeviceDependent);
    bitmap->Draw(surface.Dc(), 1, 1);
    EXPECT_EQ(surface.Count(kWhite), 6);
    EXPECT_EQ(surface.At(3, 2), kWhite);
    EXPECT_EQ(surface.At(4, 2), kGrey);
    EXPECT_EQ(LiveGdiCounts().memoryDcs, contexts) << "no context is kept without a canvas";

    bitmap->SetWidth(-1);  // ignored, not a reason to lose the picture
    EXPECT_EQ(bitmap->Width(), 3);
    Free(bitmap);

    Bitmap* huge = NewBitmap(1 << 30, 1 << 30);  // more than the system gives
    EXPECT_TRUE(huge->Empty());
    Free(huge);
}

TEST(Bitmap, SetBitmapHandleTakesTheSizeAndOwnsTheHandle) {
    // A 13 x 13 24-bit file: all blue but a red top-left pixel.
    const int side = 13;
    const int stride = (side * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = side;
    header.biHeight = side;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::string rows(static_cast<size_t>(stride * side), '\0');
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool marker = x == 0 && y == side - 1;  // bottom-up: the last row is the top
            rows[y * stride + x * 3] = static_cast<char>(marker ? 0 : 255);
            rows[y * stride + x * 3 + 2] = static_cast<char>(marker ? 255 : 0);
        }
    }
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + rows.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes += rows;
    test::TempDir dir(L"bitmap");
    test::WriteBytes(dir / L"thirteen.bmp", bytes);

    Bitmap* bitmap = NewBitmap(0, 0);
    ASSERT_TRUE(LoadBitmapFile(bitmap, dir / L"thirteen.bmp"));
    EXPECT_EQ(bitmap->Width(), 13);
    EXPECT_EQ(bitmap->Height(), 13);
    EXPECT_EQ(bitmap->HandleType(), BitmapHandleType::DeviceDependent);
    test::Surface surface(13, 13);
    bitmap->Draw(surface.Dc(), 0, 0);
    EXPECT_EQ(surface.At(0, 0), kRed);
    EXPECT_EQ(surface.At(12, 12), kBlue);

    HBITMAP owned = bitmap->Handle();
    HBITMAP other = CreateBitmap(2, 3, 1, 1, nullptr);
    bitmap->SetBitmapHandle(other);
    EXPECT_EQ(GetObjectType(owned), 0u) << "the previous handle is released";
    EXPECT_EQ(bitmap->Width(), 2);
    EXPECT_EQ(bitmap->Height(), 3);
    bitmap->SetBitmapHandle(other);  // its own handle again: kept, not deleted
    EXPECT_NE(GetObjectType(other), 0u);
    bitmap->SetBitmapHandle(nullptr);
    EXPECT_TRUE(bitmap->Empty());
    EXPECT_EQ(GetObjectType(other), 0u);

    HBRUSH notABitmap = CreateSolidBrush(kRed);
    bitmap->SetBitmapHandle(reinterpret_cast<HBITMAP>(notABitmap));
    EXPECT_TRUE(bitmap->Empty());
    EXPECT_NE(GetObjectType(notABitmap), 0u) << "a handle that is not a bitmap is left alone";
    DeleteObject(notABitmap);

    EXPECT_FALSE(LoadBitmapResource(bitmap, GetModuleHandleW(nullptr), "NO_SUCH_BITMAP"));
    EXPECT_FALSE(LoadBitmapResource(bitmap, GetModuleHandleW(nullptr), ""));
    EXPECT_FALSE(LoadBitmapFile(bitmap, dir / L"missing.bmp"));
    EXPECT_TRUE(bitmap->Empty());
    Free(bitmap);
}

TEST(Bitmap, BitmapResourceLoadsAsItsFile) {
    HMODULE module = GetModuleHandleW(nullptr);
    if (!FindResourceW(module, L"btnClose", MAKEINTRESOURCEW(2))) {  // RT_BITMAP
        GTEST_SKIP() << "the program's resources are not linked into the tests";
    }
    Bitmap* resource = NewBitmap(0, 0);
    ASSERT_TRUE(LoadBitmapResource(resource, module, "btnClose"));
    EXPECT_EQ(resource->Width(), 13);
    EXPECT_EQ(resource->Height(), 13);
    Bitmap* file = NewBitmap(0, 0);
    ASSERT_TRUE(
        LoadBitmapFile(file, std::filesystem::path(ZAM_SOURCE_DIR) / "resources" / "btnClose.bmp"));
    test::Surface fromResource(13, 13);
    test::Surface fromFile(13, 13);
    resource->Draw(fromResource.Dc(), 0, 0);
    file->Draw(fromFile.Dc(), 0, 0);
    EXPECT_EQ(fromResource.Pixels(), fromFile.Pixels());
    Free(resource);
    Free(file);
}

TEST(Bitmap, WidthAndHeightKeepThePictureAndFillNewArea) {
    for (BitmapHandleType type :
         {BitmapHandleType::DeviceDependent, BitmapHandleType::DeviceIndependent}) {
        SCOPED_TRACE(static_cast<int>(type));
        Bitmap* bitmap = Quadrants();
        bitmap->SetBackgroundColor(kMagenta);
        bitmap->SetHandleType(type);
        int changes = 0;
        bitmap->OnChange = MakeEvent(
            static_cast<void*>(&changes), +[](void* n, Bitmap*) { ++*static_cast<int*>(n); });
        bitmap->SetWidth(6);
        bitmap->SetHeight(5);
        EXPECT_EQ(changes, 2);
        EXPECT_EQ(bitmap->HandleType(), type);
        EXPECT_EQ(bitmap->Width(), 6);
        EXPECT_EQ(bitmap->Height(), 5);
        test::Surface surface(8, 8, kGrey);
        bitmap->Draw(surface.Dc(), 1, 1);
        ExpectQuadrants(surface, 1, 1);
        EXPECT_EQ(surface.Count(kMagenta), 6 * 5 - 16);
        EXPECT_EQ(surface.At(6, 5), kMagenta);

        bitmap->SetHeight(2);
        bitmap->SetWidth(3);
        surface.Fill(kGrey);
        bitmap->Draw(surface.Dc(), 0, 0);
        EXPECT_EQ(surface.At(0, 0), kRed);
        EXPECT_EQ(surface.At(2, 1), kGreen);
        EXPECT_EQ(surface.Count(kGrey), 64 - 6);

        bitmap->SetWidth(0);
        EXPECT_TRUE(bitmap->Empty());
        bitmap->SetWidth(2);  // back from empty: all background
        surface.Fill(kGrey);
        bitmap->Draw(surface.Dc(), 0, 0);
        EXPECT_EQ(surface.Count(kMagenta), 4);
        Free(bitmap);
    }
}

TEST(Bitmap, HandleTypeRoundTripKeepsThePixels) {
    Bitmap* bitmap = Quadrants();
    bitmap->SetHandleType(BitmapHandleType::DeviceIndependent);
    ASSERT_EQ(bitmap->HandleType(), BitmapHandleType::DeviceIndependent);
    const BITMAPINFO* info = bitmap->Info();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->bmiHeader.biBitCount, 32);
    EXPECT_EQ(bitmap->RowsSize(), 4u * 4 * 4);
    // Bottom-up rows of BGRX: the first row in memory is the picture's bottom (blue, yellow).
    const uint8_t* rows = bitmap->Rows();
    EXPECT_EQ(rows[0], 255);  // blue
    EXPECT_EQ(rows[2], 0);
    EXPECT_EQ(rows[3 * 4 * 4 + 2], 255);  // top row, first pixel: red
    EXPECT_EQ(rows[3 * 4 * 4 + 0], 0);

    test::Surface surface(6, 6, kGrey);
    bitmap->Draw(surface.Dc(), 1, 1);  // from the rows, without a handle
    ExpectQuadrants(surface, 1, 1);

    bitmap->SetHandleType(BitmapHandleType::DeviceDependent);
    EXPECT_EQ(bitmap->Info(), nullptr);
    EXPECT_EQ(bitmap->Rows(), nullptr);
    surface.Fill(kGrey);
    bitmap->Draw(surface.Dc(), 2, 2);
    ExpectQuadrants(surface, 2, 2);

    // Rows drawn on through a DIB section (the canvas needs a handle) stay the rows.
    bitmap->SetHandleType(BitmapHandleType::DeviceIndependent);
    FillArea(bitmap, {0, 0, 1, 1}, kWhite);
    bitmap->GetCanvas()->Release();
    EXPECT_EQ(bitmap->Rows()[3 * 4 * 4 + 2], 255);
    EXPECT_EQ(bitmap->Rows()[3 * 4 * 4 + 1], 255) << "the white pixel reached the rows";
    bitmap->SetHandleType(BitmapHandleType::DeviceDependent);
    surface.Fill(kGrey);
    bitmap->Draw(surface.Dc(), 0, 0);
    EXPECT_EQ(surface.At(0, 0), kWhite);
    EXPECT_EQ(surface.At(1, 1), kRed);
    Free(bitmap);
}

TEST(Bitmap, AssignCopiesEitherFormIndependently) {
    for (BitmapHandleType type :
         {BitmapHandleType::DeviceDependent, BitmapHandleType::DeviceIndependent}) {
        SCOPED_TRACE(static_cast<int>(type));
        Bitmap* source = Quadrants();
        source->SetHandleType(type);
        Bitmap* copy = NewBitmap(9, 9);
        copy->Assign(source);
        EXPECT_EQ(copy->Width(), 4);
        EXPECT_EQ(copy->Height(), 4);
        EXPECT_EQ(copy->HandleType(), type);

        FillArea(source, {0, 0, 4, 4}, kWhite);  // the copy does not follow
        test::Surface surface(4, 4);
        copy->Draw(surface.Dc(), 0, 0);
        ExpectQuadrants(surface, 0, 0);

        copy->Assign(copy);
        copy->Draw(surface.Dc(), 0, 0);
        ExpectQuadrants(surface, 0, 0);

        Bitmap* empty = NewBitmap(0, 0);
        copy->Assign(empty);
        EXPECT_TRUE(copy->Empty());
        copy->Assign(nullptr);
        EXPECT_TRUE(copy->Empty());
        Free(empty);
        Free(copy);
        Free(source);
    }
}

TEST(Bitmap, DrawTransparentLeavesTheDestinationUnderTheTransparentColour) {
    // 8 x 8 red, with 2 x 2 magenta corners.
    Bitmap* bitmap = NewBitmap(8, 8);
    FillArea(bitmap, {0, 0, 8, 8}, kRed);
    for (const Rect& corner :
         {Rect{0, 0, 2, 2}, Rect{6, 0, 8, 2}, Rect{0, 6, 2, 8}, Rect{6, 6, 8, 8}}) {
        FillArea(bitmap, corner, kMagenta);
    }
    bitmap->GetCanvas()->Release();
    test::Surface surface(12, 12, kBlue);
    SetTextColor(surface.Dc(), kGreen);
    SetBkColor(surface.Dc(), kYellow);
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kMagenta);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const int bx = x - 2;
            const int by = y - 2;
            const bool inside = bx >= 0 && bx < 8 && by >= 0 && by < 8;
            const bool corner = inside && (bx < 2 || bx >= 6) && (by < 2 || by >= 6);
            EXPECT_EQ(surface.At(x, y), inside && !corner ? kRed : kBlue) << x << "," << y;
        }
    }
    EXPECT_EQ(GetTextColor(surface.Dc()), kGreen) << "the destination's colours are put back";
    EXPECT_EQ(GetBkColor(surface.Dc()), kYellow);

    // The mask is kept for the same colour: drawing again makes no GDI object.
    const int objects = LiveGdiCounts().objects;
    surface.Fill(kBlue);
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kMagenta);
    EXPECT_EQ(LiveGdiCounts().objects, objects);
    EXPECT_EQ(surface.Count(kRed), 64 - 16);

    // ... but not once the picture changed.
    FillArea(bitmap, {0, 0, 2, 2}, kGreen);
    surface.Fill(kBlue);
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kMagenta);
    EXPECT_EQ(surface.At(2, 2), kGreen);
    bitmap->GetCanvas()->Release();
    surface.Fill(kBlue);
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kMagenta);
    EXPECT_EQ(surface.At(2, 2), kGreen);
    EXPECT_EQ(surface.At(9, 9), kBlue);

    // Another colour gets its own mask; kNoColor draws everything.
    surface.Fill(kBlue);
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kRed);
    EXPECT_EQ(surface.At(5, 5), kBlue);
    EXPECT_EQ(surface.At(9, 9), kMagenta);
    surface.Fill(kBlue);
    bitmap->DrawTransparent(surface.Dc(), 2, 2, kNoColor);
    EXPECT_EQ(surface.At(9, 9), kMagenta);

    // Stretched: the transparent area scales with the picture.
    surface.Fill(kBlue);
    bitmap->StretchDrawTransparent(surface.Dc(), {0, 0, 12, 12}, kMagenta);
    EXPECT_EQ(surface.At(0, 11), kBlue);
    EXPECT_EQ(surface.At(6, 6), kRed);
    EXPECT_EQ(surface.At(1, 1), kGreen);
    Free(bitmap);
}

TEST(Bitmap, StretchDrawFillsTheWholeRectangle) {
    for (BitmapHandleType type :
         {BitmapHandleType::DeviceDependent, BitmapHandleType::DeviceIndependent}) {
        SCOPED_TRACE(static_cast<int>(type));
        Bitmap* bitmap = NewBitmap(1, 2);
        FillArea(bitmap, {0, 0, 1, 1}, kRed);
        FillArea(bitmap, {0, 1, 1, 2}, kGreen);
        bitmap->SetHandleType(type);
        test::Surface surface(60, 10, kGrey);
        bitmap->StretchDraw(surface.Dc(), {5, 4, 55, 7});
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 60; ++x) {
                const bool inside = x >= 5 && x < 55 && y >= 4 && y < 7;
                const COLORREF pixel = surface.At(x, y);
                if (!inside) {
                    EXPECT_EQ(pixel, kGrey) << x << "," << y;
                } else {
                    EXPECT_TRUE(pixel == kRed || pixel == kGreen) << x << "," << y;
                }
            }
        }
        EXPECT_EQ(surface.At(30, 4), kRed);
        EXPECT_EQ(surface.At(30, 6), kGreen);
        Free(bitmap);
    }
}

TEST(Bitmap, FailedDibSectionRaisesTheAssertionAndKeepsTheRows) {
    // RLE data draws through StretchDIBits, but no DIB section can hold it.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = 4;
    info.header.biHeight = 4;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RLE8;
    info.header.biClrUsed = 2;
    info.colors[1] = RGBQUAD{0, 0, 255, 0};  // red
    const uint8_t rle[] = {4, 1, 0, 0, 4, 1, 0, 0, 4, 1, 0, 0, 4, 1, 0, 0, 0, 1};
    Bitmap* bitmap = NewBitmap(0, 0);
    ASSERT_TRUE(
        bitmap->SetDIB(reinterpret_cast<const BITMAPINFO*>(&info), sizeof info, rle, sizeof rle));
    EXPECT_EQ(bitmap->HandleType(), BitmapHandleType::DeviceIndependent);
    EXPECT_EQ(bitmap->Width(), 4);
    test::Surface surface(4, 4, kGrey);
    bitmap->Draw(surface.Dc(), 0, 0);
    EXPECT_EQ(surface.Count(kRed), 16);

    lastAssertion.clear();
    const AssertHandler previous = SetAssertHandler(RecordAssertion);
    EXPECT_EQ(bitmap->Handle(), nullptr);
    EXPECT_EQ(bitmap->GetCanvas()->Pixel(0, 0), CLR_INVALID);
    SetAssertHandler(previous);
    const std::string prefix = "Can not create DIB section, error: ";
    ASSERT_EQ(lastAssertion.compare(0, prefix.size(), prefix), 0) << lastAssertion;
    const size_t digits = lastAssertion.find_first_not_of("0123456789", prefix.size());
    EXPECT_GT(digits, prefix.size());
    EXPECT_EQ(lastAssertion.compare(digits, 2, ", "), 0) << lastAssertion;

    surface.Fill(kGrey);
    bitmap->Draw(surface.Dc(), 0, 0);
    EXPECT_EQ(surface.Count(kRed), 16) << "the rows are still there";
    Free(bitmap);
}

TEST(Bitmap, SetDIBRefusesDescriptionsThatDoNotHoldTogether) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = 3;
    info.header.biHeight = -2;  // top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = 24;
    std::vector<uint8_t> rows(12 * 2, 0);
    rows[2] = 255;  // top-left red
    const auto* bmi = reinterpret_cast<const BITMAPINFO*>(&info);
    Bitmap* bitmap = NewBitmap(0, 0);
    ASSERT_TRUE(bitmap->SetDIB(bmi, sizeof info, rows.data(), rows.size()));
    EXPECT_EQ(bitmap->Height(), 2);
    test::Surface surface(3, 2, kGrey);
    bitmap->StretchDraw(surface.Dc(), {0, 0, 3, 2});
    EXPECT_EQ(surface.At(0, 0), kRed);
    EXPECT_EQ(surface.At(0, 1), RGB(0, 0, 0));

    EXPECT_FALSE(bitmap->SetDIB(bmi, sizeof info, rows.data(), rows.size() - 1));
    EXPECT_FALSE(bitmap->SetDIB(nullptr, 0, rows.data(), rows.size()));
    EXPECT_FALSE(bitmap->SetDIB(bmi, 20, rows.data(), rows.size()));
    auto refused = [&](auto change) {
        auto bad = info;
        change(bad.header);
        return !bitmap->SetDIB(reinterpret_cast<const BITMAPINFO*>(&bad), sizeof bad, rows.data(),
                               rows.size());
    };
    EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biBitCount = 7; }));
    EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biWidth = 0x7FFFFFFF; }));
    EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; }));
    EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) {
        h.biBitCount = 8;
        h.biClrUsed = 1000;
    }));
    EXPECT_TRUE(refused([](BITMAPINFOHEADER& h) { h.biSize = 2000; }));
    // Refusals leave the picture as it was.
    surface.Fill(kGrey);
    bitmap->Draw(surface.Dc(), 0, 0);
    EXPECT_EQ(surface.At(0, 0), kRed);
    Free(bitmap);
}

TEST(Bitmap, CanvasDrawsIntoTheBitmapAcrossChanges) {
    Bitmap* bitmap = NewBitmap(4, 4);
    bitmap->SetBackgroundColor(kYellow);
    Canvas* canvas = bitmap->GetCanvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->Brush()->Color(), kYellow);
    bitmap->SetBackgroundColor(kGreen);
    EXPECT_EQ(canvas->Brush()->Color(), kGreen);
    canvas->FillRect({0, 0, 4, 4});
    canvas->Pen()->SetColor(kRed);
    canvas->DrawLine({0, 0}, {4, 0});
    EXPECT_EQ(canvas->Pixel(1, 0), kRed);

    // Drawing the bitmap while its canvas holds the picture works from that context.
    test::Surface surface(8, 8, kGrey);
    bitmap->Draw(surface.Dc(), 0, 0);
    EXPECT_EQ(surface.At(1, 0), kRed);
    EXPECT_EQ(surface.At(1, 1), kGreen);

    // The canvas survives a resize and draws into the new picture.
    bitmap->SetWidth(8);
    EXPECT_EQ(bitmap->GetCanvas(), canvas);
    EXPECT_EQ(canvas->State(), 0u);
    canvas->DrawLine({0, 3}, {8, 3});
    surface.Fill(kGrey);
    bitmap->Draw(surface.Dc(), 0, 0);
    EXPECT_EQ(surface.At(7, 3), kRed);
    EXPECT_EQ(surface.At(1, 0), kRed);
    EXPECT_EQ(surface.At(6, 1), kGreen);

    bitmap->SetBitmapHandle(nullptr);
    EXPECT_EQ(bitmap->GetCanvas(), nullptr);
    canvas->FillRect({0, 0, 4, 4});  // the kept canvas of an empty bitmap draws nothing
    EXPECT_EQ(canvas->Handle(), nullptr);

    HBITMAP handed = nullptr;
    {
        Bitmap* other = Quadrants();
        handed = other->ReleaseHandle();
        EXPECT_TRUE(other->Empty());
        Free(other);
    }
    ASSERT_NE(GetObjectType(handed), 0u) << "a released handle outlives its bitmap";
    bitmap->SetBitmapHandle(handed);
    surface.Fill(kGrey);
    bitmap->Draw(surface.Dc(), 0, 0);
    ExpectQuadrants(surface, 0, 0);
    Free(bitmap);
    EXPECT_EQ(GetObjectType(handed), 0u);
}

}  // namespace
}  // namespace zam
