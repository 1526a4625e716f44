#pragma once
// The workspace's redraw requests carried out on the program's windows.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "toolkit/geometry.h"
#include "workspace/colouring.h"
#include "workspace/display.h"
#include "workspace/workspace.h"

namespace zam {

struct Application;

// A view whose cells are painted one by one on a drawing surface.
class CellView : public View {
public:
    // Whether the window shows any part of the cell now: most of the occurrences that a
    // pointer move redraws are scrolled away, and their colours need not even be worked out.
    virtual bool Shows(const Rect& cell) const = 0;
    // Draws the cell now, on the paint context while painting and otherwise on a client
    // context that goes back once the message being handled is done.
    virtual void DrawCell(const Rect& cell, const CellStyle& style) = 0;

protected:
    ~CellView() = default;
};

// A view that never scrolls: its drawing surface is as large as it ever gets.
template <class Base>
class FixedSurface : public Base {
public:
    bool HasScrollBar() const override { return false; }
    void ScrollToTop() override {}
    void ShrinkSurfaceToClient() override {}
    void EnsureSurfaceHeight(int) override {}
    void UpdateScrollBar() override {}

protected:
    ~FixedSurface() = default;
};

class AppDisplay : public Display {
public:
    explicit AppDisplay(Application& app) : app_(app) {}

    void DrawTextCell(const TextObject& text, std::uint16_t position) override;
    void DrawAlphabetCell(int row, int column) override;
    void DrawMarker(MarkerKind kind, char letter) override;
    void DrawGraph(bool erase) override;
    void SetAlphabetCaption(std::string_view caption) override;
    void SetMainTitle(std::string_view title) override;
    std::span<View* const> Views() override;
    void InvalidateGraphSurface() override;

    // The views whose cells are drawn one by one, as a text or the key table names them: a
    // pointer move asks for thousands of cells, too many for a cast each.
    void AddCellView(CellView* view);
    void RemoveCellView(CellView* view);

private:
    CellView* CellViewOf(const View* view) const;

    Application& app_;
    std::vector<CellView*> cellViews_;
};

}  // namespace zam
