// Zooms with corners beyond the plot, plots without area, and the vertical labels' decimals.
#include <gtest/gtest.h>

#include "analysis/graph_axis.h"

namespace zam {
namespace {

// One pixel per unit both ways: plot (0, 0)-(1000, 1000), data 0..1000 shown.
GraphAxes UnitAxes() {
    GraphAxes axes;
    axes.horizontal = {0, 1000, 0, 0, 1000, 0, 0, 0, 0, 1.0f};
    axes.vertical = {1000, 0, 0, 0, 1000, 0, 0, 0, 0, -1.0f};
    return axes;
}

TEST(GraphZoom, CornersBeyondThePlotCountAsItsEdges) {
    const GraphAxes axes = UnitAxes();
    const struct {
        const char* name;
        Rect band;
        BandGesture gesture;
        int32_t xMin, xMax, yMin, yMax;
    } cases[] = {
        {"both corners above the plot", {100, -200, 300, -100}, BandGesture::None, 0, 0, 0, 0},
        {"top above the plot", {100, -200, 300, 600}, BandGesture::Zoom, 100, 300, 400, 1000},
        {"right past the plot", {900, 500, 1300, 600}, BandGesture::Zoom, 900, 1000, 400, 500},
        {"both past the right edge", {1100, 500, 1300, 600}, BandGesture::None, 0, 0, 0, 0},
        {"both left of the plot", {-300, 500, -100, 600}, BandGesture::None, 0, 0, 0, 0},
        {"a sliver past the right edge", {970, 500, 1300, 600}, BandGesture::None, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BandOutcome out = FinishBand(c.band, axes);
        EXPECT_EQ(out.gesture, c.gesture);
        if (c.gesture == BandGesture::Zoom) {
            EXPECT_EQ(out.xMin, c.xMin);
            EXPECT_EQ(out.xMax, c.xMax);
            EXPECT_EQ(out.yMin, c.yMin);
            EXPECT_EQ(out.yMax, c.yMax);
        }
    }
}

TEST(GraphZoom, AZoomFromAboveTheTopOfAZoomedPlotKeepsItsRangeInOrder) {
    GraphAxes axes;
    axes.Layout(Rect{3, 24, 397, 237});
    axes.SetRanges(0, 3200, 1900, 2000);  // the top percent of the scale
    axes.Fit(11, 16);
    // Dragged in the strip above the plot, 5 and 15 pixels above its top.
    const BandOutcome out = FinishBand({100, 29, 200, 39}, axes);
    EXPECT_EQ(out.gesture, BandGesture::None);
    const BandOutcome partly = FinishBand({100, 30, 200, 150}, axes);
    ASSERT_EQ(partly.gesture, BandGesture::Zoom);
    axes.SetRanges(partly.xMin, partly.xMax, partly.yMin, partly.yMax);
    axes.Fit(11, 16);
    EXPECT_LT(axes.vertical.minimum, axes.vertical.maximum);
    EXPECT_EQ(axes.vertical.maximum, 2000);
    EXPECT_LT(axes.vertical.scale, 0.0f);
}

TEST(GraphZoom, APlotWithoutAreaKeepsItsRangesShowsNoLabelsAndIgnoresZooms) {
    GraphAxes axes;
    axes.Layout(Rect{3, 24, 397, 237});
    axes.Fit(11, 16);
    ASSERT_GT(axes.vertical.labelCount, 0);
    const float scale = axes.horizontal.scale;
    // A window 26 pixels high: the client area is empty and the plot turned inside out.
    axes.Layout(Rect{3, 24, 397, 23});
    axes.Fit(11, 16);
    EXPECT_EQ(axes.horizontal.labelCount, 0);
    EXPECT_EQ(axes.vertical.labelCount, 0);
    EXPECT_EQ(axes.vertical.maximum, 2000);
    EXPECT_EQ(axes.horizontal.scale, scale);
    EXPECT_EQ(FinishBand({100, 10, 300, 100}, axes).gesture, BandGesture::None);
    EXPECT_EQ(FinishBand({100, 10, 50, 5}, axes).gesture, BandGesture::None);
    // Room again: the ranges that waited are fitted.
    axes.Layout(Rect{3, 24, 397, 237});
    axes.Fit(11, 16);
    EXPECT_GT(axes.vertical.labelCount, 0);
}

TEST(GraphZoom, VerticalLabelsHaveAtMostTwoDecimals) {
    EXPECT_EQ(PercentLabel(1010, ","), "10,1");
    EXPECT_EQ(PercentLabel(1001, ","), "10,01");
    EXPECT_EQ(PercentLabel(1000, ","), "10");
}

}  // namespace
}  // namespace zam
