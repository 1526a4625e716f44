#pragma once
// Paints one grid cell as its colour rules describe it, on the drawing surface of a text or
// alphabet view.
#include <windows.h>

#include "toolkit/gdi.h"
#include "toolkit/geometry.h"
#include "workspace/colouring.h"

namespace zam {

// The font every grid view draws its characters in.
inline constexpr wchar_t kCellFontName[] = L"Arial";
inline constexpr int32_t kCellFontHeight = 14;
// The cell font in the given weight (FW_NORMAL, FW_BOLD).
HFONT MakeCellFont(int weight);

// The two faces of the cell font, made once per view: a pointer move redraws hundreds of
// cells, and a font made per cell would cost more than the drawing.
class CellPainter {
public:
    CellPainter();

    // Draws the bordered cell (border in the given colour) and its centred character. The
    // context's own selections and colours are as they were afterwards.
    void Paint(HDC dc, const Rect& cell, const CellStyle& style, Colour border) const;

private:
    SIZE Extent(HDC dc, wchar_t glyph, unsigned char code, bool bold) const;

    OwnedFont normal_;
    OwnedFont bold_;
    // The size of each character in each face, measured once: the font never changes.
    mutable SIZE extents_[2][256] = {};
};

}  // namespace zam
