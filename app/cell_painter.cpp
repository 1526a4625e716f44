#include "app/cell_painter.h"

#include "toolkit/encoding.h"

namespace zam {
namespace {

HFONT MakeCellFont(int weight) {
    return CreateFontW(-kCellFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, kCellFontName);
}

}  // namespace

CellPainter::CellPainter() : normal_(MakeCellFont(FW_NORMAL)), bold_(MakeCellFont(FW_BOLD)) {}

void CellPainter::Paint(HDC dc, const Rect& cell, const CellStyle& style, Colour border) const {
    if (!dc) {
        return;
    }
    const int saved = SaveDC(dc);
    if (style.border) {
        SelectObject(dc, GetStockObject(DC_PEN));
        SetDCPenColor(dc, border);
        if (style.fill) {
            SelectObject(dc, GetStockObject(DC_BRUSH));
            SetDCBrushColor(dc, style.background);
        } else {
            SelectObject(dc, GetStockObject(NULL_BRUSH));
        }
        ::Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
    }
    if (style.glyph != 0) {
        const wchar_t glyph = static_cast<wchar_t>(
            Cp1251ToCodePoint(static_cast<unsigned char>(style.glyph)));
        SelectObject(dc, style.bold ? bold_.Get() : normal_.Get());
        SetTextColor(dc, style.text);
        SetBkMode(dc, TRANSPARENT);
        SIZE extent{};
        GetTextExtentPoint32W(dc, &glyph, 1, &extent);
        // Centred inside the border: the right and bottom lines belong to the next cells.
        const Point centre = RectCenter(Rect{cell.left, cell.top, cell.right - 1, cell.bottom - 1});
        TextOutW(dc, centre.x - extent.cx / 2, centre.y - extent.cy / 2, &glyph, 1);
    }
    RestoreDC(dc, saved);
}

}  // namespace zam
