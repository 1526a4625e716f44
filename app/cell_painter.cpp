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

void CellPainter::Paint(HDC dc, const Rect& cell, const CellStyle& style, Colour border) const {
    if (!dc) {
        return;
    }
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

}  // namespace zam
