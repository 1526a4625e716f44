#pragma once
// Shared by the analysis window tests: a display that hands the graph's requests to the graph
// under test, and the pixels of a window as they are on the screen (after real paints and
// direct drawing, unlike WM_PRINT, which paints afresh).
#include <windows.h>

#include <memory>
#include <span>

#include "analysis/graph_window.h"
#include "tests/windows/control_test_support.h"
#include "tests/windows/drawing_test.h"
#include "workspace/display.h"

namespace zam::test {

class GraphDisplay : public Display {
public:
    void DrawTextCell(const TextObject&, std::uint16_t) override {}
    void DrawAlphabetCell(int, int) override {}
    void DrawMarker(MarkerKind kind, char letter) override {
        if (graph)
            graph->DrawMarker(kind, letter);
    }
    void DrawGraph(bool erase) override {
        if (graph)
            graph->DrawGraph(erase);
    }
    void SetAlphabetCaption(std::string_view) override {}
    void SetMainTitle(std::string_view) override {}
    std::span<View* const> Views() override { return {}; }
    void InvalidateGraphSurface() override {
        if (graph && graph->Form())
            graph->Form()->Invalidate();
    }

    GraphWindow* graph = nullptr;
};

// What the window shows now, read from its surface.
inline std::unique_ptr<Surface> OnScreen(Control* form) {
    Pump();
    auto shot = std::make_unique<Surface>(form->Width(), form->Height(), RGB(1, 2, 3));
    HWND window = form->Handle();
    HDC dc = GetDC(window);
    BitBlt(shot->Dc(), 0, 0, form->Width(), form->Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return shot;
}

// A real paint of the whole window.
inline void Repaint(Control* form) {
    InvalidateRect(form->Handle(), nullptr, TRUE);
    UpdateWindow(form->Handle());
    Pump();
}

inline LRESULT Mouse(Control* form, UINT message, int x, int y, WPARAM keys = 0) {
    return SendMessageW(form->Handle(), message, keys, MAKELPARAM(x, y));
}

}  // namespace zam::test
