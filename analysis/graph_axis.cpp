#include "analysis/graph_axis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace zam {
namespace {

constexpr int32_t kUnitsPerLetter = 100;
constexpr int32_t kLabelSearchLimit = std::numeric_limits<uint16_t>::max();

uint16_t ToUnsigned16(int64_t value) {
    return static_cast<uint16_t>(std::clamp<int64_t>(value, 0, kLabelSearchLimit));
}

int32_t ToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Steps of `base` until two labels lie further apart than `size` pixels. The search is bounded:
// a plot of zero height (scale 0) or one turned inside out would never get there.
void ChooseLabelStep(GraphAxis& axis, int32_t base, int32_t size, float direction) {
    axis.labelStep = 0;
    axis.labelSpacing = 0;
    axis.labelCount = 0;
    const double scale = static_cast<double>(axis.scale) * direction;
    if (!(scale > 0.0)) {
        return;
    }
    for (int32_t step = base; step <= kLabelSearchLimit; step += base) {
        const int32_t spacing = Nearest(step * scale);
        if (spacing > size) {
            axis.labelStep = static_cast<uint16_t>(step);
            axis.labelSpacing = ToUnsigned16(spacing);
            if (axis.lastLabel >= axis.firstLabel) {
                const int32_t count = (axis.lastLabel - axis.firstLabel) / step;
                axis.labelCount = static_cast<uint8_t>(std::min(count, 255));
            }
            return;
        }
    }
}

void OrderRange(GraphAxis& axis, int32_t cap) {
    if (axis.minimum > axis.maximum) {
        std::swap(axis.minimum, axis.maximum);
    }
    if (axis.maximum > cap) {
        axis.maximum = static_cast<uint16_t>(cap);
    }
}

}  // namespace

int32_t Nearest(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    const double floor = std::floor(value);
    const double fraction = value - floor;
    auto result = static_cast<int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && (result & 1) != 0)) {
        ++result;
    }
    return ToInt32(result);
}

void FitHorizontal(GraphAxis& axis, int32_t letterWidth) {
    OrderRange(axis, kHorizontalFullRange);
    const int32_t width = axis.highPixel - axis.lowPixel;
    axis.scale = static_cast<float>(static_cast<double>(width) / (axis.maximum - axis.minimum));
    if (axis.scale > kMaxHorizontalScale) {
        axis.scale = kMaxHorizontalScale;
        axis.maximum = ToUnsigned16(int64_t{Nearest(width / 5.0)} + axis.minimum);
    }
    if (axis.minimum / kUnitsPerLetter == axis.maximum / kUnitsPerLetter) {
        axis.labelCount = 0;
        return;
    }
    int32_t first = axis.minimum / kUnitsPerLetter * kUnitsPerLetter;
    if (first == 0) {
        first = kUnitsPerLetter;  // position 0 holds no symbol
    }
    if (first < axis.minimum) {
        first += kUnitsPerLetter;
    }
    axis.firstLabel = ToUnsigned16(first);
    axis.lastLabel = static_cast<uint16_t>(axis.maximum / kUnitsPerLetter * kUnitsPerLetter);
    ChooseLabelStep(axis, kUnitsPerLetter, letterWidth, 1.0f);
}

void FitVertical(GraphAxis& axis, int32_t digitHeight) {
    OrderRange(axis, kVerticalFullRange);
    const int32_t height = axis.highPixel - axis.lowPixel;  // top - bottom: negative
    axis.scale = static_cast<float>(static_cast<double>(height) / (axis.maximum - axis.minimum));
    if (axis.scale < kMinVerticalScale) {
        axis.scale = kMinVerticalScale;
        axis.maximum = ToUnsigned16(int64_t{Nearest(height / -10.0)} + axis.minimum);
    }
    const int32_t hundreds = (axis.maximum - axis.minimum) / 100;
    const int32_t base = hundreds < 2 ? 10 : hundreds < 5 ? 50 : 100;
    int32_t first = base * (axis.minimum / base);
    if (first < axis.minimum) {
        first += base;
    }
    axis.firstLabel = ToUnsigned16(first);
    axis.lastLabel = static_cast<uint16_t>(base * (axis.maximum / base));
    ChooseLabelStep(axis, base, digitHeight, -1.0f);
}

GraphAxes::GraphAxes() {
    horizontal.maximum = kHorizontalFullRange;
    horizontal.firstLabel = 100;
    horizontal.lastLabel = 3100;
    vertical.maximum = kVerticalFullRange;
    vertical.lastLabel = 1900;
}

Rect GraphAxes::Plot() const {
    return Rect{horizontal.lowPixel, vertical.highPixel, horizontal.highPixel, vertical.lowPixel};
}

void GraphAxes::Layout(const Rect& client) {
    horizontal.lowPixel = client.left + 30;
    horizontal.highPixel = client.right - 20;
    vertical.lowPixel = client.bottom - 20;
    vertical.highPixel = client.top + 20;
}

void GraphAxes::SetRanges(int32_t xMin, int32_t xMax, int32_t yMin, int32_t yMax) {
    horizontal.minimum = ToUnsigned16(xMin);
    horizontal.maximum = ToUnsigned16(xMax);
    vertical.minimum = ToUnsigned16(yMin);
    vertical.maximum = ToUnsigned16(yMax);
}

