#pragma once
// The arithmetic of the frequency graph: its two axes, fitting them to a plot and a range,
// their labels, the display order of the symbols and the rubber-band gestures. No windows,
// so that it runs natively under the sanitizers.
//
// Data units: a symbol at display position p sits at p * 100; a share of s percent at s * 100.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/geometry.h"
#include "workspace/alphabet.h"

namespace zam {

inline constexpr int32_t kHorizontalFullRange = 3200;  // past position 31
inline constexpr int32_t kVerticalFullRange = 2000;    // 20 percent
inline constexpr float kMaxHorizontalScale = 5.0f;     // pixels per unit
inline constexpr float kMinVerticalScale = -10.0f;     // pixel y grows downwards

// Rounds to the nearest integer, halves to even. NaN gives 0; values beyond 32 bits saturate.
int32_t Nearest(double value);

struct GraphAxis {
    // Pixels of the data minimum and maximum: the plot's left and right edges, or its bottom
    // and top. Signed 32-bit: a pointer dragged out of the window has negative coordinates.
    int32_t lowPixel = 0;
    int32_t highPixel = 0;
    uint16_t labelSpacing = 0;  // pixels between two labels
    uint16_t minimum = 0;
    uint16_t maximum = 0;
    uint16_t labelStep = 0;  // data units between labels
    uint16_t firstLabel = 0;
    uint16_t lastLabel = 0;
    uint8_t labelCount = 0;
    float scale = 0.0f;  // pixels per data unit
};

// letterWidth is the width of "Щ" in the graph's font: labels closer than that would touch.
void FitHorizontal(GraphAxis& axis, int32_t letterWidth);
// digitHeight is the height of "1" in the graph's font.
void FitVertical(GraphAxis& axis, int32_t digitHeight);

struct GraphAxes {
    GraphAxis horizontal;
    GraphAxis vertical;

    // The initial ranges and labels, before any layout.
    GraphAxes();
    Rect Plot() const;
    // The plot inside the frame's inner client rectangle.
    void Layout(const Rect& client);
    void SetRanges(int32_t xMin, int32_t xMax, int32_t yMin, int32_t yMax);
    // Whether the plot has width and height: without them nothing is fitted or zoomed.
    bool HasArea() const;
    // Horizontal first: the vertical fit follows it.
    void Fit(int32_t letterWidth, int32_t digitHeight);
    // Shares enter as fractional data values.
    Point ToPixel(double x, double y) const;
    // Data values outside 0..65535 are cut to it, so that a corner dragged beyond the plot
    // cannot wrap round into a huge range.
    Point ToData(int32_t px, int32_t py) const;
};

// The vertical label text: value / 100 with the user's decimal separator ("0", "12", "0,5").
std::string PercentLabel(int32_t value, std::string_view decimalSeparator);

// order[p] is the alphabet column shown at display position p, 1 to 31; order[0] is unused.
using DisplayOrder = std::array<uint8_t, kSymbolCount + 1>;

DisplayOrder IdentityOrder();
bool IsIdentity(const DisplayOrder& order);
// Largest share first. This exact exchange procedure decides where equal shares end up.
void SortByShare(DisplayOrder& order, const ColumnTable<float, kSymbolCount>& share);
// The first display position showing this symbol, 0 when none does.
int DisplayPosition(const DisplayOrder& order, char symbol);

// The axis strips that act as buttons; right and bottom edges outside.
bool InVerticalStrip(const Rect& client, const Rect& plot, Point p);
bool InHorizontalStrip(const Rect& client, const Rect& plot, Point p);
// A marker's hit box: its point inflated by 5 on every side, right and bottom outside.
bool MarkerHit(Point marker, Point p);

// The band is (anchor, pointer) in client pixels. Active when it lies strictly inside the
// plot horizontally or vertically; a press in either axis strip passes this test.
bool BandActive(const Rect& band, const Rect& plot);

enum class BandGesture { None, ResetZoom, Zoom };

struct BandOutcome {
    BandGesture gesture = BandGesture::None;
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;  // the new ranges, for ResetZoom and Zoom
};

// What releasing the left button over this active band does: an up-left drag resets the zoom,
// a down-right drag of more than 5 pixels each way covering at least 50 units each way of what
// is shown zooms (corners beyond the plot count as its edges). A plot without area: nothing.
BandOutcome FinishBand(const Rect& band, const GraphAxes& axes);

}  // namespace zam
