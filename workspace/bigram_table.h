#pragma once
// The bigram table's geometry and colours: 32 x 32 cells, the symbols as headings along the
// top row and the left column, the pair counts inside. Pure functions of the workspace, so the
// window only paints what these decide.
#include <string>

#include "toolkit/geometry.h"
#include "workspace/colouring.h"
#include "workspace/workspace.h"

namespace zam {

inline constexpr int kBigramCells = 32;  // index 0 the headings, 1-31 the symbols

// Cell (column, row), both 0-31: 17 x 17 pixels on a 16-pixel pitch from 3, 3.
Rect BigramCellRect(int column, int row);

// The inner cell under a point, the lower column and row where two cells share a border
// line; (0, 0) over a heading, the corner or outside the grid.
Cell BigramCellAt(Point point);

// Inner cells have both indexes 1-31; (0, 0) stands for no cell.
inline bool IsInnerCell(const Cell& cell) {
    return IsCipherColumn(cell.row) && IsCipherColumn(cell.column);
}

// The two symbols of an inner cell: row symbol first, column symbol second.
std::string BigramOf(const Cell& cell);

// Palette entry of the background: 3 plain, 7 hovered, 11 selected. The text takes the next
// entry, and an inner cell with a count takes the scale's blend instead of entry 3.
int BigramCellStep(const Workspace& ws, const Cell& cell);
// A heading is lit while the selected cell (11) or the hovered one (7) lies in its column or
// row, whichever cell drew it last: the pointer's redraws and a full paint agree.
int ColumnHeadingStep(const Workspace& ws, int column);
int RowHeadingStep(const Workspace& ws, int row);

struct BigramCellLook {
    Colour background = 0;
    Colour text = 0;
    std::string label;  // the count or the heading symbol; empty for none
    int outline = 1;    // pixels; 2 on the diagonal of doubled letters
};

// How cell (column, row), both 0-31, looks now; headings by their own steps.
BigramCellLook LookOfBigramCell(const Workspace& ws, const ColourPalette& palette, int column,
                                int row);

}  // namespace zam