bool GraphAxes::HasArea() const {
    return horizontal.highPixel > horizontal.lowPixel && vertical.lowPixel > vertical.highPixel;
}

void GraphAxes::Fit(int32_t letterWidth, int32_t digitHeight) {
    // A window 25 or 26 pixels high has no client area at all. The ranges wait for a plot
    // with room; meanwhile neither axis shows labels.
    if (!HasArea()) {
        horizontal.labelCount = 0;
        vertical.labelCount = 0;
        return;
    }
    FitHorizontal(horizontal, letterWidth);
    FitVertical(vertical, digitHeight);
}

Point GraphAxes::ToPixel(double x, double y) const {
    const double dx = (x - horizontal.minimum) * horizontal.scale;
    const double dy = (y - vertical.minimum) * vertical.scale;
    return Point{ToInt32(int64_t{Nearest(dx)} + horizontal.lowPixel),
                 ToInt32(int64_t{Nearest(dy)} + vertical.lowPixel)};
}

Point GraphAxes::ToData(int32_t px, int32_t py) const {
    const double dx = (static_cast<double>(px) - horizontal.lowPixel) / horizontal.scale;
    const double dy = (static_cast<double>(py) - vertical.lowPixel) / vertical.scale;
    return Point{ToUnsigned16(int64_t{Nearest(dx)} + horizontal.minimum),
                 ToUnsigned16(int64_t{Nearest(dy)} + vertical.minimum)};
}

std::string PercentLabel(int32_t value, std::string_view decimalSeparator) {
    const int64_t magnitude = value < 0 ? -int64_t{value} : value;
    std::string text;
    if (value < 0) {
        text += '-';
    }
    text += std::to_string(magnitude / 100);
    const auto hundredths = static_cast<int32_t>(magnitude % 100);
    if (hundredths != 0) {
        text += decimalSeparator;
        text += static_cast<char>('0' + hundredths / 10);
        if (hundredths % 10 != 0) {
            text += static_cast<char>('0' + hundredths % 10);
        }
    }
    return text;
}

DisplayOrder IdentityOrder() {
    DisplayOrder order{};
    for (int p = 1; p <= kSymbolCount; ++p) {
        order[static_cast<size_t>(p)] = static_cast<uint8_t>(p);
    }
    return order;
}

bool IsIdentity(const DisplayOrder& order) {
    return order == IdentityOrder();
}

void SortByShare(DisplayOrder& order, const ColumnTable<float, kSymbolCount>& share) {
    for (size_t i = 1; i <= kSymbolCount; ++i) {
        for (size_t j = 1; j <= kSymbolCount; ++j) {
            if (share[order[i]] > share[order[j]]) {
                std::swap(order[i], order[j]);
            }
        }
    }
}

int DisplayPosition(const DisplayOrder& order, char symbol) {
    for (int p = 1; p <= kSymbolCount; ++p) {
        if (ColumnSymbol(order[static_cast<size_t>(p)]) == symbol) {
            return p;
        }
    }
    return 0;
}

bool InVerticalStrip(const Rect& client, const Rect& plot, Point p) {
    return p.x >= client.left && p.x < plot.left - 1 && p.y >= plot.top && p.y < plot.bottom;
}

bool InHorizontalStrip(const Rect& client, const Rect& plot, Point p) {
    return p.x >= plot.left && p.x < plot.right && p.y >= plot.bottom - 1 && p.y < client.bottom;
}

bool MarkerHit(Point marker, Point p) {
    return p.x >= marker.x - 5 && p.x < marker.x + 5 && p.y >= marker.y - 5 && p.y < marker.y + 5;
}

bool BandActive(const Rect& band, const Rect& plot) {
    return (band.left > plot.left && band.right < plot.right) ||
           (band.top > plot.top && band.bottom < plot.bottom);
}

BandOutcome FinishBand(const Rect& band, const GraphAxes& axes) {
    if (!axes.HasArea()) {
        return {};
    }
    if (band.right < band.left && band.bottom < band.top) {
        return {BandGesture::ResetZoom, 0, kHorizontalFullRange, 0, kVerticalFullRange};
    }
    if (int64_t{band.right} - band.left > 5 && int64_t{band.bottom} - band.top > 5) {
        // Corners beyond the plot stand for its edges: a range reaching past what is shown
        // would be capped by the fit to less than its minimum, or to nothing.
        const GraphAxis& h = axes.horizontal;
        const GraphAxis& v = axes.vertical;
        const Point a = axes.ToData(band.right, band.top);
        const Point b = axes.ToData(band.left, band.bottom);
        const int32_t right = std::clamp<int32_t>(a.x, h.minimum, h.maximum);
        const int32_t left = std::clamp<int32_t>(b.x, h.minimum, h.maximum);
        const int32_t top = std::clamp<int32_t>(a.y, v.minimum, v.maximum);
        const int32_t bottom = std::clamp<int32_t>(b.y, v.minimum, v.maximum);
        if (right - left < 50 || top - bottom < 50) {
            return {};
        }
        return {BandGesture::Zoom, left, right, bottom, top};
    }
    return {};
}

}  // namespace zam
