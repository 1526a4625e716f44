#pragma once
// The frequency graph: the reference shares of Russian in red and the ciphertext's shares in
// green, drawn straight on the window and erased by drawing them again in black. It is also
// an input device: zoom by dragging, sort by a click on an axis strip, point at and click
// markers to choose letters.
#include <windows.h>

#include <memory>

#include "analysis/analysis_host.h"
#include "toolkit/weak_ref.h"
#include "analysis/graph_axis.h"

namespace zam {

class Canvas;

class GraphWindow {
public:
    // Attaches the frame's paint and resize and the form's mouse and character events; the
    // form's show and hide events stay the application's.
    GraphWindow(Control* form, const AnalysisHost& host);
    ~GraphWindow();
    GraphWindow(const GraphWindow&) = delete;
    GraphWindow& operator=(const GraphWindow&) = delete;

    // With erase, the whole picture again in black.
    void DrawGraph(bool erase);
    // One marker in its current colours; nothing for a symbol not shown.
    void DrawMarker(MarkerKind kind, char letter);
    // Alphabetical order, or (flag clear, from alphabetical order and with a ciphertext)
    // largest ciphertext share first.
    void SetDisplayOrder(bool alphabetical);

    // Forgets a drag in progress, for a window that is being hidden.
    void CancelBand();
    bool BandShown() const { return bandShown_; }

    // Null once the form is freed.
    Control* Form() const { return form_; }
    const GraphAxes& Axes() const { return axes_; }
    const DisplayOrder& Order() const { return order_; }

private:
    friend std::unique_ptr<GraphWindow> BuildGraphWindow(Control* form, const AnalysisHost& host);

    // The canvas's context for one drawing operation, clipped; handed back at the end, so that
    // no context is held between operations.
    class Batch;

    void OnClientPaint(Control* form, HDC dc);
    void OnResized(Control* form);
    void OnMouseDown(Control* form, MouseEventData& data);
    void OnMouseMove(Control* form, MouseEventData& data);
    void OnMouseUp(Control* form, MouseEventData& data);
    void OnChar(Control* form, int32_t& key, uint32_t shift);

    bool CanDraw() const;
    void Refit();
    void DrawGridAndLabels(Canvas* canvas, bool erase);
    void DrawAxes(Canvas* canvas, bool erase);
    void DrawLines(Canvas* canvas, MarkerKind kind, bool erase);
    void PaintMarker(Canvas* canvas, MarkerKind kind, int position, bool erase);
    Point MarkerPoint(MarkerKind kind, int position) const;
    void DrawBand();
    // The first marker under the point: ciphertext before reference, position by position.
    bool HitMarker(Point p, MarkerKind& kind, char& letter) const;

    // Null once the toolkit has freed the form: the window then does nothing.
    WeakRef<Control> form_;
    AnalysisHost host_;
    DisplayOrder order_ = IdentityOrder();
    GraphAxes axes_;
    Rect band_{0, 0, 0, 0};
    bool dragging_ = false;   // the left button went down where a band may start
    bool bandShown_ = false;  // the band is on the screen now
};

// Lays the graph out on the application's form ("График"), with the initial axes, the
// alphabetical order and the size 400 x 240.
std::unique_ptr<GraphWindow> BuildGraphWindow(Control* form, const AnalysisHost& host);

}  // namespace zam
