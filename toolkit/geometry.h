#pragma once
// Rectangles and points laid out like Win32 RECT and POINT, so they pass to the API as they are.
#include <cstddef>
#include <cstdint>

namespace zam {

struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct Point {
    int32_t x;
    int32_t y;
};

static_assert(sizeof(Rect) == 16 && offsetof(Rect, bottom) == 12);
static_assert(sizeof(Point) == 8 && offsetof(Point, y) == 4);

Rect MakeRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
// Midpoints of left..right and top..bottom, each half-difference rounded toward zero.
Point RectCenter(const Rect& rect);
// |n|; the one value without a positive counterpart, INT32_MIN, gives INT32_MAX.
int32_t AbsValue(int32_t n);

}  // namespace zam
