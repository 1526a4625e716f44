#include "analysis/graph_axis.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "recording_display.h"

namespace zam {
namespace {

constexpr int32_t kLetterWidth = 11;  // "Щ" at height 14
constexpr int32_t kDigitHeight = 16;  // "1" at height 14

GraphAxis Horizontal(int32_t width, int32_t min, int32_t max) {
    GraphAxis axis;
    axis.lowPixel = 33;
    axis.highPixel = 33 + width;
    axis.minimum = static_cast<uint16_t>(min);
    axis.maximum = static_cast<uint16_t>(max);
    FitHorizontal(axis, kLetterWidth);
    return axis;
}

GraphAxis Vertical(int32_t height, int32_t min, int32_t max) {
    GraphAxis axis;
    axis.lowPixel = 500;
    axis.highPixel = 500 - height;
    axis.minimum = static_cast<uint16_t>(min);
    axis.maximum = static_cast<uint16_t>(max);
    FitVertical(axis, kDigitHeight);
    return axis;
}

// One pixel per unit both ways: plot (0, 0)-(1000, 1000), data 0..1000.
GraphAxes UnitAxes() {
    GraphAxes axes;
    axes.horizontal = {0, 1000, 0, 0, 1000, 0, 0, 0, 0, 1.0f};
    axes.vertical = {1000, 0, 0, 0, 1000, 0, 0, 0, 0, -1.0f};
    return axes;
}

TEST(GraphAxis, NearestRoundsHalvesToEvenAndNeverOverflows) {
    const struct {
        double value;
        int32_t expected;
    } cases[] = {{0.5, 0},
                 {1.5, 2},
                 {2.5, 2},
                 {-0.5, 0},
                 {-1.5, -2},
                 {-2.5, -2},
                 {2.4999, 2},
                 {2.5001, 3},
                 {-2.6, -3},
                 {std::nan(""), 0},
                 {1e12, std::numeric_limits<int32_t>::max()},
                 {-1e12, std::numeric_limits<int32_t>::min()},
                 {HUGE_VAL, std::numeric_limits<int32_t>::max()}};
    for (const auto& c : cases) {
        EXPECT_EQ(Nearest(c.value), c.expected) << c.value;
    }
}

TEST(GraphAxis, HorizontalFitCapsTheRangeAndTheScaleAndSpacesTheLabels) {
    const struct {
        const char* name;
        int32_t width, min, max;
        int32_t wantMin, wantMax, first, last, step, count;
    } cases[] = {
        // The default window: 344 pixels for 32 letters; 100 units are 11 px, not wider
        // than "Щ", so every other letter is labelled.
        {"full range", 344, 0, 3200, 0, 3200, 100, 3200, 200, 15},
        {"swapped and capped", 344, 9000, 200, 200, 3200, 200, 3200, 200, 15},
        // One letter on 1000 px would be 10 px per unit: cut to 5, the range to 200 units.
        {"one letter zoomed", 1000, 100, 200, 100, 300, 100, 300, 100, 2},
        {"scale exactly 5 stays", 500, 100, 200, 100, 200, 100, 200, 100, 1},
        {"scale just over 5 is cut", 503, 100, 200, 100, 201, 100, 200, 100, 1},
        // The cut may carry the maximum past 3200, which then gets no letter.
        {"cut past the end", 1000, 3100, 3200, 3100, 3300, 3100, 3300, 100, 2},
        {"first label moves up", 344, 150, 3200, 150, 3200, 200, 3200, 200, 15},
        {"within one hundred", 200, 120, 180, 120, 180, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GraphAxis axis = Horizontal(c.width, c.min, c.max);
        EXPECT_EQ(axis.minimum, c.wantMin);
        EXPECT_EQ(axis.maximum, c.wantMax);
        EXPECT_LE(axis.scale, kMaxHorizontalScale);
        EXPECT_EQ(axis.labelCount, c.count);
        if (c.count > 0) {
            EXPECT_EQ(axis.firstLabel, c.first);
            EXPECT_EQ(axis.lastLabel, c.last);
            EXPECT_EQ(axis.labelStep, c.step);
            EXPECT_GT(axis.labelSpacing, kLetterWidth);
        }
    }
}

TEST(GraphAxis, VerticalFitCapsTheScaleAndPicksTheBaseStep) {
    const struct {
        const char* name;
        int32_t height, min, max;
        int32_t wantMax, first, last, step, count;
    } cases[] = {
        // The default window: 173 px for 20 percent; 1 percent is 9 px, under the digit.
        {"full range", 173, 0, 2000, 2000, 0, 2000, 200, 10},
        {"capped at 20 percent", 173, 0, 5000, 2000, 0, 2000, 200, 10},
        {"scale exactly -10 stays", 500, 0, 50, 50, 0, 50, 10, 5},
        {"scale just under -10 is cut", 506, 0, 50, 51, 0, 50, 10, 5},
        {"under two percent: tenths", 400, 130, 320, 320, 130, 320, 10, 19},
        {"under five percent: halves", 400, 120, 520, 520, 150, 500, 50, 7},
        {"five percent or more: whole", 400, 0, 500, 500, 0, 500, 100, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GraphAxis axis = Vertical(c.height, c.min, c.max);
        EXPECT_EQ(axis.maximum, c.wantMax);
        EXPECT_GE(axis.scale, kMinVerticalScale);
        EXPECT_EQ(axis.firstLabel, c.first);
        EXPECT_EQ(axis.lastLabel, c.last);
        EXPECT_EQ(axis.labelStep, c.step);
        EXPECT_EQ(axis.labelCount, c.count);
        EXPECT_GT(axis.labelSpacing, kDigitHeight);
    }
}

TEST(GraphAxis, PlotsWithoutHeightOrTurnedInsideOutEndTheLabelSearch) {
    // A window 67 px high leaves a plot of zero height: scale 0, no label could ever fit.
    EXPECT_EQ(Vertical(0, 0, 2000).labelCount, 0);
    EXPECT_EQ(Vertical(-30, 0, 2000).labelCount, 0);
    EXPECT_EQ(Horizontal(0, 0, 3200).labelCount, 0);
    EXPECT_EQ(Horizontal(-40, 0, 3200).labelCount, 0);
    // A range of one unit: the first label lies above the last.
    EXPECT_EQ(Vertical(5, 1235, 1236).labelCount, 0);
}

TEST(GraphAxis, LayoutAndConversionsBetweenDataAndPixels) {
    GraphAxes axes;
    axes.Layout(Rect{3, 24, 397, 237});
    EXPECT_EQ(axes.Plot().left, 33);
    EXPECT_EQ(axes.Plot().top, 44);
    EXPECT_EQ(axes.Plot().right, 377);
    EXPECT_EQ(axes.Plot().bottom, 217);
    axes.Fit(kLetterWidth, kDigitHeight);
    EXPECT_EQ(axes.ToPixel(0, 0).x, 33);
    EXPECT_EQ(axes.ToPixel(0, 0).y, 217);
    EXPECT_EQ(axes.ToPixel(3200, 2000).x, 377);
    EXPECT_EQ(axes.ToPixel(3200, 2000).y, 44);

    const GraphAxes unit = UnitAxes();
    EXPECT_EQ(unit.ToData(250, 700).x, 250);
    EXPECT_EQ(unit.ToData(250, 700).y, 300);
    // A pointer dragged out of the window: negative pixels give data 0, not 65000-odd.
    EXPECT_EQ(unit.ToData(-30, 1200).x, 0);
    EXPECT_EQ(unit.ToData(-30, 1200).y, 0);
    EXPECT_EQ(unit.ToData(-32768, -32768).y, 33768);
}

TEST(GraphAxis, PercentLabelsUseTheGivenSeparator) {
    const struct {
        int32_t value;
        const char* separator;
        std::string text;
    } cases[] = {{0, ",", "0"},       {200, ",", "2"},
                 {1200, ".", "12"},   {50, ",", "0,5"},
                 {150, ".", "1.5"},   {1230, ",", "12,3"},
                 {5, ",", "0,05"},    {1990, "::", "19::9"},
                 {-250, ",", "-2,5"}, {INT32_MIN, ".", "-21474836.48"}};
    for (const auto& c : cases) {
        EXPECT_EQ(PercentLabel(c.value, c.separator), c.text) << c.value;
    }
}

TEST(GraphAxis, SortingByShareIsTheExactExchangeProcedure) {
    Workspace ws;
    testing::LoadCipherText(ws, "ОООЕЕАА_Б");
    DisplayOrder order = IdentityOrder();
    EXPECT_TRUE(IsIdentity(order));
    SortByShare(order, ws.TextStats.share);
    EXPECT_FALSE(IsIdentity(order));
    std::string shown;
    for (int p = 1; p <= kSymbolCount; ++p) {
        shown += ColumnSymbol(order[static_cast<size_t>(p)]);
    }
    // Equal shares do not keep the alphabet's order: Е passes А, Г and Д are displaced.
    EXPECT_EQ(shown, "ОЕАБ_ВЖЗИКЛМНГПРСТУФХЦЧШЩЬЫЭЮЯД");
    EXPECT_EQ(DisplayPosition(order, 'Д'), 31);
    EXPECT_EQ(DisplayPosition(order, '_'), 5);
    EXPECT_EQ(DisplayPosition(order, '?'), 0);
    EXPECT_EQ(DisplayPosition(order, 'Q'), 0);
}

TEST(GraphAxis, StripsMarkersAndTheActiveBand) {
    const Rect client{3, 24, 397, 237};
    const Rect plot{33, 44, 377, 217};
    const struct {
        int32_t x, y;
        bool vertical, horizontal, active;
    } points[] = {
        {3, 100, true, false, true},    {31, 100, true, false, true},
        {32, 100, false, false, true},  {2, 100, false, false, true},
        {10, 44, true, false, false},   {10, 43, false, false, false},
        {10, 217, false, false, false}, {33, 216, false, true, true},
        {34, 236, false, true, true},   {34, 237, false, false, true},
        {376, 230, false, true, true},  {377, 230, false, false, false},
        {200, 215, false, false, true}, {-5, 100, false, false, true},
        {100, -5, false, false, true},  {-5, -5, false, false, false},
    };
    for (const auto& p : points) {
        SCOPED_TRACE(std::to_string(p.x) + ", " + std::to_string(p.y));
        EXPECT_EQ(InVerticalStrip(client, plot, {p.x, p.y}), p.vertical);
        EXPECT_EQ(InHorizontalStrip(client, plot, {p.x, p.y}), p.horizontal);
        EXPECT_EQ(BandActive({p.x, p.y, p.x, p.y}, plot), p.active);
    }
    // Hit box: 5 px each way, left and top inside, right and bottom outside.
    EXPECT_TRUE(MarkerHit({100, 100}, {95, 95}));
    EXPECT_TRUE(MarkerHit({100, 100}, {104, 104}));
    EXPECT_FALSE(MarkerHit({100, 100}, {105, 100}));
    EXPECT_FALSE(MarkerHit({100, 100}, {100, 94}));
}

TEST(GraphAxis, ReleasingTheBandZoomsResetsOrDoesNothing) {
    const GraphAxes axes = UnitAxes();
    const struct {
        const char* name;
        Rect band;
        BandGesture gesture;
        int32_t xMin, xMax, yMin, yMax;
    } cases[] = {
        {"down-right", {100, 500, 200, 600}, BandGesture::Zoom, 100, 200, 400, 500},
        {"5 px wide", {100, 500, 105, 600}, BandGesture::None, 0, 0, 0, 0},
        {"6 px wide, 6 units", {100, 500, 106, 600}, BandGesture::None, 0, 0, 0, 0},
        {"5 px high", {100, 500, 200, 505}, BandGesture::None, 0, 0, 0, 0},
        {"49 units wide", {100, 500, 149, 600}, BandGesture::None, 0, 0, 0, 0},
        {"50 units wide", {100, 500, 150, 600}, BandGesture::Zoom, 100, 150, 400, 500},
        {"49 units high", {100, 500, 200, 549}, BandGesture::None, 0, 0, 0, 0},
        {"50 units high", {100, 500, 200, 550}, BandGesture::Zoom, 100, 200, 450, 500},
        {"up-left", {100, 500, 99, 499}, BandGesture::ResetZoom, 0, 3200, 0, 2000},
        {"up only", {100, 500, 300, 400}, BandGesture::None, 0, 0, 0, 0},
        {"left only", {100, 500, 50, 700}, BandGesture::None, 0, 0, 0, 0},
        {"a click", {100, 500, 100, 500}, BandGesture::None, 0, 0, 0, 0},
        {"from outside the window", {-40, 500, 200, 1300}, BandGesture::Zoom, 0, 200, 0, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BandOutcome out = FinishBand(c.band, axes);
        EXPECT_EQ(out.gesture, c.gesture);
        if (c.gesture != BandGesture::None) {
            EXPECT_EQ(out.xMin, c.xMin);
            EXPECT_EQ(out.xMax, c.xMax);
            EXPECT_EQ(out.yMin, c.yMin);
            EXPECT_EQ(out.yMax, c.yMax);
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
