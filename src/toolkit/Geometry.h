// Geometry values passed between the toolkit's helpers.
#pragma once

#include <cstdint>

class TSize {
public:
    TSize() = default;
    TSize(int32_t cx, int32_t cy) : cx(cx), cy(cy) {}
    virtual ~TSize() = default;
    TSize(const TSize&) = default;
    TSize& operator=(const TSize&) = default;
    bool operator==(const TSize& o) const { return cx == o.cx && cy == o.cy; }

    int32_t cx = 0;
    int32_t cy = 0;
};

class TPoint {
public:
    TPoint() = default;
    TPoint(int32_t x, int32_t y) : x(x), y(y) {}
    virtual ~TPoint() = default;
    TPoint(const TPoint&) = default;
    TPoint& operator=(const TPoint&) = default;
    bool operator==(const TPoint& o) const { return x == o.x && y == o.y; }

    int32_t x = 0;
    int32_t y = 0;
};

class TRect {
public:
    TRect() = default;
    TRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : left(left), top(top), right(right), bottom(bottom) {}
    virtual ~TRect() = default;
    TRect(const TRect&) = default;
    TRect& operator=(const TRect&) = default;
    bool operator==(const TRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }

    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};
