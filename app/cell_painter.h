#pragma once
// Paints one grid cell as its colour rules describe it, on the drawing surface of a text or
// alphabet view.
#include <windows.h>

#include <functional>
#include <unordered_map>

#include "toolkit/gdi.h"
#include "toolkit/geometry.h"
#include "workspace/colouring.h"

namespace zam {

// The font every grid view draws its characters in.
inline constexpr wchar_t kCellFontName[] = L"Arial";
inline constexpr int32_t kCellFontHeight = 14;
// The cell font in the given weight (FW_NORMAL, FW_BOLD).
HFONT MakeCellFont(int weight);

// Fills area with a view's background colour.
void FillBackground(HDC dc, const Rect& area, Colour colour);

// The two faces of the cell font, made once per view, and the cells already drawn: a pointer
// move redraws hundreds of cells, and a cell drawn before is one copy from the cache instead of
// a font selection and a text output (under Wine each font selected costs a search for X
// resource files).
class CellPainter {
public:
    CellPainter();

    // Draws the bordered cell (border in the given colour) and its centred character. The
    // context's own selections and colours are as they were afterwards.
    void Paint(HDC dc, const Rect& cell, const CellStyle& style, Colour border) const;

private:
    struct Look {
        Colour background;
        Colour text;
        Colour border;
        char glyph;
        bool bold;
        bool operator==(const Look&) const = default;
    };
    struct LookHash {
        size_t operator()(const Look& look) const;
    };

    void Draw(HDC dc, const Rect& cell, const CellStyle& style, Colour border) const;
    // The cached cell of this look, drawn first if new; null when the cache could not be made.
    const Point* Cached(const CellStyle& style, Colour border) const;
    SIZE Extent(HDC dc, wchar_t glyph, unsigned char code, bool bold) const;

    OwnedFont normal_;
    OwnedFont bold_;
    // The size of each character in each face, measured once: the font never changes.
    mutable SIZE extents_[2][256] = {};
    // Cells drawn so far, side by side in one bitmap; emptied when full.
    mutable std::unordered_map<Look, Point, LookHash> cached_;
    mutable OwnedBitmap cacheBitmap_;
    mutable MemoryDC cache_;
};

// A view's picture kept in a bitmap of the surface's size. Cells are painted into it and then
// copied to the window, and a repaint is one copy: under Wine every font selected into a
// window's context costs a search for X resource files, into a memory bitmap nothing.
class OffscreenPicture {
public:
    // paint(dc, area) draws the cells that meet area over the background: into the picture, or
    // onto the window when the picture could not be made.
    using Painter = std::function<void(HDC dc, const Rect& area)>;
    OffscreenPicture(int32_t width, int32_t height, Painter paint)
        : width_(width), height_(height), paint_(std::move(paint)) {}

    // The picture's context, drawn afresh first when it is stale; null when GDI could not make
    // the bitmap.
    HDC Current();
    // The next Current draws the whole picture again.
    void MarkStale() { current_ = false; }
    // Copies the rectangle of the picture to the same place on target.
    void CopyTo(HDC target, const Rect& r) const;
    // A paint of the window: what its context's clip box needs, copied from the picture.
    void Show(HDC target);
    // Draws with draw(dc) on the picture and copies r to the window, or on the window itself.
    template <class Draw>
    void DrawThrough(HDC window, const Rect& r, Draw&& draw) {
        if (HDC picture = Current()) {
            draw(picture);
            CopyTo(window, r);
        } else if (window) {
            draw(window);
        }
    }

private:
    HDC Context();

    int32_t width_;
    int32_t height_;
    Painter paint_;
    bool current_ = false;
    // Released in this order: the context first, then the bitmap that was selected into it.
    OwnedBitmap bitmap_;
    MemoryDC dc_;
};

}  // namespace zam
