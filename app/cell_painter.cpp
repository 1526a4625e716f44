#include "app/cell_painter.h"

#include "toolkit/encoding.h"

namespace zam {

HFONT MakeCellFont(int weight) {
    return CreateFontW(-kCellFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, kCellFontName);
}

CellPainter::CellPainter() : normal_(MakeCellFont(FW_NORMAL)), bold_(MakeCellFont(FW_BOLD)) {}

SIZE CellPainter::Extent(HDC dc, wchar_t glyph, unsigned char code, bool bold) const {
    SIZE& known = extents_[bold ? 1 : 0][code];
    if (known.cy == 0) {
        GetTextExtentPoint32W(dc, &glyph, 1, &known);
    }
    return known;
}

namespace {

// Every grid cell is this wide and deep, its borders included.
constexpr int32_t kCellSide = kCellPitch + 1;
// Cells in a row of the cache bitmap, and rows: room for every look a text shows at once.
constexpr int32_t kCacheColumns = 32;
constexpr int32_t kCacheRows = 16;

OwnedBitmap NewPictureBitmap(int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return OwnedBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

}  // namespace

void FillBackground(HDC dc, const Rect& area, Colour colour) {
    SetDCBrushColor(dc, colour);
    const RECT r{area.left, area.top, area.right, area.bottom};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

size_t CellPainter::LookHash::operator()(const Look& look) const {
    size_t h = look.background;
    h = h * 1000003u ^ look.text;
    h = h * 1000003u ^ look.border;
    return h * 131u ^ (static_cast<unsigned char>(look.glyph) << 1 | (look.bold ? 1u : 0u));
}

const Point* CellPainter::Cached(const CellStyle& style, Colour border) const {
    const Look look{style.background, style.text, border, style.glyph, style.bold};
    if (const auto found = cached_.find(look); found != cached_.end()) {
        return &found->second;
    }
    if (!cache_) {
        OwnedBitmap bitmap = NewPictureBitmap(kCacheColumns * kCellSide, kCacheRows * kCellSide);
        MemoryDC dc(nullptr);
        if (!bitmap || !dc) {
            return nullptr;
        }
        SelectObject(dc.Get(), bitmap.Get());
        cacheBitmap_ = std::move(bitmap);
        cache_ = std::move(dc);
    }
    if (cached_.size() >= static_cast<size_t>(kCacheColumns * kCacheRows)) {
        cached_.clear();
    }
    const auto slot = static_cast<int32_t>(cached_.size());
    const Point at{slot % kCacheColumns * kCellSide, slot / kCacheColumns * kCellSide};
    Draw(cache_.Get(), {at.x, at.y, at.x + kCellSide, at.y + kCellSide}, style, border);
    return &cached_.emplace(look, at).first->second;
}

void CellPainter::Paint(HDC dc, const Rect& cell, const CellStyle& style, Colour border) const {
    if (!dc) {
        return;
    }
    // Only a filled, bordered cell covers all its pixels and can be copied.
    if (style.fill && style.border && cell.right - cell.left == kCellSide &&
        cell.bottom - cell.top == kCellSide) {
        if (const Point* at = Cached(style, border)) {
            BitBlt(dc, cell.left, cell.top, kCellSide, kCellSide, cache_.Get(), at->x, at->y,
                   SRCCOPY);
            return;
        }
    }
    Draw(dc, cell, style, border);
}

void CellPainter::Draw(HDC dc, const Rect& cell, const CellStyle& style, Colour border) const {
    // The context's own objects and colours go back at the end, one by one: cheaper than a
    // saved state for the hundreds of cells of a pointer move.
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    if (style.border) {
        pen = SelectObject(dc, GetStockObject(DC_PEN));
        const COLORREF oldPen = SetDCPenColor(dc, border);
        if (style.fill) {
            brush = SelectObject(dc, GetStockObject(DC_BRUSH));
        } else {
            brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        }
        const COLORREF oldBrush = SetDCBrushColor(dc, style.background);
        ::Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
        SetDCBrushColor(dc, oldBrush);
        SetDCPenColor(dc, oldPen);
        SelectObject(dc, brush);
        SelectObject(dc, pen);
    }
    if (style.glyph != 0) {
        const auto code = static_cast<unsigned char>(style.glyph);
        const auto glyph = static_cast<wchar_t>(Cp1251ToCodePoint(code));
        HGDIOBJ font = SelectObject(dc, style.bold ? bold_.Get() : normal_.Get());
        const COLORREF text = SetTextColor(dc, style.text);
        const int mode = SetBkMode(dc, TRANSPARENT);
        const SIZE extent = Extent(dc, glyph, code, style.bold);
        // Centred inside the border: the right and bottom lines belong to the next cells.
        const Point centre = RectCenter(Rect{cell.left, cell.top, cell.right - 1, cell.bottom - 1});
        TextOutW(dc, centre.x - extent.cx / 2, centre.y - extent.cy / 2, &glyph, 1);
        SetBkMode(dc, mode);
        SetTextColor(dc, text);
        SelectObject(dc, font);
    }
}

HDC OffscreenPicture::Context() {
    if (dc_) {
        return dc_.Get();
    }
    OwnedBitmap bitmap = NewPictureBitmap(width_, height_);
    MemoryDC dc(nullptr);
    if (!bitmap || !dc) {
        return nullptr;
    }
    SelectObject(dc.Get(), bitmap.Get());
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    current_ = false;
    return dc_.Get();
}

HDC OffscreenPicture::Current() {
    HDC dc = Context();
    if (dc && !current_) {
        paint_(dc, {0, 0, width_, height_});
        current_ = true;
    }
    return dc;
}

void OffscreenPicture::Show(HDC target) {
    RECT box{};
    if (GetClipBox(target, &box) == ERROR) {
        return;
    }
    const Rect area{box.left, box.top, box.right, box.bottom};
    if (Current()) {
        CopyTo(target, area);
    } else {
        paint_(target, area);
    }
}

void OffscreenPicture::CopyTo(HDC target, const Rect& r) const {
    if (target && dc_) {
        BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, dc_.Get(), r.left, r.top,
               SRCCOPY);
    }
}

}  // namespace zam
