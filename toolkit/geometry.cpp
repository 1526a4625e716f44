#include "toolkit/geometry.h"

#include <limits>

namespace zam {
namespace {

// Differences are taken in 64 bits: far-apart edges would overflow 32. The midpoint itself
// always fits.
int32_t Midpoint(int32_t low, int32_t high) {
    const int64_t half = (int64_t{high} - low) / 2;
    return static_cast<int32_t>(low + half);
}

}  // namespace

Rect MakeRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return Rect{left, top, right, bottom};
}

Point RectCenter(const Rect& rect) {
    return Point{Midpoint(rect.left, rect.right), Midpoint(rect.top, rect.bottom)};
}

int32_t AbsValue(int32_t n) {
    if (n == std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::max();
    }
    return n < 0 ? -n : n;
}

}  // namespace zam
