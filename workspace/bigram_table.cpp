#include "workspace/bigram_table.h"

namespace zam {
namespace {

constexpr int kHoveredStep = kCurrentEntry;
constexpr int kSelectedStep = kSelectedBigramEntry;
constexpr int kPlainStep = kBackgroundEntry;

// The first index whose span [16i + 3, 16i + 20) holds v, 1-31; 0 for none.
int InnerIndexAt(int v) {
    for (int i = 1; i < kBigramCells; ++i) {
        if (v >= kCellPitch * i + kGridMargin && v < kCellPitch * i + kGridMargin + 17) {
            return i;
        }
    }
    return 0;
}

bool SelectionShown(const Workspace& ws) {
    return ws.HiliteSelectedBigram && IsInnerCell(ws.BigramSelectedCell);
}

}  // namespace

Rect BigramCellRect(int column, int row) {
    return {kCellPitch * column + kGridMargin, kCellPitch * row + kGridMargin,
            kCellPitch * column + kGridMargin + 17, kCellPitch * row + kGridMargin + 17};
}

Cell BigramCellAt(Point point) {
    const int column = InnerIndexAt(point.x);
    const int row = InnerIndexAt(point.y);
    if (column == 0 || row == 0) {
        return {};
    }
    return {row, column};
}

std::string BigramOf(const Cell& cell) {
    if (!IsInnerCell(cell)) {
        return {};
    }
    return {ColumnSymbol(cell.row), ColumnSymbol(cell.column)};
}

int BigramCellStep(const Workspace& ws, const Cell& cell) {
    if (!IsInnerCell(cell)) {
        return kPlainStep;
    }
    if (SelectionShown(ws) && cell == ws.BigramSelectedCell) {
        return kSelectedStep;
    }
    return cell == ws.BigramHoverCell ? kHoveredStep : kPlainStep;
}

int ColumnHeadingStep(const Workspace& ws, int column) {
    if (SelectionShown(ws) && ws.BigramSelectedCell.column == column) {
        return kSelectedStep;
    }
    if (IsInnerCell(ws.BigramHoverCell) && ws.BigramHoverCell.column == column) {
        return kHoveredStep;
    }
    return kPlainStep;
}

int RowHeadingStep(const Workspace& ws, int row) {
    if (SelectionShown(ws) && ws.BigramSelectedCell.row == row) {
        return kSelectedStep;
    }
    if (IsInnerCell(ws.BigramHoverCell) && ws.BigramHoverCell.row == row) {
        return kHoveredStep;
    }
    return kPlainStep;
}

BigramCellLook LookOfBigramCell(const Workspace& ws, const ColourPalette& palette, int column,
                                int row) {
    BigramCellLook look;
    int step = kPlainStep;
    if (column >= 1 && column < kBigramCells && row == 0) {
        step = ColumnHeadingStep(ws, column);
        look.label.assign(1, ColumnSymbol(column));
    } else if (row >= 1 && row < kBigramCells && column == 0) {
        step = RowHeadingStep(ws, row);
        look.label.assign(1, ColumnSymbol(row));
    } else if (IsInnerCell({row, column})) {
        step = BigramCellStep(ws, {row, column});
        look.outline = column == row ? 2 : 1;
        const std::size_t count = ws.TextStats.Pairs(row, column).size();
        if (count > 0) {
            look.label = std::to_string(count);
        }
        if (count > 0 && step == kPlainStep) {
            const CipherStats& stats = ws.TextStats;
            look.background = Blend(palette[kScaleLowEntry], palette[kScaleHighEntry],
                                    static_cast<float>(count), stats.pairMin, stats.pairMax);
            look.text = palette[step + 1];
            return look;
        }
    }
    look.background = palette[step];
    look.text = palette[step + 1];
    return look;
}

}  // namespace zam
