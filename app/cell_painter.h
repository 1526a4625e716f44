#pragma once
// Paints one grid cell as its colour rules describe it, on the drawing surface of a text or
// alphabet view.
#include "toolkit/canvas.h"
#include "toolkit/geometry.h"
#include "workspace/colouring.h"

namespace zam {

// The font every grid view draws its characters in.
inline constexpr char kCellFontName[] = "Arial";
inline constexpr int32_t kCellFontHeight = 14;

// Sets up a view's canvas once, when the view is made: the border pen, the cell font, and the
// resting brush and text colour that PaintCell leaves behind.
void PrepareCellCanvas(Canvas* canvas, const ColourPalette& palette);

// Draws the bordered cell and its character, then puts the brush back to entry 3 (solid), the
// text colour to entry 4 and the font style to normal. The border is the canvas's pen.
void PaintCell(Canvas* canvas, const Rect& cell, const CellStyle& style,
               const ColourPalette& palette);

}  // namespace zam
