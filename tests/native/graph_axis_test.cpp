// The graph's axes without a window: fitting ranges and labels at the caps and thresholds,
// pixel and data conversions, percent labels, the sorting strips, the band and its zooms.
#include "analysis/graph_axis.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <string>

#include "recording_display.h"

namespace zam {
namespace {

constexpr int32_t kLetterWidth = 11;  // "Щ" at height 14
constexpr int32_t kDigitHeight = 16;  // "1" at height 14

GraphAxis Fitted(bool horizontal, int32_t length, int32_t min, int32_t max) {
    GraphAxis axis;
    axis.lowPixel = horizontal ? 33 : 500;
    axis.highPixel = horizontal ? 33 + length : 500 - length;
    axis.minimum = static_cast<uint16_t>(min);
    axis.maximum = static_cast<uint16_t>(max);
    if (horizontal) {
        FitHorizontal(axis, kLetterWidth);
    } else {
        FitVertical(axis, kDigitHeight);
    }
    return axis;
}

// One pixel per unit both ways: plot (0, 0)-(1000, 1000), data 0..1000.
GraphAxes UnitAxes() {
    GraphAxes axes;
    axes.horizontal = {0, 1000, 0, 0, 1000, 0, 0, 0, 0, 1.0f};
    axes.vertical = {1000, 0, 0, 0, 1000, 0, 0, 0, 0, -1.0f};
    return axes;
}

TEST(GraphAxis, FitsCapTheRangeAndTheScaleAndPickTheLabelStep) {
    const struct {
        const char* name;
        bool horizontal;
        int32_t length, min, max;
        int32_t wantMin, wantMax, first, last, step, count;
    } cases[] = {
        // The default window: 344 px for 32 letters; 100 units are 11 px, not wider than
        // "Щ", so every other letter is labelled.
        {"full width", true, 344, 0, 3200, 0, 3200, 100, 3200, 200, 15},
        {"swapped and capped", true, 344, 9000, 200, 200, 3200, 200, 3200, 200, 15},
        // One letter on 1000 px would be 10 px per unit: cut to 5, the range to 200 units.
        {"one letter zoomed", true, 1000, 100, 200, 100, 300, 100, 300, 100, 2},
        {"scale just over 5 is cut", true, 503, 100, 200, 100, 201, 100, 200, 100, 1},
        // 173 px for 20 percent: 1 percent is 9 px, under the digit.
        {"full height", false, 173, 0, 2000, 0, 2000, 0, 2000, 200, 10},
        {"scale just under -10 is cut", false, 506, 0, 50, 0, 51, 0, 50, 10, 5},
        {"under two percent: tenths", false, 400, 130, 320, 130, 320, 130, 320, 10, 19},
        {"under five percent: halves", false, 400, 120, 520, 120, 520, 150, 500, 50, 7},
        {"five percent or more: whole", false, 400, 0, 500, 0, 500, 0, 500, 100, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GraphAxis axis = Fitted(c.horizontal, c.length, c.min, c.max);
        EXPECT_EQ(axis.minimum, c.wantMin);
        EXPECT_EQ(axis.maximum, c.wantMax);
        EXPECT_EQ(axis.labelCount, c.count);
        if (c.count > 0) {
            EXPECT_EQ(axis.firstLabel, c.first);
            EXPECT_EQ(axis.lastLabel, c.last);
            EXPECT_EQ(axis.labelStep, c.step);
            EXPECT_GT(axis.labelSpacing, c.horizontal ? kLetterWidth : kDigitHeight);
        }
    }
    // Plots turned inside out (a window 67 px high), and a range of one unit whose first label
    // lies above its last, end the label search.
    EXPECT_EQ(Fitted(false, -30, 0, 2000).labelCount, 0);
    EXPECT_EQ(Fitted(false, 5, 1235, 1236).labelCount, 0);
}

TEST(GraphAxis, LayoutConversionsAndRoundingNeverOverflow) {
    GraphAxes axes;
    axes.Layout(Rect{3, 24, 397, 237});
    const Rect plot = axes.Plot();
    EXPECT_EQ((std::array{plot.left, plot.top, plot.right, plot.bottom}),
              (std::array{33, 44, 377, 217}));
    axes.Fit(kLetterWidth, kDigitHeight);
    const Point low = axes.ToPixel(0, 0), high = axes.ToPixel(3200, 2000);
    EXPECT_EQ((std::array{low.x, low.y, high.x, high.y}), (std::array{33, 217, 377, 44}));
    const GraphAxes unit = UnitAxes();
    const Point data = unit.ToData(250, 700);
    EXPECT_EQ((std::array{data.x, data.y}), (std::array{250, 300}));
    // A pointer dragged out of the window: negative pixels give data 0, not 65000-odd.
    const Point out = unit.ToData(-30, 1200);
    EXPECT_EQ((std::array{out.x, out.y}), (std::array{0, 0}));

    // Halves to even, and no overflow at the ends.
    EXPECT_EQ((std::array{Nearest(2.5), Nearest(-1.5), Nearest(std::nan("")), Nearest(1e12),
                          Nearest(-1e12)}),
              (std::array{2, -2, 0, INT32_MAX, INT32_MIN}));

    // At most two decimals, in the user's separator.
    EXPECT_EQ(PercentLabel(5, "::"), "0::05");
    EXPECT_EQ(PercentLabel(-250, ","), "-2,5");
}

TEST(GraphAxis, ReleasingTheBandZoomsResetsOrDoesNothingWithCornersBeyondThePlotAsItsEdges) {
    const GraphAxes axes = UnitAxes();
    const struct {
        const char* name;
        Rect band;
        BandGesture gesture;
        int32_t xMin, xMax, yMin, yMax;
    } cases[] = {
        {"down-right", {100, 500, 200, 600}, BandGesture::Zoom, 100, 200, 400, 500},
        {"49 units wide", {100, 500, 149, 600}, BandGesture::None, 0, 0, 0, 0},
        {"50 units wide", {100, 500, 150, 600}, BandGesture::Zoom, 100, 150, 400, 500},
        {"49 units high", {100, 500, 200, 549}, BandGesture::None, 0, 0, 0, 0},
        {"up-left", {100, 500, 99, 499}, BandGesture::ResetZoom, 0, 3200, 0, 2000},
        {"from outside the window", {-40, 500, 200, 1300}, BandGesture::Zoom, 0, 200, 0, 500},
        {"top above the plot", {100, -200, 300, 600}, BandGesture::Zoom, 100, 300, 400, 1000},
        {"right past the plot", {900, 500, 1300, 600}, BandGesture::Zoom, 900, 1000, 400, 500},
        {"both past the right edge", {1100, 500, 1300, 600}, BandGesture::None, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BandOutcome out = FinishBand(c.band, axes);
        EXPECT_EQ(out.gesture, c.gesture);
        if (c.gesture != BandGesture::None) {
            EXPECT_EQ((std::array{out.xMin, out.xMax, out.yMin, out.yMax}),
                      (std::array{c.xMin, c.xMax, c.yMin, c.yMax}));
        }
    }
    // 6 px and 50 units only meet on a coarser scale.
    GraphAxes coarse = UnitAxes();
    coarse.horizontal.scale = 0.1f;
    coarse.vertical.scale = -0.1f;
    coarse.horizontal.maximum = coarse.vertical.maximum = 10000;
    EXPECT_EQ(FinishBand({100, 500, 106, 506}, coarse).gesture, BandGesture::Zoom);
    EXPECT_EQ(FinishBand({100, 500, 105, 506}, coarse).gesture, BandGesture::None);
}

}  // namespace
}  // namespace zam
