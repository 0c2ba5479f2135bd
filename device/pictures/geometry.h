// Points and rectangles of the slideshow window, in client pixels, without the platform's
// types so that the layout rules build and test natively.
#pragma once

#include <cstdint>

namespace glimmora::device::viewer {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    // As the platform's PtInRect: the right and bottom edges lie outside.
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool IsEmpty() const { return left >= right || top >= bottom; }
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

}  // namespace glimmora::device::viewer
