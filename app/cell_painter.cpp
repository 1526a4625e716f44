#include "app/cell_painter.h"

#include <string_view>

#include "toolkit/graphic_tool.h"

namespace zam {
namespace {

constexpr int kBackgroundEntry = 3;
constexpr int kTextEntry = 4;
constexpr int kBorderEntry = 1;

void RestoreDrawingState(Canvas* canvas, const ColourPalette& palette) {
    GraphicTool* brush = canvas->Brush();
    brush->SetColor(palette[kBackgroundEntry]);
    brush->SetBrushStyle(kBrushSolid);
    GraphicTool* font = canvas->Font();
    font->SetColor(palette[kTextEntry]);
    font->SetFontStyle(0);
}

}  // namespace

void PrepareCellCanvas(Canvas* canvas, const ColourPalette& palette) {
    if (!canvas)
        return;
    canvas->Pen()->SetColor(palette[kBorderEntry]);
    GraphicTool* font = canvas->Font();
    font->SetFontName(kCellFontName);
    font->SetFontHeight(kCellFontHeight);
    RestoreDrawingState(canvas, palette);
}

void PaintCell(Canvas* canvas, const Rect& cell, const CellStyle& style,
               const ColourPalette& palette) {
    if (!canvas)
        return;
    GraphicTool* brush = canvas->Brush();
    if (style.border) {
        brush->SetColor(style.background);
        brush->SetBrushStyle(style.fill ? kBrushSolid : kBrushClear);
        canvas->Rectangle(cell.left, cell.top, cell.right, cell.bottom);
    }
    if (style.glyph != 0) {
        // Centred inside the border: the right and bottom lines belong to the next cells.
        const Rect inner{cell.left, cell.top, cell.right - 1, cell.bottom - 1};
        const std::string_view glyph(&style.glyph, 1);
        GraphicTool* font = canvas->Font();
        font->SetColor(style.text);
        font->SetFontStyle(style.bold ? kFontBold : 0);
        // A clear brush makes the text's background transparent.
        brush->SetBrushStyle(kBrushClear);
        const SIZE extent = canvas->TextExtent(glyph);
        const Point centre = RectCenter(inner);
        canvas->TextOut(centre.x - extent.cx / 2, centre.y - extent.cy / 2, glyph);
    }
    RestoreDrawingState(canvas, palette);
}

}  // namespace zam
