#pragma once
// Shared by the drawing tests: a 32-bit surface whose pixels are read straight from memory,
// built from plain Win32 calls so that the code under test does not check itself.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "tests/windows/control_test_support.h"
#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"
#include "toolkit/gdi.h"
#include "toolkit/graphic_tool.h"

namespace zam::test {

class Surface {
public:
    Surface(int width, int height, COLORREF fill = RGB(255, 255, 255))
        : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down: row y at bits_ + y * width
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, bitmap_);
        Fill(fill);
    }
    ~Surface() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Fill(COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    // As COLORREF (0x00BBGGRR), read from the section's memory.
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> all;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x)
                all.push_back(At(x, y));
        }
        return all;
    }
    // Pixels of this colour, in the whole picture or inside r.
    int Count(COLORREF color) const { return Count(color, Rect{0, 0, width_, height_}); }
    int Count(COLORREF color, const Rect& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x)
                n += At(x, y) == color;
        }
        return n;
    }

private:
    int width_;
    int height_;
    HBITMAP bitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// Everything the drawing layer counts, to compare before and after as one value: GDI objects,
// memory and window contexts, icons, graphic tools, canvases, bitmaps.
inline std::vector<int> LiveDrawingCounts() {
    const GdiCounts gdi = LiveGdiCounts();
    return {gdi.objects,        gdi.memoryDcs,  gdi.windowDcs, gdi.icons,
            LiveGraphicTools(), LiveCanvases(), LiveBitmaps()};
}

// Fails the test when it leaves controls or drawing objects behind.
class DrawingTest : public ControlTest {
protected:
    void TearDown() override {
        ControlTest::TearDown();
        EXPECT_EQ(LiveDrawingCounts(), drawing_) << "drawing objects left alive";
    }

private:
    std::vector<int> drawing_ = LiveDrawingCounts();
};

}  // namespace zam::test
