#pragma once
// The workspace's redraw requests carried out on the program's windows.
#include <cstdint>
#include <span>
#include <string_view>

#include "toolkit/canvas.h"
#include "workspace/display.h"
#include "workspace/workspace.h"

namespace zam {

struct Application;

// A view whose cells are painted one by one on a drawing surface.
class CellView : public View {
public:
    virtual Canvas* CellCanvas() = 0;
    // The rows of the surface that its window shows now, bottom exclusive.
    virtual int32_t VisibleTop() = 0;
    virtual int32_t VisibleBottom() = 0;

protected:
    ~CellView() = default;
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

private:
    Application& app_;
};

}  // namespace zam
